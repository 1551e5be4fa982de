// Find on SQLite recordsets: quoted values, numbers, dates, NULL and LIKE, direction, skip and
// start, and criteria that try to reach the SQL.
#include <gmock/gmock.h>

#include "platform/ado/find_criteria.h"
#include "tests/platform/ado/ado_test_support.h"

namespace {

class FindTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(SampleDatabase())) << kNoSampleDatabase;
        connection_ = Connect(SqliteString(CopySample(folder_)));
        customers_ = Query(connection_, "SELECT * FROM customers ORDER BY customer_id");
    }

    HRESULT Find(const std::string& criteria, LONG skip = 0, LONG direction = adSearchForward,
                 const CComVariant& start = Missing()) {
        const CComBSTR text(criteria);
        return customers_->Find(text.Get(), skip, direction, start);
    }

    TempFolder folder_;
    CComPtr<_Connection> connection_;
    CComPtr<_Recordset> customers_;
};

TEST_F(FindTest, QuotedValueWithADoubledQuoteFindsTheRecord) {
    for (const char* criteria :
         {"name = 'Seán O''Brien'", "name='Seán O''Brien'", "[name]  =  'Seán O''Brien' "}) {
        ASSERT_HRESULT_SUCCEEDED(customers_->MoveLast());
        ASSERT_HRESULT_SUCCEEDED(Find(criteria, 0, adSearchBackward));
        ASSERT_FALSE(AtBof(customers_)) << criteria;
        EXPECT_EQ(IntValue(customers_, "customer_id"), 1) << criteria;
    }
}

TEST_F(FindTest, CriterionThatTriesToBreakOutFindsNothingAndRunsNothing) {
    ASSERT_HRESULT_SUCCEEDED(Find("name = 'x'' OR ''1''=''1'"));
    EXPECT_TRUE(AtEof(customers_));
    for (const char* criteria :
         {"name = 'x' OR '1'='1'", "name = 'x'; DELETE FROM customers", "name = 'x' --", "name = x",
          "1 = 1", "name", "name = 'open", "name = NULL OR 1", "count(*) > 0"}) {
        ASSERT_HRESULT_SUCCEEDED(customers_->MoveFirst());
        EXPECT_EQ(Find(criteria), adErrInvalidArgument) << criteria;
        EXPECT_EQ(IntValue(customers_, "customer_id"), 1) << criteria;
    }
    EXPECT_EQ(Scalar(connection_, "SELECT count(*) FROM customers"), 200);
}

TEST_F(FindTest, TextComparesWithoutRegardToCase) {
    ASSERT_HRESULT_SUCCEEDED(Find("city = 'MÜNCHEN'"));
    ASSERT_FALSE(AtEof(customers_));
    EXPECT_EQ(Text(customers_, "city"), "München");
    ASSERT_HRESULT_SUCCEEDED(Find("name LIKE 'marg*'"));
    EXPECT_EQ(IntValue(customers_, "customer_id"), 5);
    ASSERT_HRESULT_SUCCEEDED(Find("name LIKE '%o''c%'", 1));
    EXPECT_FALSE(AtEof(customers_));
    EXPECT_THAT(Text(customers_, "name"), ::testing::HasSubstr("O'C"));
}

TEST_F(FindTest, NumbersDatesAndNullCompareByValue) {
    ASSERT_HRESULT_SUCCEEDED(Find("customer_id = 17"));
    EXPECT_EQ(IntValue(customers_, "customer_id"), 17);
    ASSERT_HRESULT_SUCCEEDED(Find("credit_limit >= 17250", 1));
    EXPECT_GE(Value(customers_, "credit_limit").cyVal.int64, 172500000);
    ASSERT_HRESULT_SUCCEEDED(customers_->MoveFirst());
    ASSERT_HRESULT_SUCCEEDED(Find("state = NULL"));
    EXPECT_EQ(Value(customers_, "state").vt, VT_NULL);
    ASSERT_HRESULT_SUCCEEDED(Find("state IS NOT NULL"));
    EXPECT_EQ(IntValue(customers_, "customer_id"), 3);

    const CComPtr<_Recordset> orders = Query(connection_, "SELECT * FROM orders ORDER BY order_id");
    const CComBSTR byDate("order_date = #12/26/2023#");
    ASSERT_HRESULT_SUCCEEDED(orders->Find(byDate.Get(), 0, adSearchForward, Missing()));
    EXPECT_EQ(IntValue(orders, "order_id"), 150);
    const CComBSTR iso("order_date = #2023-12-26#");
    ASSERT_HRESULT_SUCCEEDED(orders->MoveFirst());
    ASSERT_HRESULT_SUCCEEDED(orders->Find(iso.Get(), 0, adSearchForward, Missing()));
    EXPECT_EQ(IntValue(orders, "order_id"), 150);
    const CComBSTR mismatch("order_date = 'soon'");
    EXPECT_EQ(orders->Find(mismatch.Get(), 0, adSearchForward, Missing()), DISP_E_TYPEMISMATCH);
}

TEST_F(FindTest, SearchStartsAtTheCurrentRecordAndHonoursSkipDirectionAndStart) {
    ASSERT_HRESULT_SUCCEEDED(customers_->Move(4, Missing()));
    ASSERT_HRESULT_SUCCEEDED(Find("customer_id = 5"));
    EXPECT_EQ(IntValue(customers_, "customer_id"), 5);
    ASSERT_HRESULT_SUCCEEDED(Find("customer_id = 5", 1));
    EXPECT_TRUE(AtEof(customers_));
    ASSERT_HRESULT_SUCCEEDED(customers_->MoveLast());
    ASSERT_HRESULT_SUCCEEDED(Find("customer_id = 300", 0, adSearchBackward));
    EXPECT_TRUE(AtBof(customers_));
    ASSERT_HRESULT_SUCCEEDED(
        Find("customer_id < 3", 0, adSearchForward, CComVariant(adBookmarkFirst)));
    EXPECT_EQ(IntValue(customers_, "customer_id"), 1);
    CComVariant third;
    ASSERT_HRESULT_SUCCEEDED(customers_->Move(2, Missing()));
    ASSERT_HRESULT_SUCCEEDED(customers_->get_Bookmark(&third));
    ASSERT_HRESULT_SUCCEEDED(customers_->MoveLast());
    ASSERT_HRESULT_SUCCEEDED(Find("customer_id < 3", 0, adSearchBackward, third));
    EXPECT_EQ(IntValue(customers_, "customer_id"), 2);
    EXPECT_EQ(Find("nobody = 1"), adErrInvalidArgument);
}

TEST_F(FindTest, DeletedRecordsAreNotFound) {
    ASSERT_HRESULT_SUCCEEDED(Find("customer_id = 9"));
    ASSERT_HRESULT_SUCCEEDED(customers_->Delete(adAffectCurrent));
    ASSERT_HRESULT_SUCCEEDED(customers_->MoveFirst());
    ASSERT_HRESULT_SUCCEEDED(Find("customer_id = 9"));
    EXPECT_TRUE(AtEof(customers_));
}

struct NumberCase {
    std::string name;
    std::string criterion;
    std::string finds;  // from the first customer forward: "EOF" or a customer_id
    HRESULT result = S_OK;
};

void PrintTo(const NumberCase& row, std::ostream* out) {
    *out << row.name;
}

class FindNumberTest : public SampleDataTest<NumberCase> {};

// A value compares as the number it is written as: one a field cannot hold exactly matches none
// of its values instead of the value it would round to.
TEST_P(FindNumberTest, ComparesTheValueAsWrittenWithoutRounding) {
    const CComPtr<_Recordset> customers =
        Query(connection_, "SELECT * FROM customers ORDER BY customer_id");
    const CComBSTR criterion(Row().criterion);
    EXPECT_EQ(customers->Find(criterion.Get(), 0, adSearchForward, Missing()), Row().result);
    EXPECT_EQ(Where(customers, "customer_id"), Row().finds);
}

INSTANTIATE_TEST_SUITE_P(EachValue, FindNumberTest,
                         OnEachProvider<NumberCase>({
                             {"Fraction", "customer_id = 3.5", "EOF"},
                             {"QuotedFraction", "customer_id = '3.5'", "EOF"},
                             {"WholeFraction", "customer_id = 3.0", "3"},
                             {"AboveFraction", "customer_id > 3.5", "4"},
                             {"BeyondTheType", "customer_id = 1e20", "EOF"},
                             {"BelowBeyondTheType", "customer_id < 1e20", "1"},
                             {"NegativeBeyondTheType", "customer_id = -1e20", "EOF"},
                             {"NotANumber", "customer_id = 'abc'", "1", DISP_E_TYPEMISMATCH},
                             {"CurrencyFraction", "credit_limit = 17250.00005", "EOF"},
                             {"CurrencyExact", "credit_limit = 17250.0000", "5"},
                         }),
                         ProviderCaseName<NumberCase>);

TEST(FindCriterionTest, ParsesTheFormsOfACriterion) {
    FindCriterion criterion;
    ASSERT_TRUE(ParseFindCriterion("[unit price]<>'a''b'", criterion));
    EXPECT_EQ(criterion.field, "unit price");
    EXPECT_EQ(criterion.op, FindOperator::NotEqual);
    EXPECT_EQ(criterion.literal, FindLiteral::Text);
    EXPECT_EQ(criterion.text, "a'b");
    ASSERT_TRUE(ParseFindCriterion("amount <= -1.5e3", criterion));
    EXPECT_EQ(criterion.op, FindOperator::LessOrEqual);
    EXPECT_EQ(criterion.literal, FindLiteral::Number);
    EXPECT_EQ(criterion.text, "-1.5e3");
    ASSERT_TRUE(ParseFindCriterion("shipped = #1/2/2024#", criterion));
    EXPECT_EQ(criterion.literal, FindLiteral::Date);
    EXPECT_EQ(criterion.text, "1/2/2024");
    EXPECT_FALSE(ParseFindCriterion("a > NULL", criterion));
    EXPECT_FALSE(ParseFindCriterion("a LIKE 5", criterion));
    EXPECT_FALSE(ParseFindCriterion("a = 'x' AND b = 'y'", criterion));
    EXPECT_FALSE(ParseFindCriterion("a = #1/2/2024", criterion));
    EXPECT_FALSE(ParseFindCriterion("[] = 1", criterion));
    EXPECT_FALSE(ParseFindCriterion("", criterion));
}

}  // namespace
