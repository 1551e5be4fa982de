// Dialogs built from templates: control styles, the template table, data exchange by control
// id, the combo box wrapper and CDialog, whose modal run goes through the dialog service.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/dialogs/dialog_service.h"
#include "platform/ui/wnd.h"

// Edit styles.
constexpr UINT ES_CENTER = 0x0001;
constexpr UINT ES_RIGHT = 0x0002;
constexpr UINT ES_UPPERCASE = 0x0008;
constexpr UINT ES_AUTOHSCROLL = 0x0080;
constexpr UINT ES_NUMBER = 0x2000;
// Combo box styles.
constexpr UINT CBS_DROPDOWN = 0x0002;
constexpr UINT CBS_DROPDOWNLIST = 0x0003;
constexpr UINT CBS_SORT = 0x0100;
// Button styles.
constexpr UINT BS_PUSHBUTTON = 0x0;
constexpr UINT BS_DEFPUSHBUTTON = 0x1;
constexpr UINT BS_AUTOCHECKBOX = 0x3;
constexpr UINT BS_GROUPBOX = 0x7;
// Static styles.
constexpr UINT SS_LEFT = 0x0;
constexpr UINT SS_CENTER = 0x1;
constexpr UINT SS_RIGHT = 0x2;
// A static showing an icon: its text is the icon's resource id in decimal ("1"), and it takes
// the icon's own size whatever the template gives.
constexpr UINT SS_ICON = 0x3;
constexpr UINT SS_TYPEMASK = 0x1F;
// Edits, combo boxes, check boxes and push buttons are tab stops, as the resource statements
// that declare them make them; templates still give WS_TABSTOP (platform/ui/messages.h) so that
// they read like their resource scripts.

constexpr int CB_ERR = -1;
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

enum class DlgControlKind { Edit, ComboBox, CheckBox, PushButton, GroupBox, Static };

// Position and size in dialog units.
struct DlgControlTemplate {
    DlgControlKind kind;
    UINT id;
    std::string text;
    int x, y, cx, cy;
    UINT style = 0;
};

// The size is the client area's, in dialog units; controls are in tab order.
struct DlgTemplate {
    UINT id;
    std::string caption;
    int cx, cy;
    std::vector<DlgControlTemplate> controls;
};

void RegisterDialogResource(DlgTemplate dialog);
const DlgTemplate* FindDialogResource(UINT id);

// The base units of the dialog font, MS Sans Serif 8 pt: the average width of the letters and
// the character height, in pixels.
SIZE DialogFontBaseUnits();
// A control's place in dialog units to pixels, as the dialog manager converts them: x and cx
// times baseX / 4, y and cy times baseY / 8, each rounded.
RECT DialogUnitsToPixels(int x, int y, int cx, int cy);

class CDialog;

class CDataExchange {
  public:
    CDataExchange(bool saveAndValidate, CDialog* dialog)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    // Marks the exchange as failed: UpdateData then answers false.
    void Fail() { m_failed = true; }
    bool Failed() const { return m_failed; }

    bool m_bSaveAndValidate;
    CDialog* m_pDlgWnd;

  private:
    bool m_failed = false;
};

// A control id the dialog does not have leaves the value as it is.
void DDX_Text(CDataExchange& dx, UINT id, std::string& value);
// BST_UNCHECKED or BST_CHECKED.
void DDX_Check(CDataExchange& dx, UINT id, int& value);
class CComboBox;
// Attaches the wrapper to the combo box with that id.
void DDX_Control(CDataExchange& dx, UINT id, CComboBox& control);

// A combo box of a dialog, reached through its id while the dialog is built. Unattached, or
// after the dialog has gone, it is empty and refuses every change.
class CComboBox {
  public:
    void Attach(CDialog* dialog, UINT id) {
        m_dialog = dialog;
        m_id = id;
    }
    // The index the entry was put at (its sorted place under CBS_SORT); CB_ERR when detached.
    int AddString(const std::string& text);
    int GetCount() const;
    // CB_ERR when nothing is selected.
    int GetCurSel() const;
    // Selects the entry and returns its index; -1 or an index out of range clears the
    // selection and returns CB_ERR.
    int SetCurSel(int index);
    // Empty for an index out of range.
    std::string GetLBText(int index) const;
    // Selects the first entry after startAfter (-1: from the top, wrapping round) that starts
    // with the prefix, ignoring case; CB_ERR and the selection unchanged when none does.
    int SelectString(int startAfter, const std::string& prefix);
    // Index of the entry equal to the text ignoring case, searched as SelectString does.
    int FindStringExact(int startAfter, const std::string& text) const;
    void ResetContent();

  private:
    CDialog* m_dialog = nullptr;
    UINT m_id = 0;
};

class CDialog : public CWnd {
  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Builds the dialog from its template, runs OnInitDialog and runs it modally through
    // DialogService(); returns the id of the ending button (IDOK, IDCANCEL or what EndDialog
    // got), -1 when the template is missing or the dialog cannot be built.
    virtual int DoModal();
    // Default: UpdateData(false); true gives the focus to the first tab stop.
    virtual bool OnInitDialog();
    // Default: if (UpdateData(true)) EndDialog(IDOK).
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL). Reached by the Cancel button, Escape and closing the window.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    // False when an exchange failed or the dialog is not built.
    bool UpdateData(bool saveAndValidate = true);
    void EndDialog(int result);

    // Control access by id while the dialog is built; absent ids read as empty or unchecked.
    // Edit boxes take the text as it is (ES_UPPERCASE and ES_NUMBER apply to typing only) but
    // cut it at their limit; a drop-down list selects the entry with that text.
    void SetDlgItemText(UINT id, const std::string& text);
    std::string GetDlgItemText(UINT id) const;
    void CheckDlgButton(UINT id, int check);
    int IsDlgButtonChecked(UINT id) const;
    // The most characters the edit box holds (0: the default, 32767); typing and
    // SetDlgItemText beyond it are cut.
    void LimitText(UINT id, int maxChars);
    bool HasDlgItem(UINT id) const;
    void EnableDlgItem(UINT id, bool enable);
    // The id of the control with the keyboard focus, 0 when none has it.
    UINT GetFocusId() const;
    // Moves the focus to the control as Tab would, selecting the whole text of an edit box.
    void GotoDlgCtrl(UINT id);

    // The dialog manager's keys: Tab and Shift+Tab move between tab stops, Return presses
    // the default push button (or OK), Escape cancels.
    bool PreTranslateKey(UINT vk, UINT modifiers) override;
    void OnPaint(CDC& dc) override;

    UINT GetTemplateId() const { return m_templateId; }
    CWnd* GetOwner() const { return m_owner; }
    bool HasEnded() const { return m_ended; }
    int GetModalResult() const { return m_result; }

    // Presses a push button as a click would: IDOK runs OnOK, IDCANCEL OnCancel, others
    // their command. Without such a button IDOK and IDCANCEL still reach OnOK and OnCancel,
    // as Return and Escape do; false when nothing was pressed (absent or disabled button).
    bool PressButton(UINT id);

    // The built widgets; defined by the toolkit side.
    struct Controls;
    Controls* GetControls() const { return m_controls.get(); }

  private:
    friend class CWnd;
    bool Build(const DlgTemplate& dialogTemplate);
    void TearDown();
    bool SubclassControl(UINT id, CWnd& wnd);
    void OnControlClicked(UINT id);

    UINT m_templateId;
    CWnd* m_owner;
    std::unique_ptr<Controls> m_controls;
    bool m_ended = false;
    int m_result = IDCANCEL;
};
