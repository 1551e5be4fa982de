// Key and modifier names of scripts, and qorhost's command line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/messages.h"
#include "tools/qorhost/host_options.h"
#include "tools/qorhost/key_names.h"

TEST(KeyNamesTest, NamedKeysTypeWhatTheKeyboardTypes) {
    EXPECT_EQ(ParseKeyStroke("Tab"), (KeyStroke{VK_TAB, 0, "\t"}));
    EXPECT_EQ(ParseKeyStroke("shift+TAB"), (KeyStroke{VK_TAB, FSHIFT, "\t"}));
    EXPECT_EQ(ParseKeyStroke("Enter"), (KeyStroke{VK_RETURN, 0, "\r"}));
    EXPECT_EQ(ParseKeyStroke("PageDown"), (KeyStroke{VK_NEXT, 0, ""}));
    EXPECT_EQ(ParseKeyStroke("Home"), (KeyStroke{VK_HOME, 0, ""}));
    EXPECT_EQ(ParseKeyStroke("Delete"), (KeyStroke{VK_DELETE, 0, ""}));
    EXPECT_EQ(ParseKeyStroke("Backspace"), (KeyStroke{VK_BACK, 0, "\b"}));
    EXPECT_EQ(ParseKeyStroke("F12"), (KeyStroke{VK_F12, 0, ""}));
    EXPECT_EQ(ParseKeyStroke("Ctrl+Enter"), (KeyStroke{VK_RETURN, FCONTROL, ""}));
}

TEST(KeyNamesTest, LettersFollowShiftAndControl) {
    EXPECT_EQ(ParseKeyStroke("a"), (KeyStroke{'A', 0, "a"}));
    EXPECT_EQ(ParseKeyStroke("Shift+a"), (KeyStroke{'A', FSHIFT, "A"}));
    EXPECT_EQ(ParseKeyStroke("Ctrl+C"), (KeyStroke{'C', FCONTROL, "\x03"}));
    EXPECT_EQ(ParseKeyStroke("Alt+Shift+F"), (KeyStroke{'F', FALT | FSHIFT, ""}));
    EXPECT_EQ(ParseKeyStroke("7"), (KeyStroke{'7', 0, "7"}));
}

TEST(KeyNamesTest, UnknownNamesAndModifiersAreRefused) {
    EXPECT_FALSE(ParseKeyStroke(""));
    EXPECT_FALSE(ParseKeyStroke("F25"));
    EXPECT_FALSE(ParseKeyStroke("Hyper+Tab"));
    EXPECT_FALSE(ParseKeyStroke("Shift+"));
    EXPECT_FALSE(ParseKeyStroke("ab"));
    EXPECT_EQ(ParseModifiers(""), 0U);
    EXPECT_EQ(ParseModifiers("Control+shift"), FCONTROL | FSHIFT);
    EXPECT_FALSE(ParseModifiers("Shift+Meta"));
}

TEST(HostOptionsTest, ScriptHeadlessAndTheScriptsOwnArguments) {
    const HostOptions options =
        ParseHostOptions({"--script", "run.js", "--headless", "db.sqlite", "--", "--headless"});
    EXPECT_TRUE(options.error.empty());
    EXPECT_EQ(options.scriptPath, "run.js");
    EXPECT_TRUE(options.headless);
    EXPECT_EQ(options.scriptArgs, (std::vector<std::string>{"db.sqlite", "--headless"}));

    EXPECT_TRUE(ParseHostOptions({}).error.empty());
    EXPECT_TRUE(ParseHostOptions({"--headless"}).scriptPath.empty());
}

TEST(HostOptionsTest, WrongCommandLinesAreReported) {
    EXPECT_FALSE(ParseHostOptions({"--script"}).error.empty());
    EXPECT_FALSE(ParseHostOptions({"--script", "a.js", "--script", "b.js"}).error.empty());
    EXPECT_FALSE(ParseHostOptions({"--verbose"}).error.empty());
    EXPECT_FALSE(ParseHostOptions({"stray"}).error.empty());
    EXPECT_FALSE(ParseHostOptions({"--script", "a.js", "--bogus"}).error.empty());
}
