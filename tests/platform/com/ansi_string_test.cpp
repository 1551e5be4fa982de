// ANSI code page decoding, cutting to fields and case-insensitive names.
#include <gtest/gtest.h>

#include <random>

#include "platform/com/ansi_string.h"

TEST(AnsiToUtf8, KeepsValidUtf8) {
    EXPECT_EQ(AnsiToUtf8(""), "");
    EXPECT_EQ(AnsiToUtf8("plain"), "plain");
    EXPECT_EQ(AnsiToUtf8("M\xC3\xBCller \xE2\x82\xAC"), "M\xC3\xBCller \xE2\x82\xAC");
    EXPECT_EQ(AnsiToUtf8("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");          // U+1F600
    EXPECT_EQ(AnsiToUtf8("\xF4\x8F\xBF\xBF"), "\xF4\x8F\xBF\xBF");          // U+10FFFF
    EXPECT_EQ(AnsiToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));  // NUL is a character
}

TEST(AnsiToUtf8, ReadsOtherBytesAsWindows1252) {
    EXPECT_EQ(AnsiToUtf8("M\xFCller"), "M\xC3\xBCller");
    EXPECT_EQ(AnsiToUtf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
    EXPECT_EQ(AnsiToUtf8("\x80 \x93x\x94"), "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
    EXPECT_EQ(AnsiToUtf8("\x8A\x99\x9F"), "\xC5\xA0\xE2\x84\xA2\xC5\xB8");  // Š ™ Ÿ
    // The five bytes Windows-1252 leaves undefined stay C1 controls.
    EXPECT_EQ(AnsiToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(AnsiToUtf8, MixesValidSequencesWithStrayBytes) {
    EXPECT_EQ(AnsiToUtf8("\xC3\xA4\xE4\xC3\xA4"), "\xC3\xA4\xC3\xA4\xC3\xA4");
    // A lead byte followed by something other than a continuation byte stands alone.
    EXPECT_EQ(AnsiToUtf8("\xC3(\x80)"), "\xC3\x83(\xE2\x82\xAC)");
    // A sequence cut short at the end of the field.
    EXPECT_EQ(AnsiToUtf8("a\xE2\x82"), "a\xC3\xA2\xE2\x80\x9A");
}

TEST(AnsiToUtf8, RejectsOverlongsSurrogatesAndCodePointsBeyondUnicode) {
    EXPECT_EQ(AnsiToUtf8("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(AnsiToUtf8("\xE0\x80\xAF"), "\xC3\xA0\xE2\x82\xAC\xC2\xAF");
    EXPECT_EQ(AnsiToUtf8("\xF0\x80\x80\xAF"), "\xC3\xB0\xE2\x82\xAC\xE2\x82\xAC\xC2\xAF");
    EXPECT_EQ(AnsiToUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
    EXPECT_EQ(AnsiToUtf8("\xF4\x90\x80\x80"), "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC");
}

// Whatever bytes come in, what comes out is valid UTF-8, so reading it again changes nothing.
TEST(AnsiToUtf8, AlwaysYieldsValidUtf8) {
    for (int b = 0; b < 256; ++b) {
        const std::string once = AnsiToUtf8(std::string(1, static_cast<char>(b)));
        EXPECT_EQ(AnsiToUtf8(once), once) << "byte " << b;
    }
    std::mt19937 random(1252);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(16, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(byte(random));
        }
        const std::string once = AnsiToUtf8(bytes);
        EXPECT_EQ(AnsiToUtf8(once), once);
    }
}

TEST(CutToCharBoundary, NeverSplitsACharacter) {
    const std::string text = "ab\xC3\xA4\xE2\x82\xAC";  // a b ä €
    EXPECT_EQ(CutToCharBoundary(text, 10), text);
    EXPECT_EQ(CutToCharBoundary(text, 7), text);
    EXPECT_EQ(CutToCharBoundary(text, 6), "ab\xC3\xA4");
    EXPECT_EQ(CutToCharBoundary(text, 5), "ab\xC3\xA4");
    EXPECT_EQ(CutToCharBoundary(text, 4), "ab\xC3\xA4");
    EXPECT_EQ(CutToCharBoundary(text, 3), "ab");
    EXPECT_EQ(CutToCharBoundary(text, 0), "");
    EXPECT_EQ(CutToCharBoundary("\xC3\xA4", 1), "");
    EXPECT_EQ(CutToCharBoundary("x\xF0\x9F\x98\x80", 4), "x");
    EXPECT_EQ(CutToCharBoundary("", 3), "");
}

TEST(EqualsNoCase, FoldsUnicodeCase) {
    EXPECT_TRUE(EqualsNoCase("Name", "NAME"));
    EXPECT_TRUE(EqualsNoCase("CustNo", "custno"));
    EXPECT_TRUE(EqualsNoCase("\xC3\x84RGER", "\xC3\xA4rger"));
    EXPECT_TRUE(EqualsNoCase("", ""));
    EXPECT_FALSE(EqualsNoCase("Name", "Names"));
    EXPECT_FALSE(EqualsNoCase("\xC3\x84rger", "Arger"));
    EXPECT_TRUE(EqualsNoCase("\xE2\x84\xAA", "k")) << "the Kelvin sign folds to an ASCII letter";
    EXPECT_FALSE(EqualsNoCase("a@[", "A`{")) << "only letters have a case";
}
