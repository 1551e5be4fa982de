// The Connection object: opening a provider session from a connection string, transactions,
// statements, and the Errors of everything done on it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ado/ado.h"
#include "platform/ado/cursor.h"
#include "platform/ado/errors.h"
#include "platform/ado/session.h"
#include "platform/com/com_ptr.h"
#include "platform/com/dispatch_table.h"

class CConnection;

// Offered only by this module's connections, so that a recordset given a connection as an
// automation object can tell it is one it can use, and reach it.
struct IAdoConnectionImpl : IUnknown {
    static constexpr IID iid = MakeGuid("{5B81364F-BF35-44A5-BEE8-B5D3857B24D5}");
    using InterfaceBase = IUnknown;
    virtual CConnection* Implementation() = 0;

  protected:
    ~IAdoConnectionImpl() = default;
};

// What a recordset open on a connection hears of it.
class CConnectionListener {
  public:
    virtual void TransactionCommitted(int level) = 0;
    virtual void TransactionRolledBack(int level) = 0;
    virtual void ConnectionClosing() = 0;

  protected:
    ~CConnectionListener() = default;
};

class CConnection final
    : public CDispatchImpl<CConnection, _Connection, IAdoConnectionImpl, ISupportErrorInfo> {
  public:
    CConnection();
    ~CConnection() override;
    CConnection(const CConnection&) = delete;
    CConnection& operator=(const CConnection&) = delete;

    HRESULT get_ConnectionString(BSTR* connectionString) override;
    HRESULT put_ConnectionString(BSTR connectionString) override;
    HRESULT get_ConnectionTimeout(LONG* seconds) override;
    HRESULT put_ConnectionTimeout(LONG seconds) override;
    HRESULT get_CommandTimeout(LONG* seconds) override;
    HRESULT put_CommandTimeout(LONG seconds) override;
    HRESULT get_Provider(BSTR* provider) override;
    HRESULT get_State(LONG* state) override;
    HRESULT get_Errors(Errors** errors) override;
    HRESULT Open(BSTR connectionString, BSTR userID, BSTR password, LONG options) override;
    HRESULT Close() override;
    HRESULT BeginTrans(LONG* level) override;
    HRESULT CommitTrans() override;
    HRESULT RollbackTrans() override;
    HRESULT Execute(BSTR commandText, VARIANT* recordsAffected, LONG options,
                    _Recordset** recordset) override;

    CConnection* Implementation() override { return this; }
    HRESULT InterfaceSupportsErrorInfo(const IID& riid) override;

    // This module's connection behind an automation object; null for any other object.
    static CConnection* FromUnknown(IUnknown* object);

    bool IsOpen() const { return session_ != nullptr; }
    // Only while open.
    CSession& Session() { return *session_; }
    CErrors* ErrorsObject() { return errors_.Get(); }
    const TransactionState& Transaction() const { return transaction_; }
    void AddListener(CConnectionListener* listener);
    void RemoveListener(CConnectionListener* listener);

    // Failures of this connection's work, for the Errors and the thread's error object.
    HRESULT Fail(HRESULT number, std::string description, const char* source);
    HRESULT FailInSession();

    static const CDispatchTable<CConnection>& DispatchTable();

  private:
    // Commits or rolls back the innermost transaction and tells the listeners.
    HRESULT EndTransaction(bool commit);
    HRESULT RequireOpen();
    void EndSession();

    std::string connectionString_;
    std::string provider_;
    LONG connectionTimeout_ = 5;
    LONG commandTimeout_ = 30;
    std::unique_ptr<CSession> session_;
    CComPtr<CErrors> errors_;
    TransactionState transaction_;
    std::vector<CConnectionListener*> listeners_;
};
