// Text form of GUIDs.
#include "platform/com/guid.h"

#include <array>
#include <cstdio>
#include <cstring>

std::string FormatGuid(const GUID& g) {
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  g.Data1, unsigned{g.Data2}, unsigned{g.Data3}, unsigned{g.Data4[0]},
                  unsigned{g.Data4[1]}, unsigned{g.Data4[2]}, unsigned{g.Data4[3]},
                  unsigned{g.Data4[4]}, unsigned{g.Data4[5]}, unsigned{g.Data4[6]},
                  unsigned{g.Data4[7]});
    return text.data();
}

int StringFromGUID2(const GUID& g, LPOLESTR buffer, int bufferSize) {
    const std::string text = FormatGuid(g);
    const int needed = static_cast<int>(text.size()) + 1;
    if (buffer == nullptr || bufferSize < needed) {
        return 0;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return needed;
}

HRESULT IIDFromString(LPCOLESTR text, IID* iid) {
    if (iid == nullptr) {
        return E_POINTER;
    }
    const std::string_view view = text == nullptr ? std::string_view() : std::string_view(text);
    const std::optional<GUID> parsed =
        !view.empty() && view.front() == '{' ? ParseGuid(view) : std::nullopt;
    if (!parsed) {
        *iid = IID_NULL;
        return E_INVALIDARG;
    }
    *iid = *parsed;
    return S_OK;
}
