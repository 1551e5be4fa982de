// Error and Errors objects and the reporting of failures.
#include "platform/ado/errors.h"
#include "platform/com/exception_guard.h"

#include <limits>

namespace {

constexpr DISPID kDispNumber = 1;
constexpr DISPID kDispSource = 2;
constexpr DISPID kDispDescription = 3;
constexpr DISPID kDispNativeError = 4;
constexpr DISPID kDispSQLState = 5;
constexpr DISPID kDispCount = 1;
constexpr DISPID kDispClear = 2;

template <class Getter>
HRESULT TextResult(Getter getter, CComVariant& result) {
    CComBSTR text;
    const HRESULT hr = getter(text.ReleaseAndGetAddressOf());
    if (SUCCEEDED(hr)) {
        result = CComVariant(text);
    }
    return hr;
}

}  // namespace

HRESULT ReturnText(std::string_view text, BSTR* out) {
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = SysAllocStringView(text);
    return *out == nullptr && !text.empty() ? E_OUTOFMEMORY : S_OK;
}

HRESULT CError::get_Number(LONG* number) {
    if (number == nullptr) {
        return E_POINTER;
    }
    *number = record_.number;
    return S_OK;
}

HRESULT CError::get_Source(BSTR* source) {
    return GuardResult("ADO", [&] { return ReturnText(record_.source, source); });
}

HRESULT CError::get_Description(BSTR* description) {
    return GuardResult("ADO", [&] { return ReturnText(record_.description, description); });
}

HRESULT CError::get_NativeError(LONG* nativeError) {
    if (nativeError == nullptr) {
        return E_POINTER;
    }
    *nativeError = static_cast<LONG>(record_.nativeError);
    return S_OK;
}

HRESULT CError::get_SQLState(BSTR* sqlState) {
    return GuardResult("ADO", [&] { return ReturnText(record_.sqlState, sqlState); });
}

HRESULT CError::InterfaceSupportsErrorInfo(const IID& riid) {
    return riid == Error::iid ? S_OK : S_FALSE;
}

const CDispatchTable<CError>& CError::DispatchTable() {
    using Table = CDispatchTable<CError>;
    static const Table table(
        "ADODB.Error",
        {
            Table::Get("Number", kDispNumber, VT_I4,
                       [](CError& e, CDispArgs&, CComVariant& r) {
                           r = CComVariant(static_cast<int>(e.record_.number));
                           return S_OK;
                       }),
            Table::Get("Source", kDispSource, VT_BSTR,
                       [](CError& e, CDispArgs&, CComVariant& r) {
                           return TextResult([&](BSTR* t) { return e.get_Source(t); }, r);
                       }),
            Table::Get("Description", kDispDescription, VT_BSTR,
                       [](CError& e, CDispArgs&, CComVariant& r) {
                           return TextResult([&](BSTR* t) { return e.get_Description(t); }, r);
                       }),
            Table::Get("NativeError", kDispNativeError, VT_I4,
                       [](CError& e, CDispArgs&, CComVariant& r) {
                           r = CComVariant(static_cast<int>(e.record_.nativeError));
                           return S_OK;
                       }),
            Table::Get("SQLState", kDispSQLState, VT_BSTR,
                       [](CError& e, CDispArgs&, CComVariant& r) {
                           return TextResult([&](BSTR* t) { return e.get_SQLState(t); }, r);
                       }),
        });
    return table;
}

HRESULT CErrors::get_Count(LONG* count) {
    return GuardResult("ADO", [&] {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = static_cast<LONG>(records_.size());
        return S_OK;
    });
}

HRESULT CErrors::get_Item(VARIANT index, Error** error) {
    return GuardResult("ADO", [&] {
        if (error == nullptr) {
            return E_POINTER;
        }
        *error = nullptr;
        CComVariant position;
        if (FAILED(VariantChangeType(&position, &index, 0, VT_I4)) || position.lVal < 0 ||
            static_cast<std::size_t>(position.lVal) >= records_.size()) {
            return ReportComError(adErrItemNotFound,
                                  "Item cannot be found in the collection corresponding to the "
                                  "requested name or ordinal.",
                                  "ADODB.Errors");
        }
        const CComPtr<CError> item =
            MakeComObject<CError>(records_[static_cast<std::size_t>(position.lVal)]);
        *error = item.Get();
        (*error)->AddRef();
        return S_OK;
    });
}

HRESULT CErrors::Clear() {
    return GuardResult("ADO", [&] {
        records_.clear();
        return S_OK;
    });
}

HRESULT CErrors::InterfaceSupportsErrorInfo(const IID& riid) {
    return riid == Errors::iid ? S_OK : S_FALSE;
}

void CErrors::Replace(const ErrorRecord& record) {
    records_.assign(1, record);
}

const CDispatchTable<CErrors>& CErrors::DispatchTable() {
    using Table = CDispatchTable<CErrors>;
    static const Table table(
        "ADODB.Errors",
        {
            Table::Get("Count", kDispCount, VT_I4,
                       [](CErrors& e, CDispArgs&, CComVariant& r) {
                           r = CComVariant(static_cast<int>(e.records_.size()));
                           return S_OK;
                       }),
            Table::Get("Item", DISPID_VALUE, {DispParam::In("Index", VT_VARIANT)}, VT_DISPATCH,
                       [](CErrors& e, CDispArgs& a, CComVariant& r) {
                           CComPtr<Error> item;
                           const HRESULT hr = e.get_Item(a[0], item.ReleaseAndGetAddressOf());
                           if (SUCCEEDED(hr)) {
                               r = CComVariant(static_cast<IDispatch*>(item.Get()));
                           }
                           return hr;
                       }),
            Table::Method("Clear", kDispClear, {}, VT_EMPTY,
                          [](CErrors& e, CDispArgs&, CComVariant&) { return e.Clear(); }),
        });
    return table;
}

HRESULT Report(CErrors* errors, const ErrorRecord& record) {
    if (errors != nullptr) {
        errors->Replace(record);
    }
    return ReportComError(record.number, record.description, record.source);
}

HRESULT Report(CErrors* errors, HRESULT number, std::string description, const char* source) {
    return Report(errors, ErrorRecord{number, std::move(description), source, 0, ""});
}
