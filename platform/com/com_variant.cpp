// The owning VARIANT wrapper.
#include "platform/com/com_variant.h"

#include <cstring>
#include <utility>

#include "platform/com/dispatch.h"

CComVariant::CComVariant(const CComVariant& other)
    : CComVariant(static_cast<const VARIANT&>(other)) {}

CComVariant::CComVariant(CComVariant&& other) noexcept : VARIANT(other) {
    VariantInit(&other);
}

CComVariant::CComVariant(const VARIANT& other) : VARIANT() {
    VariantCopy(this, &other);
}

CComVariant& CComVariant::operator=(const CComVariant& other) {
    VariantCopy(this, &other);
    return *this;
}

CComVariant& CComVariant::operator=(CComVariant&& other) noexcept {
    if (this != &other) {
        Clear();
        static_cast<VARIANT&>(*this) = other;
        VariantInit(&other);
    }
    return *this;
}

CComVariant::CComVariant(bool value) {
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

CComVariant::CComVariant(CHAR value) {
    vt = VT_I1;
    cVal = value;
}

CComVariant::CComVariant(BYTE value) {
    vt = VT_UI1;
    bVal = value;
}

CComVariant::CComVariant(SHORT value) {
    vt = VT_I2;
    iVal = value;
}

CComVariant::CComVariant(USHORT value) {
    vt = VT_UI2;
    uiVal = value;
}

CComVariant::CComVariant(int value, VARTYPE type) {
    if (type == VT_ERROR) {
        vt = VT_ERROR;
        scode = value;
    } else {
        vt = type == VT_INT ? VT_INT : VT_I4;
        lVal = value;
    }
}

CComVariant::CComVariant(unsigned value, VARTYPE type) {
    vt = type == VT_UINT ? VT_UINT : VT_UI4;
    ulVal = value;
}

CComVariant::CComVariant(long value) {
    vt = VT_I8;
    llVal = value;
}

CComVariant::CComVariant(long long value) {
    vt = VT_I8;
    llVal = value;
}

CComVariant::CComVariant(unsigned long value) {
    vt = VT_UI8;
    ullVal = value;
}

CComVariant::CComVariant(unsigned long long value) {
    vt = VT_UI8;
    ullVal = value;
}

CComVariant::CComVariant(float value) {
    vt = VT_R4;
    fltVal = value;
}

CComVariant::CComVariant(double value, VARTYPE type) {
    vt = type == VT_DATE ? VT_DATE : VT_R8;
    dblVal = value;
}

CComVariant::CComVariant(CY value) {
    vt = VT_CY;
    cyVal = value;
}

CComVariant::CComVariant(const DECIMAL& value) {
    vt = VT_DECIMAL;
    decVal = value;
}

CComVariant::CComVariant(std::string_view text) {
    SetText(text);
}

CComVariant::CComVariant(const char* text) {
    SetText(text == nullptr ? std::string_view() : std::string_view(text));
}

CComVariant::CComVariant(const std::string& text) {
    SetText(text);
}

CComVariant::CComVariant(const CComBSTR& text) {
    SetText(text.View());
}

CComVariant::CComVariant(IDispatch* object) {
    vt = VT_DISPATCH;
    pdispVal = object;
    if (object != nullptr) {
        object->AddRef();
    }
}

CComVariant::CComVariant(IUnknown* object) {
    vt = VT_UNKNOWN;
    punkVal = object;
    if (object != nullptr) {
        object->AddRef();
    }
}

CComVariant CComVariant::Null() {
    CComVariant v;
    v.vt = VT_NULL;
    return v;
}

CComVariant CComVariant::Date(DATE date) {
    return CComVariant(date, VT_DATE);
}

CComVariant CComVariant::Error(SCODE code) {
    return CComVariant(code, VT_ERROR);
}

CComVariant CComVariant::Missing() {
    return Error(DISP_E_PARAMNOTFOUND);
}

CComVariant CComVariant::ByReference(VARIANT* target) {
    CComVariant v;
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = target;
    return v;
}

CComVariant CComVariant::FromBytes(std::span<const BYTE> bytes) {
    CComVariant v;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    if (array == nullptr || FAILED(SafeArrayAccessData(array, &data))) {
        return v;
    }
    if (!bytes.empty()) {
        std::memcpy(data, bytes.data(), bytes.size());
    }
    SafeArrayUnaccessData(array);
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = array;
    return v;
}

HRESULT CComVariant::Copy(const VARIANT* src) {
    return VariantCopy(this, src);
}

HRESULT CComVariant::Attach(VARIANT* src) {
    if (src == nullptr) {
        return E_INVALIDARG;
    }
    if (src == this) {
        return S_OK;
    }
    const HRESULT hr = Clear();
    if (SUCCEEDED(hr)) {
        static_cast<VARIANT&>(*this) = *src;
        VariantInit(src);
    }
    return hr;
}

HRESULT CComVariant::Detach(VARIANT* dest) {
    if (dest == nullptr) {
        return E_POINTER;
    }
    if (dest == this) {
        return S_OK;
    }
    const HRESULT hr = VariantClear(dest);
    if (SUCCEEDED(hr)) {
        *dest = *this;
        VariantInit(this);
    }
    return hr;
}

HRESULT CComVariant::ChangeType(VARTYPE type, const VARIANT* src) {
    return VariantChangeType(this, src == nullptr ? this : src, 0, type);
}

bool CComVariant::GetBytes(std::vector<BYTE>& bytes) const {
    if (vt != (VT_ARRAY | VT_UI1) && vt != (VT_ARRAY | VT_I1)) {
        return false;
    }
    bytes.clear();
    LONG lower = 0;
    LONG upper = -1;
    if (parray != nullptr && SUCCEEDED(SafeArrayGetLBound(parray, 1, &lower)) &&
        SUCCEEDED(SafeArrayGetUBound(parray, 1, &upper))) {
        for (LONG i = lower; i <= upper; ++i) {
            BYTE b = 0;
            SafeArrayGetElement(parray, &i, &b);
            bytes.push_back(b);
        }
    }
    return true;
}

bool operator==(const CComVariant& a, const CComVariant& b) {
    if (a.vt != b.vt) {
        return false;
    }
    std::vector<BYTE> aBytes;
    std::vector<BYTE> bBytes;
    if (a.GetBytes(aBytes) && b.GetBytes(bBytes)) {
        return aBytes == bBytes;
    }
    switch (a.vt) {
        case VT_EMPTY:
        case VT_NULL:
            return true;
        case VT_BSTR:
            return a.Text() == b.Text();
        case VT_DISPATCH:
            return a.pdispVal == b.pdispVal;
        case VT_UNKNOWN:
            return a.punkVal == b.punkVal;
        case VT_ERROR:
            return a.scode == b.scode;
        default:
            return VarCmp(&a, &b, 0, 0) == VARCMP_EQ;
    }
}

void CComVariant::SetText(std::string_view text) {
    bstrVal = SysAllocStringView(text);
    vt = bstrVal != nullptr ? VT_BSTR : VT_ERROR;
    if (bstrVal == nullptr) {
        scode = E_OUTOFMEMORY;
    }
}

bool MakeVariantVector(ULONG length, CComVariant& out) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, length);
    if (array == nullptr) {
        return false;
    }
    VARIANT holder;
    holder.vt = VT_ARRAY | VT_VARIANT;
    holder.parray = array;
    out.Attach(&holder);
    return true;
}
