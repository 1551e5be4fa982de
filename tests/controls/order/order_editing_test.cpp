// Editing line items on the form with real key and mouse messages: typing rules of each column,
// Backspace, the movement keys with their scrolling, Tab in and out of the control, clicks.
#include <gmock/gmock.h>

#include <functional>

#include "tests/controls/order/order_test_support.h"

namespace {

struct TypingCase {
    const char* name;
    int column;
    bool clearFirst;  // Backspace until the cell is empty
    const char* typed;
    const char* expected;
};

class OrderTypingTest : public OrderTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(OrderTypingTest, TheCellTakesWhatItsColumnAllows) {
    const TypingCase& c = GetParam();
    Long("AddLineItem");
    SendClick(*window_, CellPoint(0, c.column));
    if (c.clearFirst) {
        for (int i = 0; i < 3; ++i) {
            Key(VK_BACK);
        }
    }
    Type(c.typed);
    LineItem& line = Member(&OrderState::m_lineItems).at(0);
    const std::string& text = c.column == kQtyColumn           ? line.Quantity()
                              : c.column == kDescriptionColumn ? line.description
                                                               : line.Price();
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Typing, OrderTypingTest,
    ::testing::Values(
        TypingCase{"ZeroIntoAnEmptyQuantityRefused", kQtyColumn, true, "0", ""},
        TypingCase{"PointFiveIntoAnEmptyQuantity", kQtyColumn, true, ".5", ".5"},
        TypingCase{"ZeroAfterADigit", kQtyColumn, false, "05", "105"},
        TypingCase{"SecondPointInAPriceRefused", kPriceColumn, false, "1.2.5", "1.25"},
        TypingCase{"LettersInAPriceRefused", kPriceColumn, false, "a1b", "1"},
        TypingCase{"DescriptionUpperCased", kDescriptionColumn, false, "abc", "ABC"},
        TypingCase{"QuotesAndBackslashRefused", kDescriptionColumn, false, "a\"b'c\\d", "ABCD"},
        TypingCase{"SignsTaken", kDescriptionColumn, false, "#1 (x)@|`~", "#1 (X)@|`~"}),
    [](const ::testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

TEST_F(OrderTest, TypingAndBackspaceUpdateTheLineTotalAndTheTotals) {
    Long("AddLineItem");
    SendClick(*window_, CellPoint(0, kPriceColumn));
    Type("2.5");
    EXPECT_EQ(Line(0).total, "2.50 ");
    EXPECT_DOUBLE_EQ(OutReal("GetOrderSubtotal"), 2.5);
    Key(VK_BACK);
    EXPECT_EQ(Line(0).Price(), "2.");
    EXPECT_EQ(Line(0).total, "2.00 ");
    // Backspace in an empty cell changes nothing.
    Key(VK_BACK);
    Key(VK_BACK);
    Key(VK_BACK);
    EXPECT_EQ(Line(0).Price(), "");
    EXPECT_DOUBLE_EQ(OutReal("GetOrderSubtotal"), 0);
}

struct KeyCase {
    const char* name;
    std::vector<std::pair<UINT, int>> keys;  // key (with Shift for Shift+Tab) and times
    // Expected first visible line, current line and column, from v lines shown of n = 40.
    std::function<int(int)> first;
    std::function<int(int)> current;
    int column;
};

constexpr int kLines = 40;
constexpr UINT kShiftTab = VK_TAB | 0x10000;

class OrderKeyTest : public OrderTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(OrderKeyTest, MovesTheCurrentCellAndScrollsByTheRules) {
    const KeyCase& c = GetParam();
    AddLines(kLines);
    window_->UpdateWindow();
    const int v =
        Member(&OrderState::m_lastVisibleItem) - Member(&OrderState::m_firstVisibleItem) + 1;
    ASSERT_GT(v, 3);
    ASSERT_LT(2 * v, kLines);
    ActivateWindow(*window_);
    window_->SetFocus();
    for (const auto& [key, times] : c.keys) {
        for (int i = 0; i < times; ++i) {
            Key(key & 0xFFFF, key == kShiftTab ? FSHIFT : 0);
        }
    }
    window_->UpdateWindow();
    EXPECT_EQ(Member(&OrderState::m_firstVisibleItem), c.first(v));
    EXPECT_EQ(Member(&OrderState::m_currentItem), c.current(v));
    EXPECT_EQ(Member(&OrderState::m_currentColumn), c.column);
    EXPECT_EQ(Member(&OrderState::m_lastVisibleItem),
              Member(&OrderState::m_firstVisibleItem) + v - 1);
}

int Zero(int) {
    return 0;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, OrderKeyTest,
    ::testing::Values(
        KeyCase{"DownWithinThePage", {{VK_DOWN, 1}}, Zero, [](int) { return 1; }, 0},
        KeyCase{"UpAtTheTopStays", {{VK_UP, 1}}, Zero, Zero, 0},
        KeyCase{"DownPastTheLastShownScrollsOne",
                {{VK_NEXT, 1}, {VK_DOWN, 1}},
                [](int) { return 1; },
                [](int v) { return v; },
                0},
        KeyCase{"UpAtTheFirstShownScrollsBack",
                {{VK_NEXT, 1}, {VK_DOWN, 1}, {VK_PRIOR, 1}, {VK_UP, 1}},
                Zero,
                Zero,
                0},
        KeyCase{"PageDownGoesToTheLastShown", {{VK_NEXT, 1}}, Zero, [](int v) { return v - 1; }, 0},
        KeyCase{"PageDownTwiceShowsTheNextPage",
                {{VK_NEXT, 2}},
                [](int v) { return v; },
                [](int v) { return 2 * v - 1; },
                0},
        KeyCase{"PageDownStopsAtTheEnd",
                {{VK_NEXT, 20}},
                [](int v) { return kLines - v; },
                [](int) { return kLines - 1; },
                0},
        KeyCase{"PageUpBackToTheStart", {{VK_NEXT, 2}, {VK_PRIOR, 2}}, Zero, Zero, 0},
        KeyCase{"TabWalksTheColumnsIntoTheNextLine", {{VK_TAB, 3}}, Zero, [](int) { return 1; }, 0},
        KeyCase{"ShiftTabBackIntoThePreviousLine", {{VK_TAB, 3}, {kShiftTab, 1}}, Zero, Zero, 2},
        KeyCase{"TabFromTheLastShownPriceScrolls",
                {{VK_NEXT, 1}, {VK_TAB, 3}},
                [](int) { return 1; },
                [](int v) { return v; },
                0},
        KeyCase{"ShiftTabFromTheFirstShownQtyScrollsBack",
                {{VK_NEXT, 1}, {VK_DOWN, 1}, {VK_PRIOR, 1}, {kShiftTab, 1}},
                Zero,
                Zero,
                2}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(OrderTest, ScrollingOneLineShowsWhatAWholePaintShows) {
    AddLines(kLines);
    ActivateWindow(*window_);
    window_->SetFocus();
    // Two scrolls up, then one down.
    Key(VK_NEXT);
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_PRIOR);
    Key(VK_UP);
    ASSERT_EQ(Member(&OrderState::m_firstVisibleItem), 1);
    const int top = Member(&OrderState::m_rowsTop);
    const int bottom = Member(&OrderState::m_rowsBottom);
    std::vector<COLORREF> scrolled;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < kOrderWidth; x += 3) {
            scrolled.push_back(Pixel(x, y));
        }
    }
    window_->Invalidate();
    std::vector<COLORREF> painted;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < kOrderWidth; x += 3) {
            painted.push_back(Pixel(x, y));
        }
    }
    EXPECT_EQ(scrolled, painted);
}

TEST_F(OrderTest, AClickAfterScrollingPicksTheShownLine) {
    AddLines(kLines);
    ActivateWindow(*window_);
    window_->SetFocus();
    Key(VK_NEXT);
    Key(VK_DOWN);
    Key(VK_DOWN);
    ASSERT_EQ(Member(&OrderState::m_firstVisibleItem), 2);
    SendClick(*window_, CellPoint(2, kDescriptionColumn));
    EXPECT_EQ(Long("GetCurrentLineItem"), 2);
    EXPECT_EQ(Member(&OrderState::m_currentColumn), kDescriptionColumn);
    // The Total column and the space below the lines are not cells.
    SendClick(*window_, CellPoint(4, kTotalColumn));
    SendClick(*window_, POINT{10, Member(&OrderState::m_rowsBottom) + 5});
    EXPECT_EQ(Long("GetCurrentLineItem"), 2);
    EXPECT_EQ(Member(&OrderState::m_currentColumn), kDescriptionColumn);
}

TEST_F(OrderTest, ANewDocumentShowsItsLinesFromTheFirst) {
    AddLines(kLines);
    ActivateWindow(*window_);
    window_->SetFocus();
    Key(VK_NEXT);
    Key(VK_NEXT);
    Key(VK_TAB);
    ASSERT_GT(Member(&OrderState::m_firstVisibleItem), 0);
    Call("NewPurchaseOrder");
    AddLines(3);
    window_->UpdateWindow();
    EXPECT_EQ(Member(&OrderState::m_firstVisibleItem), 0);
    EXPECT_EQ(Member(&OrderState::m_lastVisibleItem), 2);
    EXPECT_EQ(Long("GetCurrentLineItem"), 0);
    EXPECT_EQ(Member(&OrderState::m_currentColumn), kQtyColumn);
}

// A window beside the order that takes the focus, as another control of the host would.
class FocusTaker : public CWnd {
  public:
    void OnSetFocus() override { ++m_focused; }
    int m_focused = 0;
};

TEST_F(OrderTest, TabLeavesTheControlAtBothEndsAndWithoutLines) {
    FocusTaker other;
    ASSERT_TRUE(other.Create(&container_, RECT{0, kOrderHeight, 50, kOrderHeight + 10}, 7,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP));
    ActivateWindow(*window_);
    window_->SetFocus();
    // Without lines the keys change nothing and typing goes nowhere, but Tab still leaves.
    for (const UINT key : {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_BACK}) {
        Key(key);
    }
    Type("12");
    EXPECT_TRUE(window_->HasFocus());
    Key(VK_TAB);
    EXPECT_TRUE(other.HasFocus());

    AddLines(2);
    window_->SetFocus();
    Key(VK_TAB, FSHIFT);
    EXPECT_TRUE(other.HasFocus());
    SendClick(*window_, CellPoint(1, kPriceColumn));
    ASSERT_TRUE(window_->HasFocus());
    Key(VK_TAB);
    EXPECT_TRUE(other.HasFocus());
    EXPECT_EQ(Long("GetCurrentLineItem"), 1);
    other.DestroyWindow();
}

}  // namespace
