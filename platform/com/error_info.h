// Error objects: the description and source of the last failure, kept per thread, so that a
// failing call can say what went wrong beyond its result code.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/com/bstr.h"
#include "platform/com/unknown.h"

struct IErrorInfo : IUnknown {
    static constexpr IID iid = MakeGuid("{1CF2B120-547D-101B-8E65-08002B2BD119}");
    using InterfaceBase = IUnknown;

    virtual HRESULT GetGUID(GUID* guid) = 0;
    virtual HRESULT GetSource(BSTR* source) = 0;
    virtual HRESULT GetDescription(BSTR* description) = 0;
    virtual HRESULT GetHelpFile(BSTR* helpFile) = 0;
    virtual HRESULT GetHelpContext(DWORD* helpContext) = 0;

  protected:
    ~IErrorInfo() = default;
};

struct ICreateErrorInfo : IUnknown {
    static constexpr IID iid = MakeGuid("{22F03340-547D-101B-8E65-08002B2BD119}");
    using InterfaceBase = IUnknown;

    virtual HRESULT SetGUID(const GUID& guid) = 0;
    virtual HRESULT SetSource(LPCOLESTR source) = 0;
    virtual HRESULT SetDescription(LPCOLESTR description) = 0;
    virtual HRESULT SetHelpFile(LPCOLESTR helpFile) = 0;
    virtual HRESULT SetHelpContext(DWORD helpContext) = 0;

  protected:
    ~ICreateErrorInfo() = default;
};

// Offered by objects that set error objects on failure, so callers know to look for one.
struct ISupportErrorInfo : IUnknown {
    static constexpr IID iid = MakeGuid("{DF0B3D60-548F-101B-8E65-08002B2BD119}");
    using InterfaceBase = IUnknown;

    // S_OK when failures of that interface's members set an error object, S_FALSE otherwise.
    virtual HRESULT InterfaceSupportsErrorInfo(const IID& riid) = 0;

  protected:
    ~ISupportErrorInfo() = default;
};

inline constexpr const IID& IID_IErrorInfo = IErrorInfo::iid;
inline constexpr const IID& IID_ICreateErrorInfo = ICreateErrorInfo::iid;
inline constexpr const IID& IID_ISupportErrorInfo = ISupportErrorInfo::iid;

// A new, empty error object, offering ICreateErrorInfo and IErrorInfo.
HRESULT CreateErrorInfo(ICreateErrorInfo** info);
// Makes info (or none, for null) the calling thread's error object; reserved must be 0.
HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info);
// Hands the calling thread's error object to the caller and clears it; S_FALSE and null when
// there is none.
HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info);

// Sets an error object with the texts for the calling thread and returns hr, so a member can
// end with `return ReportComError(E_FAIL, "Table not found", "ADODB.Recordset");`.
HRESULT ReportComError(HRESULT hr, std::string_view description, std::string_view source,
                       const GUID& interfaceId = GUID_NULL);

struct ComErrorTexts {
    std::string description;
    std::string source;
};
// Takes the calling thread's error object, as GetErrorInfo does, and reads its texts.
std::optional<ComErrorTexts> TakeComErrorTexts();
