// Editing the grid with real keys and clicks: typing under each edit style, the navigation keys
// and Tab, the mouse, the caret with the focus, and a bound grid's paging and write-back.
#include <unistd.h>

#include <utility>

#include "platform/com/ole_date.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "tests/controls/grid/grid_test_support.h"

namespace {

constexpr int kTextStyle = CodeOf(EditStyle::Text);
constexpr int kListStyle = CodeOf(EditStyle::List);
constexpr int kCheckStyle = CodeOf(EditStyle::CheckBox);
constexpr const char* kDateMask = "##/##/####";
// The rows that fit below the caption band and the headers.
constexpr int kCapacity = (kGridHeight - kBodyTop) / kGridRowHeight;
constexpr unsigned kBack = 8;

// Keys pressed in order: each key with how many times.
using KeyPresses = std::vector<std::pair<UINT, int>>;

class GridEditingTest : public GridTest {
  protected:
    void Paint() {
        window_->RedrawWindow();
        window_->UpdateWindow();
    }
    void Press(const KeyPresses& keys) {
        for (const auto& [vk, times] : keys) {
            for (int i = 0; i < times; ++i) {
                SendKey(*window_, vk);
            }
        }
    }
    // Types the text; a backspace character presses the Backspace key.
    void Type(const std::string& text) {
        for (const char ch : text) {
            if (static_cast<unsigned>(ch) == kBack) {
                SendKey(*window_, VK_BACK, 0, "\b");
            } else {
                TypeText(*window_, std::string(1, ch));
            }
        }
    }
    void AddRows(int count) {
        for (int r = 0; r < count; ++r) {
            AddRowOf({"r" + std::to_string(r)});
        }
    }
    // The middle of a cell's band, right of any short text.
    static POINT CellPoint(int shownRow, int col, int width = 80) {
        return POINT{col * width + width - 10, kBodyTop + shownRow * kGridRowHeight + 10};
    }
};

struct TypingCase {
    const char* name;
    int style;
    int maxSize;
    const char* mask;
    std::vector<std::string> items;
    std::string typed;
    const char* expected;
};

const std::vector<TypingCase> kTypingCases = {
    {"TextTakesLettersDigitsAndBlanks", kTextStyle, 20, "", {}, "ab 1", "ab 1"},
    {"TextIgnoresOtherCharacters", kTextStyle, 20, "", {}, "a-b!.", "ab"},
    {"TextStopsAtMaxSize", kTextStyle, 3, "", {}, "abcd", "abc"},
    {"TextOfMaxSizeZeroTakesNothing", kTextStyle, 0, "", {}, "ab", ""},
    {"BackspaceRemovesTheLast", kTextStyle, 20, "", {}, "abc\b", "ab"},
    {"BackspaceOnEmptyText", kTextStyle, 20, "", {}, "\b", ""},
    {"MaskInsertsItsLiterals", CodeOf(EditStyle::Mask), 0, kDateMask, {}, "123", "12/3"},
    {"MaskRefusesALetterAtADigit", CodeOf(EditStyle::Mask), 0, kDateMask, {}, "1a", "1"},
    {"MaskEndsWithTheMask", CodeOf(EditStyle::Mask), 0, "##", {}, "123", "12"},
    {"DateTypesThroughItsMask",
     CodeOf(EditStyle::Date),
     0,
     kDateMask,
     {},
     "12312024\b5",
     "12/31/2025"},
    {"NumericInsertsThePoint", CodeOf(EditStyle::Numeric), 0, "5,2", {}, "12345678", "12345.67"},
    {"NumericWithoutDecimals", CodeOf(EditStyle::Numeric), 0, "5", {}, "1234567", "12345."},
    {"NumericRefusesASecondPoint", CodeOf(EditStyle::Numeric), 0, "5,2", {}, "1.2.", "1.2"},
    {"NumericPointFirst", CodeOf(EditStyle::Numeric), 0, "5,2", {}, ".123", ".12"},
    {"NumericRefusesLetters", CodeOf(EditStyle::Numeric), 0, "5,2", {}, "1a", "1"},
    {"ListSelectsByFirstLetter", kListStyle, 0, "", {"Apple", "Banana"}, "b", "Banana"},
    {"ListWithoutAMatch", kListStyle, 0, "", {"Apple", "Banana"}, "x", ""},
    {"CheckBoxIgnoresTyping", kCheckStyle, 0, "", {"Y", "N"}, "y", ""},
};

class GridTypingTest : public GridEditingTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(GridTypingTest, TypingFollowsTheColumnsStyleAndMarksTheRow) {
    const TypingCase& c = GetParam();
    ColumnSpec column("c", 200, c.style, true, c.mask);
    column.maxSize = c.maxSize;
    Insert(column);
    for (const std::string& item : c.items) {
        Long("AddDropDownItem", {CComVariant(0), CComVariant(item)});
    }
    AddRow();
    Paint();
    Type(c.typed);
    EXPECT_EQ(Item(0, CComVariant(0)), c.expected);
    EXPECT_EQ(Bool("IsModified"), !std::string(c.expected).empty())
        << "a changed cell marks its row, so that a host saving a modified grid keeps it";
}

INSTANTIATE_TEST_SUITE_P(Cases, GridTypingTest, ::testing::ValuesIn(kTypingCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ListKeyCase {
    const char* name;
    std::vector<std::string> items;
    KeyPresses keys;
    const char* expected;
};

const std::vector<ListKeyCase> kListKeyCases = {
    {"DownFromNoneIsTheFirst", {"a1", "a2", "a3"}, {{VK_DOWN, 1}}, "a1"},
    {"UpFromNoneIsTheFirst", {"a1", "a2", "a3"}, {{VK_UP, 1}}, "a1"},
    {"DownStopsAtTheLast", {"a1", "a2", "a3"}, {{VK_DOWN, 5}}, "a3"},
    {"UpGoesBack", {"a1", "a2", "a3"}, {{VK_DOWN, 3}, {VK_UP, 1}}, "a2"},
    {"PageDownFromNoneIsTheFirst", {"a1", "a2", "a3"}, {{VK_NEXT, 1}}, "a1"},
    {"PageDownStopsAtTheLast", {"a1", "a2", "a3"}, {{VK_DOWN, 1}, {VK_NEXT, 1}}, "a3"},
    {"PageUpStopsAtTheFirst", {"a1", "a2", "a3"}, {{VK_DOWN, 3}, {VK_PRIOR, 1}}, "a1"},
    {"WithoutItemsNothingChanges", {}, {{VK_DOWN, 1}, {VK_NEXT, 1}}, "r0"},
};

class GridListKeyTest : public GridEditingTest,
                        public ::testing::WithParamInterface<ListKeyCase> {};

TEST_P(GridListKeyTest, VerticalKeysWalkTheItemsAndKeepTheRow) {
    Insert({"l", 80, kListStyle});
    for (const std::string& item : GetParam().items) {
        Long("AddDropDownItem", {CComVariant(0), CComVariant(item)});
    }
    AddRows(3);
    Paint();
    Press(GetParam().keys);
    EXPECT_EQ(Member(&GridState::m_currentRow), 0);
    EXPECT_EQ(Item(0, CComVariant(0)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridListKeyTest, ::testing::ValuesIn(kListKeyCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridEditingTest, EnteringAListCellFindsItsItem) {
    Insert({"t"});
    Insert({"l", 80, kListStyle});
    for (const char* item : {"a1", "a2", "a3"}) {
        Long("AddDropDownItem", {CComVariant(1), CComVariant(item)});
    }
    AddRowOf({"x", "A2"});
    AddRowOf({"y", "a1"});
    Paint();
    SendKey(*window_, VK_TAB);
    SendKey(*window_, VK_DOWN);
    EXPECT_EQ(Item(0, CComVariant(1)), "a3") << "Tab found a2 in other case";
    SendClick(*window_, CellPoint(1, 1));
    SendKey(*window_, VK_DOWN);
    EXPECT_EQ(Item(1, CComVariant(1)), "a2") << "a click finds the item too";
}

struct MoveCase {
    const char* name;
    KeyPresses keys;
    int currentRow;
    int firstVisibleRow;
};

// 40 rows, 12 of them shown.
const std::vector<MoveCase> kMoveCases = {
    {"DownMovesInsideTheWindow", {{VK_DOWN, 1}}, 1, 0},
    {"DownAtTheBottomScrollsOneRow", {{VK_DOWN, kCapacity}}, kCapacity, 1},
    {"UpAtTheTopScrollsBack", {{VK_DOWN, kCapacity}, {VK_UP, kCapacity}}, 0, 0},
    {"UpAtTheFirstRowStays", {{VK_UP, 2}}, 0, 0},
    {"DownAtTheLastRowStays", {{VK_END, 1}, {VK_DOWN, 2}}, 39, 29},
    {"PageDownGoesToTheBottomOfTheWindow", {{VK_NEXT, 1}}, kCapacity - 1, 0},
    {"PageDownTurnsThePage", {{VK_NEXT, 2}}, 2 * kCapacity - 1, kCapacity},
    {"PageDownEndsAtTheLastRow", {{VK_NEXT, 5}}, 39, 40 - kCapacity},
    {"PageUpGoesToTheTopOfTheWindow", {{VK_NEXT, 2}, {VK_PRIOR, 1}}, kCapacity, kCapacity},
    {"PageUpTurnsThePageBack", {{VK_NEXT, 2}, {VK_PRIOR, 2}}, 1, 1},
    {"EndShowsTheLastRows", {{VK_END, 1}}, 39, 40 - kCapacity + 1},
    {"HomeShowsTheFirstRows", {{VK_END, 1}, {VK_HOME, 1}}, 0, 0},
    {"LeftAndRightDoNotMove", {{VK_DOWN, 1}, {VK_RIGHT, 2}, {VK_LEFT, 1}}, 1, 0},
};

class GridMoveTest : public GridEditingTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(GridMoveTest, KeysMoveTheHighlightedCellAndScroll) {
    Insert({"a"});
    Insert({"b"});
    AddRows(40);
    Paint();
    Press(GetParam().keys);
    const int current = GetParam().currentRow;
    const int shown = current - GetParam().firstVisibleRow;
    EXPECT_EQ(Member(&GridState::m_currentRow), current);
    EXPECT_EQ(Member(&GridState::m_currentColumn), 0);
    EXPECT_EQ(Member(&GridState::m_firstVisibleRow), GetParam().firstVisibleRow);
    const POINT cell = CellPoint(shown, 0);
    EXPECT_EQ(Pixel(cell.x, cell.y), kGridHighlightBack) << "the current cell is drawn there";
    const POINT other = CellPoint(shown == 0 ? 1 : shown - 1, 0);
    EXPECT_EQ(Pixel(other.x, other.y), kWhite) << "the cell left is drawn plain again";
}

INSTANTIATE_TEST_SUITE_P(Cases, GridMoveTest, ::testing::ValuesIn(kMoveCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct TabCase {
    const char* name;
    std::vector<ColumnSpec> columns;
    int startColumn;
    UINT modifiers;
    int row;
    int column;
    int firstVisibleColumn;
    int focused;  // 0 the grid, 1 the control after it, 2 the last control
};

const std::vector<TabCase> kTabCases = {
    {"TabToTheNextColumn", {{"a"}, {"b"}}, 0, 0, 0, 1, 0, 0},
    {"TabSkipsAHiddenColumn", {{"a"}, {"b"}, {"h", 80, kTextStyle, false}}, 1, 0, 1, 0, 0, 0},
    {"TabWrapsToTheNextRow", {{"a"}, {"b"}}, 1, 0, 1, 0, 0, 0},
    {"ShiftTabGoesBack", {{"a"}, {"b"}}, 1, FSHIFT, 0, 0, 0, 0},
    {"TabScrollsAClippedColumnIn", {{"a", 150}, {"b", 150}, {"c", 150}}, 1, 0, 0, 2, 1, 0},
    {"ShiftTabFromTheFirstCellLeavesTheGrid", {{"a"}, {"b"}}, 0, FSHIFT, 0, 0, 0, 2},
};

class GridTabTest : public GridEditingTest, public ::testing::WithParamInterface<TabCase> {
  protected:
    void SetUp() override {
        GridEditingTest::SetUp();
        const UINT style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        ASSERT_TRUE(after_.Create(&container_, RECT{402, 0, 412, 10}, 0, style));
        ASSERT_TRUE(last_.Create(&container_, RECT{402, 20, 412, 30}, 0, style));
        ActivateWindow(container_);
        window_->SetFocus();
    }
    void TearDown() override {
        after_.DestroyWindow();
        last_.DestroyWindow();
        GridEditingTest::TearDown();
    }
    int Focused() {
        return after_.HasFocus() ? 1 : last_.HasFocus() ? 2 : window_->HasFocus() ? 0 : -1;
    }
    CWnd after_;
    CWnd last_;
};

TEST_P(GridTabTest, TabWalksTheEditableCellsThenLeavesTheGrid) {
    const TabCase& c = GetParam();
    for (const ColumnSpec& column : c.columns) {
        Insert(column);
    }
    AddRow();
    AddRow();
    Paint();
    Member(&GridState::m_currentColumn) = c.startColumn;
    SendKey(*window_, VK_TAB, c.modifiers);
    Paint();
    EXPECT_EQ(Member(&GridState::m_currentRow), c.row);
    EXPECT_EQ(Member(&GridState::m_currentColumn), c.column);
    EXPECT_EQ(Member(&GridState::m_firstVisibleColumn), c.firstVisibleColumn);
    EXPECT_EQ(Focused(), c.focused);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridTabTest, ::testing::ValuesIn(kTabCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTabTest, TabFromTheLastCellMovesTheFocusToTheNextControl) {
    Insert({"a"});
    AddRow();
    Paint();
    SendKey(*window_, VK_TAB);
    EXPECT_EQ(Focused(), 1);
    EXPECT_EQ(GetCaretInfo().owner, nullptr) << "the grid's caret went with the focus";
}

struct ClickCase {
    const char* name;
    POINT point;
    int row;
    int column;
};

const std::vector<ClickCase> kClickCases = {
    {"InsideACell", {120, kBodyTop + 30}, 1, 1},
    {"OnTheLineBetweenRows", {120, kBodyTop + kGridRowHeight}, 0, 1},
    {"OnTheLineBetweenColumns", {80, kBodyTop + 30}, 1, 0},
    {"OnTheHeadersNothingMoves", {120, kBodyTop - 5}, 0, 0},
    {"BelowTheRowsNothingMoves", {120, kBodyTop + 3 * kGridRowHeight + 5}, 0, 0},
};

class GridClickTest : public GridEditingTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(GridClickTest, AClickMakesTheCellUnderItCurrent) {
    Insert({"a"});
    Insert({"b"});
    AddRows(3);
    Paint();
    ActivateWindow(container_);
    SendClick(*window_, GetParam().point);
    EXPECT_EQ(Member(&GridState::m_currentRow), GetParam().row);
    EXPECT_EQ(Member(&GridState::m_currentColumn), GetParam().column);
    EXPECT_TRUE(window_->HasFocus());
}

INSTANTIATE_TEST_SUITE_P(Cases, GridClickTest, ::testing::ValuesIn(kClickCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct ToggleCase {
    const char* name;
    const char* checked;
    const char* unchecked;  // none when null
    const char* before;
    const char* after;
};

const std::vector<ToggleCase> kToggleCases = {
    {"CheckedBecomesUnchecked", "Y", "N", "y", "N"},
    {"UncheckedBecomesChecked", "Y", "N", "N", "Y"},
    {"AnyOtherTextBecomesChecked", "Y", "N", "maybe", "Y"},
    {"WithoutAnUncheckedValue", "Y", nullptr, "Y", ""},
};

class GridToggleTest : public GridEditingTest, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(GridToggleTest, AClickTogglesACheckBoxAndMarksTheRow) {
    const ToggleCase& c = GetParam();
    Insert({"box", 80, kCheckStyle});
    Long("SetCheckBoxCheckedValue", {CComVariant(0), CComVariant(c.checked)});
    if (c.unchecked != nullptr) {
        Long("SetCheckBoxUnCheckedValue", {CComVariant(0), CComVariant(c.unchecked)});
    }
    AddRowOf({c.before});
    Member(&GridState::m_rows)[0].modified = false;
    Paint();
    SendClick(*window_, CellPoint(0, 0));
    EXPECT_EQ(Item(0, CComVariant(0)), c.after);
    EXPECT_TRUE(Bool("IsModified"));
}

INSTANTIATE_TEST_SUITE_P(Cases, GridToggleTest, ::testing::ValuesIn(kToggleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridEditingTest, ADoubleClickTogglesACheckBoxTwiceAndInTheHeaderChangesNothing) {
    Insert({"box", 80, kCheckStyle});
    Insert({"b"});
    Long("SetCheckBoxCheckedValue", {CComVariant(0), CComVariant("Y")});
    Long("SetCheckBoxUnCheckedValue", {CComVariant(0), CComVariant("N")});
    AddRowOf({"N", "x"});
    AddRowOf({"N", "y"});
    Paint();
    SendDoubleClick(*window_, CellPoint(1, 0));
    EXPECT_EQ(Item(1, CComVariant(0)), "N") << "toggled on the press and again on the double click";
    EXPECT_EQ(Member(&GridState::m_currentRow), 1);
    SendDoubleClick(*window_, POINT{40, kBodyTop - 5});
    EXPECT_EQ(Member(&GridState::m_currentRow), 1);
    EXPECT_EQ(Item(1, CComVariant(0)), "N");
}

TEST_F(GridEditingTest, AClickOnTheClippedColumnScrollsItIntoView) {
    Insert({"a", 150});
    Insert({"b", 150});
    Insert({"c", 150});
    AddRow();
    Paint();
    ASSERT_TRUE(Member(&GridState::m_lastColumnClipped));
    SendClick(*window_, POINT{350, kBodyTop + 10});
    Paint();
    EXPECT_EQ(Member(&GridState::m_currentColumn), 2);
    EXPECT_EQ(Member(&GridState::m_firstVisibleColumn), 1);
    EXPECT_FALSE(Member(&GridState::m_lastColumnClipped));
}

TEST_F(GridEditingTest, TheFocusedGridShowsTheCaretAtTheEndOfTheTypedText) {
    Insert({"narrow", 40});
    AddRow();
    Paint();
    ActivateWindow(container_);
    window_->SetFocus();
    EXPECT_EQ(GetCaretInfo().owner, window_);
    EXPECT_TRUE(GetCaretInfo().shown) << "shown where typing goes";
    EXPECT_EQ(GetCaretInfo().rect.Height(), kGridRowHeight);
    Type("ab");
    const int afterTwo = CWnd::GetCaretPos().x;
    Type("c");
    EXPECT_GT(CWnd::GetCaretPos().x, afterTwo);
    Type("WWWWWWWWWW");
    EXPECT_EQ(CWnd::GetCaretPos().x, 39) << "a long text ends at the cell's right edge";
    EXPECT_TRUE(GetCaretInfo().shown);
}

// A bound grid over a table of a few thousand records; its name column refuses "bad".
constexpr int kRecords = 3000;
constexpr const char* kStamp = "2024-03-05 17:45:00";

std::string NameOf(int i) {
    std::string digits = std::to_string(i);
    return "n" + std::string(4 - digits.size(), '0') + digits;
}

class GridBoundEditingTest : public GridEditingTest,
                             public ::testing::WithParamInterface<Provider> {
  protected:
    void SetUp() override {
        if (!db_.Choose(GetParam())) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        ASSERT_NO_FATAL_FAILURE(GridEditingTest::SetUp());
        std::string values;
        for (int i = 1; i <= kRecords; ++i) {
            values += (i > 1 ? ", (" : "(") + std::to_string(i) + ", '" + NameOf(i) + "', " +
                      std::to_string(i) + ", '" + kStamp + "')";
        }
        ASSERT_TRUE(db_.Create(
            "qor_grid_edit_", "name VARCHAR(20) CHECK (name <> 'bad'), rank INTEGER, due TIMESTAMP",
            "VALUES " + values));
        Insert({"name"});
        Insert({"rank"});
        Insert({"due", 100, CodeOf(EditStyle::Date), true, kDateMask});
        ASSERT_TRUE(
            Bool("BindToDatabase", {CComVariant(db_.connection.Get()),
                                    CComVariant("SELECT * FROM " + db_.table + " ORDER BY id")}));
        Paint();
    }
    std::string CurrentName() {
        return Item(Member(&GridState::m_currentRow), CComVariant("name"));
    }
    // What the record of id 1 holds in the field, read on a connection of its own.
    std::string Stored(const std::string& field) {
        CDataConnection other;
        EXPECT_TRUE(other.Open(db_.connectionString));
        CDataRecordset check(other);
        EXPECT_TRUE(check.Open("SELECT " + field + " FROM " + db_.table + " WHERE id = 1"));
        std::string text;
        EXPECT_TRUE(check.GetFieldText(0, text));
        return text;
    }
    // Replaces the current cell's text by typing, then leaves the cell downwards.
    void TypeAndLeave(const std::string& text) {
        Type(std::string(20, static_cast<char>(kBack)) + text);
        SendKey(*window_, VK_DOWN);
    }

    GridDatabase db_;
};

struct PagingCase {
    const char* name;
    KeyPresses keys;
    int currentRecord;
    int firstLoadedRecord;
};

constexpr int kLastPage = kRecords - kCapacity + 1;

const std::vector<PagingCase> kPagingCases = {
    {"DownPastThePageReadsTheNextRecord", {{VK_DOWN, kCapacity}}, kCapacity + 1, 2},
    {"UpAtTheFirstRecordStays", {{VK_UP, 2}}, 1, 1},
    {"PageDownReadsTheNextPage", {{VK_NEXT, 2}}, 2 * kCapacity, kCapacity + 1},
    {"PageDownAndBackUp", {{VK_NEXT, 3}, {VK_PRIOR, 3}}, 1, 1},
    {"EndReadsTheLastPage", {{VK_END, 1}}, kRecords, kLastPage},
    {"PageDownAtTheEndStays", {{VK_END, 1}, {VK_NEXT, 1}, {VK_DOWN, 1}}, kRecords, kLastPage},
    {"UpBeforeTheLastPageReadsTheRecordBefore",
     {{VK_END, 1}, {VK_UP, kCapacity}},
     kLastPage - 1,
     kLastPage - 1},
    {"PageUpBeforeTheLastPage",
     {{VK_END, 1}, {VK_PRIOR, 2}},
     kLastPage - kCapacity,
     kLastPage - kCapacity},
    {"HomeReadsTheFirstPage", {{VK_END, 1}, {VK_HOME, 1}}, 1, 1},
};

TEST_P(GridBoundEditingTest, KeysPageThroughTheRecords) {
    for (const PagingCase& c : kPagingCases) {
        SCOPED_TRACE(c.name);
        SendKey(*window_, VK_HOME);
        Press(c.keys);
        EXPECT_EQ(CurrentName(), NameOf(c.currentRecord));
        EXPECT_EQ(Item(0, CComVariant("name")), NameOf(c.firstLoadedRecord));
        EXPECT_EQ(static_cast<int>(Member(&GridState::m_rows).size()), kCapacity);
        const POINT cell =
            CellPoint(Member(&GridState::m_currentRow) - Member(&GridState::m_firstVisibleRow), 0);
        EXPECT_EQ(Pixel(cell.x, cell.y), kGridHighlightBack);
    }
}

TEST_P(GridBoundEditingTest, LeavingACellWritesItsText) {
    TypeAndLeave("changed");
    EXPECT_EQ(Stored("name"), "changed");
    EXPECT_EQ(Item(0, CComVariant("name")), "changed");
}

// The clerk types and then clicks into another control of the host: the cell was left.
TEST_P(GridBoundEditingTest, LeavingTheGridWritesTheCellsText) {
    CWnd other;
    ASSERT_TRUE(other.Create(&container_, RECT{0, kGridHeight, 50, kGridHeight + 20}, 7,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP));
    ActivateWindow(container_);
    window_->SetFocus();
    ASSERT_TRUE(window_->HasFocus());
    Type(std::string(20, static_cast<char>(kBack)) + "left by focus");
    other.SetFocus();
    ASSERT_TRUE(other.HasFocus());
    EXPECT_EQ(Stored("name"), "left by focus");
}

struct FailingWriteCase {
    const char* name;
    int column;
    const char* typed;
    const char* shown;
};

const std::vector<FailingWriteCase> kFailingWrites = {
    {"RefusedByTheDatabase", 0, "bad", "bad"},
    {"NotHeldByTheField", 1, "1x", "1x"},
    {"IncompleteDate", 2, "0616202", "06/16/202"},
};

TEST_P(GridBoundEditingTest, AFailingWriteShowsItsErrorAndKeepsTheTypedText) {
    const char* const fields[] = {"name", "rank", "due"};
    for (const FailingWriteCase& c : kFailingWrites) {
        SCOPED_TRACE(c.name);
        ScopedScriptedDialogs dialogs;
        SendKey(*window_, VK_HOME);
        const std::string before = Stored(fields[c.column]);
        Member(&GridState::m_currentColumn) = c.column;
        TypeAndLeave(c.typed);
        ASSERT_EQ(dialogs->Shown().size(), 1U);
        EXPECT_EQ(dialogs->Shown()[0].caption, "Error updating column");
        EXPECT_FALSE(dialogs->Shown()[0].text.empty());
        EXPECT_EQ(Item(0, CComVariant(c.column)), c.shown);
        EXPECT_EQ(Stored(fields[c.column]), before);
    }
}

TEST_P(GridBoundEditingTest, ADateCellShowsTheMaskAndKeepsTheTimeOfDay) {
    EXPECT_EQ(Item(0, CComVariant("due")), "03/05/2024");
    ScopedScriptedDialogs dialogs;
    Member(&GridState::m_currentColumn) = 2;
    TypeAndLeave("06162020");
    EXPECT_TRUE(dialogs->Shown().empty());
    CDataConnection other;
    ASSERT_TRUE(other.Open(db_.connectionString));
    CDataRecordset check(other);
    ASSERT_TRUE(check.Open("SELECT due FROM " + db_.table + " WHERE id = 1"));
    CComVariant value;
    ASSERT_TRUE(check.GetFieldValue(0, value));
    ASSERT_EQ(value.vt, VT_DATE);
    SYSTEMTIME t;
    ASSERT_NE(VariantTimeToSystemTime(value.date, &t), 0);
    EXPECT_EQ(std::vector<int>({t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute}),
              std::vector<int>({2020, 6, 16, 17, 45}));
}

INSTANTIATE_TEST_SUITE_P(Providers, GridBoundEditingTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace
