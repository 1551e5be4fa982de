// The fields of the fixed-size records of design and report layout files: 32-bit little-endian
// integers and NUL-terminated strings in "the ANSI code page", read and written on any host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

std::int32_t GetRecordInt(std::span<const std::uint8_t> record, std::size_t at);
void PutRecordInt(std::span<std::uint8_t> record, std::size_t at, std::int32_t value);

// The string up to its NUL, or the whole field when it has none, so that a damaged file cannot
// run past it; UTF-8, with bytes that are not UTF-8 taken as Windows-1252.
std::string GetRecordString(std::span<const std::uint8_t> record, std::size_t at, std::size_t size);
// Writes at most size - 1 bytes, cut at a character boundary; the rest of the field is left as
// it is (zeros in a new record).
void PutRecordString(std::span<std::uint8_t> record, std::size_t at, std::size_t size,
                     std::string_view value);
// Whether the string fits its field with its NUL.
bool FitsRecordString(std::string_view value, std::size_t size);
