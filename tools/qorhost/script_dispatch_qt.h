// A dispatch object as the script sees it: the native side of its proxy, which reads,
// writes and calls members by name and throws script errors for failures.
#pragma once

#include <QJSValue>
#include <QObject>
#include <QString>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

class CScriptValues;
struct CallOutcome;

class CScriptDispatch : public QObject {
    Q_OBJECT
  public:
    CScriptDispatch(CComPtr<IDispatch> object, CScriptValues& values);

    IDispatch* Dispatch() const { return m_object.Get(); }

    // `object.name`: the property's value, or the prelude's callable marker for a member
    // that is called.
    Q_INVOKABLE QJSValue member(const QString& name);
    // `object.name(args...)`; an empty name calls the object's default member.
    Q_INVOKABLE QJSValue call(const QString& name, const QJSValue& args);
    // `object.name = value`.
    Q_INVOKABLE void put(const QString& name, const QJSValue& value);
    // `name in object`.
    Q_INVOKABLE bool has(const QString& name);

  private:
    QJSValue Converted(const VARIANT& value);
    void Throw(const CallOutcome& outcome);
    void Throw(const QString& message);

    CComPtr<IDispatch> m_object;
    CScriptValues& m_values;
};

// Throws a script error carrying the call's text and its HRESULT (property `hresult`).
void ThrowCallFailure(QJSEngine& engine, const CallOutcome& outcome);
