// Typing into a column's text, one character at a time.
#include "controls/common/field_typing.h"

#include <algorithm>
#include <string>

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
// lengths and Backspace go by characters, never by bytes.
std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += IsContinuationByte(c) ? 0 : 1;
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
std::string MaskCharacterAt(const std::string& mask, std::size_t position) {
    std::size_t index = 0;
    std::size_t start = 0;
    while (start < mask.size()) {
        std::size_t end = start + 1;
        while (end < mask.size() && IsContinuationByte(mask[end])) {
            ++end;
        }
        if (index == position) {
            return mask.substr(start, end - start);
        }
        ++index;
        start = end;
    }
    return {};
}

bool TypeText(DesignItem& column, unsigned ch) {
    if (!IsAsciiLetterDigitOrBlank(ch) ||
        CharacterCount(column.text) >= static_cast<std::size_t>(std::max(column.maxLength, 0))) {
        return false;
    }
    column.text.push_back(static_cast<char>(ch));
    return true;
}

bool TypeMask(DesignItem& column, unsigned ch) {
    if (!IsAsciiLetterDigitOrBlank(ch)) {
        return false;
    }
    for (std::size_t position = CharacterCount(column.text);; ++position) {
        const std::string slot = MaskCharacterAt(column.mask, position);
        if (slot.empty()) {
            return false;
        }
        if (slot == "*" || (slot == "#" && IsAsciiDigit(ch))) {
            column.text.push_back(static_cast<char>(ch));
            return true;
        }
        if (slot == "#") {
            return false;
        }
        column.text += slot;
    }
}

bool TypeNumeric(DesignItem& column, unsigned ch) {
    if (!IsAsciiDigit(ch) && ch != '.') {
        return false;
    }
    std::string& text = column.text;
    const std::size_t length = text.size();
    const std::int64_t whole = column.wholeDigits;
    const std::int64_t decimals = column.decimalDigits;
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

}  // namespace

TypingRule DesignerTypingRule(std::int32_t editStyle) {
    switch (editStyle) {
        case 1:
            return TypingRule::Text;
        case 3:
            return TypingRule::Mask;
        case 4:
            return TypingRule::Numeric;
        default:
            return TypingRule::None;
    }
}

TypingRule ControlTypingRule(std::int32_t editStyle) {
    switch (editStyle) {
        case 1:
            return TypingRule::Text;
        case 3:
            return TypingRule::Mask;
        case 5:
            return TypingRule::Numeric;
        default:
            return TypingRule::None;
    }
}

bool TypeIntoField(DesignItem& column, TypingRule rule, unsigned ch) {
    if (rule == TypingRule::None) {
        return false;
    }
    if (ch == kBackspace) {
        return RemoveLastCharacter(column.text);
    }
    switch (rule) {
        case TypingRule::Text:
            return TypeText(column, ch);
        case TypingRule::Mask:
            return TypeMask(column, ch);
        case TypingRule::Numeric:
            return TypeNumeric(column, ch);
        case TypingRule::None:
            break;
    }
    return false;
}
