// Helpers of the host tests: a folder of one's own, the sample database, and scripts run in
// this process with their log lines collected.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/ado.h"
#include "platform/com/module_loader.h"
#include "tests/temp_folder.h"
#include "tools/qorhost/control_host.h"
#include "tools/qorhost/script_runner.h"

inline std::string SampleDatabase() {
    const char* path = std::getenv("QOR_SAMPLE_DB");  // NOLINT(concurrency-mt-unsafe)
    return path != nullptr ? path : "";
}

// A copy of the sample database in the folder, so that a test may change it.
inline std::string CopySample(const TempFolder& folder) {
    return folder.Copy(SampleDatabase(), "sample.db");
}

// A script run in this process against a host window of its own.
struct ScriptRun {
    ScriptResult result;
    std::vector<std::string> log;
};

inline ScriptRun RunSource(const std::string& source, std::vector<std::string> args = {},
                           CScriptedDialogService* dialogs = nullptr,
                           CControlHost* controls = nullptr) {
    RegisterAdoClasses();
    CControlHost ownHost;
    if (controls == nullptr) {
        ownHost.CreateArea("test host", SIZE{400, 300});
        controls = &ownHost;
    }
    ScriptRun run;
    ScriptRequest request;
    request.path = "test.js";
    request.source = source;
    request.args = std::move(args);
    request.controls = controls;
    request.dialogs = dialogs;
    request.log = [&run](const std::string& line) { run.log.push_back(line); };
    run.result = RunScript(request);
    return run;
}

// Registers the test module's classes into the registry file and makes the registry the
// source of classes; true when that worked.
inline bool RegisterTestModule(const std::string& registryFile) {
    setenv("QOR_REGISTRY", registryFile.c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
    void* module = nullptr;
    if (FAILED(CoLoadModule(QOR_TEST_MODULE, &module))) {
        return false;
    }
    const auto registerServer =
        reinterpret_cast<DllRegisterServerFunction>(CoModuleSymbol(module, "DllRegisterServer"));
    if (registerServer == nullptr || registerServer() != S_OK) {
        return false;
    }
    UseClassRegistry();
    return true;
}
