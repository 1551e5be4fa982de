// Keeps exceptions inside the object model: a member runs its work through Guard, so that
// memory running out becomes E_OUTOFMEMORY and anything else E_UNEXPECTED, never a throw.
#pragma once

#include <new>

#include "platform/com/hresult.h"

template <class Work>
HRESULT Guard(Work&& work) noexcept {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
