// Command ids, their handlers and enable/check rules, and the resource table of menus,
// accelerators and strings that frames are loaded from.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/types.h"
#include "platform/ui/messages.h"

// The state a command's rule gives it each time a menu opens or an accelerator is pressed.
class CCmdUI {
  public:
    explicit CCmdUI(UINT id, bool enabled) : m_nID(id), m_enabled(enabled) {}
    void Enable(bool enable = true) { m_enabled = enable; }
    void SetCheck(int check = 1) { m_checked = check != 0; }
    // Replaces the menu entry's text while the menu is open (the step an Undo would take).
    void SetText(std::string text) { m_text = std::move(text); }

    UINT m_nID;
    bool IsEnabled() const { return m_enabled; }
    std::optional<bool> Checked() const { return m_checked; }
    const std::optional<std::string>& Text() const { return m_text; }

  private:
    bool m_enabled;
    std::optional<bool> m_checked;
    std::optional<std::string> m_text;
};

// Handlers and update rules by command id. A command without a handler is disabled, like the
// framework's automatic menu enabling; a rule, when present, decides for one with a handler.
class CCmdTarget {
  public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    void OnCommandId(UINT id, std::function<void()> handler) {
        m_handlers[id] = std::move(handler);
    }
    void OnUpdateCommandId(UINT id, std::function<void(CCmdUI&)> rule) {
        m_rules[id] = std::move(rule);
    }
    // Evaluates the command's rule as a menu or accelerator would.
    CCmdUI QueryCommand(UINT id) const;
    // Runs the command when its rule enables it; false when it was disabled or has no handler.
    bool ExecuteCommand(UINT id);

  private:
    std::map<UINT, std::function<void()>> m_handlers;
    std::map<UINT, std::function<void(CCmdUI&)>> m_rules;
};

struct MenuItemResource {
    std::string text;
    UINT id = 0;
    std::vector<MenuItemResource> items;  // a popup when not empty
    bool separator = false;

    static MenuItemResource Item(std::string text, UINT id) {
        return {std::move(text), id, {}, false};
    }
    static MenuItemResource Popup(std::string text, std::vector<MenuItemResource> items) {
        return {std::move(text), 0, std::move(items), false};
    }
    static MenuItemResource Separator() { return {{}, 0, {}, true}; }
};
using MenuResource = std::vector<MenuItemResource>;

// One accelerator: FVIRTKEY with FSHIFT, FCONTROL and FALT modifiers, a virtual key, a command.
struct ACCEL {
    UINT fVirt = FVIRTKEY;
    UINT key = 0;
    UINT cmd = 0;
};
using AcceleratorResource = std::vector<ACCEL>;

// The program's resources, registered once at start-up by id.
void RegisterMenuResource(UINT id, MenuResource menu);
void RegisterAcceleratorResource(UINT id, AcceleratorResource table);
void RegisterStringResource(UINT id, std::string text);
const MenuResource* FindMenuResource(UINT id);
const AcceleratorResource* FindAcceleratorResource(UINT id);
std::string LoadStringResource(UINT id);

// The command of the first entry matching the key and the exact Shift/Control/Alt modifiers.
std::optional<UINT> FindAccelerator(const AcceleratorResource& table, UINT key, UINT modifiers);
