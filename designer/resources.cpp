// The designer's menu bar, context menu, accelerator table and title.
#include "designer/resources.h"

#include "designer/column_properties_dlg.h"
#include "designer/record_source_dlg.h"
#include "platform/ui/command.h"

namespace {

// Kept under Edit, so the menu bar stays as it is.
MenuItemResource FormatMenu() {
    using M = MenuItemResource;
    return M::Popup("F&ormat", {M::Item("Align &Lefts", ID_FORMAT_ALIGN_LEFTS),
                                M::Item("Align &Rights", ID_FORMAT_ALIGN_RIGHTS),
                                M::Item("Align &Tops", ID_FORMAT_ALIGN_TOPS),
                                M::Item("Align &Bottoms", ID_FORMAT_ALIGN_BOTTOMS),
                                M::Item("Align &Centers", ID_FORMAT_ALIGN_CENTERS),
                                M::Item("Align &Middles", ID_FORMAT_ALIGN_MIDDLES), M::Separator(),
                                M::Item("Make Same &Width", ID_FORMAT_SAME_WIDTH),
                                M::Item("Make Same &Height", ID_FORMAT_SAME_HEIGHT),
                                M::Item("Make Same &Size", ID_FORMAT_SAME_SIZE), M::Separator(),
                                M::Item("Space &Across", ID_FORMAT_SPACE_ACROSS),
                                M::Item("Space &Down", ID_FORMAT_SPACE_DOWN)});
}

// Its entries get their texts, the files' names, when it opens.
MenuItemResource RecentFilesMenu() {
    std::vector<MenuItemResource> entries;
    for (UINT id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_FILE4; ++id) {
        entries.push_back(MenuItemResource::Item({}, id));
    }
    return MenuItemResource::Popup("Recent &Files", std::move(entries));
}

}  // namespace

void RegisterDesignerResources() {
    using M = MenuItemResource;
    RegisterMenuResource(
        IDR_MAINFRAME,
        {M::Popup("&File", {M::Item("&New", ID_FILE_NEW), M::Item("&Open", ID_FILE_OPEN),
                            M::Item("&Save", ID_FILE_SAVE), M::Separator(), RecentFilesMenu(),
                            M::Separator(), M::Item("E&xit", ID_APP_EXIT)}),
         M::Popup("&Edit",
                  {M::Item("&Undo\tCtrl+Z", ID_EDIT_UNDO), M::Item("&Redo\tCtrl+Y", ID_EDIT_REDO),
                   M::Separator(), M::Item("Cu&t\tCtrl+X", ID_EDIT_CUT),
                   M::Item("&Copy\tCtrl+C", ID_EDIT_COPY), M::Item("&Paste\tCtrl+V", ID_EDIT_PASTE),
                   M::Separator(), M::Item("Select All", ID_EDIT_SELECT_ALL), M::Separator(),
                   FormatMenu()}),
         M::Popup("Controls", {M::Item("StaticText", ID_CONTROLS_STATICTEXT),
                               M::Item("Column", ID_CONTROLS_COLUMN),
                               M::Item("Horizontal Line", ID_CONTROLS_HORIZONTALLINE),
                               M::Item("Vertical Line", ID_CONTROLS_VERTICALLINE),
                               M::Item("Rectangle", ID_CONTROLS_RECTANGLE),
                               M::Item("Round Rectangle", ID_CONTROLS_ROUNDRECTANGLE)}),
         M::Popup("Form", {M::Item("Set Background Color", ID_FORM_SETBACKGROUNDCOLOR),
                           M::Item("Record Source...", ID_FORM_RECORDSOURCE),
                           M::Item("Preview", ID_FORM_PREVIEW)}),
         M::Popup("&Help", {M::Item("&About qorform...", ID_APP_ABOUT)})});
    RegisterMenuResource(
        IDR_CONTEXTMENU,
        {M::Popup("Context", {M::Item("Properties", ID_CONTEXT_PROPERTIES), M::Separator(),
                              M::Item("Duplicate", ID_CONTEXT_DUPLICATE),
                              M::Item("Delete", ID_CONTEXT_DELETE)})});
    const UINT v = FVIRTKEY;
    RegisterAcceleratorResource(IDR_MAINFRAME, {
                                                   {v | FCONTROL, 'Z', ID_EDIT_UNDO},
                                                   {v | FALT, VK_BACK, ID_EDIT_UNDO},
                                                   {v | FCONTROL, 'Y', ID_EDIT_REDO},
                                                   {v | FCONTROL | FSHIFT, 'Z', ID_EDIT_REDO},
                                                   {v | FCONTROL, 'X', ID_EDIT_CUT},
                                                   {v | FSHIFT, VK_DELETE, ID_EDIT_CUT},
                                                   {v | FCONTROL, 'C', ID_EDIT_COPY},
                                                   {v | FCONTROL, VK_INSERT, ID_EDIT_COPY},
                                                   {v | FCONTROL, 'V', ID_EDIT_PASTE},
                                                   {v | FSHIFT, VK_INSERT, ID_EDIT_PASTE},
                                                   {v, VK_F6, ID_NEXT_PANE},
                                                   {v | FSHIFT, VK_F6, ID_PREV_PANE},
                                               });
    RegisterStringResource(IDR_MAINFRAME, "qorform");
    RegisterColumnPropertiesDialog();
    RegisterRecordSourceDialog();
}
