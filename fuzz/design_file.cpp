// Design files: every whole record read, written and read again gives the same item; the whole
// file read through the design reader, drawn as the designer and the form draw it, and hit.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "controls/common/design.h"
#include "controls/common/design_item_paint.h"
#include "controls/common/record_fields.h"
#include "fuzz/fuzz_support.h"
#include "platform/gdi/recording_dc.h"

namespace {

bool InCoordinateRange(std::int32_t value) {
    return value >= -kCoordinateLimit && value <= kCoordinateLimit;
}

void CheckRecord(std::span<const std::uint8_t, kDesignItemRecordSize> record) {
    const DesignItem item = ReadDesignItemRecord(record);
    const RECT& r = item.rect;
    FuzzRequire(InCoordinateRange(r.left) && InCoordinateRange(r.top) &&
                    InCoordinateRange(r.right) && InCoordinateRange(r.bottom),
                "a read rectangle lies within the coordinate limit");
    // Texts of a damaged record (no NUL, bytes that are not UTF-8 and grow when read) may be cut
    // when written; once written, a record reads and writes back unchanged.
    const DesignItem written = ReadDesignItemRecord(WriteDesignItemRecord(item));
    const bool fits = FitsRecordString(item.name, kNameFieldSize) &&
                      FitsRecordString(item.text, kTextFieldSize) &&
                      FitsRecordString(item.mask, kMaskFieldSize);
    FuzzRequire(!fits || written == item,
                "a record written from a read item reads back as the same item");
    FuzzRequire(ReadDesignItemRecord(WriteDesignItemRecord(written)) == written,
                "a written record reads and writes back unchanged");
}

void DrawAndHit(const std::vector<DesignItem>& items) {
    for (const bool designer : {false, true}) {
        CRecordingDC dc;
        ItemPaintOptions options;
        options.columnNames = designer;
        options.designerFrames = designer;
        DrawDesignItems(dc, items, RECT{0, 0, 800, 600}, options);
    }
    for (const DesignItem& item : items) {
        RECT extent = ItemPaintExtent(item);
        RECT both{};
        UnionRect(both, extent, item.rect);
        FuzzRequire(IsRectEmpty(item.rect) || both == extent,
                    "an item's paint extent holds its rectangle");
    }
    for (const POINT at : {POINT{0, 0}, POINT{5, 5}, POINT{400, 300}, POINT{799, 599}}) {
        const int hit = HitTest(items, at);
        FuzzRequire(hit >= -1 && hit < static_cast<int>(items.size()), "a hit names an item");
        FuzzRequire(hit < 0 || PtInRect(items[static_cast<std::size_t>(hit)].rect, at),
                    "the hit item holds the point");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    StartHeadlessApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t records = size / kDesignItemRecordSize;
    for (std::size_t i = 0; i < records; ++i) {
        CheckRecord(std::span<const std::uint8_t, kDesignItemRecordSize>(
            data + i * kDesignItemRecordSize, kDesignItemRecordSize));
    }
    const std::optional<Design> design = ReadDesignFile(WriteScratchFile("design.qor", data, size));
    FuzzRequire(design.has_value(), "a small regular file is read as a design");
    FuzzRequire(design->Items().size() == records, "every whole record becomes an item");
    DrawAndHit(design->Items());
    return 0;
}
