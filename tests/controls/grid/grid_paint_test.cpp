// Painting of the grid as a person sees it: headers, ruled bands, cell kinds, the highlighted
// cell and its caret, and the layout the hit test and scrolling work from.
#include "tests/controls/grid/grid_test_support.h"

namespace {

constexpr COLORREF kLine = kGridLineColor;
constexpr int kCheckBox = CodeOf(EditStyle::CheckBox);
// The first column's cell of row 0 spans x 2..78 and y 45..63.
constexpr int kRow0 = kBodyTop + 1;

class GridPaintTest : public GridTest {
  protected:
    void Paint() {
        window_->RedrawWindow();
        window_->UpdateWindow();
    }
};

TEST_F(GridPaintTest, AnEmptyGridShowsRuledBandsToTheBottom) {
    Insert({"a", 80});
    Paint();
    const int lastBand = kBodyTop + ((kGridHeight - kBodyTop) / kGridRowHeight) * kGridRowHeight;
    EXPECT_EQ(Pixel(40, kBodyTop), kLine);
    EXPECT_EQ(Pixel(40, lastBand), kLine);
    EXPECT_EQ(Pixel(79, lastBand - 5), kLine) << "the column's right edge";
    EXPECT_EQ(Pixel(40, kBodyTop + 10), kWhite);
    EXPECT_EQ(Pixel(200, kBodyTop + 10), kWhite) << "right of the columns";
    EXPECT_EQ(Pixel(40, kGridCaptionHeight + 5), kGridHeaderFace);
    EXPECT_EQ(Pixel(200, 5), kGridCaptionBack);
}

class GridWithoutRowsTest : public GridPaintTest {
  protected:
    int Height() const override { return kBodyTop; }
};

TEST_F(GridWithoutRowsTest, AControlAsHighAsItsHeadersHasNoPage) {
    Insert({"a", 80});
    AddRowOf({"x"});
    Paint();
    EXPECT_EQ(Ctrl().PageCapacity(), 0);
    EXPECT_EQ(Member(&GridState::m_lastVisibleRow), -1);
    EXPECT_EQ(Pixel(40, kGridCaptionHeight + 5), kGridHeaderFace);
}

TEST_F(GridPaintTest, ColumnsWiderThanTheControlAreNarrowedAndTheLastIsClipped) {
    Insert({"wide", 1000});
    Insert({"next", 150});
    Paint();
    EXPECT_EQ(Member(&GridState::m_columns)[0].width, kGridWidth - 2);
    EXPECT_TRUE(Member(&GridState::m_lastColumnClipped));
    EXPECT_EQ(Member(&GridState::m_lastVisibleColumn), 1);
    int first = -1;
    ASSERT_TRUE(Ctrl().FirstColumnToShow(1, first));
    EXPECT_EQ(first, 1) << "the two do not fit together";
    EXPECT_FALSE(Ctrl().FirstColumnToShow(2, first));
}

struct CheckCase {
    const char* name;
    const char* text;
    bool ticked;
};

const std::vector<CheckCase> kCheckCases = {
    {"Checked", "Yes", true},
    {"CheckedInOtherCase", "YES", true},
    {"Unchecked", "No", false},
    {"Empty", "", false},
};

class GridCheckBoxTest : public GridPaintTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(GridCheckBoxTest, TheBoxIsTickedWhenTheTextIsTheCheckedValue) {
    Insert({"box", 80, kCheckBox});
    Long("SetCheckBoxCheckedValue", {CComVariant(0), CComVariant("yes")});
    AddRowOf({"first"});
    AddRowOf({GetParam().text});
    Paint();
    // Row 1's box: 15 x 15 centred in (2, 66, 79, 85); the tick's stem at x 38.
    const int boxTop = kBodyTop + kGridRowHeight + 1 + 2;
    EXPECT_EQ(Pixel(38, boxTop + 15 - 7), GetParam().ticked ? kBlack : kWhite);
    EXPECT_EQ(Pixel(35, boxTop + 3), kWhite) << "the box's face";
    EXPECT_EQ(Pixel(10, boxTop + 3), kWhite) << "the cell's fill";
}

INSTANTIATE_TEST_SUITE_P(Texts, GridCheckBoxTest, ::testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridPaintTest, AFullPaintHighlightsTheCurrentCellInTheGridsHighlightColours) {
    Insert({"a", 80});
    AddRowOf({""});
    AddRowOf({""});
    Paint();
    EXPECT_EQ(Pixel(70, kRow0 + 5), kGridHighlightBack);
    EXPECT_EQ(Pixel(70, kRow0 + kGridRowHeight + 5), kWhite);
    Call("SetGridColors", {CComVariant(0x00EEEEEEu), CComVariant(0u), CComVariant(0x000000FFu),
                           CComVariant(0x00FFFFFFu)});
    Paint();
    EXPECT_EQ(Pixel(70, kRow0 + 5), 0x000000FFu);
    EXPECT_EQ(Pixel(70, kRow0 + kGridRowHeight + 5), kWhite) << "columns keep their colours";
}

TEST_F(GridPaintTest, TheCaretFollowsTheTextAndStopsAtTheRightEdge) {
    Insert({"a", 80});
    AddRowOf({std::string(40, 'W')});
    AddRowOf({"i"});
    ASSERT_TRUE(window_->CreateSolidCaret(1, kGridRowHeight));
    Paint();
    EXPECT_EQ(CWnd::GetCaretPos().x, 79) << "a long text ends at the right edge";
    EXPECT_EQ(CWnd::GetCaretPos().y, kRow0);
    Member(&GridState::m_currentRow) = 1;
    Ctrl().PaintCurrentCell(true);
    EXPECT_GT(CWnd::GetCaretPos().x, 2);
    EXPECT_LT(CWnd::GetCaretPos().x, 20);
    CWnd::DestroyCaret();
}

struct HitCase {
    const char* name;
    POINT point;
    bool hit;
    int row;
    int col;
};

const std::vector<HitCase> kHitCases = {
    {"InsideACell", {40, kRow0 + 5}, true, 0, 0},
    {"LineBetweenRowsIsTheUpperRow", {40, kBodyTop + kGridRowHeight}, true, 0, 0},
    {"LineBetweenColumnsIsTheLeftColumn", {80, kRow0 + 5}, true, 0, 0},
    {"RightOfTheLine", {81, kRow0 + 5}, true, 0, 1},
    {"BottomLineOfTheLastRow", {40, kBodyTop + 2 * kGridRowHeight}, true, 1, 0},
    {"BelowTheRows", {40, kBodyTop + 2 * kGridRowHeight + 1}, false, 0, 0},
    {"Headers", {40, kBodyTop - 1}, false, 0, 0},
    {"RightOfTheColumns", {200, kRow0 + 5}, false, 0, 0},
};

class GridHitTest : public GridPaintTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(GridHitTest, PointsOnLinesBelongToTheCellAboveAndLeft) {
    Insert({"a", 80});
    Insert({"b", 80});
    AddRowOf({"1", "2"});
    AddRowOf({"3", "4"});
    Paint();
    int row = -1;
    int col = -1;
    EXPECT_EQ(Ctrl().HitTest(GetParam().point, row, col), GetParam().hit);
    if (GetParam().hit) {
        EXPECT_EQ(row, GetParam().row);
        EXPECT_EQ(col, GetParam().col);
    }
}

INSTANTIATE_TEST_SUITE_P(Points, GridHitTest, ::testing::ValuesIn(kHitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridPaintTest, AHiddenColumnTakesNoRoom) {
    Insert({"hidden", 80, CodeOf(EditStyle::Text), false});
    Insert({"shown", 80, CodeOf(EditStyle::Text), true, {}});
    AddRowOf({"x", ""});
    Long("SetItemByName", {CComVariant(0), CComVariant("hidden"), CComVariant("secret")});
    Member(&GridState::m_currentRow) = 5;
    Paint();
    EXPECT_EQ(Member(&GridState::m_columns)[0].name, "shown");
    EXPECT_EQ(Pixel(79, kRow0 + 5), kLine);
    EXPECT_EQ(Pixel(120, kRow0 + 5), kWhite) << "no second column is drawn";
}

}  // namespace
