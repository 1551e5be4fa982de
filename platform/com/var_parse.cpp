// Text back to numbers, dates and booleans under a locale, strictly.
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string>

#include "platform/com/date_parts.h"
#include "platform/com/exact_number.h"
#include "platform/com/locale_format.h"
#include "platform/com/var_text.h"

namespace {

// Exponents beyond this put every value out of range or to zero already.
constexpr int kExponentLimit = 100000;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trimmed(LPCOLESTR text) {
    std::string_view view = text == nullptr ? std::string_view() : std::string_view(text);
    while (!view.empty() && IsBlank(view.front())) {
        view.remove_prefix(1);
    }
    while (!view.empty() && IsBlank(view.back())) {
        view.remove_suffix(1);
    }
    return view;
}

class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char c) {
        if (AtEnd() || Peek() != c) {
            return false;
        }
        ++pos_;
        return true;
    }
    bool Take(std::string_view token) {
        if (token.empty() || text_.substr(pos_, token.size()) != token) {
            return false;
        }
        pos_ += token.size();
        return true;
    }
    bool TakeNoCase(std::string_view token) {
        if (token.empty() || !SameNoCase(text_.substr(pos_, token.size()), token)) {
            return false;
        }
        pos_ += token.size();
        return true;
    }
    std::string_view TakeDigits() {
        const std::size_t start = pos_;
        while (IsDigit(Peek())) {
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }
    void SkipBlanks() {
        while (IsBlank(Peek())) {
            ++pos_;
        }
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// Group separators that are spaces of some width are all taken for one another.
bool TakeGroupSeparator(Cursor& cursor, const std::string& separator) {
    static constexpr std::array<std::string_view, 3> kSpaces{" ", "\u00A0", "\u202F"};
    const bool spaceLike = std::find(kSpaces.begin(), kSpaces.end(), separator) != kSpaces.end();
    if (!spaceLike) {
        return cursor.Take(separator);
    }
    return std::any_of(kSpaces.begin(), kSpaces.end(),
                       [&cursor](std::string_view space) { return cursor.Take(space); });
}

// Integer digits; group separators, when used, split them into groups of three after the first.
bool ReadIntegerDigits(Cursor& cursor, const LocaleFormat& format, std::string& digits) {
    std::string_view group = cursor.TakeDigits();
    digits = group;
    if (group.empty() || group.size() > 3) {
        return true;
    }
    while (TakeGroupSeparator(cursor, format.groupSeparator)) {
        group = cursor.TakeDigits();
        if (group.size() != 3) {
            return false;
        }
        digits += group;
    }
    return true;
}

bool ReadExponent(Cursor& cursor, int& exponent) {
    exponent = 0;
    if (!cursor.Take('e') && !cursor.Take('E')) {
        return true;
    }
    const bool negative = cursor.Take('-');
    if (!negative) {
        cursor.Take('+');
    }
    const std::string_view digits = cursor.TakeDigits();
    if (digits.empty()) {
        return false;
    }
    for (const char c : digits) {
        exponent = std::min(exponent * 10 + (c - '0'), kExponentLimit);
    }
    exponent = negative ? -exponent : exponent;
    return true;
}

std::optional<ExactNumber> ParseNumber(LPCOLESTR text, const LocaleFormat& format) {
    Cursor cursor(Trimmed(text));
    ExactNumber n;
    n.negative = cursor.Take('-');
    if (!n.negative) {
        cursor.Take('+');
    }
    std::string integerDigits;
    if (!ReadIntegerDigits(cursor, format, integerDigits)) {
        return std::nullopt;
    }
    std::string_view fractionDigits;
    if (cursor.Take(format.decimalSeparator)) {
        fractionDigits = cursor.TakeDigits();
    }
    int exponent = 0;
    if ((integerDigits.empty() && fractionDigits.empty()) || !ReadExponent(cursor, exponent) ||
        !cursor.AtEnd()) {
        return std::nullopt;
    }
    n.digits = integerDigits + std::string(fractionDigits);
    n.exponent =
        exponent - static_cast<int>(std::min<std::size_t>(fractionDigits.size(), kExponentLimit));
    Normalize(n);
    return n;
}

template <class Integer>
HRESULT IntegerFromText(LPCOLESTR text, LCID lcid, std::int64_t min, std::int64_t max,
                        Integer* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    const std::optional<ExactNumber> n = ParseNumber(text, LocaleFormatFor(lcid));
    if (!n) {
        return DISP_E_TYPEMISMATCH;
    }
    std::int64_t value = 0;
    if (!ExactToInt64(*n, value) || value < min || value > max) {
        return DISP_E_OVERFLOW;
    }
    *out = static_cast<Integer>(value);
    return S_OK;
}

template <class Target, class Convert>
HRESULT NumberFromText(LPCOLESTR text, LCID lcid, Target* out, Convert convert) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    const std::optional<ExactNumber> n = ParseNumber(text, LocaleFormatFor(lcid));
    if (!n) {
        return DISP_E_TYPEMISMATCH;
    }
    Target value{};
    if (!convert(*n, value)) {
        return DISP_E_OVERFLOW;
    }
    *out = value;
    return S_OK;
}

// The order of day, month and year in a short date pattern, as the letters "d", "M", "y".
std::string DateOrder(const std::string& pattern) {
    std::array<std::pair<std::size_t, char>, 3> positions{
        {{pattern.find('d'), 'd'}, {pattern.find('M'), 'M'}, {pattern.find('y'), 'y'}}};
    std::sort(positions.begin(), positions.end());
    std::string order;
    for (const auto& [position, letter] : positions) {
        order += letter;
    }
    return order;
}

bool TakeDateSeparator(Cursor& cursor) {
    return cursor.Take('/') || cursor.Take('.') || cursor.Take('-');
}

int NumberOf(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

int FullYear(std::string_view digits) {
    const int year = NumberOf(digits);
    if (digits.size() > 2) {
        return year;
    }
    return year < 30 ? 2000 + year : 1900 + year;
}

// Day, month and year after the first number, which the caller has read.
bool ReadDate(Cursor& cursor, std::string_view first, const LocaleFormat& format,
              DateParts& parts) {
    std::array<std::string_view, 3> numbers{first, {}, {}};
    for (std::size_t i = 1; i < numbers.size(); ++i) {
        if (!TakeDateSeparator(cursor)) {
            return false;
        }
        numbers[i] = cursor.TakeDigits();
        if (numbers[i].empty() || numbers[i].size() > 4) {
            return false;
        }
    }
    const std::string order = first.size() > 2 ? "yMd" : DateOrder(format.shortDate);
    for (std::size_t i = 0; i < order.size(); ++i) {
        const bool yearField = order[i] == 'y';
        if (!yearField && numbers[i].size() > 2) {
            return false;
        }
        const int value = yearField ? FullYear(numbers[i]) : NumberOf(numbers[i]);
        (order[i] == 'd' ? parts.day : order[i] == 'M' ? parts.month : parts.year) = value;
    }
    return true;
}

bool ReadTimeField(Cursor& cursor, int& value) {
    const std::string_view digits = cursor.TakeDigits();
    if (digits.empty() || digits.size() > 2) {
        return false;
    }
    value = NumberOf(digits);
    return true;
}

// The time after its hour, which the caller has read: ":mm[:ss]" and an optional AM/PM.
bool ReadTime(Cursor& cursor, std::string_view hour, const LocaleFormat& format, DateParts& parts) {
    if (hour.empty() || hour.size() > 2 || !cursor.Take(':') ||
        !ReadTimeField(cursor, parts.minute)) {
        return false;
    }
    if (cursor.Take(':') && !ReadTimeField(cursor, parts.second)) {
        return false;
    }
    parts.hour = NumberOf(hour);
    cursor.SkipBlanks();
    const bool am = cursor.TakeNoCase("AM") || cursor.TakeNoCase(format.am);
    const bool pm = !am && (cursor.TakeNoCase("PM") || cursor.TakeNoCase(format.pm));
    if (am || pm) {
        if (parts.hour < 1 || parts.hour > 12) {
            return false;
        }
        parts.hour = parts.hour % 12 + (pm ? 12 : 0);
    }
    return true;
}

bool ParseDate(LPCOLESTR text, const LocaleFormat& format, DATE& date) {
    Cursor cursor(Trimmed(text));
    DateParts parts;
    std::string_view number = cursor.TakeDigits();
    if (number.empty() || number.size() > 4) {
        return false;
    }
    if (cursor.Peek() != ':') {
        if (!ReadDate(cursor, number, format, parts)) {
            return false;
        }
        if (cursor.AtEnd()) {
            return JoinDate(parts, date);
        }
        if (!cursor.Take('T')) {
            if (!IsBlank(cursor.Peek())) {
                return false;
            }
            cursor.SkipBlanks();
        }
        number = cursor.TakeDigits();
    }
    if (!ReadTime(cursor, number, format, parts)) {
        return false;
    }
    cursor.SkipBlanks();
    return cursor.AtEnd() && JoinDate(parts, date);
}

}  // namespace

HRESULT VarI1FromStr(LPCOLESTR text, LCID lcid, ULONG, CHAR* out) {
    return IntegerFromText(text, lcid, -128, 127, out);
}

HRESULT VarUI1FromStr(LPCOLESTR text, LCID lcid, ULONG, BYTE* out) {
    return IntegerFromText(text, lcid, 0, 255, out);
}

HRESULT VarI2FromStr(LPCOLESTR text, LCID lcid, ULONG, SHORT* out) {
    return IntegerFromText(text, lcid, -32768, 32767, out);
}

HRESULT VarUI2FromStr(LPCOLESTR text, LCID lcid, ULONG, USHORT* out) {
    return IntegerFromText(text, lcid, 0, 65535, out);
}

HRESULT VarI4FromStr(LPCOLESTR text, LCID lcid, ULONG, LONG* out) {
    return IntegerFromText(text, lcid, std::numeric_limits<LONG>::min(),
                           std::numeric_limits<LONG>::max(), out);
}

HRESULT VarUI4FromStr(LPCOLESTR text, LCID lcid, ULONG, ULONG* out) {
    return IntegerFromText(text, lcid, 0, std::numeric_limits<ULONG>::max(), out);
}

HRESULT VarI8FromStr(LPCOLESTR text, LCID lcid, ULONG, LONGLONG* out) {
    return NumberFromText(text, lcid, out, ExactToInt64);
}

HRESULT VarUI8FromStr(LPCOLESTR text, LCID lcid, ULONG, ULONGLONG* out) {
    return NumberFromText(text, lcid, out, ExactToUInt64);
}

HRESULT VarR4FromStr(LPCOLESTR text, LCID lcid, ULONG, float* out) {
    return NumberFromText(text, lcid, out, ExactToFloat);
}

HRESULT VarR8FromStr(LPCOLESTR text, LCID lcid, ULONG, double* out) {
    return NumberFromText(text, lcid, out, ExactToDouble);
}

HRESULT VarCyFromStr(LPCOLESTR text, LCID lcid, ULONG, CY* out) {
    return NumberFromText(text, lcid, out, ExactToCurrency);
}

HRESULT VarDecFromStr(LPCOLESTR text, LCID lcid, ULONG, DECIMAL* out) {
    return NumberFromText(text, lcid, out, ExactToDecimal);
}

HRESULT VarDateFromStr(LPCOLESTR text, LCID lcid, ULONG, DATE* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    DATE date = 0;
    if (!ParseDate(text, LocaleFormatFor(lcid), date)) {
        return DISP_E_TYPEMISMATCH;
    }
    *out = date;
    return S_OK;
}

std::string LocaleDateOrder(LCID lcid) {
    return DateOrder(LocaleFormatFor(lcid).shortDate);
}

HRESULT VarBoolFromStr(LPCOLESTR text, LCID lcid, ULONG, VARIANT_BOOL* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    const std::string_view word = Trimmed(text);
    const LocaleFormat format = LocaleFormatFor(lcid);
    if (SameNoCase(word, "True") || SameNoCase(word, format.trueName)) {
        *out = VARIANT_TRUE;
        return S_OK;
    }
    if (SameNoCase(word, "False") || SameNoCase(word, format.falseName)) {
        *out = VARIANT_FALSE;
        return S_OK;
    }
    const std::optional<ExactNumber> n = ParseNumber(text, format);
    if (!n) {
        return DISP_E_TYPEMISMATCH;
    }
    *out = n->digits.empty() ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}
