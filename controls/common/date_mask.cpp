// Dates in a date-layout mask: recognising the layout, and dates to and from its texts.
#include "controls/common/date_mask.h"

#include <array>
#include <cstdio>

#include "platform/com/ole_date.h"
#include "platform/com/var_text.h"

namespace {

constexpr std::size_t kGroups = 3;

// The lengths of the mask's digit groups, when it is digit groups with single literals between.
std::optional<std::array<std::size_t, kGroups>> GroupLengths(std::string_view mask) {
    std::array<std::size_t, kGroups> lengths{};
    std::size_t group = 0;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == '#') {
            ++lengths[group];
            continue;
        }
        const bool literal = mask[i] != '*' && (static_cast<unsigned char>(mask[i]) < 0x80);
        if (!literal || lengths[group] == 0 || ++group == kGroups) {
            return std::nullopt;
        }
    }
    if (group != kGroups - 1 || lengths[group] == 0) {
        return std::nullopt;
    }
    return lengths;
}

int Digits(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<DateMaskLayout> DateLayoutOfMask(std::string_view mask, LCID lcid) {
    const auto lengths = GroupLengths(mask);
    if (!lengths) {
        return std::nullopt;
    }
    const std::string localeOrder = LocaleDateOrder(lcid);
    const bool dayFirst = localeOrder.find('d') < localeOrder.find('M');
    DateMaskLayout layout{std::string(mask), {}};
    int years = 0;
    for (const std::size_t length : *lengths) {
        if (length == 4) {
            ++years;
            layout.order += 'y';
        } else if (length == 2) {
            const bool firstShort = layout.order.find_first_of("dM") == std::string::npos;
            layout.order += firstShort == dayFirst ? 'd' : 'M';
        } else {
            return std::nullopt;
        }
    }
    if (years != 1) {
        return std::nullopt;
    }
    return layout;
}

std::string FormatMaskedDate(DATE date, const DateMaskLayout& layout) {
    SYSTEMTIME time;
    if (VariantTimeToSystemTime(date, &time) == 0) {
        return {};
    }
    std::string text;
    std::size_t group = 0;
    for (std::size_t i = 0; i < layout.mask.size(); ++i) {
        if (layout.mask[i] != '#') {
            text += layout.mask[i];
            ++group;
            continue;
        }
        if (i > 0 && layout.mask[i - 1] == '#') {
            continue;
        }
        const char part = layout.order[group];
        std::array<char, 8> digits{};
        std::snprintf(digits.data(), digits.size(), part == 'y' ? "%04d" : "%02d",
                      part == 'y'   ? time.wYear
                      : part == 'M' ? time.wMonth
                                    : time.wDay);
        text += digits.data();
    }
    return text;
}

std::optional<DATE> ParseMaskedDate(std::string_view text, const DateMaskLayout& layout) {
    if (text.size() != layout.mask.size()) {
        return std::nullopt;
    }
    SYSTEMTIME time;
    std::size_t start = 0;
    for (std::size_t group = 0; group < kGroups; ++group) {
        const std::size_t end = std::min(layout.mask.find_first_not_of('#', start), text.size());
        if (end < text.size() && text[end] != layout.mask[end]) {
            return std::nullopt;
        }
        const int value = Digits(text.substr(start, end - start));
        if (value < 0) {
            return std::nullopt;
        }
        const char part = layout.order[group];
        (part == 'y'   ? time.wYear
         : part == 'M' ? time.wMonth
                       : time.wDay) = static_cast<WORD>(value);
        start = end + 1;
    }
    DATE date = 0;
    if (SystemTimeToVariantTime(&time, &date) == 0) {
        return std::nullopt;
    }
    return date;
}

std::optional<DATE> WithTimeOfDay(DATE day, DATE timeOf) {
    SYSTEMTIME date;
    SYSTEMTIME clock;
    if (VariantTimeToSystemTime(day, &date) == 0 || VariantTimeToSystemTime(timeOf, &clock) == 0) {
        return std::nullopt;
    }
    date.wHour = clock.wHour;
    date.wMinute = clock.wMinute;
    date.wSecond = clock.wSecond;
    DATE joined = 0;
    if (SystemTimeToVariantTime(&date, &joined) == 0) {
        return std::nullopt;
    }
    return joined;
}
