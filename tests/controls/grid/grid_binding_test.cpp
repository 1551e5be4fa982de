// A grid bound to a query on both providers: the first page, finding beyond it, deleting a
// record, ordering the whole result and what a failing connection leaves.
#include <unistd.h>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"
#include "tests/controls/grid/grid_test_support.h"

namespace {

constexpr int kRecords = 50;

std::string NameOf(int i) {
    return (i < 10 ? "name0" : "name") + std::to_string(i);
}

class GridBindingTest : public GridTest, public ::testing::WithParamInterface<Provider> {
  protected:
    void SetUp() override {
        if (!db_.Choose(GetParam())) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        ASSERT_NO_FATAL_FAILURE(GridTest::SetUp());
        std::string values;
        for (int i = 1; i <= kRecords; ++i) {
            values += (i > 1 ? ", (" : "(") + std::to_string(i) + ", '" + NameOf(i) + "', " +
                      std::to_string(kRecords + 1 - i) + ")";
        }
        ASSERT_TRUE(db_.Create("qor_grid_", "name VARCHAR(20), rank INTEGER", "VALUES " + values));
        Insert({"name"});
        Insert({"rank"});
    }
    bool Bind(IDispatch* connection) {
        return Bool("BindToDatabase", {CComVariant(connection),
                                       CComVariant("SELECT * FROM " + db_.table + " ORDER BY id")});
    }
    std::vector<std::string> Names() { return ColumnTexts(0); }
    std::vector<std::string> NamesFrom(int first, int count) {
        std::vector<std::string> names;
        for (int i = first; i < first + count; ++i) {
            names.push_back(NameOf(i));
        }
        return names;
    }
    int RecordCount() {
        CComVariant count;
        EXPECT_TRUE(Bool("GetRowCount", {CComVariant::ByReference(&count)}));
        return static_cast<int>(count.lVal);
    }

    GridDatabase db_;
};

TEST_P(GridBindingTest, BindingLoadsOnePageWithBookmarks) {
    ASSERT_TRUE(Bind(db_.connection.Get()));
    const int capacity = (kGridHeight - kBodyTop) / kGridRowHeight;
    EXPECT_EQ(Names(), NamesFrom(1, capacity));
    EXPECT_EQ(Item(0, CComVariant("RANK")), std::to_string(kRecords));
    EXPECT_NE(Member(&GridState::m_rows).back().bookmark.vt, VT_EMPTY);
    EXPECT_FALSE(Bool("IsModified"));
    EXPECT_EQ(RecordCount(), kRecords);
}

TEST_P(GridBindingTest, FindingBeyondThePageReloadsAroundTheRecord) {
    ASSERT_TRUE(Bind(db_.connection.Get()));
    const std::vector<std::string> first = Names();
    EXPECT_TRUE(
        Bool("FindRow", {CComVariant("name"), CComVariant(NameOf(20)), CComVariant(false)}));
    EXPECT_EQ(Names(), first) << "found without scrolling";
    EXPECT_TRUE(Bool("FindRow", {CComVariant("name"), CComVariant(NameOf(45)), CComVariant(true)}));
    // The page from the record to the end, filled up with the records before it.
    const int count = static_cast<int>(first.size());
    EXPECT_EQ(Names(), NamesFrom(kRecords - count + 1, count));
    EXPECT_EQ(Long("GetCurrentRow"), 0);
    EXPECT_FALSE(Bool("FindRow", {CComVariant("name"), CComVariant("nobody"), CComVariant(true)}));
}

TEST_P(GridBindingTest, DeletingARecordRemovesItAndReloadsFromTheNext) {
    ASSERT_TRUE(Bind(db_.connection.Get()));
    EXPECT_TRUE(Bool("DeleteRow", {CComVariant(1)}));
    EXPECT_EQ(RecordCount(), kRecords - 1);
    EXPECT_EQ(Item(0, CComVariant("name")), NameOf(3)) << "the page starts at the next record";
    CComVariant deleted;
    EXPECT_TRUE(Bool("GetDeletedRowValue",
                     {CComVariant(0), CComVariant("name"), CComVariant::ByReference(&deleted)}));
    EXPECT_EQ(deleted.Text(), NameOf(2));
    EXPECT_TRUE(Bool("IsModified"));
}

TEST_P(GridBindingTest, SortingOrdersTheWholeResultAndKeepsTheCurrentRecord) {
    ASSERT_TRUE(Bind(db_.connection.Get()));
    Member(&GridState::m_currentRow) = 2;
    Call("Sort", {CComVariant(1)});
    EXPECT_EQ(Item(Member(&GridState::m_currentRow), CComVariant("name")), NameOf(3));
    Call("FindRow", {CComVariant("name"), CComVariant(NameOf(1)), CComVariant(true)});
    Call("Sort", {CComVariant(0)});
    Call("Sort", {CComVariant(0)});
    EXPECT_EQ(Item(Member(&GridState::m_currentRow), CComVariant("name")), NameOf(3));
    Call("Sort", {CComVariant(1)});
    EXPECT_EQ(Item(Member(&GridState::m_currentRow), CComVariant("name")), NameOf(3));
    // Ordered by rank the names run backwards: the record before the current one is the next
    // name.
    ASSERT_GT(Member(&GridState::m_currentRow), 0);
    EXPECT_EQ(Item(Member(&GridState::m_currentRow) - 1, CComVariant("name")), NameOf(4));
    EXPECT_EQ(RecordCount(), kRecords);
}

TEST_P(GridBindingTest, AFailingConnectionLeavesTheGridAsItWas) {
    ASSERT_TRUE(Bind(db_.connection.Get()));
    const std::vector<std::string> before = Names();
    const CComPtr<CFailingConnection> failing = MakeComObject<CFailingConnection>();
    EXPECT_FALSE(Bind(failing.Get()));
    EXPECT_EQ(Names(), before);
    EXPECT_TRUE(Bool("FindRow", {CComVariant("name"), CComVariant(NameOf(40)), CComVariant(true)}))
        << "still bound";
}

TEST_P(GridBindingTest, RebindingCommitsThePendingTransaction) {
    ASSERT_TRUE(Bind(db_.connection.Get()));
    LONG level = 0;
    ASSERT_EQ(db_.connection->BeginTrans(&level), S_OK);
    ASSERT_EQ(db_.connection->Execute(
                  CComBSTR("UPDATE " + db_.table + " SET name = 'changed' WHERE id = 1").Get(),
                  nullptr, LONG{adCmdText} | LONG{adExecuteNoRecords}, nullptr),
              S_OK);
    ASSERT_TRUE(Bind(db_.connection.Get()));
    CDataConnection other;
    ASSERT_TRUE(other.Open(db_.connectionString));
    CDataRecordset check(other);
    ASSERT_TRUE(check.Open("SELECT name FROM " + db_.table + " WHERE id = 1"));
    std::string name;
    ASSERT_TRUE(check.GetFieldText(0, name));
    EXPECT_EQ(name, "changed");
}

TEST_P(GridBindingTest, PrintingPutsEachColumnsOwnFieldUnderItsTitle) {
    // The query's fields stand as id, name, rank; the grid shows name and rank, so the field at
    // a column's position is another column's.
    ASSERT_TRUE(Bind(db_.connection.Get()));
    ScopedScriptedDialogs dialogs;
    CRecordingPrinter printer;
    dialogs->PushPrinter(printer);
    Ctrl().Print();
    ASSERT_FALSE(printer.Documents().empty());
    std::vector<DcCall> texts;
    for (const PrintedPage& page : printer.Documents()[0].pages) {
        for (const DcCall& call : page.calls) {
            if (call.op == DcOp::DrawText) {
                texts.push_back(call);
            }
        }
    }
    const auto named = [&](const std::string& text) {
        return std::find_if(texts.begin(), texts.end(),
                            [&](const DcCall& call) { return call.text == text; });
    };
    const auto name = named(NameOf(1));
    ASSERT_NE(name, texts.end());
    const auto beside = std::find_if(texts.begin(), texts.end(), [&](const DcCall& call) {
        return call.rect.top == name->rect.top && call.rect.left == name->rect.right;
    });
    ASSERT_NE(beside, texts.end());
    EXPECT_EQ(beside->text, std::to_string(kRecords)) << "the rank beside the name";
    EXPECT_NE(named(NameOf(kRecords)), texts.end()) << "every record, not only the loaded page";
}

INSTANTIATE_TEST_SUITE_P(Providers, GridBindingTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace
