// The connection object of Qt programs, over the registered data-access class.
#include "embed/qor_connection_qt.h"

#include "embed/member_call.h"
#include "embed/variant_values_qt.h"
#include "platform/ado/ado.h"

QorConnection::QorConnection() {
    const HRESULT hr = RegisterAdoClasses();
    const CallOutcome outcome = SUCCEEDED(hr)
                                    ? CreateDispatchObject("ADODB.Connection", m_connection)
                                    : DescribeFailure("Cannot create \"ADODB.Connection\"", hr);
    m_lastError = QString::fromStdString(outcome.message);
}

QorConnection::~QorConnection() {
    close();
}

QString QorConnection::sqliteConnectionString(const QString& file) {
    return QStringLiteral("Provider=SQLite;Data Source=") + file;
}

bool QorConnection::open(const QString& connectionString, const QString& user,
                         const QString& password) {
    close();
    // A bare path names a SQLite file: any connection string holds a "=".
    const QString text = connectionString.contains('=') ? connectionString
                                                        : sqliteConnectionString(connectionString);
    CComVariant ignored;
    const CallOutcome outcome =
        CallMember(m_connection.Get(), "Open",
                   {CComVariant(text.toStdString()), CComVariant(user.toStdString()),
                    CComVariant(password.toStdString()), CComVariant(-1)},
                   ignored);
    m_lastError = QString::fromStdString(outcome.message);
    return outcome.Succeeded();
}

void QorConnection::close() {
    if (isOpen()) {
        CComVariant ignored;
        CallMember(m_connection.Get(), "Close", {}, ignored);
    }
}

bool QorConnection::isOpen() const {
    CComVariant state;
    return m_connection && GetMember(m_connection.Get(), "State", state).Succeeded() &&
           state.vt == VT_I4 && (state.lVal & adStateOpen) != 0;
}

QVariant QorConnection::toVariant() const {
    return QVariant::fromValue(QorDispatchPtr(m_connection));
}
