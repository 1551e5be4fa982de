// Ownership of strings, interfaces and arrays in VARIANTs: copy, clear, references, wrappers.
#include <gtest/gtest.h>

#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"
#include "platform/com/dispatch.h"

namespace {

struct IProbe : IUnknown {
    static constexpr IID iid = MakeGuid("{0D6B1F3A-2222-4C11-8E77-000000000001}");
    using InterfaceBase = IUnknown;

  protected:
    ~IProbe() = default;
};

class CProbe final : public CUnknownImpl<IProbe> {};

ULONG CountOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

}  // namespace

TEST(Bstr, HoldsBytesWithTheirLength) {
    BSTR text = SysAllocString("M\xC3\xBCller");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 7U);  // UTF-8 bytes
    EXPECT_STREQ(text, "M\xC3\xBCller");
    SysFreeString(text);

    BSTR withNul = SysAllocStringLen("a\0b", 3);
    EXPECT_EQ(BstrView(withNul), std::string_view("a\0b", 3));
    EXPECT_EQ(SysReAllocString(&withNul, "longer text"), 1);
    EXPECT_EQ(BstrView(withNul), "longer text");
    SysFreeString(withNul);

    BSTR zeros = SysAllocStringLen(nullptr, 2);
    EXPECT_EQ(BstrView(zeros), std::string_view("\0\0", 2));
    SysFreeString(zeros);

    EXPECT_EQ(SysStringLen(nullptr), 0U);
    EXPECT_EQ(BstrView(nullptr), "");
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    SysFreeString(nullptr);
}

TEST(ComBstr, OwnsItsTextThroughCopiesAndMoves) {
    CComBSTR a("first");
    CComBSTR b = a;
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_EQ(b, "first");
    b = CComBSTR(std::string("second"));
    CComBSTR c = std::move(b);
    EXPECT_EQ(c, "second");
    const CComBSTR& same = c;
    c = same;  // self-assignment keeps the text
    EXPECT_EQ(c.View(), "second");

    BSTR handed = c.Detach();
    EXPECT_TRUE(c.IsEmpty());
    CComBSTR d;
    d.Attach(handed);
    EXPECT_EQ(d.ToString(), "second");

    BSTR* out = d.ReleaseAndGetAddressOf();
    EXPECT_EQ(*out, nullptr);
    *out = SysAllocString("returned");
    EXPECT_EQ(d, "returned");
    EXPECT_EQ(CComBSTR(), "");
}

TEST(Variant, CopyDuplicatesStringsAndClearFreesThem) {
    VARIANT original;
    original.vt = VT_BSTR;
    original.bstrVal = SysAllocString("text");
    VARIANT copy;
    ASSERT_EQ(VariantCopy(&copy, &original), S_OK);
    EXPECT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, original.bstrVal);
    EXPECT_EQ(BstrView(copy.bstrVal), "text");

    // Copying over a value frees what it held first.
    ASSERT_EQ(VariantCopy(&copy, &original), S_OK);
    EXPECT_EQ(VariantClear(&copy), S_OK);
    EXPECT_EQ(copy.vt, VT_EMPTY);
    EXPECT_EQ(VariantClear(&original), S_OK);
    EXPECT_EQ(VariantCopy(&original, &original), S_OK);
}

TEST(Variant, InterfacesAreCountedReferences) {
    const CComPtr<CProbe> probe = MakeComObject<CProbe>();
    IUnknown* unknown = probe->GetUnknown();
    {
        const CComVariant held(unknown);
        EXPECT_EQ(CountOf(unknown), 2U);
        CComVariant copy = held;
        EXPECT_EQ(CountOf(unknown), 3U);
        CComVariant moved = std::move(copy);
        EXPECT_EQ(CountOf(unknown), 3U);
        moved.Clear();
        EXPECT_EQ(CountOf(unknown), 2U);
    }
    EXPECT_EQ(CountOf(unknown), 1U);
}

TEST(Variant, RejectsTypesItCannotHold) {
    VARIANT bad;
    bad.vt = VT_VARIANT;  // only by reference or in an array
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
    bad.vt = 15;
    VARIANT copy;
    EXPECT_EQ(VariantCopy(&copy, &bad), DISP_E_BADVARTYPE);
    bad.vt = VT_ARRAY | VT_BSTR;
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
}

TEST(Variant, ReferencesAreCopiedAsPointersOrAsWhatTheyPointAt) {
    BSTR storage = SysAllocString("referenced");
    VARIANT ref;
    ref.vt = VT_BYREF | VT_BSTR;
    ref.pbstrVal = &storage;

    VARIANT shallow;
    ASSERT_EQ(VariantCopy(&shallow, &ref), S_OK);
    EXPECT_EQ(shallow.pbstrVal, &storage);
    EXPECT_EQ(VariantClear(&shallow), S_OK);  // frees nothing it points at

    CComVariant deep;
    ASSERT_EQ(VariantCopyInd(&deep, &ref), S_OK);
    EXPECT_EQ(deep.vt, VT_BSTR);
    EXPECT_EQ(deep.Text(), "referenced");
    EXPECT_NE(deep.bstrVal, storage);
    SysFreeString(storage);

    CComVariant target(42);
    const CComVariant toVariant = CComVariant::ByReference(&target);
    CComVariant value;
    ASSERT_EQ(VariantCopyInd(&value, &toVariant), S_OK);
    EXPECT_EQ(value.vt, VT_I4);
    EXPECT_EQ(value.lVal, 42);

    VARIANT nullRef;
    nullRef.vt = VT_BYREF | VT_I4;
    nullRef.plVal = nullptr;
    EXPECT_EQ(VariantCopyInd(&value, &nullRef), E_INVALIDARG);
}

TEST(SafeArray, HoldsBytesAndVariantsWithinItsBounds) {
    const CComVariant bytes = CComVariant::FromBytes(std::vector<BYTE>{1, 2, 3});
    ASSERT_EQ(bytes.vt, VT_ARRAY | VT_UI1);
    std::vector<BYTE> back;
    EXPECT_TRUE(bytes.GetBytes(back));
    EXPECT_EQ(back, (std::vector<BYTE>{1, 2, 3}));

    CComVariant copy = bytes;
    EXPECT_NE(copy.parray, bytes.parray);
    LONG index = 1;
    const BYTE nine = 9;
    ASSERT_EQ(SafeArrayPutElement(copy.parray, &index, &nine), S_OK);
    EXPECT_TRUE(bytes.GetBytes(back));
    EXPECT_EQ(back[1], 2);  // the copy is its own
    index = 3;
    EXPECT_EQ(SafeArrayPutElement(copy.parray, &index, &nine), DISP_E_BADINDEX);

    SAFEARRAY* variants = SafeArrayCreateVector(VT_VARIANT, 1, 2);
    ASSERT_NE(variants, nullptr);
    LONG first = 1;
    const CComVariant text("element");
    ASSERT_EQ(SafeArrayPutElement(variants, &first, &text), S_OK);
    LONG upper = 0;
    EXPECT_EQ(SafeArrayGetUBound(variants, 1, &upper), S_OK);
    EXPECT_EQ(upper, 2);
    CComVariant read;
    ASSERT_EQ(SafeArrayGetElement(variants, &first, &read), S_OK);
    EXPECT_EQ(read.Text(), "element");

    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(variants, &data), S_OK);
    EXPECT_EQ(SafeArrayDestroy(variants), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(variants), S_OK);

    CComVariant owner;
    owner.vt = VT_ARRAY | VT_VARIANT;
    owner.parray = variants;  // cleared, with its elements, when owner goes
    const CComVariant arrayCopy = owner;
    EXPECT_EQ(SafeArrayCreateVector(VT_BSTR, 0, 1), nullptr);
}

TEST(ComVariant, PicksTheVariantTypeFromTheValue) {
    EXPECT_EQ(CComVariant(true).boolVal, VARIANT_TRUE);
    EXPECT_EQ(CComVariant(SHORT{7}).vt, VT_I2);
    EXPECT_EQ(CComVariant(7).vt, VT_I4);
    EXPECT_EQ(CComVariant(7, VT_INT).vt, VT_INT);
    EXPECT_EQ(CComVariant(7U).vt, VT_UI4);
    EXPECT_EQ(CComVariant(7LL).vt, VT_I8);
    EXPECT_EQ(CComVariant(BYTE{7}).vt, VT_UI1);
    EXPECT_EQ(CComVariant(1.5F).vt, VT_R4);
    EXPECT_EQ(CComVariant(1.5).vt, VT_R8);
    EXPECT_EQ(CComVariant::Date(45000.5).vt, VT_DATE);
    EXPECT_EQ(CComVariant(CY{123400}).cyVal.int64, 123400);
    EXPECT_EQ(CComVariant("text").Text(), "text");
    EXPECT_EQ(CComVariant(std::string("more")).Text(), "more");
    EXPECT_TRUE(CComVariant::Missing().IsMissing());
    EXPECT_EQ(CComVariant::Null().vt, VT_NULL);
    EXPECT_FALSE(CComVariant(0).IsMissing());
}

TEST(ComVariant, AttachAndDetachMoveOwnership) {
    VARIANT raw;
    raw.vt = VT_BSTR;
    raw.bstrVal = SysAllocString("moved");
    CComVariant owner;
    ASSERT_EQ(owner.Attach(&raw), S_OK);
    EXPECT_EQ(raw.vt, VT_EMPTY);
    EXPECT_EQ(owner.Text(), "moved");

    VARIANT out;
    ASSERT_EQ(owner.Detach(&out), S_OK);
    EXPECT_EQ(owner.vt, VT_EMPTY);
    EXPECT_EQ(BstrView(out.bstrVal), "moved");
    VariantClear(&out);
}

TEST(ComVariant, EqualsBySameTypeAndValue) {
    EXPECT_EQ(CComVariant(5), CComVariant(5));
    EXPECT_FALSE(CComVariant(5) == CComVariant(SHORT{5}));
    EXPECT_EQ(CComVariant("a"), CComVariant("a"));
    EXPECT_FALSE(CComVariant("a") == CComVariant("A"));
    EXPECT_EQ(CComVariant(), CComVariant());
    EXPECT_EQ(CComVariant::Null(), CComVariant::Null());
    EXPECT_EQ(CComVariant::FromBytes(std::vector<BYTE>{1, 2}),
              CComVariant::FromBytes(std::vector<BYTE>{1, 2}));
    EXPECT_FALSE(CComVariant::FromBytes(std::vector<BYTE>{1, 2}) ==
                 CComVariant::FromBytes(std::vector<BYTE>{1, 3}));
}

TEST(VarCmp, OrdersNumbersAcrossTypesAndStrings) {
    const CComVariant two(2);
    const CComVariant twoAndAHalf(2.5);
    EXPECT_EQ(VarCmp(&two, &twoAndAHalf, 0, 0), VARCMP_LT);
    EXPECT_EQ(VarCmp(&twoAndAHalf, &two, 0, 0), VARCMP_GT);
    const CComVariant twoCurrency(CY{20000});
    EXPECT_EQ(VarCmp(&two, &twoCurrency, 0, 0), VARCMP_EQ);
    // Exact beyond double precision.
    const CComVariant big(9007199254740993LL);
    const CComVariant bigger(9007199254740994LL);
    EXPECT_EQ(VarCmp(&big, &bigger, 0, 0), VARCMP_LT);

    const CComVariant apple("apple");
    const CComVariant upper("APPLE");
    EXPECT_EQ(VarCmp(&apple, &upper, 0, 0), VARCMP_GT);
    EXPECT_EQ(VarCmp(&apple, &upper, 0, NORM_IGNORECASE), VARCMP_EQ);
    EXPECT_EQ(VarCmp(&two, &apple, 0, 0), VARCMP_LT);  // a number is less than a string
    const CComVariant empty;
    const CComVariant emptyText("");
    EXPECT_EQ(VarCmp(&empty, &emptyText, 0, 0), VARCMP_EQ);
    const CComVariant null = CComVariant::Null();
    EXPECT_EQ(VarCmp(&null, &two, 0, 0), VARCMP_NULL);
    const CComVariant error = CComVariant::Error(E_FAIL);
    EXPECT_EQ(VarCmp(&error, &two, 0, 0), DISP_E_TYPEMISMATCH);
}
