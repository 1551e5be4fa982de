// Strings of "the ANSI code page": UTF-8 in memory and on disk, Windows-1252 taken for bytes
// that are not valid UTF-8, cut to fixed fields at character boundaries.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Decodes bytes read from a file or a fixed record field: valid UTF-8 sequences are kept,
// every other byte is taken as a Windows-1252 character. The result is valid UTF-8.
std::string AnsiToUtf8(std::string_view bytes);

// The longest prefix of a UTF-8 string that fits into maxBytes bytes without splitting a
// character.
std::string_view CutToCharBoundary(std::string_view utf8, std::size_t maxBytes);

// Case-insensitive equality with Unicode case folding, as names of fields, columns and items
// are compared.
bool EqualsNoCase(std::string_view a, std::string_view b);
