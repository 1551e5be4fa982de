// CComVariant: a VARIANT that owns its value, copies it deeply and gives it back when it goes.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/bstr.h"
#include "platform/com/variant.h"

// Derives from VARIANT, so its address is a VARIANT* for the Variant... calls and for DISPPARAMS;
// the constructors pick the variant type from the C++ type, as the comments say.
class CComVariant : public VARIANT {
  public:
    CComVariant() noexcept : VARIANT() {}  // VT_EMPTY
    CComVariant(const CComVariant& other);
    CComVariant(CComVariant&& other) noexcept;
    explicit CComVariant(const VARIANT& other);  // a deep copy
    CComVariant& operator=(const CComVariant& other);
    CComVariant& operator=(CComVariant&& other) noexcept;
    ~CComVariant() { Clear(); }

    // Values convert implicitly, so they can be passed where a CComVariant is taken.
    CComVariant(bool value);                             // VT_BOOL
    CComVariant(CHAR value);                             // VT_I1
    CComVariant(BYTE value);                             // VT_UI1
    CComVariant(SHORT value);                            // VT_I2
    CComVariant(USHORT value);                           // VT_UI2
    CComVariant(int value, VARTYPE type = VT_I4);        // VT_I4, VT_INT or VT_ERROR
    CComVariant(unsigned value, VARTYPE type = VT_UI4);  // VT_UI4 or VT_UINT
    CComVariant(long value);                             // VT_I8
    CComVariant(long long value);                        // VT_I8
    CComVariant(unsigned long value);                    // VT_UI8
    CComVariant(unsigned long long value);               // VT_UI8
    CComVariant(float value);                            // VT_R4
    CComVariant(double value, VARTYPE type = VT_R8);     // VT_R8 or VT_DATE
    CComVariant(CY value);                               // VT_CY
    CComVariant(const DECIMAL& value);                   // VT_DECIMAL
    CComVariant(std::string_view text);                  // VT_BSTR
    CComVariant(const char* text);                       // VT_BSTR
    CComVariant(const std::string& text);                // VT_BSTR
    CComVariant(const CComBSTR& text);                   // VT_BSTR
    CComVariant(IDispatch* object);                      // VT_DISPATCH, a reference of its own
    CComVariant(IUnknown* object);                       // VT_UNKNOWN, a reference of its own

    static CComVariant Null();
    static CComVariant Date(DATE date);
    static CComVariant Error(SCODE code);
    // The "missing" marker of an optional argument: VT_ERROR with DISP_E_PARAMNOTFOUND.
    static CComVariant Missing();
    // VT_BYREF | VT_VARIANT pointing at target, e.g. for an out argument of a call.
    static CComVariant ByReference(VARIANT* target);
    // VT_ARRAY | VT_UI1 with a copy of the bytes; VT_EMPTY when memory runs out.
    static CComVariant FromBytes(std::span<const BYTE> bytes);

    // Gives back what the value holds and leaves it VT_EMPTY. An empty variant, as every
    // moved-from one is, has nothing to give back, and is left as it is without a call.
    HRESULT Clear() { return vt == VT_EMPTY ? S_OK : VariantClear(this); }
    HRESULT Copy(const VARIANT* src);
    // Adopts what src holds and leaves src VT_EMPTY.
    HRESULT Attach(VARIANT* src);
    // Moves the value into dest (cleared first) and leaves this VT_EMPTY.
    HRESULT Detach(VARIANT* dest);
    // Converts src (by default this value) to vt under the user's default locale.
    HRESULT ChangeType(VARTYPE type, const VARIANT* src = nullptr);

    bool IsMissing() const { return vt == VT_ERROR && scode == DISP_E_PARAMNOTFOUND; }
    // The text of a VT_BSTR value; empty for any other type.
    std::string_view Text() const { return vt == VT_BSTR ? BstrView(bstrVal) : std::string_view(); }
    // The bytes of a VT_ARRAY | VT_UI1 or VT_I1 value; false for any other type.
    bool GetBytes(std::vector<BYTE>& bytes) const;

    // Same variant type and VarCmp-equal values (interfaces by pointer, strings and byte arrays
    // by their bytes).
    friend bool operator==(const CComVariant& a, const CComVariant& b);

  private:
    void SetText(std::string_view text);
};

// Makes out a zero-based VT_ARRAY | VT_VARIANT of length empty variants, for SafeArrayPutElement
// to fill; false, with out left as it was, when memory runs out.
bool MakeVariantVector(ULONG length, CComVariant& out);
