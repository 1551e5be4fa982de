// A window: message handlers with virtual-key codes and mouse flags, a backing surface that
// every paint draws into, invalidation, drawing outside paint, capture, cursors and focus.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/ui/command.h"
#include "platform/ui/messages.h"

class CWnd : public CCmdTarget {
  public:
    CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    // A child window inside the parent's client area, or a top-level window without parent.
    bool Create(CWnd* parent, const RECT& rect, UINT id = 0, UINT style = WS_CHILD | WS_VISIBLE);
    // With WS_POPUP, a pop-up window without a title bar at rect on the screen, owned by the
    // owner (it stays above it and goes when the owner's top-level window goes); WS_BORDER
    // draws a thin frame inside rect round the client area, WS_EX_TOPMOST keeps it above other
    // windows. Without WS_POPUP, Create(owner, rect, id, style).
    bool CreateEx(UINT exStyle, UINT style, const RECT& rect, CWnd* owner, UINT id = 0);
    void DestroyWindow();
    bool IsWindow() const;
    CWnd* GetParent() const { return m_parent; }
    // The window a pop-up belongs to; null for others.
    CWnd* GetOwner() const { return m_owner; }
    UINT GetDlgCtrlID() const { return m_id; }
    UINT GetStyle() const { return m_style; }
    void ModifyStyle(UINT remove, UINT add) { m_style = (m_style & ~remove) | add; }
    // The child after the control (before it when previous) in creation order that is a shown
    // WS_TABSTOP window, wrapping round; the first (or last) for a null control; null when no
    // child is a tab stop.
    CWnd* GetNextDlgTabItem(CWnd* control, bool previous = false) const;
    // Gives the focus to the parent's tab stop after this window (before it when previous), as
    // Tab out of a control does; without another, the parent's OnTabOut decides.
    void FocusNextTabItem(bool previous = false);
    // The window at the top of this one's parent chain.
    CWnd* GetTopLevel();

    // Message handlers.
    virtual int OnCreate() { return 0; }
    virtual void OnDestroy() {}
    virtual void OnClose() { DestroyWindow(); }
    // Paints the invalid part of the window; the context draws into the backing surface and
    // is clipped to that part.
    virtual void OnPaint(CDC& dc);
    virtual void OnSize(int /*cx*/, int /*cy*/) {}
    virtual void OnLButtonDown(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnLButtonUp(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnLButtonDblClk(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnRButtonDown(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnRButtonUp(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnMouseMove(UINT /*flags*/, POINT /*point*/) {}
    virtual void OnKeyDown(UINT /*vk*/, UINT /*repeat*/, UINT /*flags*/) {}
    virtual void OnKeyUp(UINT /*vk*/, UINT /*repeat*/, UINT /*flags*/) {}
    // A typed character as its Unicode code point, control characters included (8, 9, 13, 27).
    virtual void OnChar(UINT /*ch*/, UINT /*repeat*/, UINT /*flags*/) {}
    virtual void OnSetFocus() {}
    virtual void OnKillFocus() {}
    virtual void OnGetMinMaxInfo(MINMAXINFO& /*info*/) {}
    // Which keys the window keeps from the dialog or host around it (DLGC_ flags): with
    // DLGC_WANTTAB Tab, with DLGC_WANTARROWS the arrows, with DLGC_WANTALLKEYS every key (Tab,
    // Enter and Escape included) reaches the window without its parents' PreTranslateKey.
    virtual UINT OnGetDlgCode() { return 0; }
    // A child left by Tab (Shift+Tab when previous) has no other tab stop in this window to go
    // to; a window embedded in another toolkit's widgets passes the focus on there.
    virtual void OnTabOut(bool /*previous*/) {}
    // Sees every key press of the window and its children first; true when it consumed it.
    virtual bool PreTranslateKey(UINT /*vk*/, UINT /*modifiers*/) { return false; }

    // Geometry.
    RECT GetClientRect() const;
    void GetClientRect(RECT& rc) const { rc = GetClientRect(); }
    // Position and size in the parent's client coordinates, or on the screen for a top-level
    // window.
    RECT GetWindowRect() const;
    void MoveWindow(const RECT& rc);
    void ClientToScreen(POINT& point) const;
    void ScreenToClient(POINT& point) const;
    void ShowWindow(int command);
    bool IsWindowVisible() const;

    // Painting. Invalid parts are painted by UpdateWindow, RedrawWindow with RDW_UPDATENOW, or
    // the next paint the toolkit asks for.
    void InvalidateRect(const RECT* rc, bool erase = true);
    void Invalidate(bool erase = true) { InvalidateRect(nullptr, erase); }
    void ValidateRect(const RECT* rc);
    void UpdateWindow();
    bool RedrawWindow(const RECT* rc = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RECT GetUpdateRect() const { return m_invalid; }
    // Moves the backing surface's pixels inside scrollRect (the client area when null) by
    // (dx, dy); only pixels inside clipRect (the client area when null) are read or written.
    // The part of the scrolled area the move uncovers becomes invalid, and so does a pending
    // invalid part where it moves to.
    void ScrollWindow(int dx, int dy, const RECT* scrollRect = nullptr,
                      const RECT* clipRect = nullptr);
    CBitmap& GetBackingSurface();
    // Shows what was drawn into the backing surface outside a paint.
    void FlushSurface();

    // Text.
    void SetWindowText(const std::string& text);
    std::string GetWindowText() const;

    // Input.
    void SetCapture();
    void ReleaseCapture();
    bool HasCapture() const;
    void SetCursor(Cursor cursor);
    Cursor GetCursor() const { return m_cursor; }
    void SetFocus();
    bool HasFocus() const;
    // Whether presses that come close together arrive as double-clicks (the window class's
    // double-click style); without it the second press is a plain press.
    void SetDoubleClicks(bool wanted) { m_doubleClicks = wanted; }
    bool WantsDoubleClicks() const { return m_doubleClicks; }

    // The caret: one per program, owned by the window that created it last (the focused one,
    // as a rule). It is created hidden; each HideCaret needs one ShowCaret before it shows
    // again. Shown, it blinks at the desktop's cursor flash time (steady when that is 0) and is
    // drawn inverting the shown picture, never into the backing surface. ShowCaret and
    // HideCaret act only on the owner's caret; position and destruction act on the caret
    // wherever it is.
    bool CreateSolidCaret(int width, int height);
    bool ShowCaret();
    bool HideCaret();
    static void SetCaretPos(POINT point);
    static POINT GetCaretPos();
    static void DestroyCaret();

    // Sends a command up the parent chain to the first window that handles it.
    bool SendCommand(UINT id);

    // Takes over the control with the id in a dialog (typically a static): this window is
    // created in its place and size, and paints and takes input there from then on. False
    // when the parent is not a built dialog, has no such control, or this is a window already.
    bool SubclassDlgItem(UINT id, CWnd* parent);

    struct Host;
    Host* GetHost() const { return m_host.get(); }

  protected:
    // Creation of the host by subclasses that need another kind (the frame window).
    void AttachHost(std::unique_ptr<Host> host, CWnd* parent, UINT id);
    bool FinishCreate();

  private:
    friend struct Host;
    void PaintInvalid();
    void LeaveParent();

    std::unique_ptr<Host> m_host;
    CWnd* m_parent = nullptr;
    CWnd* m_owner = nullptr;
    std::vector<CWnd*> m_children;  // created, not yet destroyed, in creation order
    UINT m_id = 0;
    UINT m_style = 0;
    RECT m_invalid{};
    Cursor m_cursor = Cursor::Arrow;
    bool m_doubleClicks = false;
    bool m_destroying = false;
};

// Draws into a window's backing surface outside a paint (GetDC/ReleaseDC); what was drawn is
// shown when the context is released.
class CClientDC {
  public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;
    CDC* operator->() { return m_dc.get(); }
    CDC& operator*() { return *m_dc; }

  private:
    CWnd* m_wnd;
    std::unique_ptr<CDC> m_dc;
};

// State of Shift, Control and Alt at the last input message: negative when down.
short GetKeyState(UINT vk);
int GetSystemMetrics(int index);
CWnd* GetCapture();
// Sounds the desktop's alert (every type sounds the same one here). Alerts are counted, so that
// a test run without a sound device can tell that one was sounded.
bool MessageBeep(UINT type);
unsigned MessageBeepCount();

// What the caret is doing, for tests: its window (null without a caret), its rectangle in that
// window's client area, whether it is shown (hide count 0), whether the blink phase draws it
// now, and the blink's half period in milliseconds (0: steady).
struct CaretInfo {
    CWnd* owner = nullptr;
    RECT rect{};
    bool shown = false;
    bool blinkOn = false;
    int blinkInterval = 0;
};
CaretInfo GetCaretInfo();
