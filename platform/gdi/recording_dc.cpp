// The recording device context: every call kept with the state in force, then passed on.
#include "platform/gdi/recording_dc.h"

#include <utility>

#include "platform/gdi/text_layout.h"

CRecordingDC::CRecordingDC(CDC* target, int logPixels, SIZE resolution)
    : m_target(target), m_logPixels(logPixels), m_resolution(resolution) {}

std::vector<DcCall> CRecordingDC::CallsOf(DcOp op) const {
    std::vector<DcCall> matching;
    for (const DcCall& call : m_calls) {
        if (call.op == op) {
            matching.push_back(call);
        }
    }
    return matching;
}

DcCall& CRecordingDC::Record(DcOp op) {
    DcCall& call = m_calls.emplace_back();
    call.op = op;
    call.font = m_font;
    call.pen = m_pen;
    call.textColor = m_textColor;
    call.bkColor = m_bkColor;
    call.bkMode = m_bkMode;
    return call;
}

const CTextMetrics& CRecordingDC::Metrics() {
    if (!m_metrics) {
        m_metrics.emplace(m_font.GetLogFont(), m_logPixels);
    }
    return *m_metrics;
}

void CRecordingDC::FillSolidRect(const RECT& rc, COLORREF color) {
    DcCall& call = Record(DcOp::FillSolidRect);
    call.rect = rc;
    call.color = color;
    m_bkColor = color;
    if (m_target != nullptr) {
        m_target->FillSolidRect(rc, color);
    }
}

POINT CRecordingDC::MoveTo(int x, int y) {
    Record(DcOp::MoveTo).point = POINT{x, y};
    if (m_target != nullptr) {
        m_target->MoveTo(x, y);
    }
    return std::exchange(m_position, POINT{x, y});
}

void CRecordingDC::LineTo(int x, int y) {
    DcCall& call = Record(DcOp::LineTo);
    call.point = POINT{x, y};
    call.points = {m_position, call.point};
    m_position = call.point;
    if (m_target != nullptr) {
        m_target->LineTo(x, y);
    }
}

void CRecordingDC::Polyline(const std::vector<POINT>& points) {
    Record(DcOp::Polyline).points = points;
    if (m_target != nullptr) {
        m_target->Polyline(points);
    }
}

void CRecordingDC::FrameRect(const RECT& rc) {
    Record(DcOp::FrameRect).rect = rc;
    if (m_target != nullptr) {
        m_target->FrameRect(rc);
    }
}

// The answer comes from this context's own measurement, so a layout recorded with and
// without a target is the same.
int CRecordingDC::DrawText(std::string_view text, RECT& rc, UINT format) {
    DcCall& call = Record(DcOp::DrawText);
    call.rect = rc;
    call.text = std::string(text);
    call.flags = format;
    const TextLayout layout = LayoutText(Metrics(), text, rc, format);
    if ((format & DT_CALCRECT) != 0) {
        rc = layout.extent;
    } else if (m_target != nullptr) {
        m_target->DrawText(text, rc, format);
    }
    return layout.result;
}

void CRecordingDC::TextOut(int x, int y, std::string_view text) {
    DcCall& call = Record(DcOp::TextOut);
    call.point = POINT{x, y};
    call.text = std::string(text);
    if (m_target != nullptr) {
        m_target->TextOut(x, y, text);
    }
}

SIZE CRecordingDC::GetTextExtentPoint32(std::string_view text) {
    return SIZE{Metrics().Advance(text), Metrics().LineHeight()};
}

int CRecordingDC::GetTextHeight() {
    return Metrics().LineHeight();
}

void CRecordingDC::DrawEdge(const RECT& rc, UINT edge, UINT flags) {
    DcCall& call = Record(DcOp::DrawEdge);
    call.rect = rc;
    call.flags = edge;
    call.flags2 = flags;
    if (m_target != nullptr) {
        m_target->DrawEdge(rc, edge, flags);
    }
}

bool CRecordingDC::DrawFrameControl(RECT& rc, UINT type, UINT state) {
    DcCall& call = Record(DcOp::DrawFrameControl);
    call.rect = rc;
    call.flags = type;
    call.flags2 = state;
    if (m_target != nullptr) {
        return m_target->DrawFrameControl(rc, type, state);
    }
    return IsFrameControl(type, state);
}

void CRecordingDC::DrawFocusRect(const RECT& rc) {
    Record(DcOp::DrawFocusRect).rect = rc;
    if (m_target != nullptr) {
        m_target->DrawFocusRect(rc);
    }
}

void CRecordingDC::BitBlt(int x, int y, int width, int height, CDC& source, int xSrc, int ySrc,
                          UINT rop) {
    DcCall& call = Record(DcOp::BitBlt);
    call.rect = RECT{x, y, x + width, y + height};
    call.point = POINT{xSrc, ySrc};
    call.flags = rop;
    if (m_target != nullptr) {
        m_target->BitBlt(x, y, width, height, source, xSrc, ySrc, rop);
    }
}

int CRecordingDC::GetDeviceCaps(int index) const {
    switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return m_logPixels;
        case HORZRES:
            return m_resolution.cx;
        case VERTRES:
            return m_resolution.cy;
        default:
            return m_target != nullptr ? m_target->GetDeviceCaps(index) : 0;
    }
}

COLORREF CRecordingDC::SetTextColor(COLORREF color) {
    Record(DcOp::SetTextColor).color = color;
    if (m_target != nullptr) {
        m_target->SetTextColor(color);
    }
    return std::exchange(m_textColor, color);
}

COLORREF CRecordingDC::SetBkColor(COLORREF color) {
    Record(DcOp::SetBkColor).color = color;
    if (m_target != nullptr) {
        m_target->SetBkColor(color);
    }
    return std::exchange(m_bkColor, color);
}

int CRecordingDC::SetBkMode(int mode) {
    Record(DcOp::SetBkMode).mode = mode;
    if (m_target != nullptr) {
        m_target->SetBkMode(mode);
    }
    return std::exchange(m_bkMode, mode);
}

CFont CRecordingDC::SelectFont(const CFont& font) {
    Record(DcOp::SelectFont).font = font;
    if (m_target != nullptr) {
        m_target->SelectFont(font);
    }
    if (font != m_font) {
        m_metrics.reset();
    }
    return std::exchange(m_font, font);
}

CPen CRecordingDC::SelectPen(const CPen& pen) {
    Record(DcOp::SelectPen).pen = pen;
    if (m_target != nullptr) {
        m_target->SelectPen(pen);
    }
    return std::exchange(m_pen, pen);
}

void CRecordingDC::SetClipRect(const RECT& rc) {
    Record(DcOp::SetClipRect).rect = rc;
    if (m_target != nullptr) {
        m_target->SetClipRect(rc);
    }
}

void CRecordingDC::Ellipse(const RECT& rc) {
    Record(DcOp::Ellipse).rect = rc;
    if (m_target != nullptr) {
        m_target->Ellipse(rc);
    }
}
