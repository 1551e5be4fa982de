// Popup menus from menu resources: submenus, the choice routed to the owner's commands, what
// was shown, and choices that choose nothing.
#include <gtest/gtest.h>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/ui/menu.h"
#include "platform/ui/wnd.h"

namespace {

constexpr UINT kMenu = 7100;
constexpr UINT kProperties = 501;
constexpr UINT kDuplicate = 502;
constexpr UINT kDelete = 503;
constexpr UINT kGrid = 504;
constexpr UINT kSnap = 505;

class MenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterMenuResource(
            kMenu,
            {MenuItemResource::Popup(
                 "Context",
                 {MenuItemResource::Item("Properties", kProperties), MenuItemResource::Separator(),
                  MenuItemResource::Item("Duplicate", kDuplicate),
                  MenuItemResource::Item("Delete", kDelete),
                  MenuItemResource::Popup("View", {MenuItemResource::Item("Grid", kGrid),
                                                   MenuItemResource::Item("Snap", kSnap)})}),
             MenuItemResource::Item("Plain", kProperties)});
        ASSERT_TRUE(m_owner.Create(nullptr, RECT{0, 0, 100, 80}, 0, 0));
        for (const UINT id : {kProperties, kDuplicate, kDelete, kGrid}) {
            m_owner.OnCommandId(id, [this, id] { m_ran.push_back(id); });
        }
        m_owner.OnUpdateCommandId(kDelete, [](CCmdUI& ui) { ui.Enable(false); });
        m_owner.OnUpdateCommandId(kGrid, [](CCmdUI& ui) { ui.SetCheck(1); });
        ASSERT_TRUE(m_menu.LoadMenu(kMenu));
        m_popup = m_menu.GetSubMenu(0);
        ASSERT_NE(m_popup, nullptr);
    }

    ScopedScriptedDialogs m_dialogs;
    CWnd m_owner;
    CMenu m_menu;
    CMenu* m_popup = nullptr;
    std::vector<UINT> m_ran;
};

}  // namespace

TEST_F(MenuTest, LoadsTheResourceAndHandsOutItsPopups) {
    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(kMenu + 1));
    EXPECT_EQ(missing.TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, &m_owner), 0);
    EXPECT_EQ(m_menu.GetMenuItemCount(), 2);
    EXPECT_EQ(m_menu.GetSubMenu(1), nullptr);
    EXPECT_EQ(m_menu.GetSubMenu(2), nullptr);
    EXPECT_EQ(m_menu.GetSubMenu(-1), nullptr);
    EXPECT_EQ(m_menu.GetSubMenu(0), m_popup);
    EXPECT_EQ(m_popup->GetMenuItemCount(), 5);
    EXPECT_EQ(m_popup->GetMenuItemID(0), kProperties);
    EXPECT_EQ(m_popup->GetMenuItemID(1), 0U);
    EXPECT_EQ(m_popup->GetMenuItemID(4), 0U);
    EXPECT_EQ(m_popup->GetMenuItemID(5), static_cast<UINT>(-1));
    ASSERT_NE(m_popup->GetSubMenu(4), nullptr);
    EXPECT_EQ(m_popup->GetSubMenu(4)->GetMenuItemID(1), kSnap);
    EXPECT_TRUE(m_dialogs->Shown().empty());
}

TEST_F(MenuTest, ChoiceGoesToTheOwnersCommandAndTheMenuIsRecorded) {
    m_dialogs->PushMenuChoice(kDuplicate);
    EXPECT_NE(m_popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 140, 260, &m_owner), 0);
    EXPECT_EQ(m_ran, std::vector<UINT>{kDuplicate});

    ASSERT_EQ(m_dialogs->Shown().size(), 1U);
    const ShownDialog& shown = m_dialogs->Shown()[0];
    EXPECT_EQ(shown.kind, ShownDialog::Kind::PopupMenu);
    EXPECT_EQ(shown.point, (POINT{140, 260}));
    EXPECT_EQ(shown.flags, TPM_LEFTALIGN | TPM_RIGHTBUTTON);
    ASSERT_EQ(shown.menu.size(), 5U);
    std::vector<std::string> texts;
    std::vector<bool> enabled;
    for (const ShownMenuItem& item : shown.menu) {
        texts.push_back(item.text);
        enabled.push_back(item.enabled);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Properties", "", "Duplicate", "Delete", "View"}));
    EXPECT_EQ(enabled, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_TRUE(shown.menu[1].separator);
    ASSERT_EQ(shown.menu[4].items.size(), 2U);
    EXPECT_TRUE(shown.menu[4].items[0].checkable);
    EXPECT_TRUE(shown.menu[4].items[0].checked);
    // Without a handler a command is disabled.
    EXPECT_FALSE(shown.menu[4].items[1].enabled);
}

TEST_F(MenuTest, DisabledAbsentAndDismissedChoicesRunNothing) {
    m_dialogs->PushMenuChoice(kDelete);
    m_dialogs->PushMenuChoice(kSnap);
    m_dialogs->PushMenuChoice(999);
    m_dialogs->PushButton(IDOK);
    for (int shown = 0; shown < 5; ++shown) {
        // Shown every time, even when nothing came of it; the last one meets an empty queue.
        EXPECT_NE(m_popup->TrackPopupMenu(TPM_RIGHTBUTTON, 1, 2, &m_owner), 0);
    }
    EXPECT_TRUE(m_ran.empty());
    EXPECT_EQ(m_dialogs->Shown().size(), 5U);
    EXPECT_EQ(m_dialogs->PendingAnswers(), 0U);
}

TEST_F(MenuTest, ChoiceInASubmenuCounts) {
    m_dialogs->PushMenuChoice(kGrid);
    m_popup->TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, &m_owner);
    EXPECT_EQ(m_ran, std::vector<UINT>{kGrid});
}

TEST_F(MenuTest, ReturnCmdHandsTheChoiceBackInsteadOfSendingIt) {
    m_dialogs->PushMenuChoice(kProperties);
    m_dialogs->PushMenuChoice(kDelete);
    EXPECT_EQ(m_popup->TrackPopupMenu(TPM_RETURNCMD, 5, 5, &m_owner),
              static_cast<int>(kProperties));
    EXPECT_EQ(m_popup->TrackPopupMenu(TPM_RETURNCMD, 5, 5, &m_owner), 0);
    EXPECT_EQ(m_popup->TrackPopupMenu(TPM_RETURNCMD, 5, 5, &m_owner), 0);
    EXPECT_TRUE(m_ran.empty());
}

TEST_F(MenuTest, WithoutAnOwnerNothingIsShown) {
    m_dialogs->PushMenuChoice(kProperties);
    EXPECT_EQ(m_popup->TrackPopupMenu(TPM_RIGHTBUTTON, 0, 0, nullptr), 0);
    EXPECT_TRUE(m_dialogs->Shown().empty());
    EXPECT_EQ(m_dialogs->PendingAnswers(), 1U);
}
