// A device context over a QPainter: bitmaps on the screen side, PDF and printers on paper.
#pragma once

#include <QPaintDevice>
#include <QPainter>
#include <optional>

#include "platform/gdi/dc.h"
#include "platform/gdi/text_layout.h"
#include "platform/gdi/text_metrics.h"
#include "platform/gdi/text_metrics_qt.h"

// Coordinates are the device's pixels; logPixels is its resolution in dots per inch.
class CPainterDC : public CDC {
  public:
    // Paints on the device for the context's whole life (PDF writers and printers).
    CPainterDC(QPaintDevice* device, int logPixels);
    // Paints on the bitmap's current image. The painter opens at the first operation and stays
    // open until the context goes, another context paints the bitmap, or the image changes.
    CPainterDC(CBitmap& bitmap, int logPixels);
    ~CPainterDC() override;

    void FillSolidRect(const RECT& rc, COLORREF color) override;
    POINT MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(const std::vector<POINT>& points) override;
    void FrameRect(const RECT& rc) override;
    int DrawText(std::string_view text, RECT& rc, UINT format) override;
    void DrawTexts(const std::vector<PlacedText>& texts, UINT format) override;
    void TextOut(int x, int y, std::string_view text) override;
    SIZE GetTextExtentPoint32(std::string_view text) override;
    int GetTextHeight() override;
    void DrawEdge(const RECT& rc, UINT edge, UINT flags) override;
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

    CBitmap* GetBitmap() override { return m_bitmap; }
    void Ellipse(const RECT& rc) override;

    // For the printer, which ends the painter when the document is done.
    QPainter& Painter() { return m_painter; }
    // Ends the painter open on the bitmap; the bitmap calls it when it needs its image back.
    void EndBitmapPaint();

  protected:
    QPaintDevice* Device() const;

  private:
    class PaintScope {
      public:
        explicit PaintScope(CPainterDC& dc);
        PaintScope(const PaintScope&) = delete;
        PaintScope& operator=(const PaintScope&) = delete;
        bool Active() const;

      private:
        CPainterDC& m_dc;
    };

    const CTextMetrics& Metrics();
    void Fill(int x, int y, int width, int height, COLORREF color);
    bool FillPixels(const QRect& rect, COLORREF color);
    // The bitmap's image where writing its pixels gives what the painter would draw, and the
    // rectangle that clips; null where the painter must draw.
    QImage* DirectPixels(QRect& clip);
    bool DrawInk(QPointF origin, const CTextMetrics::Impl::Shaped& shaped);
    void DrawSegment(POINT from, POINT to);
    struct PixelRun {
        POINT first;
        POINT last;
        int count = 0;
        bool Extend(POINT pixel);
    };
    void DrawThinSegment(POINT from, POINT to);
    void FillRun(PixelRun& run);
    void DrawLine(const TextLine& line, bool underlineMnemonics);
    // Keeps the painter clipped for a run of texts, so that texts one under another share one
    // clip: every change of clip makes a PDF repeat the whole graphics state.
    class TextClip {
      public:
        explicit TextClip(CPainterDC& dc) : m_dc(dc) {}
        TextClip(const TextClip&) = delete;
        TextClip& operator=(const TextClip&) = delete;
        ~TextClip() { End(); }
        // Clips to the rectangle, unless the clip already is that rectangle.
        void To(const QRect& clip);
        // Ends the clip unless it leaves the rectangle whole.
        void Keep(const QRect& drawn);
        void End();

      private:
        CPainterDC& m_dc;
        std::optional<QRect> m_clip;
    };
    // Which ways every line, and the ink of its glyphs, stays inside the rectangle.
    struct InkFit {
        bool across = true;
        bool down = true;
    };
    InkFit FitOf(const TextLayout& layout, const RECT& rc);
    void DrawLayout(const TextLayout& layout, const RECT& rc, UINT format, TextClip& clip);
    void DrawEdgeRing(const RECT& rc, UINT flags, COLORREF topLeft, COLORREF bottomRight);
    // False when the context's clip rectangle keeps every pixel of the rectangle unchanged.
    bool MeetsClip(const QRect& rect) const { return !m_clip || m_clip->intersects(rect); }

    QPaintDevice* m_device = nullptr;
    int m_logPixels;
    CBitmap* m_bitmap = nullptr;
    CBitmap::Impl* m_paintedImpl = nullptr;  // the bitmap image the painter is open on
    QPainter m_painter;
    std::optional<QRect> m_clip;
    // DrawText narrows the painter's clip to its rectangle for a while.
    std::optional<QRect> m_textClip;
    POINT m_position{};
    COLORREF m_textColor = 0;
    COLORREF m_bkColor = 0x00FFFFFF;
    int m_bkMode = OPAQUE;
    CFont m_font;
    CPen m_pen;
    std::optional<CTextMetrics> m_metrics;  // made on first use: building a font is not free
};
