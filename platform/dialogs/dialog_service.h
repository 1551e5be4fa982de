// The common dialogs and message boxes, behind a service that is real Qt dialogs on a desktop
// and a scripted queue of answers in tests and headless runs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/print_document.h"
#include "platform/gdi/printer_dc.h"
#include "platform/gdi/types.h"
#include "platform/ui/command.h"

class CWnd;
class CDialog;

// Message box types and results.
constexpr UINT MB_OK = 0x0000;
constexpr UINT MB_OKCANCEL = 0x0001;
constexpr UINT MB_YESNOCANCEL = 0x0003;
constexpr UINT MB_YESNO = 0x0004;
constexpr UINT MB_ICONERROR = 0x0010;
constexpr UINT MB_ICONQUESTION = 0x0020;
constexpr UINT MB_ICONWARNING = 0x0030;
constexpr UINT MB_ICONINFORMATION = 0x0040;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// File dialog flags.
constexpr UINT OFN_READONLY = 0x00000001;
constexpr UINT OFN_OVERWRITEPROMPT = 0x00000002;
constexpr UINT OFN_HIDEREADONLY = 0x00000004;
constexpr UINT OFN_PATHMUSTEXIST = 0x00000800;
constexpr UINT OFN_FILEMUSTEXIST = 0x00001000;

// Colour dialog flags.
constexpr UINT CC_RGBINIT = 0x00000001;
constexpr UINT CC_FULLOPEN = 0x00000002;

// Print dialog flags.
constexpr UINT PD_ALLPAGES = 0x00000000;
constexpr UINT PD_SELECTION = 0x00000001;
constexpr UINT PD_PAGENUMS = 0x00000002;
constexpr UINT PD_NOSELECTION = 0x00000004;
constexpr UINT PD_NOPAGENUMS = 0x00000008;
constexpr UINT PD_COLLATE = 0x00000010;
constexpr UINT PD_PRINTTOFILE = 0x00000020;
constexpr UINT PD_PRINTSETUP = 0x00000040;
constexpr UINT PD_RETURNDC = 0x00000100;
constexpr UINT PD_USEDEVMODECOPIES = 0x00040000;
constexpr UINT PD_DISABLEPRINTTOFILE = 0x00080000;
constexpr UINT PD_HIDEPRINTTOFILE = 0x00100000;

// One entry of a filter string "Name (*.ext)|*.ext; *.txt|Other|*.o||": a description and the
// semicolon-separated patterns, trimmed of blanks.
struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;
    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};
// An entry whose pattern field is missing ("Design Files (*.qor); *.qor||") takes its patterns
// from the parenthesised part of its description and ends the list.
std::vector<FileFilter> ParseFileFilter(const std::string& filter);

struct FileDialogRequest {
    bool open = true;
    std::string defaultExtension;
    std::string initialFileName;
    UINT flags = 0;
    std::vector<FileFilter> filters;
    std::string title;
};

struct ColorDialogRequest {
    COLORREF initial = 0;
    UINT flags = 0;
};

// PD_PRINTSETUP marks a setup-only dialog, PD_RETURNDC asks for the printer context.
struct PrintDialogRequest {
    UINT flags = 0;
    friend bool operator==(const PrintDialogRequest&, const PrintDialogRequest&) = default;
};

struct AboutRequest {
    std::string caption;
    std::vector<std::string> lines;
};

// An entry of a popup menu as it was shown: its state comes from the owner's command rules.
struct ShownMenuItem {
    std::string text;
    UINT id = 0;
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
    bool separator = false;
    std::vector<ShownMenuItem> items;  // a popup's entries
};
// The entries as the owner's command rules show them; without an owner every command is
// disabled.
std::vector<ShownMenuItem> DescribeMenu(const CWnd* owner,
                                        const std::vector<MenuItemResource>& items);

// What a scripted service records of each dialog that was shown.
struct ShownDialog {
    enum class Kind {
        MessageBox,
        FileOpen,
        FileSave,
        Color,
        About,
        PopupMenu,
        Dialog,
        Print,
        PrintPreview,
        PrintProgress
    } kind{};
    std::string caption;
    std::string text;
    UINT flags = 0;
    FileDialogRequest file;
    ColorDialogRequest color;
    PrintDialogRequest print;
    AboutRequest about;
    UINT templateId = 0;              // Dialog
    POINT point;                      // PopupMenu: where it opened, in screen coordinates
    std::vector<ShownMenuItem> menu;  // PopupMenu
    // PrintPreview: the document shown and its page count; PrintProgress: the pages after which
    // Cancel was pressed. The caption is the document's name.
    std::shared_ptr<const CPrintDocument> document;
    int pages = 0;
};

class IDialogService {
  public:
    virtual ~IDialogService() = default;
    // Returns the button pressed (IDOK, IDCANCEL, IDYES, IDNO).
    virtual int MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                           UINT type) = 0;
    // The chosen full path, or nothing when cancelled. A save dialog with OFN_OVERWRITEPROMPT
    // asks before it returns an existing file.
    virtual std::optional<std::string> FileDialog(CWnd* owner,
                                                  const FileDialogRequest& request) = 0;
    virtual std::optional<COLORREF> ChooseColor(CWnd* owner, const ColorDialogRequest& request) = 0;
    // The printer the user chose, ready for its document; nullptr when cancelled.
    virtual std::unique_ptr<CPrinterDC> PrintDialog(CWnd* owner,
                                                    const PrintDialogRequest& request) = 0;
    // Shows a kept document before it prints; true when the user chose to print it.
    virtual bool PrintPreview(CWnd* owner, const CPrintDocument& document) = 0;
    // Watches a document on the printer the print dialog gave: a job that takes longer than
    // about a second shows its progress with a Cancel button.
    virtual std::unique_ptr<CPrintProgress> PrintProgress(CWnd* owner) = 0;
    virtual void About(CWnd* owner, const AboutRequest& request) = 0;
    // Runs a built dialog, whose OnInitDialog has run, until it ends; returns the result its
    // EndDialog got.
    virtual int RunDialog(CDialog& dialog) = 0;
    // Shows the popup's entries at the screen point, enabled and checked as the owner's
    // command rules say; the command chosen, or nothing when the menu was dismissed. A
    // disabled entry cannot be chosen.
    virtual std::optional<UINT> PopupMenu(CWnd* owner, const MenuItemResource& popup,
                                          POINT screenPoint, UINT flags) = 0;
};

// The service in use. Until one is set, a Qt service when a display is there and a scripted
// one (cancelling everything) when running headless.
IDialogService& DialogService();
// Replaces the service in use; returns the previous one. After a null service the default is
// chosen again on the next use.
std::unique_ptr<IDialogService> SetDialogService(std::unique_ptr<IDialogService> service);

// The printer, its documents shown in the service's print preview first; a failing preview
// prints nothing.
std::unique_ptr<CPrinterDC> PreviewBeforePrinting(std::unique_ptr<CPrinterDC> printer, CWnd* owner);

// The platform's message box: owner, text, caption, type; returns the button pressed.
int AfxMessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                  UINT type = MB_OK);
