// Where DrawText puts each line of a text for a rectangle and a set of DT_ flags.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/text_metrics.h"

struct TextLine {
    std::string text;                    // as shown: mnemonic prefixes removed
    std::vector<std::size_t> mnemonics;  // byte offsets in text of the underlined characters
    int x = 0;                           // top-left of the line's cell
    int y = 0;
    int width = 0;
};

struct TextLayout {
    std::vector<TextLine> lines;
    int lineHeight = 0;
    RECT extent{};   // what DT_CALCRECT makes of the rectangle
    int result = 0;  // what DrawText returns
};

TextLayout LayoutText(const CTextMetrics& metrics, std::string_view text, const RECT& rc,
                      UINT format);

// Length in bytes of the UTF-8 character that starts at offset.
std::size_t Utf8CharLength(std::string_view text, std::size_t offset);
