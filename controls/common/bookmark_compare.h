// Equality of record bookmarks as variants, and a hash that agrees with it, so that a control
// can find a bookmark among many without comparing it with each.
#pragma once

#include <cstdint>

#include "platform/com/variant.h"

// Two bookmarks are equal when they have the same variant type and equal values: strings by
// their byte lengths and bytes, VT_EMPTY and VT_NULL always, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY,
// VT_DATE, VT_BOOL, VT_UI1, VT_DECIMAL and VT_ERROR by value, VT_DISPATCH and VT_UNKNOWN by
// interface pointer. Variants of different types are unequal. Two variants of the same type
// outside that list cannot be compared: E_INVALIDARG.
HRESULT CompareBookmarks(const VARIANT& a, const VARIANT& b, bool& equal);

// A hash equal for every two bookmarks CompareBookmarks finds equal; E_INVALIDARG for a type
// it cannot compare.
HRESULT HashBookmark(const VARIANT& bookmark, std::uint64_t& hash);
