// Typing into a column's text, one character at a time.
#include "controls/common/field_typing.h"

#include <algorithm>
#include <limits>
#include <string>

#include "controls/common/edit_style.h"

namespace {

bool IsAsciiDigit(unsigned ch) {
    return ch >= '0' && ch <= '9';
}

bool IsAsciiLetterDigitOrBlank(unsigned ch) {
    return IsAsciiDigit(ch) || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == ' ';
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

// Texts are UTF-8 and may come from the database with characters typing cannot produce, so
// lengths and Backspace go by characters, never by bytes. A character is a byte with the
// continuation bytes after it, so a stray continuation byte first (a mask's literal, copied into
// the text) is a character too, as the mask is walked.
std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        count += i == 0 || !IsContinuationByte(text[i]) ? 1 : 0;
    }
    return count;
}

bool RemoveLastCharacter(std::string& text) {
    if (text.empty()) {
        return false;
    }
    std::size_t end = text.size() - 1;
    while (end > 0 && IsContinuationByte(text[end])) {
        --end;
    }
    text.erase(end);
    return true;
}

// The mask character at a character position; the mask is walked by characters too.
std::string MaskCharacterAt(std::string_view mask, std::size_t position) {
    std::size_t index = 0;
    std::size_t start = 0;
    while (start < mask.size()) {
        std::size_t end = start + 1;
        while (end < mask.size() && IsContinuationByte(mask[end])) {
            ++end;
        }
        if (index == position) {
            return std::string(mask.substr(start, end - start));
        }
        ++index;
        start = end;
    }
    return {};
}

bool TypeText(std::string& text, const TypingParameters& how, unsigned ch) {
    if (!IsAsciiLetterDigitOrBlank(ch) ||
        CharacterCount(text) >= static_cast<std::size_t>(std::max(how.maxSize, 0))) {
        return false;
    }
    text.push_back(static_cast<char>(ch));
    return true;
}

bool TypeMask(std::string& text, const TypingParameters& how, unsigned ch) {
    if (!IsAsciiLetterDigitOrBlank(ch)) {
        return false;
    }
    for (std::size_t position = CharacterCount(text);; ++position) {
        const std::string slot = MaskCharacterAt(how.mask, position);
        if (slot.empty()) {
            return false;
        }
        if (slot == "*" || (slot == "#" && IsAsciiDigit(ch))) {
            text.push_back(static_cast<char>(ch));
            return true;
        }
        if (slot == "#") {
            return false;
        }
        text += slot;
    }
}

bool TypeNumeric(std::string& text, const TypingParameters& how, unsigned ch) {
    if (!IsAsciiDigit(ch) && ch != '.') {
        return false;
    }
    const std::size_t length = text.size();
    // A damaged design's negative digit counts allow no digits there.
    const std::int64_t whole = std::max(how.wholeDigits, 0);
    const std::int64_t decimals = std::max(how.decimalDigits, 0);
    if (static_cast<std::int64_t>(length) >= whole + decimals + 1) {
        return false;
    }
    const std::size_t point = text.find('.');
    if (ch == '.') {
        if (point != std::string::npos) {
            return false;
        }
        text.push_back('.');
        return true;
    }
    if (point != std::string::npos) {
        if (static_cast<std::int64_t>(length - point - 1) >= decimals) {
            return false;
        }
    } else if (static_cast<std::int64_t>(length) == whole) {
        text.push_back('.');
        if (decimals <= 0) {
            return true;
        }
    }
    text.push_back(static_cast<char>(ch));
    return true;
}

// The number of a mask's leading decimal digits, held to what an int holds.
std::int32_t LeadingNumber(std::string_view text) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && IsAsciiDigit(static_cast<unsigned char>(text[i]));
         ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'),
                                       std::numeric_limits<std::int32_t>::max());
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

TypingRule DesignerTypingRule(std::int32_t editStyle) {
    switch (static_cast<DesignerEditStyle>(editStyle)) {
        case DesignerEditStyle::Text:
            return TypingRule::Text;
        case DesignerEditStyle::Mask:
            return TypingRule::Mask;
        case DesignerEditStyle::Numeric:
            return TypingRule::Numeric;
        default:
            return TypingRule::None;
    }
}

TypingRule ControlTypingRule(std::int32_t editStyle) {
    switch (static_cast<EditStyle>(editStyle)) {
        case EditStyle::Text:
            return TypingRule::Text;
        case EditStyle::Mask:
        case EditStyle::Date:
            return TypingRule::Mask;
        case EditStyle::Numeric:
            return TypingRule::Numeric;
        default:
            return TypingRule::None;
    }
}

NumericDigits DigitsOfNumericMask(std::string_view mask) {
    const std::size_t comma = mask.find(',');
    if (comma == std::string_view::npos) {
        return {LeadingNumber(mask), 0};
    }
    return {LeadingNumber(mask.substr(0, comma)), LeadingNumber(mask.substr(comma + 1))};
}

bool TypeIntoText(std::string& text, const TypingParameters& how, unsigned ch) {
    if (how.rule == TypingRule::None) {
        return false;
    }
    if (ch == kBackspace) {
        return RemoveLastCharacter(text);
    }
    switch (how.rule) {
        case TypingRule::Text:
            return TypeText(text, how, ch);
        case TypingRule::Mask:
            return TypeMask(text, how, ch);
        case TypingRule::Numeric:
            return TypeNumeric(text, how, ch);
        case TypingRule::None:
            break;
    }
    return false;
}

bool TypeIntoField(DesignItem& column, TypingRule rule, unsigned ch) {
    const TypingParameters how{rule, column.maxLength, column.mask, column.wholeDigits,
                               column.decimalDigits};
    return TypeIntoText(column.text, how, ch);
}
