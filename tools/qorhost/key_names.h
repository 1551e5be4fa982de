// Key names of scripts ("Tab", "Shift+Tab", "PageDown", "Ctrl+C") turned into the key a
// keyboard would send: its virtual-key code, modifiers and the text it types.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/gdi/types.h"

struct KeyStroke {
    UINT vk = 0;
    UINT modifiers = 0;  // FSHIFT, FCONTROL, FALT
    // What the key types, as the keyboard of the platform the controls were made for does:
    // "\t" for Tab, "\r" for Enter, control characters with Ctrl+letter, nothing for keys that
    // move or edit (Delete included).
    std::string text;
    friend bool operator==(const KeyStroke&, const KeyStroke&) = default;
};

// Names compare without regard to case; modifiers ("Shift", "Ctrl" or "Control", "Alt") come
// before the key, joined by '+'. Nothing for an unknown name.
std::optional<KeyStroke> ParseKeyStroke(std::string_view name);

// Modifier names alone ("", "Shift", "Ctrl+Shift"); nothing when one is unknown.
std::optional<UINT> ParseModifiers(std::string_view names);
