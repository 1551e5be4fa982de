// The classes of the class registry marked as controls, for the host to offer.
#pragma once

#include <string>
#include <vector>

#include "platform/com/hresult.h"

// The ProgIDs of the registered classes that carry the Control key, sorted. A registry that
// cannot be read gives its failure and the problem's text ("FILE:LINE: MESSAGE").
HRESULT RegisteredControlProgIds(std::vector<std::string>& progIds, std::string& problem);
