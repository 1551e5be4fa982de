// Listing the registered control classes.
#include "tools/qorhost/registered_controls.h"

#include <algorithm>

#include "platform/com/class_registry.h"

HRESULT RegisteredControlProgIds(std::vector<std::string>& progIds, std::string& problem) {
    progIds.clear();
    CRegistryKeys keys;
    RegistryProblem found;
    const HRESULT hr = ReadClassRegistry(keys, &found);
    if (FAILED(hr)) {
        problem = found.Describe();
        return hr;
    }
    for (const std::string& clsid : keys.SubKeys("CLSID")) {
        const std::string key = "CLSID\\" + clsid;
        const std::optional<std::string> progId = keys.GetValue(key + "\\ProgID");
        if (keys.HasKey(key + "\\Control") && progId && !progId->empty()) {
            progIds.push_back(*progId);
        }
    }
    std::sort(progIds.begin(), progIds.end());
    return S_OK;
}
