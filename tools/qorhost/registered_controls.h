// The classes of the class registry marked as controls, for the host to offer.
#pragma once

#include <string>
#include <vector>

#include "platform/com/hresult.h"

// The ProgIDs of the registered classes that carry the Control key, both layers, sorted. A
// registry file that cannot be read gives the failure and the problems' text ("FILE:LINE:
// MESSAGE", a line each), with the classes of the files that can.
HRESULT RegisteredControlProgIds(std::vector<std::string>& progIds, std::string& problem);
