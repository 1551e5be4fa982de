// Changing records on SQLite: AddNew, Update, CancelUpdate and Delete as a second connection
// sees them, transactions and their rollback, and values that do not fit their fields.
#include <gmock/gmock.h>

#include <limits>

#include "tests/platform/ado/ado_test_support.h"

using ::testing::HasSubstr;

namespace {

class EditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(SampleDatabase())) << kNoSampleDatabase;
        path_ = CopySample(folder_);
        connection_ = Connect(SqliteString(path_));
        other_ = Connect(SqliteString(path_));
    }

    LONG OtherCount(const std::string& where) {
        return Scalar(other_, "SELECT count(*) FROM products WHERE " + where);
    }

    // A new product with every column that may not be NULL.
    void FillNewProduct(const CComPtr<_Recordset>& recordset, const std::string& itemNo) {
        ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "item_no", CComVariant(itemNo)));
        ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "description", CComVariant("Stapler")));
        ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "category", CComVariant("Office")));
        ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "unit_price", CComVariant("12.34")));
        ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "units_in_stock", CComVariant("7")));
        ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "discontinued", CComVariant(false)));
    }

    TempFolder folder_;
    std::string path_;
    CComPtr<_Connection> connection_;
    CComPtr<_Connection> other_;
};

LONG EditMode(const CComPtr<_Recordset>& recordset) {
    LONG mode = -1;
    recordset->get_EditMode(&mode);
    return mode;
}

TEST_F(EditTest, UpdateIsSeenByASecondConnectionAfterCommit) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products WHERE product_id = 3");
    ASSERT_HRESULT_SUCCEEDED(connection_->BeginTrans(nullptr));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "description", CComVariant("Gel pens, 10")));
    EXPECT_EQ(EditMode(recordset), adEditInProgress);
    EXPECT_EQ(Text(recordset, "description"), "Gel pens, 10");
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    EXPECT_EQ(EditMode(recordset), adEditNone);
    EXPECT_EQ(OtherCount("description = 'Gel pens, 10'"), 0);
    ASSERT_HRESULT_SUCCEEDED(connection_->CommitTrans());
    EXPECT_EQ(OtherCount("description = 'Gel pens, 10' AND product_id = 3"), 1);
}

TEST_F(EditTest, AddNewGetsItsKeyAndJoinsTheEnd) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products ORDER BY product_id");
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(4, Missing()));
    ASSERT_HRESULT_SUCCEEDED(recordset->AddNew(Missing(), Missing()));
    EXPECT_EQ(EditMode(recordset), adEditAdd);
    EXPECT_EQ(Value(recordset, "item_no").vt, VT_NULL);
    FillNewProduct(recordset, "P-9001");
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    EXPECT_EQ(EditMode(recordset), adEditNone);
    EXPECT_EQ(IntValue(recordset, "product_id"), 61);
    EXPECT_EQ(Value(recordset, "unit_price").cyVal.int64, 123400);
    EXPECT_EQ(Count(recordset), 61);
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveLast());
    EXPECT_EQ(Text(recordset, "item_no"), "P-9001");
    EXPECT_EQ(OtherCount("item_no = 'P-9001' AND unit_price = 12.34 AND units_in_stock = 7"), 1);
}

TEST_F(EditTest, AddNewWithListsStoresAtOnce) {
    const CComPtr<_Recordset> recordset = Query(connection_, "SELECT * FROM order_lines");
    const CComVariant fields =
        VariantArray({CComVariant("order_id"), CComVariant("line_no"), CComVariant("product_id"),
                      CComVariant("quantity"), CComVariant("unit_price"), CComVariant("discount"),
                      CComVariant("line_total")});
    const CComVariant values =
        VariantArray({CComVariant(1), CComVariant(99), CComVariant(2), CComVariant(3),
                      CComVariant("4.99"), CComVariant(0.0), CComVariant("14.97")});
    ASSERT_HRESULT_SUCCEEDED(recordset->AddNew(fields, values));
    EXPECT_EQ(EditMode(recordset), adEditNone);
    EXPECT_EQ(IntValue(recordset, "line_id"), 878);
    EXPECT_EQ(Scalar(other_, "SELECT count(*) FROM order_lines WHERE line_no = 99"), 1);

    EXPECT_EQ(recordset->AddNew(CComVariant("order_id"), CComVariant(1)), adErrProviderFailed);
    EXPECT_THAT(ErrorTexts(connection_), HasSubstr("NOT NULL constraint failed"));
    EXPECT_EQ(EditMode(recordset), adEditAdd);
    EXPECT_HRESULT_SUCCEEDED(recordset->CancelUpdate());
    EXPECT_EQ(recordset->AddNew(fields, CComVariant(1)), adErrInvalidArgument);
}

TEST_F(EditTest, CancelUpdateDropsTheNewRecordAndReturnsToWhereItWas) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products ORDER BY product_id");
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(2, Missing()));
    ASSERT_HRESULT_SUCCEEDED(recordset->AddNew(Missing(), Missing()));
    FillNewProduct(recordset, "P-9002");
    ASSERT_HRESULT_SUCCEEDED(recordset->CancelUpdate());
    EXPECT_EQ(EditMode(recordset), adEditNone);
    EXPECT_EQ(IntValue(recordset, "product_id"), 3);
    EXPECT_EQ(Count(recordset), 60);
    EXPECT_EQ(OtherCount("item_no = 'P-9002'"), 0);

    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "category", CComVariant("Changed")));
    ASSERT_HRESULT_SUCCEEDED(recordset->CancelUpdate());
    EXPECT_NE(Text(recordset, "category"), "Changed");
    EXPECT_EQ(OtherCount("category = 'Changed'"), 0);
}

TEST_F(EditTest, MovingStoresAPendingEdit) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products ORDER BY product_id");
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "units_in_stock", CComVariant(999)));
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    EXPECT_EQ(OtherCount("product_id = 1 AND units_in_stock = 999"), 1);
}

TEST_F(EditTest, DeleteRemovesTheRecordForEveryone) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products ORDER BY product_id");
    ASSERT_HRESULT_SUCCEEDED(recordset->Move(9, Missing()));
    ASSERT_HRESULT_SUCCEEDED(recordset->Delete(adAffectCurrent));
    ASSERT_HRESULT_SUCCEEDED(recordset->UpdateBatch(adAffectCurrent));
    EXPECT_EQ(OtherCount("product_id = 10"), 0);
    EXPECT_EQ(Count(recordset), 59);
    CComVariant value;
    EXPECT_EQ(FieldOf(recordset, CComVariant("item_no"))->get_Value(&value), adErrNoCurrentRecord);
    EXPECT_EQ(recordset->Delete(adAffectCurrent), adErrNoCurrentRecord);
    EXPECT_EQ(recordset->Delete(adAffectAll), adErrFeatureNotAvailable);
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    EXPECT_EQ(IntValue(recordset, "product_id"), 11);
}

TEST_F(EditTest, ChangesToARecordSomeoneElseDeletedFailClearly) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products WHERE product_id = 5");
    ASSERT_HRESULT_SUCCEEDED(Execute(other_, "DELETE FROM products WHERE product_id = 5"));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "category", CComVariant("Gone")));
    EXPECT_EQ(recordset->Update(Missing(), Missing()), DB_E_CONCURRENCYVIOLATION);
    EXPECT_THAT(ErrorTexts(connection_), HasSubstr("Row cannot be located"));
    EXPECT_HRESULT_SUCCEEDED(recordset->CancelUpdate());
}

TEST_F(EditTest, ChangingTheKeyKeepsTheRecordReachable) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products WHERE product_id = 7");
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "product_id", CComVariant(700)));
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    EXPECT_EQ(IntValue(recordset, "product_id"), 700);
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "category", CComVariant("Moved")));
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    EXPECT_EQ(OtherCount("product_id = 700 AND category = 'Moved'"), 1);
}

TEST_F(EditTest, RollbackUndoesChangesAndTheRecordsetShowsNoneOfThem) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products ORDER BY product_id");
    const std::string original = Text(recordset, "description");
    ASSERT_HRESULT_SUCCEEDED(connection_->BeginTrans(nullptr));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "description", CComVariant("Undone")));
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    CComVariant first;
    ASSERT_HRESULT_SUCCEEDED(recordset->get_Bookmark(&first));
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    CComVariant second;
    ASSERT_HRESULT_SUCCEEDED(recordset->get_Bookmark(&second));
    ASSERT_HRESULT_SUCCEEDED(recordset->Delete(adAffectCurrent));
    ASSERT_HRESULT_SUCCEEDED(recordset->AddNew(Missing(), Missing()));
    FillNewProduct(recordset, "P-9003");
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    EXPECT_EQ(Count(recordset), 60);

    ASSERT_HRESULT_SUCCEEDED(connection_->RollbackTrans());
    EXPECT_EQ(Count(recordset), 60);
    ASSERT_HRESULT_SUCCEEDED(recordset->put_Bookmark(first));
    EXPECT_EQ(Text(recordset, "description"), original);
    ASSERT_HRESULT_SUCCEEDED(recordset->put_Bookmark(second));
    EXPECT_EQ(IntValue(recordset, "product_id"), 2);
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveLast());
    EXPECT_EQ(IntValue(recordset, "product_id"), 60);
    EXPECT_EQ(OtherCount("item_no = 'P-9003' OR description = 'Undone'"), 0);
    EXPECT_EQ(OtherCount("1"), 60);
}

TEST_F(EditTest, StaticCursorReadInARolledBackTransactionIsReadAgain) {
    ASSERT_HRESULT_SUCCEEDED(connection_->BeginTrans(nullptr));
    ASSERT_HRESULT_SUCCEEDED(Execute(connection_, "UPDATE products SET category = 'Tmp'"));
    const CComPtr<_Recordset> snapshot =
        Query(connection_, "SELECT DISTINCT category FROM products", adOpenStatic, adLockReadOnly);
    EXPECT_EQ(Count(snapshot), 1);
    ASSERT_HRESULT_SUCCEEDED(connection_->RollbackTrans());
    EXPECT_GT(Count(snapshot), 1);
    ASSERT_HRESULT_SUCCEEDED(snapshot->MoveFirst());
    EXPECT_NE(Text(snapshot, "category"), "Tmp");
}

TEST_F(EditTest, InnerRollbackKeepsTheOuterTransactionsChanges) {
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM products WHERE product_id IN (1, 2) ORDER BY product_id");
    ASSERT_HRESULT_SUCCEEDED(connection_->BeginTrans(nullptr));
    ASSERT_HRESULT_SUCCEEDED(PutValue(recordset, "product_id", CComVariant(100)));
    ASSERT_HRESULT_SUCCEEDED(recordset->Update(Missing(), Missing()));
    ASSERT_HRESULT_SUCCEEDED(connection_->BeginTrans(nullptr));
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    ASSERT_HRESULT_SUCCEEDED(recordset->Delete(adAffectCurrent));
    ASSERT_HRESULT_SUCCEEDED(connection_->RollbackTrans());
    EXPECT_EQ(Count(recordset), 2);
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveFirst());
    EXPECT_EQ(IntValue(recordset, "product_id"), 100);
    ASSERT_HRESULT_SUCCEEDED(recordset->MoveNext());
    EXPECT_EQ(IntValue(recordset, "product_id"), 2);
    ASSERT_HRESULT_SUCCEEDED(connection_->CommitTrans());
    EXPECT_EQ(OtherCount("product_id IN (100, 2)"), 2);
}

struct BadValue {
    std::string name;
    std::string field;
    CComVariant value;
    HRESULT number;
    std::string description;
};

// Named by its case, so that test listings stay readable.
void PrintTo(const BadValue& value, std::ostream* out) {
    *out << value.name;
}

class PutFailureTest : public EditTest, public ::testing::WithParamInterface<BadValue> {};

TEST_P(PutFailureTest, RefusesValuesTheFieldCannotHold) {
    const BadValue& bad = GetParam();
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM customers WHERE customer_id = 1");
    EXPECT_EQ(PutValue(recordset, bad.field, bad.value), bad.number);
    EXPECT_THAT(ErrorTexts(connection_), HasSubstr(bad.description));
    EXPECT_THAT(ErrorTexts(connection_), HasSubstr(bad.field));
    EXPECT_EQ(EditMode(recordset), adEditNone);
}

INSTANTIATE_TEST_SUITE_P(
    EachKind, PutFailureTest,
    ::testing::Values(
        BadValue{"TextInCurrency", "credit_limit", CComVariant("lots"), DISP_E_TYPEMISMATCH,
                 "cannot be converted"},
        BadValue{"TextInDouble", "discount", CComVariant("1.2.3"), DISP_E_TYPEMISMATCH, "'1.2.3'"},
        BadValue{"TextInDate", "created_at", CComVariant("31/31/2020"), DISP_E_TYPEMISMATCH,
                 "cannot be converted"},
        BadValue{"TextInBoolean", "active", CComVariant("perhaps"), DISP_E_TYPEMISMATCH,
                 "cannot be converted"},
        BadValue{"TooLong", "state", CComVariant("ABC"), adErrDataConversion, "longer than field"},
        BadValue{"NullInRequired", "name", CComVariant::Null(), adErrDataConversion,
                 "cannot be NULL"},
        BadValue{"BlankInRequired", "credit_limit", CComVariant("  "), adErrDataConversion,
                 "cannot be NULL"},
        BadValue{"Overflow", "customer_id", CComVariant("99999999999"), DISP_E_OVERFLOW,
                 "out of the range"}),
    [](const ::testing::TestParamInfo<BadValue>& info) { return info.param.name; });

struct NonFiniteCase {
    std::string name;
    CComVariant value;
    std::string shown;
};

void PrintTo(const NonFiniteCase& row, std::ostream* out) {
    *out << row.name;
}

class NonFinitePutTest : public SampleDataTest<NonFiniteCase> {};

// Neither provider can be trusted with them: one would store NULL, the other NaN.
TEST_P(NonFinitePutTest, IsRefusedAlikeOnEveryProvider) {
    const CComPtr<_Recordset> customers =
        Query(connection_, "SELECT * FROM customers WHERE customer_id = 2");
    EXPECT_EQ(PutValue(customers, "discount", Row().value), DISP_E_OVERFLOW);
    EXPECT_EQ(ErrorTexts(connection_),
              "The value '" + Row().shown + "' is out of the range of field 'discount'.\n");
    EXPECT_EQ(ErrorSource(connection_), kAdoFieldSource);
    EXPECT_EQ(EditMode(customers), adEditNone);
    EXPECT_EQ(Text(customers, "discount"), "0.05");
}

INSTANTIATE_TEST_SUITE_P(
    EachValue, NonFinitePutTest,
    OnEachProvider<NonFiniteCase>({
        {"NaN", CComVariant(std::numeric_limits<double>::quiet_NaN()), "NaN"},
        {"Infinity", CComVariant(std::numeric_limits<double>::infinity()), "INF"},
        {"MinusInfinity", CComVariant(-std::numeric_limits<double>::infinity()), "-INF"},
        {"SingleNaN", CComVariant(std::numeric_limits<float>::quiet_NaN()), "NaN"},
    }),
    ProviderCaseName<NonFiniteCase>);

TEST_F(EditTest, TextPutConvertsUnderTheUsersLocale) {
    const std::string saved = EnvironmentValue("LC_ALL");
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const CComPtr<_Recordset> recordset =
        Query(connection_, "SELECT * FROM customers WHERE customer_id = 1");
    const HRESULT currency = PutValue(recordset, "credit_limit", CComVariant("1234,5"));
    const HRESULT date = PutValue(recordset, "created_at", CComVariant("24.12.2023 18:30"));
    const HRESULT flag = PutValue(recordset, "active", CComVariant("False"));
    const HRESULT blank = PutValue(recordset, "state", CComVariant(""));
    const HRESULT stored = recordset->Update(Missing(), Missing());
    if (saved.empty()) {
        unsetenv("LC_ALL");
    } else {
        setenv("LC_ALL", saved.c_str(), 1);
    }
    ASSERT_HRESULT_SUCCEEDED(currency);
    ASSERT_HRESULT_SUCCEEDED(date);
    ASSERT_HRESULT_SUCCEEDED(flag);
    ASSERT_HRESULT_SUCCEEDED(blank);
    ASSERT_HRESULT_SUCCEEDED(stored);
    EXPECT_EQ(Scalar(other_,
                     "SELECT count(*) FROM customers WHERE customer_id = 1 AND "
                     "credit_limit = 1234.5 AND created_at = '2023-12-24 18:30:00' AND "
                     "active = 0 AND state = ''"),
              1);
    const CComPtr<_Recordset> orders =
        Query(connection_, "SELECT * FROM orders WHERE order_id = 1");
    ASSERT_HRESULT_SUCCEEDED(PutValue(orders, "shipped_date", CComVariant("2/3/2023 10:00")));
    ASSERT_HRESULT_SUCCEEDED(PutValue(orders, "tracking_no", CComVariant::Null()));
    ASSERT_HRESULT_SUCCEEDED(orders->Update(Missing(), Missing()));
    EXPECT_EQ(Scalar(other_,
                     "SELECT count(*) FROM orders WHERE order_id = 1 AND shipped_date = "
                     "'2023-02-03' AND tracking_no IS NULL"),
              1);
}

}  // namespace
