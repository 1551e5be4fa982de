// VARIANT and script values converted both ways for the script host: numbers, strings,
// booleans, null and missing, dates, currency and decimals, byte and variant arrays, and
// dispatch objects wrapped for the script.
#pragma once

#include <QJSEngine>
#include <QJSValue>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"

class CScriptValues {
  public:
    explicit CScriptValues(QJSEngine& engine) : m_engine(engine) {}

    // The prelude's pieces: the function that wraps a native dispatch object into its script
    // proxy, the class of host.ref values and the marker of members that are called.
    void SetPrelude(QJSValue wrap, QJSValue refClass, QJSValue callable);
    const QJSValue& Callable() const { return m_callable; }
    QJSEngine& Engine() { return m_engine; }

    // The script form of a value; false with the reason for a type scripts cannot hold.
    bool ToScript(const VARIANT& value, QJSValue& out, std::string& error);
    // The variant form of a script value; false with the reason for one that has none (a
    // plain object or a function).
    bool FromScript(const QJSValue& value, CComVariant& out, std::string& error);

    QJSValue Wrap(const CComPtr<IDispatch>& object);
    // The dispatch object behind a wrapped value; null for anything else.
    static IDispatch* DispatchOf(const QJSValue& value);

  private:
    // A value that is not by reference.
    bool HeldToScript(const CComVariant& value, QJSValue& out, std::string& error);
    bool ArrayToScript(const CComVariant& value, QJSValue& out, std::string& error);
    // depth: how many arrays enclose this value; an array that holds itself ends at the limit.
    bool FromScriptAt(const QJSValue& value, int depth, CComVariant& out, std::string& error);
    bool ArrayFromScript(const QJSValue& value, int depth, CComVariant& out, std::string& error);

    QJSEngine& m_engine;
    QJSValue m_wrap;
    QJSValue m_refClass;
    QJSValue m_callable;

    friend class CScriptArguments;
};

// The arguments of one call: host.ref values become references to storage kept here, and get
// their value property set from it after the call.
class CScriptArguments {
  public:
    explicit CScriptArguments(CScriptValues& values) : m_values(values) {}
    bool Build(const QJSValue& args, std::string& error);
    const std::vector<CComVariant>& Values() const { return m_arguments; }
    bool StoreOutValues(std::string& error);

  private:
    CScriptValues& m_values;
    std::vector<CComVariant> m_arguments;
    // A deque, so that the storage stays where the references point while it grows.
    std::deque<CComVariant> m_storage;
    std::vector<std::pair<QJSValue, CComVariant*>> m_refs;
};
