// BSTR: counted automation strings (UTF-8 bytes, length-prefixed and NUL-terminated) and
// CComBSTR, the value type that owns one.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/com_types.h"

// Text is UTF-8 like every other string of the system, so lengths are in bytes and a BSTR reads
// as a C string wherever it holds no NUL of its own. A null BSTR is the empty string.
using BSTR = OLECHAR*;

// The Sys... calls return null when memory runs out; text may be null for an empty string.
BSTR SysAllocString(LPCOLESTR text);
// length bytes from text, or length zero bytes when text is null.
BSTR SysAllocStringLen(LPCOLESTR text, UINT length);
BSTR SysAllocStringByteLen(const char* bytes, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
UINT SysStringByteLen(BSTR text);
// Replaces *target by a copy of text; FALSE (0) when memory runs out, *target unchanged.
INT SysReAllocString(BSTR* target, LPCOLESTR text);

// A new BSTR with the bytes of text (which may hold NULs); null when memory runs out.
BSTR SysAllocStringView(std::string_view text);
// The bytes of a BSTR; empty for null.
std::string_view BstrView(BSTR text);

class CComBSTR {
  public:
    CComBSTR() = default;
    // Strings convert implicitly, so text can be passed where a CComBSTR is taken.
    CComBSTR(std::string_view text);
    CComBSTR(const char* text);
    CComBSTR(const std::string& text);
    CComBSTR(const CComBSTR& other);
    CComBSTR(CComBSTR&& other) noexcept;
    CComBSTR& operator=(const CComBSTR& other);
    CComBSTR& operator=(CComBSTR&& other) noexcept;
    ~CComBSTR();

    BSTR Get() const { return text_; }
    std::string_view View() const { return BstrView(text_); }
    std::string ToString() const { return std::string(View()); }
    UINT Length() const { return SysStringLen(text_); }
    bool IsEmpty() const { return Length() == 0; }

    // Adopts a BSTR the caller owned.
    void Attach(BSTR text);
    // Hands the BSTR to the caller, who must free it.
    BSTR Detach();
    // A new BSTR with the same text, owned by the caller.
    BSTR Copy() const;
    void Empty();
    // For out parameters: whatever comes back is owned.
    BSTR* ReleaseAndGetAddressOf();

    friend bool operator==(const CComBSTR& a, const CComBSTR& b) { return a.View() == b.View(); }
    friend bool operator==(const CComBSTR& a, std::string_view b) { return a.View() == b; }
    friend bool operator==(const CComBSTR& a, const char* b) {
        return a.View() == std::string_view(b == nullptr ? "" : b);
    }

  private:
    BSTR text_ = nullptr;
};
