// The icon resources that dialogs show, each an image registered under its id.
#pragma once

#include <optional>
#include <string_view>

#include "platform/gdi/dc.h"

// Replaces an icon registered under the same id.
void RegisterIconResource(UINT id, CBitmap image);
// nullptr when no icon has the id.
const CBitmap* FindIconResource(UINT id);
// The id an icon control's text names: its decimal digits, nothing for any other text.
std::optional<UINT> IconIdOf(std::string_view text);
