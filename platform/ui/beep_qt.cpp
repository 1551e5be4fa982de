// The desktop's alert sound.
#include <QApplication>

#include "platform/ui/wnd.h"

namespace {

unsigned g_beeps = 0;

}  // namespace

bool MessageBeep(UINT /*type*/) {
    ++g_beeps;
    QApplication::beep();
    return true;
}

unsigned MessageBeepCount() {
    return g_beeps;
}
