// The desktop's clipboard: data under MIME types, shared with every other program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One representation of the clipboard's content.
struct ClipboardFormat {
    std::string mimeType;
    std::vector<std::uint8_t> data;
};

// Replaces the clipboard's content with the representations given, all offered at once; false
// when there is no clipboard.
bool SetClipboardData(const std::vector<ClipboardFormat>& formats);
// The clipboard's content under the MIME type; nothing when it holds none of that type.
std::optional<std::vector<std::uint8_t>> GetClipboardData(const std::string& mimeType);
