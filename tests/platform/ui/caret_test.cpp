// The caret: hide counts, one caret per program, blinking, and drawing over the shown picture
// without touching the backing surface.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStyleHints>
#include <string>
#include <vector>

#include "platform/testing/input.h"
#include "tests/platform/ui/test_windows.h"

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kBlack = 0;
constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kCyan = 0x00FFFF00;  // red inverted

class CaretTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_flashTime = QGuiApplication::styleHints()->cursorFlashTime();
        ASSERT_TRUE(m_wnd.Create(nullptr, RECT{0, 0, 60, 40}, 0, WS_VISIBLE));
        m_wnd.SetFocus();
    }
    void TearDown() override {
        CWnd::DestroyCaret();
        QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
    }

    int m_flashTime = 0;
    PlainWnd m_wnd{kWhite};
};

struct HideShowCase {
    std::string name;
    std::vector<bool> calls;  // true: ShowCaret, false: HideCaret
    bool shown;
};

class CaretHideShowTest : public CaretTest, public ::testing::WithParamInterface<HideShowCase> {};

}  // namespace

TEST_P(CaretHideShowTest, ShowsWhenEveryHideHasItsShow) {
    ASSERT_TRUE(m_wnd.CreateSolidCaret(1, 21));
    for (const bool show : GetParam().calls) {
        EXPECT_TRUE(show ? m_wnd.ShowCaret() : m_wnd.HideCaret());
    }
    EXPECT_EQ(GetCaretInfo().shown, GetParam().shown);
    EXPECT_EQ(ReadShownPixel(m_wnd, 0, 0), GetParam().shown ? kBlack : kWhite);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CaretHideShowTest,
    ::testing::Values(HideShowCase{"HiddenWhenCreated", {}, false},
                      HideShowCase{"ShownByShow", {true}, true},
                      HideShowCase{"ShowAfterHideShowsAgain", {true, false, true}, true},
                      HideShowCase{"TwoHidesNeedTwoShows", {true, false, false, true}, false},
                      HideShowCase{"ExtraShowsDoNotBank", {true, true, false}, false},
                      HideShowCase{"HiddenAgain", {true, false}, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(CaretTest, InvertsTheShownPictureAndLeavesTheSurfaceAlone) {
    m_wnd.SetColor(kRed);
    ASSERT_TRUE(m_wnd.CreateSolidCaret(1, 21));
    CWnd::SetCaretPos(POINT{10, 5});
    m_wnd.ShowCaret();
    const CaretInfo info = GetCaretInfo();
    EXPECT_EQ(info.owner, &m_wnd);
    EXPECT_EQ(info.rect, (RECT{10, 5, 11, 26}));
    EXPECT_EQ(CWnd::GetCaretPos(), (POINT{10, 5}));
    struct Probe {
        int x, y;
        COLORREF shown;
    };
    for (const Probe& probe : {Probe{10, 5, kCyan}, Probe{10, 25, kCyan}, Probe{11, 5, kRed},
                               Probe{9, 5, kRed}, Probe{10, 26, kRed}, Probe{10, 4, kRed}}) {
        SCOPED_TRACE(std::to_string(probe.x) + "," + std::to_string(probe.y));
        EXPECT_EQ(ReadShownPixel(m_wnd, probe.x, probe.y), probe.shown);
        EXPECT_EQ(ReadPixel(m_wnd, probe.x, probe.y), kRed);
    }
}

TEST_F(CaretTest, MovesWithoutLeavingATrail) {
    ASSERT_TRUE(m_wnd.CreateSolidCaret(1, 21));
    m_wnd.ShowCaret();
    CWnd::SetCaretPos(POINT{20, 0});
    EXPECT_EQ(ReadShownPixel(m_wnd, 0, 0), kWhite);
    EXPECT_EQ(ReadShownPixel(m_wnd, 20, 0), kBlack);
}

TEST_F(CaretTest, OneCaretPerProgram) {
    PlainWnd other;
    ASSERT_TRUE(other.Create(nullptr, RECT{0, 0, 30, 30}, 0, WS_VISIBLE));
    ASSERT_TRUE(m_wnd.CreateSolidCaret(1, 21));
    m_wnd.ShowCaret();
    ASSERT_TRUE(other.CreateSolidCaret(2, 10));
    EXPECT_EQ(GetCaretInfo().owner, &other);
    EXPECT_FALSE(GetCaretInfo().shown);
    EXPECT_FALSE(m_wnd.ShowCaret());
    EXPECT_EQ(ReadShownPixel(m_wnd, 0, 0), kWhite);
    other.DestroyWindow();
    EXPECT_EQ(GetCaretInfo().owner, nullptr);
    EXPECT_FALSE(m_wnd.HideCaret());
}

TEST_F(CaretTest, BlinksAtHalfTheFlashTimeOrStaysSteady) {
    struct Case {
        int flashTime;
        int interval;
    };
    for (const Case& c : {Case{1000, 500}, Case{0, 0}}) {
        SCOPED_TRACE(c.flashTime);
        QGuiApplication::styleHints()->setCursorFlashTime(c.flashTime);
        ASSERT_TRUE(m_wnd.CreateSolidCaret(1, 21));
        EXPECT_EQ(GetCaretInfo().blinkInterval, 0);
        m_wnd.ShowCaret();
        EXPECT_TRUE(GetCaretInfo().blinkOn);
        EXPECT_EQ(GetCaretInfo().blinkInterval, c.interval);
        m_wnd.HideCaret();
        EXPECT_EQ(GetCaretInfo().blinkInterval, 0);
    }
}
