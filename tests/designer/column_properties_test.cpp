// The item properties dialog, run headless through the scripted dialog service, and the
// canvas's context menu that opens it.
#include <gtest/gtest.h>

#include "designer/column_properties_dlg.h"
#include "designer/main_frame.h"
#include "designer/resources.h"
#include "platform/dialogs/dialog_driver.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

namespace {

DesignItem Column() {
    DesignItem item;
    item.kind = kColumn;
    item.rect = RECT{100, 40, 180, 63};
    item.backColor = 0x00FFFFFF;
    item.tabOrder = 1;
    item.border = true;
    return item;
}

class ColumnPropertiesTest : public ::testing::Test {
  protected:
    void SetUp() override { RegisterColumnPropertiesDialog(); }

    // Runs the dialog on the item with the actions, ending with the button.
    bool Edit(std::function<void(CDialogDriver&)> actions, int button = IDOK) {
        dialogs->PushDialog(std::move(actions), button);
        CColumnPropertiesDlg dialog;
        return dialog.EditItem(&item);
    }

    ScopedScriptedDialogs dialogs;
    DesignItem item = Column();
};

}  // namespace

TEST_F(ColumnPropertiesTest, OpensWithEveryFieldAndTheCrossedDimensions) {
    item.name = "CITY";
    item.text = "Paris";
    item.mask = "###";
    item.maxLength = 30;
    item.wholeDigits = 7;
    item.decimalDigits = 2;
    item.justification = 2;
    item.editStyle = 4;
    item.bold = true;
    std::map<UINT, std::string> seen;
    std::map<UINT, bool> checks;
    EXPECT_FALSE(Edit(
        [&](CDialogDriver& driver) {
            for (const UINT id : {IDC_NAME, IDC_TEXT, IDC_MASK, IDC_MAX_LENGTH, IDC_WHOLE_DIGITS,
                                  IDC_DECIMAL_DIGITS, IDC_WIDTH, IDC_HEIGHT}) {
                seen[id] = driver.Text(id);
            }
            seen[IDC_JUSTIFICATION] = driver.Selected(IDC_JUSTIFICATION);
            seen[IDC_EDIT_STYLE] = driver.Selected(IDC_EDIT_STYLE);
            for (const UINT id : {IDC_BOLD, IDC_ITALIC, IDC_UNDERLINE, IDC_BORDER}) {
                checks[id] = driver.Checked(id);
            }
        },
        IDCANCEL));
    EXPECT_EQ(seen[IDC_NAME], "CITY");
    EXPECT_EQ(seen[IDC_TEXT], "Paris");
    EXPECT_EQ(seen[IDC_MASK], "###");
    EXPECT_EQ(seen[IDC_MAX_LENGTH], "30");
    EXPECT_EQ(seen[IDC_WHOLE_DIGITS], "7");
    EXPECT_EQ(seen[IDC_DECIMAL_DIGITS], "2");
    EXPECT_EQ(seen[IDC_WIDTH], "23");   // the box labelled Width holds bottom - top
    EXPECT_EQ(seen[IDC_HEIGHT], "80");  // and Height holds right - left
    EXPECT_EQ(seen[IDC_JUSTIFICATION], "RIGHT");
    EXPECT_EQ(seen[IDC_EDIT_STYLE], "NUMERIC");
    EXPECT_TRUE(checks[IDC_BOLD]);
    EXPECT_FALSE(checks[IDC_ITALIC]);
    EXPECT_TRUE(checks[IDC_BORDER]);
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].caption, "Column Properties");
}

TEST_F(ColumnPropertiesTest, SelectionsForOddStoredValues) {
    std::string justification;
    std::string style;
    item.justification = 7;
    item.editStyle = 9;
    Edit(
        [&](CDialogDriver& driver) {
            justification = driver.Selected(IDC_JUSTIFICATION);
            style = driver.Selected(IDC_EDIT_STYLE);
        },
        IDCANCEL);
    EXPECT_EQ(justification, "CENTERED");
    EXPECT_EQ(style, "");
    // OK with no edit style selected keeps the stored one.
    EXPECT_TRUE(Edit([](CDialogDriver&) {}));
    EXPECT_EQ(item.editStyle, 9);
    EXPECT_EQ(item.justification, 3);
}

TEST_F(ColumnPropertiesTest, DateBecomesMaskStyleWithTheDateMask) {
    item.editStyle = 2;
    item.mask = "AB";
    std::string shown;
    EXPECT_TRUE(Edit([&](CDialogDriver& driver) { shown = driver.Selected(IDC_EDIT_STYLE); }));
    EXPECT_EQ(shown, "DATE");
    EXPECT_EQ(item.editStyle, 3);
    EXPECT_EQ(item.mask, "##/##/####");
}

TEST_F(ColumnPropertiesTest, TypedValuesAreStoredWithTheirBoxRules) {
    EXPECT_TRUE(Edit([](CDialogDriver& driver) {
        driver.Type(IDC_NAME, "abc");
        driver.Select(IDC_EDIT_STYLE, "MASK");
        driver.SetText(IDC_MASK, "(###) ###-####");
        driver.SetText(IDC_WIDTH, "");
        driver.Type(IDC_WIDTH, "3x0");  // digits only: the letter is refused
        driver.SetText(IDC_MAX_LENGTH, "");
        driver.Type(IDC_MAX_LENGTH, "12");
        driver.SetText(IDC_WHOLE_DIGITS, "-5");
        driver.SetText(IDC_DECIMAL_DIGITS, "x2");
        driver.Select(IDC_JUSTIFICATION, "LEFT");
        driver.Check(IDC_UNDERLINE, true);
        driver.Check(IDC_BORDER, false);
    }));
    EXPECT_EQ(item.name, "ABC");
    EXPECT_EQ(item.editStyle, 3);
    EXPECT_EQ(item.mask, "(###) ###-####");
    EXPECT_EQ(item.rect, (RECT{100, 40, 180, 70}));
    EXPECT_EQ(item.maxLength, 12);
    EXPECT_EQ(item.wholeDigits, -5);
    EXPECT_EQ(item.decimalDigits, 0);
    EXPECT_EQ(item.justification, 1);
    EXPECT_TRUE(item.underline);
    EXPECT_FALSE(item.border);

    // An empty Height box collapses the item to no width.
    EXPECT_TRUE(Edit([](CDialogDriver& driver) { driver.SetText(IDC_HEIGHT, ""); }));
    EXPECT_EQ(item.rect.right, item.rect.left);
}

TEST_F(ColumnPropertiesTest, CancelKeepsTheItemButNotAChosenColour) {
    const DesignItem before = item;
    dialogs->PushDialog(
        [](CDialogDriver& driver) {
            driver.SetText(IDC_NAME, "CHANGED");
            driver.Click(IDC_BACK_COLOR);
        },
        IDCANCEL);
    dialogs->PushColor(0x000000FF);
    CColumnPropertiesDlg dialog;
    EXPECT_FALSE(dialog.EditItem(&item));
    EXPECT_EQ(item.name, before.name);
    EXPECT_EQ(item.backColor, 0x000000FF);
    EXPECT_EQ(item.rect, before.rect);
}

TEST_F(ColumnPropertiesTest, ColourButtonsStartFromTheItemsColours) {
    item.backColor = 0x000000FF;
    item.textColor = 0;
    dialogs->PushDialog(
        [](CDialogDriver& driver) {
            driver.Click(IDC_BACK_COLOR);
            driver.Click(IDC_TEXT_COLOR);
        },
        IDOK);
    dialogs->PushCancel();
    dialogs->PushColor(0x00123456);
    CColumnPropertiesDlg dialog;
    EXPECT_TRUE(dialog.EditItem(&item));
    const auto& shown = dialogs->Shown();
    ASSERT_EQ(shown.size(), 3U);
    EXPECT_EQ(shown[1].kind, ShownDialog::Kind::Color);
    EXPECT_EQ(shown[1].color.initial, 0x000000FFU);
    EXPECT_EQ(shown[1].color.flags, CC_FULLOPEN);
    EXPECT_EQ(shown[2].color.initial, 0U);
    EXPECT_EQ(item.backColor, 0x000000FF);
    EXPECT_EQ(item.textColor, 0x00123456);
}

TEST_F(ColumnPropertiesTest, LongTextsAreLimitedToTheirFields) {
    EXPECT_TRUE(Edit([](CDialogDriver& driver) {
        driver.SetText(IDC_NAME, std::string(300, 'N'));
        driver.SetText(IDC_TEXT, std::string(300, 't'));
        driver.SetText(IDC_MASK, std::string(300, '#'));
    }));
    EXPECT_EQ(item.name.size(), 254U);
    EXPECT_EQ(item.text.size(), 254U);
    EXPECT_EQ(item.mask.size(), 257U);
}

TEST(AtoiTest, SignLeadingDigitsAndSaturation) {
    EXPECT_EQ(Atoi("42abc"), 42);
    EXPECT_EQ(Atoi("  -17"), -17);
    EXPECT_EQ(Atoi("+8"), 8);
    EXPECT_EQ(Atoi("abc"), 0);
    EXPECT_EQ(Atoi(""), 0);
    EXPECT_EQ(Atoi("99999999999999"), 2147483647);
    EXPECT_EQ(Atoi("-99999999999999"), -2147483647 - 1);
}
