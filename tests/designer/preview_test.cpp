// Preview mode without a database: switching it on and off, the highlighted current field, Tab
// and Shift+Tab, the mouse, and typing under each edit style, all through the window's input.
#include <gtest/gtest.h>

#include "designer/preview_navigation.h"
#include "preview_test_support.h"

namespace {

constexpr COLORREF kHighlight = 0x00800000;
constexpr COLORREF kWhite = 0x00FFFFFF;

class PreviewTest : public ::testing::Test {
  protected:
    // A point inside the column's fill that no short text reaches.
    static POINT FillPoint(const DesignItem& item) {
        return POINT{item.rect.right - 5, item.rect.top + 5};
    }
    COLORREF FillOf(const std::string& name) {
        const POINT p = FillPoint(view.Named(name));
        return ReadPixel(view.frame, p.x, p.y);
    }
    void Type(const std::string& text) { TypeText(view.frame, text); }
    void Backspace() { SendKey(view.frame, VK_BACK, 0, "\b"); }

    // Switches preview on over a data source without the designer's entry, so that the
    // connection fails with its message, and forgets that message.
    void StartWithoutData() {
        ASSERT_TRUE(view.TogglePreview());
        ASSERT_TRUE(view.frame.m_previewMode);
        dialogs->ClearShown();
    }

    ScopedScriptedDialogs dialogs;
    ScopedDataSources sources;
    PreviewFrame view;
};

}  // namespace

TEST(PreviewNavigation, FirstFieldAndTabTargetsWrapAtBothEnds) {
    Design design;
    design.Insert(PreviewColumn("C", 3, RECT{}));
    design.Insert(PreviewColumn("A", 1, RECT{}));
    design.Insert(PreviewColumn("B", 2, RECT{}));
    DesignItem text;
    text.kind = kStaticText;  // tab order -1: never counted
    design.Insert(text);
    EXPECT_EQ(design.Items()[static_cast<size_t>(FirstField(design))].name, "A");
    EXPECT_EQ(TabTarget(design, 1, false), 2);
    EXPECT_EQ(TabTarget(design, 2, false), 3);
    EXPECT_EQ(TabTarget(design, 3, false), 1);
    EXPECT_EQ(TabTarget(design, 1, true), 3);
    EXPECT_EQ(TabTarget(design, 3, true), 2);
    // Outside the range both directions go to the smallest.
    EXPECT_EQ(TabTarget(design, kNoTabOrder, false), 1);
    EXPECT_EQ(TabTarget(design, kNoTabOrder, true), 1);
    EXPECT_EQ(TabTarget(design, -1, true), 1);

    Design gaps;
    gaps.Insert(PreviewColumn("X", 10, RECT{}));
    gaps.Insert(PreviewColumn("Y", 4, RECT{}));
    gaps.Insert(PreviewColumn("Z", 4, RECT{}));
    EXPECT_EQ(gaps.Items()[static_cast<size_t>(FirstField(gaps))].name, "Z");
    EXPECT_EQ(TabTarget(gaps, 4, false), 10);
    EXPECT_EQ(TabTarget(gaps, 7, true), 4);
    EXPECT_EQ(TabTarget(gaps, 7, false), 10);

    Design none;
    none.Insert(text);
    EXPECT_EQ(FirstField(none), -1);
    EXPECT_EQ(TabTarget(none, 1, false), std::nullopt);
}

TEST_F(PreviewTest, StartsOnTheLowestTabOrderAndTabsAroundInHighlight) {
    view.Add(PreviewColumn("C", 3, RECT{100, 100, 180, 123}));
    view.Add(PreviewColumn("A", 1, RECT{100, 20, 180, 43}));
    view.Add(PreviewColumn("B", 2, RECT{100, 60, 180, 83}));
    StartWithoutData();
    EXPECT_EQ(view.Current(), "A");
    EXPECT_EQ(view.frame.m_currentTabOrder, 1);
    EXPECT_EQ(FillOf("A"), kHighlight);
    EXPECT_EQ(FillOf("B"), kWhite);

    std::string walk;
    for (int i = 0; i < 3; ++i) {
        SendKey(view.frame, VK_TAB, 0, "\t");
        walk += view.Current();
    }
    EXPECT_EQ(walk, "BCA");
    SendKey(view.frame, VK_TAB, FSHIFT);
    EXPECT_EQ(view.Current(), "C");
    EXPECT_EQ(FillOf("C"), kHighlight);
    EXPECT_EQ(FillOf("A"), kWhite);
    // The highlight is painted over the item; its own colours stay stored.
    EXPECT_EQ(view.Named("C").backColor, 0x00FFFFFF);
    EXPECT_EQ(view.Named("C").textColor, 0);
    // A Tab typed as a character is no input for a text column.
    EXPECT_EQ(view.Named("C").text, "");
    EXPECT_TRUE(dialogs->Shown().empty());

    ASSERT_TRUE(view.TogglePreview());
    EXPECT_FALSE(view.frame.m_previewMode);
    EXPECT_EQ(FillOf("C"), kWhite);
}

TEST_F(PreviewTest, TheMouseChoosesOnlyColumns) {
    view.Add(PreviewColumn("A", 1, RECT{100, 20, 180, 43}));
    view.Add(PreviewColumn("B", 2, RECT{100, 60, 180, 83}));
    DesignItem label;
    label.rect = RECT{300, 60, 350, 83};
    view.Add(label);
    StartWithoutData();
    SendClick(view.frame, POINT{120, 70});
    EXPECT_EQ(view.Current(), "B");
    EXPECT_EQ(view.frame.m_currentTabOrder, 2);
    EXPECT_EQ(FillOf("B"), kHighlight);
    EXPECT_EQ(FillOf("A"), kWhite);
    SendClick(view.frame, POINT{310, 70});   // the static text
    SendClick(view.frame, POINT{500, 300});  // beside every item
    EXPECT_EQ(view.Current(), "B");
    // Tab goes on from the chosen field.
    SendKey(view.frame, VK_TAB);
    EXPECT_EQ(view.Current(), "A");
    // No canvas editing: nothing was selected or moved.
    EXPECT_FALSE(view.Named("B").selected);
    EXPECT_EQ(view.Named("B").rect.left, 100);
}

TEST_F(PreviewTest, WithoutAnEntryTheMessageComesOnceAndTypingStillWorks) {
    view.Add(PreviewColumn("A", 1, RECT{100, 20, 180, 43}));
    view.Add(PreviewColumn("B", 2, RECT{100, 60, 180, 83}));
    ASSERT_TRUE(view.TogglePreview());
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    const ShownDialog& message = dialogs->Shown()[0];
    EXPECT_EQ(message.kind, ShownDialog::Kind::MessageBox);
    EXPECT_EQ(message.caption, "");
    // Description and source, one line each.
    const auto lineBreak = message.text.find('\n');
    ASSERT_NE(lineBreak, std::string::npos) << message.text;
    EXPECT_NE(message.text.find("qorform"), std::string::npos) << message.text;
    EXPECT_EQ(message.text.substr(lineBreak + 1), "ADODB.Connection") << message.text;
    EXPECT_TRUE(view.frame.m_previewMode);
    EXPECT_FALSE(view.frame.IsPreviewConnected());

    Type("ab");
    SendKey(view.frame, VK_TAB);
    Type("c");
    SendKey(view.frame, VK_NEXT);
    EXPECT_EQ(view.Named("A").text, "ab");
    EXPECT_EQ(view.Named("B").text, "c");
    EXPECT_EQ(dialogs->Shown().size(), 1U);
    // Save commits nothing and asks for no file.
    ASSERT_TRUE(ClickMenuItem(view.frame, ID_FILE_SAVE));
    EXPECT_EQ(dialogs->Shown().size(), 1U);

    // Every switch-on tries again.
    ASSERT_TRUE(view.TogglePreview());
    ASSERT_TRUE(view.TogglePreview());
    EXPECT_EQ(dialogs->Shown().size(), 2U);
}

TEST_F(PreviewTest, NoDesignWarnsAndADesignWithoutColumnsStaysInEditing) {
    CMainFrame fresh;
    ASSERT_TRUE(fresh.LoadFrame(IDR_MAINFRAME));
    fresh.OnPreview();
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].text, "No design is currently being edited");
    EXPECT_EQ(dialogs->Shown()[0].caption, "Warning");
    EXPECT_FALSE(fresh.m_previewMode);

    DesignItem label;
    label.rect = RECT{10, 10, 60, 33};
    view.Add(label);
    ASSERT_TRUE(view.TogglePreview());
    EXPECT_FALSE(view.frame.m_previewMode);
    EXPECT_EQ(dialogs->Shown().size(), 1U);
}

TEST_F(PreviewTest, TextColumnTakesLettersDigitsAndBlanksUpToItsMaximum) {
    DesignItem column = PreviewColumn("A", 1, RECT{100, 20, 180, 43});
    column.maxLength = 3;
    view.Add(column);
    StartWithoutData();
    Type("-.");
    EXPECT_EQ(view.Named("A").text, "");
    Type("ab1c");
    EXPECT_EQ(view.Named("A").text, "ab1");
    Backspace();
    Type(" ");
    EXPECT_EQ(view.Named("A").text, "ab ");
    Backspace();
    Backspace();
    Backspace();
    Backspace();
    EXPECT_EQ(view.Named("A").text, "");
}

TEST_F(PreviewTest, MaskColumnKeepsLiteralsAppendedOnTheWay) {
    DesignItem column = PreviewColumn("D", 1, RECT{100, 20, 180, 43}, 3);
    column.mask = "##/##/####";
    view.Add(column);
    StartWithoutData();
    Type("123");
    EXPECT_EQ(view.Named("D").text, "12/3");
    Type("x");
    EXPECT_EQ(view.Named("D").text, "12/3");
    Type("4");
    // The refused letter still leaves the second slash, which the mask put on the way.
    Type("a");
    EXPECT_EQ(view.Named("D").text, "12/34/");
    Type("5");
    EXPECT_EQ(view.Named("D").text, "12/34/5");
}

TEST_F(PreviewTest, NumericColumnFollowsItsWholeAndDecimalDigits) {
    DesignItem column = PreviewColumn("N", 1, RECT{100, 20, 180, 43}, 4);
    column.wholeDigits = 3;
    column.decimalDigits = 2;
    view.Add(column);
    StartWithoutData();
    Type("12345");
    EXPECT_EQ(view.Named("N").text, "123.45");
    Type("6");
    EXPECT_EQ(view.Named("N").text, "123.45");
    view.Named("N").text.clear();
    Type("1..-,");
    EXPECT_EQ(view.Named("N").text, "1.");
    view.Named("N").text.clear();
    Type(".123");
    EXPECT_EQ(view.Named("N").text, ".12");
}

TEST_F(PreviewTest, CheckBoxDateAndListColumnsIgnoreEveryKey) {
    view.Add(PreviewColumn("L", 3, RECT{100, 100, 180, 123}, 6));
    view.Add(PreviewColumn("D", 2, RECT{100, 60, 180, 83}, 2));
    view.Add(PreviewColumn("K", 1, RECT{100, 20, 180, 43}, 5));
    for (DesignItem& item : view.frame.GetDesign().Items()) {
        item.text = "1";
    }
    StartWithoutData();
    for (int field = 0; field < 3; ++field) {
        Type("a1 .");
        Backspace();
        SendKey(view.frame, VK_TAB);
    }
    EXPECT_EQ(view.Named("K").text, "1");
    EXPECT_EQ(view.Named("D").text, "1");
    EXPECT_EQ(view.Named("L").text, "1");
}
