// Dialogs from templates run through the scripted service: data exchange, edit styles, lists,
// check boxes, commands, OK and Cancel, subclassed statics and dialog units.
#include <gtest/gtest.h>

#include <functional>

#include "platform/dialogs/common_dialogs.h"
#include "platform/dialogs/dialog.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

namespace {

constexpr UINT kTemplate = 9100;
constexpr UINT kName = 100;      // upper case, scrolls
constexpr UINT kDigits = 101;    // digits only, centred
constexpr UINT kNarrow = 102;    // no horizontal scrolling
constexpr UINT kList = 103;      // drop-down list, unsorted
constexpr UINT kSorted = 104;    // drop-down list, sorted
constexpr UINT kBold = 105;      // automatic check box
constexpr UINT kColor = 106;     // push button
constexpr UINT kSwatch = 107;    // static, subclassed
constexpr UINT kFrame = 108;     // group box
constexpr UINT kLabel = 109;     // static
constexpr UINT kFinish = 110;    // push button that ends the dialog with its own result
constexpr UINT kEditable = 111;  // drop-down combo box with an edit box
constexpr int kFinishResult = 42;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kTeal = RGB(0, 128, 128);

void RegisterTestTemplate() {
    RegisterDialogResource(DlgTemplate{
        kTemplate,
        "Test Properties",
        200,
        120,
        {
            {DlgControlKind::GroupBox, kFrame, "Format:", 4, 4, 192, 90, BS_GROUPBOX},
            {DlgControlKind::Static, kLabel, "&Name:", 8, 14, 30, 8, SS_LEFT},
            {DlgControlKind::Edit, kName, "", 40, 12, 80, 12, ES_UPPERCASE | ES_AUTOHSCROLL},
            {DlgControlKind::Edit, kDigits, "", 40, 28, 40, 12, ES_NUMBER | ES_CENTER},
            {DlgControlKind::Edit, kNarrow, "", 90, 28, 20, 12, 0},
            {DlgControlKind::ComboBox, kList, "", 40, 44, 60, 60, CBS_DROPDOWNLIST},
            {DlgControlKind::ComboBox, kSorted, "", 110, 44, 60, 60, CBS_DROPDOWNLIST | CBS_SORT},
            {DlgControlKind::CheckBox, kBold, "Bold", 8, 62, 40, 10, BS_AUTOCHECKBOX},
            {DlgControlKind::PushButton, kColor, "Back Color", 60, 60, 50, 14, BS_PUSHBUTTON},
            {DlgControlKind::Static, kSwatch, "", 120, 60, 30, 14, SS_LEFT},
            {DlgControlKind::PushButton, kFinish, "Finish", 8, 76, 40, 14, BS_PUSHBUTTON},
            {DlgControlKind::ComboBox, kEditable, "", 60, 78, 60, 40, CBS_DROPDOWN},
            {DlgControlKind::PushButton, IDOK, "OK", 90, 100, 50, 14, BS_DEFPUSHBUTTON},
            {DlgControlKind::PushButton, IDCANCEL, "Cancel", 146, 100, 50, 14, BS_PUSHBUTTON},
        },
    });
}

class CSwatch : public CWnd {
  public:
    void SetColor(COLORREF color) {
        m_color = color;
        RedrawWindow();
    }
    void OnPaint(CDC& dc) override { dc.FillSolidRect(GetClientRect(), m_color); }

  private:
    COLORREF m_color = 0;
};

class CTestDialog : public CDialog {
  public:
    CTestDialog() : CDialog(kTemplate) {
        OnCommandId(kColor, [this] { OnColor(); });
        OnCommandId(kFinish, [this] { EndDialog(kFinishResult); });
        OnCommandId(kBold, [this] { ++m_boldClicks; });
    }

    bool OnInitDialog() override {
        m_subclassed = m_swatch.SubclassDlgItem(kSwatch, this);
        CDialog::OnInitDialog();
        for (const char* entry : {"LEFT", "RIGHT", "CENTERED"}) {
            m_list.AddString(entry);
            m_sorted.AddString(entry);
        }
        m_swatch.SetColor(m_color);
        if (m_init) {
            m_init(*this);
        }
        return true;
    }
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, kName, m_name);
        DDX_Text(dx, kDigits, m_digits);
        DDX_Check(dx, kBold, m_bold);
        DDX_Control(dx, kList, m_list);
        DDX_Control(dx, kSorted, m_sorted);
        if (dx.m_bSaveAndValidate && m_refuseEmptyName && m_name.empty()) {
            dx.Fail();
        }
    }
    void OnOK() override {
        ++m_oks;
        m_nameInOnOK = GetDlgItemText(kName);
        m_selectionInOnOK = m_list.GetCurSel();
        CDialog::OnOK();
    }
    void OnCancel() override {
        ++m_cancels;
        CDialog::OnCancel();
    }

    std::string m_name;
    std::string m_digits;
    int m_bold = 0;
    CComboBox m_list;
    CComboBox m_sorted;
    CSwatch m_swatch;
    COLORREF m_color = kRed;
    bool m_subclassed = false;
    bool m_refuseEmptyName = false;
    std::function<void(CTestDialog&)> m_init;
    std::string m_nameInOnOK;
    int m_selectionInOnOK = -2;
    int m_oks = 0;
    int m_cancels = 0;
    int m_boldClicks = 0;

  private:
    void OnColor() {
        CColorDialog dialog(m_color, CC_FULLOPEN);
        if (dialog.DoModal() == IDOK) {
            m_color = dialog.GetColor();
            m_swatch.SetColor(m_color);
        }
    }
};

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override { RegisterTestTemplate(); }

    // Runs the dialog with one scripted answer; the actions see the dialog as CTestDialog.
    int Run(CTestDialog& dialog, const std::function<void(CDialogDriver&, CTestDialog&)>& actions,
            int button = IDOK) {
        m_dialogs->PushDialog(
            [&dialog, actions](CDialogDriver& driver) { actions(driver, dialog); }, button);
        return dialog.DoModal();
    }

    ScopedScriptedDialogs m_dialogs;
};

}  // namespace

TEST_F(DialogTest, ExchangesValuesBothWaysAndRecordsTheDialog) {
    CTestDialog dialog;
    dialog.m_name = "abc";
    dialog.m_digits = "12";
    dialog.m_bold = BST_CHECKED;
    const int result = Run(dialog, [](CDialogDriver& driver, CTestDialog& shown) {
        // Text set by the program is not converted; only typing is.
        EXPECT_EQ(driver.Text(kName), "abc");
        EXPECT_EQ(driver.Text(kDigits), "12");
        EXPECT_TRUE(driver.Checked(kBold));
        EXPECT_EQ(&driver.Dialog(), &shown);
        EXPECT_TRUE(shown.IsWindowVisible());
        driver.SetText(kName, "xyz");
        driver.SetText(kDigits, "");
        driver.Check(kBold, false);
        // Nothing is exchanged before OK.
        EXPECT_EQ(shown.m_name, "abc");
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_name, "XYZ");
    EXPECT_EQ(dialog.m_digits, "");
    EXPECT_EQ(dialog.m_bold, BST_UNCHECKED);
    EXPECT_FALSE(dialog.IsWindow());
    ASSERT_EQ(m_dialogs->Shown().size(), 1U);
    EXPECT_EQ(m_dialogs->Shown()[0].kind, ShownDialog::Kind::Dialog);
    EXPECT_EQ(m_dialogs->Shown()[0].caption, "Test Properties");
    EXPECT_EQ(m_dialogs->Shown()[0].templateId, kTemplate);
}

TEST_F(DialogTest, TypingFollowsTheEditStyles) {
    CTestDialog dialog;
    dialog.m_name = "n";
    Run(dialog, [](CDialogDriver& driver, CTestDialog& shown) {
        driver.Type(kName, "abc");
        EXPECT_EQ(driver.Text(kName), "nABC");
        driver.SetText(kName, "Mixed 1-a");
        EXPECT_EQ(driver.Text(kName), "MIXED 1-A");

        driver.SetText(kDigits, "12a3");
        EXPECT_EQ(driver.Text(kDigits), "123");
        driver.Type(kDigits, "x-.4");
        EXPECT_EQ(driver.Text(kDigits), "1234");
        // Letters typed over a selection are refused without deleting it.
        driver.SetText(kDigits, "abc");
        EXPECT_EQ(driver.Text(kDigits), "1234");
        // The program may still put anything there.
        shown.SetDlgItemText(kDigits, "x1");
        EXPECT_EQ(driver.Text(kDigits), "x1");

        shown.LimitText(kName, 5);
        driver.SetText(kName, "abcdefgh");
        EXPECT_EQ(driver.Text(kName), "ABCDE");
        driver.Type(kName, "z");
        EXPECT_EQ(driver.Text(kName), "ABCDE");
        shown.SetDlgItemText(kName, "longer than five");
        EXPECT_EQ(driver.Text(kName), "longe");
    });
    EXPECT_EQ(dialog.m_name, "longe");
}

TEST_F(DialogTest, BoxWithoutHorizontalScrollingStopsTakingTextWhenFull) {
    CTestDialog dialog;
    const std::string typed(40, 'w');
    Run(dialog, [&typed](CDialogDriver& driver, CTestDialog& /*shown*/) {
        driver.Type(kNarrow, typed);
        const std::string kept = driver.Text(kNarrow);
        EXPECT_FALSE(kept.empty());
        EXPECT_LT(kept.size(), typed.size());
        // Deleting makes room again.
        driver.Key(VK_BACK);
        driver.Type(kNarrow, "i");
        EXPECT_EQ(driver.Text(kNarrow), kept.substr(0, kept.size() - 1) + "i");
        // A box that scrolls takes all of it.
        driver.SetText(kName, typed);
        EXPECT_EQ(driver.Text(kName).size(), typed.size());
    });
}

TEST_F(DialogTest, ListsSelectLikeComboBoxes) {
    CTestDialog dialog;
    Run(dialog, [](CDialogDriver& driver, CTestDialog& shown) {
        CComboBox& list = shown.m_list;
        CComboBox& sorted = shown.m_sorted;
        ASSERT_EQ(list.GetCount(), 3);
        EXPECT_EQ(list.GetLBText(0), "LEFT");
        EXPECT_EQ(list.GetLBText(2), "CENTERED");
        EXPECT_EQ(list.GetLBText(3), "");
        EXPECT_EQ(list.GetLBText(-1), "");
        EXPECT_EQ(sorted.GetLBText(0), "CENTERED");
        EXPECT_EQ(sorted.GetLBText(2), "RIGHT");
        EXPECT_EQ(sorted.AddString("middle"), 2);
        EXPECT_EQ(list.AddString("middle"), 3);

        // Nothing is selected until someone selects.
        EXPECT_EQ(list.GetCurSel(), CB_ERR);
        EXPECT_EQ(driver.Selected(kList), "");
        EXPECT_EQ(driver.Text(kList), "");
        EXPECT_TRUE(driver.Select(kList, "RIGHT"));
        EXPECT_EQ(list.GetCurSel(), 1);
        EXPECT_EQ(driver.Selected(kList), "RIGHT");
        EXPECT_FALSE(driver.Select(kList, "TOP"));
        EXPECT_EQ(list.GetCurSel(), 1);

        EXPECT_EQ(list.SetCurSel(7), CB_ERR);
        EXPECT_EQ(list.GetCurSel(), CB_ERR);
        EXPECT_EQ(list.SetCurSel(2), 2);
        EXPECT_EQ(list.SetCurSel(-1), CB_ERR);
        EXPECT_EQ(list.GetCurSel(), CB_ERR);

        // Prefix search ignores case and wraps round past the end.
        EXPECT_EQ(list.SelectString(-1, "ri"), 1);
        EXPECT_EQ(list.SelectString(1, "l"), 0);
        EXPECT_EQ(list.SelectString(-1, "none"), CB_ERR);
        EXPECT_EQ(list.GetCurSel(), 0);
        EXPECT_EQ(list.FindStringExact(-1, "centered"), 2);
        EXPECT_EQ(list.FindStringExact(-1, "CENT"), CB_ERR);
        shown.SetDlgItemText(kList, "middle");
        EXPECT_EQ(list.GetCurSel(), 3);

        list.ResetContent();
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_EQ(list.GetCurSel(), CB_ERR);
        EXPECT_TRUE(driver.Select(kSorted, "left"));
    });
    EXPECT_EQ(dialog.m_selectionInOnOK, CB_ERR);
    // Once the dialog has gone the wrapper is empty.
    EXPECT_EQ(dialog.m_sorted.GetCount(), 0);
    EXPECT_EQ(dialog.m_sorted.GetCurSel(), CB_ERR);
    EXPECT_EQ(dialog.m_sorted.AddString("x"), CB_ERR);
    CComboBox detached;
    EXPECT_EQ(detached.SetCurSel(0), CB_ERR);
}

TEST_F(DialogTest, DropDownComboBoxKeepsItsTypedTextApartFromTheList) {
    CTestDialog dialog;
    std::string text;
    Run(dialog, [&text](CDialogDriver& driver, CTestDialog& shown) {
        CComboBox editable;
        editable.Attach(&shown, kEditable);
        driver.Type(kEditable, "typed");
        EXPECT_EQ(editable.AddString("first"), 0);
        EXPECT_EQ(editable.GetCurSel(), CB_ERR);
        EXPECT_EQ(driver.Text(kEditable), "typed");
        EXPECT_EQ(editable.SetCurSel(0), 0);
        EXPECT_EQ(driver.Text(kEditable), "first");
        driver.Type(kEditable, "!");
        text = shown.GetDlgItemText(kEditable);
        EXPECT_EQ(editable.SetCurSel(-1), CB_ERR);
        EXPECT_EQ(driver.Text(kEditable), "");
    });
    EXPECT_EQ(text, "first!");
}

TEST_F(DialogTest, CheckBoxesToggleOnClickAndReportTheClick) {
    CTestDialog dialog;
    Run(dialog, [](CDialogDriver& driver, CTestDialog& shown) {
        EXPECT_FALSE(driver.Checked(kBold));
        EXPECT_TRUE(driver.Click(kBold));
        EXPECT_TRUE(driver.Checked(kBold));
        driver.Check(kBold, true);
        EXPECT_EQ(shown.m_boldClicks, 1);
        driver.Check(kBold, false);
        EXPECT_EQ(shown.IsDlgButtonChecked(kBold), BST_UNCHECKED);
        shown.CheckDlgButton(kBold, BST_CHECKED);
        EXPECT_EQ(shown.m_boldClicks, 2);
        shown.EnableDlgItem(kBold, false);
        EXPECT_FALSE(driver.Click(kBold));
        driver.Check(kBold, false);
        EXPECT_TRUE(driver.Checked(kBold));
    });
    EXPECT_EQ(dialog.m_bold, BST_CHECKED);
}

TEST_F(DialogTest, PushButtonRunsItsCommandWhichTakesTheNextAnswer) {
    CTestDialog dialog;
    m_dialogs->PushDialog([&dialog](CDialogDriver& driver) {
        EXPECT_EQ(ReadPixel(dialog.m_swatch, 2, 2), kRed);
        EXPECT_TRUE(driver.Click(kColor));
        EXPECT_EQ(ReadPixel(dialog.m_swatch, 2, 2), kTeal);
        driver.Click(kColor);  // cancelled: the colour stays
    });
    m_dialogs->PushColor(kTeal);
    m_dialogs->PushCancel();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_color, kTeal);
    EXPECT_EQ(m_dialogs->PendingAnswers(), 0U);
    const auto& shown = m_dialogs->Shown();
    ASSERT_EQ(shown.size(), 3U);
    EXPECT_EQ(shown[0].kind, ShownDialog::Kind::Dialog);
    EXPECT_EQ(shown[1].kind, ShownDialog::Kind::Color);
    EXPECT_EQ(shown[1].color.initial, kRed);
    EXPECT_EQ(shown[1].flags, CC_FULLOPEN);
    EXPECT_EQ(shown[2].color.initial, kTeal);
}

TEST_F(DialogTest, OkAndCancelTakeTheirOwnPaths) {
    CTestDialog ok;
    ok.m_name = "OLD";
    EXPECT_EQ(Run(ok, [](CDialogDriver& driver, CTestDialog&) { driver.SetText(kName, "new"); }),
              IDOK);
    EXPECT_EQ(ok.m_nameInOnOK, "NEW");
    EXPECT_EQ(ok.m_name, "NEW");
    EXPECT_EQ(ok.m_cancels, 0);

    CTestDialog cancelled;
    cancelled.m_name = "OLD";
    EXPECT_EQ(
        Run(
            cancelled, [](CDialogDriver& driver, CTestDialog&) { driver.SetText(kName, "new"); },
            IDCANCEL),
        IDCANCEL);
    EXPECT_EQ(cancelled.m_name, "OLD");
    EXPECT_EQ(cancelled.m_oks, 0);
    EXPECT_EQ(cancelled.m_cancels, 1);

    CTestDialog finished;
    EXPECT_EQ(Run(finished, [](CDialogDriver& driver, CTestDialog&) { driver.Click(kFinish); }),
              kFinishResult);
    // The dialog had ended, so OK was not pressed after the actions.
    EXPECT_EQ(finished.m_oks, 0);
}

TEST_F(DialogTest, ReturnPressesTheDefaultButtonAndEscapeCancels) {
    CTestDialog returned;
    EXPECT_EQ(Run(
                  returned,
                  [](CDialogDriver& driver, CTestDialog&) {
                      driver.Type(kName, "a");
                      driver.Key(VK_RETURN);
                  },
                  IDCANCEL),
              IDOK);
    EXPECT_EQ(returned.m_name, "A");

    CTestDialog escaped;
    EXPECT_EQ(Run(escaped, [](CDialogDriver& driver, CTestDialog&) { driver.Key(VK_ESCAPE); }),
              IDCANCEL);
    EXPECT_EQ(escaped.m_cancels, 1);
}

TEST_F(DialogTest, OkThatFailsValidationEndsTheRunCancelled) {
    CTestDialog dialog;
    dialog.m_refuseEmptyName = true;
    dialog.m_name = "KEEP";
    EXPECT_EQ(Run(dialog, [](CDialogDriver& driver, CTestDialog&) { driver.SetText(kName, ""); }),
              IDCANCEL);
    EXPECT_EQ(dialog.m_oks, 1);
    EXPECT_EQ(dialog.m_cancels, 1);
}

TEST_F(DialogTest, WithoutADialogAnswerTheDialogIsCancelled) {
    CTestDialog unanswered;
    unanswered.m_name = "SAME";
    EXPECT_EQ(unanswered.DoModal(), IDCANCEL);
    EXPECT_EQ(unanswered.m_cancels, 1);
    EXPECT_EQ(unanswered.m_name, "SAME");

    // An answer of another kind is used up.
    m_dialogs->PushColor(kTeal);
    m_dialogs->PushButton(IDNO);
    CTestDialog wrongKind;
    EXPECT_EQ(wrongKind.DoModal(), IDCANCEL);
    EXPECT_EQ(wrongKind.m_cancels, 1);
    EXPECT_EQ(m_dialogs->PendingAnswers(), 1U);
    EXPECT_EQ(m_dialogs->Shown().size(), 2U);

    CDialog missing(kTemplate + 1);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_EQ(m_dialogs->Shown().size(), 2U);
}

TEST_F(DialogTest, DialogCanRunAgainAndEndInOnInitDialog) {
    CTestDialog dialog;
    EXPECT_EQ(Run(dialog, [](CDialogDriver& driver, CTestDialog&) { driver.Type(kName, "a"); }),
              IDOK);
    EXPECT_EQ(Run(dialog, [](CDialogDriver& driver, CTestDialog&) { driver.Type(kName, "b"); }),
              IDOK);
    EXPECT_EQ(dialog.m_name, "AB");
    EXPECT_TRUE(dialog.m_subclassed);

    dialog.m_init = [](CTestDialog& self) { self.EndDialog(kFinishResult); };
    m_dialogs->ClearShown();
    EXPECT_EQ(dialog.DoModal(), kFinishResult);
    EXPECT_TRUE(m_dialogs->Shown().empty());
}

TEST_F(DialogTest, SubclassedStaticPaintsInThePlaceOfTheControl) {
    CTestDialog dialog;
    dialog.m_color = kTeal;
    Run(dialog, [](CDialogDriver&, CTestDialog& shown) {
        ASSERT_TRUE(shown.m_subclassed);
        EXPECT_EQ(shown.m_swatch.GetParent(), &shown);
        EXPECT_EQ(shown.m_swatch.GetDlgCtrlID(), kSwatch);
        EXPECT_EQ(shown.m_swatch.GetWindowRect(), DialogUnitsToPixels(120, 60, 30, 14));
        const RECT client = shown.m_swatch.GetClientRect();
        EXPECT_EQ(ReadPixel(shown.m_swatch, client.right - 1, client.bottom - 1), kTeal);
        // As the dialog shows it, with the swatch inside and the dialog's face around it.
        const RECT place = shown.m_swatch.GetWindowRect();
        EXPECT_EQ(ReadShownPixel(shown, place.left + 3, place.top + 3), kTeal);
        EXPECT_EQ(ReadShownPixel(shown, place.left - 1, place.top + 3), COLOR_3DFACE);
        // A second take-over of the same control fails.
        CSwatch other;
        EXPECT_FALSE(other.SubclassDlgItem(kSwatch, &shown));
        EXPECT_FALSE(other.SubclassDlgItem(kLabel + 50, &shown));
        EXPECT_TRUE(shown.HasDlgItem(kSwatch));
    });
    EXPECT_FALSE(dialog.m_swatch.IsWindow());
}

TEST_F(DialogTest, SizeComesFromDialogUnitsOfTheDialogFont) {
    const SIZE base = DialogFontBaseUnits();
    // MS Sans Serif 8 pt measures 6 x 13; its Liberation stand-in comes close.
    EXPECT_GE(base.cx, 5);
    EXPECT_LE(base.cx, 7);
    EXPECT_GE(base.cy, 12);
    EXPECT_LE(base.cy, 15);
    EXPECT_EQ(DialogUnitsToPixels(4, 8, 4, 8), (RECT{base.cx, base.cy, 2 * base.cx, 2 * base.cy}));
    CTestDialog dialog;
    Run(dialog, [&base](CDialogDriver&, CTestDialog& shown) {
        EXPECT_EQ(shown.GetClientRect(),
                  (RECT{0, 0, MulDiv(200, base.cx, 4), MulDiv(120, base.cy, 8)}));
    });
}

TEST_F(DialogTest, TabMovesThroughTheTabStopsInTemplateOrder) {
    CTestDialog dialog;
    Run(dialog, [](CDialogDriver& driver, CTestDialog& shown) {
        // The first tab stop has the focus, with its text selected.
        EXPECT_EQ(driver.Focused(), kName);
        driver.Key(VK_TAB);
        EXPECT_EQ(driver.Focused(), kDigits);
        driver.Key(VK_TAB, FSHIFT);
        driver.Key(VK_TAB, FSHIFT);
        EXPECT_EQ(driver.Focused(), static_cast<UINT>(IDCANCEL));
        shown.EnableDlgItem(kNarrow, false);
        shown.GotoDlgCtrl(kDigits);
        driver.Key(VK_TAB);
        EXPECT_EQ(driver.Focused(), kList);
        // Tabbing into an edit box selects its text, so typing replaces it.
        shown.SetDlgItemText(kName, "OLD");
        driver.Key(VK_TAB, FSHIFT);
        driver.Key(VK_TAB, FSHIFT);
        EXPECT_EQ(driver.Focused(), kName);
        driver.Key('N');
        EXPECT_EQ(driver.Text(kName), "N");
    });
}
