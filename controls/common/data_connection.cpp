// The connection holder: attaching the host's connection, opening one of its own, transactions
// and the provider messages of the last failure.
#include "controls/common/data_connection.h"

#include <utility>

#include "controls/common/ado_call.h"
#include "platform/com/bstr.h"
#include "platform/com/error_message.h"
#include "platform/com/exception_guard.h"

template <class Body>
auto CDataConnection::Guarded(Body&& body) noexcept {
    return GuardOperation("CDataConnection", std::forward<Body>(body),
                          [this](HRESULT hr) noexcept { NoteFailure(hr); });
}

bool QueryHostConnection(IDispatch* adoConn, CComPtr<_Connection>& connection) {
    CComPtr<_Connection> queried;
    if (adoConn != nullptr) {
        const HRESULT hr = ComQueryInterface(adoConn, queried);
        if (FAILED(hr) && hr != E_NOINTERFACE) {
            return false;
        }
    }
    connection = std::move(queried);
    return true;
}

CDataConnection::~CDataConnection() {
    Drop();
    if (comInitialized_) {
        CoUninitialize();
    }
}

bool CDataConnection::Attach(CComPtr<_Connection> connection) {
    return Guarded([&] {
        if (!InitializeCom()) {
            return false;
        }
        if (connection != connection_) {
            Drop();
        }
        Hold(std::move(connection), true);
        return true;
    });
}

bool CDataConnection::Open(std::string_view connectionString) {
    return Guarded([&] {
        if (!InitializeCom()) {
            return false;
        }
        Drop();
        return OpenOwned(connectionString);
    });
}

void CDataConnection::Close() {
    Guarded([&] {
        if (connection_ && !attached_) {
            Check(connection_->Close());
        }
        Forget();
    });
}

bool CDataConnection::BeginTrans() {
    return Guarded([&] {
        LONG level = 0;
        return open_ && Check(connection_->BeginTrans(&level));
    });
}

bool CDataConnection::CommitTrans() {
    return Guarded([&] { return open_ && Check(connection_->CommitTrans()); });
}

bool CDataConnection::RollbackTrans() {
    return Guarded([&] { return open_ && Check(connection_->RollbackTrans()); });
}

void CDataConnection::RefreshErrors() {
    Guarded([&] { RefreshErrorsOf(connection_.Get()); });
}

bool CDataConnection::InitializeCom() {
    const HRESULT hr = CoInitialize(nullptr);
    if (FAILED(hr)) {
        return Fail(hr, nullptr);
    }
    // One initialisation per holder is enough: the extra count is given back at once.
    if (comInitialized_) {
        CoUninitialize();
    }
    comInitialized_ = true;
    return true;
}

void CDataConnection::Drop() noexcept {
    if (connection_ && !attached_) {
        connection_->Close();
    }
    Forget();
}

void CDataConnection::Forget() noexcept {
    connection_.Release();
    open_ = false;
    attached_ = false;
}

void CDataConnection::Hold(CComPtr<_Connection> connection, bool attached) {
    connection_ = std::move(connection);
    open_ = static_cast<bool>(connection_);
    attached_ = open_ && attached;
}

bool CDataConnection::OpenOwned(std::string_view connectionString) {
    CComPtr<_Connection> connection;
    const HRESULT created = CreateAdoObject(CLSID_Connection, connection);
    if (FAILED(created)) {
        return Fail(created, nullptr);
    }
    const CComBSTR text(connectionString);
    const CComBSTR none;
    const HRESULT opened = connection->Open(text.Get(), none.Get(), none.Get(), 0);
    if (FAILED(opened)) {
        return Fail(opened, connection.Get());
    }
    Hold(std::move(connection), false);
    return true;
}

bool CDataConnection::Check(HRESULT hr) {
    return SUCCEEDED(hr) || Fail(hr, connection_.Get());
}

bool CDataConnection::Fail(HRESULT hr, _Connection* connection) {
    RefreshErrorsOf(connection);
    if (lastErrorText_.empty()) {
        lastErrorText_ = ComErrorMessage(hr) + "\n";
    }
    return false;
}

void CDataConnection::RefreshErrorsOf(_Connection* connection) {
    std::string text;
    std::string source;
    CComPtr<Errors> errors;
    LONG count = 0;
    if (connection != nullptr &&
        SUCCEEDED(connection->get_Errors(errors.ReleaseAndGetAddressOf())) && errors &&
        SUCCEEDED(errors->get_Count(&count))) {
        for (LONG i = 0; i < count; ++i) {
            VARIANT index;
            index.vt = VT_I4;
            index.lVal = i;
            CComPtr<Error> error;
            if (FAILED(errors->get_Item(index, error.ReleaseAndGetAddressOf())) || !error) {
                continue;
            }
            CComBSTR description;
            CComBSTR errorSource;
            error->get_Description(description.ReleaseAndGetAddressOf());
            error->get_Source(errorSource.ReleaseAndGetAddressOf());
            text.append(description.View()).push_back('\n');
            source = errorSource.ToString();
        }
    }
    lastErrorText_ = std::move(text);
    lastErrorSource_ = std::move(source);
}

void CDataConnection::NoteFailure(HRESULT hr) noexcept {
    lastErrorSource_.clear();
    try {
        lastErrorText_ = ComErrorMessage(hr) + "\n";
    } catch (...) {
        lastErrorText_.clear();  // no text could be made: memory ran out
    }
}
