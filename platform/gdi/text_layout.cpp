// DrawText's layout: mnemonic prefixes, line breaks, word wrapping and alignment.
#include "platform/gdi/text_layout.h"

#include <algorithm>

namespace {

struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct MarkedText {
    std::string text;
    std::vector<std::size_t> marks;
};

// A single '&' underlines the character after it and "&&" stands for one '&'.
MarkedText RemovePrefixes(std::string_view text) {
    MarkedText out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out.text += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '&') {
            out.text += '&';
            ++i;
        } else if (i + 1 < text.size()) {
            out.marks.push_back(out.text.size());
        }
    }
    return out;
}

// CR, LF and CR LF each end a line; a break at the very end opens no further line.
std::vector<Range> SplitHardLines(std::string_view text) {
    std::vector<Range> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '\r' && text[i] != '\n') {
            ++i;
            continue;
        }
        lines.push_back({start, i});
        const bool crlf = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        i += crlf ? 2 : 1;
        start = i;
    }
    if (start < text.size() || lines.empty()) {
        lines.push_back({start, text.size()});
    }
    return lines;
}

int Advance(const CTextMetrics& metrics, std::string_view text, Range range) {
    return metrics.Advance(text.substr(range.begin, range.end - range.begin));
}

// The end of the last word that still fits; a first word too wide for the line stands alone.
std::size_t LastFittingBreak(const CTextMetrics& metrics, std::string_view text, Range line,
                             int width) {
    std::size_t best = line.end;
    bool fitted = false;
    for (std::size_t b = line.begin + 1; b < line.end; ++b) {
        if (text[b] != ' ' || text[b - 1] == ' ') {
            continue;
        }
        if (Advance(metrics, text, {line.begin, b}) > width) {
            return fitted ? best : b;
        }
        best = b;
        fitted = true;
    }
    return best;
}

std::vector<Range> WrapLine(const CTextMetrics& metrics, std::string_view text, Range line,
                            int width) {
    std::vector<Range> out;
    std::size_t pos = line.begin;
    while (true) {
        if (Advance(metrics, text, {pos, line.end}) <= width) {
            out.push_back({pos, line.end});
            break;
        }
        const std::size_t breakAt = LastFittingBreak(metrics, text, {pos, line.end}, width);
        out.push_back({pos, breakAt});
        pos = breakAt;
        while (pos < line.end && text[pos] == ' ') {
            ++pos;
        }
        if (pos >= line.end) {
            break;
        }
    }
    return out;
}

std::vector<Range> BreakLines(const CTextMetrics& metrics, std::string_view text, const RECT& rc,
                              UINT format) {
    if ((format & DT_SINGLELINE) != 0) {
        return {Range{0, text.size()}};
    }
    std::vector<Range> lines;
    for (const Range& hard : SplitHardLines(text)) {
        if ((format & DT_WORDBREAK) == 0) {
            lines.push_back(hard);
            continue;
        }
        const std::vector<Range> wrapped = WrapLine(metrics, text, hard, rc.Width());
        lines.insert(lines.end(), wrapped.begin(), wrapped.end());
    }
    return lines;
}

TextLine MakeLine(const CTextMetrics& metrics, const MarkedText& marked, Range range) {
    TextLine line;
    line.text = marked.text.substr(range.begin, range.end - range.begin);
    for (const std::size_t mark : marked.marks) {
        if (mark >= range.begin && mark < range.end) {
            line.mnemonics.push_back(mark - range.begin);
        }
    }
    line.width = metrics.Advance(line.text);
    return line;
}

// Vertical placement applies to single lines only, as on the classic platform.
int FirstLineTop(const RECT& rc, int lineHeight, UINT format) {
    if ((format & DT_SINGLELINE) == 0) {
        return rc.top;
    }
    if ((format & DT_VCENTER) != 0) {
        return rc.top + (rc.Height() - lineHeight) / 2;
    }
    if ((format & DT_BOTTOM) != 0) {
        return rc.bottom - lineHeight;
    }
    return rc.top;
}

int LineLeft(const RECT& rc, int width, UINT format) {
    if ((format & DT_CENTER) != 0) {
        return rc.left + (rc.Width() - width) / 2;
    }
    if ((format & DT_RIGHT) != 0) {
        return rc.right - width;
    }
    return rc.left;
}

}  // namespace

TextLayout LayoutText(const CTextMetrics& metrics, std::string_view text, const RECT& rc,
                      UINT format) {
    const MarkedText marked =
        (format & DT_NOPREFIX) != 0 ? MarkedText{std::string(text), {}} : RemovePrefixes(text);
    TextLayout layout;
    layout.lineHeight = metrics.LineHeight();
    int width = 0;
    int y = FirstLineTop(rc, layout.lineHeight, format);
    const int top = y;
    for (const Range& range : BreakLines(metrics, marked.text, rc, format)) {
        TextLine line = MakeLine(metrics, marked, range);
        line.x = LineLeft(rc, line.width, format);
        line.y = y;
        y += layout.lineHeight;
        width = std::max(width, line.width);
        layout.lines.push_back(std::move(line));
    }
    const int height = y - top;
    layout.extent = RECT{rc.left, rc.top, rc.left + width, rc.top + height};
    // With DT_VCENTER or DT_BOTTOM the platform answers the offset from the rectangle's top
    // to the bottom of the text rather than the text's height.
    const bool placed = (format & DT_SINGLELINE) != 0 && (format & (DT_VCENTER | DT_BOTTOM)) != 0;
    layout.result = placed && (format & DT_CALCRECT) == 0 ? y - rc.top : height;
    return layout;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t offset) {
    if (offset >= text.size()) {
        return 0;
    }
    const auto lead = static_cast<unsigned char>(text[offset]);
    std::size_t length = 1;
    if (lead >= 0xF0) {
        length = 4;
    } else if (lead >= 0xE0) {
        length = 3;
    } else if (lead >= 0xC0) {
        length = 2;
    }
    return std::min(length, text.size() - offset);
}
