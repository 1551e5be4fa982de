// A program's own settings: the recent-file list's order and length, kept in a settings folder
// of the test's own.
#include <gtest/gtest.h>

#include <QSettings>
#include <string>
#include <vector>

#include "platform/ui/program_settings.h"
#include "tests/temp_folder.h"

namespace {

struct RecentCase {
    const char* name;
    std::vector<std::string> added;  // in this order
    const char* removed;             // then this one, when not empty
    std::vector<std::string> listed;
};

class RecentFilesTest : public ::testing::TestWithParam<RecentCase> {};

}  // namespace

TEST_P(RecentFilesTest, KeepsTheNewestFirst) {
    const TempFolder folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(folder.Path().string()));
    const RecentCase& sample = GetParam();
    CProgramSettings settings("qor-settings-test");
    for (const std::string& path : sample.added) {
        settings.AddRecentFile(path);
    }
    if (*sample.removed != '\0') {
        settings.RemoveRecentFile(sample.removed);
    }
    EXPECT_EQ(settings.RecentFiles(), sample.listed);
    // Another program's list is its own.
    EXPECT_TRUE(CProgramSettings("qor-other-test").RecentFiles().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lists, RecentFilesTest,
    ::testing::Values(
        RecentCase{"NewestFirst", {"/a.qor", "/b.qor"}, "", {"/b.qor", "/a.qor"}},
        RecentCase{
            "OpenedAgainMovesToTheFront", {"/a.qor", "/b.qor", "/a.qor"}, "", {"/a.qor", "/b.qor"}},
        RecentCase{
            "KeepsTheLastFour", {"/a", "/b", "/c", "/d", "/e"}, "", {"/e", "/d", "/c", "/b"}},
        RecentCase{"RemovedLeavesTheOthersInOrder", {"/a", "/b", "/c"}, "/b", {"/c", "/a"}},
        RecentCase{"RemovingAnUnknownFileChangesNothing", {"/a"}, "/z", {"/a"}},
        RecentCase{"NoneYet", {}, "", {}}),
    [](const auto& info) { return std::string(info.param.name); });
