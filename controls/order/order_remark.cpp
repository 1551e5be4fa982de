// Word breaking of the remark for its printed box.
#include "controls/order/order_remark.h"

#include <algorithm>

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

RemarkLines BreakRemark(CDC& dc, std::string_view remark, int width, int height) {
    std::string_view text = Trimmed(remark);
    RemarkLines broken;
    if (text.empty()) {
        return broken;
    }
    broken.lineHeight = dc.GetTextExtentPoint32(text).cy;
    const std::size_t allowed =
        broken.lineHeight > 0 ? static_cast<std::size_t>(std::max(height / broken.lineHeight, 0))
                              : 0;
    if (allowed == 0) {
        broken.lines.emplace_back(text);
        return broken;
    }
    std::string current;
    while (!text.empty() && broken.lines.size() < allowed) {
        const std::size_t blank = text.find(' ');
        const std::string_view word = text.substr(0, blank);
        if (!current.empty() && dc.GetTextExtentPoint32(current + std::string(word)).cx > width) {
            broken.lines.push_back(std::move(current));
            current.clear();
            continue;
        }
        current.append(word);
        if (blank == std::string_view::npos) {
            text = {};
        } else {
            current.push_back(' ');
            text = Trimmed(text.substr(blank));
        }
    }
    if (!current.empty()) {
        broken.lines.push_back(std::move(current));
    }
    if (!text.empty()) {
        broken.lines.emplace_back(text);
    }
    return broken;
}
