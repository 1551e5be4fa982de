// The table of icon resources by id.
#include "platform/dialogs/icon_resources.h"

#include <charconv>
#include <map>

namespace {

std::map<UINT, CBitmap>& Icons() {
    static std::map<UINT, CBitmap> icons;
    return icons;
}

}  // namespace

void RegisterIconResource(UINT id, CBitmap image) {
    Icons().insert_or_assign(id, std::move(image));
}

const CBitmap* FindIconResource(UINT id) {
    const auto it = Icons().find(id);
    return it == Icons().end() ? nullptr : &it->second;
}

std::optional<UINT> IconIdOf(std::string_view text) {
    UINT id = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, id);
    return error == std::errc() && stop == end && !text.empty() ? std::optional<UINT>(id)
                                                                : std::nullopt;
}
