// Design items on the clipboard: their 836-byte records under the designer's own type, one
// text line per item for other programs, and how pasted items are placed.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "controls/common/design_item.h"
#include "platform/ui/clipboard.h"

inline constexpr char kDesignItemsMimeType[] = "application/x-qorform-items";

// The records of the items, in list order, and their text lines.
std::vector<ClipboardFormat> ClipboardFormatsOf(const std::vector<DesignItem>& items);
// One line per item: kind, name, text and rectangle, separated by tabs.
std::string ItemsAsText(const std::vector<DesignItem>& items);
// The items of the whole records in the data; a trailing fragment is ignored, and so is
// everything beyond the record count a design file may hold.
std::vector<DesignItem> ItemsFromClipboardData(std::span<const std::uint8_t> data);
// Moves the items by the offset, each kept on the canvas as a drag keeps it, selects them, and
// gives the columns new tab orders from nextTabOrder on in the order of their old ones.
void PreparePastedItems(std::vector<DesignItem>& items, int offset, const RECT& client,
                        int nextTabOrder);
