// The modified flag in the title and the question before New, Open or closing would throw
// unsaved changes away, answered through the scripted dialogs.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "designer/resources.h"
#include "designer_test_support.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "tests/temp_folder.h"

namespace {

class SavePromptTest : public ::testing::Test {
  public:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(ShowFrame(frame)); }
    void PlaceRectangle(POINT at) {
        ASSERT_TRUE(ClickMenuItem(frame, ID_CONTROLS_RECTANGLE));
        SendClick(frame, at);
    }

    ScopedScriptedDialogs dialogs;
    CMainFrame frame;
    // A folder of each test's own: the cases run side by side in processes of their own.
    TempFolder folder;
    std::filesystem::path path = folder / "qorform_prompt.qor";
    std::filesystem::path other = folder / "qorform_other.qor";
};

// What the user does that may throw the design away.
struct DiscardCase {
    const char* name;
    std::function<void(SavePromptTest&)> act;
    // Whether the design the action would bring is there afterwards (an empty one for New and
    // Open, none for closing).
    std::function<bool(SavePromptTest&)> done;
};

void PrintTo(const DiscardCase& row, std::ostream* out) {
    *out << row.name;
}

const DiscardCase kDiscards[] = {
    {"New", [](SavePromptTest& t) { ClickMenuItem(t.frame, ID_FILE_NEW); },
     [](SavePromptTest& t) { return t.frame.Document().Items().empty(); }},
    {"Open",
     [](SavePromptTest& t) {
         WriteDesignFile(t.other.string(), Design{});
         t.dialogs->PushFile(t.other.string());
         ClickMenuItem(t.frame, ID_FILE_OPEN);
     },
     [](SavePromptTest& t) { return t.frame.Document().Items().empty(); }},
    {"CloseBox", [](SavePromptTest& t) { SendClose(t.frame); },
     [](SavePromptTest& t) { return !t.frame.IsWindow(); }},
    {"Exit", [](SavePromptTest& t) { ClickMenuItem(t.frame, ID_APP_EXIT); },
     [](SavePromptTest& t) { return !t.frame.IsWindow(); }},
};

class DiscardTest : public SavePromptTest, public ::testing::WithParamInterface<DiscardCase> {
  protected:
    // Places a rectangle, then acts after queueing the answers.
    void ActOnAChange(const std::vector<int>& buttons, const std::string& file = {}) {
        PlaceRectangle({100, 100});
        for (const int button : buttons) {
            dialogs->PushButton(button);
        }
        if (!file.empty()) {
            dialogs->PushFile(file);
        }
        GetParam().act(*this);
    }
};

}  // namespace

TEST_F(SavePromptTest, TheTitleMarksChangesUntilSavedOrUndone) {
    EXPECT_EQ(frame.GetWindowText(), "Untitled - qorform");
    // A path the extension check refuses names no file of the design.
    dialogs->PushFile(other.string() + ".txt");
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_OPEN));
    EXPECT_EQ(frame.GetWindowText(), "Untitled - qorform");
    PlaceRectangle({100, 100});
    EXPECT_TRUE(frame.Document().IsModified());
    EXPECT_EQ(frame.GetWindowText(), "Untitled* - qorform");
    dialogs->PushFile(path.string());
    ASSERT_TRUE(ClickMenuItem(frame, ID_FILE_SAVE));
    EXPECT_EQ(frame.GetWindowText(), "qorform_prompt.qor - qorform");
    SendKey(frame, 'Z', FCONTROL);
    EXPECT_EQ(frame.GetWindowText(), "qorform_prompt.qor* - qorform");
    SendKey(frame, 'Y', FCONTROL);
    EXPECT_FALSE(frame.Document().IsModified());
    // The record source is kept beside the design: changing it is a change too.
    dialogs->PushDialog([](CDialogDriver& d) { d.SetText(1031, "SELECT 1"); });
    ASSERT_TRUE(ClickMenuItem(frame, ID_FORM_RECORDSOURCE));
    EXPECT_TRUE(frame.Document().IsModified());
}

TEST_P(DiscardTest, CancelKeepsTheWindowAndTheDesign) {
    ActOnAChange({IDCANCEL});
    ASSERT_TRUE(frame.IsWindow());
    ASSERT_EQ(frame.Document().Items().size(), 1U);
    EXPECT_TRUE(frame.Document().IsModified());
    ASSERT_GE(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].text, "Save changes to Untitled?");
    EXPECT_EQ(dialogs->Shown()[0].flags, MB_YESNOCANCEL);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_P(DiscardTest, NoThrowsTheChangesAway) {
    ActOnAChange({IDNO});
    EXPECT_TRUE(GetParam().done(*this));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_P(DiscardTest, YesSavesFirstAndACancelledSaveStopsIt) {
    ActOnAChange({IDYES}, path.string());
    EXPECT_TRUE(GetParam().done(*this));
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), kDesignItemRecordSize);
    if (frame.IsWindow()) {
        // Once more, with the save dialog cancelled: nothing is thrown away.
        dialogs->ClearShown();
        PlaceRectangle({200, 200});
        dialogs->PushButton(IDYES);
        dialogs->PushCancel();
        GetParam().act(*this);
        EXPECT_EQ(frame.Document().Items().size(), 1U);
        EXPECT_TRUE(frame.Document().IsModified());
    }
}

INSTANTIATE_TEST_SUITE_P(Actions, DiscardTest, ::testing::ValuesIn(kDiscards),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SavePromptTest, AnUnchangedDesignIsLeftWithoutAQuestion) {
    PlaceRectangle({100, 100});
    SendKey(frame, 'Z', FCONTROL);
    ASSERT_TRUE(ClickMenuItem(frame, ID_APP_EXIT));
    EXPECT_FALSE(frame.IsWindow());
    EXPECT_TRUE(dialogs->Shown().empty());
}
