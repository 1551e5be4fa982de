// The scroll-bar child window: its arrows, its trough and its context menu send scroll
// commands (WM_VSCROLL codes) to the parent window.
#pragma once

#include "platform/ui/wnd.h"

// Scroll-bar styles.
constexpr UINT SBS_VERT = 0x0001;
constexpr UINT SBS_RIGHTALIGN = 0x0004;

// Scroll commands.
constexpr UINT SB_LINEUP = 0;
constexpr UINT SB_LINEDOWN = 1;
constexpr UINT SB_PAGEUP = 2;
constexpr UINT SB_PAGEDOWN = 3;
constexpr UINT SB_THUMBPOSITION = 4;
constexpr UINT SB_THUMBTRACK = 5;
constexpr UINT SB_TOP = 6;
constexpr UINT SB_BOTTOM = 7;
constexpr UINT SB_ENDSCROLL = 8;

class CScrollBar;

// A window that takes the scroll commands of its scroll-bar children (WM_VSCROLL).
class CVScrollTarget {
  public:
    virtual void OnVScroll(UINT code, UINT pos, CScrollBar* bar) = 0;

  protected:
    CVScrollTarget() = default;
    CVScrollTarget(const CVScrollTarget&) = default;
    CVScrollTarget& operator=(const CVScrollTarget&) = default;
    ~CVScrollTarget() = default;
};

// A vertical scroll bar whose range and position are not set: it shows its two arrow buttons
// and an empty trough, and serves as a source of commands. A press on the upper arrow sends
// SB_LINEUP, on the lower SB_LINEDOWN; a press in the trough above its middle SB_PAGEUP, below
// it SB_PAGEDOWN; the right button opens the desktop's menu of Top, Bottom, Page Up, Page
// Down, Scroll Up and Scroll Down. Commands go to a parent that is a CVScrollTarget.
class CScrollBar : public CWnd {
  public:
    CScrollBar();
    // Only vertical bars (SBS_VERT) are made.
    bool Create(UINT style, const RECT& rect, CWnd* parent, UINT id);

    // The parts in client coordinates: the arrow buttons are as tall as the bar is wide, or
    // share the height when it is shorter than two of them.
    RECT UpArrowRect() const;
    RECT DownArrowRect() const;
    RECT TroughRect() const;

    // The entries of the context menu, by command id.
    static constexpr UINT ID_SCROLL_TOP = 0xE900;
    static constexpr UINT ID_SCROLL_BOTTOM = 0xE901;
    static constexpr UINT ID_SCROLL_PAGEUP = 0xE902;
    static constexpr UINT ID_SCROLL_PAGEDOWN = 0xE903;
    static constexpr UINT ID_SCROLL_LINEUP = 0xE904;
    static constexpr UINT ID_SCROLL_LINEDOWN = 0xE905;

    void OnPaint(CDC& dc) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonUp(UINT flags, POINT point) override;
    void OnRButtonUp(UINT flags, POINT point) override;

  private:
    void Send(UINT code);
    int ArrowHeight() const;

    // The arrow held down, drawn pushed until the button comes up.
    int m_pressedArrow = 0;  // 0 none, -1 up, 1 down
};
