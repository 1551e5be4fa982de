// The native side of a dispatch object's script proxy.
#include "tools/qorhost/script_dispatch_qt.h"

#include <QJSEngine>
#include <string>
#include <utility>

#include "embed/member_call.h"
#include "platform/com/dispatch_call.h"
#include "tools/qorhost/script_values_qt.h"

CScriptDispatch::CScriptDispatch(CComPtr<IDispatch> object, CScriptValues& values)
    : m_object(std::move(object)), m_values(values) {}

QJSValue CScriptDispatch::member(const QString& name) {
    const std::string memberName = name.toStdString();
    MemberLookup lookup = LookUpMember(m_object.Get(), memberName);
    switch (lookup.shape) {
        case MemberShape::Value:
            return Converted(lookup.value);
        case MemberShape::Callable:
            return m_values.Callable();
        case MemberShape::Missing:
            Throw(QStringLiteral("Object has no member \"%1\"").arg(name));
            return {};
        case MemberShape::Failed:
            break;
    }
    Throw(lookup.outcome);
    return {};
}

QJSValue CScriptDispatch::call(const QString& name, const QJSValue& args) {
    CScriptArguments arguments(m_values);
    std::string error;
    if (!arguments.Build(args, error)) {
        Throw(QString::fromStdString(name.toStdString() + ": " + error));
        return {};
    }
    CComVariant result;
    const CallOutcome outcome =
        CallMember(m_object.Get(), name.toStdString(), arguments.Values(), result);
    if (!outcome.Succeeded()) {
        Throw(outcome);
        return {};
    }
    if (!arguments.StoreOutValues(error)) {
        Throw(QString::fromStdString(error));
        return {};
    }
    return Converted(result);
}

void CScriptDispatch::put(const QString& name, const QJSValue& value) {
    CComVariant converted;
    std::string error;
    if (!m_values.FromScript(value, converted, error)) {
        Throw(QString::fromStdString(name.toStdString() + ": " + error));
        return;
    }
    const CallOutcome outcome = PutMember(m_object.Get(), name.toStdString(), converted);
    if (!outcome.Succeeded()) {
        Throw(outcome);
    }
}

bool CScriptDispatch::has(const QString& name) {
    DISPID id = DISPID_UNKNOWN;
    return SUCCEEDED(GetDispIdOfName(m_object.Get(), name.toStdString(), &id));
}

QJSValue CScriptDispatch::Converted(const VARIANT& value) {
    QJSValue converted;
    std::string error;
    if (!m_values.ToScript(value, converted, error)) {
        Throw(QString::fromStdString(error));
        return {};
    }
    return converted;
}

void CScriptDispatch::Throw(const CallOutcome& outcome) {
    ThrowCallFailure(m_values.Engine(), outcome);
}

void CScriptDispatch::Throw(const QString& message) {
    m_values.Engine().throwError(QJSValue::TypeError, message);
}

void ThrowCallFailure(QJSEngine& engine, const CallOutcome& outcome) {
    QJSValue error =
        engine.newErrorObject(QJSValue::GenericError, QString::fromStdString(outcome.message));
    error.setProperty(QStringLiteral("hresult"),
                      QJSValue(static_cast<double>(static_cast<std::uint32_t>(outcome.hr))));
    engine.throwError(error);
}
