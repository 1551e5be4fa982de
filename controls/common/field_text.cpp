// The value-to-text conversion of field values and the trimming of texts.
#include "controls/common/field_text.h"

#include "platform/com/bstr.h"
#include "platform/com/lcid.h"
#include "platform/com/var_text.h"

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The VarBstrFrom... conversion of the value's type; DISP_E_TYPEMISMATCH for a type without one.
HRESULT ConvertedText(const VARIANT& value, BSTR* text) {
    const LCID lcid = GetUserDefaultLCID();
    const ULONG flags = LOCALE_NOUSEROVERRIDE;
    switch (value.vt) {
        case VT_I1:
            return VarBstrFromI1(value.cVal, lcid, flags, text);
        case VT_UI1:
            return VarBstrFromUI1(value.bVal, lcid, flags, text);
        case VT_I2:
            return VarBstrFromI2(value.iVal, lcid, flags, text);
        case VT_UI2:
            return VarBstrFromUI2(value.uiVal, lcid, flags, text);
        case VT_I4:
            return VarBstrFromI4(value.lVal, lcid, flags, text);
        case VT_UI4:
            return VarBstrFromUI4(value.ulVal, lcid, flags, text);
        case VT_I8:
            return VarBstrFromI8(value.llVal, lcid, flags, text);
        case VT_UI8:
            return VarBstrFromUI8(value.ullVal, lcid, flags, text);
        case VT_R4:
            return VarBstrFromR4(value.fltVal, lcid, flags, text);
        case VT_R8:
            return VarBstrFromR8(value.dblVal, lcid, flags, text);
        case VT_CY:
            return VarBstrFromCy(value.cyVal, lcid, flags, text);
        case VT_DECIMAL:
            return VarBstrFromDec(&value.decVal, lcid, flags, text);
        case VT_DATE:
            return VarBstrFromDate(value.date, lcid, VAR_DATEVALUEONLY, text);
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

std::string UntrimmedText(const VARIANT& value) {
    switch (value.vt) {
        case VT_INT:
            return std::to_string(value.intVal);
        case VT_UINT:
            return std::to_string(value.uintVal);
        case VT_BSTR:
            return std::string(BstrView(value.bstrVal));
        case VT_BOOL:
            return std::string(value.boolVal != VARIANT_FALSE ? kTrueText : kFalseText);
        default: {
            CComBSTR text;
            return SUCCEEDED(ConvertedText(value, text.ReleaseAndGetAddressOf())) ? text.ToString()
                                                                                  : std::string();
        }
    }
}

}  // namespace

std::string_view TrimWhiteSpace(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsWhiteSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string FieldValueText(const VARIANT& value) {
    const std::string text = UntrimmedText(value);
    return std::string(TrimWhiteSpace(text));
}
