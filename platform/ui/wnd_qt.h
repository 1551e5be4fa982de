// Qt side of the window layer: the widget behind a window, for dialogs that need a parent.
#pragma once

class QWidget;
class CWnd;

// The top-level widget of the window's host (the frame for a frame window); nullptr for null.
QWidget* QtWidgetOf(CWnd* wnd);
