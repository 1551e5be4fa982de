// Case folding of UTF-8 text, for comparisons without regard to case.
#pragma once

#include <string>
#include <string_view>

// The text with Unicode case folding applied ("Straße" and "STRASSE" fold alike).
std::string FoldCase(std::string_view text);
