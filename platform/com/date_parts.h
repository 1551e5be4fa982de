// Internal: the calendar parts of an OLE date, shared by conversion to and from text.
#pragma once

#include "platform/com/variant.h"

struct DateParts {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// To the nearest second; false outside the date range.
bool SplitDate(DATE date, DateParts& parts);
// False for a date or time that does not exist or is out of range.
bool JoinDate(const DateParts& parts, DATE& date);
int DaysInMonth(int year, int month);
