// The marks of the query list against a plain array that closes up as the list's marks must,
// bookmark equality by type and value, and the list's padded texts and captions.
#include <gmock/gmock.h>

#include <algorithm>
#include <random>

#include "controls/common/bookmark_compare.h"
#include "controls/query/query_marks.h"
#include "controls/query/query_text.h"

namespace {

struct CompareCase {
    const char* name;
    CComVariant a;
    CComVariant b;
    HRESULT result;
    bool equal;
};

DECIMAL Decimal(ULONGLONG mantissa, BYTE scale, bool negative = false) {
    DECIMAL value{};
    value.Lo64 = mantissa;
    value.scale = scale;
    value.sign = negative ? DECIMAL_NEG : 0;
    return value;
}

CComVariant OfType(VARTYPE type, LONGLONG bits) {
    CComVariant value;
    value.vt = type;
    value.llVal = bits;
    return value;
}

const CompareCase kCompareCases[] = {
    {"RealsByValue", CComVariant(3.0), CComVariant(3.0), S_OK, true},
    {"DifferentReals", CComVariant(3.0), CComVariant(4.0), S_OK, false},
    {"TheTwoZeros", CComVariant(0.0), CComVariant(-0.0), S_OK, true},
    {"DifferentTypesAreUnequal", CComVariant(3.0), CComVariant(3), S_OK, false},
    {"StringsByBytes", CComVariant("abc"), CComVariant("abc"), S_OK, true},
    {"StringsOfOtherCase", CComVariant("abc"), CComVariant("ABC"), S_OK, false},
    {"StringAndItsPrefix", CComVariant("abc"), CComVariant("ab"), S_OK, false},
    {"TwoEmpties", CComVariant(), CComVariant(), S_OK, true},
    {"TwoNulls", CComVariant::Null(), CComVariant::Null(), S_OK, true},
    {"DecimalsByValue", CComVariant(Decimal(150, 2)), CComVariant(Decimal(15, 1)), S_OK, true},
    {"DecimalZeros", CComVariant(Decimal(0, 3, true)), CComVariant(Decimal(0, 0)), S_OK, true},
    {"DecimalsOfOtherSign", CComVariant(Decimal(15, 1)), CComVariant(Decimal(15, 1, true)), S_OK,
     false},
    {"Currencies", CComVariant(CY{12345}), CComVariant(CY{12345}), S_OK, true},
    {"Bytes", CComVariant(BYTE{7}), CComVariant(BYTE{8}), S_OK, false},
    {"EightByteIntegersCannotBeCompared", OfType(VT_I8, 5), OfType(VT_I8, 5), E_INVALIDARG, false},
    {"UnsignedIntegersCannotBeCompared", OfType(VT_UI4, 5), OfType(VT_UI4, 6), E_INVALIDARG, false},
};

class BookmarkCompareTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(BookmarkCompareTest, EqualByTypeAndValueWithAHashThatAgrees) {
    const CompareCase& c = GetParam();
    bool equal = !c.equal;
    EXPECT_EQ(CompareBookmarks(c.a, c.b, equal), c.result);
    EXPECT_EQ(equal, c.equal);
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    EXPECT_EQ(HashBookmark(c.a, a), c.result);
    if (c.equal) {
        ASSERT_EQ(HashBookmark(c.b, b), S_OK);
        EXPECT_EQ(a, b);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BookmarkCompareTest, ::testing::ValuesIn(kCompareCases),
                         [](const ::testing::TestParamInfo<CompareCase>& info) {
                             return std::string(info.param.name);
                         });

// The marks as a plain array: the first equal entry wins, removal closes up.
std::vector<double> Contents(const CRowMarks& marks) {
    std::vector<double> contents;
    for (std::size_t i = 0; i < marks.Count(); ++i) {
        contents.push_back(marks.BookmarkAt(i).dblVal);
    }
    return contents;
}

TEST(RowMarksTest, MarkingAndUnmarkingAtRandomKeepsTheArraysOrder) {
    std::mt19937 random(14);
    CRowMarks marks;
    std::vector<double> model;
    for (int step = 0; step < 20000; ++step) {
        const double bookmark = static_cast<double>(random() % 3000);
        std::ptrdiff_t position = -2;
        bool selected = false;
        ASSERT_EQ(marks.Find(CComVariant(bookmark), position, selected), S_OK);
        const auto found = std::find(model.begin(), model.end(), bookmark);
        ASSERT_EQ(position, found == model.end() ? -1 : found - model.begin()) << step;
        ASSERT_EQ(selected, found != model.end());
        if (found == model.end()) {
            ASSERT_EQ(marks.Append(CComVariant(bookmark)), S_OK);
            model.push_back(bookmark);
        } else {
            marks.RemoveAt(static_cast<std::size_t>(position));
            model.erase(found);
        }
    }
    EXPECT_EQ(Contents(marks), model);
    marks.Clear();
    EXPECT_TRUE(marks.Empty());
}

TEST(RowMarksTest, RemovingMostMarksSweepsThemOutAndKeepsTheRest) {
    CRowMarks marks;
    marks.Reserve(5000);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(marks.Append(CComVariant(static_cast<double>(i))), S_OK);
    }
    for (int i = 0; i < 4990; ++i) {
        marks.RemoveAt(0);
    }
    EXPECT_THAT(Contents(marks),
                ::testing::ElementsAre(4990, 4991, 4992, 4993, 4994, 4995, 4996, 4997, 4998, 4999));
    std::ptrdiff_t position = -1;
    bool selected = false;
    ASSERT_EQ(marks.Find(CComVariant(4995.0), position, selected), S_OK);
    EXPECT_EQ(position, 5);
    marks.SetSelected(5, false);
    ASSERT_EQ(marks.Find(CComVariant(4995.0), position, selected), S_OK);
    EXPECT_FALSE(selected);
}

TEST(RowMarksTest, ABookmarkThatCannotBeComparedFailsAndChangesNothing) {
    CRowMarks marks;
    ASSERT_EQ(marks.Append(CComVariant(1.0)), S_OK);
    EXPECT_EQ(marks.Append(OfType(VT_I8, 1)), E_INVALIDARG);
    std::ptrdiff_t position = 0;
    bool selected = true;
    EXPECT_EQ(marks.Find(OfType(VT_I8, 1), position, selected), E_INVALIDARG);
    EXPECT_EQ(position, -1);
    EXPECT_EQ(marks.Count(), 1U);
}

// The marks with the bookmarks given at once, as SelectAll gives them.
HRESULT AppendAll(CRowMarks& marks, const std::vector<CComVariant>& bookmarks) {
    std::size_t next = 0;
    return marks.AppendAll([&](CComVariant& bookmark) {
        if (next == bookmarks.size()) {
            return false;
        }
        bookmark = bookmarks[next++];
        return true;
    });
}

std::vector<CComVariant> Numbers(const std::vector<double>& values) {
    return {values.begin(), values.end()};
}

TEST(RowMarksTest, MarkingManyAtOnceAppendsEachNewBookmarkOnceInOrder) {
    CRowMarks marks;
    for (const double bookmark : {3.0, 4.0, 1.0}) {
        ASSERT_EQ(marks.Append(CComVariant(bookmark)), S_OK);
    }
    marks.RemoveAt(1);
    ASSERT_EQ(AppendAll(marks, Numbers({5, 3, 7, 5, 4, 9})), S_OK);
    EXPECT_THAT(Contents(marks), ::testing::ElementsAre(3, 1, 5, 7, 4, 9));
    std::ptrdiff_t position = -1;
    bool selected = false;
    ASSERT_EQ(marks.Find(CComVariant(4.0), position, selected), S_OK);
    EXPECT_EQ(position, 4);
    marks.RemoveAt(2);
    ASSERT_EQ(marks.Append(CComVariant(5.0)), S_OK);
    ASSERT_EQ(marks.Append(CComVariant(9.0)), S_OK);
    EXPECT_THAT(Contents(marks), ::testing::ElementsAre(3, 1, 7, 4, 9, 5));
    // A whole result onto marks that hold part of it: the index grows on the way.
    std::vector<double> model = Contents(marks);
    std::vector<double> result;
    for (int i = 0; i < 5000; ++i) {
        result.push_back(static_cast<double>((i * 7919) % 5000));
        if (std::find(model.begin(), model.end(), result.back()) == model.end()) {
            model.push_back(result.back());
        }
    }
    ASSERT_EQ(AppendAll(marks, Numbers(result)), S_OK);
    EXPECT_EQ(Contents(marks), model);
    for (std::size_t i = 0; i < model.size(); i += 97) {
        ASSERT_EQ(marks.Find(CComVariant(model[i]), position, selected), S_OK);
        EXPECT_EQ(position, static_cast<std::ptrdiff_t>(i));
    }
    ASSERT_EQ(AppendAll(marks, {}), S_OK);
    EXPECT_EQ(marks.Count(), model.size());
}

TEST(RowMarksTest, MarkingManyWithOneThatCannotBeComparedChangesNothing) {
    CRowMarks marks;
    ASSERT_EQ(marks.Append(CComVariant(1.0)), S_OK);
    std::vector<CComVariant> bookmarks = Numbers({2, 3});
    bookmarks.push_back(OfType(VT_I8, 4));
    EXPECT_EQ(AppendAll(marks, bookmarks), E_INVALIDARG);
    EXPECT_THAT(Contents(marks), ::testing::ElementsAre(1));
    std::ptrdiff_t position = 0;
    bool selected = true;
    ASSERT_EQ(marks.Find(CComVariant(2.0), position, selected), S_OK);
    EXPECT_EQ(position, -1);
    ASSERT_EQ(marks.Append(CComVariant(2.0)), S_OK);
    EXPECT_THAT(Contents(marks), ::testing::ElementsAre(1, 2));
}

struct TextCase {
    const char* name;
    std::string (*make)();
    std::string expected;
};

const TextCase kTextCases[] = {
    {"CaptionOfAnUnderscoredName", [] { return QueryCaption("order_no"); }, "Order no"},
    {"CaptionOfAPaddedHeader", [] { return QueryCaption(" ship_to_city   "); }, "Ship to city"},
    {"CaptionOfAnEmptyName", [] { return QueryCaption("   "); }, ""},
    {"HeaderPaddedToTheSizeAndOne", [] { return QueryHeaderText("id", 4); }, "id   "},
    {"HeaderLongerThanItsSizeStaysWhole", [] { return QueryHeaderText("order_no", 4); },
     "order_no"},
    {"ValueTrimmedAndPadded", [] { return QueryValueText("  ab ", 4); }, "ab  "},
    {"ValuePaddedByCharactersNotBytes", [] { return QueryValueText("Zoë", 4); }, "Zoë "},
    {"LongValueStaysWhole", [] { return QueryValueText("abcdef", 3); }, "abcdef"},
    {"ALongFieldIsLaidOutAtTheLongestColumn",
     [] { return std::to_string(QueryValueText("", 2147483647).size()); }, "255"},
    {"ANegativeSizePadsNothing", [] { return QueryValueText("a", -5); }, "a"},
    {"DroppingTheLastCharacterKeepsUtf8Whole",
     [] {
         std::string text = "Zoë";
         DropLastChar(text);
         return text;
     },
     "Zo"},
};

class QueryTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(QueryTextTest, Text) {
    EXPECT_EQ(GetParam().make(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, QueryTextTest, ::testing::ValuesIn(kTextCases),
                         [](const ::testing::TestParamInfo<TextCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
