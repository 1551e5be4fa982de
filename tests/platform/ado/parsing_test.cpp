// The text the data layer reads: connection strings, the single-table query shape, declared
// column types, and ISO dates.
#include <gtest/gtest.h>

#include "platform/ado/connection_string.h"
#include "platform/ado/field_type.h"
#include "platform/ado/sql_shape.h"
#include "platform/ado/value_convert.h"

namespace {

TEST(ConnectionPropertiesTest, NormalisesKeysAndUnquotesValues) {
    CConnectionProperties properties;
    std::string error;
    ASSERT_TRUE(properties.Parse(
        " Provider = PostgreSQL ;SERVER=db.local;uid=\"a;b\";Pwd='it''s';;Initial  Catalog=x",
        error))
        << error;
    EXPECT_EQ(properties.Get("provider"), "PostgreSQL");
    EXPECT_EQ(properties.Get("Host"), "db.local");
    EXPECT_EQ(properties.Get("User ID"), "a;b");
    EXPECT_EQ(properties.Get("password"), "it's");
    EXPECT_EQ(properties.Get("database"), "x");
    EXPECT_EQ(properties.Text(),
              "provider=PostgreSQL;host=db.local;user id=\"a;b\";password=\"it's\";database=x");
    EXPECT_FALSE(properties.Parse("a='b' c", error));
    EXPECT_FALSE(properties.Parse("=b", error));
}

TEST(ConnectionPropertiesTest, OpenArgumentsReplaceTheStringsCredentials) {
    ConnectionSettings settings;
    ErrorRecord error;
    ASSERT_TRUE(ResolveConnectionString(
        "Provider=PostgreSQL;Host=h;Port=5;Database=d;User ID=u;Password=p;Connect Timeout=2",
        "other", "secret", settings, error));
    EXPECT_EQ(settings.provider, ProviderKind::PostgreSQL);
    EXPECT_EQ(settings.user, "other");
    EXPECT_EQ(settings.password, "secret");
    EXPECT_EQ(settings.connectTimeoutSeconds, 2);
    EXPECT_FALSE(ResolveConnectionString("Provider=PostgreSQL;Host=h;Connect Timeout=soon", "", "",
                                         settings, error));
    EXPECT_FALSE(
        ResolveConnectionString("Provider=PostgreSQL;Database=d", "", "", settings, error));
    EXPECT_FALSE(ResolveConnectionString("Provider=PostgreSQL;Host=h", "u",
                                         std::string_view("p\0q", 3), settings, error));
    EXPECT_EQ(error.description,
              "The connection string is malformed: a value holds a NUL character.");
}

TEST(SingleTableQueryTest, RecognisesTheShapesAKeysetServes) {
    SingleTableQuery query;
    ASSERT_TRUE(ParseSingleTableQuery(
        "SELECT o.a, o.\"b c\" FROM main.orders AS o WHERE o.x IN (SELECT y FROM z, w) "
        "ORDER BY o.a DESC LIMIT 5;",
        query));
    EXPECT_EQ(query.schema, "main");
    EXPECT_EQ(query.table, "orders");
    EXPECT_EQ(query.qualifierText, "o");
    EXPECT_EQ(query.fromClause,
              "FROM main.orders AS o WHERE o.x IN (SELECT y FROM z, w) ORDER BY o.a DESC LIMIT 5");
    EXPECT_FALSE(query.orderByNeedsSelectList);

    ASSERT_TRUE(ParseSingleTableQuery("select * from [Order Lines] -- note\n", query));
    EXPECT_EQ(query.table, "Order Lines");
    EXPECT_EQ(query.qualifierText, "[Order Lines]");

    ASSERT_TRUE(ParseSingleTableQuery("SELECT a AS x, b FROM t ORDER BY b, x", query));
    EXPECT_TRUE(query.orderByNeedsSelectList);
    ASSERT_TRUE(ParseSingleTableQuery("SELECT a FROM t ORDER BY 1", query));
    EXPECT_TRUE(query.orderByNeedsSelectList);
}

TEST(SingleTableQueryTest, RefusesEveryOtherShape) {
    SingleTableQuery query;
    for (const char* sql :
         {"SELECT a FROM t, u", "SELECT a FROM t JOIN u ON 1", "SELECT DISTINCT a FROM t",
          "SELECT count(*) FROM t", "SELECT a + 1 FROM t", "SELECT a FROM t GROUP BY a",
          "SELECT a FROM t UNION SELECT b FROM u", "SELECT a FROM (SELECT a FROM t)",
          "WITH x AS (SELECT 1) SELECT * FROM x", "SELECT a FROM t; DELETE FROM t",
          "UPDATE t SET a = 1", "SELECT a FROM t WHERE b = 'open", "SELECT a FROM t WHERE (b",
          "SELECT a FROM t /* open", "SELECT", "SELECT a FROM t LIMIT 1, 2"}) {
        EXPECT_FALSE(ParseSingleTableQuery(sql, query)) << sql;
    }
}

TEST(SingleTableQueryTest, QuotesIdentifiersSafely) {
    EXPECT_EQ(QuoteIdentifier("a\"b"), "\"a\"\"b\"");
    EXPECT_TRUE(IsPlainName("order_lines"));
    EXPECT_FALSE(IsPlainName("select"));
    EXPECT_FALSE(IsPlainName("a b"));
    EXPECT_FALSE(IsPlainName("1a"));
}

TEST(FieldTypeTest, DeclaredTypesMapToFieldTypes) {
    struct Case {
        const char* declared;
        DataTypeEnum type;
        LONG size;
        VARTYPE vt;
    };
    for (const Case& c :
         {Case{"INTEGER", adInteger, 4, VT_I4}, Case{"int", adInteger, 4, VT_I4},
          Case{"BIGINT", adBigInt, 8, VT_DECIMAL}, Case{"DOUBLE", adDouble, 8, VT_R8},
          Case{"float", adDouble, 8, VT_R8}, Case{"CURRENCY", adCurrency, 8, VT_CY},
          Case{"money", adCurrency, 8, VT_CY}, Case{"NUMERIC(10,2)", adNumeric, 19, VT_DECIMAL},
          Case{"DATE", adDate, 8, VT_DATE}, Case{"TIMESTAMP", adDate, 8, VT_DATE},
          Case{"BOOLEAN", adBoolean, 2, VT_BOOL}, Case{"VARCHAR(40)", adVarChar, 40, VT_BSTR},
          Case{"nvarchar ( 12 )", adVarChar, 12, VT_BSTR}, Case{"CHAR(3)", adChar, 3, VT_BSTR},
          Case{"TEXT", adLongVarChar, kLongFieldSize, VT_BSTR},
          Case{"BLOB", adLongVarBinary, kLongFieldSize, VT_ARRAY | VT_UI1},
          Case{"BINARY(16)", adBinary, 16, VT_ARRAY | VT_UI1},
          Case{"UNSIGNED INTEGER", adInteger, 4, VT_I4},
          Case{"VARYING TEXT", adLongVarChar, kLongFieldSize, VT_BSTR}}) {
        const FieldType t = FieldTypeFromDeclaration(c.declared);
        EXPECT_EQ(t.type, c.type) << c.declared;
        EXPECT_EQ(t.definedSize, c.size) << c.declared;
        EXPECT_EQ(t.vt, c.vt) << c.declared;
    }
    EXPECT_TRUE(FieldTypeFromDeclaration("DATE").dateOnly);
    EXPECT_FALSE(FieldTypeFromDeclaration("DATETIME").dateOnly);
    EXPECT_EQ(FieldTypeFromDeclaration("TEXT").TypeAttributes(), adFldLong);
    EXPECT_EQ(FieldTypeFromDeclaration("VARCHAR(5)").TypeAttributes(), 0);
    EXPECT_EQ(FieldTypeFromDeclaration("INTEGER").TypeAttributes(), adFldFixed);
}

TEST(FieldTypeTest, PostgresTypesMapByOidAndModifier) {
    EXPECT_EQ(FieldTypeFromPostgres(23, -1).type, adInteger);
    EXPECT_EQ(FieldTypeFromPostgres(1043, 44).definedSize, 40);
    EXPECT_EQ(FieldTypeFromPostgres(1700, ((19 << 16) | 4) + 4).type, adCurrency);
    const FieldType numeric = FieldTypeFromPostgres(1700, ((10 << 16) | 2) + 4);
    EXPECT_EQ(numeric.type, adNumeric);
    EXPECT_EQ(numeric.precision, 10);
    EXPECT_EQ(numeric.scale, 2);
    EXPECT_EQ(FieldTypeFromPostgres(1082, -1).type, adDate);
    EXPECT_TRUE(FieldTypeFromPostgres(1082, -1).dateOnly);
    EXPECT_EQ(FieldTypeFromPostgres(17, -1).type, adLongVarBinary);
    EXPECT_EQ(FieldTypeFromPostgres(25, -1).type, adLongVarChar);
    EXPECT_EQ(FieldTypeFromPostgres(700, -1).vt, VT_R4);
}

TEST(IsoDateTest, ReadsAndWritesDatesAndTimestamps) {
    const std::optional<DATE> date = ParseIsoDate("2024-02-29");
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(FormatIsoDate(*date, true), "2024-02-29");
    const std::optional<DATE> stamp = ParseIsoDate("2023-12-24T18:30:05.25+02");
    ASSERT_TRUE(stamp.has_value());
    EXPECT_EQ(FormatIsoDate(*stamp, false), "2023-12-24 18:30:05");
    EXPECT_FALSE(ParseIsoDate("2023-02-30").has_value());
    EXPECT_FALSE(ParseIsoDate("24.12.2023").has_value());
    EXPECT_FALSE(ParseIsoDate("2023-12-24 7:00").has_value());
}

}  // namespace
