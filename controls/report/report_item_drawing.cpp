// Report items drawn on a device context.
#include "controls/report/report_item_drawing.h"

#include <algorithm>
#include <vector>

#include "platform/com/ansi_string.h"

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kLightGrey = 0x00C0C0C0;
constexpr UINT kCheckBoxEdge = BDR_RAISEDOUTER | BDR_SUNKENINNER;
// Boxes smaller than this across or down get a cross instead of a tick.
constexpr int kSmallestTickBox = 13;
constexpr CPen kTickPen{PS_SOLID, 2, 0x00000000};
// A damaged layout's font size is held here: no printed text is larger.
constexpr std::int32_t kLargestFontSize = 1000;

// The characters of a UTF-8 string, each one to four bytes; a byte that starts no valid
// sequence is a character of its own.
std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (lead >= 0x80 && lead < 0xC0) {
            length = 1;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                length = 1;
                break;
            }
        }
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

bool IsDigit(std::string_view character) {
    return character.size() == 1 && character[0] >= '0' && character[0] <= '9';
}

UINT TextFormat(std::int32_t justification) {
    const UINT horizontal = justification == kReportLeft    ? DT_LEFT
                            : justification == kReportRight ? DT_RIGHT
                                                            : DT_CENTER;
    return horizontal | DT_VCENTER | DT_SINGLELINE;
}

CFont ItemFont(const CDC& dc, const ReportItem& item) {
    LOGFONT font;
    font.lfHeight = -MulDiv(std::clamp(item.fontSize, -kLargestFontSize, kLargestFontSize),
                            dc.GetDeviceCaps(LOGPIXELSY), 72);
    font.lfWeight = item.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = item.italic;
    font.lfFaceName = std::string(CutToCharBoundary(item.fontName, kFontFaceLength));
    return CFont(font);
}

void Line(CDC& dc, int x1, int y1, int x2, int y2) {
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
}

void DrawItemText(CDC& dc, const ReportItem& item, const RECT& rect) {
    if (item.editStyle != kReportCheckBoxStyle && !item.text.empty()) {
        const bool masked =
            item.kind == kReportColumn && item.editStyle == kReportMaskStyle && !item.mask.empty();
        const std::string text = masked ? ApplyPrintMask(item.text, item.mask) : item.text;
        const UINT format = TextFormat(item.justification);
        if (item.raised) {
            DrawRaisedText(dc, item, text, rect, format);
        } else {
            RECT box = rect;
            dc.DrawText(text, box, format);
        }
    }
    if (item.underline) {
        Line(dc, rect.left, rect.bottom, rect.right, rect.bottom);
    }
}

}  // namespace

void DrawReportText(CDC& dc, const ReportItem& item, const RECT& rect) {
    dc.FillSolidRect(rect, static_cast<COLORREF>(item.backColor));
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(static_cast<COLORREF>(item.backColor));
    dc.SetTextColor(static_cast<COLORREF>(item.textColor));
    if (item.editStyle == kReportCheckBoxStyle) {
        DrawCheckBox(dc, rect, EqualsNoCase(item.text, item.checkedValue));
    }
    const CFont previous = dc.SelectFont(ItemFont(dc, item));
    switch (item.kind) {
        case kReportText:
        case kReportColumn:
            DrawItemText(dc, item, rect);
            break;
        case kReportLine:
            Line(dc, rect.left, rect.top, rect.right, rect.bottom);
            break;
        case kReportRectangle:
            dc.DrawEdge(rect, EDGE_ETCHED, BF_RECT);
            break;
        default:
            break;
    }
    dc.SelectFont(previous);
}

void DrawRaisedText(CDC& dc, const ReportItem& item, std::string_view text, const RECT& rect,
                    UINT format) {
    dc.SetTextColor(static_cast<COLORREF>(item.backColor) == kWhite ? kLightGrey : kWhite);
    RECT box = rect;
    dc.DrawText(text, box, format);
    dc.SetTextColor(static_cast<COLORREF>(item.textColor));
    RECT shifted{rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1};
    dc.DrawText(text, shifted, format);
}

void DrawCheckBox(CDC& dc, const RECT& rect, bool ticked) {
    dc.FillSolidRect(rect, kWhite);
    dc.DrawEdge(rect, kCheckBoxEdge, BF_RECT);
    if (!ticked) {
        return;
    }
    const auto [l, t, r, b] = rect;
    if (r - l < kSmallestTickBox || b - t < kSmallestTickBox) {
        Line(dc, l + 1, t + 1, r - 1, b - 1);
        Line(dc, r - 1, t + 1, l + 1, b - 1);
        return;
    }
    const CPen previous = dc.SelectPen(kTickPen);
    dc.MoveTo(l + 5, b - 9);
    dc.LineTo(l + 5, b - 5);
    dc.LineTo(r - 4, t + 4);
    dc.SelectPen(previous);
}

std::string ApplyPrintMask(std::string_view text, std::string_view mask) {
    const std::vector<std::string_view> in = Characters(text);
    const std::vector<std::string_view> pattern = Characters(mask);
    std::vector<std::string_view> out = pattern;
    for (std::string_view& place : out) {
        if (place == "#" || place == "*") {
            place = " ";
        }
    }
    for (std::size_t i = 0, j = 0; i < in.size() && j < pattern.size();) {
        if (pattern[j] == "#") {
            if (IsDigit(in[i])) {
                out[j++] = in[i];
            }
            ++i;
        } else if (pattern[j] == "*") {
            out[j++] = in[i++];
        } else {
            ++j;
        }
    }
    std::string result;
    for (std::string_view character : out) {
        result += character;
    }
    return result;
}
