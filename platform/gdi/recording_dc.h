// A device context that records every drawing call so that tests can assert a layout exactly.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/gdi/text_metrics.h"

enum class DcOp {
    FillSolidRect,
    MoveTo,
    LineTo,
    Polyline,
    FrameRect,
    DrawText,
    TextOut,
    DrawEdge,
    DrawFrameControl,
    DrawFocusRect,
    BitBlt,
    SetTextColor,
    SetBkColor,
    SetBkMode,
    SelectFont,
    SelectPen,
    SetClipRect,
    Ellipse,
};

// One recorded call. Only the members that the operation has are meaningful; `rect` is the
// rectangle as passed (for DrawText: before DT_CALCRECT changed it). LineTo keeps its start
// and end in `points`; BitBlt its destination in `rect` and source origin in `point`. `font` and
// `pen` are those in force, or for SelectFont / SelectPen the ones selected.
struct DcCall {
    DcOp op{};
    RECT rect{};
    POINT point{};
    std::vector<POINT> points;
    std::string text;
    UINT flags = 0;   // DrawText format, DrawEdge edge, BitBlt rop, DrawFrameControl type
    UINT flags2 = 0;  // DrawEdge border flags, DrawFrameControl state
    COLORREF color = 0;
    int mode = 0;
    CFont font;
    CPen pen;
    // State in force when the call was made.
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    int bkMode = OPAQUE;
};

// Records calls; measures text with the real font metrics of the selected font; when given a
// target, also draws every call there (the recording printer uses that).
class CRecordingDC : public CDC {
  public:
    explicit CRecordingDC(CDC* target = nullptr, int logPixels = 96, SIZE resolution = {800, 600});

    const std::vector<DcCall>& Calls() const { return m_calls; }
    std::vector<DcCall> CallsOf(DcOp op) const;
    void Clear() { m_calls.clear(); }

    void FillSolidRect(const RECT& rc, COLORREF color) override;
    POINT MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(const std::vector<POINT>& points) override;
    void FrameRect(const RECT& rc) override;
    int DrawText(std::string_view text, RECT& rc, UINT format) override;
    void TextOut(int x, int y, std::string_view text) override;
    SIZE GetTextExtentPoint32(std::string_view text) override;
    int GetTextHeight() override;
    void DrawEdge(const RECT& rc, UINT edge, UINT flags) override;
    // Recorded as one call, not as the fills and edges it is drawn with.
    bool DrawFrameControl(RECT& rc, UINT type, UINT state) override;
    void DrawFocusRect(const RECT& rc) override;
    void BitBlt(int x, int y, int width, int height, CDC& source, int xSrc, int ySrc,
                UINT rop) override;
    int GetDeviceCaps(int index) const override;
    COLORREF SetTextColor(COLORREF color) override;
    COLORREF SetBkColor(COLORREF color) override;
    int SetBkMode(int mode) override;
    COLORREF GetTextColor() const override { return m_textColor; }
    COLORREF GetBkColor() const override { return m_bkColor; }
    int GetBkMode() const override { return m_bkMode; }
    CFont SelectFont(const CFont& font) override;
    CPen SelectPen(const CPen& pen) override;
    const CFont& GetCurrentFont() const override { return m_font; }
    const CPen& GetCurrentPen() const override { return m_pen; }
    void SetClipRect(const RECT& rc) override;
    void Ellipse(const RECT& rc) override;

  private:
    DcCall& Record(DcOp op);
    const CTextMetrics& Metrics();

    CDC* m_target;
    int m_logPixels;
    SIZE m_resolution;
    std::vector<DcCall> m_calls;
    POINT m_position{};
    COLORREF m_textColor = 0;
    COLORREF m_bkColor = 0x00FFFFFF;
    int m_bkMode = OPAQUE;
    CFont m_font;
    CPen m_pen;
    std::optional<CTextMetrics> m_metrics;  // made on first use, again after SelectFont
};
