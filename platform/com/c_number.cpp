// Number conversions under the "C" locale.
#include "platform/com/c_number.h"

#include <locale.h>
#include <stdlib.h>

#include <array>
#include <charconv>

namespace {

locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

// The texts that from_chars reads as strtod does: no leading blank or '+', no hexadecimal.
bool IsPlainDecimal(std::string_view text) {
    const std::string_view digits = text.substr(!text.empty() && text[0] == '-' ? 1 : 0);
    const bool hexadecimal =
        digits.size() > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    return !digits.empty() && (digits[0] == '.' || (digits[0] >= '0' && digits[0] <= '9')) &&
           !hexadecimal;
}

}  // namespace

std::string FormatFixed(double value, int decimals) {
    std::array<char, 400> buffer{};  // the widest double in fixed notation with a few decimals
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    if (error != std::errc{}) {
        return {};
    }
    return std::string(buffer.data(), end);
}

double AtoF(std::string_view text) {
    // Totals read every line's texts, so the common form is read without a copy.
    if (IsPlainDecimal(text)) {
        double value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc{}) {
            return value;
        }
        if (error == std::errc::invalid_argument) {
            return 0;
        }
    }
    // strtod needs the terminating zero, which a view need not have.
    const std::string terminated(text.substr(0, text.find('\0')));
    return strtod_l(terminated.c_str(), nullptr, CLocale());
}
