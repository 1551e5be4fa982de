// Field values as the text the data-bound controls show, and the trimming of texts both ways.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/variant.h"

// The text of a field value under the user's default locale without user overrides, trimmed of
// leading and trailing white space, and never cut short however long the value is:
//   VT_I1 .. VT_UI4, VT_I8, VT_UI8, VT_R4, VT_R8, VT_CY, VT_DECIMAL  the VarBstrFrom... text
//   VT_INT, VT_UINT   the decimal digits of the value, unsigned for VT_UINT
//   VT_DATE           the date alone in the locale's short form, without the time of day
//   VT_BSTR           the string itself
//   VT_BOOL           "1" for true, "0" for false (kTrueText, kFalseText)
//   everything else   empty: VT_EMPTY, VT_NULL, objects, errors, arrays (binary values among
//                     them) and references, and a value its conversion refuses (a date
//                     outside the years 100 to 9999)
// Booleans read as "1" and "0" because they compare equal in every locale, match what a flag
// stored as an integer column reads as, and go back unchanged: a field put converts "1" and
// "0" to true and false. A check-box column bound to a boolean field therefore takes "1" as its
// checked and "0" as its unchecked value.
std::string FieldValueText(const VARIANT& value);

inline constexpr std::string_view kTrueText = "1";
inline constexpr std::string_view kFalseText = "0";

// The text without the blanks, tabs, line breaks, vertical tabs and form feeds around it.
std::string_view TrimWhiteSpace(std::string_view text);
