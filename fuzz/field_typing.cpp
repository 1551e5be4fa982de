// The typing rules: random keys typed into columns of random rules, each rule's invariant
// checked after every key; dates typed through a date mask read back as the text typed; the
// edited text's caret stays inside its cell.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "controls/common/date_mask.h"
#include "controls/common/edited_text.h"
#include "controls/common/field_typing.h"
#include "fuzz/fuzz_support.h"
#include "platform/gdi/recording_dc.h"

namespace {

constexpr const char* kMasks[] = {"##/##/####", "##.##.####", "####-##-##", "(###) ###-####",
                                  "**-##",      "§#€*",       "",           "#"};
constexpr LCID kLocales[] = {0x0409, 0x0407, 0x040C, 0x0809};
constexpr std::int32_t kSizes[] = {
    std::numeric_limits<std::int32_t>::min(), -1, 0, 1, 2, 5, 10, 255,
    std::numeric_limits<std::int32_t>::max()};

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U;
}

// The text split into characters (UTF-8 sequences).
std::vector<std::string> Characters(std::string_view text) {
    std::vector<std::string> characters;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start + 1;
        while (end < text.size() && IsContinuation(text[end])) {
            ++end;
        }
        characters.emplace_back(text.substr(start, end - start));
        start = end;
    }
    return characters;
}

bool IsDigit(const std::string& c) {
    return c.size() == 1 && c[0] >= '0' && c[0] <= '9';
}

bool IsLetterDigitOrBlank(const std::string& c) {
    return c.size() == 1 && (IsDigit(c) || (c[0] >= 'A' && c[0] <= 'Z') ||
                             (c[0] >= 'a' && c[0] <= 'z') || c[0] == ' ');
}

void CheckText(const std::string& text, const TypingParameters& how) {
    FuzzRequire(Characters(text).size() <= static_cast<std::size_t>(std::max(how.maxSize, 0)),
                "a text is never longer than its limit", text);
}

void CheckMask(const std::string& text, const TypingParameters& how) {
    const std::vector<std::string> typed = Characters(text);
    const std::vector<std::string> slots = Characters(how.mask);
    FuzzRequire(typed.size() <= slots.size(), "a mask text is never longer than its mask", text);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const bool fits = slots[i] == "#"   ? IsDigit(typed[i])
                          : slots[i] == "*" ? IsLetterDigitOrBlank(typed[i])
                                            : typed[i] == slots[i];
        FuzzRequire(fits, "a mask text matches its mask", text + " / " + std::string(how.mask));
    }
}

void CheckNumeric(const std::string& text, const TypingParameters& how) {
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string decimals = point == std::string::npos ? "" : text.substr(point + 1);
    for (const std::string& part : {whole, decimals}) {
        for (const char c : part) {
            FuzzRequire(c >= '0' && c <= '9', "a numeric text is digits and one point", text);
        }
    }
    const std::string digits =
        std::to_string(how.wholeDigits) + "," + std::to_string(how.decimalDigits);
    FuzzRequire(std::int64_t(whole.size()) <= std::max(how.wholeDigits, 0),
                "a numeric text keeps its whole digits", text + " / " + digits);
    FuzzRequire(std::int64_t(decimals.size()) <= std::max(how.decimalDigits, 0),
                "a numeric text keeps its decimal digits", text + " / " + digits);
}

void CheckRule(const std::string& text, const TypingParameters& how) {
    switch (how.rule) {
        case TypingRule::Text:
            CheckText(text, how);
            break;
        case TypingRule::Mask:
            CheckMask(text, how);
            break;
        case TypingRule::Numeric:
            CheckNumeric(text, how);
            break;
        case TypingRule::None:
            FuzzRequire(text.empty(), "a column without a rule takes no typing", text);
            break;
    }
}

unsigned NextKey(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return kBackspace;
        case 1:
            return static_cast<unsigned>(input.ConsumeIntegralInRange('0', '9'));
        case 2:
            return input.ConsumeBool() ? '.' : ' ';
        default:
            return input.ConsumeIntegral<unsigned>() % 0x110000U;
    }
}

void CheckDate(const std::string& text, std::string_view mask, LCID lcid) {
    const std::optional<DateMaskLayout> layout = DateLayoutOfMask(mask, lcid);
    if (!layout) {
        return;
    }
    const std::optional<DATE> date = ParseMaskedDate(text, *layout);
    if (date) {
        FuzzRequire(FormatMaskedDate(*date, *layout) == text,
                    "a date typed through its mask shows as typed", text);
    }
}

void CheckCaret(const std::string& text, FuzzedDataProvider& input) {
    const int left = input.ConsumeIntegralInRange(-100000, 100000);
    const int top = input.ConsumeIntegralInRange(-100000, 100000);
    const RECT cell{left, top, left + input.ConsumeIntegralInRange(0, 2000),
                    top + input.ConsumeIntegralInRange(0, 100)};
    CRecordingDC dc;
    const POINT caret = DrawEditedText(dc, text, cell, DT_VCENTER | DT_SINGLELINE);
    FuzzRequire(caret.x >= cell.left && caret.x <= cell.right && caret.y == cell.top,
                "the caret stays in its cell", text);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    StartHeadlessApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::int32_t code = input.ConsumeIntegralInRange(-1, 8);
    const bool designer = input.ConsumeBool();
    const std::string mask = input.ConsumeBool() ? std::string(input.PickValueInArray(kMasks))
                                                 : input.ConsumeRandomLengthString(24);
    TypingParameters how;
    how.rule = designer ? DesignerTypingRule(code) : ControlTypingRule(code);
    how.mask = mask;
    how.maxSize = input.PickValueInArray(kSizes);
    how.wholeDigits =
        input.ConsumeBool() ? input.PickValueInArray(kSizes) : input.ConsumeIntegralInRange(-3, 20);
    how.decimalDigits =
        input.ConsumeBool() ? input.PickValueInArray(kSizes) : input.ConsumeIntegralInRange(-3, 20);
    const LCID lcid = input.PickValueInArray(kLocales);
    std::string text;
    for (int keys = 0; keys < 64 && input.remaining_bytes() > 0; ++keys) {
        const std::string before = text;
        const bool taken = TypeIntoText(text, how, NextKey(input));
        FuzzRequire(taken || how.rule == TypingRule::Mask || text == before,
                    "a refused key leaves the text", before + " -> " + text);
        CheckRule(text, how);
        if (how.rule == TypingRule::Mask) {
            CheckDate(text, mask, lcid);
        }
    }
    CheckCaret(text, input);
    return 0;
}
