// Typing into columns: free text, mask and numeric rules, Backspace, and the two style codings.
#include "controls/common/field_typing.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
