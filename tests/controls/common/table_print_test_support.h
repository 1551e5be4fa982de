// Reading back the plain table the grid and the query list print, from the recording printer.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/recording_printer.h"

inline std::string Box(int left, int top, int right, int bottom) {
    return std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(right) + "," +
           std::to_string(bottom);
}

// A page's drawing, one entry a call: edges and texts with their rectangles, marked when the
// edge is not a bump on all four sides or the text not centred black on one line in the print
// font.
inline std::vector<std::string> Drawn(const PrintedPage& page) {
    std::vector<std::string> drawn;
    for (const DcCall& call : page.calls) {
        const std::string box =
            Box(call.rect.left, call.rect.top, call.rect.right, call.rect.bottom);
        if (call.op == DcOp::DrawEdge) {
            const bool bump = call.flags == EDGE_BUMP && call.flags2 == BF_RECT;
            drawn.push_back((bump ? "edge " : "other edge ") + box);
        } else if (call.op == DcOp::DrawText) {
            const bool centred = call.flags == (DT_CENTER | DT_VCENTER | DT_SINGLELINE) &&
                                 call.textColor == 0 && call.bkMode == TRANSPARENT &&
                                 call.font.GetLogFont().lfFaceName == "FixedSys";
            drawn.push_back((centred ? "text " : "other text ") + call.text + " " + box);
        }
    }
    return drawn;
}

// A page as the table prints it, built in reading order: the header's edges, then its texts,
// each at the left edge of its cell.
struct TablePage {
    std::vector<std::string> edges;
    std::vector<std::pair<int, std::string>> texts;

    void Edge(const std::string& box) { edges.push_back("edge " + box); }
    void Text(int left, const std::string& text, const std::string& box) {
        texts.emplace_back(left, "text " + text + " " + box);
    }
    // The calls: the edges, then the texts column by column from the left, each column from the
    // top, as the table draws them so that a printer clips each column once.
    std::vector<std::string> Calls() const {
        std::vector<std::pair<int, std::string>> sorted = texts;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::string> calls = edges;
        for (const auto& text : sorted) {
            calls.push_back(text.second);
        }
        return calls;
    }
};
