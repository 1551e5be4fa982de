// The built sample database: its tables, declared types, stored value forms and contents.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "tests/samples/sample_files.h"

namespace {

class SampleDbTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_db = OpenReadOnly(SampleDatabase());
        ASSERT_TRUE(m_db) << "the build makes it: cmake --build <build> --target qor_sample_db";
    }

    std::int64_t Count(const std::string& sql, const std::vector<std::string>& args = {}) {
        return QueryInt(m_db.get(), sql, args);
    }

    SqliteDb m_db;
};

// The row counts are part of what other suites rely on; a change here is a change to them.
TEST_F(SampleDbTest, HoldsExactlyTheFourTablesWithTheirRowCounts) {
    const Rows tables =
        QueryRows(m_db.get(), "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    ASSERT_EQ(tables, (Rows{{"customers"}, {"order_lines"}, {"orders"}, {"products"}}));
    EXPECT_EQ(Count("SELECT count(*) FROM customers"), 200);
    EXPECT_EQ(Count("SELECT count(*) FROM products"), 60);
    EXPECT_EQ(Count("SELECT count(*) FROM orders"), 300);
    EXPECT_EQ(Count("SELECT count(*) FROM order_lines"), 877);
}

// A digest of every cell of the rows in key order, a null told apart from any text.
std::uint64_t Digest(const Rows& rows) {
    std::uint64_t digest = 14695981039346656037ULL;
    const auto add = [&digest](unsigned char byte) { digest = (digest ^ byte) * 1099511628211ULL; };
    for (const std::vector<Cell>& row : rows) {
        for (const Cell& cell : row) {
            for (const char c : cell.value_or(std::string())) {
                add(static_cast<unsigned char>(c));
            }
            add(cell ? 0x1F : 0x1E);
        }
        add(0x0A);
    }
    return digest;
}

// The data the packages ship: the generator draws it in one order, whatever compiler built it.
// A change meant to the generator changes these digests with it.
TEST_F(SampleDbTest, EveryTableHoldsTheShippedRows) {
    const std::map<std::string, std::uint64_t> shipped = {{"customers", 11968382410975805842ULL},
                                                          {"products", 5135592762534523865ULL},
                                                          {"orders", 6696159478425621775ULL},
                                                          {"order_lines", 16984411270216012671ULL}};
    for (const std::string& table : SampleTables()) {
        EXPECT_EQ(Digest(QueryRows(m_db.get(), "SELECT * FROM " + table + " ORDER BY 1")),
                  shipped.at(table))
            << table;
    }
}

TEST_F(SampleDbTest, EveryTableIsKeyedByItsFirstIntegerColumn) {
    for (const std::string& table : SampleTables()) {
        const std::vector<SqliteColumn> columns = TableColumns(m_db.get(), table);
        ASSERT_FALSE(columns.empty()) << table;
        EXPECT_EQ(columns.front().type, "INTEGER") << table;
        EXPECT_TRUE(columns.front().key) << table;
        for (std::size_t i = 1; i < columns.size(); ++i) {
            EXPECT_FALSE(columns[i].key) << table << "." << columns[i].name;
        }
    }
}

TEST_F(SampleDbTest, DeclaresTheTypesTheDataLayerMaps) {
    std::map<std::string, std::string> types;
    for (const std::string& table : SampleTables()) {
        for (const SqliteColumn& column : TableColumns(m_db.get(), table)) {
            types[table + "." + column.name] = column.type;
            EXPECT_TRUE(std::regex_match(
                column.type,
                std::regex(
                    "INTEGER|DOUBLE|CURRENCY|DATE|TIMESTAMP|BOOLEAN|BLOB|VARCHAR\\([0-9]+\\)")))
                << table << "." << column.name << " is declared " << column.type;
        }
    }
    EXPECT_EQ(types["customers.name"], "VARCHAR(40)");
    EXPECT_EQ(types["customers.city"], "VARCHAR(30)");
    EXPECT_EQ(types["customers.email"], "VARCHAR(60)");
    EXPECT_EQ(types["customers.phone"], "VARCHAR(20)");
    EXPECT_EQ(types["customers.active"], "BOOLEAN");
    EXPECT_EQ(types["customers.credit_limit"], "CURRENCY");
    EXPECT_EQ(types["products.unit_price"], "CURRENCY");
    EXPECT_EQ(types["products.weight"], "DOUBLE");
    EXPECT_EQ(types["products.discontinued"], "BOOLEAN");
    EXPECT_EQ(types["products.picture"], "BLOB");
    EXPECT_EQ(types["orders.order_date"], "DATE");
    EXPECT_EQ(types["orders.created_at"], "TIMESTAMP");
    EXPECT_EQ(types["orders.total"], "CURRENCY");
    EXPECT_EQ(types["order_lines.quantity"], "INTEGER");
    EXPECT_EQ(types["order_lines.discount"], "DOUBLE");
}

// The condition a stored value breaks when it is not in the form its declared type promises.
std::string Violation(const SqliteColumn& column) {
    const std::string& c = column.name;
    std::smatch length;
    if (std::regex_match(column.type, length, std::regex("VARCHAR\\(([0-9]+)\\)"))) {
        return "typeof(" + c + ") <> 'text' OR length(" + c + ") > " + length[1].str() + " OR " +
               c + " <> trim(" + c + ") OR " + c + " = ''";
    }
    if (column.type == "INTEGER") {
        return "typeof(" + c + ") <> 'integer'";
    }
    if (column.type == "DOUBLE") {
        return "typeof(" + c + ") <> 'real'";
    }
    if (column.type == "CURRENCY") {
        return "typeof(" + c + ") NOT IN ('integer', 'real') OR round(" + c + ", 2) <> " + c;
    }
    if (column.type == "DATE") {
        return "typeof(" + c + ") <> 'text' OR date(" + c + ") IS NOT " + c;
    }
    if (column.type == "TIMESTAMP") {
        return "typeof(" + c + ") <> 'text' OR datetime(" + c + ") IS NOT " + c;
    }
    if (column.type == "BOOLEAN") {
        return "typeof(" + c + ") <> 'integer' OR " + c + " NOT IN (0, 1)";
    }
    return "typeof(" + c + ") <> 'blob'";
}

TEST_F(SampleDbTest, StoresEveryValueInTheFormOfItsDeclaredType) {
    for (const std::string& table : SampleTables()) {
        for (const SqliteColumn& column : TableColumns(m_db.get(), table)) {
            const std::string sql = "SELECT count(*) FROM " + table + " WHERE " + column.name +
                                    " IS NOT NULL AND (" + Violation(column) + ")";
            EXPECT_EQ(Count(sql), 0) << sql;
        }
    }
}

TEST_F(SampleDbTest, NullableColumnsHoldBothNullsAndValues) {
    for (const std::string& table : SampleTables()) {
        for (const SqliteColumn& column : TableColumns(m_db.get(), table)) {
            if (column.notNull || column.key) {
                continue;
            }
            const std::string from = " FROM " + table + " WHERE " + column.name;
            EXPECT_GT(Count("SELECT count(*)" + from + " IS NULL"), 0)
                << table << "." << column.name;
            EXPECT_GT(Count("SELECT count(*)" + from + " IS NOT NULL"), 0)
                << table << "." << column.name;
        }
    }
}

TEST_F(SampleDbTest, NamesNeedQuotingAndAreStoredAsComposedUtf8) {
    const std::string lookup = "SELECT count(*) FROM customers WHERE name = ?";
    EXPECT_EQ(Count(lookup, {"Se\xC3\xA1n O'Brien"}), 1);
    EXPECT_EQ(Count(lookup, {"J\xC3\xBCrgen M\xC3\xBCller"}), 1);
    EXPECT_EQ(Count(lookup, {"Zo\xC3\xAB Martin"}), 1);
    EXPECT_GT(Count("SELECT count(*) FROM customers WHERE name LIKE '%''%'"), 5);
    EXPECT_GT(Count("SELECT count(*) FROM customers WHERE address LIKE '%''%'"), 0);
    EXPECT_GT(Count("SELECT count(*) FROM products WHERE description LIKE '%\"%'"), 0);
    EXPECT_GT(Count("SELECT count(*) FROM products WHERE description LIKE '%''%'"), 0);
    // Characters, not bytes: the varchar lengths hold for PostgreSQL, which counts characters.
    EXPECT_EQ(Count("SELECT length(name) FROM customers WHERE customer_id = 3"), 10);
}

TEST_F(SampleDbTest, OrdersReferToExistingCustomersAndProducts) {
    EXPECT_EQ(Count("SELECT count(*) FROM orders WHERE customer_id NOT IN "
                    "(SELECT customer_id FROM customers)"),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM order_lines WHERE product_id NOT IN "
                    "(SELECT product_id FROM products)"),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM order_lines WHERE order_id NOT IN "
                    "(SELECT order_id FROM orders)"),
              0);
}

TEST_F(SampleDbTest, EveryOrderHasLinesNumberedFromOne) {
    EXPECT_EQ(Count("SELECT count(*) FROM orders o WHERE NOT EXISTS "
                    "(SELECT 1 FROM order_lines l WHERE l.order_id = o.order_id)"),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM (SELECT order_id FROM order_lines GROUP BY order_id "
                    "HAVING min(line_no) <> 1 OR max(line_no) <> count(*))"),
              0);
}

TEST_F(SampleDbTest, TotalsAddUpFromTheLines) {
    EXPECT_EQ(Count("SELECT count(*) FROM order_lines WHERE "
                    "abs(line_total - round(quantity * unit_price * (1 - discount), 2)) > 0.006"),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM orders o WHERE abs(subtotal - "
                    "(SELECT sum(line_total) FROM order_lines l WHERE l.order_id = o.order_id)) "
                    "> 0.005"),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM orders WHERE "
                    "abs(total - subtotal - freight - subtotal * tax_rate / 100) > 0.006"),
              0);
}

TEST_F(SampleDbTest, UnshippedOrdersHaveNoShippingDateOrTrackingNumber) {
    EXPECT_GT(Count("SELECT count(*) FROM orders WHERE shipped_date IS NULL"), 0);
    EXPECT_EQ(Count("SELECT count(*) FROM orders WHERE shipped_date IS NULL AND "
                    "tracking_no IS NOT NULL"),
              0);
    EXPECT_EQ(Count("SELECT count(*) FROM orders WHERE shipped_date < order_date"), 0);
}

}  // namespace
