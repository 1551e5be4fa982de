// Loading a module's images, and a class's toolbox bitmap through the registry value.
#include "platform/ui/module_image.h"

#include <charconv>

#include "platform/com/class_registry_layers.h"
#include "platform/com/module_loader.h"

namespace {

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

HRESULT LoadModuleImage(const std::string& modulePath, UINT type, UINT id, CBitmap* image) {
    if (image == nullptr) {
        return E_POINTER;
    }
    void* handle = nullptr;
    const HRESULT hr = CoLoadModule(modulePath, &handle);
    if (FAILED(hr)) {
        return hr;
    }
    const auto loadImage = reinterpret_cast<DllLoadImageFunction>(  // NOLINT: an untyped export
        CoModuleSymbol(handle, kDllLoadImageName));
    return loadImage != nullptr ? loadImage(type, id, image)
                                : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

std::optional<ToolboxBitmapValue> ParseToolboxBitmapValue(std::string_view value) {
    const size_t comma = value.rfind(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view path = Trimmed(value.substr(0, comma));
    const std::string_view idText = Trimmed(value.substr(comma + 1));
    UINT id = 0;
    const char* end = idText.data() + idText.size();
    const auto [stop, error] = std::from_chars(idText.data(), end, id);
    if (path.empty() || idText.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return ToolboxBitmapValue{std::string(path), id};
}

HRESULT LoadToolboxBitmap(const CLSID& clsid, CBitmap* image) {
    if (image == nullptr) {
        return E_POINTER;
    }
    const CClassRegistryLayers layers;
    const std::string classKey = "CLSID\\" + FormatGuid(clsid);
    const CRegistryKeys* holder = layers.Holder(classKey);
    const std::optional<std::string> value =
        holder != nullptr ? holder->GetValue(classKey + "\\ToolboxBitmap32") : std::nullopt;
    if (!value) {
        return FAILED(layers.Status()) ? layers.Status() : REGDB_E_KEYMISSING;
    }
    const std::optional<ToolboxBitmapValue> bitmap = ParseToolboxBitmapValue(*value);
    return bitmap ? LoadModuleImage(bitmap->modulePath, IMAGE_BITMAP, bitmap->id, image)
                  : REGDB_E_INVALIDVALUE;
}
