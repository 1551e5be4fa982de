// Conversions between VARIANTs and Qt values.
#include "embed/variant_values_qt.h"

#include <QVariantList>
#include <cmath>
#include <limits>
#include <span>
#include <vector>

#include "platform/com/lcid.h"
#include "platform/com/ole_date.h"

namespace {

// The largest integer a double holds exactly.
constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53

QVariant TextOf(const VARIANT& value) {
    CComVariant text;
    if (FAILED(VariantChangeTypeEx(&text, &value, LOCALE_INVARIANT, 0, VT_BSTR))) {
        return QVariant::fromValue(nullptr);
    }
    return QString::fromStdString(std::string(text.Text()));
}

bool ArrayToQt(const CComVariant& value, QVariant& out, std::string& error) {
    if (value.vt == (VT_ARRAY | VT_UI1) || value.vt == (VT_ARRAY | VT_I1)) {
        out = BytesToQt(value);
        return true;
    }
    LONG lower = 0;
    LONG upper = -1;
    if (value.vt != (VT_ARRAY | VT_VARIANT) ||
        FAILED(SafeArrayGetLBound(value.parray, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(value.parray, 1, &upper))) {
        error = NoFormError(value.vt, "Qt");
        return false;
    }
    QVariantList list;
    for (LONG i = lower; i <= upper; ++i) {
        CComVariant element;
        QVariant converted;
        if (FAILED(SafeArrayGetElement(value.parray, &i, &element)) ||
            !VariantToQt(element, converted, error)) {
            return false;
        }
        list.append(converted);
    }
    out = list;
    return true;
}

bool HeldToQt(const CComVariant& value, QVariant& out, std::string& error) {
    if ((value.vt & VT_ARRAY) != 0) {
        return ArrayToQt(value, out, error);
    }
    switch (value.vt) {
        case VT_EMPTY:
            out = QVariant();
            return true;
        case VT_NULL:
            out = QVariant::fromValue(nullptr);
            return true;
        case VT_ERROR:
            out = value.scode == DISP_E_PARAMNOTFOUND ? QVariant() : QVariant(value.scode);
            return true;
        case VT_BOOL:
            out = value.boolVal != VARIANT_FALSE;
            return true;
        case VT_BSTR:
            out = QString::fromStdString(std::string(value.Text()));
            return true;
        case VT_DATE:
            out = DateToQt(value.date);
            return true;
        case VT_I8:
        case VT_UI8:
        case VT_DECIMAL:
            out = ExactNumberToQt(value);
            return true;
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_INT:
        case VT_UI1:
        case VT_UI2: {
            CComVariant number;
            VariantChangeType(&number, &value, 0, VT_I4);
            out = static_cast<int>(number.lVal);
            return true;
        }
        case VT_UI4:
        case VT_UINT:
            out = static_cast<uint>(value.ulVal);
            return true;
        case VT_DISPATCH:
            out = QVariant::fromValue(QorDispatchPtr(value.pdispVal));
            return true;
        case VT_UNKNOWN: {
            QorDispatchPtr object;
            if (value.punkVal != nullptr) {
                ComQueryInterface(value.punkVal, object);
            }
            out = QVariant::fromValue(object);
            return true;
        }
        default:
            break;
    }
    CComVariant number;
    if (FAILED(VariantChangeType(&number, &value, 0, VT_R8))) {
        error = NoFormError(value.vt, "Qt");
        return false;
    }
    out = number.dblVal;
    return true;
}

CComVariant WholeNumberFromQt(qlonglong number) {
    if (number >= std::numeric_limits<LONG>::min() && number <= std::numeric_limits<LONG>::max()) {
        return CComVariant(static_cast<int>(number));
    }
    return CComVariant(static_cast<double>(number));
}

bool ListFromQt(const QVariantList& list, CComVariant& out, std::string& error) {
    if (!MakeVariantVector(static_cast<ULONG>(list.size()), out)) {
        error = "out of memory";
        return false;
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        CComVariant element;
        if (!VariantFromQt(list[i], element, error)) {
            return false;
        }
        const auto index = static_cast<LONG>(i);
        SafeArrayPutElement(out.parray, &index, &element);
    }
    return true;
}

}  // namespace

std::string NoFormError(VARTYPE vt, const char* form) {
    return "a value of variant type " + std::to_string(vt) + " has no " + form + " form";
}

bool VariantToQt(const VARIANT& value, QVariant& out, std::string& error) {
    CComVariant held;
    if (FAILED(VariantCopyInd(&held, &value))) {
        error = NoFormError(value.vt, "Qt");
        return false;
    }
    return HeldToQt(held, out, error);
}

QVariant ExactNumberToQt(const VARIANT& value) {
    CComVariant number;
    if (FAILED(VariantChangeType(&number, &value, 0, VT_R8))) {
        return TextOf(value);
    }
    if (value.vt == VT_I8 || value.vt == VT_UI8) {
        return std::fabs(number.dblVal) <= kExactIntegerLimit ? QVariant(number.dblVal)
                                                              : TextOf(value);
    }
    CComVariant back;
    const bool exact = SUCCEEDED(VariantChangeType(&back, &number, 0, value.vt)) &&
                       VarCmp(&back, &value, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ;
    return exact ? QVariant(number.dblVal) : TextOf(value);
}

QDateTime DateToQt(DATE date) {
    SYSTEMTIME time;
    if (VariantTimeToSystemTime(date, &time) == 0) {
        return {};
    }
    return QDateTime(QDate(time.wYear, time.wMonth, time.wDay),
                     QTime(time.wHour, time.wMinute, time.wSecond), Qt::LocalTime);
}

bool DateFromQt(const QDateTime& time, CComVariant& out, std::string& error) {
    const QDateTime local = time.toLocalTime();
    const int year = local.date().year();
    // A year that does not fit the calendar time would arrive cut to another year; the
    // conversion below refuses every other year outside the automation range.
    const bool yearFits = year >= 0 && year <= std::numeric_limits<WORD>::max();
    SYSTEMTIME parts;
    parts.wYear = static_cast<WORD>(year);
    parts.wMonth = static_cast<WORD>(local.date().month());
    parts.wDay = static_cast<WORD>(local.date().day());
    parts.wHour = static_cast<WORD>(local.time().hour());
    parts.wMinute = static_cast<WORD>(local.time().minute());
    parts.wSecond = static_cast<WORD>(local.time().second());
    DATE date = 0;
    if (!local.isValid() || !yearFits || SystemTimeToVariantTime(&parts, &date) == 0) {
        error = "the date is outside the range of automation dates";
        return false;
    }
    out = CComVariant::Date(date);
    return true;
}

QByteArray BytesToQt(const VARIANT& value) {
    CComVariant held(value);
    std::vector<BYTE> bytes;
    held.GetBytes(bytes);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

CComVariant BytesFromQt(const QByteArray& bytes) {
    return CComVariant::FromBytes(std::span<const BYTE>(
        reinterpret_cast<const BYTE*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

bool VariantFromQt(const QVariant& value, CComVariant& out, std::string& error) {
    out.Clear();
    switch (value.typeId()) {
        case QMetaType::UnknownType:
            out = CComVariant::Missing();
            return true;
        case QMetaType::Nullptr:
            out = CComVariant::Null();
            return true;
        case QMetaType::Bool:
            out = CComVariant(value.toBool());
            return true;
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
            out = WholeNumberFromQt(value.toLongLong());
            return true;
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            out = value.toULongLong() <= static_cast<qulonglong>(std::numeric_limits<LONG>::max())
                      ? CComVariant(static_cast<int>(value.toULongLong()))
                      : CComVariant(value.toDouble());
            return true;
        case QMetaType::Double:
        case QMetaType::Float:
            out = CComVariant(value.toDouble());
            return true;
        case QMetaType::QString:
            out = CComVariant(value.toString().toStdString());
            return true;
        case QMetaType::QDateTime:
            return DateFromQt(value.toDateTime(), out, error);
        case QMetaType::QDate:
            return DateFromQt(value.toDate().startOfDay(), out, error);
        case QMetaType::QByteArray:
            out = BytesFromQt(value.toByteArray());
            return true;
        case QMetaType::QVariantList:
        case QMetaType::QStringList:
            return ListFromQt(value.toList(), out, error);
        default:
            break;
    }
    if (value.canConvert<QorDispatchPtr>()) {
        out = CComVariant(value.value<QorDispatchPtr>().Get());
        return true;
    }
    error = std::string("a Qt value of type ") + value.typeName() +
            " cannot be passed as an automation value";
    return false;
}
