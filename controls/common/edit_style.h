// The edit-style codes of columns: the controls' codes and the designer's, which differ.
#pragma once

#include <cstdint>

// What the controls' columns store (the grid's InsertColumn, the form once it has read a
// design).
enum class EditStyle : std::int32_t {
    Text = 1,
    List = 2,
    Mask = 3,
    CheckBox = 4,
    Numeric = 5,
    Date = 6,  // typed through a mask, exactly like Mask
};

// What the designer writes into design files.
enum class DesignerEditStyle : std::int32_t {
    Text = 1,
    Date = 2,
    Mask = 3,
    Numeric = 4,
    CheckBox = 5,
    List = 6,
};

constexpr std::int32_t CodeOf(EditStyle style) {
    return static_cast<std::int32_t>(style);
}

constexpr std::int32_t CodeOf(DesignerEditStyle style) {
    return static_cast<std::int32_t>(style);
}

// The mask a date column types through when its design gives none.
inline constexpr const char* kDateMask = "##/##/####";
