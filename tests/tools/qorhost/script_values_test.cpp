// Script dates converted to automation dates: the edges of the date range, and dates beyond it
// that must fail rather than arrive as other dates.
#include <gtest/gtest.h>

#include <QJSEngine>
#include <cstdio>
#include <ostream>
#include <string>

#include "platform/com/ole_date.h"
#include "tools/qorhost/script_values_qt.h"

namespace {

// A script expression giving a Date, and the calendar time it must arrive as ("YYYY-MM-DD
// hh:mm:ss"); empty when it must be refused.
struct DateCase {
    const char* name;
    const char* script;
    const char* arrives;
    friend void PrintTo(const DateCase& sample, std::ostream* out) { *out << sample.script; }
};

std::string TextOf(const SYSTEMTIME& time) {
    char text[64];  // NOLINT(*-avoid-c-arrays): a fixed formatting buffer
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond);
    return text;
}

class ScriptDateTest : public ::testing::TestWithParam<DateCase> {};

}  // namespace

TEST_P(ScriptDateTest, ArrivesAsTheSameDateOrFails) {
    const DateCase& sample = GetParam();
    QJSEngine engine;
    CScriptValues values(engine);
    const QJSValue date = engine.evaluate(QString::fromUtf8(sample.script));
    ASSERT_TRUE(date.isDate()) << date.toString().toStdString();
    CComVariant converted;
    std::string error;
    const bool ok = values.FromScript(date, converted, error);
    if (*sample.arrives == '\0') {
        EXPECT_FALSE(ok);
        EXPECT_EQ(error, "the date is outside the range of automation dates");
        return;
    }
    ASSERT_TRUE(ok) << error;
    ASSERT_EQ(converted.vt, VT_DATE);
    SYSTEMTIME time;
    ASSERT_NE(VariantTimeToSystemTime(converted.date, &time), 0);
    EXPECT_EQ(TextOf(time), sample.arrives);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, ScriptDateTest,
    ::testing::Values(
        DateCase{"TheFirstDay", "new Date(100, 0, 1)", "0100-01-01 00:00:00"},
        DateCase{"TheLastSecond", "new Date(9999, 11, 31, 23, 59, 59)", "9999-12-31 23:59:59"},
        DateCase{"TheYearBefore", "const d = new Date(100, 0, 1); d.setFullYear(99); d", ""},
        DateCase{"TheYearAfter", "new Date(10000, 0, 1)", ""},
        DateCase{"AYearBeyondSixteenBits", "new Date(67560, 0, 1)", ""},
        DateCase{"AYearWrappingToTheFirst", "new Date(65636, 0, 1)", ""},
        DateCase{"ANegativeYearWrappingIntoRange", "new Date(-63512, 0, 1)", ""},
        DateCase{"AnInvalidDate", "new Date(NaN)", ""}),
    [](const auto& info) { return std::string(info.param.name); });
