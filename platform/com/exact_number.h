// Internal: numbers as decimal digits, so that currency, decimal and integer conversions and
// comparisons are exact and no binary floating point comes between them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/variant.h"

// The value (negative ? -1 : 1) * digits * 10^exponent. Normalised: digits has no leading or
// trailing zeros (those go into the exponent); zero is empty digits, not negative.
struct ExactNumber {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

void Normalize(ExactNumber& n);

// The significant digits a real's text shows.
constexpr int kDoubleTextDigits = 15;
constexpr int kFloatTextDigits = 7;

ExactNumber ExactFromInt(std::int64_t value);
ExactNumber ExactFromUInt(std::uint64_t value);
ExactNumber ExactFromCurrency(CY value);
ExactNumber ExactFromDecimal(const DECIMAL& value);
// The finite value rounded to that many significant digits, as the platform converts reals.
ExactNumber ExactFromReal(double value, int significantDigits);

// Rounded half to even; false when the result does not fit the type.
bool ExactToInt64(const ExactNumber& n, std::int64_t& out);
bool ExactToUInt64(const ExactNumber& n, std::uint64_t& out);
bool ExactToCurrency(const ExactNumber& n, CY& out);
// Rounded to the most fractional digits (up to 28) that fit in 96 bits.
bool ExactToDecimal(const ExactNumber& n, DECIMAL& out);
// Correctly rounded; false when beyond the type's range, except that a value beyond it by no
// more than the largest value's own text is the largest value.
bool ExactToDouble(const ExactNumber& n, double& out);
bool ExactToFloat(const ExactNumber& n, float& out);

// -1, 0 or 1.
int CompareExact(const ExactNumber& a, const ExactNumber& b);

// Plain positional notation with the given decimal separator, no exponent, no group
// separators and no trailing fractional zeros.
std::string FormatExact(const ExactNumber& n, std::string_view decimalSeparator);
