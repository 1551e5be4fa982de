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

    // Switches preview on over a data source without the designer's entry, so that the
    // connection fails with its message, and forgets that message.
    void StartWithoutData() {
        ASSERT_TRUE(view.TogglePreview());
        ASSERT_TRUE(view.frame.Preview().IsOn());
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
    EXPECT_EQ(TabTarget(design, kNoTabStop, false), 1);
    EXPECT_EQ(TabTarget(design, kNoTabStop, true), 1);
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
    EXPECT_EQ(view.frame.Preview().CurrentTabOrder(), 1);
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
    EXPECT_FALSE(view.frame.Preview().IsOn());
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
    EXPECT_EQ(view.frame.Preview().CurrentTabOrder(), 2);
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
    EXPECT_TRUE(view.frame.Preview().IsOn());
    EXPECT_FALSE(view.frame.Preview().IsConnected());

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

TEST_F(PreviewTest, OpenDuringPreviewDrawsTheNewDesignForEditing) {
    view.Add(PreviewColumn("A", 1, RECT{100, 20, 180, 43}));
    StartWithoutData();
    const auto path = std::filesystem::temp_directory_path() /
                      ("qorform_reopen_" + std::to_string(getpid()) + ".qor");
    ASSERT_TRUE(WriteDesignFile(path.string(), view.frame.Document().GetDesign()));
    OpenDesignPath(view.frame, path.string());
    std::filesystem::remove(path);
    EXPECT_FALSE(view.frame.Preview().IsOn());
    EXPECT_EQ(FillOf("A"), kWhite);
}

TEST_F(PreviewTest, NoDesignWarnsAndADesignWithoutColumnsStaysInEditing) {
    CMainFrame fresh;
    ASSERT_TRUE(fresh.LoadFrame(IDR_MAINFRAME));
    fresh.OnPreview();
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].text, "No design is currently being edited");
    EXPECT_EQ(dialogs->Shown()[0].caption, "Warning");
    EXPECT_FALSE(fresh.Preview().IsOn());

    DesignItem label;
    label.rect = RECT{10, 10, 60, 33};
    view.Add(label);
    ASSERT_TRUE(view.TogglePreview());
    EXPECT_FALSE(view.frame.Preview().IsOn());
    EXPECT_EQ(dialogs->Shown().size(), 1U);
}

// Each case is typed into its own column after a click has made it current; "\b" is Backspace.
TEST_F(PreviewTest, TypingFollowsTheEditStyleOfTheCurrentColumn) {
    struct Case {
        std::int32_t style;
        const char* mask;
        std::int32_t maxLength;
        const char* typed;
        const char* expected;
    };
    const Case cases[] = {
        {1, "", 3, "-.ab1c", "ab1"},
        {1, "", 3, "ab \b\b\b\b1", "1"},
        {3, "##/##/####", 255, "123x", "12/3"},
        // The refused letter still leaves the slash that the mask put on the way.
        {3, "##/##/####", 255, "1234a", "12/34/"},
        {3, "(*)", 255, "a b", "(a)"},
        {4, "", 255, "123456", "123.45"},
        {4, "", 255, "1..-,", "1."},
        {4, "", 255, ".123", ".12"},
        {4, "", 255, "12\b\b\b3", "3"},
        {2, "##/##/####", 255, "1a .\b", ""},
        {5, "", 255, "1a .\b", ""},
        {6, "", 255, "1a .\b", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const int top = 10 + static_cast<int>(i) * 30;
        DesignItem column = PreviewColumn("C" + std::to_string(i), static_cast<std::int32_t>(i + 1),
                                          RECT{100, top, 180, top + 23}, cases[i].style);
        column.mask = cases[i].mask;
        column.maxLength = cases[i].maxLength;
        column.wholeDigits = 3;
        column.decimalDigits = 2;
        view.Add(column);
    }
    StartWithoutData();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "C" + std::to_string(i);
        SendClick(view.frame, FillPoint(view.Named(name)));
        ASSERT_EQ(view.Current(), name);
        Type(cases[i].typed);
        EXPECT_EQ(view.Named(name).text, cases[i].expected)
            << "style " << cases[i].style << ", " << cases[i].typed;
    }
}
