// Keys a window keeps from the dialog around it (OnGetDlgCode), and the tab order of a
// parent's children (GetNextDlgTabItem) that a control moves the focus along.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dialogs/dialog.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "tests/platform/ui/test_windows.h"

namespace {

constexpr UINT kTemplate = 9300;
constexpr UINT kEdit = 100;
constexpr UINT kPlace = 101;

// Answers the dialog code it is given.
class KeyKeeper : public PlainWnd {
  public:
    UINT OnGetDlgCode() override { return code; }
    UINT code = 0;
};

class KeysDialog : public CDialog {
  public:
    KeysDialog() : CDialog(kTemplate) {}
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        return keeper.SubclassDlgItem(kPlace, this);
    }
    void OnCancel() override {
        ++cancels;
        CDialog::OnCancel();
    }
    KeyKeeper keeper;
    int cancels = 0;
};

struct KeyCase {
    std::string name;
    UINT code;
    UINT vk;
    std::string text;
    bool kept;
};

class DialogKeysTest : public ::testing::TestWithParam<KeyCase> {
  protected:
    void SetUp() override {
        RegisterDialogResource(DlgTemplate{
            kTemplate,
            "Keys",
            120,
            60,
            {
                {DlgControlKind::Edit, kEdit, "", 4, 4, 60, 12, WS_TABSTOP},
                {DlgControlKind::Static, kPlace, "", 4, 20, 60, 12, SS_LEFT},
                {DlgControlKind::PushButton, IDOK, "OK", 70, 40, 40, 14, BS_DEFPUSHBUTTON},
            },
        });
    }
    ScopedScriptedDialogs m_dialogs;
};

}  // namespace

TEST_P(DialogKeysTest, TheKeeperGetsTheKeysItAsksFor) {
    const KeyCase& c = GetParam();
    KeysDialog dialog;
    dialog.keeper.code = c.code;
    m_dialogs->PushDialog([&](CDialogDriver& /*driver*/) {
        dialog.keeper.SetFocus();
        SendKey(dialog.keeper, c.vk, 0, c.text);
    });
    dialog.DoModal();
    const std::vector<UINT> none;
    EXPECT_EQ(dialog.keeper.keys, c.kept ? std::vector<UINT>{c.vk} : none);
    EXPECT_EQ(dialog.keeper.chars,
              c.kept ? std::vector<UINT>{static_cast<UINT>(c.text.front())} : none);
    EXPECT_EQ(dialog.cancels, !c.kept && c.vk == VK_ESCAPE ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DialogKeysTest,
    ::testing::Values(KeyCase{"TabToTheDialog", 0, VK_TAB, "\t", false},
                      KeyCase{"EnterToTheDialog", 0, VK_RETURN, "\r", false},
                      KeyCase{"EscapeToTheDialog", 0, VK_ESCAPE, "\x1b", false},
                      KeyCase{"WantTabKeepsTab", DLGC_WANTTAB, VK_TAB, "\t", true},
                      KeyCase{"WantTabLeavesEscape", DLGC_WANTTAB, VK_ESCAPE, "\x1b", false},
                      KeyCase{"AllKeysKeepTab", DLGC_WANTALLKEYS, VK_TAB, "\t", true},
                      KeyCase{"AllKeysKeepEnter", DLGC_WANTALLKEYS, VK_RETURN, "\r", true},
                      KeyCase{"AllKeysKeepEscape", DLGC_WANTALLKEYS, VK_ESCAPE, "\x1b", true}),
    [](const auto& info) { return info.param.name; });

namespace {

// Tab and Shift+Tab move the focus along its parent's tab order.
class TabbingWnd : public PlainWnd {
  public:
    void OnKeyDown(UINT vk, UINT /*repeat*/, UINT /*flags*/) override {
        if (vk != VK_TAB) {
            return;
        }
        if (CWnd* next = GetParent()->GetNextDlgTabItem(this, GetKeyState(VK_SHIFT) < 0)) {
            next->SetFocus();
        }
    }
};

struct TabCase {
    std::string name;
    int from;  // index of the child, -1 for none
    bool previous;
    int expected;  // index of the child, -1 for none
};

class TabOrderTest : public ::testing::TestWithParam<TabCase> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.Create(nullptr, RECT{0, 0, 200, 100}, 0, WS_VISIBLE));
        // 0, 2 and 4 are tab stops; 1 is not; 3 is hidden.
        const UINT styles[] = {WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_CHILD | WS_VISIBLE,
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_CHILD | WS_TABSTOP,
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP};
        for (int i = 0; i < kChildren; ++i) {
            ASSERT_TRUE(m_children[i].Create(&m_parent, RECT{i * 30, 0, i * 30 + 20, 20},
                                             static_cast<UINT>(i + 1), styles[i]));
        }
    }
    CWnd* Child(int index) { return index < 0 ? nullptr : &m_children[index]; }

    static constexpr int kChildren = 5;
    PlainWnd m_parent;
    TabbingWnd m_children[kChildren];
};

}  // namespace

TEST_P(TabOrderTest, FindsTheNextTabStopInCreationOrder) {
    const TabCase& c = GetParam();
    EXPECT_EQ(m_parent.GetNextDlgTabItem(Child(c.from), c.previous), Child(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Order, TabOrderTest,
    ::testing::Values(TabCase{"FirstForNone", -1, false, 0}, TabCase{"LastForNone", -1, true, 4},
                      TabCase{"SkipsANonTabStop", 0, false, 2},
                      TabCase{"SkipsAHiddenOne", 2, false, 4}, TabCase{"WrapsForward", 4, false, 0},
                      TabCase{"WrapsBack", 0, true, 4}, TabCase{"BackOverTheHiddenOne", 4, true, 2},
                      TabCase{"FromANonTabStop", 1, false, 2}),
    [](const auto& info) { return info.param.name; });

TEST_F(TabOrderTest, AControlMovesTheFocusAlongItsParent) {
    ActivateWindow(m_parent);
    m_children[2].SetFocus();
    SendKey(m_children[2], VK_TAB);
    EXPECT_TRUE(m_children[4].HasFocus());
    SendKey(m_children[4], VK_TAB, FSHIFT);
    EXPECT_TRUE(m_children[2].HasFocus());
    m_children[0].DestroyWindow();
    EXPECT_EQ(m_parent.GetNextDlgTabItem(&m_children[4]), &m_children[2]);
    PlainWnd lone;
    EXPECT_EQ(lone.GetNextDlgTabItem(nullptr), nullptr);
}
