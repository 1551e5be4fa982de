// The typing rules of columns and cells: free text, mask and numeric input, and Backspace. One
// implementation for every control and the designer's preview; they differ by parameters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "controls/common/design_item.h"

enum class TypingRule { None, Text, Mask, Numeric };

// The designer's codes: text, mask (dates too) and numeric are typed; the rest is not.
TypingRule DesignerTypingRule(std::int32_t editStyle);
// The controls' codes: text, mask and date (through a mask) and numeric are typed.
TypingRule ControlTypingRule(std::int32_t editStyle);

// What a rule needs besides the text: the most characters free text takes, the mask, and the
// whole and decimal digits of a number.
struct TypingParameters {
    TypingRule rule = TypingRule::None;
    std::int32_t maxSize = 0;
    std::string_view mask;
    std::int32_t wholeDigits = 0;
    std::int32_t decimalDigits = 0;
};

struct NumericDigits {
    std::int32_t whole = 0;
    std::int32_t decimals = 0;
};

// The digits a grid's numeric mask gives: "5,2" is 5 whole and 2 decimal digits, "5" 5 and 0;
// each number is its leading decimal digits (none: 0).
NumericDigits DigitsOfNumericMask(std::string_view mask);

constexpr unsigned kBackspace = 8;

// Applies one typed character (a Unicode code point; kBackspace removes the last character) to
// the text. True when the character was taken or Backspace removed one: the caller then writes
// the field and repaints it. A refused character may still leave mask literals appended on the
// way; they stay, and the caller shows them at the next repaint.
bool TypeIntoText(std::string& text, const TypingParameters& how, unsigned ch);
// The same for a design's column, with its own length, mask and digits.
bool TypeIntoField(DesignItem& column, TypingRule rule, unsigned ch);
