// What the query list shows, read from its pixels: the row colourings, the header cells and the
// rules at the column ends, a long value that shifts its own line, the scroll bar at the
// right edge, and moves and clicks that leave the picture a full paint would make.
#include <gmock/gmock.h>

#include "platform/gdi/dc.h"
#include "tests/controls/query/query_test_support.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// Widths of texts in the list font.
int ListWidth(const std::string& text) {
    CBitmap bitmap(1, 1);
    const std::unique_ptr<CDC> dc = CreateBitmapDC(bitmap);
    dc->SelectFont(CFont::FromPoints(120, "FixedSys"));
    return dc->GetTextExtentPoint32(text).cx;
}

// The x of the rule after each column of the test's table: the padded texts' widths, + 1.
std::vector<int> RuleXs(QueryHost& host) {
    std::vector<int> xs;
    std::string line = " ";
    for (int i = 0; i < 4; ++i) {
        std::string name;
        int size = 0;
        DescribeQueryField(*host.Member(&QueryState::m_recordset), i, name, size);
        line += std::string(static_cast<std::size_t>(size), 'x');
        xs.push_back(ListWidth(line) + 1);
        line += ' ';
    }
    return xs;
}

class QueryPaintTest : public QueryProviderTest {
  protected:
    void SetUp() override {
        QueryProviderTest::SetUp();
        if (!IsSkipped()) {
            ASSERT_NO_FATAL_FAILURE(BindTable(40, kWidth, kHeight));
        }
    }
    int Mid(int slot) { return host_.SlotPoint(slot).y; }
    // A rule runs down the whole slot at x.
    bool IsRule(int x, int slot) {
        const RECT& rect =
            host_.Member(&QueryState::m_visibleRows).at(static_cast<std::size_t>(slot)).rect;
        for (int y = rect.top; y < rect.bottom; ++y) {
            if (host_.Pixel(x, y) != kBlack) {
                return false;
            }
        }
        return true;
    }
    // The list area's pixels, row by row.
    std::vector<COLORREF> Picture() {
        host_.Paint();
        std::vector<COLORREF> pixels;
        const CBitmap& surface = host_.Window().GetBackingSurface();
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth - kQueryScrollBarWidth; ++x) {
                pixels.push_back(surface.GetPixel(x, y));
            }
        }
        return pixels;
    }
};

TEST_P(QueryPaintTest, TheCurrentRowTheMarkedRowsAndTheOthersHaveTheirColours) {
    host_.CtrlClick(2);
    host_.CtrlClick(0);
    const struct {
        int slot;
        COLORREF fill;
    } rows[] = {{0, kQueryCurrentBack}, {1, kWhite}, {2, kQueryMarkedBack}, {3, kWhite}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.slot);
        EXPECT_EQ(host_.Pixel(3, Mid(row.slot)), row.fill);
    }
    // The current row's text is white, a marked row's black.
    auto hasText = [&](int slot, COLORREF color) {
        for (int x = 2; x < 60; ++x) {
            for (int y = Mid(slot) - 5; y <= Mid(slot) + 5; ++y) {
                if (host_.Pixel(x, y) == color) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(hasText(0, kQueryCurrentText));
    EXPECT_TRUE(hasText(2, kQueryRowText));
    // Moving away leaves the marked first row grey.
    SendKey(host_.Window(), VK_DOWN);
    EXPECT_EQ(host_.Pixel(3, Mid(0)), kQueryMarkedBack);
    EXPECT_EQ(host_.Pixel(3, Mid(1)), kQueryCurrentBack);
}

TEST_P(QueryPaintTest, RulesFallOnTheHeaderCellsEdgesAndCaptionsAreNavy) {
    const std::vector<int> xs = RuleXs(host_);
    // The header cells of the columns whose names fit in them end on the rules.
    for (const int x : {xs[0], xs[1]}) {
        SCOPED_TRACE(x);
        EXPECT_TRUE(IsRule(x, 3));
        EXPECT_EQ(host_.Pixel(x, kHeight - 1), kBlack);
        // The etched edge of the cell left of the rule ends just before it: its shadow inside
        // its highlight.
        EXPECT_EQ(host_.Pixel(x - 2, 21), COLOR_3DSHADOW);
        EXPECT_EQ(host_.Pixel(x, 21), kWhite);
    }
    // Rules along every slot's top and bottom, from the left edge.
    EXPECT_EQ(host_.Pixel(0, host_.Member(&QueryState::m_visibleRows)[4].rect.top), kBlack);
    EXPECT_EQ(host_.Pixel(0, host_.Member(&QueryState::m_visibleRows)[4].rect.bottom), kBlack);
    int navy = 0;
    for (int x = xs[1]; x < xs[2]; ++x) {
        for (int y = 2; y < 24; ++y) {
            navy += host_.Pixel(x, y) == kQueryCaptionText ? 1 : 0;
        }
    }
    EXPECT_GT(navy, 10);
}

TEST_P(QueryPaintTest, ALongValueShiftsItsOwnLineWhileTheHeaderAndOtherRulesStay) {
    ASSERT_TRUE(
        Execute(table_.setup, "UPDATE " + table_.name + " SET name = 'ABCDEFGHIJKL' WHERE id = 3"));
    ASSERT_TRUE(
        Execute(table_.setup, "UPDATE " + table_.name + " SET name = 'Müller' WHERE id = 4"));
    ASSERT_TRUE(host_.Bind(table_.connection.Get(), table_.SelectAll()));
    host_.Paint();
    const std::vector<int> xs = RuleXs(host_);
    // The name's rule moves four characters right in the third row; the rows painted after it
    // cover the line it draws down the list.
    const int shifted = xs[1] + ListWidth("xxxxxxxxxxxxxxxx") - ListWidth("xxxxxxxxxxxx");
    EXPECT_TRUE(IsRule(shifted, 2));
    EXPECT_FALSE(IsRule(shifted, 3));
    EXPECT_TRUE(IsRule(xs[1], 1));
    EXPECT_TRUE(IsRule(xs[1], 3));  // a name with an accent takes its defined width too
    EXPECT_EQ(host_.Pixel(xs[1] - 2, 21), COLOR_3DSHADOW);
    EXPECT_NE(host_.Pixel(shifted - 2, 21), COLOR_3DSHADOW);

    // Painting the rows one by one, each with its rules down the whole list, leaves the same
    // picture, below the rows too.
    const std::vector<COLORREF> full = Picture();
    for (int slot = 0; slot < host_.Member(&QueryState::m_visibleRowCount); ++slot) {
        ASSERT_TRUE(host_.Invoke(&QueryState::RepaintSlot, slot, true));
    }
    EXPECT_TRUE(Picture() == full);
}

TEST_P(QueryPaintTest, TheScrollBarTakesTheRightEdge) {
    const auto& scrollBar = host_.Member(&QueryState::m_scrollBar);
    ASSERT_TRUE(scrollBar);
    EXPECT_EQ(scrollBar->GetDlgCtrlID(), kQueryScrollBarId);
    EXPECT_EQ(scrollBar->GetStyle() & (WS_CHILD | WS_VISIBLE | SBS_VERT | SBS_RIGHTALIGN),
              WS_CHILD | WS_VISIBLE | SBS_VERT | SBS_RIGHTALIGN);
    const RECT rect = scrollBar->GetWindowRect();
    EXPECT_EQ(rect.left, kWidth - kQueryScrollBarWidth);
    EXPECT_EQ(rect.right, kWidth);
    EXPECT_EQ(rect.bottom, kHeight);
    EXPECT_EQ(host_.Member(&QueryState::m_scrollBarWidth), kQueryScrollBarWidth);
    // The rows end where the scroll bar begins.
    EXPECT_EQ(host_.Member(&QueryState::m_visibleRows)[0].rect.right,
              kWidth - kQueryScrollBarWidth);
}

TEST_P(QueryPaintTest, MovesAndClicksLeaveThePictureOfAFullPaint) {
    const int n = host_.Member(&QueryState::m_visibleRowCount);
    auto same = [&](const char* what) {
        SCOPED_TRACE(what);
        const std::vector<COLORREF> drawn = Picture();
        host_.Window().Invalidate();
        EXPECT_TRUE(Picture() == drawn);
    };
    for (int i = 0; i < n + 2; ++i) {
        SendKey(host_.Window(), VK_DOWN);
    }
    same("one-line scrolls down");
    for (int i = 0; i < n + 2; ++i) {
        SendKey(host_.Window(), VK_UP);
    }
    same("one-line scrolls up");
    host_.CtrlClick(3);
    host_.CtrlClick(host_.Member(&QueryState::m_currentSlot));
    same("marking another row and the current one");
    SendClick(host_.Window(), host_.SlotPoint(5));
    host_.CtrlClick(5);
    host_.CtrlClick(3);
    same("a click, then unmarking");
}

INSTANTIATE_TEST_SUITE_P(Providers, QueryPaintTest, ::testing::Values(Provider::SQLite),
                         ProviderName);

}  // namespace
