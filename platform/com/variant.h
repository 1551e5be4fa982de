// VARIANT, the self-describing value of automation calls, with its types, the one-dimensional
// SAFEARRAY it can hold, and the Variant... services that copy, clear and convert it.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/hresult.h"

struct IUnknown;
struct IDispatch;

using VARTYPE = USHORT;

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_NULL = 1;
constexpr VARTYPE VT_I2 = 2;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_R4 = 4;
constexpr VARTYPE VT_R8 = 5;
constexpr VARTYPE VT_CY = 6;
constexpr VARTYPE VT_DATE = 7;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_DISPATCH = 9;
constexpr VARTYPE VT_ERROR = 10;
constexpr VARTYPE VT_BOOL = 11;
constexpr VARTYPE VT_VARIANT = 12;
constexpr VARTYPE VT_UNKNOWN = 13;
constexpr VARTYPE VT_DECIMAL = 14;
constexpr VARTYPE VT_I1 = 16;
constexpr VARTYPE VT_UI1 = 17;
constexpr VARTYPE VT_UI2 = 18;
constexpr VARTYPE VT_UI4 = 19;
constexpr VARTYPE VT_I8 = 20;
constexpr VARTYPE VT_UI8 = 21;
constexpr VARTYPE VT_INT = 22;
constexpr VARTYPE VT_UINT = 23;
constexpr VARTYPE VT_ARRAY = 0x2000;
constexpr VARTYPE VT_BYREF = 0x4000;
constexpr VARTYPE VT_TYPEMASK = 0x0FFF;

using VARIANT_BOOL = SHORT;
constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

// OLE automation date: days since 1899-12-30 midnight; the fraction is the time of day, also
// for days before that (-1.25 is 1899-12-29 06:00).
using DATE = double;

// Currency: the value times 10,000. CY and DECIMAL are plain C structs (members of VARIANT's
// union), so `CY value{}` starts them at zero.
struct CY {
    LONGLONG int64;
    friend bool operator==(const CY&, const CY&) = default;
};

// Decimal: sign * (Hi32 * 2^64 + Lo64) / 10^scale, scale 0 to 28.
constexpr BYTE DECIMAL_NEG = 0x80;
constexpr BYTE DECIMAL_MAX_SCALE = 28;
struct DECIMAL {
    USHORT wReserved;
    BYTE scale;
    BYTE sign;
    ULONG Hi32;
    ULONGLONG Lo64;
};

// A one-dimensional array of VT_UI1 or VT_I1 bytes or of VARIANTs, reached through the
// SafeArray... calls only.
struct SAFEARRAY;

// Holds what vt names: the matching member below, or with VT_BYREF a pointer to storage the
// VARIANT does not own, or with VT_ARRAY an owned SAFEARRAY. A VARIANT holding a BSTR, an
// interface or an array owns it and gives it back in VariantClear; copying the struct itself
// copies no ownership (CComVariant does that).
struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    WORD wReserved1 = 0;
    WORD wReserved2 = 0;
    WORD wReserved3 = 0;
    union {
        LONGLONG llVal = 0;
        LONG lVal;
        BYTE bVal;
        SHORT iVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        CY cyVal;
        DATE date;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        DECIMAL decVal;
        CHAR cVal;
        USHORT uiVal;
        ULONG ulVal;
        ULONGLONG ullVal;
        INT intVal;
        UINT uintVal;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        LONGLONG* pllVal;
        float* pfltVal;
        double* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        CY* pcyVal;
        DATE* pdate;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        DECIMAL* pdecVal;
        CHAR* pcVal;
        USHORT* puiVal;
        ULONG* pulVal;
        ULONGLONG* pullVal;
        INT* pintVal;
        UINT* puintVal;
        void* byref;
    };
};
using VARIANTARG = VARIANT;

// Flags of VariantChangeType.
constexpr USHORT VARIANT_NOVALUEPROP = 0x01;  // no reading of an object's value property
constexpr USHORT VARIANT_ALPHABOOL = 0x02;    // booleans as "True" / "False"
constexpr USHORT VARIANT_NOUSEROVERRIDE = 0x04;
constexpr USHORT VARIANT_LOCALBOOL = 0x10;  // booleans in the locale's words

void VariantInit(VARIANT* v);
// Gives back what v owns and leaves it VT_EMPTY; DISP_E_BADVARTYPE for a type it cannot hold.
HRESULT VariantClear(VARIANT* v);
// Clears dest, then copies src with copies of its string and array and references to its
// interfaces; a by-reference src stays a reference to the same storage.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
// As VariantCopy, but a by-reference src is copied as the value it points to.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* src);
// Converts src (dereferenced) to vt under the user's default locale into dest, which may be
// src itself; DISP_E_TYPEMISMATCH when the value has no form of that type, DISP_E_OVERFLOW when
// it does not fit. An object converts through its value property (dispatch id 0). dest is left
// unchanged on failure.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);
HRESULT VariantChangeTypeEx(VARIANT* dest, const VARIANT* src, LCID lcid, USHORT flags, VARTYPE vt);

// VarCmp results and flags.
constexpr HRESULT VARCMP_LT = 0;
constexpr HRESULT VARCMP_EQ = 1;
constexpr HRESULT VARCMP_GT = 2;
constexpr HRESULT VARCMP_NULL = 3;
constexpr ULONG NORM_IGNORECASE = 0x00000001;

// Orders two values: numbers (of any numeric type, booleans, dates; empty as 0) by value, exactly
// for integers, currency and decimals; strings by their bytes, or case-folded with
// NORM_IGNORECASE; a number is less than a string; VARCMP_NULL when either is null.
// DISP_E_TYPEMISMATCH for objects, errors and arrays.
HRESULT VarCmp(const VARIANT* left, const VARIANT* right, LCID lcid, ULONG flags);

// One-dimensional arrays. The element types are VT_UI1, VT_I1 and VT_VARIANT.
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
// DISP_E_ARRAYISLOCKED while its data is accessed.
HRESULT SafeArrayDestroy(SAFEARRAY* array);
HRESULT SafeArrayCopy(const SAFEARRAY* array, SAFEARRAY** copy);
UINT SafeArrayGetDim(const SAFEARRAY* array);
ULONG SafeArrayGetElemsize(const SAFEARRAY* array);
HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt);
HRESULT SafeArrayGetLBound(const SAFEARRAY* array, UINT dimension, LONG* bound);
HRESULT SafeArrayGetUBound(const SAFEARRAY* array, UINT dimension, LONG* bound);
// A copy of the element: a byte, or a VARIANT (which the caller clears).
HRESULT SafeArrayGetElement(const SAFEARRAY* array, const LONG* index, void* element);
// Stores a copy of *element; DISP_E_BADINDEX outside the bounds.
HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* index, const void* element);
// The elements in place, locked against destruction until unaccessed.
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
