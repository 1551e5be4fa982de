// Initialising, clearing, copying and dereferencing VARIANTs, and one-dimensional SAFEARRAYs.
#include "platform/com/variant.h"

#include <memory>
#include <utility>
#include <vector>

#include "platform/com/dispatch.h"
#include "platform/com/variant_detail.h"

struct SAFEARRAY {
    VARTYPE vt = VT_EMPTY;
    LONG lowerBound = 0;
    ULONG locks = 0;
    std::vector<BYTE> bytes;
    std::vector<VARIANT> variants;

    std::size_t Count() const { return vt == VT_VARIANT ? variants.size() : bytes.size(); }
};

namespace {

bool IsScalar(VARTYPE vt) {
    return vt <= VT_DECIMAL ? vt != VT_VARIANT : (vt >= VT_I1 && vt <= VT_UINT);
}

bool IsArrayElement(VARTYPE vt) {
    return vt == VT_UI1 || vt == VT_I1 || vt == VT_VARIANT;
}

// The element's offset for a one-dimensional index, or false outside the bounds.
bool ElementOffset(const SAFEARRAY* array, const LONG* index, std::size_t& offset) {
    if (array == nullptr || index == nullptr) {
        return false;
    }
    const std::int64_t position = std::int64_t{*index} - array->lowerBound;
    if (position < 0 || static_cast<std::uint64_t>(position) >= array->Count()) {
        return false;
    }
    offset = static_cast<std::size_t>(position);
    return true;
}

void ClearAll(std::vector<VARIANT>& variants) {
    for (VARIANT& v : variants) {
        VariantClear(&v);
    }
}

HRESULT CopyArray(const SAFEARRAY& array, SAFEARRAY*& copy) {
    auto made = std::make_unique<SAFEARRAY>();
    made->vt = array.vt;
    made->lowerBound = array.lowerBound;
    made->bytes = array.bytes;
    made->variants.resize(array.variants.size());
    for (std::size_t i = 0; i < array.variants.size(); ++i) {
        const HRESULT hr = variant_detail::CopyOwned(array.variants[i], made->variants[i]);
        if (FAILED(hr)) {
            ClearAll(made->variants);
            return hr;
        }
    }
    copy = made.release();
    return S_OK;
}

HRESULT CopyArrayNoThrow(const SAFEARRAY& array, SAFEARRAY*& copy) {
    try {
        return CopyArray(array, copy);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Reads the referenced value; the view owns nothing.
HRESULT ReadReference(const VARIANT& ref, VARIANT& view) {
    const VARTYPE base = ref.vt & ~VT_BYREF;
    view.vt = base;
    if (base & VT_ARRAY) {
        view.parray = *ref.pparray;
        return S_OK;
    }
    switch (base) {
        case VT_I2:
            view.iVal = *ref.piVal;
            break;
        case VT_I4:
            view.lVal = *ref.plVal;
            break;
        case VT_R4:
            view.fltVal = *ref.pfltVal;
            break;
        case VT_R8:
            view.dblVal = *ref.pdblVal;
            break;
        case VT_CY:
            view.cyVal = *ref.pcyVal;
            break;
        case VT_DATE:
            view.date = *ref.pdate;
            break;
        case VT_BSTR:
            view.bstrVal = *ref.pbstrVal;
            break;
        case VT_DISPATCH:
            view.pdispVal = *ref.ppdispVal;
            break;
        case VT_ERROR:
            view.scode = *ref.pscode;
            break;
        case VT_BOOL:
            view.boolVal = *ref.pboolVal;
            break;
        case VT_UNKNOWN:
            view.punkVal = *ref.ppunkVal;
            break;
        case VT_DECIMAL:
            view.decVal = *ref.pdecVal;
            break;
        case VT_I1:
            view.cVal = *ref.pcVal;
            break;
        case VT_UI1:
            view.bVal = *ref.pbVal;
            break;
        case VT_UI2:
            view.uiVal = *ref.puiVal;
            break;
        case VT_UI4:
            view.ulVal = *ref.pulVal;
            break;
        case VT_I8:
            view.llVal = *ref.pllVal;
            break;
        case VT_UI8:
            view.ullVal = *ref.pullVal;
            break;
        case VT_INT:
            view.intVal = *ref.pintVal;
            break;
        case VT_UINT:
            view.uintVal = *ref.puintVal;
            break;
        case VT_VARIANT:
            if (ref.pvarVal->vt & VT_BYREF) {
                return E_INVALIDARG;
            }
            view = *ref.pvarVal;
            break;
        default:
            return DISP_E_BADVARTYPE;
    }
    return S_OK;
}

// Writes a value of the referenced type into the storage; returns the old value for clearing.
VARIANT ExchangeReferenced(const VARIANT& ref, const VARIANT& value) {
    VARIANT old;
    ReadReference(ref, old);
    const VARTYPE base = ref.vt & ~VT_BYREF;
    if (base & VT_ARRAY) {
        *ref.pparray = value.parray;
        return old;
    }
    switch (base) {
        case VT_I2:
            *ref.piVal = value.iVal;
            break;
        case VT_I4:
            *ref.plVal = value.lVal;
            break;
        case VT_R4:
            *ref.pfltVal = value.fltVal;
            break;
        case VT_R8:
            *ref.pdblVal = value.dblVal;
            break;
        case VT_CY:
            *ref.pcyVal = value.cyVal;
            break;
        case VT_DATE:
            *ref.pdate = value.date;
            break;
        case VT_BSTR:
            *ref.pbstrVal = value.bstrVal;
            break;
        case VT_DISPATCH:
            *ref.ppdispVal = value.pdispVal;
            break;
        case VT_ERROR:
            *ref.pscode = value.scode;
            break;
        case VT_BOOL:
            *ref.pboolVal = value.boolVal;
            break;
        case VT_UNKNOWN:
            *ref.ppunkVal = value.punkVal;
            break;
        case VT_DECIMAL:
            *ref.pdecVal = value.decVal;
            break;
        case VT_I1:
            *ref.pcVal = value.cVal;
            break;
        case VT_UI1:
            *ref.pbVal = value.bVal;
            break;
        case VT_UI2:
            *ref.puiVal = value.uiVal;
            break;
        case VT_UI4:
            *ref.pulVal = value.ulVal;
            break;
        case VT_I8:
            *ref.pllVal = value.llVal;
            break;
        case VT_UI8:
            *ref.pullVal = value.ullVal;
            break;
        case VT_INT:
            *ref.pintVal = value.intVal;
            break;
        case VT_UINT:
            *ref.puintVal = value.uintVal;
            break;
        default:
            *ref.pvarVal = value;
            break;
    }
    return old;
}

}  // namespace

bool variant_detail::IsValidVartype(VARTYPE vt) {
    if ((vt & ~(VT_ARRAY | VT_BYREF | VT_TYPEMASK)) != 0) {
        return false;
    }
    const VARTYPE base = vt & VT_TYPEMASK;
    if (vt & VT_ARRAY) {
        return IsArrayElement(base);
    }
    if (vt & VT_BYREF) {
        return base == VT_VARIANT || (IsScalar(base) && base != VT_EMPTY && base != VT_NULL);
    }
    return IsScalar(base);
}

HRESULT variant_detail::ViewReferenced(const VARIANT& src, VARIANT& view) {
    if (!IsValidVartype(src.vt)) {
        return DISP_E_BADVARTYPE;
    }
    if ((src.vt & VT_BYREF) == 0) {
        view = src;
        return S_OK;
    }
    if (src.byref == nullptr) {
        return E_INVALIDARG;
    }
    return ReadReference(src, view);
}

HRESULT variant_detail::CopyOwned(const VARIANT& src, VARIANT& copy) {
    copy = src;
    if (src.vt & VT_BYREF) {
        return S_OK;
    }
    if (src.vt & VT_ARRAY) {
        const HRESULT hr =
            src.parray == nullptr ? S_OK : CopyArrayNoThrow(*src.parray, copy.parray);
        if (FAILED(hr)) {
            VariantInit(&copy);
        }
        return hr;
    }
    switch (src.vt) {
        case VT_BSTR:
            if (src.bstrVal != nullptr) {
                copy.bstrVal = SysAllocStringView(BstrView(src.bstrVal));
                if (copy.bstrVal == nullptr) {
                    VariantInit(&copy);
                    return E_OUTOFMEMORY;
                }
            }
            break;
        case VT_DISPATCH:
        case VT_UNKNOWN:
            if (src.punkVal != nullptr) {
                src.vt == VT_DISPATCH ? src.pdispVal->AddRef() : src.punkVal->AddRef();
            }
            break;
        default:
            break;
    }
    return S_OK;
}

HRESULT variant_detail::StoreThroughReference(const VARIANT& ref, VARIANT& value) {
    if ((ref.vt & VT_BYREF) == 0 || ref.byref == nullptr || !IsValidVartype(ref.vt)) {
        return E_INVALIDARG;
    }
    const VARTYPE base = ref.vt & ~VT_BYREF;
    if (base != VT_VARIANT && value.vt != base) {
        return DISP_E_TYPEMISMATCH;
    }
    VARIANT old = ExchangeReferenced(ref, value);
    VariantClear(&old);
    VariantInit(&value);
    return S_OK;
}

void VariantInit(VARIANT* v) {
    if (v != nullptr) {
        *v = VARIANT{};
    }
}

HRESULT VariantClear(VARIANT* v) {
    if (v == nullptr) {
        return E_INVALIDARG;
    }
    if (!variant_detail::IsValidVartype(v->vt)) {
        return DISP_E_BADVARTYPE;
    }
    if ((v->vt & VT_BYREF) == 0) {
        if (v->vt & VT_ARRAY) {
            const HRESULT hr = SafeArrayDestroy(v->parray);
            if (FAILED(hr)) {
                return hr;
            }
        } else if (v->vt == VT_BSTR) {
            SysFreeString(v->bstrVal);
        } else if (v->vt == VT_DISPATCH && v->pdispVal != nullptr) {
            v->pdispVal->Release();
        } else if (v->vt == VT_UNKNOWN && v->punkVal != nullptr) {
            v->punkVal->Release();
        }
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
    if (dest == nullptr || src == nullptr) {
        return E_INVALIDARG;
    }
    if (dest == src) {
        return S_OK;
    }
    if (!variant_detail::IsValidVartype(src->vt)) {
        return DISP_E_BADVARTYPE;
    }
    VARIANT copy;
    HRESULT hr = variant_detail::CopyOwned(*src, copy);
    if (SUCCEEDED(hr)) {
        hr = VariantClear(dest);
        if (FAILED(hr)) {
            VariantClear(&copy);
            return hr;
        }
        *dest = copy;
    }
    return hr;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src) {
    if (dest == nullptr || src == nullptr) {
        return E_INVALIDARG;
    }
    VARIANT view;
    HRESULT hr = variant_detail::ViewReferenced(*src, view);
    if (FAILED(hr)) {
        return hr;
    }
    VARIANT copy;
    hr = variant_detail::CopyOwned(view, copy);
    if (FAILED(hr)) {
        return hr;
    }
    hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
    if (!IsArrayElement(vt)) {
        return nullptr;
    }
    try {
        auto array = std::make_unique<SAFEARRAY>();
        array->vt = vt;
        array->lowerBound = lowerBound;
        if (vt == VT_VARIANT) {
            array->variants.resize(elements);
        } else {
            array->bytes.resize(elements);
        }
        return array.release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
    if (array == nullptr) {
        return S_OK;
    }
    if (array->locks > 0) {
        return DISP_E_ARRAYISLOCKED;
    }
    ClearAll(array->variants);
    const std::unique_ptr<SAFEARRAY> owned(array);
    return S_OK;
}

HRESULT SafeArrayCopy(const SAFEARRAY* array, SAFEARRAY** copy) {
    if (copy == nullptr) {
        return E_INVALIDARG;
    }
    *copy = nullptr;
    if (array == nullptr) {
        return S_OK;
    }
    return CopyArrayNoThrow(*array, *copy);
}

UINT SafeArrayGetDim(const SAFEARRAY* array) {
    return array == nullptr ? 0 : 1;
}

ULONG SafeArrayGetElemsize(const SAFEARRAY* array) {
    if (array == nullptr) {
        return 0;
    }
    return array->vt == VT_VARIANT ? sizeof(VARIANT) : 1;
}

HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt) {
    if (array == nullptr || vt == nullptr) {
        return E_INVALIDARG;
    }
    *vt = array->vt;
    return S_OK;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* array, UINT dimension, LONG* bound) {
    if (array == nullptr || bound == nullptr) {
        return E_INVALIDARG;
    }
    if (dimension != 1) {
        return DISP_E_BADINDEX;
    }
    *bound = array->lowerBound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* array, UINT dimension, LONG* bound) {
    const HRESULT hr = SafeArrayGetLBound(array, dimension, bound);
    if (SUCCEEDED(hr)) {
        *bound =
            static_cast<LONG>(array->lowerBound + static_cast<std::int64_t>(array->Count()) - 1);
    }
    return hr;
}

HRESULT SafeArrayGetElement(const SAFEARRAY* array, const LONG* index, void* element) {
    std::size_t offset = 0;
    if (element == nullptr) {
        return E_INVALIDARG;
    }
    if (!ElementOffset(array, index, offset)) {
        return DISP_E_BADINDEX;
    }
    if (array->vt != VT_VARIANT) {
        *static_cast<BYTE*>(element) = array->bytes[offset];
        return S_OK;
    }
    return VariantCopy(static_cast<VARIANT*>(element), &array->variants[offset]);
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* index, const void* element) {
    std::size_t offset = 0;
    if (element == nullptr) {
        return E_INVALIDARG;
    }
    if (!ElementOffset(array, index, offset)) {
        return DISP_E_BADINDEX;
    }
    if (array->vt != VT_VARIANT) {
        array->bytes[offset] = *static_cast<const BYTE*>(element);
        return S_OK;
    }
    return VariantCopy(&array->variants[offset], static_cast<const VARIANT*>(element));
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    if (array == nullptr || data == nullptr) {
        return E_INVALIDARG;
    }
    ++array->locks;
    *data = array->vt == VT_VARIANT ? static_cast<void*>(array->variants.data())
                                    : static_cast<void*>(array->bytes.data());
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
    if (array == nullptr) {
        return E_INVALIDARG;
    }
    if (array->locks == 0) {
        return E_UNEXPECTED;
    }
    --array->locks;
    return S_OK;
}
