// Turning the exception being handled into a failing result, with its one log line.
#include "platform/com/exception_guard.h"

#include <cstdio>
#include <exception>
#include <new>

namespace {

void Log(std::string_view boundary, const char* what) noexcept {
    std::fprintf(stderr, "qor: %.*s stopped an exception: %s\n", static_cast<int>(boundary.size()),
                 boundary.data(), what);
}

}  // namespace

HRESULT CaughtExceptionResult(std::string_view boundary) noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        Log(boundary, "out of memory");
        return E_OUTOFMEMORY;
    } catch (const std::exception& error) {
        Log(boundary, error.what());
        return E_UNEXPECTED;
    } catch (...) {
        Log(boundary, "an exception of unknown type");
        return E_UNEXPECTED;
    }
}
