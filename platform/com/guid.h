// GUIDs as class and interface identifiers: comparison, and the "{XXXXXXXX-XXXX-...}" text form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/com/hresult.h"

struct GUID {
    DWORD Data1 = 0;
    WORD Data2 = 0;
    WORD Data3 = 0;
    BYTE Data4[8] = {};  // NOLINT(*-avoid-c-arrays): the platform's layout
    friend bool operator==(const GUID&, const GUID&) = default;
    // Any fixed order will do, for sorted containers.
    friend constexpr bool operator<(const GUID& a, const GUID& b) {
        if (a.Data1 != b.Data1) {
            return a.Data1 < b.Data1;
        }
        if (a.Data2 != b.Data2) {
            return a.Data2 < b.Data2;
        }
        if (a.Data3 != b.Data3) {
            return a.Data3 < b.Data3;
        }
        for (int i = 0; i < 8; ++i) {
            if (a.Data4[i] != b.Data4[i]) {
                return a.Data4[i] < b.Data4[i];
            }
        }
        return false;
    }
};

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

namespace guid_detail {

constexpr int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

constexpr bool ReadHex(std::string_view text, std::size_t& pos, int digits, std::uint32_t& out) {
    out = 0;
    for (int i = 0; i < digits; ++i, ++pos) {
        const int v = pos < text.size() ? HexValue(text[pos]) : -1;
        if (v < 0) {
            return false;
        }
        out = (out << 4) | static_cast<std::uint32_t>(v);
    }
    return true;
}

constexpr bool Expect(std::string_view text, std::size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

void InvalidGuidLiteral();  // never defined: naming it in a constant evaluation is the error

}  // namespace guid_detail

// Reads "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits of either case), with or without
// the braces; nothing else may surround it.
constexpr std::optional<GUID> ParseGuid(std::string_view text) {
    using namespace guid_detail;
    const bool braced = !text.empty() && text.front() == '{';
    if (braced && text.back() != '}') {
        return std::nullopt;
    }
    if (braced) {
        text = text.substr(1, text.size() - 2);
    }
    GUID g;
    std::size_t pos = 0;
    std::uint32_t v = 0;
    if (!ReadHex(text, pos, 8, v) || !Expect(text, pos, '-')) {
        return std::nullopt;
    }
    g.Data1 = v;
    if (!ReadHex(text, pos, 4, v) || !Expect(text, pos, '-')) {
        return std::nullopt;
    }
    g.Data2 = static_cast<WORD>(v);
    if (!ReadHex(text, pos, 4, v) || !Expect(text, pos, '-')) {
        return std::nullopt;
    }
    g.Data3 = static_cast<WORD>(v);
    for (int i = 0; i < 8; ++i) {
        if (i == 2 && !Expect(text, pos, '-')) {
            return std::nullopt;
        }
        if (!ReadHex(text, pos, 2, v)) {
            return std::nullopt;
        }
        g.Data4[i] = static_cast<BYTE>(v);
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return g;
}

// A GUID constant from its text, checked when compiling.
consteval GUID MakeGuid(std::string_view text) {
    const std::optional<GUID> g = ParseGuid(text);
    if (!g) {
        guid_detail::InvalidGuidLiteral();
    }
    return *g;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case.
std::string FormatGuid(const GUID& g);

inline constexpr GUID GUID_NULL{};
inline constexpr IID IID_NULL{};
inline constexpr CLSID CLSID_NULL{};

constexpr bool IsEqualGUID(const GUID& a, const GUID& b) {
    return a == b;
}
constexpr bool IsEqualIID(const IID& a, const IID& b) {
    return a == b;
}
constexpr bool IsEqualCLSID(const CLSID& a, const CLSID& b) {
    return a == b;
}

// Writes the braced text form and its terminating NUL into buffer; the number of characters
// written including the NUL (39), or 0 when the buffer is too small.
int StringFromGUID2(const GUID& g, LPOLESTR buffer, int bufferSize);

// The braced text form only; CO_E_CLASSSTRING (class ids) or E_INVALIDARG (interface ids) for
// anything else. CLSIDFromString also takes a ProgID (see class_factory.h).
HRESULT IIDFromString(LPCOLESTR text, IID* iid);
