// Conversions of field values: provider storage to VARIANTs and back, by the field's type.
#include "platform/ado/value_convert.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <span>
#include <vector>

#include "platform/com/ole_date.h"
#include "platform/com/var_text.h"

namespace {

// Days between the Julian day epoch and the OLE date epoch (1899-12-30 midnight).
constexpr double kJulianOfOleEpoch = 2415018.5;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string RealText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "Infinity" : "-Infinity";
    }
    char buffer[32];  // NOLINT(*-avoid-c-arrays): to_chars wants a buffer
    const auto result = std::to_chars(std::begin(buffer), std::end(buffer), value);
    return std::string(std::begin(buffer), result.ptr);
}

HRESULT FromText(std::string_view text, VARTYPE vt, CComVariant& out) {
    const CComVariant source(text);
    CComVariant converted;
    const HRESULT hr = VariantChangeTypeEx(&converted, &source, kProviderLocale, 0, vt);
    if (SUCCEEDED(hr)) {
        out = std::move(converted);
    }
    return hr;
}

// PostgreSQL's money text carries a currency sign and group separators: "-$1,234.50".
std::string MoneyDigits(std::string_view text) {
    std::string digits;
    bool negative = false;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '.') {
            digits += c;
        } else if (c == '-' || c == '(') {
            negative = true;
        }
    }
    return negative ? "-" + digits : digits;
}

HRESULT NumberTo(VARTYPE vt, const CComVariant& number, CComVariant& out) {
    CComVariant converted;
    const HRESULT hr = VariantChangeTypeEx(&converted, &number, kProviderLocale, 0, vt);
    if (SUCCEEDED(hr)) {
        out = std::move(converted);
    }
    return hr;
}

// Integers too wide for the field's variant type become exact decimals instead.
HRESULT IntegerTo(VARTYPE vt, std::int64_t value, CComVariant& out) {
    if (vt == VT_I4 && value >= std::numeric_limits<LONG>::min() &&
        value <= std::numeric_limits<LONG>::max()) {
        out = CComVariant(static_cast<int>(value));
        return S_OK;
    }
    if (vt == VT_I2 && value >= std::numeric_limits<SHORT>::min() &&
        value <= std::numeric_limits<SHORT>::max()) {
        out = CComVariant(static_cast<SHORT>(value));
        return S_OK;
    }
    const CComVariant wide(static_cast<long long>(value));
    return NumberTo(vt == VT_I4 || vt == VT_I2 ? VT_DECIMAL : vt, wide, out);
}

HRESULT TextToVariant(const FieldType& type, const std::string& text, CComVariant& out) {
    HRESULT hr = S_OK;
    switch (type.vt) {
        case VT_BSTR:
            out = CComVariant(text);
            return S_OK;
        case VT_DATE: {
            const std::optional<DATE> date = ParseIsoDate(text);
            hr = date ? S_OK : FromText(text, VT_DATE, out);
            if (date) {
                out = CComVariant::Date(*date);
            }
            break;
        }
        case VT_BOOL: {
            const std::string_view t = Trimmed(text);
            if (t == "t" || t == "true" || t == "1" || t == "TRUE" || t == "True") {
                out = CComVariant(true);
            } else if (t == "f" || t == "false" || t == "0" || t == "FALSE" || t == "False") {
                out = CComVariant(false);
            } else {
                hr = DISP_E_TYPEMISMATCH;
            }
            break;
        }
        case VT_CY:
            hr = FromText(text.find_first_of("$,(") != std::string::npos ? MoneyDigits(text) : text,
                          VT_CY, out);
            break;
        case VT_I4:
        case VT_I2:
            hr = FromText(text, type.vt, out);
            if (FAILED(hr)) {
                hr = FromText(text, VT_DECIMAL, out);
            }
            break;
        case VT_ARRAY | VT_UI1:
            out = CComVariant::FromBytes(
                std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()));
            break;
        default:
            hr = FromText(text, type.vt, out);
            break;
    }
    if (FAILED(hr)) {
        out = CComVariant(text);
    }
    return S_OK;
}

HRESULT RealToVariant(const FieldType& type, double value, CComVariant& out) {
    if (type.vt == VT_DATE) {
        out = CComVariant::Date(value - kJulianOfOleEpoch);
        return S_OK;
    }
    if (type.vt == VT_BSTR) {
        out = CComVariant(RealText(value));
        return S_OK;
    }
    if (type.vt == (VT_ARRAY | VT_UI1)) {
        const std::string text = RealText(value);
        out = CComVariant::FromBytes(
            std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()));
        return S_OK;
    }
    const HRESULT hr = NumberTo(type.vt, CComVariant(value), out);
    if (FAILED(hr)) {
        out = CComVariant(value);
    }
    return S_OK;
}

HRESULT IntegerToVariant(const FieldType& type, std::int64_t value, CComVariant& out) {
    if (type.vt == VT_DATE) {
        return RealToVariant(type, static_cast<double>(value), out);
    }
    if (type.vt == VT_BOOL) {
        out = CComVariant(value != 0);
        return S_OK;
    }
    if (type.vt == VT_BSTR || type.vt == (VT_ARRAY | VT_UI1)) {
        return TextToVariant(type, std::to_string(value), out);
    }
    const HRESULT hr = IntegerTo(type.vt, value, out);
    if (FAILED(hr)) {
        out = CComVariant(static_cast<long long>(value));
    }
    return S_OK;
}

int TwoDigits(std::string_view text, std::size_t at) {
    if (at + 2 > text.size() || text[at] < '0' || text[at] > '9' || text[at + 1] < '0' ||
        text[at + 1] > '9') {
        return -1;
    }
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

std::string ByteText(const std::vector<BYTE>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

HRESULT TooLong() {
    return adErrDataConversion;
}

HRESULT ToTextValue(const FieldType& type, const VARIANT& value, LCID lcid, DbValue& out) {
    CComVariant text;
    HRESULT hr = VariantChangeTypeEx(&text, &value, lcid, VARIANT_ALPHABOOL, VT_BSTR);
    if (FAILED(hr)) {
        return hr;
    }
    std::string s(text.Text());
    if (!type.IsLong() && Utf8Length(s) > static_cast<std::size_t>(type.definedSize)) {
        return TooLong();
    }
    out = std::move(s);
    return S_OK;
}

HRESULT ToBinaryValue(const FieldType& type, const VARIANT& value, DbValue& out) {
    CComVariant copy(value);
    std::vector<BYTE> bytes;
    std::string data;
    if (copy.GetBytes(bytes)) {
        data = ByteText(bytes);
    } else if (copy.vt == VT_BSTR) {
        data = std::string(copy.Text());
    } else {
        return DISP_E_TYPEMISMATCH;
    }
    if (!type.IsLong() && data.size() > static_cast<std::size_t>(type.definedSize)) {
        return TooLong();
    }
    out = DbBlob{std::move(data)};
    return S_OK;
}

HRESULT Converted(const VARIANT& value, LCID lcid, VARTYPE vt, CComVariant& out) {
    return VariantChangeTypeEx(&out, &value, lcid, 0, vt);
}

// NaN and the infinities are out of every field's range, as they are for whole numbers and
// currency: SQLite would store NULL for NaN, PostgreSQL NaN itself.
HRESULT Finite(double value, DbValue& out) {
    if (!std::isfinite(value)) {
        return DISP_E_OVERFLOW;
    }
    out = value;
    return S_OK;
}

HRESULT ToNumericValue(const FieldType& type, const VARIANT& value, LCID lcid, DbValue& out) {
    CComVariant v;
    HRESULT hr = S_OK;
    switch (type.type) {
        case adInteger:
        case adSmallInt:
        case adBigInt: {
            const VARTYPE vt = type.type == adBigInt    ? VT_I8
                               : type.type == adInteger ? VT_I4
                                                        : VT_I2;
            hr = Converted(value, lcid, vt, v);
            if (SUCCEEDED(hr)) {
                out = vt == VT_I8 ? v.llVal : vt == VT_I4 ? std::int64_t{v.lVal} : v.iVal;
            }
            return hr;
        }
        case adSingle:
            hr = Converted(value, lcid, VT_R4, v);
            if (SUCCEEDED(hr)) {
                hr = Finite(v.fltVal, out);
            }
            return hr;
        case adCurrency: {
            hr = Converted(value, lcid, VT_CY, v);
            BSTR text = nullptr;
            if (SUCCEEDED(hr)) {
                hr = VarBstrFromCy(v.cyVal, kProviderLocale, 0, &text);
            }
            if (SUCCEEDED(hr)) {
                out = DbDecimal{std::string(BstrView(text))};
                SysFreeString(text);
            }
            return hr;
        }
        case adNumeric:
        case adDecimal:
        case adVarNumeric: {
            hr = Converted(value, lcid, VT_DECIMAL, v);
            BSTR text = nullptr;
            if (SUCCEEDED(hr)) {
                hr = VarBstrFromDec(&v.decVal, kProviderLocale, 0, &text);
            }
            if (SUCCEEDED(hr)) {
                out = DbDecimal{std::string(BstrView(text))};
                SysFreeString(text);
            }
            return hr;
        }
        default:
            hr = Converted(value, lcid, VT_R8, v);
            if (SUCCEEDED(hr)) {
                hr = Finite(v.dblVal, out);
            }
            return hr;
    }
}

}  // namespace

HRESULT DbToVariant(const FieldType& type, const DbValue& value, CComVariant& out) {
    if (IsNull(value)) {
        out = CComVariant::Null();
        return S_OK;
    }
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return IntegerToVariant(type, *integer, out);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return RealToVariant(type, *real, out);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return TextToVariant(type, *text, out);
    }
    if (const auto* decimal = std::get_if<DbDecimal>(&value)) {
        return TextToVariant(type, decimal->text, out);
    }
    const std::string& bytes = std::get<DbBlob>(value).bytes;
    if (type.vt == VT_BSTR) {
        out = CComVariant(bytes);
    } else {
        out = CComVariant::FromBytes(
            std::span(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size()));
    }
    return S_OK;
}

HRESULT VariantToDb(const FieldType& type, const VARIANT& value, LCID lcid, DbValue& out) {
    CComVariant plain;
    HRESULT hr = VariantCopyInd(&plain, &value);
    if (FAILED(hr)) {
        return hr;
    }
    if (plain.vt == VT_NULL || plain.vt == VT_EMPTY) {
        out = std::monostate{};
        return S_OK;
    }
    if (type.IsText()) {
        return ToTextValue(type, plain, lcid, out);
    }
    if (type.IsBinary()) {
        return ToBinaryValue(type, plain, out);
    }
    if (plain.vt == VT_BSTR && Trimmed(plain.Text()).empty()) {
        out = std::monostate{};
        return S_OK;
    }
    if (type.type == adDate || type.type == adDBDate || type.type == adDBTimeStamp) {
        CComVariant date;
        hr = Converted(plain, lcid, VT_DATE, date);
        if (SUCCEEDED(hr)) {
            out = FormatIsoDate(date.date, type.dateOnly);
        }
        return hr;
    }
    if (type.type == adBoolean) {
        CComVariant flag;
        hr = Converted(plain, lcid, VT_BOOL, flag);
        if (SUCCEEDED(hr)) {
            out = std::int64_t{flag.boolVal != VARIANT_FALSE ? 1 : 0};
        }
        return hr;
    }
    return ToNumericValue(type, plain, lcid, out);
}

std::optional<DATE> ParseIsoDate(std::string_view text) {
    text = Trimmed(text);
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    const int century = TwoDigits(text, 0);
    const int year = TwoDigits(text, 2);
    SYSTEMTIME time;
    const int month = TwoDigits(text, 5);
    const int day = TwoDigits(text, 8);
    if (century < 0 || year < 0 || month < 0 || day < 0) {
        return std::nullopt;
    }
    time.wYear = static_cast<WORD>(century * 100 + year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    if (text.size() > 10) {
        if ((text[10] != ' ' && text[10] != 'T') || text.size() < 16 || text[13] != ':') {
            return std::nullopt;
        }
        const int hour = TwoDigits(text, 11);
        const int minute = TwoDigits(text, 14);
        const int second = text.size() >= 19 && text[16] == ':' ? TwoDigits(text, 17) : 0;
        if (hour < 0 || minute < 0 || second < 0) {
            return std::nullopt;
        }
        time.wHour = static_cast<WORD>(hour);
        time.wMinute = static_cast<WORD>(minute);
        time.wSecond = static_cast<WORD>(second);
    }
    DATE date = 0;
    if (SystemTimeToVariantTime(&time, &date) == 0) {
        return std::nullopt;
    }
    return date;
}

std::string FormatIsoDate(DATE date, bool dateOnly) {
    SYSTEMTIME t;
    if (VariantTimeToSystemTime(date, &t) == 0) {
        return {};
    }
    char buffer[64];  // NOLINT(*-avoid-c-arrays): snprintf wants a buffer
    if (dateOnly) {
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", t.wYear, t.wMonth, t.wDay);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth,
                      t.wDay, t.wHour, t.wMinute, t.wSecond);
    }
    return buffer;
}

std::size_t Utf8Length(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

std::string DbValueText(const DbValue& value) {
    if (const auto* integer = std::get_if<std::int64_t>(&value)) {
        return std::to_string(*integer);
    }
    if (const auto* real = std::get_if<double>(&value)) {
        return RealText(*real);
    }
    if (const auto* text = std::get_if<std::string>(&value)) {
        return *text;
    }
    if (const auto* decimal = std::get_if<DbDecimal>(&value)) {
        return decimal->text;
    }
    if (const auto* blob = std::get_if<DbBlob>(&value)) {
        return blob->bytes;
    }
    return {};
}
