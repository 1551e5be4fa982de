// Decimal-digit arithmetic for exact numeric conversions.
#include "platform/com/exact_number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

using Limbs = std::array<std::uint32_t, 3>;  // 96 bits, least significant first

Limbs LimbsOf(const DECIMAL& d) {
    return {static_cast<std::uint32_t>(d.Lo64), static_cast<std::uint32_t>(d.Lo64 >> 32), d.Hi32};
}

bool IsZero(const Limbs& limbs) {
    return limbs[0] == 0 && limbs[1] == 0 && limbs[2] == 0;
}

// Divides in place and returns the remainder.
unsigned DivideBy10(Limbs& limbs) {
    std::uint64_t remainder = 0;
    for (std::size_t i = limbs.size(); i-- > 0;) {
        const std::uint64_t current = (remainder << 32) | limbs[i];
        limbs[i] = static_cast<std::uint32_t>(current / 10);
        remainder = current % 10;
    }
    return static_cast<unsigned>(remainder);
}

// limbs = limbs * 10 + digit; false on overflow of 96 bits.
bool MultiplyAdd(Limbs& limbs, unsigned digit) {
    std::uint64_t carry = digit;
    for (std::uint32_t& limb : limbs) {
        const std::uint64_t current = std::uint64_t{limb} * 10 + carry;
        limb = static_cast<std::uint32_t>(current);
        carry = current >> 32;
    }
    return carry == 0;
}

// No target holds more than 29 integer digits, so longer ones need not be written out.
constexpr long kMaxShift = 40;

// The value rounded half to even to `scale` fractional digits, as integer digits (the value
// times 10^scale) without normalisation.
std::string ScaledDigits(const ExactNumber& n, int scale) {
    const long shift = static_cast<long>(n.exponent) + scale;
    if (n.digits.empty()) {
        return "0";
    }
    if (shift > kMaxShift) {
        return std::string(kMaxShift + 1, '9');
    }
    if (shift >= 0) {
        return n.digits + std::string(static_cast<std::size_t>(shift), '0');
    }
    const auto dropped = static_cast<std::size_t>(-shift);
    if (dropped > n.digits.size() + 1) {
        return "0";
    }
    std::string kept =
        dropped >= n.digits.size() ? "0" : n.digits.substr(0, n.digits.size() - dropped);
    const std::string rest =
        dropped > n.digits.size() ? std::string() : n.digits.substr(n.digits.size() - dropped);
    // rest is empty only when dropped exceeds the digits by one: less than half then.
    bool up = false;
    if (!rest.empty()) {
        const bool tailNonZero = rest.find_first_not_of('0', 1) != std::string::npos;
        up = rest[0] > '5' || (rest[0] == '5' && (tailNonZero || (kept.back() - '0') % 2 == 1));
    }
    if (up) {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') {
            kept[--i] = '0';
        }
        if (i == 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[i - 1];
        }
    }
    return kept;
}

bool DigitsToUInt64(const std::string& digits, std::uint64_t& out) {
    const std::size_t start = std::min(digits.find_first_not_of('0'), digits.size());
    const char* first = digits.data() + start;
    const char* last = digits.data() + digits.size();
    if (first == last) {
        out = 0;
        return true;
    }
    const auto [end, error] = std::from_chars(first, last, out);
    return error == std::errc() && end == last;
}

bool MagnitudeToSigned(bool negative, std::uint64_t magnitude, std::int64_t& out) {
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
    if (negative ? magnitude > kLimit : magnitude >= kLimit) {
        return false;
    }
    out =
        negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

std::string RealLiteral(const ExactNumber& n) {
    return (n.negative ? "-" : "") + (n.digits.empty() ? std::string("0") : n.digits) + "e" +
           std::to_string(n.exponent);
}

// The largest double's text rounds up past it ("1.79769313486232E+308"), yet a value's text
// must read back as that value.
template <class Real>
bool WithinLargestText(const ExactNumber& n, int textDigits) {
    const ExactNumber largest = ExactFromReal(std::numeric_limits<Real>::max(), textDigits);
    ExactNumber magnitude = n;
    magnitude.negative = false;
    return CompareExact(magnitude, largest) <= 0;
}

template <class Real>
bool ExactToReal(const ExactNumber& n, Real& out, int textDigits) {
    const std::string literal = RealLiteral(n);
    Real value = 0;
    const auto [end, error] =
        std::from_chars(literal.data(), literal.data() + literal.size(), value);
    if (error == std::errc::result_out_of_range) {
        const bool tiny = static_cast<long>(n.digits.size()) + n.exponent <= 0;
        if (tiny) {
            out = Real{0};
            return true;
        }
        if (WithinLargestText<Real>(n, textDigits)) {
            out =
                n.negative ? std::numeric_limits<Real>::lowest() : std::numeric_limits<Real>::max();
            return true;
        }
        return false;
    }
    if (error != std::errc() || !std::isfinite(value)) {
        return false;
    }
    out = value;
    return true;
}

}  // namespace

void Normalize(ExactNumber& n) {
    const std::size_t first = n.digits.find_first_not_of('0');
    if (first == std::string::npos) {
        n = ExactNumber{};
        return;
    }
    const std::size_t last = n.digits.find_last_not_of('0');
    n.exponent += static_cast<int>(n.digits.size() - 1 - last);
    n.digits = n.digits.substr(first, last - first + 1);
}

ExactNumber ExactFromInt(std::int64_t value) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    ExactNumber n = ExactFromUInt(magnitude);
    n.negative = value < 0;
    return n;
}

ExactNumber ExactFromUInt(std::uint64_t value) {
    ExactNumber n{false, std::to_string(value), 0};
    Normalize(n);
    return n;
}

ExactNumber ExactFromCurrency(CY value) {
    ExactNumber n = ExactFromInt(value.int64);
    if (!n.digits.empty()) {
        n.exponent -= 4;
    }
    return n;
}

ExactNumber ExactFromDecimal(const DECIMAL& value) {
    Limbs limbs = LimbsOf(value);
    std::string reversed;
    while (!IsZero(limbs)) {
        reversed += static_cast<char>('0' + DivideBy10(limbs));
    }
    ExactNumber n{(value.sign & DECIMAL_NEG) != 0, std::string(reversed.rbegin(), reversed.rend()),
                  -static_cast<int>(value.scale)};
    Normalize(n);
    return n;
}

ExactNumber ExactFromReal(double value, int significantDigits) {
    ExactNumber n;
    if (!std::isfinite(value)) {
        return n;
    }
    std::array<char, 64> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                            std::chars_format::scientific, significantDigits - 1);
    if (error != std::errc()) {
        return n;
    }
    const std::string_view literal(text.data(), static_cast<std::size_t>(end - text.data()));
    const std::size_t e = literal.find('e');
    n.negative = literal.front() == '-';
    for (const char c : literal.substr(0, e)) {
        if (c >= '0' && c <= '9') {
            n.digits += c;
        }
    }
    int exponent = 0;
    const std::string_view exponentText = literal.substr(e + (literal[e + 1] == '+' ? 2 : 1));
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    n.exponent = exponent - (significantDigits - 1);
    Normalize(n);
    return n;
}

bool ExactToUInt64(const ExactNumber& n, std::uint64_t& out) {
    std::uint64_t magnitude = 0;
    if (!DigitsToUInt64(ScaledDigits(n, 0), magnitude) || (n.negative && magnitude != 0)) {
        return false;
    }
    out = magnitude;
    return true;
}

bool ExactToInt64(const ExactNumber& n, std::int64_t& out) {
    std::uint64_t magnitude = 0;
    return DigitsToUInt64(ScaledDigits(n, 0), magnitude) &&
           MagnitudeToSigned(n.negative, magnitude, out);
}

bool ExactToCurrency(const ExactNumber& n, CY& out) {
    std::uint64_t magnitude = 0;
    return DigitsToUInt64(ScaledDigits(n, 4), magnitude) &&
           MagnitudeToSigned(n.negative, magnitude, out.int64);
}

bool ExactToDecimal(const ExactNumber& n, DECIMAL& out) {
    const int integerDigits = static_cast<int>(n.digits.size()) + n.exponent;
    if (integerDigits > 29) {
        return false;
    }
    for (int scale = std::max(0, std::min<int>(DECIMAL_MAX_SCALE, -n.exponent)); scale >= 0;
         --scale) {
        ExactNumber rounded{false, ScaledDigits(n, scale), -scale};
        Limbs limbs{};
        bool fits = true;
        for (const char c : rounded.digits) {
            fits = fits && MultiplyAdd(limbs, static_cast<unsigned>(c - '0'));
        }
        if (fits) {
            out = DECIMAL{};
            out.scale = static_cast<BYTE>(scale);
            out.sign = n.negative && !IsZero(limbs) ? DECIMAL_NEG : 0;
            out.Hi32 = limbs[2];
            out.Lo64 = (std::uint64_t{limbs[1]} << 32) | limbs[0];
            return true;
        }
    }
    return false;
}

bool ExactToDouble(const ExactNumber& n, double& out) {
    return ExactToReal(n, out, kDoubleTextDigits);
}

bool ExactToFloat(const ExactNumber& n, float& out) {
    return ExactToReal(n, out, kFloatTextDigits);
}

int CompareExact(const ExactNumber& a, const ExactNumber& b) {
    const bool aZero = a.digits.empty();
    const bool bZero = b.digits.empty();
    if (aZero || bZero || a.negative != b.negative) {
        const int aSign = aZero ? 0 : (a.negative ? -1 : 1);
        const int bSign = bZero ? 0 : (b.negative ? -1 : 1);
        return aSign < bSign ? -1 : (aSign > bSign ? 1 : 0);
    }
    const int direction = a.negative ? -1 : 1;
    const long aMagnitude = static_cast<long>(a.digits.size()) + a.exponent;
    const long bMagnitude = static_cast<long>(b.digits.size()) + b.exponent;
    if (aMagnitude != bMagnitude) {
        return aMagnitude < bMagnitude ? -direction : direction;
    }
    const int order = a.digits.compare(b.digits);
    return order < 0 ? -direction : (order > 0 ? direction : 0);
}

std::string FormatExact(const ExactNumber& n, std::string_view decimalSeparator) {
    if (n.digits.empty()) {
        return "0";
    }
    std::string text = n.negative ? "-" : "";
    if (n.exponent >= 0) {
        return text + n.digits + std::string(static_cast<std::size_t>(n.exponent), '0');
    }
    const auto fractionDigits = static_cast<std::size_t>(-n.exponent);
    if (fractionDigits >= n.digits.size()) {
        text += "0";
        text += decimalSeparator;
        text += std::string(fractionDigits - n.digits.size(), '0') + n.digits;
    } else {
        const std::size_t integerDigits = n.digits.size() - fractionDigits;
        text += n.digits.substr(0, integerDigits);
        text += decimalSeparator;
        text += n.digits.substr(integerDigits);
    }
    return text;
}
