// Key names of scripts turned into virtual-key codes, modifiers and typed text.
#include "tools/qorhost/key_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "platform/ui/messages.h"

namespace {

struct NamedKey {
    std::string_view name;
    UINT vk;
    std::string_view text;
};

constexpr std::array<NamedKey, 25> kNamedKeys{{
    {"tab", VK_TAB, "\t"},         {"enter", VK_RETURN, "\r"}, {"return", VK_RETURN, "\r"},
    {"escape", VK_ESCAPE, "\x1b"}, {"esc", VK_ESCAPE, "\x1b"}, {"backspace", VK_BACK, "\b"},
    {"space", VK_SPACE, " "},      {"pageup", VK_PRIOR, ""},   {"prior", VK_PRIOR, ""},
    {"pagedown", VK_NEXT, ""},     {"next", VK_NEXT, ""},      {"home", VK_HOME, ""},
    {"end", VK_END, ""},           {"left", VK_LEFT, ""},      {"up", VK_UP, ""},
    {"right", VK_RIGHT, ""},       {"down", VK_DOWN, ""},      {"insert", VK_INSERT, ""},
    {"ins", VK_INSERT, ""},        {"delete", VK_DELETE, ""},  {"del", VK_DELETE, ""},
    {"shift", VK_SHIFT, ""},       {"ctrl", VK_CONTROL, ""},   {"control", VK_CONTROL, ""},
    {"alt", VK_MENU, ""},
}};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::vector<std::string> SplitOnPlus(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t plus = text.find('+', start);
        if (plus == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, plus - start));
        start = plus + 1;
    }
}

std::optional<UINT> ModifierOf(const std::string& lower) {
    if (lower == "shift") {
        return FSHIFT;
    }
    if (lower == "ctrl" || lower == "control") {
        return FCONTROL;
    }
    if (lower == "alt") {
        return FALT;
    }
    return std::nullopt;
}

std::optional<KeyStroke> FunctionKey(const std::string& lower) {
    if (lower.size() < 2 || lower.size() > 3 || lower[0] != 'f') {
        return std::nullopt;
    }
    int number = 0;
    for (std::size_t i = 1; i < lower.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(lower[i])) == 0) {
            return std::nullopt;
        }
        number = number * 10 + (lower[i] - '0');
    }
    if (number < 1 || number > 24) {
        return std::nullopt;
    }
    return KeyStroke{VK_F1 + static_cast<UINT>(number - 1), 0, ""};
}

// A letter or digit: its upper-case code is the virtual key; what it types depends on Shift
// and Ctrl.
std::optional<KeyStroke> CharacterKey(std::string_view name, UINT modifiers) {
    if (name.size() != 1 || std::isalnum(static_cast<unsigned char>(name[0])) == 0) {
        return std::nullopt;
    }
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    KeyStroke stroke{static_cast<UINT>(upper), modifiers, ""};
    const bool letter = std::isalpha(static_cast<unsigned char>(upper)) != 0;
    if ((modifiers & FALT) != 0) {
        return stroke;
    }
    if ((modifiers & FCONTROL) != 0) {
        if (letter) {
            stroke.text = std::string(1, static_cast<char>(upper - 'A' + 1));
        }
        return stroke;
    }
    const bool shifted = (modifiers & FSHIFT) != 0;
    stroke.text =
        std::string(1, letter && !shifted ? static_cast<char>(std::tolower(upper)) : upper);
    return stroke;
}

std::optional<KeyStroke> KeyOf(std::string_view name, UINT modifiers) {
    const std::string lower = Lower(name);
    for (const NamedKey& key : kNamedKeys) {
        if (key.name == lower) {
            // With Control or Alt a key is a command and types nothing.
            const bool types = (modifiers & (FCONTROL | FALT)) == 0;
            return KeyStroke{key.vk, modifiers, types ? std::string(key.text) : std::string()};
        }
    }
    if (std::optional<KeyStroke> function = FunctionKey(lower)) {
        function->modifiers = modifiers;
        return function;
    }
    return CharacterKey(name, modifiers);
}

}  // namespace

std::optional<UINT> ParseModifiers(std::string_view names) {
    UINT modifiers = 0;
    if (names.empty()) {
        return modifiers;
    }
    for (const std::string& part : SplitOnPlus(names)) {
        const std::optional<UINT> modifier = ModifierOf(Lower(part));
        if (!modifier) {
            return std::nullopt;
        }
        modifiers |= *modifier;
    }
    return modifiers;
}

std::optional<KeyStroke> ParseKeyStroke(std::string_view name) {
    const std::vector<std::string> parts = SplitOnPlus(name);
    UINT modifiers = 0;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const std::optional<UINT> modifier = ModifierOf(Lower(parts[i]));
        if (!modifier) {
            return std::nullopt;
        }
        modifiers |= *modifier;
    }
    return KeyOf(parts.back(), modifiers);
}
