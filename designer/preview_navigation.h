// The preview's field order: the first field, and where Tab and Shift+Tab lead.
#pragma once

#include <cstdint>
#include <optional>

#include "controls/common/design.h"

// The column with the smallest tab order, the first in list order among equal ones; -1 when the
// design has no column.
int FirstField(const Design& design);
// The tab order that Tab (or Shift+Tab, backwards) leads to from the current one. Only tab
// orders of 0 or more count; Tab wraps from the largest to the smallest, Shift+Tab from the
// smallest to the largest, and a current value outside them goes to the smallest. Nothing when
// no item has such a tab order.
std::optional<std::int32_t> TabTarget(const Design& design, std::int32_t current, bool backwards);
