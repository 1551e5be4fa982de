// The face-name mapping the platform ships, given to fontconfig before any font is made.
#include "platform/gdi/fonts.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Installed, the mapping lies under share/qor beside the library's lib folder; a build that is
// not installed uses the source tree's.
std::string FontConfigurationFile() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&PrepareFontConfiguration), &info) != 0 &&
        info.dli_fname != nullptr) {
        const std::filesystem::path installed =
            std::filesystem::path(info.dli_fname).parent_path() / "../share/qor/fonts.conf";
        std::error_code error;
        if (std::filesystem::is_regular_file(installed, error)) {
            return installed.lexically_normal().string();
        }
    }
    return QOR_FONTCONFIG_FILE;
}

}  // namespace

void PrepareFontConfiguration() {
    setenv("FONTCONFIG_FILE", FontConfigurationFile().c_str(), 0);
}
