// Calling dispatch objects by id or by name with the arguments in their natural order.
#pragma once

#include <string_view>
#include <vector>

#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"

// The dispatch id of a member, its name compared without regard to case.
HRESULT GetDispIdOfName(IDispatch* target, std::string_view name, DISPID* id);

// Calls a member with args in their natural order (first parameter first), reversed into the
// DISPPARAMS as the receiver expects; a property put passes its last argument as the value
// (DISPID_PROPERTYPUT). Out arguments are CComVariant::ByReference. When the member fails with an
// exception, its description and source become the calling thread's error object (see
// TakeComErrorTexts) and the result is the exception's own code, not DISP_E_EXCEPTION.
HRESULT InvokeDispatch(IDispatch* target, DISPID member, WORD flags,
                       const std::vector<CComVariant>& args, VARIANT* result = nullptr);
HRESULT InvokeByName(IDispatch* target, std::string_view name, WORD flags,
                     const std::vector<CComVariant>& args, VARIANT* result = nullptr);
HRESULT GetPropertyByName(IDispatch* target, std::string_view name, VARIANT* result);
HRESULT PutPropertyByName(IDispatch* target, std::string_view name, const CComVariant& value);
