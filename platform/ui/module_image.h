// The images a module carries (bitmaps and icons by resource id), loaded through the module's
// DllLoadImage export, and a control's toolbox bitmap found through the class registry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/com/guid.h"
#include "platform/com/hresult.h"
#include "platform/gdi/dc.h"

// Image types, as LoadImage names them.
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;

constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr HRESULT REGDB_E_INVALIDVALUE = static_cast<HRESULT>(0x80040153);

// The export a module hands out its images through: the image of that type and id into
// *image; HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND) or (..._NAME_NOT_FOUND) when the
// module has no such image, the bitmap left as it was.
using DllLoadImageFunction = HRESULT (*)(UINT type, UINT id, CBitmap* image);
inline constexpr const char* kDllLoadImageName = "DllLoadImage";

// An image of the module at the path. Besides the export's own results: the loader's
// (CO_E_DLLNOTFOUND, CO_E_ERRORINDLL) when the module cannot be loaded, and
// HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND) when it has no such export.
HRESULT LoadModuleImage(const std::string& modulePath, UINT type, UINT id, CBitmap* image);

// A ToolboxBitmap32 value, "module path, bitmap id": the path before the last comma, blanks
// trimmed, and the id after it. Nothing when either is missing.
struct ToolboxBitmapValue {
    std::string modulePath;
    UINT id = 0;
};
std::optional<ToolboxBitmapValue> ParseToolboxBitmapValue(std::string_view value);

// The class's toolbox bitmap, from the module and id its ToolboxBitmap32 value names.
// REGDB_E_KEYMISSING when the class has no such value, REGDB_E_INVALIDVALUE when the value
// names no module and id, REGDB_E_READREGDB when it is missing and a registry
// file is damaged; else LoadModuleImage's.
HRESULT LoadToolboxBitmap(const CLSID& clsid, CBitmap* image);
