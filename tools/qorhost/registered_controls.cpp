// Listing the registered control classes.
#include "tools/qorhost/registered_controls.h"

#include "platform/com/class_registry_layers.h"

HRESULT RegisteredControlProgIds(std::vector<std::string>& progIds, std::string& problem) {
    progIds.clear();
    const CClassRegistryLayers layers;
    for (const RegisteredClass& entry : RegisteredClasses(layers)) {
        if (entry.control && !entry.progId.empty()) {
            progIds.push_back(entry.progId);
        }
    }
    problem = layers.DescribeProblems();
    return layers.Status();
}
