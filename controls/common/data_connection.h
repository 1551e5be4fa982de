// CDataConnection: the connection holder of the data-bound controls, which keeps the host's
// ADO connection (or one it opened itself) and the provider messages of the last failure.
#pragma once

#include <string>
#include <string_view>

#include "platform/ado/ado.h"
#include "platform/com/com_ptr.h"

// The host's ADO connection behind its dispatch pointer: none for a null pointer or an object
// that is no connection (E_NOINTERFACE); false, with nothing taken, when the query fails
// otherwise.
bool QueryHostConnection(IDispatch* adoConn, CComPtr<_Connection>& connection);

// No operation throws; failures are results, and their provider messages are the last error
// text. Every operation runs on the thread that attached or opened the connection.
class CDataConnection {
  public:
    CDataConnection() = default;
    CDataConnection(const CDataConnection&) = delete;
    CDataConnection& operator=(const CDataConnection&) = delete;
    // An attached connection is only released; one opened here is closed first.
    ~CDataConnection();

    // Holds the host's connection (none when null) as it is: it is neither opened nor
    // configured, and never closed here. COM is initialised for the thread first; when that
    // fails, the reference is given back and the result is false. A connection held before is
    // dropped, and closed when it was opened here.
    bool Attach(CComPtr<_Connection> connection);
    // Creates an ADO connection and opens it on the connection string with empty user and
    // password, for a program that has no host to hand it one (the designer's preview). The
    // connection held before is dropped first; on failure none is held.
    bool Open(std::string_view connectionString);
    // Drops the connection; closes it when it was opened here.
    void Close();

    // Transactions of the held connection; false when none is held or the call fails.
    bool BeginTrans();
    bool CommitTrans();
    bool RollbackTrans();

    // The last error text becomes each Description of the connection's Errors, in order,
    // each followed by a line feed; the last error source the Source of the last of them.
    void RefreshErrors();
    void GetLastError(std::string& text) const { text = lastErrorText_; }
    void GetLastErrorSource(std::string& source) const { source = lastErrorSource_; }

    bool IsOpen() const { return open_; }
    bool IsAttached() const { return attached_; }
    // The held connection (null when none), for opening recordsets on it.
    _Connection* GetConnection() const { return connection_.Get(); }

  private:
    // Runs an operation so that no exception leaves it: one becomes the last error text and
    // the operation's false (or nothing).
    template <class Body>
    auto Guarded(Body&& body) noexcept;
    bool InitializeCom();
    // Closes an owned connection, ignoring how that goes, and forgets it.
    void Drop() noexcept;
    void Forget() noexcept;
    void Hold(CComPtr<_Connection> connection, bool attached);
    bool OpenOwned(std::string_view connectionString);
    // True for a success; a failure of the held connection's call is recorded, false.
    bool Check(HRESULT hr);
    // Records a failure: the Errors of the connection (which may be null), or the result's
    // message when it gave none. Always false.
    bool Fail(HRESULT hr, _Connection* connection);
    void RefreshErrorsOf(_Connection* connection);
    // The last error text of an exception stopped by the guard.
    void NoteFailure(HRESULT hr) noexcept;

    std::string lastErrorText_;
    std::string lastErrorSource_;
    bool open_ = false;
    bool attached_ = false;
    CComPtr<_Connection> connection_;
    bool comInitialized_ = false;
};
