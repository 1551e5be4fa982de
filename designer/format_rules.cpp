// Aligning, sizing and spacing rectangles for the Format menu.
#include "designer/format_rules.h"

#include <algorithm>
#include <numeric>

#include "designer/canvas_rules.h"

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}

int Height(const RECT& r) {
    return r.bottom - r.top;
}

// Moves the rectangle so that its left (or top) edge is at the coordinate, kept inside.
void MoveTo(RECT& rect, int left, int top, const RECT& client) {
    MoveClamped(rect, left - rect.left, top - rect.top, client);
}

void Resize(RECT& rect, int width, int height, const RECT& client) {
    rect.right = std::min(rect.left + width, std::max(client.right, rect.right));
    rect.bottom = std::min(rect.top + height, std::max(client.bottom, rect.bottom));
}

void Align(FormatCommand command, std::vector<RECT>& rects, const RECT& client) {
    RECT extent = rects.front();
    for (const RECT& r : rects) {
        UnionRect(extent, extent, r);
    }
    const int centerX = extent.left + Width(extent) / 2;
    const int centerY = extent.top + Height(extent) / 2;
    for (RECT& r : rects) {
        int left = r.left;
        int top = r.top;
        switch (command) {
            case FormatCommand::AlignLefts:
                left = extent.left;
                break;
            case FormatCommand::AlignRights:
                left = extent.right - Width(r);
                break;
            case FormatCommand::AlignTops:
                top = extent.top;
                break;
            case FormatCommand::AlignBottoms:
                top = extent.bottom - Height(r);
                break;
            case FormatCommand::AlignCenters:
                left = centerX - Width(r) / 2;
                break;
            default:
                top = centerY - Height(r) / 2;
                break;
        }
        MoveTo(r, left, top, client);
    }
}

void SameSize(FormatCommand command, std::vector<RECT>& rects, const RECT& client) {
    int width = 0;
    int height = 0;
    for (const RECT& r : rects) {
        width = std::max(width, Width(r));
        height = std::max(height, Height(r));
    }
    for (RECT& r : rects) {
        const bool widths = command != FormatCommand::SameHeight;
        const bool heights = command != FormatCommand::SameWidth;
        Resize(r, widths ? width : Width(r), heights ? height : Height(r), client);
    }
}

// Spreads the rectangles along one axis, the first and the last staying where they are.
void Space(std::vector<RECT>& rects, bool across, const RECT& client) {
    std::vector<std::size_t> order(rects.size());
    std::iota(order.begin(), order.end(), 0);
    const auto low = [&](std::size_t i) { return across ? rects[i].left : rects[i].top; };
    const auto size = [&](std::size_t i) { return across ? Width(rects[i]) : Height(rects[i]); };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return low(a) < low(b); });
    const std::size_t last = order.back();
    const long long span = static_cast<long long>(low(last)) + size(last) - low(order.front());
    long long sizes = 0;
    for (const std::size_t i : order) {
        sizes += size(i);
    }
    const long long gaps = static_cast<long long>(order.size()) - 1;
    const long long room = span - sizes;
    long long before = 0;  // sizes of the rectangles before the current one
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t i = order[k];
        const auto target =
            static_cast<int>(low(order.front()) + before + room * static_cast<long long>(k) / gaps);
        before += size(i);
        MoveTo(rects[i], across ? target : rects[i].left, across ? rects[i].top : target, client);
    }
}

}  // namespace

std::string FormatStepName(FormatCommand command) {
    switch (command) {
        case FormatCommand::AlignLefts:
            return "Align Lefts";
        case FormatCommand::AlignRights:
            return "Align Rights";
        case FormatCommand::AlignTops:
            return "Align Tops";
        case FormatCommand::AlignBottoms:
            return "Align Bottoms";
        case FormatCommand::AlignCenters:
            return "Align Centers";
        case FormatCommand::AlignMiddles:
            return "Align Middles";
        case FormatCommand::SameWidth:
            return "Make Same Width";
        case FormatCommand::SameHeight:
            return "Make Same Height";
        case FormatCommand::SameSize:
            return "Make Same Size";
        case FormatCommand::SpaceAcross:
            return "Space Across";
        case FormatCommand::SpaceDown:
            return "Space Down";
    }
    return "Format";
}

std::vector<RECT> FormatRects(FormatCommand command, const std::vector<RECT>& rects,
                              const RECT& client) {
    std::vector<RECT> result = rects;
    const bool spacing =
        command == FormatCommand::SpaceAcross || command == FormatCommand::SpaceDown;
    if (result.size() < (spacing ? 3U : 2U)) {
        return result;
    }
    switch (command) {
        case FormatCommand::SameWidth:
        case FormatCommand::SameHeight:
        case FormatCommand::SameSize:
            SameSize(command, result, client);
            break;
        case FormatCommand::SpaceAcross:
        case FormatCommand::SpaceDown:
            Space(result, command == FormatCommand::SpaceAcross, client);
            break;
        default:
            Align(command, result, client);
            break;
    }
    return result;
}
