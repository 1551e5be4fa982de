// Filter strings, the file and colour dialog classes and the scripted service.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/dialogs/common_dialogs.h"
#include "platform/dialogs/scripted_dialogs.h"

TEST(ParseFileFilter, ReadsPairsAndDescriptionsWithoutPatterns) {
    EXPECT_EQ(ParseFileFilter("Design Files (*.qor); *.qor||"),
              (std::vector<FileFilter>{{"Design Files (*.qor); *.qor", {"*.qor"}}}));
    EXPECT_EQ(ParseFileFilter("Text (*.txt)|*.txt; *.log|All Files (*.*)|*.*||"),
              (std::vector<FileFilter>{{"Text (*.txt)", {"*.txt", "*.log"}},
                                       {"All Files (*.*)", {"*.*"}}}));
    EXPECT_TRUE(ParseFileFilter("").empty());
}

TEST(CFileDialog, ExtensionIsTakenFromTheFileNameOnly) {
    ScopedScriptedDialogs dialogs;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/tmp/a.QOR", "QOR"}, {"/x.y/file", ""}, {"/tmp/f.qor.txt", "txt"}, {"noext", ""}};
    for (const auto& [path, extension] : cases) {
        dialogs->PushFile(path);
        CFileDialog dialog(true, "*.qor", {}, OFN_HIDEREADONLY, "Design Files (*.qor); *.qor||");
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.GetPathName(), path);
        EXPECT_EQ(dialog.GetFileExt(), extension) << path;
    }
    CFileDialog cancelled(false);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(dialogs->Shown().back().kind, ShownDialog::Kind::FileSave);
}

TEST(ScriptedDialogs, AnswersInOrderWithDefaultsAndWrongKinds) {
    ScopedScriptedDialogs dialogs;
    dialogs->PushButton(IDNO);
    dialogs->PushColor(0x00FF0000);
    dialogs->PushFile("/tmp/x.qor");
    EXPECT_EQ(AfxMessageBox(nullptr, "Text", "Caption", MB_YESNO), IDNO);
    CColorDialog color(0x000000FF, CC_FULLOPEN);
    EXPECT_EQ(color.DoModal(), IDOK);
    EXPECT_EQ(color.GetColor(), 0x00FF0000U);
    CColorDialog wrongKind(0x000000FF);
    EXPECT_EQ(wrongKind.DoModal(), IDCANCEL);  // took the file answer
    EXPECT_EQ(wrongKind.GetColor(), 0x000000FFU);
    EXPECT_EQ(AfxMessageBox(nullptr, "Empty queue", "C"), IDOK);
    ASSERT_EQ(dialogs->Shown().size(), 4U);
    EXPECT_EQ(dialogs->Shown()[0].caption, "Caption");
    EXPECT_EQ(dialogs->Shown()[1].color.initial, 0x000000FFU);
    EXPECT_EQ(dialogs->PendingAnswers(), 0U);
}

TEST(ScriptedDialogs, SaveOverAnExistingFileAsksFirst) {
    ScopedScriptedDialogs dialogs;
    const auto path = std::filesystem::temp_directory_path() / "qor_dialogs_exists.qor";
    std::ofstream(path).put('x');
    dialogs->PushFile(path.string());
    dialogs->PushButton(IDNO);
    CFileDialog refused(false, "*.qor", {}, OFN_OVERWRITEPROMPT);
    EXPECT_EQ(refused.DoModal(), IDCANCEL);
    ASSERT_EQ(dialogs->Shown().size(), 2U);
    EXPECT_EQ(dialogs->Shown()[1].caption, "Save As");
    dialogs->PushFile(path.string());
    CFileDialog accepted(false, "*.qor", {}, OFN_OVERWRITEPROMPT);
    EXPECT_EQ(accepted.DoModal(), IDOK);
    CFileDialog unprompted(false, "*.qor", {}, 0);
    dialogs->PushFile(path.string());
    dialogs->ClearShown();
    EXPECT_EQ(unprompted.DoModal(), IDOK);
    EXPECT_EQ(dialogs->Shown().size(), 1U);
    std::filesystem::remove(path);
}

TEST(ScriptedDialogs, ScopeRestoresThePreviousService) {
    IDialogService* outer = &DialogService();
    {
        ScopedScriptedDialogs dialogs;
        EXPECT_NE(&DialogService(), outer);
    }
    EXPECT_EQ(&DialogService(), outer);
}
