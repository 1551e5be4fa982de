// Popup menus: loading from the resource table, submenus, and tracking through the dialog
// service.
#include "platform/ui/menu.h"

#include "platform/com/exception_guard.h"
#include "platform/dialogs/dialog_service.h"
#include "platform/ui/wnd.h"

bool CMenu::LoadMenu(UINT resourceId) {
    const MenuResource* menu = FindMenuResource(resourceId);
    if (menu == nullptr) {
        return false;
    }
    m_menu = MenuItemResource::Popup({}, *menu);
    m_subMenus.clear();
    return true;
}

CMenu* CMenu::GetSubMenu(int position) {
    if (position < 0 || position >= GetMenuItemCount() || m_menu.items[position].items.empty()) {
        return nullptr;
    }
    auto& subMenu = m_subMenus[position];
    if (!subMenu) {
        subMenu = std::make_unique<CMenu>();
        subMenu->m_menu = m_menu.items[position];
    }
    return subMenu.get();
}

UINT CMenu::GetMenuItemID(int position) const {
    if (position < 0 || position >= GetMenuItemCount()) {
        return static_cast<UINT>(-1);
    }
    const MenuItemResource& item = m_menu.items[position];
    return item.separator || !item.items.empty() ? 0 : item.id;
}

int CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner) {
    if (owner == nullptr || m_menu.items.empty()) {
        return 0;
    }
    // A menu that could not be shown chose nothing.
    const std::optional<UINT> chosen = GuardValue("popup menu", std::optional<UINT>(), [&] {
        return DialogService().PopupMenu(owner, m_menu, POINT{x, y}, flags);
    });
    if ((flags & TPM_RETURNCMD) != 0) {
        return chosen ? static_cast<int>(*chosen) : 0;
    }
    if (chosen) {
        owner->SendCommand(*chosen);
    }
    return 1;
}
