// Running a host script: the engine, the global `host`, the script's end and its exit code.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CControlHost;
class CScriptedDialogService;

struct ScriptRequest {
    std::string path;  // the file name errors are reported with
    std::string source;
    std::vector<std::string> args;
    CControlHost* controls = nullptr;
    // The service answering dialogs when headless; null with real dialogs.
    CScriptedDialogService* dialogs = nullptr;
    // Where host.log writes; standard output when empty.
    std::function<void(const std::string&)> log;
};

struct ScriptResult {
    // host.exit's code, 0 when the script ran to its end, 1 when it failed.
    int exitCode = 0;
    // For a failure: "FILE:LINE: Uncaught <error>".
    std::string error;
};

ScriptResult RunScript(const ScriptRequest& request);
// Reads the file into request.source first; a file that cannot be read fails with 1.
ScriptResult RunScriptFile(ScriptRequest request);
