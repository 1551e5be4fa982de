// Driving windows in tests through the toolkit's own events, so that input takes the same
// translation path as a user's, and reading back what a window shows.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/frame_wnd.h"

enum class MouseButton { Left, Right };

// Presses and releases a key: vk with FSHIFT/FCONTROL/FALT modifiers; text is what the key
// types (empty for keys that type nothing).
void SendKey(CWnd& wnd, UINT vk, UINT modifiers = 0, const std::string& text = {});
// Types each character of the text as a key press.
void TypeText(CWnd& wnd, const std::string& text);
void SendMouseDown(CWnd& wnd, MouseButton button, POINT point, UINT modifiers = 0);
void SendMouseUp(CWnd& wnd, MouseButton button, POINT point, UINT modifiers = 0);
void SendMouseMove(CWnd& wnd, POINT point, bool leftDown = false, UINT modifiers = 0);
void SendClick(CWnd& wnd, POINT point, UINT modifiers = 0);
// Two clicks in quick succession with the left button, as the toolkit reports them: a press, a
// release, a double-click press and a release.
void SendDoubleClick(CWnd& wnd, POINT point);
// Makes the window's top-level window the active one, as a click on its title would, so that
// focus given to its children is real focus.
void ActivateWindow(CWnd& wnd);
// Asks the frame to close as the window manager would.
void SendClose(CFrameWnd& frame);

// Paints what is invalid, then reads the pixel from the backing surface.
COLORREF ReadPixel(CWnd& wnd, int x, int y);
// Renders the window's top-level window with all its children, as the screen shows it, and
// reads the pixel at the point of the window's client area; CLR_INVALID outside it.
COLORREF ReadShownPixel(CWnd& wnd, int x, int y);

struct MenuItemState {
    std::string text;
    UINT id = 0;
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
};
// Opens a menu of the frame's menu bar by its text ("&File") as a user would, so that its
// rules run, and returns its items; empty when there is no such menu.
std::vector<MenuItemState> OpenMenu(CFrameWnd& frame, const std::string& title);
// The titles of the menu bar's menus.
std::vector<std::string> MenuTitles(CFrameWnd& frame);
// Opens the menu (and submenu) holding the command and clicks it; false when absent or
// disabled.
bool ClickMenuItem(CFrameWnd& frame, UINT id);
// Size of the frame's whole window and its limits.
SIZE FrameSize(CFrameWnd& frame);
SIZE FrameMaximumSize(CFrameWnd& frame);
// Asks the toolkit to resize the frame as dragging its edge would.
void ResizeFrame(CFrameWnd& frame, int width, int height);
