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

namespace {

// The fields of the record the recordset stands on.
QVariantMap RecordOf(Fields& fields) {
    QVariantMap record;
    LONG count = 0;
    fields.get_Count(&count);
    for (LONG i = 0; i < count; ++i) {
        CComPtr<Field> field;
        CComBSTR name;
        CComVariant value;
        QVariant converted;
        std::string ignored;
        if (SUCCEEDED(fields.get_Item(CComVariant(static_cast<int>(i)),
                                      field.ReleaseAndGetAddressOf())) &&
            SUCCEEDED(field->get_Name(name.ReleaseAndGetAddressOf())) &&
            SUCCEEDED(field->get_Value(&value)) && VariantToQt(value, converted, ignored)) {
            record.insert(QString::fromStdString(name.ToString()), converted);
        }
    }
    return record;
}

}  // namespace

QList<QVariantMap> QorConnection::select(const QString& sql) {
    QList<QVariantMap> records;
    CComPtr<_Connection> connection;
    CComPtr<_Recordset> recordset;
    CComPtr<Fields> fields;
    HRESULT hr = m_connection ? ComQueryInterface(m_connection.Get(), connection) : E_POINTER;
    if (SUCCEEDED(hr)) {
        hr = connection->Execute(CComBSTR(sql.toStdString()).Get(), nullptr, adCmdText,
                                 recordset.ReleaseAndGetAddressOf());
    }
    if (SUCCEEDED(hr)) {
        hr = recordset->get_Fields(fields.ReleaseAndGetAddressOf());
    }
    VARIANT_BOOL atEnd = VARIANT_TRUE;
    while (SUCCEEDED(hr) && SUCCEEDED(hr = recordset->get_EOF(&atEnd)) && atEnd == VARIANT_FALSE) {
        records.append(RecordOf(*fields.Get()));
        hr = recordset->MoveNext();
    }
    m_lastError =
        SUCCEEDED(hr) ? QString() : QString::fromStdString(DescribeFailure("select", hr).message);
    return records;
}

bool QorConnection::execute(const QString& sql) {
    CComVariant ignored;
    const CallOutcome outcome = CallMember(
        m_connection.Get(), "Execute",
        {CComVariant(sql.toStdString()), CComVariant::Missing(),
         CComVariant(static_cast<int>(adCmdText) | static_cast<int>(adExecuteNoRecords))},
        ignored);
    m_lastError = QString::fromStdString(outcome.message);
    return outcome.Succeeded();
}

bool QorConnection::Transaction(const char* member) {
    CComVariant ignored;
    const CallOutcome outcome = CallMember(m_connection.Get(), member, {}, ignored);
    m_lastError = QString::fromStdString(outcome.message);
    return outcome.Succeeded();
}

bool QorConnection::beginTransaction() {
    return Transaction("BeginTrans");
}

bool QorConnection::commit() {
    return Transaction("CommitTrans");
}

bool QorConnection::rollback() {
    return Transaction("RollbackTrans");
}

QVariant QorConnection::toVariant() const {
    return QVariant::fromValue(QorDispatchPtr(m_connection));
}
