// The Qt main window that hosts a frame: menu bar built from a menu resource, close and
// resize requests passed to the frame.
#pragma once

#include <QMainWindow>
#include <QMenu>

#include "platform/ui/command.h"

class CFrameWnd;

class CFrameMainWindow : public QMainWindow {
  public:
    // Builds the menu bar; every menu asks the frame's rules for its items when it opens. An
    // entry whose rule gives it an empty text is left out while the menu is open (the unused
    // places of a recent-file list).
    void BuildMenuBar(const MenuResource& menu);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FillMenu(QMenu& menu, const std::vector<MenuItemResource>& items);
    void UpdateMenu(QMenu& menu);
    // The frame of the client widget; nullptr once the frame has let go of its window.
    CFrameWnd* Frame() const;
};

// The command id an action of a built menu carries; 0 for popups and separators.
UINT CommandIdOf(const QAction& action);
