// The device context: the drawing operations controls and the designer call, with their flags.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/types.h"

// DrawText formats.
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

// Edge styles and border flags.
constexpr UINT BDR_RAISEDOUTER = 0x0001;
constexpr UINT BDR_SUNKENOUTER = 0x0002;
constexpr UINT BDR_RAISEDINNER = 0x0004;
constexpr UINT BDR_SUNKENINNER = 0x0008;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x0001;
constexpr UINT BF_TOP = 0x0002;
constexpr UINT BF_RIGHT = 0x0004;
constexpr UINT BF_BOTTOM = 0x0008;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;

// The classic 3-D scheme.
constexpr COLORREF COLOR_3DFACE = 0x00C0C0C0;
constexpr COLORREF COLOR_3DSHADOW = 0x00808080;
constexpr COLORREF COLOR_3DHILIGHT = 0x00FFFFFF;
constexpr COLORREF COLOR_3DDKSHADOW = 0x00000000;
constexpr COLORREF COLOR_3DLIGHT = 0x00C0C0C0;
constexpr COLORREF COLOR_WINDOW = 0x00FFFFFF;
constexpr COLORREF COLOR_BTNTEXT = 0x00000000;

// DrawFrameControl types and states.
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFCS_SCROLLUP = 0x0000;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;

// Whether DrawFrameControl draws the type in the state.
bool IsFrameControl(UINT type, UINT state);

// Raster operation of BitBlt.
constexpr UINT SRCCOPY = 0x00CC0020;

// GetDeviceCaps indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// Font weights.
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;

// A font as the platform describes it. A negative height is the character height in logical
// units, a positive one the cell height, zero the default size.
struct LOGFONT {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfWeight = FW_NORMAL;
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    std::string lfFaceName;
    friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};

// The font every new device context starts with: MS Sans Serif, 8 point at 96 dpi.
LOGFONT DefaultGuiFont();

// Font selected into a device context; a plain value.
class CFont {
  public:
    CFont() : m_logFont(DefaultGuiFont()) {}
    explicit CFont(LOGFONT lf) : m_logFont(std::move(lf)) {}
    // The platform's CreatePointFont: tenths of a point at the screen's 96 dpi.
    static CFont FromPoints(int tenthsOfPoint, std::string faceName);
    const LOGFONT& GetLogFont() const { return m_logFont; }
    friend bool operator==(const CFont&, const CFont&) = default;

  private:
    LOGFONT m_logFont;
};

// Pen selected into a device context; a plain value. Width 0 draws one pixel wide.
struct CPen {
    int style = PS_SOLID;
    int width = 0;
    COLORREF color = 0;
    friend bool operator==(const CPen&, const CPen&) = default;
};

class CBitmap;

// A text and the rectangle it is drawn in, one of a run drawn together.
struct PlacedText {
    std::string text;
    RECT rc{};
};

// A device context. Coordinates are logical pixels (device units); rectangles have exclusive
// right and bottom edges.
class CDC {
  public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    virtual void FillSolidRect(const RECT& rc, COLORREF color) = 0;
    // Moves the current position; returns the previous one.
    virtual POINT MoveTo(int x, int y) = 0;
    // Draws from the current position to (x, y) with the current pen, leaving out the end point.
    virtual void LineTo(int x, int y) = 0;
    // A connected line through the points with the current pen, the last point left out.
    virtual void Polyline(const std::vector<POINT>& points) = 0;
    // Rectangle outline with the current pen and no fill.
    virtual void FrameRect(const RECT& rc) = 0;
    // Draws text in the rectangle by the DT_ flags. With DT_CALCRECT nothing is drawn and the
    // rectangle is set to the text's extent. Returns the height of the text.
    virtual int DrawText(std::string_view text, RECT& rc, UINT format) = 0;
    // Draws each text in its rectangle as DrawText does, in order. A device that pays for every
    // change of clip shares one between texts one under another in a column.
    virtual void DrawTexts(const std::vector<PlacedText>& texts, UINT format);
    // Text at a point, its top-left corner there.
    virtual void TextOut(int x, int y, std::string_view text) = 0;
    virtual SIZE GetTextExtentPoint32(std::string_view text) = 0;
    // Height of the current font's line (ascent + descent).
    virtual int GetTextHeight() = 0;
    // The 3-D edges of the classic scheme drawn inside the rectangle.
    virtual void DrawEdge(const RECT& rc, UINT edge, UINT flags) = 0;
    // A control part of the classic scheme in the rectangle: a scroll-bar arrow button (DFC_SCROLL
    // with DFCS_SCROLLUP or DFCS_SCROLLDOWN), a check box (a square of the rectangle's height at
    // its left, vertically centred) or a push button's face (DFC_BUTTON with DFCS_BUTTONCHECK or
    // DFCS_BUTTONPUSH); DFCS_PUSHED draws it pressed, DFCS_CHECKED checks the box. False for
    // other types. Drawn with FillSolidRect and DrawEdge, so every device draws it the same.
    virtual bool DrawFrameControl(RECT& rc, UINT type, UINT state);
    // Dotted frame drawn by inverting pixels: drawing it twice restores them.
    virtual void DrawFocusRect(const RECT& rc) = 0;
    // Copies width x height pixels from the source context's bitmap at (xSrc, ySrc).
    virtual void BitBlt(int x, int y, int width, int height, CDC& source, int xSrc, int ySrc,
                        UINT rop) = 0;
    virtual int GetDeviceCaps(int index) const = 0;

    virtual COLORREF SetTextColor(COLORREF color) = 0;
    virtual COLORREF SetBkColor(COLORREF color) = 0;
    virtual int SetBkMode(int mode) = 0;
    virtual COLORREF GetTextColor() const = 0;
    virtual COLORREF GetBkColor() const = 0;
    virtual int GetBkMode() const = 0;
    // Selects a font or pen; returns the one selected before.
    virtual CFont SelectFont(const CFont& font) = 0;
    virtual CPen SelectPen(const CPen& pen) = 0;
    virtual const CFont& GetCurrentFont() const = 0;
    virtual const CPen& GetCurrentPen() const = 0;

    // Restricts drawing to the rectangle; an empty rectangle clears the restriction.
    virtual void SetClipRect(const RECT& rc) = 0;

    // The bitmap this context draws into, or nullptr for a printer or recording context.
    virtual CBitmap* GetBitmap() { return nullptr; }

    // The ellipse inscribed in the rectangle: outlined with the current pen and filled white,
    // the brush every context starts with (a context holds no other brush).
    virtual void Ellipse(const RECT& rc) = 0;
};

// An off-screen 32-bit RGB image that a memory device context draws into.
class CBitmap {
  public:
    CBitmap(int width, int height, COLORREF fill = 0x00FFFFFF);
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;
    CBitmap(CBitmap&&) noexcept;
    CBitmap& operator=(CBitmap&&) noexcept;
    ~CBitmap();

    int Width() const;
    int Height() const;
    COLORREF GetPixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF color);
    // Grows or shrinks, keeping the pixels that stay inside.
    void Resize(int width, int height, COLORREF fill = 0x00FFFFFF);
    bool SavePng(const std::string& path) const;

    struct Impl;
    Impl& impl() { return *m_impl; }
    const Impl& impl() const { return *m_impl; }

  private:
    std::unique_ptr<Impl> m_impl;
};

// A device context drawing into a bitmap at 96 dpi (the screen and CreateCompatibleDC).
std::unique_ptr<CDC> CreateBitmapDC(CBitmap& bitmap);
