// Drives a built dialog as a user would, through its real widgets, for scripted answers.
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs/dialog.h"

// An icon control as the dialog shows it: the id its text names, its place in the dialog's
// client area in pixels and the image, 0 x 0 when no icon has that id.
struct ShownIcon {
    UINT iconId = 0;
    RECT place;
    CBitmap image{0, 0};
};

class CDialogDriver {
  public:
    explicit CDialogDriver(CDialog& dialog) : m_dialog(dialog) {}

    // Types printable text into the edit box (or editable combo box) after its current text,
    // key by key: ES_UPPERCASE, ES_NUMBER and the text limit apply.
    void Type(UINT id, const std::string& text);
    // Replaces the whole text as selecting all and typing would.
    void SetText(UINT id, const std::string& text);
    std::string Text(UINT id) const;
    // Chooses the list entry with that text (exact, else ignoring case) as picking it from the
    // dropped list does; false when there is none or the box is disabled.
    bool Select(UINT id, const std::string& entry);
    // The selected entry's text, "" when none is selected.
    std::string Selected(UINT id) const;
    // Clicks the check box when its state differs.
    void Check(UINT id, bool checked);
    bool Checked(UINT id) const;
    // Clicks a push button or check box: its command runs (IDOK and IDCANCEL reach OnOK and
    // OnCancel). False when absent or disabled.
    bool Click(UINT id);
    // Presses a key (VK_ code with FSHIFT/FCONTROL/FALT) in the control with the focus.
    void Key(UINT vk, UINT modifiers = 0);
    // The id of the control with the focus, 0 when none has it.
    UINT Focused() const { return m_dialog.GetFocusId(); }
    // The dialog's icon controls in template order.
    std::vector<ShownIcon> Icons() const;
    CDialog& Dialog() { return m_dialog; }

  private:
    CDialog& m_dialog;
};
