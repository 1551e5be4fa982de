// A hosted control's protected state, read and set by its tests through the window the module
// made.
#pragma once

#include <utility>

#include "tests/controls/common/hosted_control.h"

// The module made the control, so the object is of the control's class and of no class derived
// from it. A test's state class derives from the control only to make member names public; a
// pointer to such a member points into a base of the control, so it is used on the control
// itself and the object is never taken for a class it is not.
template <class Control>
class CControlState : public CHostedControl {
  public:
    Control& Ctrl() { return static_cast<Control&>(*window_); }

    template <class Value, class Owner>
    Value& Member(Value Owner::*member) {
        return Ctrl().*member;
    }

    template <class Method, class... Args>
    decltype(auto) Invoke(Method method, Args&&... args) {
        return (Ctrl().*method)(std::forward<Args>(args)...);
    }
};
