// The Connection object's members and dispatch table.
#include "platform/ado/connection.h"
#include "platform/com/exception_guard.h"

#include <algorithm>

#include "platform/ado/recordset.h"

namespace {

constexpr DISPID kDispConnectionString = 1;
constexpr DISPID kDispConnectionTimeout = 2;
constexpr DISPID kDispCommandTimeout = 3;
constexpr DISPID kDispProvider = 4;
constexpr DISPID kDispState = 5;
constexpr DISPID kDispErrors = 6;
constexpr DISPID kDispOpen = 7;
constexpr DISPID kDispClose = 8;
constexpr DISPID kDispBeginTrans = 9;
constexpr DISPID kDispCommitTrans = 10;
constexpr DISPID kDispRollbackTrans = 11;
constexpr DISPID kDispExecute = 12;

std::string Trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1));
}

}  // namespace

CConnection::CConnection() : errors_(MakeComObject<CErrors>()) {}

CConnection::~CConnection() {
    if (IsOpen()) {
        Close();
    }
}

CConnection* CConnection::FromUnknown(IUnknown* object) {
    if (object == nullptr) {
        return nullptr;
    }
    void* raw = nullptr;
    if (FAILED(object->QueryInterface(IAdoConnectionImpl::iid, &raw))) {
        return nullptr;
    }
    auto* implementation = static_cast<IAdoConnectionImpl*>(raw);
    CConnection* connection = implementation->Implementation();
    implementation->Release();
    return connection;
}

HRESULT CConnection::Fail(HRESULT number, std::string description, const char* source) {
    return Report(errors_.Get(), number, std::move(description), source);
}

HRESULT CConnection::FailInSession() {
    return Report(errors_.Get(), session_->LastError());
}

HRESULT CConnection::RequireOpen() {
    return IsOpen() ? S_OK
                    : Fail(adErrObjectClosed, "Operation is not allowed when the object is closed.",
                           kAdoConnectionSource);
}

void CConnection::AddListener(CConnectionListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
    }
}

void CConnection::RemoveListener(CConnectionListener* listener) {
    std::erase(listeners_, listener);
}

HRESULT CConnection::get_ConnectionString(BSTR* connectionString) {
    return GuardResult("ADO", [&] {
        return ReturnText(IsOpen() ? WithoutPassword(connectionString_) : connectionString_,
                          connectionString);
    });
}

HRESULT CConnection::put_ConnectionString(BSTR connectionString) {
    return GuardResult("ADO", [&] {
        if (IsOpen()) {
            return Fail(adErrObjectOpen, "Operation is not allowed when the object is open.",
                        kAdoConnectionSource);
        }
        connectionString_ = std::string(BstrView(connectionString));
        return S_OK;
    });
}

HRESULT CConnection::get_ConnectionTimeout(LONG* seconds) {
    return GuardResult("ADO", [&] {
        if (seconds == nullptr) {
            return E_POINTER;
        }
        *seconds = connectionTimeout_;
        return S_OK;
    });
}

HRESULT CConnection::put_ConnectionTimeout(LONG seconds) {
    return GuardResult("ADO", [&] {
        if (seconds < 0) {
            return Fail(adErrInvalidArgument, "A timeout cannot be negative.",
                        kAdoConnectionSource);
        }
        connectionTimeout_ = seconds;
        return S_OK;
    });
}

HRESULT CConnection::get_CommandTimeout(LONG* seconds) {
    return GuardResult("ADO", [&] {
        if (seconds == nullptr) {
            return E_POINTER;
        }
        *seconds = commandTimeout_;
        return S_OK;
    });
}

HRESULT CConnection::put_CommandTimeout(LONG seconds) {
    return GuardResult("ADO", [&] {
        if (seconds < 0) {
            return Fail(adErrInvalidArgument, "A timeout cannot be negative.",
                        kAdoConnectionSource);
        }
        commandTimeout_ = seconds;
        if (IsOpen()) {
            session_->SetTimeouts(connectionTimeout_, commandTimeout_);
        }
        return S_OK;
    });
}

HRESULT CConnection::get_Provider(BSTR* provider) {
    return GuardResult("ADO", [&] {
        if (IsOpen()) {
            return ReturnText(session_->ProviderName(), provider);
        }
        CConnectionProperties properties;
        std::string ignored;
        properties.Parse(connectionString_, ignored);
        const std::string named = properties.Get("provider");
        return ReturnText(named.empty() ? "SQLite" : named, provider);
    });
}

HRESULT CConnection::get_State(LONG* state) {
    return GuardResult("ADO", [&] {
        if (state == nullptr) {
            return E_POINTER;
        }
        *state = IsOpen() ? adStateOpen : adStateClosed;
        return S_OK;
    });
}

HRESULT CConnection::get_Errors(Errors** errors) {
    return GuardResult("ADO", [&] {
        if (errors == nullptr) {
            return E_POINTER;
        }
        *errors = errors_.Get();
        (*errors)->AddRef();
        return S_OK;
    });
}

HRESULT CConnection::Open(BSTR connectionString, BSTR userID, BSTR password, LONG /*options*/) {
    return GuardResult("ADO", [&] {
        if (IsOpen()) {
            return Fail(adErrObjectOpen, "Operation is not allowed when the object is open.",
                        kAdoConnectionSource);
        }
        const std::string given = Trimmed(BstrView(connectionString));
        if (!given.empty()) {
            connectionString_ = given;
        }
        if (connectionString_.empty()) {
            return Fail(adErrInvalidConnection, "The connection string is empty.",
                        kAdoConnectionSource);
        }
        ConnectionSettings settings;
        ErrorRecord error;
        if (!ResolveConnectionString(connectionString_, BstrView(userID), BstrView(password),
                                     settings, error)) {
            return Report(errors_.Get(), error);
        }
        if (settings.connectTimeoutSeconds == 0) {
            settings.connectTimeoutSeconds = std::max<LONG>(1, connectionTimeout_);
        }
        session_ = OpenSession(settings, std::max<LONG>(1, connectionTimeout_), error);
        if (session_ == nullptr) {
            return Report(errors_.Get(), error);
        }
        if (commandTimeout_ != 30) {
            session_->SetTimeouts(connectionTimeout_, commandTimeout_);
        }
        errors_->Clear();
        return S_OK;
    });
}

void CConnection::EndSession() {
    // Each listener leaves the list as it closes.
    const std::vector<CConnectionListener*> listeners = listeners_;
    for (CConnectionListener* listener : listeners) {
        listener->ConnectionClosing();
    }
    listeners_.clear();
    while (transaction_.level > 0) {
        session_->Rollback(transaction_.level);
        --transaction_.level;
    }
    session_.reset();
}

HRESULT CConnection::Close() {
    return GuardResult("ADO", [&] {
        const HRESULT hr = RequireOpen();
        if (SUCCEEDED(hr)) {
            EndSession();
        }
        return hr;
    });
}

HRESULT CConnection::BeginTrans(LONG* level) {
    return GuardResult("ADO", [&] {
        HRESULT hr = RequireOpen();
        if (FAILED(hr)) {
            return hr;
        }
        if (!session_->Begin(transaction_.level + 1)) {
            return FailInSession();
        }
        ++transaction_.level;
        if (level != nullptr) {
            *level = transaction_.level;
        }
        return S_OK;
    });
}

HRESULT CConnection::CommitTrans() {
    return EndTransaction(true);
}

HRESULT CConnection::RollbackTrans() {
    return EndTransaction(false);
}

HRESULT CConnection::EndTransaction(bool commit) {
    return GuardResult("ADO", [&] {
        HRESULT hr = RequireOpen();
        if (SUCCEEDED(hr) && transaction_.level == 0) {
            hr = Fail(adErrInvalidTransaction, "No transaction is active.", kAdoConnectionSource);
        }
        const bool ended = SUCCEEDED(hr) && (commit ? session_->Commit(transaction_.level)
                                                    : session_->Rollback(transaction_.level));
        if (SUCCEEDED(hr) && !ended) {
            hr = FailInSession();
        }
        if (FAILED(hr)) {
            return hr;
        }
        const int level = transaction_.level--;
        const std::vector<CConnectionListener*> listeners = listeners_;
        for (CConnectionListener* listener : listeners) {
            if (commit) {
                listener->TransactionCommitted(level);
            } else {
                listener->TransactionRolledBack(level);
            }
        }
        return S_OK;
    });
}

HRESULT CConnection::Execute(BSTR commandText, VARIANT* recordsAffected, LONG options,
                             _Recordset** recordset) {
    return GuardResult("ADO", [&] {
        if (recordset != nullptr) {
            *recordset = nullptr;
        }
        HRESULT hr = RequireOpen();
        if (FAILED(hr)) {
            return hr;
        }
        StatementResult result;
        const std::string sql(BstrView(commandText));
        if (!session_->Execute(sql, false, result)) {
            return FailInSession();
        }
        if (recordsAffected != nullptr) {
            CComVariant(static_cast<int>(result.affected)).Detach(recordsAffected);
        }
        const bool noRecords =
            options != adOptionUnspecified && (options & adExecuteNoRecords) != 0;
        if (recordset == nullptr || noRecords) {
            return S_OK;
        }
        CComPtr<CRecordset> rows = MakeComObject<CRecordset>();
        if (result.returnsRows) {
            hr = rows->Adopt(CComPtr<CConnection>(this), sql, std::move(result));
        }
        *recordset = rows.Detach();
        return hr;
    });
}

HRESULT CConnection::InterfaceSupportsErrorInfo(const IID& riid) {
    return riid == _Connection::iid ? S_OK : S_FALSE;
}

namespace {

using Table = CDispatchTable<CConnection>;

Table::Handler LongGet(HRESULT (CConnection::*getter)(LONG*)) {
    return [getter](CConnection& c, CDispArgs&, CComVariant& result) {
        LONG value = 0;
        const HRESULT hr = (c.*getter)(&value);
        result = CComVariant(static_cast<int>(value));
        return hr;
    };
}

Table::Handler TextGet(HRESULT (CConnection::*getter)(BSTR*)) {
    return [getter](CConnection& c, CDispArgs&, CComVariant& result) {
        CComBSTR text;
        const HRESULT hr = (c.*getter)(text.ReleaseAndGetAddressOf());
        result = CComVariant(text);
        return hr;
    };
}

std::vector<Table::Entry> Entries() {
    return {
        Table::Get("ConnectionString", kDispConnectionString, VT_BSTR,
                   TextGet(&CConnection::get_ConnectionString)),
        Table::Put("ConnectionString", kDispConnectionString, VT_BSTR,
                   [](CConnection& c, CDispArgs& a, CComVariant&) {
                       return c.put_ConnectionString(a[0].bstrVal);
                   }),
        Table::Get("ConnectionTimeout", kDispConnectionTimeout, VT_I4,
                   LongGet(&CConnection::get_ConnectionTimeout)),
        Table::Put("ConnectionTimeout", kDispConnectionTimeout, VT_I4,
                   [](CConnection& c, CDispArgs& a, CComVariant&) {
                       return c.put_ConnectionTimeout(a[0].lVal);
                   }),
        Table::Get("CommandTimeout", kDispCommandTimeout, VT_I4,
                   LongGet(&CConnection::get_CommandTimeout)),
        Table::Put("CommandTimeout", kDispCommandTimeout, VT_I4,
                   [](CConnection& c, CDispArgs& a, CComVariant&) {
                       return c.put_CommandTimeout(a[0].lVal);
                   }),
        Table::Get("Provider", kDispProvider, VT_BSTR, TextGet(&CConnection::get_Provider)),
        Table::Get("State", kDispState, VT_I4, LongGet(&CConnection::get_State)),
        Table::Get("Errors", kDispErrors, VT_DISPATCH,
                   [](CConnection& c, CDispArgs&, CComVariant& result) {
                       result = CComVariant(static_cast<IDispatch*>(c.ErrorsObject()));
                       return S_OK;
                   }),
        Table::Method("Open", kDispOpen,
                      {DispParam::Optional("ConnectionString", VT_BSTR, CComVariant("")),
                       DispParam::Optional("UserID", VT_BSTR, CComVariant("")),
                       DispParam::Optional("Password", VT_BSTR, CComVariant("")),
                       DispParam::Optional("Options", VT_I4, CComVariant(-1))},
                      VT_EMPTY,
                      [](CConnection& c, CDispArgs& a, CComVariant&) {
                          return c.Open(a[0].bstrVal, a[1].bstrVal, a[2].bstrVal, a[3].lVal);
                      }),
        Table::Method("Close", kDispClose, {}, VT_EMPTY,
                      [](CConnection& c, CDispArgs&, CComVariant&) { return c.Close(); }),
        Table::Method("BeginTrans", kDispBeginTrans, {}, VT_I4,
                      [](CConnection& c, CDispArgs&, CComVariant& result) {
                          LONG level = 0;
                          const HRESULT hr = c.BeginTrans(&level);
                          result = CComVariant(static_cast<int>(level));
                          return hr;
                      }),
        Table::Method("CommitTrans", kDispCommitTrans, {}, VT_EMPTY,
                      [](CConnection& c, CDispArgs&, CComVariant&) { return c.CommitTrans(); }),
        Table::Method("RollbackTrans", kDispRollbackTrans, {}, VT_EMPTY,
                      [](CConnection& c, CDispArgs&, CComVariant&) { return c.RollbackTrans(); }),
        Table::Method("Execute", kDispExecute,
                      {DispParam::In("CommandText", VT_BSTR),
                       DispParam::Out("RecordsAffected", VT_VARIANT, true),
                       DispParam::Optional("Options", VT_I4, CComVariant(-1))},
                      VT_DISPATCH,
                      [](CConnection& c, CDispArgs& a, CComVariant& result) {
                          CComPtr<_Recordset> rows;
                          CComVariant affected;
                          const HRESULT hr = c.Execute(a[0].bstrVal, &affected, a[2].lVal,
                                                       rows.ReleaseAndGetAddressOf());
                          if (!a.IsMissing(1)) {
                              a[1] = std::move(affected);
                          }
                          result = CComVariant(static_cast<IDispatch*>(rows.Get()));
                          return hr;
                      }),
    };
}

}  // namespace

const CDispatchTable<CConnection>& CConnection::DispatchTable() {
    static const Table table(kAdoConnectionSource, Entries());
    return table;
}
