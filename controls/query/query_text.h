// The texts of the query list: padded header and value texts in the fixed-pitch font, and the
// captions made from column names.
#pragma once

#include <string>
#include <string_view>

// The longest column the list lays out, in characters. A long text or binary field declares a
// size of two thousand million characters; padding to that would take all memory.
inline constexpr int kQueryMaxColumnChars = 255;

// The characters a column's values are padded to: its defined size, within 0 and the longest.
int QueryColumnChars(int definedSize);
// The column name padded with blanks on the right to the column's characters + 1.
std::string QueryHeaderText(std::string_view name, int definedSize);
// The value trimmed of blanks and padded with blanks on the right to the column's characters;
// a longer value stays whole.
std::string QueryValueText(std::string_view value, int definedSize);
// A header text as a caption: trimmed of blanks, its first letter upper-cased and every
// underscore a blank ("order_no" gives "Order no").
std::string QueryCaption(std::string_view text);
// Characters (not bytes) of a UTF-8 text.
std::size_t QueryCharCount(std::string_view text);
// The text without its last character.
void DropLastChar(std::string& text);
