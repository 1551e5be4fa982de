// The field-for-field mapping between a design item and its little-endian 836-byte record, the
// kept coordinate range, and finding an item by its tab order.
#include "controls/common/design_item.h"

#include <algorithm>
#include <cstring>

#include "controls/common/record_fields.h"

namespace {

constexpr std::size_t kMarker = 0;
constexpr std::size_t kKind = 8;
constexpr std::size_t kEditStyle = 12;
constexpr std::size_t kName = 16;
constexpr std::size_t kText = 271;
constexpr std::size_t kMask = 526;
constexpr std::size_t kWholeDigits = 784;
constexpr std::size_t kDecimalDigits = 788;
constexpr std::size_t kMaxLength = 792;
constexpr std::size_t kRect = 796;
constexpr std::size_t kBackColor = 812;
constexpr std::size_t kTextColor = 816;
constexpr std::size_t kJustification = 820;
constexpr std::size_t kTabOrder = 824;
constexpr std::size_t kSelected = 828;
constexpr std::size_t kResizeTarget = 829;
constexpr std::size_t kBold = 830;
constexpr std::size_t kUnderline = 831;
constexpr std::size_t kItalic = 832;
constexpr std::size_t kBorder = 833;
constexpr char kMarkerText[] = "*QOR*";

using Record = std::span<const std::uint8_t, kDesignItemRecordSize>;

std::int32_t GetInt(Record r, std::size_t at) {
    return GetRecordInt(r, at);
}

void PutInt(DesignItemRecord& r, std::size_t at, std::int32_t value) {
    PutRecordInt(r, at, value);
}

std::string GetString(Record r, std::size_t at, std::size_t size) {
    return GetRecordString(r, at, size);
}

void PutString(DesignItemRecord& r, std::size_t at, std::size_t size, const std::string& value) {
    PutRecordString(r, at, size, value);
}

}  // namespace

RECT ClampToCoordinateRange(const RECT& rect) {
    const auto clamp = [](int value) {
        return std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
    };
    return RECT{clamp(rect.left), clamp(rect.top), clamp(rect.right), clamp(rect.bottom)};
}

DesignItem ReadDesignItemRecord(Record r) {
    DesignItem item;
    item.kind = GetInt(r, kKind);
    item.editStyle = GetInt(r, kEditStyle);
    item.name = GetString(r, kName, kNameFieldSize);
    item.text = GetString(r, kText, kTextFieldSize);
    item.mask = GetString(r, kMask, kMaskFieldSize);
    item.wholeDigits = GetInt(r, kWholeDigits);
    item.decimalDigits = GetInt(r, kDecimalDigits);
    item.maxLength = GetInt(r, kMaxLength);
    item.rect = ClampToCoordinateRange(
        RECT{GetInt(r, kRect), GetInt(r, kRect + 4), GetInt(r, kRect + 8), GetInt(r, kRect + 12)});
    item.backColor = GetInt(r, kBackColor);
    item.textColor = GetInt(r, kTextColor);
    item.justification = GetInt(r, kJustification);
    item.tabOrder = GetInt(r, kTabOrder);
    item.selected = r[kSelected] != 0;
    item.resizeTarget = r[kResizeTarget] != 0;
    item.bold = r[kBold] != 0;
    item.underline = r[kUnderline] != 0;
    item.italic = r[kItalic] != 0;
    item.border = r[kBorder] != 0;
    return item;
}

DesignItemRecord WriteDesignItemRecord(const DesignItem& item) {
    DesignItemRecord r{};
    std::memcpy(r.data() + kMarker, kMarkerText, 5);
    PutInt(r, kKind, item.kind);
    PutInt(r, kEditStyle, item.editStyle);
    PutString(r, kName, kNameFieldSize, item.name);
    PutString(r, kText, kTextFieldSize, item.text);
    PutString(r, kMask, kMaskFieldSize, item.mask);
    PutInt(r, kWholeDigits, item.wholeDigits);
    PutInt(r, kDecimalDigits, item.decimalDigits);
    PutInt(r, kMaxLength, item.maxLength);
    PutInt(r, kRect, item.rect.left);
    PutInt(r, kRect + 4, item.rect.top);
    PutInt(r, kRect + 8, item.rect.right);
    PutInt(r, kRect + 12, item.rect.bottom);
    PutInt(r, kBackColor, item.backColor);
    PutInt(r, kTextColor, item.textColor);
    PutInt(r, kJustification, item.justification);
    PutInt(r, kTabOrder, item.tabOrder);
    r[kSelected] = item.selected ? 1 : 0;
    r[kResizeTarget] = item.resizeTarget ? 1 : 0;
    r[kBold] = item.bold ? 1 : 0;
    r[kUnderline] = item.underline ? 1 : 0;
    r[kItalic] = item.italic ? 1 : 0;
    r[kBorder] = item.border ? 1 : 0;
    return r;
}

std::optional<std::size_t> FirstItemWithTabOrder(const std::vector<DesignItem>& items,
                                                 std::int32_t tabOrder) {
    const auto found = std::find_if(items.begin(), items.end(), [&](const DesignItem& item) {
        return item.tabOrder == tabOrder;
    });
    if (found == items.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - items.begin());
}
