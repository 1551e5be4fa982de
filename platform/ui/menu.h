// Menus loaded from menu resources, shown as popup (context) menus through the dialog service.
#pragma once

#include <map>
#include <memory>

#include "platform/ui/command.h"

class CWnd;

class CMenu {
  public:
    // Loads the menu resource; false when there is none with that id.
    bool LoadMenu(UINT resourceId);
    // The popup at that position of this menu; nullptr for a plain entry, a separator or a
    // position out of range. The menu owns it.
    CMenu* GetSubMenu(int position);
    int GetMenuItemCount() const { return static_cast<int>(m_menu.items.size()); }
    // The command of the entry at the position; 0 for separators and popups, -1 out of range.
    UINT GetMenuItemID(int position) const;

    // Shows this menu's entries as a popup at the screen point, enabled and checked as the
    // owner's command rules say. The chosen command goes to the owner as a menu command
    // would; with TPM_RETURNCMD it is returned instead (0 when nothing was chosen). Otherwise
    // nonzero when the menu was shown.
    int TrackPopupMenu(UINT flags, int x, int y, CWnd* owner);

  private:
    MenuItemResource m_menu;
    std::map<int, std::unique_ptr<CMenu>> m_subMenus;
};
