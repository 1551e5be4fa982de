// The dialog service used by tests and headless runs: answers come from a queue, every dialog
// shown is recorded.
#pragma once

#include <deque>
#include <functional>
#include <variant>

#include "platform/dialogs/dialog_driver.h"
#include "platform/dialogs/dialog_service.h"
#include "platform/gdi/recording_printer.h"

class CScriptedDialogService : public IDialogService {
  public:
    // Queues answers, taken in order by the next dialogs of any kind. With the queue empty a
    // message box answers IDOK and every other dialog is cancelled. An answer of the wrong
    // kind is used up and cancels: a message box given anything but a button answers IDCANCEL.
    // A save dialog with OFN_OVERWRITEPROMPT answered with an existing file records a "Save
    // As" message box that takes the next answer: IDNO or a cancel keeps the file, anything
    // else (also an empty queue) replaces it.
    void PushButton(int button) { m_answers.emplace_back(button); }
    void PushFile(std::string path) { m_answers.emplace_back(FileAnswer{std::move(path)}); }
    void PushColor(COLORREF color) { m_answers.emplace_back(ColorAnswer{color}); }
    void PushCancel() { m_answers.emplace_back(Cancel{}); }
    // A print dialog answered with a PDF printer writing to the path, or with a context of the
    // recording printer (whose recording the caller keeps through its own copy). With
    // `preview`, each document is shown in the print preview when it ends, and the preview
    // takes the next answer: IDOK prints it, anything else (also an empty queue) closes the
    // preview with nothing printed.
    void PushPrintToFile(std::string path, PrinterPage page = PrinterPage::Letter(),
                         bool preview = false) {
        m_answers.emplace_back(PdfAnswer{std::move(path), page, preview});
    }
    void PushPrinter(CRecordingPrinter printer, bool preview = false) {
        m_answers.emplace_back(PrinterAnswer{std::move(printer), preview});
    }
    // Cancel pressed in the progress window once `pages` pages have ended: the document is
    // aborted at that page. Taken by the print dialog it follows in the queue; the window shows
    // only for a script that cancels it.
    void PushPrintCancel(int pages) { m_answers.emplace_back(PrintCancel{pages}); }
    // A dialog built from a template: the actions run against the live dialog (answers they
    // need, such as a colour dialog opened from it, come next in the queue), then the button
    // is pressed unless the dialog has ended. A dialog that OK does not end (a failed
    // validation), or that meets an empty queue or another kind of answer, is cancelled as
    // the Cancel button would.
    void PushDialog(std::function<void(CDialogDriver&)> actions, int button = IDOK) {
        m_answers.emplace_back(DialogAnswer{std::move(actions), button});
    }
    // The command a popup menu is answered with; a disabled or absent entry chooses nothing,
    // and so does an empty queue.
    void PushMenuChoice(UINT commandId) { m_answers.emplace_back(MenuChoice{commandId}); }

    const std::vector<ShownDialog>& Shown() const { return m_shown; }
    void ClearShown() { m_shown.clear(); }
    size_t PendingAnswers() const { return m_answers.size(); }

    int MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                   UINT type) override;
    std::optional<std::string> FileDialog(CWnd* owner, const FileDialogRequest& request) override;
    std::optional<COLORREF> ChooseColor(CWnd* owner, const ColorDialogRequest& request) override;
    std::unique_ptr<CPrinterDC> PrintDialog(CWnd* owner,
                                            const PrintDialogRequest& request) override;
    bool PrintPreview(CWnd* owner, const CPrintDocument& document) override;
    std::unique_ptr<CPrintProgress> PrintProgress(CWnd* owner) override;
    void About(CWnd* owner, const AboutRequest& request) override;
    int RunDialog(CDialog& dialog) override;
    std::optional<UINT> PopupMenu(CWnd* owner, const MenuItemResource& popup, POINT screenPoint,
                                  UINT flags) override;

  private:
    struct FileAnswer {
        std::string path;
    };
    struct ColorAnswer {
        COLORREF color;
    };
    struct PdfAnswer {
        std::string path;
        PrinterPage page;
        bool preview = false;
    };
    struct PrinterAnswer {
        CRecordingPrinter printer;
        bool preview = false;
    };
    struct PrintCancel {
        int pages = 0;
    };
    struct Cancel {};
    struct DialogAnswer {
        std::function<void(CDialogDriver&)> actions;
        int button;
    };
    struct MenuChoice {
        UINT id;
    };
    using Answer = std::variant<int, FileAnswer, ColorAnswer, PdfAnswer, PrinterAnswer, Cancel,
                                DialogAnswer, MenuChoice, PrintCancel>;

    std::optional<Answer> Next();
    // The next answer when it is the kind the dialog takes; an answer of another kind is used up
    // all the same, as a button press that fits no dialog would be.
    template <class T>
    std::optional<T> NextOf() {
        std::optional<Answer> answer = Next();
        T* wanted = answer ? std::get_if<T>(&*answer) : nullptr;
        return wanted != nullptr ? std::optional<T>(std::move(*wanted)) : std::nullopt;
    }
    int NextButton(int whenEmpty);
    bool ConfirmReplace(const std::string& path);

    std::deque<Answer> m_answers;
    std::vector<ShownDialog> m_shown;
};

// Installs a scripted service for the lifetime of the object and restores the previous one.
class ScopedScriptedDialogs {
  public:
    ScopedScriptedDialogs();
    ~ScopedScriptedDialogs();
    ScopedScriptedDialogs(const ScopedScriptedDialogs&) = delete;
    ScopedScriptedDialogs& operator=(const ScopedScriptedDialogs&) = delete;
    CScriptedDialogService* operator->() { return m_service; }
    CScriptedDialogService& operator*() { return *m_service; }

  private:
    CScriptedDialogService* m_service;
    std::unique_ptr<IDialogService> m_previous;
};
