// Numbers, dates and booleans as text under a locale, and text back to those types: the
// VarBstrFrom... and Var...FromStr conversions.
#pragma once

#include <string>

#include "platform/com/lcid.h"
#include "platform/com/variant.h"

// Flags of the conversions.
constexpr ULONG VAR_TIMEVALUEONLY = 0x01;  // a date's time of day alone
constexpr ULONG VAR_DATEVALUEONLY = 0x02;  // a date alone, in the locale's short date form
constexpr ULONG VAR_LOCALBOOL = 0x10;      // booleans in the locale's words

// Text of numbers: no group separators, the locale's decimal separator, a leading '-'. Reals
// have up to 15 (R8) or 7 (R4) significant digits and switch to the form "1E+21" / "1E-05" for
// large and small magnitudes; currency and decimal values are exact without trailing
// fractional zeros ("12.34" for 12.3400) and no currency symbol. The text is a new BSTR the
// caller frees; E_OUTOFMEMORY when it cannot be allocated.
HRESULT VarBstrFromI1(CHAR value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromUI1(BYTE value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromI2(SHORT value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromUI2(USHORT value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromI4(LONG value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromUI4(ULONG value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromI8(LONGLONG value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromUI8(ULONGLONG value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromR4(float value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromR8(double value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromCy(CY value, LCID lcid, ULONG flags, BSTR* out);
HRESULT VarBstrFromDec(const DECIMAL* value, LCID lcid, ULONG flags, BSTR* out);
// The locale's short date and long time ("1/2/2024 3:04:05 PM" in en-US): the date alone when
// the time is midnight or with VAR_DATEVALUEONLY, the time alone when the date is 1899-12-30 or
// with VAR_TIMEVALUEONLY. E_INVALIDARG outside the years 100 to 9999.
HRESULT VarBstrFromDate(DATE value, LCID lcid, ULONG flags, BSTR* out);
// "True" / "False", or with VAR_LOCALBOOL the locale's words.
HRESULT VarBstrFromBool(VARIANT_BOOL value, LCID lcid, ULONG flags, BSTR* out);

// Text to a type, strictly: blanks around the text are allowed, a sign, digits with the
// locale's decimal separator and group separators only between groups of three integer digits,
// and an exponent ("1,5E3" in de-DE). Integers take rounded values (half to even).
// DISP_E_TYPEMISMATCH for text that is no such value, DISP_E_OVERFLOW for a value that does not
// fit the type.
HRESULT VarI1FromStr(LPCOLESTR text, LCID lcid, ULONG flags, CHAR* out);
HRESULT VarUI1FromStr(LPCOLESTR text, LCID lcid, ULONG flags, BYTE* out);
HRESULT VarI2FromStr(LPCOLESTR text, LCID lcid, ULONG flags, SHORT* out);
HRESULT VarUI2FromStr(LPCOLESTR text, LCID lcid, ULONG flags, USHORT* out);
HRESULT VarI4FromStr(LPCOLESTR text, LCID lcid, ULONG flags, LONG* out);
HRESULT VarUI4FromStr(LPCOLESTR text, LCID lcid, ULONG flags, ULONG* out);
HRESULT VarI8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, LONGLONG* out);
HRESULT VarUI8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, ULONGLONG* out);
HRESULT VarR4FromStr(LPCOLESTR text, LCID lcid, ULONG flags, float* out);
HRESULT VarR8FromStr(LPCOLESTR text, LCID lcid, ULONG flags, double* out);
HRESULT VarCyFromStr(LPCOLESTR text, LCID lcid, ULONG flags, CY* out);
HRESULT VarDecFromStr(LPCOLESTR text, LCID lcid, ULONG flags, DECIMAL* out);
// A date in the order of the locale's short date (en-US month/day/year, de-DE day.month.year;
// '/', '.' and '-' all separate), or year-month-day with a four-digit year first, and/or a time
// h:mm[:ss] with an optional AM/PM; two-digit years are 1930 to 2029; a time alone is on
// 1899-12-30. The date must exist.
HRESULT VarDateFromStr(LPCOLESTR text, LCID lcid, ULONG flags, DATE* out);
// The order of day, month and year in the locale's short date, as the letters 'd', 'M' and 'y':
// "Mdy" in en-US, "dMy" in de-DE.
std::string LocaleDateOrder(LCID lcid);
// "True" / "False" in any letter case, the locale's words, or a number (non-zero is true).
HRESULT VarBoolFromStr(LPCOLESTR text, LCID lcid, ULONG flags, VARIANT_BOOL* out);
