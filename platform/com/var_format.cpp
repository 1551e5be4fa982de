// Numbers, dates and booleans as text under a locale.
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "platform/com/date_parts.h"
#include "platform/com/exact_number.h"
#include "platform/com/locale_format.h"
#include "platform/com/var_text.h"

namespace {

HRESULT Deliver(std::string_view text, BSTR* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = SysAllocStringView(text);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// "%.*G" as the platform writes reals: upper-case exponent of at least two digits, the
// locale's decimal separator, no negative zero.
template <class Real>
std::string RealText(Real value, int significantDigits, const std::string& decimalSeparator) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (value == 0) {
        return "0";
    }
    std::array<char, 64> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::general, significantDigits);
    std::string text;
    for (const char* c = buffer.data(); c != end; ++c) {
        if (*c == '.') {
            text += decimalSeparator;
        } else {
            text += *c == 'e' ? 'E' : *c;
        }
    }
    return text;
}

std::string Padded(int value, std::size_t width) {
    std::string text = std::to_string(value);
    return text.size() < width ? std::string(width - text.size(), '0') + text : text;
}

std::size_t RunLength(std::string_view pattern, std::size_t start) {
    std::size_t end = start;
    while (end < pattern.size() && pattern[end] == pattern[start]) {
        ++end;
    }
    return end - start;
}

std::string PatternField(char letter, std::size_t run, const DateParts& parts,
                         const LocaleFormat& format) {
    const std::size_t width = std::min<std::size_t>(run, 2);
    switch (letter) {
        case 'd':
            return Padded(parts.day, width);
        case 'M':
            return Padded(parts.month, width);
        case 'y':
            return run <= 2 ? Padded(parts.year % 100, run) : Padded(parts.year, 4);
        case 'h':
            return Padded(parts.hour % 12 == 0 ? 12 : parts.hour % 12, width);
        case 'H':
            return Padded(parts.hour, width);
        case 'm':
            return Padded(parts.minute, width);
        case 's':
            return Padded(parts.second, width);
        case 't': {
            const std::string& designator = parts.hour < 12 ? format.am : format.pm;
            return run >= 2 ? designator : designator.substr(0, 1);
        }
        default:
            return std::string(run, letter);
    }
}

std::string FormatPattern(std::string_view pattern, const DateParts& parts,
                          const LocaleFormat& format) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] == '\'') {
            const std::size_t close = pattern.find('\'', i + 1);
            text += pattern.substr(i + 1, close - i - 1);
            i = close == std::string_view::npos ? pattern.size() : close + 1;
            continue;
        }
        const std::size_t run = RunLength(pattern, i);
        text += PatternField(pattern[i], run, parts, format);
        i += run;
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

std::string DateText(const DateParts& parts, ULONG flags, const LocaleFormat& format) {
    const bool hasDate = !(parts.year == 1899 && parts.month == 12 && parts.day == 30);
    const bool hasTime = parts.hour != 0 || parts.minute != 0 || parts.second != 0;
    const bool showDate =
        (flags & VAR_DATEVALUEONLY) != 0 || ((flags & VAR_TIMEVALUEONLY) == 0 && hasDate);
    const bool showTime = (flags & VAR_DATEVALUEONLY) == 0 &&
                          ((flags & VAR_TIMEVALUEONLY) != 0 || hasTime || !hasDate);
    std::string text = showDate ? FormatPattern(format.shortDate, parts, format) : std::string();
    if (showTime) {
        text += text.empty() ? "" : " ";
        text += FormatPattern(format.longTime, parts, format);
    }
    return text;
}

template <class Integer>
HRESULT IntegerText(Integer value, BSTR* out) {
    return Deliver(std::to_string(value), out);
}

}  // namespace

HRESULT VarBstrFromI1(CHAR value, LCID, ULONG, BSTR* out) {
    return IntegerText(int{static_cast<signed char>(value)}, out);
}

HRESULT VarBstrFromUI1(BYTE value, LCID, ULONG, BSTR* out) {
    return IntegerText(unsigned{value}, out);
}

HRESULT VarBstrFromI2(SHORT value, LCID, ULONG, BSTR* out) {
    return IntegerText(int{value}, out);
}

HRESULT VarBstrFromUI2(USHORT value, LCID, ULONG, BSTR* out) {
    return IntegerText(unsigned{value}, out);
}

HRESULT VarBstrFromI4(LONG value, LCID, ULONG, BSTR* out) {
    return IntegerText(value, out);
}

HRESULT VarBstrFromUI4(ULONG value, LCID, ULONG, BSTR* out) {
    return IntegerText(value, out);
}

HRESULT VarBstrFromI8(LONGLONG value, LCID, ULONG, BSTR* out) {
    return IntegerText(value, out);
}

HRESULT VarBstrFromUI8(ULONGLONG value, LCID, ULONG, BSTR* out) {
    return IntegerText(value, out);
}

HRESULT VarBstrFromR4(float value, LCID lcid, ULONG, BSTR* out) {
    return Deliver(RealText(value, kFloatTextDigits, LocaleFormatFor(lcid).decimalSeparator), out);
}

HRESULT VarBstrFromR8(double value, LCID lcid, ULONG, BSTR* out) {
    return Deliver(RealText(value, kDoubleTextDigits, LocaleFormatFor(lcid).decimalSeparator), out);
}

HRESULT VarBstrFromCy(CY value, LCID lcid, ULONG, BSTR* out) {
    const std::string separator = LocaleFormatFor(lcid).decimalSeparator;
    return Deliver(FormatExact(ExactFromCurrency(value), separator), out);
}

HRESULT VarBstrFromDec(const DECIMAL* value, LCID lcid, ULONG, BSTR* out) {
    if (value == nullptr || value->scale > DECIMAL_MAX_SCALE) {
        return E_INVALIDARG;
    }
    const std::string separator = LocaleFormatFor(lcid).decimalSeparator;
    return Deliver(FormatExact(ExactFromDecimal(*value), separator), out);
}

HRESULT VarBstrFromDate(DATE value, LCID lcid, ULONG flags, BSTR* out) {
    DateParts parts;
    if (!SplitDate(value, parts)) {
        return E_INVALIDARG;
    }
    return Deliver(DateText(parts, flags, LocaleFormatFor(lcid)), out);
}

HRESULT VarBstrFromBool(VARIANT_BOOL value, LCID lcid, ULONG flags, BSTR* out) {
    if ((flags & VAR_LOCALBOOL) != 0) {
        const LocaleFormat format = LocaleFormatFor(lcid);
        return Deliver(value != VARIANT_FALSE ? format.trueName : format.falseName, out);
    }
    return Deliver(value != VARIANT_FALSE ? "True" : "False", out);
}
