// Message constants: virtual-key codes, mouse and key flags, redraw flags, cursors, show codes.
#pragma once

#include <string_view>

#include "platform/gdi/types.h"

// Mouse message flags.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;

// Virtual-key codes.
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F6 = 0x75;
constexpr UINT VK_F12 = 0x7B;
// Letters and digits are their upper-case ASCII codes ('A', '0').

// Accelerator modifier flags.
constexpr UINT FVIRTKEY = 0x01;
constexpr UINT FSHIFT = 0x04;
constexpr UINT FCONTROL = 0x08;
constexpr UINT FALT = 0x10;

// RedrawWindow flags.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_UPDATENOW = 0x0100;

// ShowWindow codes.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWMAXIMIZED = 3;

// What a window answers when a dialog or container asks which keys it handles itself.
constexpr UINT DLGC_WANTARROWS = 0x0001;
constexpr UINT DLGC_WANTTAB = 0x0002;
constexpr UINT DLGC_WANTALLKEYS = 0x0004;
constexpr UINT DLGC_WANTCHARS = 0x0080;

// Window and frame styles.
constexpr UINT WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr UINT WS_POPUP = 0x80000000;
constexpr UINT WS_CHILD = 0x40000000;
// A one-pixel black frame round the client area.
constexpr UINT WS_BORDER = 0x00800000;
constexpr UINT WS_VISIBLE = 0x10000000;
// A window that Tab stops at in its parent's tab order (GetNextDlgTabItem); WS_GROUP starts a
// group of dialog controls.
constexpr UINT WS_TABSTOP = 0x00010000;
constexpr UINT WS_GROUP = 0x00020000;
// Extended style: the window stays above the windows that are not top-most.
constexpr UINT WS_EX_TOPMOST = 0x00000008;
constexpr UINT FWS_ADDTOTITLE = 0x00008000;

// Cursors.
enum class Cursor { Arrow, SizeWE, SizeNS, SizeAll, IBeam, Wait };
constexpr Cursor IDC_ARROW = Cursor::Arrow;
constexpr Cursor IDC_SIZEWE = Cursor::SizeWE;
constexpr Cursor IDC_SIZENS = Cursor::SizeNS;
constexpr Cursor IDC_SIZEALL = Cursor::SizeAll;
constexpr Cursor IDC_IBEAM = Cursor::IBeam;
constexpr Cursor IDC_WAIT = Cursor::Wait;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_RETURNCMD = 0x0100;

// GetSystemMetrics indexes.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct CREATESTRUCT {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT style = 0;
    std::string_view className;
};
