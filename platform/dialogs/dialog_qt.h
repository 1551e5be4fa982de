// The Qt widgets of a built dialog: its window, the edit box with the classic edit styles, and
// the table of controls by id that CDialog, CComboBox and the dialog driver work through.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "platform/com/exception_guard.h"
#include "platform/dialogs/dialog.h"
#include "platform/ui/wnd_host_qt.h"

// The top-level window of a dialog. Qt's accept and reject (Escape reaching the window, the
// close button) become the dialog's OnOK and OnCancel.
class CDialogWindow : public QDialog {
  public:
    CDialogWindow(CDialog* dialog, QWidget* parent);
    void Detach() { m_dialog = nullptr; }
    void accept() override;
    void reject() override;

  private:
    CDialog* m_dialog;
};

// An edit control. Typed characters follow the styles: ES_UPPERCASE converts letters,
// ES_NUMBER refuses everything but digits, and without ES_AUTOHSCROLL typing stops when the
// text fills the box. Text set by the program is taken as it is.
class CDialogEdit : public QLineEdit {
  public:
    CDialogEdit(UINT style, QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool Fits(const QString& candidate) const;
    QString AfterTyping(const QString& typed) const;

    UINT m_style;
};

// A group box drawn the classic way: an etched frame with its title over the top line, and
// nothing filled inside, so the dialog's face shows through.
class CDialogGroupBox : public QGroupBox {
  public:
    CDialogGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override;
};

struct DialogControl {
    DlgControlKind kind;
    UINT id;
    UINT style;
    std::string text;  // as the program gave it, mnemonic marks included
    QPointer<QWidget> widget;
    QPointer<CClientWidget> subclass;  // the window that took the control over

    // The widget that shows the control and takes its input.
    QWidget* Shown() const;
};

struct CDialog::Controls {
    // Called with the id of a clicked button, and with every key press inside the dialog
    // (true when the key was the dialog's).
    using ClickHandler = std::function<void(UINT id)>;
    using KeyHandler = std::function<bool(UINT vk, UINT modifiers)>;

    Controls(CDialogWindow& dialogWindow, CClientWidget& client);
    ~Controls();
    Controls(const Controls&) = delete;
    Controls& operator=(const Controls&) = delete;

    void Build(const DlgTemplate& dialogTemplate, ClickHandler onClick, KeyHandler onKey);

    DialogControl* Find(UINT id);
    const DialogControl* Find(UINT id) const;
    QLineEdit* EditOf(UINT id) const;
    QComboBox* ComboOf(UINT id) const;
    QAbstractButton* ButtonOf(UINT id) const;

    void SetText(UINT id, const std::string& text);
    std::string Text(UINT id) const;
    void SetCheck(UINT id, bool checked);
    bool IsChecked(UINT id) const;
    // Clicks a push button or check box; false when absent or disabled.
    bool Click(UINT id);
    UINT FocusId() const;
    void Focus(UINT id, Qt::FocusReason reason);
    // Moves to the next (or previous) enabled, shown tab stop in template order, wrapping.
    void MoveFocus(bool forward);
    void FocusFirstTabStop();
    // The BS_DEFPUSHBUTTON push button, else IDOK.
    UINT DefaultButton() const;

    QPointer<CDialogWindow> window;
    QPointer<CClientWidget> client;
    std::vector<DialogControl> items;  // tab order

  private:
    QWidget* Make(const DlgControlTemplate& control);
    void Add(const DlgControlTemplate& control);
    // Receives the widgets' key presses first, so that the dialog manager's keys work from
    // every control.
    class KeyFilter;
    std::unique_ptr<KeyFilter> m_keyFilter;
    // Context of the widgets' signal connections: they end with it.
    QObject m_connections;
    ClickHandler m_onClick;
};

// The window of a built dialog; nullptr when it is not built.
inline CDialogWindow* DialogWindowOf(const CDialog& dialog) {
    return dialog.GetControls() ? dialog.GetControls()->window.data() : nullptr;
}

// Runs a dialog's handler for a toolkit callback: nothing thrown gets out of it.
template <typename Handler>
void RunGuarded(Handler&& handler) {
    const DispatchScope scope;
    // A failed handler leaves the dialog as it is.
    GuardHandler("dialog message handler", std::forward<Handler>(handler));
}
