// IDispatch: late-bound calls by dispatch id with arguments in a DISPPARAMS, and the ids, flags
// and exception record that go with it.
#pragma once

#include "platform/com/unknown.h"
#include "platform/com/variant.h"

// Type information of an interface; the type-library layer defines it.
struct ITypeInfo;

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID DISPID_NEWENUM = -4;
constexpr DISPID DISPID_EVALUATE = -5;
constexpr DISPID DISPID_READYSTATE = -525;
constexpr DISPID DISPID_ABOUTBOX = -552;
constexpr DISPID DISPID_READYSTATECHANGE = -609;

// Arguments of an Invoke: the named ones first (their ids in rgdispidNamedArgs), then the
// positional ones in reverse order, so rgvarg[cArgs - 1] is the first parameter. A property put
// passes its value as the named argument DISPID_PROPERTYPUT.
struct DISPPARAMS {
    VARIANTARG* rgvarg = nullptr;
    DISPID* rgdispidNamedArgs = nullptr;
    UINT cArgs = 0;
    UINT cNamedArgs = 0;
};

// What a member reports when Invoke answers DISP_E_EXCEPTION: scode (or a wCode, which maps to
// WCODE_HRESULT_FIRST + wCode), source and description. The receiver frees the strings.
struct EXCEPINFO {
    WORD wCode = 0;
    WORD wReserved = 0;
    BSTR bstrSource = nullptr;
    BSTR bstrDescription = nullptr;
    BSTR bstrHelpFile = nullptr;
    DWORD dwHelpContext = 0;
    void* pvReserved = nullptr;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*) = nullptr;
    SCODE scode = 0;
};

// Frees the strings of an exception record and empties it.
void ClearExcepInfo(EXCEPINFO* info);

// The failing result an exception record stands for: scode, or the code its wCode maps to.
HRESULT ExcepInfoResult(const EXCEPINFO& info);

struct IDispatch : IUnknown {
    static constexpr IID iid = MakeGuid("{00020400-0000-0000-C000-000000000046}");
    using InterfaceBase = IUnknown;

    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) = 0;
    // names[0] is the member, further names are its parameters; riid must be IID_NULL.
    virtual HRESULT GetIDsOfNames(const IID& riid, const LPCOLESTR* names, UINT count, LCID lcid,
                                  DISPID* ids) = 0;
    // argError receives the rgvarg index of an argument that failed its conversion.
    virtual HRESULT Invoke(DISPID member, const IID& riid, LCID lcid, WORD flags,
                           DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                           UINT* argError) = 0;

  protected:
    ~IDispatch() = default;
};

inline constexpr const IID& IID_IDispatch = IDispatch::iid;
