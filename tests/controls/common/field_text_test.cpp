// The text of field values of every variant type, under the locales the controls meet.
#include "controls/common/field_text.h"

#include <gtest/gtest.h>

#include <string>

#include "data_test_support.h"
#include "platform/com/com_variant.h"

namespace {

CComVariant Typed(VARTYPE vt, LONGLONG bits) {
    CComVariant value;
    value.vt = vt;
    value.llVal = bits;
    return value;
}

DECIMAL Decimal(ULONGLONG digits, BYTE scale, bool negative) {
    DECIMAL value{};
    value.Lo64 = digits;
    value.scale = scale;
    value.sign = negative ? DECIMAL_NEG : 0;
    return value;
}

// 2024-03-05 17:45:00 as an automation date.
constexpr DATE kMarchFifthEvening = 45356.0 + 17.75 / 24.0;

TEST(FieldValueText, IntegersOfEveryWidthAsDecimalDigits) {
    const ScopedLocale locale("en_US.UTF-8");
    EXPECT_EQ(FieldValueText(CComVariant(static_cast<CHAR>(-128))), "-128");
    EXPECT_EQ(FieldValueText(CComVariant(static_cast<BYTE>(255))), "255");
    EXPECT_EQ(FieldValueText(CComVariant(static_cast<SHORT>(-32768))), "-32768");
    EXPECT_EQ(FieldValueText(CComVariant(static_cast<USHORT>(65535))), "65535");
    EXPECT_EQ(FieldValueText(CComVariant(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(FieldValueText(CComVariant(4294967295U)), "4294967295");
    EXPECT_EQ(FieldValueText(CComVariant(-9000000000LL)), "-9000000000");
    EXPECT_EQ(FieldValueText(CComVariant(18000000000000000000ULL)), "18000000000000000000");
    EXPECT_EQ(FieldValueText(CComVariant(-7, VT_INT)), "-7");
}

TEST(FieldValueText, UnsignedMachineIntegerAboveTwoToTheThirtyFirstStaysPositive) {
    EXPECT_EQ(FieldValueText(CComVariant(3000000000U, VT_UINT)), "3000000000");
    EXPECT_EQ(FieldValueText(CComVariant(4294967295U, VT_UINT)), "4294967295");
}

TEST(FieldValueText, RealsUseTheLocalesDecimalSeparator) {
    {
        const ScopedLocale locale("en_US.UTF-8");
        EXPECT_EQ(FieldValueText(CComVariant(1.5)), "1.5");
        EXPECT_EQ(FieldValueText(CComVariant(-0.25F)), "-0.25");
    }
    const ScopedLocale locale("de_DE.UTF-8");
    EXPECT_EQ(FieldValueText(CComVariant(1.5)), "1,5");
    EXPECT_EQ(FieldValueText(CComVariant(-0.25F)), "-0,25");
}

TEST(FieldValueText, CurrencyAndDecimalsAreExactUnderTheLocale) {
    const CComVariant currency(CY{12345678});  // 1234.5678
    const CComVariant large(CY{9223372036854775807LL});
    const CComVariant decimal(Decimal(123456789012345678ULL, 4, true));
    {
        const ScopedLocale locale("en_US.UTF-8");
        EXPECT_EQ(FieldValueText(currency), "1234.5678");
        EXPECT_EQ(FieldValueText(large), "922337203685477.5807");
        EXPECT_EQ(FieldValueText(decimal), "-12345678901234.5678");
    }
    const ScopedLocale locale("de_DE.UTF-8");
    EXPECT_EQ(FieldValueText(currency), "1234,5678");
    EXPECT_EQ(FieldValueText(decimal), "-12345678901234,5678");
}

TEST(FieldValueText, DatesLoseTheirTimeOfDay) {
    const CComVariant evening = CComVariant::Date(kMarchFifthEvening);
    {
        const ScopedLocale locale("en_US.UTF-8");
        EXPECT_EQ(FieldValueText(evening), "3/5/2024");
        EXPECT_EQ(FieldValueText(CComVariant::Date(0.5)), "12/30/1899");
    }
    const ScopedLocale locale("de_DE.UTF-8");
    EXPECT_EQ(FieldValueText(evening), "05.03.2024");
    EXPECT_EQ(FieldValueText(CComVariant::Date(-700000.0)), "");
}

TEST(FieldValueText, StringsAreTrimmedAndNeverCut) {
    EXPECT_EQ(FieldValueText(CComVariant(" \t padded text \r\n")), "padded text");
    EXPECT_EQ(FieldValueText(CComVariant("\v\f ")), "");
    EXPECT_EQ(FieldValueText(CComVariant("Seán O'Brien")), "Seán O'Brien");
    const std::string longText = "<" + std::string(5000, 'x') + "ü>";
    EXPECT_EQ(FieldValueText(CComVariant(longText)), longText);
}

TEST(FieldValueText, BooleansAreOneAndZero) {
    const ScopedLocale locale("de_DE.UTF-8");
    EXPECT_EQ(FieldValueText(CComVariant(true)), kTrueText);
    EXPECT_EQ(FieldValueText(CComVariant(false)), kFalseText);
    EXPECT_EQ(FieldValueText(Typed(VT_BOOL, 1)), kTrueText);
}

TEST(FieldValueText, ValuesWithoutTextAreEmpty) {
    EXPECT_EQ(FieldValueText(CComVariant()), "");
    EXPECT_EQ(FieldValueText(CComVariant::Null()), "");
    EXPECT_EQ(FieldValueText(CComVariant::Error(E_FAIL)), "");
    EXPECT_EQ(FieldValueText(CComVariant::Missing()), "");
    const BYTE bytes[] = {'4', '2'};
    EXPECT_EQ(FieldValueText(CComVariant::FromBytes(bytes)), "");
    LONG target = 42;
    VARIANT reference;
    reference.vt = VT_BYREF | VT_I4;
    reference.plVal = &target;
    EXPECT_EQ(FieldValueText(reference), "");
    EXPECT_EQ(FieldValueText(CComVariant(static_cast<IDispatch*>(nullptr))), "");
}

}  // namespace
