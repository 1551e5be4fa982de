// Design items in memory and as the 836-byte records of a design file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/common/edit_style.h"
#include "platform/gdi/types.h"

enum ItemKind : std::int32_t {
    kStaticText = 1,
    kColumn = 2,
    kHorizontalLine = 3,
    kVerticalLine = 4,
    kRectangle = 5,
    kRoundRectangle = 6,
};

struct DesignItem {
    std::int32_t kind = kStaticText;
    std::int32_t editStyle = CodeOf(DesignerEditStyle::Text);
    std::string name;
    std::string text;
    std::string mask;
    std::int32_t wholeDigits = 0;
    std::int32_t decimalDigits = 0;
    std::int32_t maxLength = 255;
    RECT rect{};
    std::int32_t backColor = -1;
    std::int32_t textColor = 0;
    std::int32_t justification = 3;
    std::int32_t tabOrder = -1;
    bool selected = false;
    bool resizeTarget = false;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool border = false;
    friend bool operator==(const DesignItem&, const DesignItem&) = default;
};

constexpr std::size_t kDesignItemRecordSize = 836;
using DesignItemRecord = std::array<std::uint8_t, kDesignItemRecordSize>;

// Field sizes, terminating NUL included.
constexpr std::size_t kNameFieldSize = 255;
constexpr std::size_t kTextFieldSize = 255;
constexpr std::size_t kMaskFieldSize = 258;

// Coordinates are kept within plus or minus this limit when read from a file or made by an edit
// of the canvas: far beyond any canvas (800 x 600) or form, so real designs keep theirs, yet
// small enough that widths, edges moved by a few pixels and drag offsets of any coordinates
// stay far inside 32 bits.
constexpr std::int32_t kCoordinateLimit = 1000000;
// The rectangle with each coordinate brought into the kept range.
RECT ClampToCoordinateRange(const RECT& rect);

// Rectangles are brought into the kept coordinate range; every other field is read as stored.
DesignItem ReadDesignItemRecord(std::span<const std::uint8_t, kDesignItemRecordSize> record);
// Strings longer than their fields are cut at a character boundary.
DesignItemRecord WriteDesignItemRecord(const DesignItem& item);

// Where a walk of the tab stops parks when the items have none: past every stop.
constexpr std::int32_t kNoTabStop = 999999;
// The first item in list order with the tab order.
std::optional<std::size_t> FirstItemWithTabOrder(const std::vector<DesignItem>& items,
                                                 std::int32_t tabOrder);
