// Conversions between VARIANTs and script values.
#include "tools/qorhost/script_values_qt.h"

#include <QDateTime>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "platform/com/lcid.h"
#include "platform/com/ole_date.h"
#include "tools/qorhost/script_dispatch_qt.h"

namespace {

// Arrays in arrays deeper than this are refused: deep enough for any data, and an array that
// holds itself would otherwise recurse without end.
constexpr int kMaxArrayDepth = 64;

// The largest integer a script number holds exactly.
constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53

std::string TypeError(VARTYPE vt) {
    return "a value of variant type " + std::to_string(vt) + " has no script form";
}

QJSValue TextOf(const VARIANT& value) {
    CComVariant text;
    if (FAILED(VariantChangeTypeEx(&text, &value, LOCALE_INVARIANT, 0, VT_BSTR))) {
        return QJSValue(QJSValue::NullValue);
    }
    return QJSValue(QString::fromStdString(std::string(text.Text())));
}

// Decimals and 64-bit integers are numbers when a number holds them exactly, and their text
// otherwise, so that no digit is lost on the way.
QJSValue ExactNumber(const VARIANT& value) {
    CComVariant number;
    if (FAILED(VariantChangeType(&number, &value, 0, VT_R8))) {
        return TextOf(value);
    }
    if (value.vt == VT_I8 || value.vt == VT_UI8) {
        return std::fabs(number.dblVal) <= kExactIntegerLimit ? QJSValue(number.dblVal)
                                                              : TextOf(value);
    }
    CComVariant back;
    const bool exact = SUCCEEDED(VariantChangeType(&back, &number, 0, value.vt)) &&
                       VarCmp(&back, &value, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
    return exact ? QJSValue(number.dblVal) : TextOf(value);
}

QJSValue DateToScript(QJSEngine& engine, DATE date) {
    SYSTEMTIME time;
    if (VariantTimeToSystemTime(date, &time) == 0) {
        return QJSValue(QJSValue::NullValue);
    }
    const QDateTime local(QDate(time.wYear, time.wMonth, time.wDay),
                          QTime(time.wHour, time.wMinute, time.wSecond), Qt::LocalTime);
    return engine.toScriptValue(local);
}

bool DateFromScript(const QJSValue& value, CComVariant& out, std::string& error) {
    const QDateTime local = value.toDateTime().toLocalTime();
    const int year = local.date().year();
    // A year that does not fit the calendar time would arrive cut to another year; the
    // conversion below refuses every other year outside the automation range.
    const bool yearFits = year >= 0 && year <= std::numeric_limits<WORD>::max();
    SYSTEMTIME time;
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(local.date().month());
    time.wDay = static_cast<WORD>(local.date().day());
    time.wHour = static_cast<WORD>(local.time().hour());
    time.wMinute = static_cast<WORD>(local.time().minute());
    time.wSecond = static_cast<WORD>(local.time().second());
    DATE date = 0;
    if (!local.isValid() || !yearFits || SystemTimeToVariantTime(&time, &date) == 0) {
        error = "the date is outside the range of automation dates";
        return false;
    }
    out = CComVariant::Date(date);
    return true;
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

CComVariant BytesFromScript(const QJSValue& value) {
    const QByteArray bytes = value.toVariant().toByteArray();
    return CComVariant::FromBytes(std::span<const BYTE>(
        reinterpret_cast<const BYTE*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
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
        std::vector<BYTE> bytes;
        value.GetBytes(bytes);
        out = m_engine.toScriptValue(QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<qsizetype>(bytes.size())));
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
        return DateFromScript(value, out, error);
    } else if (IDispatch* object = DispatchOf(value)) {
        out = CComVariant(object);
    } else if (value.isArray()) {
        return ArrayFromScript(value, depth, out, error);
    } else if (IsByteBuffer(value)) {
        out = BytesFromScript(value);
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
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, length);
    if (array == nullptr) {
        error = "out of memory";
        return false;
    }
    VARIANT holder;
    holder.vt = VT_ARRAY | VT_VARIANT;
    holder.parray = array;
    out.Attach(&holder);
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
