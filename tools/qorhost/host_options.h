// The command line of qorhost: interactive by default, or a script run with --script.
#pragma once

#include <string>
#include <vector>

struct HostOptions {
    std::string scriptPath;  // empty: the interactive window
    bool headless = false;
    bool help = false;
    // Arguments after the script's path (or after "--"), handed to the script as host.args.
    std::vector<std::string> scriptArgs;
    std::string error;  // non-empty when the command line is wrong
};

// args: the arguments after the program name.
HostOptions ParseHostOptions(const std::vector<std::string>& args);
std::string HostUsage();

// Exit status for a wrong command line.
constexpr int kUsageExitCode = 2;
