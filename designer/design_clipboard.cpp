// Encoding design items for the clipboard and placing pasted ones.
#include "designer/design_clipboard.h"

#include <algorithm>
#include <limits>

#include "controls/common/design.h"
#include "designer/canvas_rules.h"

namespace {

const char* KindName(std::int32_t kind) {
    switch (kind) {
        case kStaticText:
            return "StaticText";
        case kColumn:
            return "Column";
        case kHorizontalLine:
            return "Horizontal Line";
        case kVerticalLine:
            return "Vertical Line";
        case kRectangle:
            return "Rectangle";
        case kRoundRectangle:
            return "Round Rectangle";
        default:
            return "Item";
    }
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace

std::string ItemsAsText(const std::vector<DesignItem>& items) {
    std::string text;
    for (const DesignItem& item : items) {
        const RECT& r = item.rect;
        text += std::string(KindName(item.kind)) + '\t' + item.name + '\t' + item.text + '\t' +
                std::to_string(r.left) + ',' + std::to_string(r.top) + ',' +
                std::to_string(r.right) + ',' + std::to_string(r.bottom) + '\n';
    }
    return text;
}

std::vector<ClipboardFormat> ClipboardFormatsOf(const std::vector<DesignItem>& items) {
    std::vector<std::uint8_t> records;
    records.reserve(items.size() * kDesignItemRecordSize);
    for (const DesignItem& item : items) {
        const DesignItemRecord record = WriteDesignItemRecord(item);
        records.insert(records.end(), record.begin(), record.end());
    }
    return {ClipboardFormat{kDesignItemsMimeType, std::move(records)},
            ClipboardFormat{"text/plain", Bytes(ItemsAsText(items))}};
}

std::vector<DesignItem> ItemsFromClipboardData(std::span<const std::uint8_t> data) {
    const std::size_t count = std::min(data.size() / kDesignItemRecordSize, kMaxDesignRecords);
    std::vector<DesignItem> items;
    items.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        items.push_back(ReadDesignItemRecord(
            data.subspan(i * kDesignItemRecordSize).first<kDesignItemRecordSize>()));
    }
    return items;
}

void PreparePastedItems(std::vector<DesignItem>& items, int offset, const RECT& client,
                        int nextTabOrder) {
    std::vector<DesignItem*> columns;
    for (DesignItem& item : items) {
        MoveClamped(item.rect, offset, offset, client);
        item.selected = true;
        item.resizeTarget = false;
        if (item.kind == kColumn) {
            columns.push_back(&item);
        } else {
            item.tabOrder = -1;
        }
    }
    std::stable_sort(columns.begin(), columns.end(), [](const DesignItem* a, const DesignItem* b) {
        return a->tabOrder < b->tabOrder;
    });
    int next = nextTabOrder;
    for (DesignItem* column : columns) {
        column->tabOrder = next;
        // At the largest tab order there is the next columns share it, as placed ones do.
        if (next < std::numeric_limits<int>::max()) {
            ++next;
        }
    }
}
