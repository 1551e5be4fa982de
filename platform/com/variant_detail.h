// Internal services on VARIANTs shared by the conversions, the wrapper and dispatch.
#pragma once

#include "platform/com/variant.h"

namespace variant_detail {

// Whether a VARIANT may hold the type: the scalar types, by reference to a scalar or a VARIANT,
// and arrays of the element types SAFEARRAY holds (also by reference).
bool IsValidVartype(VARTYPE vt);

// A non-owning view of the value: src itself, or for VT_BYREF the value it points to.
// E_INVALIDARG for a null reference or a reference to a by-reference VARIANT.
HRESULT ViewReferenced(const VARIANT& src, VARIANT& view);

// A deep copy of a value that is not by reference into copy, which owns nothing yet.
HRESULT CopyOwned(const VARIANT& src, VARIANT& copy);

// Stores value, which must already be of the referenced type unless ref points to a VARIANT,
// through the reference ref holds, giving back what the storage held before. value's
// ownership passes to the storage; on failure value is left as it was.
HRESULT StoreThroughReference(const VARIANT& ref, VARIANT& value);

}  // namespace variant_detail
