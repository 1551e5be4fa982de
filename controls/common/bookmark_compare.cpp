// Bookmark equality by variant type and value, and the hash that goes with it.
#include "controls/common/bookmark_compare.h"

#include <array>
#include <bit>
#include <functional>
#include <string_view>

namespace {

// A decimal as sign, scale and mantissa with the trailing zeros of the fraction taken off,
// so that equal values have equal forms (1.50 and 1.5; 0 and -0).
struct DecimalForm {
    bool negative = false;
    BYTE scale = 0;
    std::array<std::uint32_t, 3> mantissa{};  // most significant word first
    friend bool operator==(const DecimalForm&, const DecimalForm&) = default;
};

// Divides the 96-bit mantissa by ten; the remainder.
std::uint32_t DivideByTen(std::array<std::uint32_t, 3>& words) {
    std::uint64_t remainder = 0;
    for (std::uint32_t& word : words) {
        const std::uint64_t part = (remainder << 32) | word;
        word = static_cast<std::uint32_t>(part / 10);
        remainder = part % 10;
    }
    return static_cast<std::uint32_t>(remainder);
}

DecimalForm Normalized(const DECIMAL& value) {
    DecimalForm form;
    form.mantissa = {value.Hi32, static_cast<std::uint32_t>(value.Lo64 >> 32),
                     static_cast<std::uint32_t>(value.Lo64)};
    form.scale = value.scale;
    while (form.scale > 0) {
        std::array<std::uint32_t, 3> quotient = form.mantissa;
        if (DivideByTen(quotient) != 0) {
            break;
        }
        form.mantissa = quotient;
        --form.scale;
    }
    if (form.mantissa == std::array<std::uint32_t, 3>{}) {
        form.scale = 0;
    } else {
        form.negative = (value.sign & DECIMAL_NEG) != 0;
    }
    return form;
}

// The bits of a real, with the two zeros alike since they compare equal.
std::uint64_t RealBits(double value) {
    return value == 0.0 ? 0 : std::bit_cast<std::uint64_t>(value);
}

std::uint64_t Mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xff51afd7ed558ccdULL;
    value ^= value >> 33;
    value *= 0xc4ceb9fe1a85ec53ULL;
    value ^= value >> 33;
    return value;
}

std::string_view Bytes(BSTR text) {
    return text == nullptr ? std::string_view() : std::string_view(text, SysStringByteLen(text));
}

}  // namespace

HRESULT CompareBookmarks(const VARIANT& a, const VARIANT& b, bool& equal) {
    equal = false;
    if (a.vt != b.vt) {
        return S_OK;
    }
    switch (a.vt) {
        case VT_EMPTY:
        case VT_NULL:
            equal = true;
            return S_OK;
        case VT_BSTR:
            equal = Bytes(a.bstrVal) == Bytes(b.bstrVal);
            return S_OK;
        case VT_I2:
            equal = a.iVal == b.iVal;
            return S_OK;
        case VT_I4:
            equal = a.lVal == b.lVal;
            return S_OK;
        case VT_R4:
            equal = a.fltVal == b.fltVal;
            return S_OK;
        case VT_R8:
            equal = a.dblVal == b.dblVal;
            return S_OK;
        case VT_DATE:
            equal = a.date == b.date;
            return S_OK;
        case VT_CY:
            equal = a.cyVal == b.cyVal;
            return S_OK;
        case VT_BOOL:
            equal = a.boolVal == b.boolVal;
            return S_OK;
        case VT_UI1:
            equal = a.bVal == b.bVal;
            return S_OK;
        case VT_ERROR:
            equal = a.scode == b.scode;
            return S_OK;
        case VT_DECIMAL:
            equal = Normalized(a.decVal) == Normalized(b.decVal);
            return S_OK;
        case VT_DISPATCH:
            equal = a.pdispVal == b.pdispVal;
            return S_OK;
        case VT_UNKNOWN:
            equal = a.punkVal == b.punkVal;
            return S_OK;
        default:
            return E_INVALIDARG;
    }
}

HRESULT HashBookmark(const VARIANT& bookmark, std::uint64_t& hash) {
    std::uint64_t value = 0;
    switch (bookmark.vt) {
        case VT_EMPTY:
        case VT_NULL:
            break;
        case VT_BSTR:
            value = std::hash<std::string_view>()(Bytes(bookmark.bstrVal));
            break;
        case VT_I2:
            value = static_cast<std::uint64_t>(bookmark.iVal);
            break;
        case VT_I4:
            value = static_cast<std::uint64_t>(bookmark.lVal);
            break;
        case VT_R4:
            value = RealBits(bookmark.fltVal);
            break;
        case VT_R8:
            value = RealBits(bookmark.dblVal);
            break;
        case VT_DATE:
            value = RealBits(bookmark.date);
            break;
        case VT_CY:
            value = static_cast<std::uint64_t>(bookmark.cyVal.int64);
            break;
        case VT_BOOL:
            value = static_cast<std::uint64_t>(bookmark.boolVal);
            break;
        case VT_UI1:
            value = bookmark.bVal;
            break;
        case VT_ERROR:
            value = static_cast<std::uint64_t>(bookmark.scode);
            break;
        case VT_DECIMAL: {
            const DecimalForm form = Normalized(bookmark.decVal);
            value = (static_cast<std::uint64_t>(form.mantissa[1]) << 32 | form.mantissa[2]) ^
                    Mix(form.mantissa[0]) ^ (static_cast<std::uint64_t>(form.scale) << 56) ^
                    (form.negative ? 1U : 0U);
            break;
        }
        case VT_DISPATCH:
            value = reinterpret_cast<std::uintptr_t>(bookmark.pdispVal);  // NOLINT: identity
            break;
        case VT_UNKNOWN:
            value = reinterpret_cast<std::uintptr_t>(bookmark.punkVal);  // NOLINT: identity
            break;
        default:
            return E_INVALIDARG;
    }
    hash = Mix(value ^ (static_cast<std::uint64_t>(bookmark.vt) << 48));
    return S_OK;
}
