// What the fuzz targets share: a stop with a message when an invariant fails, a scratch file
// for readers that take a path, and the headless application that drawing needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Prints the message and aborts, so that libFuzzer keeps the input that broke the invariant.
[[noreturn]] void FuzzFail(std::string_view what, std::string_view detail = {});

inline void FuzzRequire(bool holds, std::string_view what, std::string_view detail = {}) {
    if (!holds) {
        FuzzFail(what, detail);
    }
}

// A path in the process's own scratch folder (removed at exit) holding exactly the bytes.
std::string WriteScratchFile(std::string_view name, const std::uint8_t* data, std::size_t size);
std::string WriteScratchFile(std::string_view name, std::string_view text);

// The offscreen application the drawing targets need, made once and kept for the process.
void StartHeadlessApplication();
