// Calendar arithmetic of OLE dates on the proleptic Gregorian calendar.
#include <array>
#include <cmath>

#include "platform/com/date_parts.h"
#include "platform/com/ole_date.h"

namespace {

constexpr long kSecondsPerDay = 86400;
// Days from 1970-01-01 back to the OLE epoch, 1899-12-30.
constexpr long kEpochOffset = 25569;

// Days since 1970-01-01 of a civil date.
long DaysFromCivil(long year, long month, long day) {
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(long days, DateParts& parts) {
    days += 719468;
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long monthIndex = (5 * dayOfYear + 2) / 153;
    parts.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    parts.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    parts.year = static_cast<int>(yearOfEra + era * 400 + (parts.month <= 2 ? 1 : 0));
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

int DaysInMonth(int year, int month) {
    static constexpr std::array kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

bool SplitDate(DATE date, DateParts& parts) {
    if (!(date >= kMinOleDate && date < kMaxOleDate + 1.0 / kSecondsPerDay)) {
        return false;
    }
    const double whole = std::trunc(date);
    long days = static_cast<long>(whole);
    long seconds = std::lround(std::fabs(date - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++days;
    }
    CivilFromDays(days - kEpochOffset, parts);
    parts.hour = static_cast<int>(seconds / 3600);
    parts.minute = static_cast<int>(seconds / 60 % 60);
    parts.second = static_cast<int>(seconds % 60);
    return parts.year <= 9999;
}

bool JoinDate(const DateParts& parts, DATE& date) {
    if (parts.year < 100 || parts.year > 9999 || parts.month < 1 || parts.month > 12 ||
        parts.day < 1 || parts.day > DaysInMonth(parts.year, parts.month) || parts.hour < 0 ||
        parts.hour > 23 || parts.minute < 0 || parts.minute > 59 || parts.second < 0 ||
        parts.second > 59) {
        return false;
    }
    const long days = DaysFromCivil(parts.year, parts.month, parts.day) + kEpochOffset;
    const double time =
        static_cast<double>(parts.hour * 3600 + parts.minute * 60 + parts.second) / kSecondsPerDay;
    date = days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
    return true;
}

INT VariantTimeToSystemTime(DATE date, SYSTEMTIME* time) {
    DateParts parts;
    if (time == nullptr || !SplitDate(date, parts)) {
        return 0;
    }
    const long days = DaysFromCivil(parts.year, parts.month, parts.day);
    *time = SYSTEMTIME{};
    time->wYear = static_cast<WORD>(parts.year);
    time->wMonth = static_cast<WORD>(parts.month);
    time->wDay = static_cast<WORD>(parts.day);
    time->wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    time->wHour = static_cast<WORD>(parts.hour);
    time->wMinute = static_cast<WORD>(parts.minute);
    time->wSecond = static_cast<WORD>(parts.second);
    return 1;
}

INT SystemTimeToVariantTime(const SYSTEMTIME* time, DATE* date) {
    if (time == nullptr || date == nullptr) {
        return 0;
    }
    const DateParts parts{time->wYear, time->wMonth,  time->wDay,
                          time->wHour, time->wMinute, time->wSecond};
    return JoinDate(parts, *date) ? 1 : 0;
}
