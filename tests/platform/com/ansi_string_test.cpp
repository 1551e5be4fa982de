// ANSI code page decoding, cutting to fields and case-insensitive names.
#include <gtest/gtest.h>

#include "platform/com/ansi_string.h"

TEST(AnsiToUtf8, KeepsUtf8AndReadsStrayBytesAsWindows1252) {
    EXPECT_EQ(AnsiToUtf8("plain"), "plain");
    EXPECT_EQ(AnsiToUtf8("M\xC3\xBCller"), "M\xC3\xBCller");
    EXPECT_EQ(AnsiToUtf8("M\xFCller"), "M\xC3\xBCller");
    EXPECT_EQ(AnsiToUtf8("\x80 \x93x\x94"), "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
    EXPECT_EQ(AnsiToUtf8("\x81"), "\xC2\x81");
    // An overlong form and a lone surrogate are not UTF-8.
    EXPECT_EQ(AnsiToUtf8("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(AnsiToUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
    // A sequence cut short at the end of the field.
    EXPECT_EQ(AnsiToUtf8("a\xE2\x82"), "a\xC3\xA2\xE2\x80\x9A");
}

TEST(CutToCharBoundary, NeverSplitsACharacter) {
    const std::string text = "ab\xC3\xA4\xE2\x82\xAC";  // a b ä €
    EXPECT_EQ(CutToCharBoundary(text, 10), text);
    EXPECT_EQ(CutToCharBoundary(text, 7), text);
    EXPECT_EQ(CutToCharBoundary(text, 6), "ab\xC3\xA4");
    EXPECT_EQ(CutToCharBoundary(text, 5), "ab\xC3\xA4");
    EXPECT_EQ(CutToCharBoundary(text, 3), "ab");
    EXPECT_EQ(CutToCharBoundary(text, 0), "");
}

TEST(EqualsNoCase, FoldsUnicodeCase) {
    EXPECT_TRUE(EqualsNoCase("CustNo", "CUSTNO"));
    EXPECT_TRUE(EqualsNoCase("\xC3\x84RGER", "\xC3\xA4rger"));
    EXPECT_FALSE(EqualsNoCase("Name", "Names"));
}
