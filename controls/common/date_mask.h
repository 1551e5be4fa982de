// Dates shown and typed through a date-layout mask such as "##/##/####".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/com/lcid.h"
#include "platform/com/variant.h"

// A mask of three digit groups, two of two digits and one of four (the year), with one literal
// character between groups: "##/##/####", "##.##.####", "####-##-##". Day and month take the
// two short groups in the order of the locale's short date, so that a text typed through the
// mask reads as the user reads dates.
struct DateMaskLayout {
    std::string mask;
    std::string order;  // 'd', 'M' and 'y' in the order of the mask's groups
};

std::optional<DateMaskLayout> DateLayoutOfMask(std::string_view mask, LCID lcid);
// The day of the date in the layout, with leading zeros ("08/16/2019"); empty outside the years
// 100 to 9999. A time of day is not shown.
std::string FormatMaskedDate(DATE date, const DateMaskLayout& layout);
// The day a text stands for when it fills the whole mask and names a day that exists; at
// midnight.
std::optional<DATE> ParseMaskedDate(std::string_view text, const DateMaskLayout& layout);
// The day of one date at the time of day of another: a typed day keeps the time its field held.
std::optional<DATE> WithTimeOfDay(DATE day, DATE timeOf);
