// The error object and the calling thread's slot for it.
#include "platform/com/error_info.h"

#include <new>

#include "platform/com/com_ptr.h"

namespace {

class CErrorInfo final : public CUnknownImpl<IErrorInfo, ICreateErrorInfo> {
  public:
    HRESULT GetGUID(GUID* guid) override {
        if (guid == nullptr) {
            return E_INVALIDARG;
        }
        *guid = guid_;
        return S_OK;
    }
    HRESULT GetSource(BSTR* source) override { return CopyOut(source_, source); }
    HRESULT GetDescription(BSTR* description) override {
        return CopyOut(description_, description);
    }
    HRESULT GetHelpFile(BSTR* helpFile) override { return CopyOut(helpFile_, helpFile); }
    HRESULT GetHelpContext(DWORD* helpContext) override {
        if (helpContext == nullptr) {
            return E_INVALIDARG;
        }
        *helpContext = helpContext_;
        return S_OK;
    }

    HRESULT SetGUID(const GUID& guid) override {
        guid_ = guid;
        return S_OK;
    }
    HRESULT SetSource(LPCOLESTR source) override { return CopyIn(source, source_); }
    HRESULT SetDescription(LPCOLESTR description) override {
        return CopyIn(description, description_);
    }
    HRESULT SetHelpFile(LPCOLESTR helpFile) override { return CopyIn(helpFile, helpFile_); }
    HRESULT SetHelpContext(DWORD helpContext) override {
        helpContext_ = helpContext;
        return S_OK;
    }

  private:
    static HRESULT CopyOut(const CComBSTR& text, BSTR* out) {
        if (out == nullptr) {
            return E_INVALIDARG;
        }
        *out = text.Copy();
        return *out != nullptr || text.Get() == nullptr ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT CopyIn(LPCOLESTR text, CComBSTR& to) {
        to = CComBSTR(text);
        return to.Get() != nullptr || text == nullptr ? S_OK : E_OUTOFMEMORY;
    }

    GUID guid_;
    CComBSTR source_;
    CComBSTR description_;
    CComBSTR helpFile_;
    DWORD helpContext_ = 0;
};

CComPtr<IErrorInfo>& ThreadErrorInfo() {
    thread_local CComPtr<IErrorInfo> info;
    return info;
}

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** info) {
    if (info == nullptr) {
        return E_INVALIDARG;
    }
    *info = nullptr;
    try {
        CComPtr<CErrorInfo> object = MakeComObject<CErrorInfo>();
        return object.QueryInterface(info);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT SetErrorInfo(ULONG reserved, IErrorInfo* info) {
    if (reserved != 0) {
        return E_INVALIDARG;
    }
    ThreadErrorInfo() = info;
    return S_OK;
}

HRESULT GetErrorInfo(ULONG reserved, IErrorInfo** info) {
    if (info == nullptr || reserved != 0) {
        return E_INVALIDARG;
    }
    *info = ThreadErrorInfo().Detach();
    return *info != nullptr ? S_OK : S_FALSE;
}

HRESULT ReportComError(HRESULT hr, std::string_view description, std::string_view source,
                       const GUID& interfaceId) {
    CComPtr<ICreateErrorInfo> created;
    if (FAILED(CreateErrorInfo(created.ReleaseAndGetAddressOf()))) {
        return hr;
    }
    created->SetGUID(interfaceId);
    created->SetDescription(CComBSTR(description).Get());
    created->SetSource(CComBSTR(source).Get());
    CComPtr<IErrorInfo> info;
    if (SUCCEEDED(created.QueryInterface(info))) {
        SetErrorInfo(0, info.Get());
    }
    return hr;
}

std::optional<ComErrorTexts> TakeComErrorTexts() {
    CComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.ReleaseAndGetAddressOf()) != S_OK) {
        return std::nullopt;
    }
    CComBSTR description;
    CComBSTR source;
    info->GetDescription(description.ReleaseAndGetAddressOf());
    info->GetSource(source.ReleaseAndGetAddressOf());
    return ComErrorTexts{description.ToString(), source.ToString()};
}
