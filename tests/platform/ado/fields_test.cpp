// Field descriptions and values of the sample tables on SQLite: types, sizes, attributes, and
// the variant type of each value.
#include <gmock/gmock.h>

#include <vector>

#include "platform/com/ole_date.h"
#include "tests/platform/ado/ado_test_support.h"

namespace {

struct Described {
    std::string name;
    LONG type = 0;
    LONG size = 0;
    LONG attributes = 0;
};

std::vector<Described> Describe(const CComPtr<_Recordset>& recordset) {
    CComPtr<Fields> fields;
    EXPECT_HRESULT_SUCCEEDED(recordset->get_Fields(fields.ReleaseAndGetAddressOf()));
    LONG count = 0;
    fields->get_Count(&count);
    std::vector<Described> described;
    for (LONG i = 0; i < count; ++i) {
        CComPtr<Field> field;
        const CComVariant position(static_cast<SHORT>(i));
        EXPECT_HRESULT_SUCCEEDED(fields->get_Item(position, field.ReleaseAndGetAddressOf()));
        Described d;
        CComBSTR name;
        field->get_Name(name.ReleaseAndGetAddressOf());
        d.name = name.ToString();
        field->get_Type(&d.type);
        field->get_DefinedSize(&d.size);
        field->get_Attributes(&d.attributes);
        described.push_back(d);
    }
    return described;
}

const Described& Named(const std::vector<Described>& fields, const std::string& name) {
    for (const Described& field : fields) {
        if (field.name == name) {
            return field;
        }
    }
    static const Described none;
    ADD_FAILURE() << "no field " << name;
    return none;
}

class FieldsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(SampleDatabase())) << kNoSampleDatabase;
        connection_ = Connect(SqliteString(SampleDatabase()) + ";Mode=Read");
    }

    CComPtr<_Connection> connection_;
};

constexpr LONG kNullable = adFldIsNullable | adFldMayBeNull;

TEST_F(FieldsTest, CustomersDescribeTypesSizesAndAttributes) {
    const std::vector<Described> fields =
        Describe(Query(connection_, "SELECT * FROM customers ORDER BY customer_id"));
    ASSERT_EQ(fields.size(), 14U);
    const Described& id = Named(fields, "customer_id");
    EXPECT_EQ(id.type, adInteger);
    EXPECT_EQ(id.size, 4);
    EXPECT_EQ(id.attributes, adFldFixed | adFldKeyColumn | adFldUpdatable);
    const Described& name = Named(fields, "name");
    EXPECT_EQ(name.type, adVarChar);
    EXPECT_EQ(name.size, 40);
    EXPECT_EQ(name.attributes, adFldUpdatable);
    const Described& state = Named(fields, "state");
    EXPECT_EQ(state.size, 2);
    EXPECT_EQ(state.attributes, adFldUpdatable | kNullable);
    EXPECT_EQ(Named(fields, "credit_limit").type, adCurrency);
    EXPECT_EQ(Named(fields, "credit_limit").size, 8);
    EXPECT_EQ(Named(fields, "discount").type, adDouble);
    EXPECT_EQ(Named(fields, "active").type, adBoolean);
    EXPECT_EQ(Named(fields, "created_at").type, adDate);
}

TEST_F(FieldsTest, ProductsPictureIsLongNullableBinary) {
    const std::vector<Described> fields = Describe(Query(connection_, "SELECT * FROM products"));
    const Described& picture = Named(fields, "picture");
    EXPECT_EQ(picture.type, adLongVarBinary);
    EXPECT_EQ(picture.attributes & (adFldLong | kNullable), adFldLong | kNullable);
    EXPECT_EQ(Named(fields, "units_in_stock").type, adInteger);
    EXPECT_EQ(Named(fields, "weight").attributes & kNullable, kNullable);
}

TEST_F(FieldsTest, StaticCursorFieldsAreNotUpdatableAndExpressionsTakeTheirValuesType) {
    const std::vector<Described> fields = Describe(
        Query(connection_,
              "SELECT c.name, count(*) AS orders, sum(o.total) * 1.0 AS spent, 'x' AS tag "
              "FROM customers c JOIN orders o ON o.customer_id = c.customer_id GROUP BY c.name",
              adOpenKeyset, adLockOptimistic));
    ASSERT_EQ(fields.size(), 4U);
    EXPECT_EQ(fields[0].type, adVarChar);
    EXPECT_EQ(fields[0].attributes & adFldUpdatable, 0);
    EXPECT_EQ(fields[1].type, adInteger);
    EXPECT_EQ(fields[2].type, adDouble);
    EXPECT_EQ(fields[3].type, adVarChar);
}

TEST_F(FieldsTest, ValuesComeAsTheVariantTypesOfTheirFields) {
    const CComPtr<_Recordset> customers =
        Query(connection_, "SELECT * FROM customers WHERE customer_id = 5");
    const CComVariant id = Value(customers, "customer_id");
    EXPECT_EQ(id.vt, VT_I4);
    EXPECT_EQ(id.lVal, 5);
    const CComVariant credit = Value(customers, "credit_limit");
    ASSERT_EQ(credit.vt, VT_CY);
    EXPECT_EQ(credit.cyVal.int64, 17250LL * 10000);
    EXPECT_EQ(Value(customers, "discount").vt, VT_R8);
    EXPECT_DOUBLE_EQ(Value(customers, "discount").dblVal, 0.1);
    const CComVariant active = Value(customers, "active");
    ASSERT_EQ(active.vt, VT_BOOL);
    EXPECT_EQ(active.boolVal, VARIANT_TRUE);
    const CComVariant created = Value(customers, "created_at");
    ASSERT_EQ(created.vt, VT_DATE);
    SYSTEMTIME time;
    ASSERT_TRUE(VariantTimeToSystemTime(created.date, &time));
    EXPECT_EQ(time.wYear, 2022);
    EXPECT_EQ(time.wMonth, 4);
    EXPECT_EQ(time.wDay, 29);
    EXPECT_EQ(time.wHour, 13);
    EXPECT_EQ(time.wSecond, 2);
    EXPECT_EQ(Value(customers, "name").Text(), "Margaret O'Connor");
    EXPECT_EQ(Value(customers, "state").Text(), "MA");

    const CComPtr<_Recordset> first = Query(connection_, "SELECT * FROM customers");
    EXPECT_EQ(Value(first, "state").vt, VT_NULL);
}

TEST_F(FieldsTest, CurrencyStoredAsARealIsExactToTheCent) {
    const CComPtr<_Recordset> products =
        Query(connection_, "SELECT unit_price, picture FROM products WHERE product_id = 1");
    const CComVariant price = Value(products, "unit_price");
    ASSERT_EQ(price.vt, VT_CY);
    EXPECT_EQ(price.cyVal.int64, 49900);
    const CComVariant picture = Value(products, "picture");
    ASSERT_EQ(picture.vt, VT_ARRAY | VT_UI1);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(picture.GetBytes(bytes));
    ASSERT_EQ(bytes.size(), 246U);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    LONG size = 0;
    FieldOf(products, CComVariant("picture"))->get_ActualSize(&size);
    EXPECT_EQ(size, 246);
}

TEST_F(FieldsTest, DatesComeWithoutTimeOfDay) {
    const CComPtr<_Recordset> orders =
        Query(connection_, "SELECT order_date, shipped_date FROM orders WHERE order_id = 1");
    const CComVariant date = Value(orders, "order_date");
    ASSERT_EQ(date.vt, VT_DATE);
    EXPECT_EQ(date.date, static_cast<double>(static_cast<long>(date.date)));
    EXPECT_EQ(Text(orders, "order_date"), "1/3/2023");
}

TEST_F(FieldsTest, ItemsAreFoundByPositionOrNameWithoutRegardToCase) {
    const CComPtr<_Recordset> recordset = Query(connection_, "SELECT * FROM customers");
    CComPtr<Fields> fields;
    ASSERT_HRESULT_SUCCEEDED(recordset->get_Fields(fields.ReleaseAndGetAddressOf()));
    CComPtr<Field> byName;
    CComPtr<Field> byPosition;
    ASSERT_HRESULT_SUCCEEDED(
        fields->get_Item(CComVariant("CITY"), byName.ReleaseAndGetAddressOf()));
    ASSERT_HRESULT_SUCCEEDED(
        fields->get_Item(CComVariant(static_cast<SHORT>(4)), byPosition.ReleaseAndGetAddressOf()));
    EXPECT_TRUE(byName.IsEqualObject(byPosition));
    CComPtr<Field> none;
    EXPECT_EQ(fields->get_Item(CComVariant("nope"), none.ReleaseAndGetAddressOf()),
              adErrItemNotFound);
    EXPECT_EQ(fields->get_Item(CComVariant(14), none.ReleaseAndGetAddressOf()), adErrItemNotFound);
    EXPECT_EQ(fields->get_Item(CComVariant(-1), none.ReleaseAndGetAddressOf()), adErrItemNotFound);
}

TEST_F(FieldsTest, FieldsOfAClosedRecordsetFailInsteadOfReadingAnother) {
    const CComPtr<_Recordset> recordset = Query(connection_, "SELECT * FROM customers");
    const CComPtr<Field> field = FieldOf(recordset, CComVariant("name"));
    ASSERT_HRESULT_SUCCEEDED(recordset->Close());
    CComVariant value;
    EXPECT_EQ(field->get_Value(&value), adErrObjectClosed);
    ASSERT_HRESULT_SUCCEEDED(OpenRecordset(recordset, connection_, "SELECT * FROM products"));
    EXPECT_EQ(field->get_Value(&value), adErrObjectClosed);
    EXPECT_EQ(Value(recordset, "item_no").Text(), "P-1001");
}

}  // namespace
