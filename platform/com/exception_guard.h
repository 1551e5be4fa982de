// The one guard that keeps C++ exceptions from crossing a boundary that takes none: interface and
// dispatch methods, message handlers and the data-access object model. Failures become results.
#pragma once

#include <string_view>
#include <type_traits>
#include <utility>

#include "platform/com/hresult.h"

// For use inside a catch block: the failing result of the exception being handled, E_OUTOFMEMORY
// when memory ran out and E_UNEXPECTED otherwise. The exception is logged once to standard
// error, naming the boundary that stopped it, so that nothing is swallowed silently.
HRESULT CaughtExceptionResult(std::string_view boundary) noexcept;

// Runs work that reports by an HRESULT; an exception becomes its failing result.
template <class Work>
HRESULT GuardResult(std::string_view boundary, Work&& work) noexcept {
    try {
        return std::forward<Work>(work)();
    } catch (...) {
        return CaughtExceptionResult(boundary);
    }
}

struct IgnoreFailure {
    void operator()(HRESULT /*hr*/) const noexcept {}
};

// Runs work that reports by another value (false, -1, nothing); an exception gives `failed`,
// after onFailure has seen its failing result (to keep a last error text, say).
template <class Result, class Work, class OnFailure = IgnoreFailure>
Result GuardValue(std::string_view boundary, Result failed, Work&& work,
                  OnFailure&& onFailure = {}) noexcept {
    static_assert(std::is_nothrow_invocable_v<OnFailure, HRESULT>,
                  "a failure hook runs inside the guard and must not throw");
    try {
        return std::forward<Work>(work)();
    } catch (...) {
        onFailure(CaughtExceptionResult(boundary));
        return failed;
    }
}

// Runs a handler that has no result; an exception leaves things as the handler left them.
template <class Work, class OnFailure = IgnoreFailure>
void GuardHandler(std::string_view boundary, Work&& work, OnFailure&& onFailure = {}) noexcept {
    static_assert(std::is_nothrow_invocable_v<OnFailure, HRESULT>,
                  "a failure hook runs inside the guard and must not throw");
    try {
        std::forward<Work>(work)();
    } catch (...) {
        onFailure(CaughtExceptionResult(boundary));
    }
}

// Runs an operation of any result but an HRESULT (whose value-initialised S_OK would report a
// failure as success): an exception gives false, 0, an empty value or nothing.
template <class Work, class OnFailure = IgnoreFailure>
auto GuardOperation(std::string_view boundary, Work&& work, OnFailure&& onFailure = {}) noexcept {
    using Result = decltype(work());
    if constexpr (std::is_void_v<Result>) {
        GuardHandler(boundary, std::forward<Work>(work), std::forward<OnFailure>(onFailure));
    } else {
        return GuardValue(boundary, Result(), std::forward<Work>(work),
                          std::forward<OnFailure>(onFailure));
    }
}
