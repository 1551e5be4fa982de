// Padding of the list's fixed-pitch texts and the captions of its columns.
#include "controls/query/query_text.h"

#include <algorithm>
#include <cctype>

namespace {

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string PaddedTo(std::string_view text, std::size_t chars) {
    std::string padded(text);
    const std::size_t count = QueryCharCount(text);
    if (count < chars) {
        padded.append(chars - count, ' ');
    }
    return padded;
}

}  // namespace

int QueryColumnChars(int definedSize) {
    return std::clamp(definedSize, 0, kQueryMaxColumnChars);
}

std::string QueryHeaderText(std::string_view name, int definedSize) {
    return PaddedTo(name, static_cast<std::size_t>(QueryColumnChars(definedSize)) + 1);
}

std::string QueryValueText(std::string_view value, int definedSize) {
    return PaddedTo(TrimBlanks(value), static_cast<std::size_t>(QueryColumnChars(definedSize)));
}

std::string QueryCaption(std::string_view text) {
    std::string caption(TrimBlanks(text));
    if (!caption.empty()) {
        caption.front() =
            static_cast<char>(std::toupper(static_cast<unsigned char>(caption.front())));
    }
    std::replace(caption.begin(), caption.end(), '_', ' ');
    return caption;
}

std::size_t QueryCharCount(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

void DropLastChar(std::string& text) {
    while (!text.empty()) {
        const bool lead = !IsContinuationByte(text.back());
        text.pop_back();
        if (lead) {
            return;
        }
    }
}
