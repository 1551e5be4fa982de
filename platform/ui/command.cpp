// Command routing by id and the process-wide resource table.
#include "platform/ui/command.h"

#include "platform/ui/messages.h"

CCmdUI CCmdTarget::QueryCommand(UINT id) const {
    CCmdUI ui(id, m_handlers.contains(id));
    if (auto rule = m_rules.find(id); rule != m_rules.end() && ui.IsEnabled()) {
        rule->second(ui);
    }
    return ui;
}

bool CCmdTarget::ExecuteCommand(UINT id) {
    if (!QueryCommand(id).IsEnabled()) {
        return false;
    }
    // Copied so that a handler may replace its own entry while it runs.
    auto handler = m_handlers.at(id);
    handler();
    return true;
}

namespace {

struct ResourceTable {
    std::map<UINT, MenuResource> menus;
    std::map<UINT, AcceleratorResource> accelerators;
    std::map<UINT, std::string> strings;
};

ResourceTable& Resources() {
    static ResourceTable table;
    return table;
}

template <typename Map>
const typename Map::mapped_type* Find(const Map& map, UINT id) {
    auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

}  // namespace

void RegisterMenuResource(UINT id, MenuResource menu) {
    Resources().menus[id] = std::move(menu);
}
void RegisterAcceleratorResource(UINT id, AcceleratorResource table) {
    Resources().accelerators[id] = std::move(table);
}
void RegisterStringResource(UINT id, std::string text) {
    Resources().strings[id] = std::move(text);
}
const MenuResource* FindMenuResource(UINT id) {
    return Find(Resources().menus, id);
}
const AcceleratorResource* FindAcceleratorResource(UINT id) {
    return Find(Resources().accelerators, id);
}
std::string LoadStringResource(UINT id) {
    const std::string* text = Find(Resources().strings, id);
    return text ? *text : std::string();
}

std::optional<UINT> FindAccelerator(const AcceleratorResource& table, UINT key, UINT modifiers) {
    constexpr UINT modifierMask = FSHIFT | FCONTROL | FALT;
    for (const ACCEL& entry : table) {
        if (entry.key == key && (entry.fVirt & modifierMask) == (modifiers & modifierMask)) {
            return entry.cmd;
        }
    }
    return std::nullopt;
}
