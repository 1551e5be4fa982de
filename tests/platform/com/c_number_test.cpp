// The run-time library's number conversions under the "C" locale: what printf's fixed notation
// writes and what atof reads.
#include "platform/com/c_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct ReadCase {
    const char* name;
    std::string text;
    double value;
};

class AtoFTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(AtoFTest, ReadsTheLongestNumberAtTheStart) {
    EXPECT_EQ(AtoF(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AtoFTest,
    ::testing::Values(ReadCase{"Plain", "12.50", 12.5}, ReadCase{"LeadingPoint", ".5", 0.5},
                      ReadCase{"TrailingPoint", "7.", 7}, ReadCase{"Negative", "-2.25", -2.25},
                      ReadCase{"Exponent", "1.5e2", 150},
                      ReadCase{"LeadingBlanksAndPlus", " \t+3.5", 3.5},
                      ReadCase{"Hexadecimal", "0x1A", 26}, ReadCase{"CommaEndsTheNumber", "2,5", 2},
                      ReadCase{"TrailingText", "4 pcs", 4}, ReadCase{"Empty", "", 0},
                      ReadCase{"NoNumber", "abc", 0}, ReadCase{"PointAlone", ".", 0},
                      ReadCase{"ZeroInsideTheView",
                               std::string("3\0"
                                           "9",
                                           3),
                               3},
                      ReadCase{"Overflow", "1e400", HUGE_VAL}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

struct FormatCase {
    const char* name;
    double value;
    const char* text;
};

class FormatFixedTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatFixedTest, WritesTwoDecimalsWithAPoint) {
    EXPECT_EQ(FormatFixed(GetParam().value, 2), GetParam().text);
}

// 0.005 is a little above the half cent and 1.005 a little below it, as binary doubles.
INSTANTIATE_TEST_SUITE_P(Values, FormatFixedTest,
                         ::testing::Values(FormatCase{"Whole", 11, "11.00"},
                                           FormatCase{"RoundedUp", 0.005, "0.01"},
                                           FormatCase{"RoundedDown", 1.005, "1.00"},
                                           FormatCase{"Negative", -2.5, "-2.50"},
                                           FormatCase{"NegativeZero", -0.0, "-0.00"},
                                           FormatCase{"Large", 1e21, "1000000000000000000000.00"}),
                         [](const ::testing::TestParamInfo<FormatCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
