// Binding the query list on both providers, marking every record or none, the walk through the
// marks and the field values of the record it reaches.
#include <gmock/gmock.h>

#include "tests/controls/query/query_test_support.h"

namespace {

using ::testing::ElementsAre;

using QueryBindingTest = QueryProviderTest;

TEST_P(QueryBindingTest, AQueryWithoutRecordsBindsFalseAndTheListStaysBlank) {
    ASSERT_NO_FATAL_FAILURE(BindTable(5));
    ASSERT_NE(host_.Pixel(3, 30), kWhite);  // the first row, current, is highlighted
    EXPECT_FALSE(
        host_.Bind(table_.connection.Get(), "SELECT * FROM " + table_.name + " WHERE id > 100"));
    EXPECT_EQ(host_.Pixel(3, 30), kWhite);
    EXPECT_EQ(host_.Pixel(50, 10), kWhite);
    // Unbound, every method does nothing and the truth values are false.
    host_.Call("SelectAll", {CComVariant(true)});
    EXPECT_FALSE(host_.Bool("MoveToFirstSelected"));
    EXPECT_FALSE(host_.Bool("MoveToNextSelected"));
    EXPECT_EQ(host_.Field("id"), "(false)");
    SendKey(host_.Window(), VK_DOWN);
    EXPECT_EQ(host_.Pixel(3, 30), kWhite);
}

TEST_P(QueryBindingTest, ARefusedOrMissingQueryBindsFalse) {
    ASSERT_NO_FATAL_FAILURE(BindTable(3));
    host_.Call("SelectAll", {CComVariant(true)});
    // A connection object that fails the interface query leaves the binding as it was.
    const CComPtr<CFailingConnection> failing = MakeComObject<CFailingConnection>();
    EXPECT_FALSE(host_.Bool("BindToDatabase", {CComVariant(static_cast<IDispatch*>(failing.Get())),
                                               CComVariant(table_.SelectAll())}));
    EXPECT_TRUE(host_.Bool("MoveToFirstSelected"));
    EXPECT_EQ(host_.Field("id"), "1");
    EXPECT_FALSE(host_.Bind(table_.connection.Get(), "SELECT * FROM no_such_table"));
    EXPECT_FALSE(host_.Bool("MoveToFirstSelected"));
    // No connection object leaves no connection to open the query on.
    EXPECT_FALSE(host_.Bind(nullptr, table_.SelectAll()));
    EXPECT_TRUE(host_.Bind(table_.connection.Get(), table_.SelectAll()));
    EXPECT_EQ(host_.CurrentId(), 1);
}

TEST_P(QueryBindingTest, SelectAllThenTheWalkVisitsEveryRecordOnceInOrderAndWraps) {
    ASSERT_NO_FATAL_FAILURE(BindTable(7));
    host_.Call("SelectAll", {CComVariant(true)});
    EXPECT_THAT(host_.Walk(9), ElementsAre(1, 2, 3, 4, 5, 6, 7, 1, 2));
    EXPECT_EQ(host_.Field("city"), "City 2");
    EXPECT_EQ(host_.Field("order_no"), "102");
    EXPECT_EQ(host_.Field("no_such_field"), "(false)");
    // Every row is painted as marked but the current one.
    EXPECT_EQ(host_.Pixel(3, host_.SlotPoint(1).y), 0x00C0C0C0);
    host_.Call("SelectAll", {CComVariant(false)});
    EXPECT_FALSE(host_.Bool("MoveToFirstSelected"));
    EXPECT_FALSE(host_.Bool("MoveToNextSelected"));
    EXPECT_EQ(host_.Pixel(3, host_.SlotPoint(1).y), kWhite);
}

TEST_P(QueryBindingTest, CtrlClickUnmarksAMarkedRowAndMarksItAgainAtTheEnd) {
    ASSERT_NO_FATAL_FAILURE(BindTable(12));
    for (const int slot : {4, 1, 8}) {
        host_.CtrlClick(slot);
    }
    EXPECT_THAT(host_.Walk(4), ElementsAre(5, 2, 9, 5));
    host_.CtrlClick(4);
    EXPECT_THAT(host_.Walk(3), ElementsAre(2, 9, 2));
    host_.CtrlClick(4);
    EXPECT_THAT(host_.Walk(4), ElementsAre(2, 9, 5, 2));
    // Marking leaves the current row where it was; a plain click moves it.
    EXPECT_EQ(host_.CurrentId(), 1);
    SendClick(host_.Window(), host_.SlotPoint(3));
    EXPECT_EQ(host_.CurrentId(), 4);
    EXPECT_EQ(host_.Member(&QueryState::m_currentSlot), 3);
}

TEST_P(QueryBindingTest, ANewBindingDropsTheMarksAndTheView) {
    ASSERT_NO_FATAL_FAILURE(BindTable(40));
    host_.Call("SelectAll", {CComVariant(true)});
    SendKey(host_.Window(), VK_NEXT);
    SendKey(host_.Window(), VK_NEXT);
    ASSERT_TRUE(host_.Bind(table_.connection.Get(), table_.SelectAll()));
    host_.Paint();
    EXPECT_FALSE(host_.Bool("MoveToFirstSelected"));
    EXPECT_EQ(host_.TopId(), 1);
    EXPECT_EQ(host_.CurrentId(), 1);
    EXPECT_EQ(host_.Member(&QueryState::m_currentSlot), 0);
}

TEST_P(QueryBindingTest, AQueryOnAStaticCursorListsMarksAndWalks) {
    ASSERT_NO_FATAL_FAILURE(BindTable(6));
    // Grouping is served by a read-only static cursor.
    ASSERT_TRUE(
        host_.Bind(table_.connection.Get(), "SELECT order_no % 3 AS rest, COUNT(*) AS n FROM " +
                                                table_.name + " GROUP BY order_no % 3 ORDER BY 1"));
    host_.Paint();
    EXPECT_EQ(host_.Member(&QueryState::m_visibleRowCount), 3);
    host_.CtrlClick(2);
    host_.CtrlClick(0);
    ASSERT_TRUE(host_.Bool("MoveToFirstSelected"));
    EXPECT_EQ(host_.Field("rest"), "2");
    ASSERT_TRUE(host_.Bool("MoveToNextSelected"));
    EXPECT_EQ(host_.Field("rest"), "0");
    EXPECT_EQ(host_.Field("n"), "2");
    SendKey(host_.Window(), VK_END);
    EXPECT_EQ(host_.Member(&QueryState::m_currentSlot), 2);
}

INSTANTIATE_TEST_SUITE_P(Providers, QueryBindingTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace

namespace {

struct MemberCase {
    const char* name;
    DISPID id;
};

const MemberCase kMembers[] = {
    {"BindToDatabase", 1}, {"SelectAll", 2},           {"Print", 3},
    {"PrintSelected", 4},  {"MoveToFirstSelected", 5}, {"MoveToNextSelected", 6},
    {"GetFieldValue", 7},  {"AboutBox", -552},         {"ReadyState", -525},
};

TEST(QueryModuleTest, TheMembersHaveTheirDispatchIdsAndTheControlIsReady) {
    CTempRegistry registry;
    QueryHost host;
    ASSERT_NO_FATAL_FAILURE(host.Create(200, 100));
    for (const MemberCase& member : kMembers) {
        SCOPED_TRACE(member.name);
        DISPID id = 0;
        EXPECT_EQ(GetDispIdOfName(host.Query().Get(), member.name, &id), S_OK);
        EXPECT_EQ(id, member.id);
    }
    CComVariant ready;
    ASSERT_EQ(GetPropertyByName(host.Query().Get(), "ReadyState", &ready), S_OK);
    EXPECT_EQ(ready.lVal, 1);
    // Unbound, the list draws nothing but white and takes no keys.
    EXPECT_EQ(host.Pixel(50, 50), kWhite);
    EXPECT_EQ(host.Window().OnGetDlgCode(), DLGC_WANTALLKEYS);
    EXPECT_FALSE(host.Window().PreTranslateKey(VK_DOWN, 0));
}

}  // namespace
