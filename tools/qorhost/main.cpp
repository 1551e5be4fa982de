// qorhost's entry point: the command line, the headless platform, the application.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/qorhost/host_app.h"

namespace {

// Without a display the toolkit would abort; say what to do instead.
bool HasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    HostOptions options = ParseHostOptions(args);
    if (!options.error.empty() || options.help) {
        const std::string text =
            options.help ? HostUsage() : "qorhost: " + options.error + "\n" + HostUsage();
        std::fputs(text.c_str(), options.help ? stdout : stderr);
        return options.help ? 0 : kUsageExitCode;
    }
    if (options.headless) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else if (!HasDisplay()) {
        std::fputs("qorhost: no display; run with --headless\n", stderr);
        return kUsageExitCode;
    }
    CHostApp app(std::move(options));
    return AfxWinMain(app, argc, argv);
}
