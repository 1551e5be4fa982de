// Scripted answers for dialogs, and the record of what was shown.
#include "platform/dialogs/scripted_dialogs.h"

#include <filesystem>

#include "platform/com/exception_guard.h"
#include "platform/dialogs/dialog.h"
#include "platform/gdi/pdf_printer.h"

namespace {

ShownDialog MessageBoxShown(const std::string& text, const std::string& caption, UINT type) {
    ShownDialog shown;
    shown.kind = ShownDialog::Kind::MessageBox;
    shown.caption = caption;
    shown.text = text;
    shown.flags = type;
    return shown;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// Presses Cancel once the given number of pages has ended, for one document.
class CScriptedPrintProgress : public CPrintProgress {
  public:
    explicit CScriptedPrintProgress(int cancelAfter) : m_cancelAfter(cancelAfter) {}
    void DocumentStarted(const std::string& /*name*/) override {}
    bool PageEnded(int pages) override {
        if (m_pressed || pages < m_cancelAfter) {
            return true;
        }
        m_pressed = true;
        return false;
    }
    void DocumentClosed() override {}

  private:
    int m_cancelAfter;
    bool m_pressed = false;
};

bool Choosable(const std::vector<ShownMenuItem>& items, UINT id) {
    for (const ShownMenuItem& item : items) {
        if (!item.items.empty() ? Choosable(item.items, id)
                                : !item.separator && item.enabled && item.id == id) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<CScriptedDialogService::Answer> CScriptedDialogService::Next() {
    if (m_answers.empty()) {
        return std::nullopt;
    }
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer;
}

int CScriptedDialogService::NextButton(int whenEmpty) {
    const auto answer = Next();
    if (!answer) {
        return whenEmpty;
    }
    const int* button = std::get_if<int>(&*answer);
    return button ? *button : IDCANCEL;
}

int CScriptedDialogService::MessageBox(CWnd* /*owner*/, const std::string& text,
                                       const std::string& caption, UINT type) {
    m_shown.push_back(MessageBoxShown(text, caption, type));
    return NextButton(IDOK);
}

// The question the classic save dialog asks before it hands back an existing file.
bool CScriptedDialogService::ConfirmReplace(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    m_shown.push_back(MessageBoxShown(name + " already exists.\nDo you want to replace it?",
                                      "Save As", MB_YESNO | MB_ICONWARNING));
    const int button = NextButton(IDYES);
    return button != IDNO && button != IDCANCEL;
}

std::optional<std::string> CScriptedDialogService::FileDialog(CWnd* /*owner*/,
                                                              const FileDialogRequest& request) {
    ShownDialog shown;
    shown.kind = request.open ? ShownDialog::Kind::FileOpen : ShownDialog::Kind::FileSave;
    shown.caption = request.title;
    shown.flags = request.flags;
    shown.file = request;
    m_shown.push_back(std::move(shown));
    const std::optional<FileAnswer> file = NextOf<FileAnswer>();
    if (!file) {
        return std::nullopt;
    }
    const bool asks = !request.open && (request.flags & OFN_OVERWRITEPROMPT) != 0;
    if (asks && FileExists(file->path) && !ConfirmReplace(file->path)) {
        return std::nullopt;
    }
    return file->path;
}

std::optional<COLORREF> CScriptedDialogService::ChooseColor(CWnd* /*owner*/,
                                                            const ColorDialogRequest& request) {
    ShownDialog shown;
    shown.kind = ShownDialog::Kind::Color;
    shown.flags = request.flags;
    shown.color = request;
    m_shown.push_back(std::move(shown));
    const std::optional<ColorAnswer> color = NextOf<ColorAnswer>();
    return color ? std::optional<COLORREF>(color->color) : std::nullopt;
}

std::unique_ptr<CPrinterDC> CScriptedDialogService::PrintDialog(CWnd* owner,
                                                                const PrintDialogRequest& request) {
    ShownDialog shown;
    shown.kind = ShownDialog::Kind::Print;
    shown.flags = request.flags;
    shown.print = request;
    m_shown.push_back(std::move(shown));
    const auto answer = Next();
    if (!answer) {
        return nullptr;
    }
    std::unique_ptr<CPrinterDC> printer;
    bool preview = false;
    if (const PdfAnswer* pdf = std::get_if<PdfAnswer>(&*answer)) {
        printer = CreatePdfPrinterDC(pdf->path, pdf->page);
        preview = pdf->preview;
    } else if (const PrinterAnswer* recording = std::get_if<PrinterAnswer>(&*answer)) {
        printer = recording->printer.CreateDC();
        preview = recording->preview;
    }
    return preview && printer ? PreviewBeforePrinting(std::move(printer), owner)
                              : std::move(printer);
}

bool CScriptedDialogService::PrintPreview(CWnd* /*owner*/, const CPrintDocument& document) {
    ShownDialog shown;
    shown.kind = ShownDialog::Kind::PrintPreview;
    shown.caption = document.name;
    shown.pages = document.PageCount();
    shown.document = std::make_shared<const CPrintDocument>(document);
    m_shown.push_back(std::move(shown));
    return NextButton(IDCANCEL) == IDOK;
}

std::unique_ptr<CPrintProgress> CScriptedDialogService::PrintProgress(CWnd* /*owner*/) {
    if (m_answers.empty() || !std::holds_alternative<PrintCancel>(m_answers.front())) {
        return nullptr;
    }
    const int pages = std::get<PrintCancel>(*Next()).pages;
    ShownDialog shown;
    shown.kind = ShownDialog::Kind::PrintProgress;
    shown.pages = pages;
    m_shown.push_back(std::move(shown));
    return std::make_unique<CScriptedPrintProgress>(pages);
}

// The About box has only OK, so whatever answer comes next is used up by it.
void CScriptedDialogService::About(CWnd* /*owner*/, const AboutRequest& request) {
    ShownDialog shown;
    shown.kind = ShownDialog::Kind::About;
    shown.caption = request.caption;
    shown.about = request;
    for (const std::string& line : request.lines) {
        shown.text += shown.text.empty() ? line : "\n" + line;
    }
    m_shown.push_back(std::move(shown));
    Next();
}

int CScriptedDialogService::RunDialog(CDialog& dialog) {
    ShownDialog shown;
    shown.kind = ShownDialog::Kind::Dialog;
    shown.caption = dialog.GetWindowText();
    shown.templateId = dialog.GetTemplateId();
    m_shown.push_back(std::move(shown));
    dialog.ShowWindow(SW_SHOW);
    if (const std::optional<DialogAnswer> script = NextOf<DialogAnswer>()) {
        CDialogDriver driver(dialog);
        // A failed script leaves the dialog open, and it is cancelled below.
        GuardHandler("scripted dialog", [&] {
            if (script->actions) {
                script->actions(driver);
            }
        });
        if (!dialog.HasEnded()) {
            driver.Click(static_cast<UINT>(script->button));
        }
    }
    if (!dialog.HasEnded()) {
        dialog.PressButton(IDCANCEL);
    }
    // A Cancel that does not end the dialog either still leaves it cancelled.
    if (!dialog.HasEnded()) {
        dialog.EndDialog(IDCANCEL);
    }
    return dialog.GetModalResult();
}

std::optional<UINT> CScriptedDialogService::PopupMenu(CWnd* owner, const MenuItemResource& popup,
                                                      POINT screenPoint, UINT flags) {
    ShownDialog shown;
    shown.kind = ShownDialog::Kind::PopupMenu;
    shown.caption = popup.text;
    shown.flags = flags;
    shown.point = screenPoint;
    shown.menu = DescribeMenu(owner, popup.items);
    const std::optional<MenuChoice> choice = NextOf<MenuChoice>();
    std::optional<UINT> chosen;
    if (choice && Choosable(shown.menu, choice->id)) {
        chosen = choice->id;
    }
    m_shown.push_back(std::move(shown));
    return chosen;
}

ScopedScriptedDialogs::ScopedScriptedDialogs() {
    auto service = std::make_unique<CScriptedDialogService>();
    m_service = service.get();
    m_previous = SetDialogService(std::move(service));
}

ScopedScriptedDialogs::~ScopedScriptedDialogs() {
    SetDialogService(std::move(m_previous));
}
