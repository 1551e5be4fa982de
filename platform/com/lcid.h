// Locale identifiers (LCIDs) and the user's default locale, taken from the environment.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/com_types.h"

constexpr LCID LOCALE_NEUTRAL = 0x0000;
constexpr LCID LOCALE_INVARIANT = 0x007F;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// There are no user overrides of locale settings here, so the flag is accepted and changes
// nothing.
constexpr DWORD LOCALE_NOUSEROVERRIDE = 0x80000000;

constexpr WORD LANG_NEUTRAL = 0x00;
constexpr WORD LANG_GERMAN = 0x07;
constexpr WORD LANG_ENGLISH = 0x09;
constexpr WORD LANG_FRENCH = 0x0C;
constexpr WORD SUBLANG_DEFAULT = 0x01;
constexpr WORD SUBLANG_ENGLISH_US = 0x01;
constexpr WORD SUBLANG_ENGLISH_UK = 0x02;
constexpr WORD SORT_DEFAULT = 0x0;

constexpr WORD MAKELANGID(WORD primary, WORD sub) {
    return static_cast<WORD>((sub << 10) | primary);
}
constexpr LCID MAKELCID(WORD language, WORD sort) {
    return (DWORD{sort} << 16) | language;
}
constexpr WORD LANGIDFROMLCID(LCID lcid) {
    return static_cast<WORD>(lcid & 0xFFFF);
}

// From LC_ALL, then LC_NUMERIC, then LANG (POSIX names such as "de_DE.UTF-8"); en-US (0x0409)
// when none is set, for "C" and "POSIX", and for a locale without an identifier.
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();

// The identifier of a POSIX ("de_DE.UTF-8", "fr_FR@euro") or tagged ("de-DE") locale name; a
// name with only a language ("de") gets that language's main country. 0 when unknown.
LCID LCIDFromLocaleName(std::string_view name);
// The tagged name ("de-DE") of an identifier, the default locales resolved; empty when unknown.
std::string LocaleNameFromLCID(LCID lcid);
