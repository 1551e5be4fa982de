// A nested modal loop for a window, and the hook that lets a driver (a script host) act on the
// window once its loop runs.
#pragma once

#include <functional>

class CWnd;

// Waits for and dispatches events until done() is true or the window is gone; meanwhile mouse
// and key input for every other window of the program is dropped. done() is asked before the
// loop waits and after each batch of events. True when done() ended it.
bool RunModalLoop(CWnd& window, const std::function<bool()>& done);

// Called once each modal loop has started, before it first waits, with its window. When it
// answers true and done() is still false, the loop ends at once (false from RunModalLoop):
// a driver without a person at the keyboard must not leave it waiting.
using ModalLoopHook = std::function<bool(CWnd& window)>;
// Installs the hook (an empty one removes it); returns the one it replaces.
ModalLoopHook SetModalLoopHook(ModalLoopHook hook);
