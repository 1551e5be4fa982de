// The text of a failing COM result, as the system's message table words it.
#pragma once

#include <string>

#include "platform/com/hresult.h"

// The system's message for the code without the trailing line break; for an unknown code in
// the dispatch-exception range "IDispatch error #n", otherwise "Unknown error 0x8XXXXXXX".
std::string ComErrorMessage(HRESULT hr);
