// Choosing the preview's first field and the targets of Tab and Shift+Tab.
#include "designer/preview_navigation.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<std::int32_t> CountedTabOrders(const Design& design) {
    std::vector<std::int32_t> orders;
    for (const DesignItem& item : design.Items()) {
        if (item.tabOrder >= 0) {
            orders.push_back(item.tabOrder);
        }
    }
    std::sort(orders.begin(), orders.end());
    return orders;
}

}  // namespace

int FirstField(const Design& design) {
    const auto& items = design.Items();
    int first = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind == kColumn &&
            (first < 0 || items[i].tabOrder < items[static_cast<std::size_t>(first)].tabOrder)) {
            first = static_cast<int>(i);
        }
    }
    return first;
}

std::optional<std::int32_t> TabTarget(const Design& design, std::int32_t current, bool backwards) {
    const std::vector<std::int32_t> orders = CountedTabOrders(design);
    if (orders.empty()) {
        return std::nullopt;
    }
    const std::int32_t min = orders.front();
    const std::int32_t max = orders.back();
    if (current < min || current > max) {
        return min;
    }
    if (backwards) {
        return current == min ? max
                              : *std::prev(std::lower_bound(orders.begin(), orders.end(), current));
    }
    return current == max ? min : *std::upper_bound(orders.begin(), orders.end(), current);
}
