// QorConnection: the data-access connection a Qt program creates, opens and hands to the
// data-bound controls, which use it and never open or close it.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

class QorConnection {
  public:
    // A closed "ADODB.Connection"; isNull() when the class cannot be made (lastError says why).
    QorConnection();
    // Closes the connection: the program owns it, the controls bound to it only use it.
    ~QorConnection();
    QorConnection(const QorConnection&) = delete;
    QorConnection& operator=(const QorConnection&) = delete;

    // "Provider=SQLite;Data Source=FILE" for the SQLite file.
    static QString sqliteConnectionString(const QString& file);

    // Opens the data source: "Provider=SQLite;Data Source=FILE", "Provider=PostgreSQL;...",
    // "DSN=NAME", or a bare path of a SQLite file. False with the provider's reason.
    bool open(const QString& connectionString, const QString& user = {},
              const QString& password = {});
    void close();
    // The records of a query, each a map of field name to value (converted as QorControl's
    // calls convert); empty, with lastError() set, when the query fails.
    QList<QVariantMap> select(const QString& sql);
    // Runs a statement that gives no records; false with the reason.
    bool execute(const QString& sql);
    // A transaction round what the program and the controls write on the connection.
    bool beginTransaction();
    bool commit();
    bool rollback();
    bool isOpen() const;
    bool isNull() const { return !m_connection; }
    QString lastError() const { return m_lastError; }

    // The connection as a control's binding methods take it.
    QVariant toVariant() const;
    IDispatch* dispatch() const { return m_connection.Get(); }
    // So that the connection is passed as it is to the typed wrappers' binding methods.
    operator IDispatch*() const { return dispatch(); }  // NOLINT(google-explicit-constructor)

  private:
    bool Transaction(const char* member);

    CComPtr<IDispatch> m_connection;
    QString m_lastError;
};
