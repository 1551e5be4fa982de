// Conversion of VARIANTs between types (VariantChangeType) and their comparison (VarCmp).
#include <QString>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"
#include "platform/com/exact_number.h"
#include "platform/com/ole_date.h"
#include "platform/com/var_text.h"
#include "platform/com/variant_detail.h"

namespace {

enum class NumberKind { Signed, Unsigned, Real, Currency, Decimal };

// A value of one of the numeric types (booleans, dates and empty included) as what it is.
struct Number {
    NumberKind kind = NumberKind::Signed;
    std::int64_t integer = 0;
    std::uint64_t unsignedInteger = 0;
    double real = 0;
    CY currency{};
    DECIMAL decimal{};
    bool boolean = false;
};

Number Signed(std::int64_t value) {
    Number n;
    n.integer = value;
    return n;
}

Number Unsigned(std::uint64_t value) {
    Number n;
    n.kind = NumberKind::Unsigned;
    n.unsignedInteger = value;
    return n;
}

Number Real(double value) {
    Number n;
    n.kind = NumberKind::Real;
    n.real = value;
    return n;
}

std::optional<Number> NumberOf(const VARIANT& v) {
    switch (v.vt) {
        case VT_EMPTY:
            return Signed(0);
        case VT_I1:
            return Signed(static_cast<signed char>(v.cVal));
        case VT_I2:
            return Signed(v.iVal);
        case VT_I4:
            return Signed(v.lVal);
        case VT_INT:
            return Signed(v.intVal);
        case VT_I8:
            return Signed(v.llVal);
        case VT_UI1:
            return Unsigned(v.bVal);
        case VT_UI2:
            return Unsigned(v.uiVal);
        case VT_UI4:
            return Unsigned(v.ulVal);
        case VT_UINT:
            return Unsigned(v.uintVal);
        case VT_UI8:
            return Unsigned(v.ullVal);
        case VT_R4:
            return Real(v.fltVal);
        case VT_R8:
            return Real(v.dblVal);
        case VT_DATE:
            return Real(v.date);
        case VT_BOOL: {
            Number n = Signed(v.boolVal != VARIANT_FALSE ? -1 : 0);
            n.boolean = true;
            return n;
        }
        case VT_CY: {
            Number n;
            n.kind = NumberKind::Currency;
            n.currency = v.cyVal;
            return n;
        }
        case VT_DECIMAL: {
            Number n;
            n.kind = NumberKind::Decimal;
            n.decimal = v.decVal;
            return n;
        }
        default:
            return std::nullopt;
    }
}

ExactNumber ExactOf(const Number& n) {
    switch (n.kind) {
        case NumberKind::Signed:
            return ExactFromInt(n.integer);
        case NumberKind::Unsigned:
            return ExactFromUInt(n.unsignedInteger);
        case NumberKind::Real:
            return ExactFromReal(n.real, kDoubleTextDigits);
        case NumberKind::Currency:
            return ExactFromCurrency(n.currency);
        case NumberKind::Decimal:
            return ExactFromDecimal(n.decimal);
    }
    return {};
}

// Reals round half to even, as the platform's conversions do.
HRESULT ToInt64(const Number& n, std::int64_t& out) {
    if (n.kind == NumberKind::Signed) {
        out = n.integer;
        return S_OK;
    }
    if (n.kind == NumberKind::Real) {
        const double rounded = std::nearbyint(n.real);
        if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) {
            return DISP_E_OVERFLOW;
        }
        out = static_cast<std::int64_t>(rounded);
        return S_OK;
    }
    return ExactToInt64(ExactOf(n), out) ? S_OK : DISP_E_OVERFLOW;
}

// True is all bits set in an unsigned type, as the platform converts it.
HRESULT ToUInt64(const Number& n, std::uint64_t& out) {
    if (n.boolean) {
        out = static_cast<std::uint64_t>(n.integer);
        return S_OK;
    }
    if (n.kind == NumberKind::Real) {
        const double rounded = std::nearbyint(n.real);
        if (!(rounded >= 0 && rounded < 18446744073709551616.0)) {
            return DISP_E_OVERFLOW;
        }
        out = static_cast<std::uint64_t>(rounded);
        return S_OK;
    }
    return ExactToUInt64(ExactOf(n), out) ? S_OK : DISP_E_OVERFLOW;
}

HRESULT ToDouble(const Number& n, double& out) {
    switch (n.kind) {
        case NumberKind::Signed:
            out = static_cast<double>(n.integer);
            return S_OK;
        case NumberKind::Unsigned:
            out = static_cast<double>(n.unsignedInteger);
            return S_OK;
        case NumberKind::Real:
            out = n.real;
            return S_OK;
        default:
            return ExactToDouble(ExactOf(n), out) ? S_OK : DISP_E_OVERFLOW;
    }
}

HRESULT ToFloat(const Number& n, float& out) {
    if (n.kind == NumberKind::Currency || n.kind == NumberKind::Decimal) {
        return ExactToFloat(ExactOf(n), out) ? S_OK : DISP_E_OVERFLOW;
    }
    double value = 0;
    ToDouble(n, value);
    if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max()) {
        return DISP_E_OVERFLOW;
    }
    out = static_cast<float>(value);
    return S_OK;
}

HRESULT ToCurrency(const Number& n, CY& out) {
    if (n.kind == NumberKind::Real) {
        const double scaled = std::nearbyint(n.real * 10000.0);
        if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) {
            return DISP_E_OVERFLOW;
        }
        out.int64 = static_cast<std::int64_t>(scaled);
        return S_OK;
    }
    return ExactToCurrency(ExactOf(n), out) ? S_OK : DISP_E_OVERFLOW;
}

HRESULT ToDecimal(const Number& n, DECIMAL& out) {
    if (n.kind == NumberKind::Real && !std::isfinite(n.real)) {
        return DISP_E_OVERFLOW;
    }
    return ExactToDecimal(ExactOf(n), out) ? S_OK : DISP_E_OVERFLOW;
}

HRESULT ToDate(const Number& n, DATE& out) {
    double value = 0;
    const HRESULT hr = ToDouble(n, value);
    if (FAILED(hr) || !(value >= kMinOleDate && value < kMaxOleDate + 1.0 / 86400)) {
        return DISP_E_OVERFLOW;
    }
    out = value;
    return S_OK;
}

bool IsNonZero(const Number& n) {
    switch (n.kind) {
        case NumberKind::Signed:
            return n.integer != 0;
        case NumberKind::Unsigned:
            return n.unsignedInteger != 0;
        case NumberKind::Real:
            return n.real != 0;
        case NumberKind::Currency:
            return n.currency.int64 != 0;
        case NumberKind::Decimal:
            return n.decimal.Hi32 != 0 || n.decimal.Lo64 != 0;
    }
    return false;
}

template <class Integer>
HRESULT ToSignedTarget(const Number& n, std::int64_t min, std::int64_t max, Integer& out) {
    std::int64_t value = 0;
    const HRESULT hr = ToInt64(n, value);
    if (FAILED(hr) || value < min || value > max) {
        return DISP_E_OVERFLOW;
    }
    out = static_cast<Integer>(value);
    return S_OK;
}

template <class Integer>
HRESULT ToUnsignedTarget(const Number& n, Integer& out) {
    std::uint64_t value = 0;
    const HRESULT hr = ToUInt64(n, value);
    if (FAILED(hr) || (!n.boolean && value > std::numeric_limits<Integer>::max())) {
        return DISP_E_OVERFLOW;
    }
    out = static_cast<Integer>(value);
    return S_OK;
}

HRESULT NumberToTarget(const Number& n, VARTYPE vt, VARIANT& out) {
    out.vt = vt;
    switch (vt) {
        case VT_I1:
            return ToSignedTarget(n, -128, 127, out.cVal);
        case VT_I2:
            return ToSignedTarget(n, -32768, 32767, out.iVal);
        case VT_I4:
            return ToSignedTarget(n, INT32_MIN, INT32_MAX, out.lVal);
        case VT_INT:
            return ToSignedTarget(n, INT32_MIN, INT32_MAX, out.intVal);
        case VT_I8:
            return ToInt64(n, out.llVal);
        case VT_UI1:
            return ToUnsignedTarget(n, out.bVal);
        case VT_UI2:
            return ToUnsignedTarget(n, out.uiVal);
        case VT_UI4:
            return ToUnsignedTarget(n, out.ulVal);
        case VT_UINT:
            return ToUnsignedTarget(n, out.uintVal);
        case VT_UI8:
            return ToUInt64(n, out.ullVal);
        case VT_R4:
            return ToFloat(n, out.fltVal);
        case VT_R8:
            return ToDouble(n, out.dblVal);
        case VT_CY:
            return ToCurrency(n, out.cyVal);
        case VT_DECIMAL:
            return ToDecimal(n, out.decVal);
        case VT_DATE:
            return ToDate(n, out.date);
        case VT_BOOL:
            out.boolVal = IsNonZero(n) ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

HRESULT TextToTarget(BSTR text, LCID lcid, VARTYPE vt, VARIANT& out) {
    out.vt = vt;
    switch (vt) {
        case VT_I1:
            return VarI1FromStr(text, lcid, 0, &out.cVal);
        case VT_I2:
            return VarI2FromStr(text, lcid, 0, &out.iVal);
        case VT_I4:
            return VarI4FromStr(text, lcid, 0, &out.lVal);
        case VT_INT:
            return VarI4FromStr(text, lcid, 0, &out.intVal);
        case VT_I8:
            return VarI8FromStr(text, lcid, 0, &out.llVal);
        case VT_UI1:
            return VarUI1FromStr(text, lcid, 0, &out.bVal);
        case VT_UI2:
            return VarUI2FromStr(text, lcid, 0, &out.uiVal);
        case VT_UI4:
            return VarUI4FromStr(text, lcid, 0, &out.ulVal);
        case VT_UINT:
            return VarUI4FromStr(text, lcid, 0, &out.uintVal);
        case VT_UI8:
            return VarUI8FromStr(text, lcid, 0, &out.ullVal);
        case VT_R4:
            return VarR4FromStr(text, lcid, 0, &out.fltVal);
        case VT_R8:
            return VarR8FromStr(text, lcid, 0, &out.dblVal);
        case VT_CY:
            return VarCyFromStr(text, lcid, 0, &out.cyVal);
        case VT_DECIMAL:
            return VarDecFromStr(text, lcid, 0, &out.decVal);
        case VT_DATE:
            return VarDateFromStr(text, lcid, 0, &out.date);
        case VT_BOOL:
            return VarBoolFromStr(text, lcid, 0, &out.boolVal);
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

HRESULT BoolText(VARIANT_BOOL value, LCID lcid, USHORT flags, BSTR* out) {
    if ((flags & (VARIANT_ALPHABOOL | VARIANT_LOCALBOOL)) != 0) {
        return VarBstrFromBool(value, lcid, (flags & VARIANT_LOCALBOOL) != 0 ? VAR_LOCALBOOL : 0,
                               out);
    }
    return VarBstrFromI2(value, lcid, 0, out);
}

HRESULT ToText(const VARIANT& src, LCID lcid, USHORT flags, VARIANT& out) {
    out.vt = VT_BSTR;
    BSTR* text = &out.bstrVal;
    switch (src.vt) {
        case VT_EMPTY:
            *text = SysAllocString("");
            return *text != nullptr ? S_OK : E_OUTOFMEMORY;
        case VT_I1:
            return VarBstrFromI1(src.cVal, lcid, 0, text);
        case VT_I2:
            return VarBstrFromI2(src.iVal, lcid, 0, text);
        case VT_I4:
            return VarBstrFromI4(src.lVal, lcid, 0, text);
        case VT_INT:
            return VarBstrFromI4(src.intVal, lcid, 0, text);
        case VT_I8:
            return VarBstrFromI8(src.llVal, lcid, 0, text);
        case VT_UI1:
            return VarBstrFromUI1(src.bVal, lcid, 0, text);
        case VT_UI2:
            return VarBstrFromUI2(src.uiVal, lcid, 0, text);
        case VT_UI4:
            return VarBstrFromUI4(src.ulVal, lcid, 0, text);
        case VT_UINT:
            return VarBstrFromUI4(src.uintVal, lcid, 0, text);
        case VT_UI8:
            return VarBstrFromUI8(src.ullVal, lcid, 0, text);
        case VT_R4:
            return VarBstrFromR4(src.fltVal, lcid, 0, text);
        case VT_R8:
            return VarBstrFromR8(src.dblVal, lcid, 0, text);
        case VT_CY:
            return VarBstrFromCy(src.cyVal, lcid, 0, text);
        case VT_DECIMAL:
            return VarBstrFromDec(&src.decVal, lcid, 0, text);
        case VT_DATE:
            return VarBstrFromDate(src.date, lcid, 0, text);
        case VT_BOOL:
            return BoolText(src.boolVal, lcid, flags, text);
        default:
            return DISP_E_TYPEMISMATCH;
    }
}

HRESULT ToObject(const VARIANT& src, VARTYPE vt, VARIANT& out) {
    out.vt = vt;
    out.punkVal = nullptr;
    if (src.vt == VT_EMPTY) {
        return S_OK;
    }
    if (src.vt != VT_DISPATCH && src.vt != VT_UNKNOWN) {
        return DISP_E_TYPEMISMATCH;
    }
    IUnknown* from = src.vt == VT_DISPATCH ? static_cast<IUnknown*>(src.pdispVal) : src.punkVal;
    if (from == nullptr) {
        return S_OK;
    }
    void* object = nullptr;
    const HRESULT hr =
        from->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &object);
    if (SUCCEEDED(hr)) {
        if (vt == VT_DISPATCH) {
            out.pdispVal = static_cast<IDispatch*>(object);
        } else {
            out.punkVal = static_cast<IUnknown*>(object);
        }
    }
    return hr;
}

HRESULT Convert(const VARIANT& src, LCID lcid, USHORT flags, VARTYPE vt, VARIANT& out);

// An object stands for the value of its value property (dispatch id 0).
HRESULT ConvertObjectValue(IDispatch* object, LCID lcid, USHORT flags, VARTYPE vt, VARIANT& out) {
    if (object == nullptr) {
        return DISP_E_TYPEMISMATCH;
    }
    DISPPARAMS none;
    CComVariant value;
    const HRESULT hr = object->Invoke(DISPID_VALUE, IID_NULL, lcid, DISPATCH_PROPERTYGET, &none,
                                      &value, nullptr, nullptr);
    if (FAILED(hr)) {
        return hr == DISP_E_MEMBERNOTFOUND ? DISP_E_TYPEMISMATCH : hr;
    }
    return Convert(value, lcid, flags | VARIANT_NOVALUEPROP, vt, out);
}

HRESULT Convert(const VARIANT& src, LCID lcid, USHORT flags, VARTYPE vt, VARIANT& out) {
    if ((vt & VT_BYREF) != 0 || !variant_detail::IsValidVartype(vt)) {
        return DISP_E_BADVARTYPE;
    }
    if (src.vt == vt) {
        return variant_detail::CopyOwned(src, out);
    }
    if ((vt & VT_ARRAY) != 0 || (src.vt & VT_ARRAY) != 0) {
        return DISP_E_TYPEMISMATCH;
    }
    if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
        return ToObject(src, vt, out);
    }
    if (src.vt == VT_DISPATCH) {
        return (flags & VARIANT_NOVALUEPROP) != 0
                   ? DISP_E_TYPEMISMATCH
                   : ConvertObjectValue(src.pdispVal, lcid, flags, vt, out);
    }
    if (vt == VT_BSTR) {
        return ToText(src, lcid, flags, out);
    }
    if (src.vt == VT_BSTR) {
        return TextToTarget(src.bstrVal, lcid, vt, out);
    }
    const std::optional<Number> n = NumberOf(src);
    return n ? NumberToTarget(*n, vt, out) : DISP_E_TYPEMISMATCH;
}

int CompareText(std::string_view a, std::string_view b, ULONG flags) {
    if ((flags & NORM_IGNORECASE) != 0) {
        const QString left = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
        const QString right = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
        return left.compare(right, Qt::CaseInsensitive);
    }
    return a.compare(b);
}

HRESULT Ordered(int order) {
    return order < 0 ? VARCMP_LT : (order > 0 ? VARCMP_GT : VARCMP_EQ);
}

HRESULT CompareNumbers(const Number& a, const Number& b) {
    if (a.kind == NumberKind::Real || b.kind == NumberKind::Real) {
        double x = 0;
        double y = 0;
        if (FAILED(ToDouble(a, x)) || FAILED(ToDouble(b, y))) {
            return DISP_E_OVERFLOW;
        }
        return Ordered(x < y ? -1 : (x > y ? 1 : 0));
    }
    return Ordered(CompareExact(ExactOf(a), ExactOf(b)));
}

}  // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt) {
    return VariantChangeTypeEx(dest, src, LOCALE_USER_DEFAULT, flags, vt);
}

HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* src, LCID lcid, USHORT flags,
                            VARTYPE vt) {
    if (dest == nullptr || src == nullptr) {
        return E_INVALIDARG;
    }
    VARIANT view;
    HRESULT hr = variant_detail::ViewReferenced(*src, view);
    if (FAILED(hr)) {
        return hr;
    }
    VARIANT converted;
    hr = Convert(view, lcid, flags, vt, converted);
    if (FAILED(hr)) {
        VariantClear(&converted);
        return hr;
    }
    hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&converted);
        return hr;
    }
    *dest = converted;
    return S_OK;
}

HRESULT VarCmp(const VARIANT* left, const VARIANT* right, LCID, ULONG flags) {
    if (left == nullptr || right == nullptr) {
        return E_INVALIDARG;
    }
    VARIANT a;
    VARIANT b;
    HRESULT hr = variant_detail::ViewReferenced(*left, a);
    if (SUCCEEDED(hr)) {
        hr = variant_detail::ViewReferenced(*right, b);
    }
    if (FAILED(hr)) {
        return hr;
    }
    if (a.vt == VT_NULL || b.vt == VT_NULL) {
        return VARCMP_NULL;
    }
    const bool aText = a.vt == VT_BSTR || (a.vt == VT_EMPTY && b.vt == VT_BSTR);
    const bool bText = b.vt == VT_BSTR || (b.vt == VT_EMPTY && a.vt == VT_BSTR);
    const std::optional<Number> x = aText ? std::nullopt : NumberOf(a);
    const std::optional<Number> y = bText ? std::nullopt : NumberOf(b);
    if (aText && bText) {
        const std::string_view textA = a.vt == VT_BSTR ? BstrView(a.bstrVal) : std::string_view();
        const std::string_view textB = b.vt == VT_BSTR ? BstrView(b.bstrVal) : std::string_view();
        return Ordered(CompareText(textA, textB, flags));
    }
    if ((aText && y) || (bText && x)) {
        return aText ? VARCMP_GT : VARCMP_LT;  // a number is less than a string
    }
    if (x && y) {
        return CompareNumbers(*x, *y);
    }
    return DISP_E_TYPEMISMATCH;
}
