// Owned pop-up windows with a thin border, and the modal loop: what ends it, input for other
// windows dropped, the start hook, and waiting without using the processor.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <ctime>
#include <string>

#include "platform/testing/input.h"
#include "platform/ui/modal_loop.h"
#include "platform/ui/wnd_qt.h"
#include "tests/platform/ui/test_windows.h"

namespace {

constexpr COLORREF kBlack = 0;
constexpr COLORREF kRed = 0x000000FF;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr int kWidth = 120;
constexpr int kHeight = 60;

// Done when clicked or on Enter.
class ChoiceWnd : public PlainWnd {
  public:
    ChoiceWnd() : PlainWnd(kRed) {}
    void OnKeyDown(UINT vk, UINT repeat, UINT flags) override {
        PlainWnd::OnKeyDown(vk, repeat, flags);
        chosen = chosen || vk == VK_RETURN;
    }
    void OnLButtonDown(UINT flags, POINT point) override {
        PlainWnd::OnLButtonDown(flags, point);
        chosen = true;
    }
    bool chosen = false;
};

class PopupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_owner.Create(nullptr, RECT{0, 0, 200, 100}, 0, WS_VISIBLE));
        const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
        m_rect = RECT{left, top, left + kWidth, top + kHeight};
        ASSERT_TRUE(
            m_popup.CreateEx(WS_EX_TOPMOST, WS_POPUP | WS_BORDER | WS_VISIBLE, m_rect, &m_owner));
    }
    void TearDown() override { SetModalLoopHook({}); }

    PlainWnd m_owner{kWhite};
    ChoiceWnd m_popup;
    RECT m_rect{};
};

}  // namespace

TEST_F(PopupTest, IsAnOwnedTopMostWindowWithAThinBorder) {
    EXPECT_EQ(m_popup.GetWindowRect(), m_rect);
    EXPECT_EQ(m_popup.GetClientRect(), (RECT{0, 0, kWidth - 2, kHeight - 2}));
    EXPECT_EQ(m_popup.GetOwner(), &m_owner);
    EXPECT_TRUE(m_popup.IsWindowVisible());
    const QWidget* window = QtWidgetOf(&m_popup);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), QtWidgetOf(&m_owner));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    struct Probe {
        int x, y;
        COLORREF shown;
    };
    for (const Probe& p :
         {Probe{-1, -1, kBlack}, Probe{kWidth - 2, kHeight - 2, kBlack}, Probe{-1, 20, kBlack},
          Probe{0, 0, kRed}, Probe{kWidth - 3, kHeight - 3, kRed}}) {
        EXPECT_EQ(ReadShownPixel(m_popup, p.x, p.y), p.shown) << p.x << "," << p.y;
    }
}

namespace {

struct InputCase {
    std::string name;
    bool toPopup;
    bool key;  // Enter, else a click
    bool ends;
};

class ModalInputTest : public PopupTest, public ::testing::WithParamInterface<InputCase> {};

}  // namespace

TEST_P(ModalInputTest, OnlyTheModalWindowGetsInput) {
    const InputCase& c = GetParam();
    CWnd& target = c.toPopup ? static_cast<CWnd&>(m_popup) : m_owner;
    QTimer::singleShot(0, [&] {
        if (c.key) {
            SendKey(target, VK_RETURN, 0, "\r");
        } else {
            SendClick(target, POINT{5, 5});
        }
        // What did not end the loop, closing the window does.
        QTimer::singleShot(0, [&] { m_popup.DestroyWindow(); });
    });
    EXPECT_EQ(RunModalLoop(m_popup, [&] { return m_popup.chosen; }), c.ends);
    EXPECT_TRUE(m_owner.keys.empty());
    EXPECT_EQ(m_owner.clicks, 0);
    // After the loop the owner takes input again.
    SendClick(m_owner, POINT{5, 5});
    EXPECT_EQ(m_owner.clicks, 1);
}

INSTANTIATE_TEST_SUITE_P(Input, ModalInputTest,
                         ::testing::Values(InputCase{"EnterInThePopup", true, true, true},
                                           InputCase{"ClickInThePopup", true, false, true},
                                           InputCase{"EnterInTheOwner", false, true, false},
                                           InputCase{"ClickInTheOwner", false, false, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(PopupTest, TheHookActsOnceTheLoopRuns) {
    CWnd* seen = nullptr;
    SetModalLoopHook([&](CWnd& window) {
        seen = &window;
        SendKey(window, VK_RETURN, 0, "\r");
        return true;
    });
    EXPECT_TRUE(RunModalLoop(m_popup, [&] { return m_popup.chosen; }));
    EXPECT_EQ(seen, &m_popup);

    // A hook that leaves the window open and gives up ends the loop unfinished.
    m_popup.chosen = false;
    SetModalLoopHook([](CWnd& /*window*/) { return true; });
    EXPECT_FALSE(RunModalLoop(m_popup, [&] { return m_popup.chosen; }));
    EXPECT_TRUE(m_popup.IsWindow());
}

TEST_F(PopupTest, TheLoopSleepsWhileItWaits) {
    bool timeUp = false;
    QTimer::singleShot(200, [&] { timeUp = true; });
    const std::clock_t start = std::clock();
    EXPECT_TRUE(RunModalLoop(m_popup, [&] { return timeUp; }));
    const double cpuMilliseconds =
        1000.0 * static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_LT(cpuMilliseconds, 100.0);
}

// Keys go only to the active window: a pop-up that takes the focus must become it, or a clerk's
// typing would go to the window under it.
TEST_F(PopupTest, TakingTheFocusMakesThePopupTheActiveWindow) {
    ActivateWindow(m_owner);
    ASSERT_TRUE(QtWidgetOf(&m_owner)->window()->isActiveWindow());
    m_popup.SetFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(QtWidgetOf(&m_popup)->window()->isActiveWindow());
    EXPECT_TRUE(m_popup.HasFocus());
}
