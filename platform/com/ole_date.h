// OLE automation dates (days since 1899-12-30, the time of day as the fraction) and calendar
// times, converted both ways for the years 100 to 9999.
#pragma once

#include "platform/com/variant.h"

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    WORD wDayOfWeek = 0;  // 0 is Sunday
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

// The smallest and largest dates: 100-01-01 and 9999-12-31 23:59:59.
constexpr DATE kMinOleDate = -657434.0;
constexpr DATE kMaxOleDate = 2958465.99998843;

// To the nearest second; FALSE (0) outside the date range.
INT VariantTimeToSystemTime(DATE date, SYSTEMTIME* time);
// Milliseconds are ignored; FALSE (0) for a date that does not exist or is out of range.
INT SystemTimeToVariantTime(const SYSTEMTIME* time, DATE* date);
