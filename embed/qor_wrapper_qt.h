// What the generated typed wrappers call (and the connection their binding methods take): one call
// by dispatch id with arguments in their C++ types, out parameters written back into the caller's
// variables, the result in its C++ type.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <vector>

#include "embed/qor_connection_qt.h"
#include "embed/qor_control_qt.h"
#include "embed/variant_values_qt.h"
#include "platform/gdi/types.h"

namespace qorwrap {

// A value in automation form; a value Qt cannot pass goes as a missing argument, which the
// control refuses with its reason.
CComVariant ToAutomation(const QVariant& value);

class Call {
  public:
    Call(QorControl& control, DISPID id, WORD flags)
        : m_control(control), m_id(id), m_flags(flags) {}

    void In(long value) { m_args.emplace_back(static_cast<int>(value)); }
    void In(COLORREF value);
    void In(double value) { m_args.emplace_back(value); }
    void In(bool value) { m_args.emplace_back(value); }
    void In(const QString& value) { m_args.emplace_back(value.toStdString()); }
    void In(IDispatch* value) { m_args.emplace_back(value); }
    void In(const QorDispatchPtr& value) { m_args.emplace_back(value.Get()); }
    void In(const QVariant& value) { m_args.push_back(ToAutomation(value)); }
    void In(const QDateTime& value) { In(QVariant(value)); }

    // Passed by reference, starting from the variable's value; stored back after the call.
    template <typename T>
    void Out(T& variable) {
        Call probe(m_control, m_id, m_flags);
        probe.In(variable);
        CComVariant& held = m_storage.emplace_back(probe.m_args.front());
        m_args.push_back(CComVariant::ByReference(&held));
        m_writeBacks.emplace_back([&variable, &held] { variable = As<T>(held); });
    }

    // Makes the call; the result in the member's type, T() when the call fails (the control's
    // lastError() says why).
    template <typename T>
    T Result() {
        return Run() ? As<T>(m_result) : T();
    }
    // Makes the call of a member without result; false when it fails.
    bool Run();

  private:
    template <typename T>
    static T As(const CComVariant& value) {
        QVariant converted;
        std::string ignored;
        VariantToQt(value, converted, ignored);
        return qvariant_cast<T>(converted);
    }

    QorControl& m_control;
    DISPID m_id;
    WORD m_flags;
    std::vector<CComVariant> m_args;
    // A deque, so that the storage stays where the references point while it grows.
    std::deque<CComVariant> m_storage;
    std::vector<std::function<void()>> m_writeBacks;
    CComVariant m_result;
};

}  // namespace qorwrap
