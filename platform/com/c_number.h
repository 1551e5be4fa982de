// The run-time library's number conversions as the "C" locale makes them, whatever locale the
// program runs under: printf's fixed notation and atof.
#pragma once

#include <string>
#include <string_view>

// What printf's "%0.<decimals>f" writes: '.' as the decimal point, rounded to the nearest.
std::string FormatFixed(double value, int decimals);
// What atof reads: leading white space, a sign, a decimal or hexadecimal number with '.' as the
// point and an exponent, infinity and NaN; the longest such prefix counts, and 0 when none.
double AtoF(std::string_view text);
