// Virtual-key codes and message flags from Qt's keys, buttons and modifiers, and back.
#include "platform/ui/input_qt.h"

#include <array>
#include <utility>

#include "platform/ui/messages.h"
#include "platform/ui/wnd.h"

namespace {

constexpr std::array<std::pair<int, UINT>, 20> kNamedKeys{{
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},      {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},     {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},   {Qt::Key_Delete, VK_DELETE},
}};

Qt::KeyboardModifiers g_modifiers;

}  // namespace

UINT VirtualKeyFromQt(int qtKey) {
    for (const auto& [key, vk] : kNamedKeys) {
        if (key == qtKey) {
            return vk;
        }
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return static_cast<UINT>(qtKey);  // Qt's codes for these are their ASCII upper case
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return VK_F1 + static_cast<UINT>(qtKey - Qt::Key_F1);
    }
    return 0;
}

int QtKeyFromVirtualKey(UINT vk) {
    for (const auto& [key, code] : kNamedKeys) {
        if (code == vk) {
            return key;
        }
    }
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return static_cast<int>(vk);
    }
    if (vk >= VK_F1 && vk < VK_F1 + 24) {
        return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    }
    return Qt::Key_unknown;
}

UINT MouseFlagsFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    UINT flags = 0;
    if (buttons & Qt::LeftButton) {
        flags |= MK_LBUTTON;
    }
    if (buttons & Qt::RightButton) {
        flags |= MK_RBUTTON;
    }
    if (buttons & Qt::MiddleButton) {
        flags |= MK_MBUTTON;
    }
    if (modifiers & Qt::ShiftModifier) {
        flags |= MK_SHIFT;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= MK_CONTROL;
    }
    return flags;
}

UINT ModifiersFromQt(Qt::KeyboardModifiers modifiers) {
    UINT flags = 0;
    if (modifiers & Qt::ShiftModifier) {
        flags |= FSHIFT;
    }
    if (modifiers & Qt::ControlModifier) {
        flags |= FCONTROL;
    }
    if (modifiers & Qt::AltModifier) {
        flags |= FALT;
    }
    return flags;
}

Qt::KeyboardModifiers QtModifiersFromFlags(UINT modifiers) {
    Qt::KeyboardModifiers result;
    if (modifiers & FSHIFT) {
        result |= Qt::ShiftModifier;
    }
    if (modifiers & FCONTROL) {
        result |= Qt::ControlModifier;
    }
    if (modifiers & FALT) {
        result |= Qt::AltModifier;
    }
    return result;
}

void NoteKeyboardModifiers(Qt::KeyboardModifiers modifiers) {
    g_modifiers = modifiers;
}

short GetKeyState(UINT vk) {
    constexpr short down = -128;
    switch (vk) {
        case VK_SHIFT:
            return (g_modifiers & Qt::ShiftModifier) ? down : 0;
        case VK_CONTROL:
            return (g_modifiers & Qt::ControlModifier) ? down : 0;
        case VK_MENU:
            return (g_modifiers & Qt::AltModifier) ? down : 0;
        default:
            return 0;
    }
}
