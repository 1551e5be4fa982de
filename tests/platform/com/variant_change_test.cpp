// VariantChangeType: conversions that dispatch argument coercion relies on, and their failures.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"
#include "platform/com/lcid.h"

namespace {

constexpr LCID kEnUs = 0x0409;
constexpr LCID kDeDe = 0x0407;

// The converted value, or the failure with the destination left as it was.
CComVariant Changed(const CComVariant& from, VARTYPE vt, LCID lcid = kEnUs, USHORT flags = 0,
                    HRESULT expected = S_OK) {
    CComVariant to("untouched");
    const HRESULT hr = VariantChangeTypeEx(&to, &from, lcid, flags, vt);
    EXPECT_EQ(hr, expected) << "to type " << vt;
    if (FAILED(hr)) {
        EXPECT_EQ(to.Text(), "untouched");
    }
    return to;
}

void Fails(const CComVariant& from, VARTYPE vt, HRESULT expected, LCID lcid = kEnUs) {
    Changed(from, vt, lcid, 0, expected);
}

CComVariant Decimal(const char* text) {
    const CComVariant from(text);
    CComVariant d;
    EXPECT_EQ(VariantChangeTypeEx(&d, &from, kEnUs, 0, VT_DECIMAL), S_OK);
    return d;
}

}  // namespace

TEST(ChangeType, NarrowsIntegersWithinRange) {
    EXPECT_EQ(Changed(CComVariant(32767), VT_I2).iVal, 32767);
    Fails(CComVariant(32768), VT_I2, DISP_E_OVERFLOW);
    Fails(CComVariant(-1), VT_UI1, DISP_E_OVERFLOW);
    EXPECT_EQ(Changed(CComVariant(255), VT_UI1).bVal, 255);
    Fails(CComVariant(4294967296LL), VT_UI4, DISP_E_OVERFLOW);
    EXPECT_EQ(Changed(CComVariant(4294967295LL), VT_UI4).ulVal, 4294967295U);
    Fails(CComVariant(18446744073709551615ULL), VT_I8, DISP_E_OVERFLOW);
    EXPECT_EQ(Changed(CComVariant(-128), VT_I1).cVal, -128);
    Fails(CComVariant(128), VT_I1, DISP_E_OVERFLOW);
}

TEST(ChangeType, RoundsRealsHalfToEven) {
    EXPECT_EQ(Changed(CComVariant(2.5), VT_I4).lVal, 2);
    EXPECT_EQ(Changed(CComVariant(3.5), VT_I4).lVal, 4);
    EXPECT_EQ(Changed(CComVariant(-2.5), VT_I4).lVal, -2);
    EXPECT_EQ(Changed(CComVariant(2.51), VT_I2).iVal, 3);
    Fails(CComVariant(1e10), VT_I4, DISP_E_OVERFLOW);
    Fails(CComVariant(std::nan("")), VT_I4, DISP_E_OVERFLOW);
    Fails(CComVariant(1e39), VT_R4, DISP_E_OVERFLOW);
    EXPECT_EQ(Changed(CComVariant(CY{25000}), VT_I4).lVal, 2);
    EXPECT_EQ(Changed(CComVariant(CY{35000}), VT_I4).lVal, 4);
}

TEST(ChangeType, KeepsCurrencyAndDecimalExact) {
    EXPECT_EQ(Changed(CComVariant(1.23456), VT_CY).cyVal.int64, 12346);
    EXPECT_DOUBLE_EQ(Changed(CComVariant(CY{123400}), VT_R8).dblVal, 12.34);
    EXPECT_EQ(Changed(CComVariant(1234567890123LL), VT_CY).cyVal.int64, 12345678901230000);
    Fails(CComVariant(1000000000000000LL), VT_CY, DISP_E_OVERFLOW);

    const CComVariant exact = Decimal("12345678901234567890.123456789");
    EXPECT_EQ(exact.decVal.scale, 9);
    EXPECT_EQ(Changed(exact, VT_BSTR).Text(), "12345678901234567890.123456789");
    EXPECT_EQ(Changed(Decimal("12.34"), VT_CY).cyVal.int64, 123400);
    EXPECT_EQ(Changed(Decimal("0.00005"), VT_CY).cyVal.int64, 0);  // half to even
    EXPECT_EQ(Changed(Decimal("0.00015"), VT_CY).cyVal.int64, 2);
    EXPECT_EQ(Changed(CComVariant(CY{-5}), VT_DECIMAL).decVal.sign, DECIMAL_NEG);
    Fails(Decimal("79228162514264337593543950335"), VT_I8, DISP_E_OVERFLOW);
}

TEST(ChangeType, TreatsBooleansAsMinusOneAndZero) {
    EXPECT_EQ(Changed(CComVariant(true), VT_I4).lVal, -1);
    EXPECT_EQ(Changed(CComVariant(true), VT_UI1).bVal, 255);
    EXPECT_EQ(Changed(CComVariant(false), VT_R8).dblVal, 0);
    EXPECT_EQ(Changed(CComVariant(7), VT_BOOL).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Changed(CComVariant(0.0), VT_BOOL).boolVal, VARIANT_FALSE);
    EXPECT_EQ(Changed(CComVariant(true), VT_BSTR).Text(), "-1");
    EXPECT_EQ(Changed(CComVariant(true), VT_BSTR, kEnUs, VARIANT_ALPHABOOL).Text(), "True");
    EXPECT_EQ(Changed(CComVariant(false), VT_BSTR, kDeDe, VARIANT_LOCALBOOL).Text(), "Falsch");
    EXPECT_EQ(Changed(CComVariant("true"), VT_BOOL).boolVal, VARIANT_TRUE);
    EXPECT_EQ(Changed(CComVariant("0"), VT_BOOL).boolVal, VARIANT_FALSE);
    Fails(CComVariant("yes"), VT_BOOL, DISP_E_TYPEMISMATCH);
}

TEST(ChangeType, ReadsTextUnderTheLocale) {
    EXPECT_EQ(Changed(CComVariant("1234.5"), VT_R8).dblVal, 1234.5);
    EXPECT_EQ(Changed(CComVariant("1234,5"), VT_R8, kDeDe).dblVal, 1234.5);
    EXPECT_EQ(Changed(CComVariant("1.234,5"), VT_R8, kDeDe).dblVal, 1234.5);
    EXPECT_EQ(Changed(CComVariant(" 42 "), VT_I4).lVal, 42);
    EXPECT_EQ(Changed(CComVariant("12,50"), VT_CY, kDeDe).cyVal.int64, 125000);
    Fails(CComVariant("1234,5"), VT_R8, DISP_E_TYPEMISMATCH);
    Fails(CComVariant("1.5"), VT_R8, DISP_E_TYPEMISMATCH, kDeDe);  // no grouping of one digit
    Fails(CComVariant("abc"), VT_I4, DISP_E_TYPEMISMATCH);
    Fails(CComVariant(""), VT_I4, DISP_E_TYPEMISMATCH);
    Fails(CComVariant("300"), VT_UI1, DISP_E_OVERFLOW);
}

TEST(ChangeType, WritesNumbersAndDatesAsText) {
    EXPECT_EQ(Changed(CComVariant(1234.5), VT_BSTR).Text(), "1234.5");
    EXPECT_EQ(Changed(CComVariant(1234.5), VT_BSTR, kDeDe).Text(), "1234,5");
    EXPECT_EQ(Changed(CComVariant(CY{123400}), VT_BSTR, kDeDe).Text(), "12,34");
    EXPECT_EQ(Changed(CComVariant(-7), VT_BSTR).Text(), "-7");
    EXPECT_EQ(Changed(CComVariant::Date(45293.75), VT_BSTR).Text(), "1/2/2024 6:00:00 PM");
    EXPECT_EQ(Changed(CComVariant("1/2/2024"), VT_DATE).date, 45293.0);
    EXPECT_EQ(Changed(CComVariant("02.01.2024 18:00"), VT_DATE, kDeDe).date, 45293.75);
    Fails(CComVariant("2/30/2024"), VT_DATE, DISP_E_TYPEMISMATCH);
    Fails(CComVariant(1e7), VT_DATE, DISP_E_OVERFLOW);
    EXPECT_EQ(Changed(CComVariant(45293.5), VT_DATE).date, 45293.5);
}

TEST(ChangeType, EmptyNullAndErrorValues) {
    EXPECT_EQ(Changed(CComVariant(), VT_I4).lVal, 0);
    EXPECT_EQ(Changed(CComVariant(), VT_BSTR).Text(), "");
    EXPECT_EQ(Changed(CComVariant(), VT_DISPATCH).pdispVal, nullptr);
    Fails(CComVariant::Null(), VT_I4, DISP_E_TYPEMISMATCH);
    Fails(CComVariant::Null(), VT_BSTR, DISP_E_TYPEMISMATCH);
    Fails(CComVariant::Error(E_FAIL), VT_I4, DISP_E_TYPEMISMATCH);
    Fails(CComVariant(1), VT_VARIANT, DISP_E_BADVARTYPE);
    Fails(CComVariant(1), VT_I4 | VT_BYREF, DISP_E_BADVARTYPE);
    Fails(CComVariant::FromBytes(std::vector<BYTE>{1}), VT_I4, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Changed(CComVariant::Null(), VT_NULL).vt, VT_NULL);
}

TEST(ChangeType, DereferencesAndConvertsInPlace) {
    LONG storage = 12;
    VARIANT ref;
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &storage;
    EXPECT_EQ(Changed(CComVariant(ref), VT_BSTR).Text(), "12");

    CComVariant value(3.75);
    ASSERT_EQ(VariantChangeType(&value, &value, 0, VT_BSTR), S_OK);
    EXPECT_EQ(value.vt, VT_BSTR);
    ASSERT_EQ(VariantChangeTypeEx(&value, &value, kEnUs, 0, VT_R4), S_OK);
    EXPECT_EQ(value.fltVal, 3.75F);
}

namespace {

struct IPlain : IUnknown {
    static constexpr IID iid = MakeGuid("{4C0E2D51-3333-4A66-B7F0-000000000001}");
    using InterfaceBase = IUnknown;

  protected:
    ~IPlain() = default;
};

class CPlain final : public CUnknownImpl<IPlain> {};

}  // namespace

TEST(ChangeType, QueriesObjectsForTheOtherObjectType) {
    const CComPtr<CPlain> plain = MakeComObject<CPlain>();
    const CComVariant unknown(plain->GetUnknown());
    Fails(unknown, VT_DISPATCH, E_NOINTERFACE);
    Fails(unknown, VT_I4, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Changed(unknown, VT_UNKNOWN).punkVal, plain->GetUnknown());
}
