// The typing rules of a form's columns: free text, mask and numeric input, and Backspace.
#pragma once

#include <cstdint>

#include "controls/common/design_item.h"

enum class TypingRule { None, Text, Mask, Numeric };

// The designer writes 1 text, 3 mask (dates too), 4 numeric, 5 check box, 6 list.
TypingRule DesignerTypingRule(std::int32_t editStyle);
// The controls read 1 text, 2 list, 3 mask, 4 check box, 5 numeric.
TypingRule ControlTypingRule(std::int32_t editStyle);

constexpr unsigned kBackspace = 8;

// Applies one typed character (a Unicode code point; kBackspace removes the last character) to
// the column's text. True when the character was taken or Backspace removed one: the caller then
// writes the field and repaints it. A refused character may still leave mask literals appended
// on the way; they stay, and the caller shows them at the next repaint.
bool TypeIntoField(DesignItem& column, TypingRule rule, unsigned ch);
