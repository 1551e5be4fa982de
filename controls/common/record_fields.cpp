// Little-endian integers and fixed string fields of file records.
#include "controls/common/record_fields.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "platform/com/ansi_string.h"

std::int32_t GetRecordInt(std::span<const std::uint8_t> record, std::size_t at) {
    assert(at + 4 <= record.size());
    const std::uint32_t v = static_cast<std::uint32_t>(record[at]) |
                            (static_cast<std::uint32_t>(record[at + 1]) << 8) |
                            (static_cast<std::uint32_t>(record[at + 2]) << 16) |
                            (static_cast<std::uint32_t>(record[at + 3]) << 24);
    return static_cast<std::int32_t>(v);
}

void PutRecordInt(std::span<std::uint8_t> record, std::size_t at, std::int32_t value) {
    assert(at + 4 <= record.size());
    const auto v = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        record[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
    }
}

std::string GetRecordString(std::span<const std::uint8_t> record, std::size_t at,
                            std::size_t size) {
    assert(at + size <= record.size());
    const auto* begin = reinterpret_cast<const char*>(record.data() + at);
    const auto* end = std::find(begin, begin + size, '\0');
    return AnsiToUtf8(std::string_view(begin, static_cast<std::size_t>(end - begin)));
}

void PutRecordString(std::span<std::uint8_t> record, std::size_t at, std::size_t size,
                     std::string_view value) {
    assert(size > 0 && at + size <= record.size());
    const std::string_view cut = CutToCharBoundary(value, size - 1);
    std::memcpy(record.data() + at, cut.data(), cut.size());
    record[at + cut.size()] = 0;
}

bool FitsRecordString(std::string_view value, std::size_t size) {
    return value.size() < size && value.find('\0') == std::string_view::npos;
}
