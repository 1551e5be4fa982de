// ScrollWindow: which pixels of the backing surface move, which part becomes invalid, and that
// UpdateWindow repaints exactly that part.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/testing/input.h"
#include "platform/ui/wnd.h"

namespace {

// Paints each pixel in a colour of its own place and of the paint's generation.
class PatternWnd : public CWnd {
  public:
    void OnPaint(CDC& dc) override {
        const RECT rc = GetClientRect();
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                dc.FillSolidRect(RECT{x, y, x + 1, y + 1}, Colour(x, y));
            }
        }
    }
    COLORREF Colour(int x, int y) const { return RGB(x, y, generation); }
    int generation = 0;
};

struct ScrollCase {
    std::string name;
    int dx, dy;
    std::optional<RECT> scroll;
    std::optional<RECT> clip;
    RECT target;   // where moved pixels land
    RECT invalid;  // what is repainted
};

class ScrollWindowTest : public ::testing::TestWithParam<ScrollCase> {};

}  // namespace

TEST_P(ScrollWindowTest, MovesPixelsAndRepaintsTheUncoveredPart) {
    const ScrollCase& c = GetParam();
    PatternWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, RECT{0, 0, 40, 30}, 0, 0));
    wnd.UpdateWindow();
    wnd.generation = 255;
    wnd.ScrollWindow(c.dx, c.dy, c.scroll ? &*c.scroll : nullptr, c.clip ? &*c.clip : nullptr);
    EXPECT_EQ(wnd.GetUpdateRect(), c.invalid);
    wnd.UpdateWindow();
    int wrong = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            COLORREF expected = RGB(x, y, 0);
            if (PtInRect(c.invalid, POINT{x, y})) {
                expected = wnd.Colour(x, y);
            } else if (PtInRect(c.target, POINT{x, y})) {
                expected = RGB(x - c.dx, y - c.dy, 0);
            }
            const COLORREF actual = wnd.GetBackingSurface().GetPixel(x, y);
            if (actual != expected && ++wrong <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << actual
                              << " instead of " << expected;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScrollWindowTest,
    ::testing::Values(
        ScrollCase{"UpWholeClient", 0, -5, {}, {}, {0, 0, 40, 25}, {0, 25, 40, 30}},
        ScrollCase{"DownInsideARect",
                   0,
                   4,
                   RECT{0, 10, 40, 30},
                   RECT{0, 10, 40, 30},
                   {0, 14, 40, 30},
                   {0, 10, 40, 14}},
        ScrollCase{
            "LeftInsideAClip", -3, 0, {}, RECT{5, 0, 35, 30}, {5, 0, 32, 30}, {32, 0, 35, 30}},
        ScrollCase{"RightInsideAClip", 3, 0, {}, RECT{5, 0, 35, 30}, {8, 0, 35, 30}, {5, 0, 8, 30}},
        // Without a clip the moved pixels may land outside the scrolled rectangle.
        ScrollCase{
            "RectWithoutClip", 0, 4, RECT{0, 10, 40, 20}, {}, {0, 14, 40, 24}, {0, 10, 40, 14}},
        ScrollCase{"PastTheEdge", 0, 40, {}, {}, {}, {0, 0, 40, 30}},
        // Both ways at once uncovers an L: its bounding rectangle is repainted.
        ScrollCase{"Diagonal", 2, 3, {}, {}, {2, 3, 40, 30}, {0, 0, 40, 30}},
        ScrollCase{"ClipOutsideTheClient", 0, 1, {}, RECT{50, 50, 60, 60}, {}, {}}),
    [](const auto& info) { return info.param.name; });

TEST(ScrollWindowPendingTest, APendingInvalidPartMovesWithThePixels) {
    PatternWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, RECT{0, 0, 40, 30}, 0, 0));
    wnd.UpdateWindow();
    const RECT pending{0, 0, 40, 2};
    wnd.InvalidateRect(&pending);
    wnd.ScrollWindow(0, 10);
    EXPECT_EQ(wnd.GetUpdateRect(), (RECT{0, 0, 40, 12}));
}
