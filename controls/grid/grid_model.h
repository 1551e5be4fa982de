// The grid's records: columns, rows and cells, the layout metrics and colours every part of the
// grid draws with, and the rows a print job walks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/common/edit_style.h"
#include "platform/com/com_variant.h"
#include "platform/gdi/types.h"

struct GridColumn {
    std::string name;         // matched against field names, without regard to case
    std::string newRowValue;  // what was typed for this column in the "New Row..." window
    std::string title;
    int width = 0;  // 0 for a hidden column
    int maxSize = 0;
    COLORREF textColor = 0;
    COLORREF backColor = 0x00FFFFFF;
    bool visible = true;
    bool editable = true;
    EditStyle editStyle = EditStyle::Text;
    // Mask and date: the mask; numeric: "whole,decimals".
    std::string editMask;
    int left = 0;  // horizontal extent at the current scroll position, set by the layout
    int right = 0;
    int itemIndex = -1;  // the list item reached with the arrow and page keys; -1 none
    // List: the drop-down items, sorted; check box: item 0 checked, item 1 unchecked.
    std::vector<std::string> items;
};

struct GridCell {
    std::string text;
};

struct GridRow {
    bool modified = false;
    bool isNew = false;
    CComVariant bookmark;  // the record's bookmark in a bound grid, empty otherwise
    // One per column that existed when the row was created.
    std::vector<GridCell> cells;
};

inline constexpr int kGridCaptionHeight = 21;
inline constexpr int kGridHeaderHeight = 23;
inline constexpr int kGridRowHeight = 21;
inline constexpr COLORREF kGridLineColor = 0x00C0C0C0;
inline constexpr COLORREF kGridHeaderFace = 0x00C0C0C0;
inline constexpr COLORREF kGridBodyColor = 0x00FFFFFF;
inline constexpr COLORREF kGridHighlightBack = 0x00800000;
inline constexpr COLORREF kGridHighlightText = 0x00FFFFFF;
inline constexpr COLORREF kGridCaptionBack = 0x00C0DCC0;
inline constexpr COLORREF kGridCaptionText = 0x00800000;

// The rows a print job walks: the loaded rows of an unbound grid, every record of a bound one.
class CGridPrintSource {
  public:
    CGridPrintSource() = default;
    CGridPrintSource(const CGridPrintSource&) = delete;
    CGridPrintSource& operator=(const CGridPrintSource&) = delete;
    virtual ~CGridPrintSource() = default;
    // False when there is no row to print.
    virtual bool MoveFirst() = 0;
    // False past the last row.
    virtual bool MoveNext() = 0;
    // The text the column (an index into the grid's columns) shows in the current row; empty
    // when the row has none.
    virtual std::string ColumnText(std::size_t column) = 0;
    // Whether the last move answered false because the rows could not be read (the connection
    // lost, say) rather than at their end; `why` then says what went wrong.
    virtual bool Failed(std::string& /*why*/) { return false; }
};
