// Internal: the number, date and boolean conventions of a locale that the conversions use.
#pragma once

#include <string>

#include "platform/com/com_types.h"

// Date and time patterns use d, dd, M, MM, yy, yyyy, h and hh (12-hour), H and HH (24-hour),
// m, mm, s, ss and tt (the AM/PM designator); 'quoted' text and other characters are literal.
struct LocaleFormat {
    std::string decimalSeparator;
    std::string groupSeparator;
    std::string shortDate;
    std::string longTime;
    std::string am;
    std::string pm;
    std::string trueName;
    std::string falseName;
};

// The conventions of the locale; the default locales resolve to the user's, an unknown locale
// gets en-US conventions.
LocaleFormat LocaleFormatFor(LCID lcid);
