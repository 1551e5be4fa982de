// The fuzz targets' shared stop and scratch files.
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/temp_folder.h"

namespace {

// Removed when the process exits normally; a crash leaves it for a look.
const std::filesystem::path& ScratchPath() {
    static const TempFolder folder;
    FuzzRequire(std::filesystem::is_directory(folder.Path()), "a scratch folder is made",
                folder.Path().string());
    return folder.Path();
}

}  // namespace

void FuzzFail(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "\n*** invariant broken: %.*s\n", static_cast<int>(what.size()),
                 what.data());
    if (!detail.empty()) {
        std::fprintf(stderr, "*** detail: %.*s\n", static_cast<int>(detail.size()), detail.data());
    }
    std::fflush(stderr);
    std::abort();
}

std::string WriteScratchFile(std::string_view name, std::string_view text) {
    const std::string path = (ScratchPath() / name).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    FuzzRequire(out.good(), "the scratch file is written", path);
    return path;
}

std::string WriteScratchFile(std::string_view name, const std::uint8_t* data, std::size_t size) {
    return WriteScratchFile(
        name, std::string_view(reinterpret_cast<const char*>(data), size));  // NOLINT: bytes
}
