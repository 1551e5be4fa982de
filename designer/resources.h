// The designer's resource ids: frame, menus, accelerators and command ids.
#pragma once

#include "platform/gdi/types.h"

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_CONTEXTMENU = 132;

constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_SELECT_ALL = 32776;
constexpr UINT ID_CONTROLS_STATICTEXT = 32771;
constexpr UINT ID_CONTROLS_COLUMN = 32772;
constexpr UINT ID_CONTROLS_HORIZONTALLINE = 32773;
constexpr UINT ID_CONTROLS_RECTANGLE = 32774;
constexpr UINT ID_CONTROLS_ROUNDRECTANGLE = 32775;
constexpr UINT ID_CONTROLS_VERTICALLINE = 32777;
constexpr UINT ID_CONTEXT_PROPERTIES = 32778;
constexpr UINT ID_CONTEXT_DUPLICATE = 32779;
constexpr UINT ID_CONTEXT_DELETE = 32780;
constexpr UINT ID_FORM_SETBACKGROUNDCOLOR = 32781;
constexpr UINT ID_FORM_PREVIEW = 32784;
constexpr UINT ID_FORM_RECORDSOURCE = 32785;
constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;

// Puts the designer's menus, accelerators and strings into the resource table.
void RegisterDesignerResources();
