// Conversions between VARIANTs and script values.
#include "tools/qorhost/script_values_qt.h"

#include <QDateTime>
#include <cmath>
#include <limits>
#include <memory>

#include "embed/variant_values_qt.h"
#include "tools/qorhost/script_dispatch_qt.h"

namespace {

// Arrays in arrays deeper than this are refused: deep enough for any data, and an array that
// holds itself would otherwise recurse without end.
constexpr int kMaxArrayDepth = 64;

std::string TypeError(VARTYPE vt) {
    return NoFormError(vt, "script");
}

QJSValue ExactNumber(const VARIANT& value) {
    const QVariant number = ExactNumberToQt(value);
    if (number.typeId() == QMetaType::Double) {
        return QJSValue(number.toDouble());
    }
    return number.typeId() == QMetaType::QString ? QJSValue(number.toString())
                                                 : QJSValue(QJSValue::NullValue);
}

QJSValue DateToScript(QJSEngine& engine, DATE date) {
    const QDateTime local = DateToQt(date);
    return local.isValid() ? engine.toScriptValue(local) : QJSValue(QJSValue::NullValue);
}

CComVariant NumberFromScript(double number) {
    const bool integral = std::isfinite(number) && number == std::trunc(number) &&
                          !(number == 0 && std::signbit(number));
    if (integral && number >= std::numeric_limits<LONG>::min() &&
        number <= std::numeric_limits<LONG>::max()) {
        return CComVariant(static_cast<int>(number));
    }
    return CComVariant(number);
}

bool IsByteBuffer(const QJSValue& value) {
    return value.isObject() && value.toVariant().typeId() == QMetaType::QByteArray;
}

}  // namespace

void CScriptValues::SetPrelude(QJSValue wrap, QJSValue refClass, QJSValue callable) {
    m_wrap = std::move(wrap);
    m_refClass = std::move(refClass);
    m_callable = std::move(callable);
}

QJSValue CScriptValues::Wrap(const CComPtr<IDispatch>& object) {
    if (!object) {
        return QJSValue(QJSValue::NullValue);
    }
    auto native = std::make_unique<CScriptDispatch>(object, *this);
    // Owned by the engine from here on: the reference goes when the collector takes the proxy,
    // or with the engine.
    const QJSValue scripted = m_engine.newQObject(native.release());
    return m_wrap.call({scripted});
}

IDispatch* CScriptValues::DispatchOf(const QJSValue& value) {
    if (!value.isObject()) {
        return nullptr;
    }
    const auto* native =
        qobject_cast<CScriptDispatch*>(value.property(QStringLiteral("__native")).toQObject());
    return native != nullptr ? native->Dispatch() : nullptr;
}

bool CScriptValues::ToScript(const VARIANT& value, QJSValue& out, std::string& error) {
    CComVariant held;
    if (FAILED(VariantCopyInd(&held, &value))) {
        error = TypeError(value.vt);
        return false;
    }
    return HeldToScript(held, out, error);
}

bool CScriptValues::HeldToScript(const CComVariant& value, QJSValue& out, std::string& error) {
    if ((value.vt & VT_ARRAY) != 0) {
        return ArrayToScript(value, out, error);
    }
    switch (value.vt) {
        case VT_EMPTY:
            out = QJSValue(QJSValue::UndefinedValue);
            return true;
        case VT_NULL:
            out = QJSValue(QJSValue::NullValue);
            return true;
        case VT_ERROR:
            out = value.scode == DISP_E_PARAMNOTFOUND ? QJSValue(QJSValue::UndefinedValue)
                                                      : QJSValue(static_cast<int>(value.scode));
            return true;
        case VT_BOOL:
            out = QJSValue(value.boolVal != VARIANT_FALSE);
            return true;
        case VT_BSTR:
            out = QJSValue(QString::fromStdString(std::string(value.Text())));
            return true;
        case VT_DATE:
            out = DateToScript(m_engine, value.date);
            return true;
        case VT_I8:
        case VT_UI8:
        case VT_DECIMAL:
            out = ExactNumber(value);
            return true;
        case VT_DISPATCH:
            out = Wrap(CComPtr<IDispatch>(value.pdispVal));
            return true;
        case VT_UNKNOWN: {
            CComPtr<IDispatch> object;
            if (value.punkVal != nullptr) {
                ComQueryInterface(value.punkVal, object);
            }
            out = Wrap(object);
            return true;
        }
        default:
            break;
    }
    CComVariant number;
    if (FAILED(VariantChangeType(&number, &value, 0, VT_R8))) {
        error = TypeError(value.vt);
        return false;
    }
    out = QJSValue(number.dblVal);
    return true;
}

bool CScriptValues::ArrayToScript(const CComVariant& value, QJSValue& out, std::string& error) {
    if (value.vt == (VT_ARRAY | VT_UI1) || value.vt == (VT_ARRAY | VT_I1)) {
        out = m_engine.toScriptValue(BytesToQt(value));
        return true;
    }
    LONG lower = 0;
    LONG upper = -1;
    if (value.vt != (VT_ARRAY | VT_VARIANT) ||
        FAILED(SafeArrayGetLBound(value.parray, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(value.parray, 1, &upper))) {
        error = TypeError(value.vt);
        return false;
    }
    out = m_engine.newArray(static_cast<uint>(upper - lower + 1));
    for (LONG i = lower; i <= upper; ++i) {
        CComVariant element;
        QJSValue converted;
        if (FAILED(SafeArrayGetElement(value.parray, &i, &element)) ||
            !ToScript(element, converted, error)) {
            return false;
        }
        out.setProperty(static_cast<quint32>(i - lower), converted);
    }
    return true;
}

bool CScriptValues::FromScript(const QJSValue& value, CComVariant& out, std::string& error) {
    return FromScriptAt(value, 0, out, error);
}

bool CScriptValues::FromScriptAt(const QJSValue& value, int depth, CComVariant& out,
                                 std::string& error) {
    out.Clear();
    if (value.isUndefined()) {
        out = CComVariant::Missing();
    } else if (value.isNull()) {
        out = CComVariant::Null();
    } else if (value.isBool()) {
        out = CComVariant(value.toBool());
    } else if (value.isNumber()) {
        out = NumberFromScript(value.toNumber());
    } else if (value.isString()) {
        out = CComVariant(value.toString().toStdString());
    } else if (value.isDate()) {
        return DateFromQt(value.toDateTime(), out, error);
    } else if (IDispatch* object = DispatchOf(value)) {
        out = CComVariant(object);
    } else if (value.isArray()) {
        return ArrayFromScript(value, depth, out, error);
    } else if (IsByteBuffer(value)) {
        out = BytesFromQt(value.toVariant().toByteArray());
    } else {
        error = "a script object or function cannot be passed as an automation value";
        return false;
    }
    return true;
}

bool CScriptValues::ArrayFromScript(const QJSValue& value, int depth, CComVariant& out,
                                    std::string& error) {
    if (depth >= kMaxArrayDepth) {
        error = "arrays nest deeper than " + std::to_string(kMaxArrayDepth) +
                " levels (does an array hold itself?)";
        return false;
    }
    const auto length = static_cast<ULONG>(value.property(QStringLiteral("length")).toUInt());
    if (!MakeVariantVector(length, out)) {
        error = "out of memory";
        return false;
    }
    for (ULONG i = 0; i < length; ++i) {
        CComVariant element;
        if (!FromScriptAt(value.property(i), depth + 1, element, error)) {
            return false;
        }
        const auto index = static_cast<LONG>(i);
        SafeArrayPutElement(out.parray, &index, &element);
    }
    return true;
}

bool CScriptArguments::Build(const QJSValue& args, std::string& error) {
    const quint32 count = args.property(QStringLiteral("length")).toUInt();
    for (quint32 i = 0; i < count; ++i) {
        const QJSValue arg = args.property(i);
        const bool isRef =
            arg.isObject() && arg.prototype().strictlyEquals(
                                  m_values.m_refClass.property(QStringLiteral("prototype")));
        CComVariant value;
        if (!m_values.FromScript(isRef ? arg.property(QStringLiteral("value")) : arg, value,
                                 error)) {
            error.insert(0, "argument " + std::to_string(i + 1) + ": ");
            return false;
        }
        if (!isRef) {
            m_arguments.push_back(std::move(value));
            continue;
        }
        // A reference to a missing value would read as an omitted argument: it starts empty.
        CComVariant& storage = m_storage.emplace_back(value.IsMissing() ? CComVariant() : value);
        m_refs.emplace_back(arg, &storage);
        m_arguments.push_back(CComVariant::ByReference(&storage));
    }
    return true;
}

bool CScriptArguments::StoreOutValues(std::string& error) {
    for (auto& [ref, storage] : m_refs) {
        QJSValue converted;
        if (!m_values.ToScript(*storage, converted, error)) {
            return false;
        }
        ref.setProperty(QStringLiteral("value"), converted);
    }
    return true;
}
