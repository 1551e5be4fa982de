// Filter strings, the file and colour dialog classes and the scripted service.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "platform/dialogs/common_dialogs.h"
#include "platform/dialogs/scripted_dialogs.h"

namespace {

const std::string kDesignFilter = "Design Files (*.qor); *.qor||";

// An existing file in a folder of its own, removed with the fixture.
class ExistingFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(m_folder);
        std::ofstream(m_path).put('x');
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    const std::filesystem::path m_folder =
        std::filesystem::temp_directory_path() / ("qor_dialogs_" + std::to_string(getpid()));
    const std::string m_path = (m_folder / "exists.qor").string();
};

}  // namespace

TEST(ParseFileFilter, DesignerFilterWithoutPatternFieldTakesThePatternsOfItsDescription) {
    EXPECT_EQ(ParseFileFilter(kDesignFilter),
              (std::vector<FileFilter>{{"Design Files (*.qor); *.qor", {"*.qor"}}}));
}

TEST(ParseFileFilter, ReadsPairsUpToTheDoubleBar) {
    EXPECT_EQ(ParseFileFilter("Text (*.txt)|*.txt; *.log |All Files (*.*)|*.*||"),
              (std::vector<FileFilter>{{"Text (*.txt)", {"*.txt", "*.log"}},
                                       {"All Files (*.*)", {"*.*"}}}));
    EXPECT_EQ(ParseFileFilter("A (*.a)||B|*.b||"), (std::vector<FileFilter>{{"A (*.a)", {"*.a"}}}));
    EXPECT_EQ(ParseFileFilter("Text|\t*.txt;;*.csv"),
              (std::vector<FileFilter>{{"Text", {"*.txt", "*.csv"}}}));
    EXPECT_EQ(ParseFileFilter("Plain||"), (std::vector<FileFilter>{{"Plain", {}}}));
    EXPECT_TRUE(ParseFileFilter("").empty());
    EXPECT_TRUE(ParseFileFilter("||").empty());
}

TEST(CFileDialog, NameAndExtensionAreTakenFromTheFileNameOnly) {
    ScopedScriptedDialogs dialogs;
    struct Case {
        std::string path, name, extension;
    };
    const std::vector<Case> cases = {{"/tmp/a.QOR", "a.QOR", "QOR"},
                                     {"/x.y/file", "file", ""},
                                     {"/tmp/f.qor.txt", "f.qor.txt", "txt"},
                                     {"noext", "noext", ""}};
    for (const Case& c : cases) {
        dialogs->PushFile(c.path);
        CFileDialog dialog(true, "*.qor", {}, OFN_HIDEREADONLY, kDesignFilter);
        ASSERT_EQ(dialog.DoModal(), IDOK);
        EXPECT_EQ(dialog.GetPathName(), c.path);
        EXPECT_EQ(dialog.GetFileName(), c.name);
        EXPECT_EQ(dialog.GetFileExt(), c.extension) << c.path;
    }
}

TEST(CFileDialog, HandsItsRequestToTheService) {
    ScopedScriptedDialogs dialogs;
    CFileDialog open(true, "*.qor", "start.qor", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                     kDesignFilter);
    CFileDialog save(false, "*.qor", {}, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kDesignFilter);
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_EQ(save.DoModal(), IDCANCEL);
    EXPECT_EQ(save.GetPathName(), "");

    ASSERT_EQ(dialogs->Shown().size(), 2U);
    const ShownDialog& shownOpen = dialogs->Shown()[0];
    EXPECT_EQ(shownOpen.kind, ShownDialog::Kind::FileOpen);
    EXPECT_TRUE(shownOpen.file.open);
    EXPECT_EQ(shownOpen.file.defaultExtension, "*.qor");
    EXPECT_EQ(shownOpen.file.initialFileName, "start.qor");
    EXPECT_EQ(shownOpen.flags, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST);
    EXPECT_EQ(shownOpen.file.filters, ParseFileFilter(kDesignFilter));
    const ShownDialog& shownSave = dialogs->Shown()[1];
    EXPECT_EQ(shownSave.kind, ShownDialog::Kind::FileSave);
    EXPECT_FALSE(shownSave.file.open);
    EXPECT_EQ(shownSave.caption, "Save As");
    EXPECT_EQ(shownSave.file.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
}

TEST(CColorDialog, RecordsTheInitialColourAndKeepsItWhenCancelled) {
    ScopedScriptedDialogs dialogs;
    dialogs->PushColor(RGB(1, 2, 3));
    dialogs->PushCancel();
    CColorDialog dialog(RGB(0xC0, 0xC0, 0xC0), CC_FULLOPEN);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetColor(), RGB(0xC0, 0xC0, 0xC0));
    ASSERT_EQ(dialogs->Shown().size(), 2U);
    EXPECT_EQ(dialogs->Shown()[0].kind, ShownDialog::Kind::Color);
    EXPECT_EQ(dialogs->Shown()[0].color.initial, RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(dialogs->Shown()[0].flags, CC_FULLOPEN);
}

TEST(ScriptedDialogs, AnswersGoToTheNextDialogOfAnyKindInOrder) {
    ScopedScriptedDialogs dialogs;
    dialogs->PushButton(IDNO);
    dialogs->PushColor(0x00FF0000);
    dialogs->PushFile("/tmp/x.qor");
    dialogs->PushButton(IDYES);
    dialogs->PushCancel();
    EXPECT_EQ(AfxMessageBox(nullptr, "Text", "Caption", MB_YESNO), IDNO);
    CColorDialog color(0x000000FF);
    EXPECT_EQ(color.DoModal(), IDOK);
    EXPECT_EQ(color.GetColor(), 0x00FF0000U);
    // Wrong kinds are used up and cancel.
    EXPECT_EQ(color.DoModal(), IDCANCEL);
    CFileDialog file(true);
    EXPECT_EQ(file.DoModal(), IDCANCEL);
    EXPECT_EQ(AfxMessageBox(nullptr, "Cancelled", "C", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(dialogs->PendingAnswers(), 0U);

    ASSERT_EQ(dialogs->Shown().size(), 5U);
    EXPECT_EQ(dialogs->Shown()[0].caption, "Caption");
    EXPECT_EQ(dialogs->Shown()[0].text, "Text");
    EXPECT_EQ(dialogs->Shown()[0].flags, MB_YESNO);
}

TEST(ScriptedDialogs, EmptyQueueOksMessageBoxesAndCancelsTheRest) {
    ScopedScriptedDialogs dialogs;
    EXPECT_EQ(AfxMessageBox(nullptr, "Sure?", "C", MB_YESNO), IDOK);
    CFileDialog file(false);
    EXPECT_EQ(file.DoModal(), IDCANCEL);
    CColorDialog color(RGB(9, 9, 9));
    EXPECT_EQ(color.DoModal(), IDCANCEL);
    dialogs->PushButton(IDOK);
    DialogService().About(nullptr, {"About qorform", {"qorform", "Version 1.0"}});
    EXPECT_EQ(dialogs->PendingAnswers(), 0U);
    ASSERT_EQ(dialogs->Shown().size(), 4U);
    EXPECT_EQ(dialogs->Shown()[3].kind, ShownDialog::Kind::About);
    EXPECT_EQ(dialogs->Shown()[3].text, "qorform\nVersion 1.0");
}

TEST_F(ExistingFile, SavingOverItAsksFirst) {
    ScopedScriptedDialogs dialogs;

    dialogs->PushFile(m_path);
    dialogs->PushButton(IDNO);
    CFileDialog refused(false, "*.qor", {}, OFN_OVERWRITEPROMPT);
    EXPECT_EQ(refused.DoModal(), IDCANCEL);
    ASSERT_EQ(dialogs->Shown().size(), 2U);
    const ShownDialog& prompt = dialogs->Shown()[1];
    EXPECT_EQ(prompt.kind, ShownDialog::Kind::MessageBox);
    EXPECT_EQ(prompt.caption, "Save As");
    EXPECT_EQ(prompt.text, "exists.qor already exists.\nDo you want to replace it?");

    dialogs->PushFile(m_path);
    dialogs->PushButton(IDYES);
    CFileDialog replaced(false, "*.qor", {}, OFN_OVERWRITEPROMPT);
    EXPECT_EQ(replaced.DoModal(), IDOK);
    EXPECT_EQ(replaced.GetPathName(), m_path);

    // With the queue empty the prompt agrees.
    dialogs->PushFile(m_path);
    EXPECT_EQ(replaced.DoModal(), IDOK);
    EXPECT_EQ(dialogs->Shown().size(), 6U);
}

TEST_F(ExistingFile, OnlySavingWithThePromptFlagAsks) {
    ScopedScriptedDialogs dialogs;
    const std::string missing = m_path + ".missing";
    dialogs->PushFile(m_path);
    dialogs->PushFile(m_path);
    dialogs->PushFile(missing);
    dialogs->PushButton(IDNO);
    CFileDialog unprompted(false, "*.qor", {}, OFN_HIDEREADONLY);
    EXPECT_EQ(unprompted.DoModal(), IDOK);
    CFileDialog open(true, "*.qor", {}, OFN_OVERWRITEPROMPT);
    EXPECT_EQ(open.DoModal(), IDOK);
    CFileDialog newFile(false, "*.qor", {}, OFN_OVERWRITEPROMPT);
    EXPECT_EQ(newFile.DoModal(), IDOK);
    EXPECT_EQ(newFile.GetPathName(), missing);
    EXPECT_EQ(dialogs->Shown().size(), 3U);
    EXPECT_EQ(dialogs->PendingAnswers(), 1U);
}

TEST(ScriptedDialogs, ScopesNestAndRestoreThePreviousService) {
    IDialogService* outer = &DialogService();
    {
        ScopedScriptedDialogs first;
        EXPECT_EQ(&DialogService(), &*first);
        {
            ScopedScriptedDialogs second;
            EXPECT_EQ(&DialogService(), &*second);
            AfxMessageBox(nullptr, "inner", "C");
        }
        EXPECT_EQ(&DialogService(), &*first);
        EXPECT_TRUE(first->Shown().empty());
    }
    EXPECT_EQ(&DialogService(), outer);
}

TEST(DialogService, DefaultsToTheScriptedServiceWhenHeadless) {
    auto previous = SetDialogService(nullptr);
    EXPECT_NE(dynamic_cast<CScriptedDialogService*>(&DialogService()), nullptr);
    SetDialogService(std::move(previous));
}
