// Moves of the query list's current row and view by the keys, the scroll bar's arrows, trough
// and menu, on both providers, and the lists too short for a page.
#include <sstream>
#include <tuple>

#include "platform/dialogs/scripted_dialogs.h"
#include "tests/controls/query/query_test_support.h"

namespace {

constexpr int kRecords = 40;

// Where a move leaves the list: the ids of the top and current records and the current slot.
struct View {
    int top = 0;
    int current = 0;
    int slot = 0;
    friend bool operator==(const View&, const View&) = default;
    friend std::ostream& operator<<(std::ostream& out, const View& view) {
        return out << "top " << view.top << ", current " << view.current << ", slot " << view.slot;
    }
};

struct MoveCase {
    const char* name;
    const char* steps;  // blank-separated inputs, each once
    // The view expected in a list of n slots over kRecords records.
    View (*expected)(int n);
};

const MoveCase kMoveCases[] = {
    {"Down", "Down",
     [](int) {
         return View{1, 2, 1};
     }},
    {"DownPastThePageScrollsOneLine", "Down*n",
     [](int n) {
         return View{2, n + 1, n - 1};
     }},
    {"UpAtTheFirstRecordDoesNothing", "Up",
     [](int) {
         return View{1, 1, 0};
     }},
    {"UpFromTheTopSlotScrollsBack", "Down*n Up*n",
     [](int) {
         return View{1, 1, 0};
     }},
    {"PageDownGoesToTheLastSlotFirst", "PageDown",
     [](int n) {
         return View{1, n, n - 1};
     }},
    {"PageDownThenPagesForward", "PageDown PageDown",
     [](int n) {
         return View{n + 1, 2 * n, n - 1};
     }},
    {"PageDownStopsWithTheLastRecordInTheLastSlot", "PageDown*n",
     [](int n) {
         return View{kRecords - n + 1, kRecords, n - 1};
     }},
    {"PageUpGoesToTheTopSlotFirst", "PageDown PageDown PageUp",
     [](int n) {
         return View{n + 1, n + 1, 0};
     }},
    {"PageUpThenPagesBack", "PageDown PageDown PageUp PageUp",
     [](int) {
         return View{1, 1, 0};
     }},
    {"End", "End",
     [](int n) {
         return View{kRecords - n + 1, kRecords, n - 1};
     }},
    {"Home", "End Home",
     [](int) {
         return View{1, 1, 0};
     }},
    {"ArrowButtonsMoveByLines", "ArrowDown ArrowDown ArrowUp",
     [](int) {
         return View{1, 2, 1};
     }},
    {"TroughBelowPagesDown", "TroughBelow TroughBelow",
     [](int n) {
         return View{n + 1, 2 * n, n - 1};
     }},
    {"TroughAbovePagesUp", "TroughBelow TroughAbove",
     [](int) {
         return View{1, 1, 0};
     }},
    {"MenuBottomShowsTheLastPageKeepingTheCurrentRow", "MenuBottom",
     [](int n) {
         return View{kRecords - n + 1, 1, 0};
     }},
    {"MenuTopShowsTheFirstPageKeepingTheCurrentRow", "End MenuTop",
     [](int n) {
         return View{1, kRecords, n - 1};
     }},
    {"MenuPageAndScrollEntries", "MenuPageDown MenuPageDown MenuScrollUp",
     [](int n) {
         return View{n + 1, 2 * n - 1, n - 2};
     }},
};

class QueryMovesTest : public ::testing::TestWithParam<std::tuple<Provider, MoveCase>> {
  protected:
    void SetUp() override {
        if (!table_.Choose(std::get<0>(GetParam()))) {
            GTEST_SKIP() << kNoPostgresServer;
        }
        ASSERT_TRUE(table_.Create(kRecords));
        ASSERT_NO_FATAL_FAILURE(host_.Create(400, 300));
        ASSERT_TRUE(host_.Bind(table_.connection.Get(), table_.SelectAll()));
        host_.Paint();
    }

    void Input(const std::string& step) {
        CWnd& bar = *host_.Member(&QueryState::m_scrollBar);
        const RECT trough = host_.Member(&QueryState::m_scrollBar)->TroughRect();
        const std::map<std::string, UINT> keys = {{"Down", VK_DOWN},     {"Up", VK_UP},
                                                  {"PageDown", VK_NEXT}, {"PageUp", VK_PRIOR},
                                                  {"Home", VK_HOME},     {"End", VK_END}};
        const std::map<std::string, UINT> menu = {{"MenuTop", CScrollBar::ID_SCROLL_TOP},
                                                  {"MenuBottom", CScrollBar::ID_SCROLL_BOTTOM},
                                                  {"MenuPageDown", CScrollBar::ID_SCROLL_PAGEDOWN},
                                                  {"MenuScrollUp", CScrollBar::ID_SCROLL_LINEUP}};
        if (keys.contains(step)) {
            SendKey(host_.Window(), keys.at(step));
        } else if (menu.contains(step)) {
            dialogs_->PushMenuChoice(menu.at(step));
            SendMouseDown(bar, MouseButton::Right, POINT{5, trough.top + 5});
            SendMouseUp(bar, MouseButton::Right, POINT{5, trough.top + 5});
        } else {
            const POINT point = step == "ArrowDown"     ? POINT{5, trough.bottom + 2}
                                : step == "ArrowUp"     ? POINT{5, 2}
                                : step == "TroughBelow" ? POINT{5, trough.bottom - 5}
                                                        : POINT{5, trough.top + 5};
            ASSERT_TRUE(step == "ArrowDown" || step == "ArrowUp" || step == "TroughBelow" ||
                        step == "TroughAbove")
                << step;
            SendClick(bar, point);
        }
        host_.Paint();
    }

    CTempRegistry registry_;
    ScopedScriptedDialogs dialogs_;
    QueryTable table_;
    QueryHost host_;
};

TEST_P(QueryMovesTest, TheViewAfterTheInputs) {
    const MoveCase& move = std::get<1>(GetParam());
    const int n = host_.Member(&QueryState::m_visibleRowCount);
    ASSERT_GE(n, 5);
    ASSERT_LT(2 * n, kRecords);
    std::istringstream steps(move.steps);
    for (std::string step; steps >> step;) {
        const std::size_t star = step.find("*n");
        const int times = star == std::string::npos ? 1 : n;
        for (int i = 0; i < times; ++i) {
            ASSERT_NO_FATAL_FAILURE(Input(step.substr(0, star)));
        }
    }
    EXPECT_EQ((View{host_.TopId(), host_.CurrentId(), host_.Member(&QueryState::m_currentSlot)}),
              move.expected(n));
    // The painted rows follow the view: the top slot holds the top record, and the current
    // record is highlighted where it is shown.
    ASSERT_EQ(host_.Member(&QueryState::m_visibleRowCount), n);
    EXPECT_EQ(host_.IdOf(host_.Member(&QueryState::m_visibleRows).front().bookmark), host_.TopId());
    for (int slot = 0; slot < n; ++slot) {
        const bool current =
            host_.IdOf(host_.Member(&QueryState::m_visibleRows)[static_cast<std::size_t>(slot)]
                           .bookmark) == host_.CurrentId();
        EXPECT_EQ(host_.Pixel(3, host_.SlotPoint(slot).y) == kQueryCurrentBack, current) << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(Moves, QueryMovesTest,
                         ::testing::Combine(::testing::Values(Provider::SQLite,
                                                              Provider::PostgreSQL),
                                            ::testing::ValuesIn(kMoveCases)),
                         [](const ::testing::TestParamInfo<std::tuple<Provider, MoveCase>>& info) {
                             return std::string(std::get<1>(info.param).name) +
                                    (std::get<0>(info.param) == Provider::SQLite ? "_SQLite"
                                                                                 : "_PostgreSQL");
                         });

TEST(QueryScrollBarTest, ItsMenuOffersTheDesktopsEntries) {
    CTempRegistry registry;
    ScopedScriptedDialogs dialogs;
    QueryTable table;
    ASSERT_TRUE(table.Choose(Provider::SQLite));
    ASSERT_TRUE(table.Create(3));
    QueryHost host;
    ASSERT_NO_FATAL_FAILURE(host.Create(300, 200));
    ASSERT_TRUE(host.Bind(table.connection.Get(), table.SelectAll()));
    host.Paint();
    CScrollBar& bar = *host.Member(&QueryState::m_scrollBar);
    SendMouseDown(bar, MouseButton::Right, POINT{5, 50});
    SendMouseUp(bar, MouseButton::Right, POINT{5, 50});
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    std::vector<std::string> entries;
    for (const ShownMenuItem& item : dialogs->Shown()[0].menu) {
        entries.push_back(item.separator ? "-" : item.text + (item.enabled ? "" : " (disabled)"));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"Top", "Bottom", "-", "Page Up", "Page Down", "-",
                                                 "Scroll Up", "Scroll Down"}));
}

using QueryShortListTest = QueryProviderTest;

TEST_P(QueryShortListTest, FewerRecordsThanSlotsPageDownOnceAndEndKeepsTheView) {
    ASSERT_NO_FATAL_FAILURE(BindTable(3));
    EXPECT_EQ(host_.Member(&QueryState::m_visibleRowCount), 3);
    SendKey(host_.Window(), VK_NEXT);
    EXPECT_EQ(host_.CurrentId(), 3);
    EXPECT_EQ(host_.Member(&QueryState::m_currentSlot), 2);
    SendKey(host_.Window(), VK_NEXT);
    host_.Paint();
    EXPECT_EQ(host_.TopId(), 1);
    EXPECT_EQ(host_.CurrentId(), 3);
    SendKey(host_.Window(), VK_HOME);
    SendKey(host_.Window(), VK_END);
    host_.Paint();
    EXPECT_EQ(host_.TopId(), 1);
    EXPECT_EQ(host_.CurrentId(), 3);
    EXPECT_EQ(host_.Member(&QueryState::m_currentSlot), 2);
    // Down past the last record changes nothing.
    SendKey(host_.Window(), VK_DOWN);
    EXPECT_EQ(host_.CurrentId(), 3);
}

TEST_P(QueryShortListTest, AListOneRowHighDoesNotMoveItsViewForEndOrTheLastPage) {
    ASSERT_NO_FATAL_FAILURE(BindTable(10, 400, 300));
    const int rowHeight = host_.Member(&QueryState::m_rowHeight);
    // A second list, one row high, beside the first.
    QueryHost low;
    ASSERT_NO_FATAL_FAILURE(low.Create(400, kQueryHeaderHeight + rowHeight + rowHeight / 2));
    ASSERT_TRUE(low.Bind(table_.connection.Get(), table_.SelectAll()));
    low.Paint();
    ASSERT_EQ(low.Member(&QueryState::m_visibleRowCount), 1);
    SendKey(low.Window(), VK_END);
    low.Ctrl().OnVScroll(SB_BOTTOM, 0, nullptr);
    low.Paint();
    EXPECT_EQ(low.TopId(), 1);
    EXPECT_EQ(low.CurrentId(), 1);
    // Lines still move it, a record at a time.
    SendKey(low.Window(), VK_DOWN);
    low.Paint();
    EXPECT_EQ(low.TopId(), 2);
    EXPECT_EQ(low.CurrentId(), 2);
}

INSTANTIATE_TEST_SUITE_P(Providers, QueryShortListTest,
                         ::testing::Values(Provider::SQLite, Provider::PostgreSQL), ProviderName);

}  // namespace
