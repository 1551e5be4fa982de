// The variant text conversions, both ways, every type and several locales: a text that
// converts to a type gives a text that converts back, and the second round changes nothing;
// exact types keep their value through their text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/com/com_variant.h"
#include "platform/com/variant.h"

namespace {

struct TypeCase {
    VARTYPE vt;
    bool exact;  // the value survives its text unchanged
};

constexpr TypeCase kTypes[] = {
    {VT_I1, true},  {VT_UI1, true},     {VT_I2, true},    {VT_UI2, true},
    {VT_I4, true},  {VT_UI4, true},     {VT_I8, true},    {VT_UI8, true},
    {VT_INT, true}, {VT_UINT, true},    {VT_R4, false},   {VT_R8, false},
    {VT_CY, true},  {VT_DECIMAL, true}, {VT_DATE, false}, {VT_BOOL, true},
};

constexpr LCID kLocales[] = {0x0409, 0x0809, 0x0407, 0x040C, 0x007F, 0x0400};
constexpr USHORT kFlags[] = {0, VARIANT_ALPHABOOL, VARIANT_LOCALBOOL, VARIANT_NOUSEROVERRIDE};

std::string Describe(const TypeCase& type, LCID lcid, std::string_view text) {
    return "vt " + std::to_string(type.vt) + " lcid " + std::to_string(lcid) + ": '" +
           std::string(text) + "'";
}

// The value's text, its value again and that value's text: both rounds must agree.
void CheckThroughText(const CComVariant& value, const TypeCase& type, LCID lcid, USHORT flags) {
    CComVariant text;
    if (FAILED(VariantChangeTypeEx(&text, &value, lcid, flags, VT_BSTR))) {
        return;
    }
    const std::string shown(text.Text());
    CComVariant again;
    FuzzRequire(SUCCEEDED(VariantChangeTypeEx(&again, &text, lcid, flags, type.vt)),
                "a value's text converts back to its type", Describe(type, lcid, shown));
    if (type.exact) {
        FuzzRequire(VarCmp(&again, &value, lcid, 0) == VARCMP_EQ,
                    "an exact value keeps its value through its text", Describe(type, lcid, shown));
    }
    CComVariant textAgain;
    FuzzRequire(SUCCEEDED(VariantChangeTypeEx(&textAgain, &again, lcid, flags, VT_BSTR)),
                "a converted value has a text", Describe(type, lcid, shown));
    FuzzRequire(textAgain.Text() == shown, "a second round through text changes nothing",
                Describe(type, lcid, shown) + " -> '" + std::string(textAgain.Text()) + "'");
}

// A value of the type made of raw bytes: every bit pattern, NaN and infinities included;
// booleans as the two values a boolean holds.
CComVariant RawValue(VARTYPE vt, FuzzedDataProvider& input) {
    CComVariant value;
    value.vt = vt;
    if (vt == VT_DECIMAL) {
        value.decVal.scale = input.ConsumeIntegral<BYTE>();
        value.decVal.sign = input.ConsumeBool() ? DECIMAL_NEG : 0;
        value.decVal.Hi32 = input.ConsumeIntegral<ULONG>();
        value.decVal.Lo64 = input.ConsumeIntegral<ULONGLONG>();
    } else if (vt == VT_BOOL) {
        value.boolVal = input.ConsumeBool() ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        value.llVal = input.ConsumeIntegral<LONGLONG>();
    }
    return value;
}

// NaN and the infinities have a text but are no number a text converts to.
bool IsFinite(const CComVariant& value) {
    if (value.vt == VT_R4) {
        return std::isfinite(value.fltVal);
    }
    return value.vt != VT_R8 || std::isfinite(value.dblVal);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const TypeCase type = input.PickValueInArray(kTypes);
    const LCID lcid = input.PickValueInArray(kLocales);
    const USHORT flags = input.PickValueInArray(kFlags);
    if (input.ConsumeBool()) {
        const CComVariant value = RawValue(type.vt, input);
        if (IsFinite(value)) {
            CheckThroughText(value, type, lcid, flags);
        } else {
            CComVariant text;
            (void)VariantChangeTypeEx(&text, &value, lcid, flags, VT_BSTR);
        }
        return 0;
    }
    const CComVariant text(input.ConsumeRemainingBytesAsString());
    CComVariant value;
    if (SUCCEEDED(VariantChangeTypeEx(&value, &text, lcid, flags, type.vt))) {
        FuzzRequire(value.vt == type.vt, "a conversion gives the type asked for",
                    Describe(type, lcid, text.Text()));
        CheckThroughText(value, type, lcid, flags);
    }
    return 0;
}
