// Reading qorhost's command line.
#include "tools/qorhost/host_options.h"

namespace {

// Everything from `first` on belongs to the script.
void TakeScriptArgs(HostOptions& options, const std::vector<std::string>& args, std::size_t first) {
    options.scriptArgs.insert(options.scriptArgs.end(),
                              args.begin() + static_cast<std::ptrdiff_t>(first), args.end());
}

}  // namespace

HostOptions ParseHostOptions(const std::vector<std::string>& args) {
    HostOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            TakeScriptArgs(options, args, i + 1);
            break;
        }
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--script") {
            if (i + 1 >= args.size() || args[i + 1].empty() || !options.scriptPath.empty()) {
                options.error = "--script needs one file";
                return options;
            }
            options.scriptPath = args[++i];
        } else if (!options.scriptPath.empty() && !arg.starts_with("--")) {
            options.scriptArgs.push_back(arg);
        } else {
            options.error = "unknown argument \"" + arg + "\"";
            return options;
        }
    }
    if (!options.scriptArgs.empty() && options.scriptPath.empty()) {
        options.error = "script arguments without --script";
    }
    return options;
}

std::string HostUsage() {
    return "usage: qorhost [--headless]\n"
           "       qorhost --script FILE.js [--headless] [ARGUMENT...] [-- ARGUMENT...]\n"
           "Without --script, a window to insert registered controls and call their methods.\n"
           "With --script, runs the JavaScript file and exits with its exit code; the\n"
           "arguments after the file are the script's host.args.\n"
           "--headless: no display needed; dialogs are answered by the script.\n";
}
