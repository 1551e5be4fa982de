// The designer's resource ids: frame, menus, accelerators and command ids.
#pragma once

#include <utility>

#include "designer/format_rules.h"
#include "platform/gdi/types.h"

constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_CONTEXTMENU = 132;

constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_SAVE = 57603;
// The Recent Files entries, the most recent first.
constexpr UINT ID_FILE_MRU_FILE1 = 57616;
constexpr UINT ID_FILE_MRU_FILE4 = 57619;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_EDIT_REDO = 57644;
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
constexpr UINT ID_FORMAT_ALIGN_LEFTS = 32790;
constexpr UINT ID_FORMAT_ALIGN_RIGHTS = 32791;
constexpr UINT ID_FORMAT_ALIGN_TOPS = 32792;
constexpr UINT ID_FORMAT_ALIGN_BOTTOMS = 32793;
constexpr UINT ID_FORMAT_ALIGN_CENTERS = 32794;
constexpr UINT ID_FORMAT_ALIGN_MIDDLES = 32795;
constexpr UINT ID_FORMAT_SAME_WIDTH = 32796;
constexpr UINT ID_FORMAT_SAME_HEIGHT = 32797;
constexpr UINT ID_FORMAT_SAME_SIZE = 32798;
constexpr UINT ID_FORMAT_SPACE_ACROSS = 32799;
constexpr UINT ID_FORMAT_SPACE_DOWN = 32800;
constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;

// The Format menu's commands by id.
inline constexpr std::pair<UINT, FormatCommand> kFormatCommands[] = {
    {ID_FORMAT_ALIGN_LEFTS, FormatCommand::AlignLefts},
    {ID_FORMAT_ALIGN_RIGHTS, FormatCommand::AlignRights},
    {ID_FORMAT_ALIGN_TOPS, FormatCommand::AlignTops},
    {ID_FORMAT_ALIGN_BOTTOMS, FormatCommand::AlignBottoms},
    {ID_FORMAT_ALIGN_CENTERS, FormatCommand::AlignCenters},
    {ID_FORMAT_ALIGN_MIDDLES, FormatCommand::AlignMiddles},
    {ID_FORMAT_SAME_WIDTH, FormatCommand::SameWidth},
    {ID_FORMAT_SAME_HEIGHT, FormatCommand::SameHeight},
    {ID_FORMAT_SAME_SIZE, FormatCommand::SameSize},
    {ID_FORMAT_SPACE_ACROSS, FormatCommand::SpaceAcross},
    {ID_FORMAT_SPACE_DOWN, FormatCommand::SpaceDown},
};

// Puts the designer's menus, accelerators and strings into the resource table.
void RegisterDesignerResources();
