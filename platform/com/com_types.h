// The fixed-width scalar types of the automation interfaces, with their platform names.
#pragma once

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using CHAR = char;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using INT = int;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using BOOL = int;

// Language and sort identifier of a locale.
using LCID = DWORD;

// Member identifier of a dispatch interface.
using DISPID = LONG;

// Automation text is UTF-8, so an "OLE character" is a byte and wide strings need no
// conversion to the ANSI code page, which is UTF-8 on this platform.
using OLECHAR = char;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
