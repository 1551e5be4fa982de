// The PostgreSQL copy of the sample data against the SQLite database, when a server is given.
#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>

#include "tests/samples/sample_files.h"

namespace {

struct PgFinisher {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
using PgConnection = std::unique_ptr<PGconn, PgFinisher>;

struct PgClearer {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgResult = std::unique_ptr<PGresult, PgClearer>;

using Keywords = std::map<std::string, std::string>;

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The data layer's connection string, as the test server prints it, in libpq's keywords;
// "provider" is kept to be checked.
Keywords ConnectionKeywords(std::string_view connection) {
    static const Keywords kNames = {{"provider", "provider"}, {"host", "host"},
                                    {"port", "port"},         {"database", "dbname"},
                                    {"user id", "user"},      {"password", "password"}};
    Keywords keywords;
    std::size_t start = 0;
    while (start < connection.size()) {
        const std::size_t end = std::min(connection.find(';', start), connection.size());
        const std::string_view part = connection.substr(start, end - start);
        const std::size_t equals = part.find('=');
        if (equals != std::string_view::npos) {
            const auto name = kNames.find(Lower(Trim(part.substr(0, equals))));
            if (name != kNames.end()) {
                keywords[name->second] = Trim(part.substr(equals + 1));
            }
        }
        start = end + 1;
    }
    return keywords;
}

PgConnection Connect(Keywords keywords) {
    keywords.erase("provider");
    keywords["connect_timeout"] = "10";
    std::vector<const char*> names;
    std::vector<const char*> values;
    for (const auto& [name, value] : keywords) {
        names.push_back(name.c_str());
        values.push_back(value.c_str());
    }
    names.push_back(nullptr);
    values.push_back(nullptr);
    return PgConnection(PQconnectdbParams(names.data(), values.data(), 0));
}

std::string ShortestDouble(double value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return {text.data(), result.ptr};
}

std::string CentsText(double amount) {
    const long long cents = std::llround(amount * 100);
    const long long magnitude = std::llabs(cents);
    const std::string fraction = std::to_string(magnitude % 100);
    return (cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + "." +
           (fraction.size() < 2 ? "0" : "") + fraction;
}

// The providers' own texts of a value differ (0/1 and t/f, 4.99 and 4.9900); both are brought
// to one form per declared type, that of PostgreSQL where it is unambiguous.
Cell SqliteCanonical(sqlite3_stmt* statement, int column, const std::string& type) {
    if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
        return {};
    }
    if (type == "DOUBLE") {
        return ShortestDouble(sqlite3_column_double(statement, column));
    }
    if (type == "CURRENCY") {
        return CentsText(sqlite3_column_double(statement, column));
    }
    if (type == "BOOLEAN") {
        return sqlite3_column_int(statement, column) != 0 ? "t" : "f";
    }
    if (type == "BLOB") {
        return "\\x" +
               Hex(static_cast<const unsigned char*>(sqlite3_column_blob(statement, column)),
                   sqlite3_column_bytes(statement, column));
    }
    return reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
}

Cell PostgresCanonical(const PGresult* result, int row, int column, const std::string& type) {
    if (PQgetisnull(result, row, column) != 0) {
        return {};
    }
    std::string text = PQgetvalue(result, row, column);
    if (type == "DOUBLE") {
        return ShortestDouble(std::strtod(text.c_str(), nullptr));
    }
    const std::size_t point = text.find('.');
    if (type == "CURRENCY" && point != std::string::npos) {
        while (text.size() > point + 3 && text.back() == '0') {
            text.pop_back();
        }
    }
    return text;
}

std::string PostgresTypeOf(const std::string& sqliteType) {
    static const std::map<std::string, std::string> kTypes = {
        {"INTEGER", "integer"},
        {"DOUBLE", "double precision"},
        {"CURRENCY", "numeric(19,4)"},
        {"DATE", "date"},
        {"TIMESTAMP", "timestamp without time zone"},
        {"BOOLEAN", "boolean"},
        {"BLOB", "bytea"}};
    const auto known = kTypes.find(sqliteType);
    if (known != kTypes.end()) {
        return known->second;
    }
    return "character varying" + sqliteType.substr(sqliteType.find('('));
}

class PostgresCopyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* connection = std::getenv("QOR_TEST_PG");
        if (connection == nullptr || *connection == '\0') {
            GTEST_SKIP() << "QOR_TEST_PG is not set, so there is no PostgreSQL copy to check; "
                            "run scripts/pg-test-server start and "
                            "eval \"$(scripts/pg-test-server env)\" first";
        }
        m_keywords = ConnectionKeywords(connection);
        ASSERT_EQ(Lower(m_keywords["provider"]), "postgresql") << connection;
        m_pg = Connect(m_keywords);
        ASSERT_EQ(PQstatus(m_pg.get()), CONNECTION_OK) << PQerrorMessage(m_pg.get());
        Execute("SET DateStyle = ISO");
        Execute("SET bytea_output = hex");
        Execute("SET extra_float_digits = 1");
        m_sqlite = OpenReadOnly(SampleDatabase());
        ASSERT_TRUE(m_sqlite);
    }

    PgResult Query(const std::string& sql, const std::vector<std::string>& params = {}) {
        std::vector<const char*> values;
        values.reserve(params.size());
        for (const std::string& param : params) {
            values.push_back(param.c_str());
        }
        PgResult result(PQexecParams(m_pg.get(), sql.c_str(), static_cast<int>(values.size()),
                                     nullptr, values.data(), nullptr, nullptr, 0));
        const ExecStatusType status = PQresultStatus(result.get());
        EXPECT_TRUE(status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK)
            << sql << ": " << PQerrorMessage(m_pg.get());
        return result;
    }

    void Execute(const std::string& sql) { Query(sql); }

    Rows SqliteRows(const std::string& table, const std::vector<SqliteColumn>& columns) {
        Rows rows;
        const SqliteStatement statement =
            Prepare(m_sqlite.get(), "SELECT * FROM " + table + " ORDER BY 1");
        while (statement && sqlite3_step(statement.get()) == SQLITE_ROW) {
            std::vector<Cell> row;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                row.push_back(
                    SqliteCanonical(statement.get(), static_cast<int>(i), columns[i].type));
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }

    Rows PostgresRows(const std::string& table, const std::vector<SqliteColumn>& columns) {
        Rows rows;
        const PgResult result = Query("SELECT * FROM " + table + " ORDER BY 1");
        if (PQnfields(result.get()) != static_cast<int>(columns.size())) {
            ADD_FAILURE() << table << " has " << PQnfields(result.get()) << " columns";
            return rows;
        }
        for (int row = 0; row < PQntuples(result.get()); ++row) {
            std::vector<Cell> cells;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                cells.push_back(
                    PostgresCanonical(result.get(), row, static_cast<int>(i), columns[i].type));
            }
            rows.push_back(std::move(cells));
        }
        return rows;
    }

    Keywords m_keywords;
    PgConnection m_pg;
    SqliteDb m_sqlite;
};

TEST_F(PostgresCopyTest, HasTheSameRowCounts) {
    for (const std::string& table : SampleTables()) {
        const PgResult result = Query("SELECT count(*) FROM " + table);
        ASSERT_EQ(PQntuples(result.get()), 1) << table;
        EXPECT_EQ(std::stoll(PQgetvalue(result.get(), 0, 0)),
                  QueryInt(m_sqlite.get(), "SELECT count(*) FROM " + table))
            << table;
    }
}

TEST_F(PostgresCopyTest, DeclaresTheMatchingColumnTypes) {
    for (const std::string& table : SampleTables()) {
        std::vector<std::string> expected;
        for (const SqliteColumn& column : TableColumns(m_sqlite.get(), table)) {
            const bool notNull = column.key || column.notNull;
            expected.push_back(column.name + " " + PostgresTypeOf(column.type) +
                               (notNull ? " NOT NULL" : ""));
        }
        const PgResult result = Query(
            "SELECT a.attname, format_type(a.atttypid, a.atttypmod), a.attnotnull "
            "FROM pg_attribute a WHERE a.attrelid = $1::regclass AND a.attnum > 0 "
            "AND NOT a.attisdropped ORDER BY a.attnum",
            {table});
        std::vector<std::string> actual;
        actual.reserve(static_cast<std::size_t>(PQntuples(result.get())));
        for (int row = 0; row < PQntuples(result.get()); ++row) {
            actual.push_back(
                std::string(PQgetvalue(result.get(), row, 0)) + " " +
                PQgetvalue(result.get(), row, 1) +
                (PQgetvalue(result.get(), row, 2) == std::string("t") ? " NOT NULL" : ""));
        }
        EXPECT_EQ(actual, expected) << table;
    }
}

TEST_F(PostgresCopyTest, HoldsTheSameValuesInEveryRow) {
    for (const std::string& table : SampleTables()) {
        const std::vector<SqliteColumn> columns = TableColumns(m_sqlite.get(), table);
        const Rows expected = SqliteRows(table, columns);
        const Rows actual = PostgresRows(table, columns);
        ASSERT_EQ(actual.size(), expected.size()) << table;
        for (std::size_t row = 0; row < expected.size(); ++row) {
            if (actual[row] != expected[row]) {
                EXPECT_EQ(actual[row], expected[row]) << table << ", row " << row + 1;
                break;
            }
        }
    }
}

TEST_F(PostgresCopyTest, FindsTheQuotedAndAccentedNamesByParameter) {
    const std::string lookup = "SELECT count(*) FROM customers WHERE name = $1";
    for (const std::string name :
         {"Se\xC3\xA1n O'Brien", "J\xC3\xBCrgen M\xC3\xBCller", "Zo\xC3\xAB Martin"}) {
        const PgResult result = Query(lookup, {name});
        ASSERT_EQ(PQntuples(result.get()), 1);
        EXPECT_STREQ(PQgetvalue(result.get(), 0, 0), "1") << name;
    }
}

// As with SQLite's integer keys, a row added without its key gets a new one.
TEST_F(PostgresCopyTest, ARowAddedWithoutAKeyGetsOneAboveTheSampleKeys) {
    Execute("BEGIN");
    const PgResult result = Query(
        "INSERT INTO products (item_no, description, category, unit_price, units_in_stock, "
        "discontinued) VALUES ('P-9999', 'Test item', 'Test', 1, 0, FALSE) RETURNING product_id");
    Execute("ROLLBACK");
    ASSERT_EQ(PQntuples(result.get()), 1);
    EXPECT_GT(std::stoll(PQgetvalue(result.get(), 0, 0)),
              QueryInt(m_sqlite.get(), "SELECT max(product_id) FROM products"));
}

TEST_F(PostgresCopyTest, RefusesAWrongPassword) {
    Keywords wrong = m_keywords;
    wrong["password"] = "not-" + wrong["password"];
    const PgConnection refused = Connect(wrong);
    EXPECT_EQ(PQstatus(refused.get()), CONNECTION_BAD);
}

}  // namespace
