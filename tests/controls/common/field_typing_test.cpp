// Typing into columns: free text, mask and numeric rules, Backspace, and the two style codings.
#include "controls/common/field_typing.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

DesignItem Column(std::string text = {}) {
    DesignItem item;
    item.kind = kColumn;
    item.text = std::move(text);
    return item;
}

std::string TypeAll(DesignItem& column, TypingRule rule, std::string_view keys) {
    for (const char c : keys) {
        TypeIntoField(column, rule, static_cast<unsigned char>(c));
    }
    return column.text;
}

TEST(FieldTyping, TextStopsAtMaxLengthAndTakesOnlyLettersDigitsAndBlanks) {
    DesignItem column = Column();
    column.maxLength = 3;
    EXPECT_TRUE(TypeIntoField(column, TypingRule::Text, 'a'));
    EXPECT_FALSE(TypeIntoField(column, TypingRule::Text, '-'));
    EXPECT_FALSE(TypeIntoField(column, TypingRule::Text, '.'));
    EXPECT_EQ(TypeAll(column, TypingRule::Text, "b1c"), "ab1");
    EXPECT_FALSE(TypeIntoField(column, TypingRule::Text, 0xE9));  // é
}

TEST(FieldTyping, BackspaceRemovesWholeCharactersAndNothingFromEmpty) {
    DesignItem column = Column("M\xC3\xBC");  // "Mü"
    EXPECT_TRUE(TypeIntoField(column, TypingRule::Text, kBackspace));
    EXPECT_EQ(column.text, "M");
    EXPECT_TRUE(TypeIntoField(column, TypingRule::Numeric, kBackspace));
    EXPECT_FALSE(TypeIntoField(column, TypingRule::Mask, kBackspace));
    EXPECT_FALSE(TypeIntoField(column, TypingRule::None, 'a'));
}

TEST(FieldTyping, MaskPlacesLiteralsAndKeepsThemWhenTheCharacterIsRefused) {
    DesignItem column = Column();
    column.mask = "##/##/####";
    EXPECT_FALSE(TypeIntoField(column, TypingRule::Mask, 'x'));
    EXPECT_EQ(TypeAll(column, TypingRule::Mask, "123"), "12/3");
    column.text = "12";
    EXPECT_FALSE(TypeIntoField(column, TypingRule::Mask, 'x'));
    EXPECT_EQ(column.text, "12/");

    DesignItem code = Column("ab");
    code.mask = "**-**";
    EXPECT_TRUE(TypeIntoField(code, TypingRule::Mask, 'c'));
    EXPECT_EQ(code.text, "ab-c");
    EXPECT_EQ(TypeAll(code, TypingRule::Mask, "dz"), "ab-cd");
}

TEST(FieldTyping, NumericInsertsThePointAndLimitsBothParts) {
    DesignItem column = Column();
    column.wholeDigits = 3;
    column.decimalDigits = 2;
    EXPECT_EQ(TypeAll(column, TypingRule::Numeric, "123456"), "123.45");
    EXPECT_FALSE(TypeIntoField(column, TypingRule::Numeric, '7'));

    column.text = "1";
    EXPECT_EQ(TypeAll(column, TypingRule::Numeric, "..-,"), "1.");
    column.text.clear();
    EXPECT_EQ(TypeAll(column, TypingRule::Numeric, ".123"), ".12");

    DesignItem whole = Column();
    whole.wholeDigits = 3;
    EXPECT_EQ(TypeAll(whole, TypingRule::Numeric, "1234"), "123.");
    EXPECT_FALSE(TypeIntoField(whole, TypingRule::Numeric, '5'));
}

TEST(FieldTyping, DesignerAndControlCodesNameTheSameRules) {
    EXPECT_EQ(DesignerTypingRule(4), TypingRule::Numeric);
    EXPECT_EQ(ControlTypingRule(5), TypingRule::Numeric);
    EXPECT_EQ(DesignerTypingRule(5), TypingRule::None);
    EXPECT_EQ(ControlTypingRule(4), TypingRule::None);
    EXPECT_EQ(DesignerTypingRule(2), TypingRule::None);
    EXPECT_EQ(ControlTypingRule(2), TypingRule::None);
    EXPECT_EQ(DesignerTypingRule(6), TypingRule::None);
    EXPECT_EQ(ControlTypingRule(3), TypingRule::Mask);
}

struct TextCase {
    const char* name;
    TypingRule rule;
    std::int32_t maxSize;
    const char* mask;  // for numbers the grid's "whole,decimals" mask
    const char* keys;
    const char* typed;
};

class TypingTable : public ::testing::TestWithParam<TextCase> {};

// The grid's cells type through the same rules with their own parameters.
TEST_P(TypingTable, KeysGiveTheText) {
    const TextCase& row = GetParam();
    const NumericDigits digits = DigitsOfNumericMask(row.mask);
    const TypingParameters how{row.rule, row.maxSize, row.mask, digits.whole, digits.decimals};
    std::string text;
    for (const char* key = row.keys; *key != '\0'; ++key) {
        TypeIntoText(text, how, static_cast<unsigned char>(*key));
    }
    EXPECT_EQ(text, row.typed);
}

const TextCase kTextCases[] = {
    {"TextOfMaxSizeZero", TypingRule::Text, 0, "", "abc", ""},
    {"DateLayoutPlacesTheSlash", TypingRule::Mask, 0, "##/##/####", "123", "12/3"},
    {"LetterAtADigitSlot", TypingRule::Mask, 0, "##", "a", ""},
    {"WholeAndDecimals", TypingRule::Numeric, 0, "5,2", "12345678", "12345.67"},
    {"WholeOnly", TypingRule::Numeric, 0, "5", "1234567", "12345."},
    {"SecondPoint", TypingRule::Numeric, 0, "5,2", "1..2", "1.2"},
    {"PointFirst", TypingRule::Numeric, 0, "5,2", ".123", ".12"},
    {"NotTyped", TypingRule::None, 10, "", "abc", ""},
    // A byte that is not UTF-8 first in a mask is a literal character like any other.
    {"MaskStartingWithAStrayByte", TypingRule::Mask, 0, "\xA5#{", "12",
     "\xA5"
     "1{"},
};

INSTANTIATE_TEST_SUITE_P(Rules, TypingTable, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A damaged design file may hold negative digit counts: they allow no digits on that side.
TEST(FieldTyping, NegativeDigitCountsAllowNoDigits) {
    const struct {
        std::int32_t whole;
        std::int32_t decimals;
        const char* keys;
        const char* typed;
    } rows[] = {
        // NOLINT(*-avoid-c-arrays)
        {-3, 255, "2", ".2"},
        {-1, -1, "12", "."},
        {2, -5, "123", "12."},
        {-2147483647 - 1, 2, "1234", ".12"},
    };
    for (const auto& row : rows) {
        DesignItem column = Column();
        column.wholeDigits = row.whole;
        column.decimalDigits = row.decimals;
        EXPECT_EQ(TypeAll(column, TypingRule::Numeric, row.keys), row.typed)
            << row.whole << "," << row.decimals;
    }
}

TEST(FieldTyping, NumericMasksGiveTheirLeadingDigits) {
    const std::pair<const char*, std::pair<int, int>> cases[] = {
        {"5,2", {5, 2}},
        {"5", {5, 0}},
        {"5,", {5, 0}},
        {"", {0, 0}},
        {"x,3", {0, 3}},
        {"12a,4b", {12, 4}},
        {"99999999999,1", {2147483647, 1}},
    };
    for (const auto& [mask, expected] : cases) {
        const NumericDigits digits = DigitsOfNumericMask(mask);
        EXPECT_EQ(std::make_pair(digits.whole, digits.decimals), expected) << mask;
    }
}

TEST(FieldTyping, ControlDatesTypeThroughTheirMask) {
    EXPECT_EQ(ControlTypingRule(6), TypingRule::Mask);
}

}  // namespace
