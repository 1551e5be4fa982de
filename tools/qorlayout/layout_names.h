// The names a layout description gives sections, kinds, edit styles and justifications, and the
// checks a layout passes before it is written: bands in order, rectangles inside the design
// units, strings that fit their fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/report/report_layout_file.h"

// One named code of a field.
struct LayoutName {
    std::string_view name;
    std::int32_t code;
};

enum class LayoutField { Section, Kind, EditStyle, Justification };

// The names of a field's codes, in the order the description documents them.
const std::vector<LayoutName>& LayoutNames(LayoutField field);
std::optional<std::int32_t> CodeOfName(LayoutField field, std::string_view name);
// The name of a code; for an edit style or justification with no name of its own, the name of
// what it prints as (plain text, centred), with `exact` false.
std::optional<std::string_view> NameOfCode(LayoutField field, std::int32_t code, bool& exact);
// "header", "detail" or "footer" | ... : the names, for messages.
std::string NameList(LayoutField field);

// A fault of a layout, with where it is: the item's position from 1 (0 for the header) and name,
// and the field.
struct LayoutFault {
    std::size_t item = 0;
    std::string itemName;
    std::string field;
    std::string problem;
};

// "item 3 (name): text: problem", or "headerEnd: problem" for the header.
std::string DescribeFault(const LayoutFault& fault);

// Every fault of the layout, header first, then the items in order.
std::vector<LayoutFault> CheckLayout(const ReportHeader& header,
                                     const std::vector<ReportItem>& items);
