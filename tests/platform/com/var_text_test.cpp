// Numbers, dates and booleans as text per locale, text back to them, and the user's locale.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "platform/com/bstr.h"
#include "platform/com/var_text.h"

namespace {

constexpr LCID kEnUs = 0x0409;
constexpr LCID kEnGb = 0x0809;
constexpr LCID kDeDe = 0x0407;
constexpr LCID kFrFr = 0x040C;

// Text of a conversion that must succeed.
template <class Value, class Convert>
std::string Text(Convert convert, Value value, LCID lcid, ULONG flags = 0) {
    CComBSTR text;
    EXPECT_EQ(convert(value, lcid, flags, text.ReleaseAndGetAddressOf()), S_OK);
    return text.ToString();
}

std::string R8(double value, LCID lcid = kEnUs) {
    return Text(VarBstrFromR8, value, lcid);
}

std::string Cy(LONGLONG scaled, LCID lcid = kEnUs) {
    return Text(VarBstrFromCy, CY{scaled}, lcid);
}

std::string Date(DATE value, LCID lcid, ULONG flags = 0) {
    return Text(VarBstrFromDate, value, lcid, flags);
}

// Sets locale variables for one test and puts the old values back.
class LocaleEnvironment {
  public:
    using Values = std::map<std::string, std::optional<std::string>>;
    explicit LocaleEnvironment(const Values& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name.c_str());  // NOLINT(concurrency-mt-unsafe)
            saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
            Set(name, value);
        }
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) {
            Set(name, value);
        }
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

  private:
    static void Set(const std::string& name, const std::optional<std::string>& value) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
        } else {
            unsetenv(name.c_str());  // NOLINT(concurrency-mt-unsafe)
        }
    }
    Values saved_;
};

}  // namespace

TEST(VarBstrFrom, WritesIntegersPlainly) {
    EXPECT_EQ(Text(VarBstrFromI2, SHORT{-32768}, kDeDe), "-32768");
    EXPECT_EQ(Text(VarBstrFromI4, LONG{1234567}, kDeDe), "1234567");  // no group separators
    EXPECT_EQ(Text(VarBstrFromUI4, ULONG{4294967295U}, kEnUs), "4294967295");
    EXPECT_EQ(Text(VarBstrFromI1, CHAR{-5}, kEnUs), "-5");
    EXPECT_EQ(Text(VarBstrFromUI1, BYTE{255}, kEnUs), "255");
    EXPECT_EQ(Text(VarBstrFromUI2, USHORT{65535}, kEnUs), "65535");
}

TEST(VarBstrFrom, WritesRealsWithFifteenDigits) {
    EXPECT_EQ(R8(1234.5), "1234.5");
    EXPECT_EQ(R8(1234.5, kDeDe), "1234,5");
    EXPECT_EQ(R8(1234.5, kFrFr), "1234,5");
    EXPECT_EQ(R8(0.1), "0.1");
    EXPECT_EQ(R8(0.1 + 0.2), "0.3");
    EXPECT_EQ(R8(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(R8(1e21), "1E+21");
    EXPECT_EQ(R8(1e15), "1E+15");
    EXPECT_EQ(R8(123456789012345.0), "123456789012345");
    EXPECT_EQ(R8(123456789012345678.0), "1.23456789012346E+17");
    EXPECT_EQ(R8(0.0001), "0.0001");
    EXPECT_EQ(R8(0.00001), "1E-05");
    EXPECT_EQ(R8(-2.5e-7, kDeDe), "-2,5E-07");
    EXPECT_EQ(R8(-0.0), "0");
    EXPECT_EQ(R8(100), "100");
    EXPECT_EQ(Text(VarBstrFromR4, 1.1F, kEnUs), "1.1");
    EXPECT_EQ(Text(VarBstrFromR4, 0.1F, kDeDe), "0,1");
}

TEST(VarBstrFrom, WritesCurrencyExactlyWithoutSymbol) {
    EXPECT_EQ(Cy(123400), "12.34");
    EXPECT_EQ(Cy(123400, kDeDe), "12,34");
    EXPECT_EQ(Cy(123456, kDeDe), "12,3456");
    EXPECT_EQ(Cy(1000000), "100");
    EXPECT_EQ(Cy(-5000), "-0.5");
    EXPECT_EQ(Cy(0), "0");
    EXPECT_EQ(Cy(INT64_MIN), "-922337203685477.5808");
    EXPECT_EQ(Cy(INT64_MAX, kFrFr), "922337203685477,5807");
}

TEST(VarBstrFrom, WritesDecimalsExactly) {
    DECIMAL d{};
    d.scale = 4;
    d.Lo64 = 123400;
    EXPECT_EQ(Text(VarBstrFromDec, &d, kEnUs), "12.34");
    EXPECT_EQ(Text(VarBstrFromDec, &d, kDeDe), "12,34");
    d = DECIMAL{};
    d.Hi32 = 0xFFFFFFFF;
    d.Lo64 = 0xFFFFFFFFFFFFFFFF;
    EXPECT_EQ(Text(VarBstrFromDec, &d, kEnUs), "79228162514264337593543950335");
    d.scale = 28;
    EXPECT_EQ(Text(VarBstrFromDec, &d, kEnUs), "7.9228162514264337593543950335");
    d = DECIMAL{};
    d.scale = 4;
    d.sign = DECIMAL_NEG;
    d.Lo64 = 1;
    EXPECT_EQ(Text(VarBstrFromDec, &d, kEnUs), "-0.0001");
    d.scale = 29;
    CComBSTR text;
    EXPECT_EQ(VarBstrFromDec(&d, kEnUs, 0, text.ReleaseAndGetAddressOf()), E_INVALIDARG);
}

TEST(VarBstrFrom, WritesDatesInEachLocalesShortForm) {
    const DATE evening = 45293.75;  // 2024-01-02 18:00
    EXPECT_EQ(Date(evening, kEnUs, VAR_DATEVALUEONLY), "1/2/2024");
    EXPECT_EQ(Date(evening, kEnGb, VAR_DATEVALUEONLY), "02/01/2024");
    EXPECT_EQ(Date(evening, kDeDe, VAR_DATEVALUEONLY), "02.01.2024");
    EXPECT_EQ(Date(evening, kFrFr, VAR_DATEVALUEONLY), "02/01/2024");
    EXPECT_EQ(Date(evening, kEnUs), "1/2/2024 6:00:00 PM");
    EXPECT_EQ(Date(evening, kDeDe), "02.01.2024 18:00:00");
    EXPECT_EQ(Date(evening, kEnUs, VAR_TIMEVALUEONLY), "6:00:00 PM");
    EXPECT_EQ(Date(45293.0, kEnUs), "1/2/2024");  // midnight: the date alone
    EXPECT_EQ(Date(0.25, kEnUs), "6:00:00 AM");   // day zero: the time alone
    EXPECT_EQ(Date(0.0, kEnUs), "12:00:00 AM");
    EXPECT_EQ(Date(0.0, kEnUs, VAR_DATEVALUEONLY), "12/30/1899");
    EXPECT_EQ(Date(-1.25, kEnUs), "12/29/1899 6:00:00 AM");
    EXPECT_EQ(Date(45293.99999999, kDeDe), "03.01.2024");  // rounds to the next midnight
    EXPECT_EQ(Date(2958465.0, kEnGb), "31/12/9999");
    CComBSTR text;
    EXPECT_EQ(VarBstrFromDate(2958466.0, kEnUs, 0, text.ReleaseAndGetAddressOf()), E_INVALIDARG);
    EXPECT_EQ(VarBstrFromDate(-657435.0, kEnUs, 0, text.ReleaseAndGetAddressOf()), E_INVALIDARG);
}

TEST(VarBstrFrom, WritesBooleans) {
    EXPECT_EQ(Text(VarBstrFromBool, VARIANT_TRUE, kDeDe), "True");
    EXPECT_EQ(Text(VarBstrFromBool, VARIANT_FALSE, kEnUs), "False");
    EXPECT_EQ(Text(VarBstrFromBool, VARIANT_TRUE, kDeDe, VAR_LOCALBOOL), "Wahr");
    EXPECT_EQ(Text(VarBstrFromBool, VARIANT_FALSE, kFrFr, VAR_LOCALBOOL), "Faux");
}

TEST(VarFromStr, ReadsNumbersStrictly) {
    double r = 0;
    EXPECT_EQ(VarR8FromStr("1,234.5", kEnUs, 0, &r), S_OK);
    EXPECT_EQ(r, 1234.5);
    EXPECT_EQ(VarR8FromStr("-1,5E3", kDeDe, 0, &r), S_OK);
    EXPECT_EQ(r, -1500);
    EXPECT_EQ(VarR8FromStr("1\u00A0234,5", kFrFr, 0, &r), S_OK);
    EXPECT_EQ(r, 1234.5);
    EXPECT_EQ(VarR8FromStr(".5", kEnUs, 0, &r), S_OK);
    EXPECT_EQ(r, 0.5);
    for (const char* bad : {"", " ", "1.2.3", "12,34,5", "1e", "--1", "1 2", "$5", "0x10", "1,5"}) {
        EXPECT_EQ(VarR8FromStr(bad, kEnUs, 0, &r), DISP_E_TYPEMISMATCH) << bad;
    }
    EXPECT_EQ(VarR8FromStr("1e400", kEnUs, 0, &r), DISP_E_OVERFLOW);
    EXPECT_EQ(VarR8FromStr("1.79769313486233E+308", kEnUs, 0, &r), DISP_E_OVERFLOW);

    LONG l = 0;
    EXPECT_EQ(VarI4FromStr("12.5", kEnUs, 0, &l), S_OK);
    EXPECT_EQ(l, 12);
    EXPECT_EQ(VarI4FromStr("2147483648", kEnUs, 0, &l), DISP_E_OVERFLOW);
    EXPECT_EQ(VarI4FromStr("-2147483648", kEnUs, 0, &l), S_OK);
    EXPECT_EQ(l, INT32_MIN);
    SHORT s = 0;
    EXPECT_EQ(VarI2FromStr("1e4", kEnUs, 0, &s), S_OK);
    EXPECT_EQ(s, 10000);
    BYTE b = 0;
    EXPECT_EQ(VarUI1FromStr("-1", kEnUs, 0, &b), DISP_E_OVERFLOW);
    CHAR c = 0;
    EXPECT_EQ(VarI1FromStr("-128", kEnUs, 0, &c), S_OK);
    EXPECT_EQ(c, -128);
    ULONGLONG u = 0;
    EXPECT_EQ(VarUI8FromStr("18446744073709551615", kEnUs, 0, &u), S_OK);
    EXPECT_EQ(u, 18446744073709551615ULL);
}

TEST(VarFromStr, ReadsCurrencyAndDecimalsExactly) {
    CY cy{};
    EXPECT_EQ(VarCyFromStr("12.345678", kEnUs, 0, &cy), S_OK);
    EXPECT_EQ(cy.int64, 123457);
    EXPECT_EQ(VarCyFromStr("-922337203685477.5808", kEnUs, 0, &cy), S_OK);
    EXPECT_EQ(cy.int64, INT64_MIN);
    EXPECT_EQ(VarCyFromStr("922337203685477.5808", kEnUs, 0, &cy), DISP_E_OVERFLOW);

    DECIMAL d{};
    EXPECT_EQ(VarDecFromStr("0,1", kDeDe, 0, &d), S_OK);
    EXPECT_EQ(d.scale, 1);
    EXPECT_EQ(d.Lo64, 1U);
    EXPECT_EQ(VarDecFromStr("79228162514264337593543950335", kEnUs, 0, &d), S_OK);
    EXPECT_EQ(d.Hi32, 0xFFFFFFFFU);
    EXPECT_EQ(VarDecFromStr("79228162514264337593543950336", kEnUs, 0, &d), DISP_E_OVERFLOW);
    // More fractional digits than fit are rounded away.
    EXPECT_EQ(VarDecFromStr("1.00000000000000000000000000001", kEnUs, 0, &d), S_OK);
    CComBSTR text;
    ASSERT_EQ(VarBstrFromDec(&d, kEnUs, 0, text.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(text, "1");
}

// Whatever a real is written as, it reads back as the value its fifteen digits show: the
// largest double too, whose text rounds up past it.
TEST(VarFromStr, ReadsBackWhatRealsAreWrittenAs) {
    for (const LCID lcid : {kEnUs, kDeDe, kFrFr, kEnGb}) {
        for (const double value : {0.1, -1234.5678, 1e21, 6.02214076e23, 1.5e-7, 123456789.125,
                                   -9.87654321e-100, 2.0 / 3, DBL_MAX, -DBL_MAX, DBL_TRUE_MIN}) {
            CComBSTR text;
            ASSERT_EQ(VarBstrFromR8(value, lcid, 0, text.ReleaseAndGetAddressOf()), S_OK);
            double back = 0;
            ASSERT_EQ(VarR8FromStr(text.Get(), lcid, 0, &back), S_OK) << text.View();
            EXPECT_NEAR(back, value, std::fabs(value) * 1e-14) << text.View();
        }
    }
}

TEST(VarFromStr, ReadsDatesInTheLocalesOrder) {
    DATE d = 0;
    EXPECT_EQ(VarDateFromStr("1/2/2024", kEnUs, 0, &d), S_OK);
    EXPECT_EQ(d, 45293.0);
    EXPECT_EQ(VarDateFromStr("2/1/2024", kEnGb, 0, &d), S_OK);
    EXPECT_EQ(d, 45293.0);
    EXPECT_EQ(VarDateFromStr("02.01.2024", kDeDe, 0, &d), S_OK);
    EXPECT_EQ(d, 45293.0);
    EXPECT_EQ(VarDateFromStr("2024-01-02", kFrFr, 0, &d), S_OK);
    EXPECT_EQ(d, 45293.0);
    EXPECT_EQ(VarDateFromStr("1/2/2024 6:00:00 PM", kEnUs, 0, &d), S_OK);
    EXPECT_EQ(d, 45293.75);
    EXPECT_EQ(VarDateFromStr("2024-01-02T18:00", kEnUs, 0, &d), S_OK);
    EXPECT_EQ(d, 45293.75);
    EXPECT_EQ(VarDateFromStr("12:00 am", kEnUs, 0, &d), S_OK);
    EXPECT_EQ(d, 0.0);
    EXPECT_EQ(VarDateFromStr("1/2/29", kEnUs, 0, &d), S_OK);
    EXPECT_EQ(Date(d, kEnUs), "1/2/2029");
    EXPECT_EQ(VarDateFromStr("1/2/30", kEnUs, 0, &d), S_OK);
    EXPECT_EQ(Date(d, kEnUs), "1/2/1930");
    EXPECT_EQ(VarDateFromStr("12/29/1899 6:00", kEnUs, 0, &d), S_OK);
    EXPECT_EQ(d, -1.25);
    for (const char* bad :
         {"", "2/29/2023", "13/1/2024", "1/2", "1/2/2024 25:00", "1/2/2024 13:00 PM", "1/2/2024x",
          "1/2/2024 6:00 XM", "1/2/99999", "noon"}) {
        EXPECT_EQ(VarDateFromStr(bad, kEnUs, 0, &d), DISP_E_TYPEMISMATCH) << bad;
    }
    // Every date written as text under a locale reads back.
    for (const LCID lcid : {kEnUs, kEnGb, kDeDe, kFrFr}) {
        for (const DATE value : {45293.75, 2.5, -400.25, 2958465.0, -657434.0}) {
            CComBSTR text;
            ASSERT_EQ(VarBstrFromDate(value, lcid, 0, text.ReleaseAndGetAddressOf()), S_OK);
            DATE back = 0;
            EXPECT_EQ(VarDateFromStr(text.Get(), lcid, 0, &back), S_OK) << text.View();
            EXPECT_EQ(back, value) << text.View();
        }
    }
}

TEST(VarFromStr, ReadsBooleans) {
    VARIANT_BOOL b = VARIANT_FALSE;
    EXPECT_EQ(VarBoolFromStr("TRUE", kEnUs, 0, &b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);
    EXPECT_EQ(VarBoolFromStr("falsch", kDeDe, 0, &b), S_OK);
    EXPECT_EQ(b, VARIANT_FALSE);
    EXPECT_EQ(VarBoolFromStr("-1", kEnUs, 0, &b), S_OK);
    EXPECT_EQ(b, VARIANT_TRUE);
    EXPECT_EQ(VarBoolFromStr("maybe", kEnUs, 0, &b), DISP_E_TYPEMISMATCH);
}

TEST(Lcid, TakesTheUsersLocaleFromTheEnvironment) {
    {
        const LocaleEnvironment env({{"LC_ALL", "de_DE.UTF-8"}, {"LC_NUMERIC", "fr_FR.UTF-8"}});
        EXPECT_EQ(GetUserDefaultLCID(), kDeDe);
        EXPECT_EQ(R8(1.5, LOCALE_USER_DEFAULT), "1,5");
        EXPECT_EQ(Cy(15000, LOCALE_SYSTEM_DEFAULT), "1,5");
    }
    {
        const LocaleEnvironment env(
            {{"LC_ALL", ""}, {"LC_NUMERIC", "fr_FR.UTF-8"}, {"LANG", "en_GB.UTF-8"}});
        EXPECT_EQ(GetUserDefaultLCID(), kFrFr);
    }
    {
        const LocaleEnvironment env(
            {{"LC_ALL", std::nullopt}, {"LC_NUMERIC", std::nullopt}, {"LANG", "en_GB.UTF-8"}});
        EXPECT_EQ(GetUserDefaultLCID(), kEnGb);
    }
    for (const char* fallback : {"C", "POSIX", "C.UTF-8", "xx_YY.UTF-8"}) {
        const LocaleEnvironment env(LocaleEnvironment::Values{{"LC_ALL", fallback}});
        EXPECT_EQ(GetUserDefaultLCID(), kEnUs) << fallback;
    }
    {
        const LocaleEnvironment env(
            {{"LC_ALL", std::nullopt}, {"LC_NUMERIC", std::nullopt}, {"LANG", std::nullopt}});
        EXPECT_EQ(GetUserDefaultLCID(), kEnUs);
        EXPECT_EQ(R8(1.5, LOCALE_USER_DEFAULT), "1.5");
    }
}

TEST(Lcid, NamesLocales) {
    EXPECT_EQ(LCIDFromLocaleName("de"), kDeDe);
    EXPECT_EQ(LCIDFromLocaleName("fr_CA.ISO-8859-1"), 0x0C0CU);
    EXPECT_EQ(LCIDFromLocaleName("de_AT@euro"), 0x0C07U);
    EXPECT_EQ(LCIDFromLocaleName("en-gb"), kEnGb);
    EXPECT_EQ(LCIDFromLocaleName("tlh_KX"), 0U);
    EXPECT_EQ(LocaleNameFromLCID(kFrFr), "fr-FR");
    EXPECT_EQ(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), SORT_DEFAULT), kEnGb);
}

// Locales without built-in conventions take them from Qt's locale data.
TEST(Lcid, OtherLocalesFollowTheirConventions) {
    constexpr LCID kNlNl = 0x0413;
    EXPECT_EQ(R8(1234.5, kNlNl), "1234,5");
    EXPECT_EQ(Cy(123400, kNlNl), "12,34");
    const std::string date = Date(45293.0, kNlNl, VAR_DATEVALUEONLY);
    EXPECT_NE(date.find("2024"), std::string::npos) << date;
    DATE back = 0;
    EXPECT_EQ(VarDateFromStr(CComBSTR(date).Get(), kNlNl, 0, &back), S_OK) << date;
    EXPECT_EQ(back, 45293.0);
    EXPECT_EQ(R8(2.5, 0x7654), "2.5");  // an identifier nobody knows: en-US conventions
}
