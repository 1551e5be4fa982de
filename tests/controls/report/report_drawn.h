// Recorded drawing calls as short lines of text, one a call that puts something on paper, so
// that a test compares a whole layout at once.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/recording_dc.h"
#include "platform/gdi/recording_printer.h"

inline std::string Box(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

//   fill L,T,R,B COLOR | edge L,T,R,B EDGE | line X,Y-X,Y wPENWIDTH |
//   text TEXT L,T,R,B FORMAT TEXTCOLOR
inline std::vector<std::string> Drawn(const std::vector<DcCall>& calls) {
    std::vector<std::string> drawn;
    for (const DcCall& call : calls) {
        switch (call.op) {
            case DcOp::FillSolidRect:
                drawn.push_back("fill " + Box(call.rect) + " " + std::to_string(call.color));
                break;
            case DcOp::DrawEdge:
                drawn.push_back("edge " + Box(call.rect) + " " + std::to_string(call.flags));
                break;
            case DcOp::LineTo:
                drawn.push_back(
                    "line " + std::to_string(call.points[0].x) + "," +
                    std::to_string(call.points[0].y) + "-" + std::to_string(call.points[1].x) +
                    "," + std::to_string(call.points[1].y) + " w" + std::to_string(call.pen.width));
                break;
            case DcOp::DrawText:
                drawn.push_back("text " + call.text + " " + Box(call.rect) + " " +
                                std::to_string(call.flags) + " " + std::to_string(call.textColor));
                break;
            default:
                break;
        }
    }
    return drawn;
}

// Only the texts, in order.
inline std::vector<std::string> Texts(const std::vector<DcCall>& calls) {
    std::vector<std::string> texts;
    for (const DcCall& call : calls) {
        if (call.op == DcOp::DrawText) {
            texts.push_back(call.text);
        }
    }
    return texts;
}

// The texts every page of every document shows, in order.
inline std::vector<std::string> PrintedTexts(const CRecordingPrinter& printer) {
    std::vector<std::string> texts;
    for (const PrintedDocument& document : printer.Documents()) {
        for (const auto& page : document.pages) {
            for (const std::string& text : Texts(page.calls)) {
                texts.push_back(text);
            }
        }
    }
    return texts;
}
