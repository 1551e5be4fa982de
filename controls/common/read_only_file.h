// Layout files opened for reading only: a layout installed read-only (a package's, under
// /usr/share) opens like any other, and nothing here can change a file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

struct FileCloser {
    // A failed close of a file only read from loses nothing.
    void operator()(std::FILE* f) const {
        std::fclose(f);  // NOLINT(cppcoreguidelines-owning-memory): the pointer owned it
    }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

struct ReadOnlyFile {
    FilePtr file;
    std::uintmax_t size = 0;  // the length when it was opened
};

// Opens a regular file for reading without blocking, so that naming a FIFO does not wait for a
// writer and a device is refused; nothing when it cannot be opened or is not a regular file.
std::optional<ReadOnlyFile> OpenReadOnlyFile(const std::string& path);

// Whether the file exists and grants nobody write permission: a user whom permissions do not
// stop (root) still must not replace it.
bool IsWriteProtectedFile(const std::string& path);
