// The designer's frame driven through its menus, accelerators and the scripted dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "designer/main_frame.h"
#include "designer/resources.h"
#include "designer_test_support.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

namespace {

class MainFrameTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(ShowFrame(frame, false)); }

    std::filesystem::path Temp(const std::string& name) {
        auto path = std::filesystem::temp_directory_path() / ("qorform_test_" + name);
        created.push_back(path);
        return path;
    }

    void TearDown() override {
        for (const auto& path : created) {
            std::filesystem::remove(path);
        }
    }

    bool Enabled(const std::string& menu, UINT id) {
        for (const MenuItemState& item : OpenMenu(frame, menu)) {
            if (item.id == id) {
                return item.enabled;
            }
        }
        ADD_FAILURE() << "no command " << id << " in " << menu;
        return false;
    }

    void SaveTo(const std::filesystem::path& path) {
        dialogs->PushFile(path.string());
        ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_SAVE));
    }

    ScopedScriptedDialogs dialogs;
    CMainFrame frame;
    std::vector<std::filesystem::path> created;
};

const std::vector<UINT> kEditingCommands = {ID_EDIT_UNDO,
                                            ID_EDIT_CUT,
                                            ID_EDIT_COPY,
                                            ID_EDIT_PASTE,
                                            ID_EDIT_SELECT_ALL,
                                            ID_CONTROLS_STATICTEXT,
                                            ID_CONTROLS_COLUMN,
                                            ID_CONTROLS_HORIZONTALLINE,
                                            ID_CONTROLS_VERTICALLINE,
                                            ID_CONTROLS_RECTANGLE,
                                            ID_CONTROLS_ROUNDRECTANGLE};

}  // namespace

TEST_F(MainFrameTest, MenuBarTitleAndSize) {
    EXPECT_EQ(MenuTitles(frame),
              (std::vector<std::string>{"&File", "&Edit", "Controls", "Form", "&Help"}));
    EXPECT_EQ(frame.GetWindowText(), "qorform");
    EXPECT_EQ(FrameSize(frame), (SIZE{800, 600}));
    ResizeFrame(frame, 1200, 900);
    EXPECT_EQ(FrameSize(frame), (SIZE{800, 600}));
    EXPECT_EQ(FrameMaximumSize(frame), (SIZE{800, 600}));
}

TEST_F(MainFrameTest, EnableRulesAtStartUpAfterNewAndInPreview) {
    EXPECT_TRUE(Enabled("&File", ID_FILE_NEW));
    EXPECT_TRUE(Enabled("&File", ID_FILE_OPEN));
    EXPECT_FALSE(Enabled("&File", ID_FILE_SAVE));
    EXPECT_FALSE(Enabled("Form", ID_FORM_PREVIEW));
    EXPECT_TRUE(Enabled("Form", ID_FORM_SETBACKGROUNDCOLOR));
    for (const UINT id : kEditingCommands) {
        EXPECT_FALSE(frame.QueryCommand(id).IsEnabled()) << id;
    }
    EXPECT_FALSE(frame.QueryCommand(ID_CONTEXT_DELETE).IsEnabled());

    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    EXPECT_TRUE(Enabled("&File", ID_FILE_SAVE));
    EXPECT_TRUE(Enabled("Form", ID_FORM_PREVIEW));
    EXPECT_TRUE(Enabled("&Edit", ID_EDIT_UNDO));
    EXPECT_TRUE(Enabled("Controls", ID_CONTROLS_COLUMN));

    ASSERT_TRUE(ClickMenuItem(frame, ID_CONTROLS_COLUMN));
    SendClick(frame, {100, 100});
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORM_PREVIEW));
    ASSERT_TRUE(frame.Preview().IsOn());
    dialogs->ClearShown();
    for (const UINT id : kEditingCommands) {
        EXPECT_FALSE(frame.QueryCommand(id).IsEnabled()) << id;
    }
    EXPECT_FALSE(Enabled("Form", ID_FORM_SETBACKGROUNDCOLOR));
    EXPECT_FALSE(frame.QueryCommand(ID_CONTEXT_PROPERTIES).IsEnabled());
    const auto form = OpenMenu(frame, "Form");
    ASSERT_EQ(form.size(), 3U);
    EXPECT_EQ(form[1].text, "Record Source...");
    EXPECT_FALSE(form[1].enabled);
    EXPECT_TRUE(form[2].checked);

    // Save in preview commits instead of asking for a file.
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_SAVE));
    EXPECT_TRUE(dialogs->Shown().empty());
}

TEST_F(MainFrameTest, AcceleratorsRunOnlyEnabledCommands) {
    SendKey(frame, 'C', FCONTROL);  // Copy is disabled before New: nothing happens
    SendKey(frame, VK_F6);          // no handler at all
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    ASSERT_TRUE(ClickMenuItem(frame, ID_CONTROLS_COLUMN));
    SendKey(frame, 'Z', FCONTROL);
    EXPECT_TRUE(frame.QueryCommand(ID_EDIT_UNDO).IsEnabled());
    EXPECT_FALSE(frame.QueryCommand(ID_NEXT_PANE).IsEnabled());
    EXPECT_TRUE(dialogs->Shown().empty());
}

TEST_F(MainFrameTest, NewThenSaveWritesAnEmptyFileAndReloads) {
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    const auto path = Temp("new.qor");
    SaveTo(path);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0U);
    const auto& shown = dialogs->Shown();
    ASSERT_EQ(shown.size(), 1U);
    EXPECT_EQ(shown[0].kind, ShownDialog::Kind::FileSave);
    EXPECT_EQ(shown[0].file.defaultExtension, "*.qor");
    EXPECT_EQ(shown[0].file.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    ASSERT_EQ(shown[0].file.filters.size(), 1U);
    EXPECT_EQ(shown[0].file.filters[0].patterns, std::vector<std::string>{"*.qor"});
    EXPECT_EQ(frame.Document().Path(), path.string());
}

TEST_F(MainFrameTest, ExtensionCheckAndTheThreeMessages) {
    const auto upper = Temp("UPPER.QOR");
    std::ofstream(upper).put('\0');
    dialogs->PushFile(upper.string());
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_OPEN));
    EXPECT_TRUE(frame.Document().IsLoaded());

    for (const std::string name : {"design.qor.txt", "noextension"}) {
        dialogs->ClearShown();
        dialogs->PushFile(Temp(name).string());
        ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_OPEN));
        ASSERT_EQ(dialogs->Shown().size(), 2U) << name;
        EXPECT_EQ(dialogs->Shown()[1].text, "A file with Invalid file extension was selected.");
        EXPECT_EQ(dialogs->Shown()[1].caption, "Error");
        EXPECT_EQ(frame.Document().Path(), Temp(name).string());
    }

    dialogs->ClearShown();
    dialogs->PushFile(Temp("absent.qor").string());
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_OPEN));
    ASSERT_EQ(dialogs->Shown().size(), 2U);
    EXPECT_EQ(dialogs->Shown()[1].text, "Error opening design file.");

    dialogs->ClearShown();
    SaveTo(std::filesystem::temp_directory_path() / "no-such-folder" / "x.qor");
    ASSERT_EQ(dialogs->Shown().size(), 2U);
    EXPECT_EQ(dialogs->Shown()[1].text, "Error Creating Save File.");
    EXPECT_EQ(dialogs->Shown()[1].flags, MB_OK);
}

TEST_F(MainFrameTest, LoadReplacesTheDesignAndLeavesPreview) {
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    DesignItem text;
    text.kind = kStaticText;
    text.text = "Label:";
    text.rect = RECT{10, 10, 60, 33};
    ASSERT_TRUE(ClickMenuItem(frame, ID_CONTROLS_STATICTEXT));
    SendClick(frame, {10, 10});
    const auto path = Temp("one.qor");
    SaveTo(path);
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    ASSERT_TRUE(ClickMenuItem(frame, ID_CONTROLS_COLUMN));
    SendClick(frame, {100, 100});
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORM_PREVIEW));
    ASSERT_TRUE(frame.Preview().IsOn());
    dialogs->PushButton(IDNO);  // the placed column is not kept
    dialogs->PushFile(path.string());
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_OPEN));
    ASSERT_EQ(frame.Document().Items().size(), 1U);
    EXPECT_EQ(frame.Document().Items()[0], text);
    EXPECT_FALSE(frame.Preview().IsOn());
}

// An installed design nobody may write opens; saving over it fails and leaves it as it was.
TEST_F(MainFrameTest, AReadOnlyDesignLoadsAndOnlyItsSaveFails) {
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    DesignItem text;
    text.text = "Installed";
    text.rect = RECT{10, 10, 90, 33};
    OpenList(frame, {text});
    const auto path = Temp("installed.qor");
    SaveTo(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    dialogs->ClearShown();
    dialogs->PushFile(path.string());
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_OPEN));
    ASSERT_EQ(frame.Document().Items().size(), 1U);
    EXPECT_EQ(frame.Document().Items()[0], text);
    ASSERT_EQ(dialogs->Shown().size(), 1U);

    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    SaveTo(path);
    // The save dialog asks first whether to replace the file.
    ASSERT_EQ(dialogs->Shown().size(), 4U);
    EXPECT_EQ(dialogs->Shown()[3].text, "Error Creating Save File.");
    EXPECT_EQ(std::filesystem::file_size(path), kDesignItemRecordSize);
}

TEST_F(MainFrameTest, BackgroundColourIsChosenPaintedAndSurvivesNew) {
    EXPECT_EQ(ReadPixel(frame, 5, 5), 0x00C0C0C0U);
    dialogs->PushColor(0x00336699);
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORM_SETBACKGROUNDCOLOR));
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].color.initial, 0x00C0C0C0U);
    EXPECT_EQ(dialogs->Shown()[0].color.flags, CC_FULLOPEN);
    EXPECT_EQ(ReadPixel(frame, 5, 5), 0x00336699U);
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_NEW));
    EXPECT_EQ(frame.Document().BackgroundColor(), 0x00336699U);
    const RECT client = frame.GetClientRect();
    EXPECT_EQ(ReadPixel(frame, client.right - 1, client.bottom - 1), 0x00336699U);

    dialogs->PushCancel();
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORM_SETBACKGROUNDCOLOR));
    EXPECT_EQ(frame.Document().BackgroundColor(), 0x00336699U);
}

TEST_F(MainFrameTest, AboutBoxAndExit) {
    ASSERT_TRUE(ClickMenuItem(frame, ID_APP_ABOUT));
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].kind, ShownDialog::Kind::About);
    EXPECT_EQ(dialogs->Shown()[0].about.lines, std::vector<std::string>{"qorform Version 1.0"});
    ASSERT_TRUE(ClickMenuItem(frame, ID_APP_EXIT));
    EXPECT_FALSE(frame.IsWindow());
}

TEST_F(MainFrameTest, FileNamedAtStartUpOpensWithTheSameChecks) {
    OpenDesignPath(frame, Temp("given.txt").string());
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].text, "A file with Invalid file extension was selected.");
    EXPECT_FALSE(frame.Document().IsLoaded());
    const auto path = Temp("given.qor");
    std::ofstream(path).close();
    OpenDesignPath(frame, path.string());
    EXPECT_TRUE(frame.Document().IsLoaded());
    EXPECT_EQ(frame.Document().Path(), path.string());
}
