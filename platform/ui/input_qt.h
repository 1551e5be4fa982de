// Translation of Qt input to the platform's messages: virtual-key codes, mouse and key flags.
#pragma once

#include <Qt>

#include "platform/gdi/types.h"

// 0 for keys without a virtual-key code of their own.
UINT VirtualKeyFromQt(int qtKey);
// The Qt key that produces the virtual key; Qt::Key_unknown when there is none.
int QtKeyFromVirtualKey(UINT vk);
// MK_ flags of a mouse message.
UINT MouseFlagsFromQt(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
// FSHIFT, FCONTROL and FALT of an accelerator match.
UINT ModifiersFromQt(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers QtModifiersFromFlags(UINT modifiers);
// Remembers the modifiers of the input message being handled, for GetKeyState.
void NoteKeyboardModifiers(Qt::KeyboardModifiers modifiers);
