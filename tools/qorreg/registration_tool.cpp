// qorreg's work: argument parsing, loading the module, calling DllRegisterServer or
// DllUnregisterServer, and the message and exit status for each outcome.
#include "tools/qorreg/registration_tool.h"

#include <cstdio>
#include <filesystem>

#include "platform/com/class_registry.h"
#include "platform/com/error_message.h"
#include "platform/com/module_loader.h"

namespace {

constexpr const char* kUsage =
    "usage: qorreg [-u] MODULE\n"
    "  registers the control module MODULE in the class registry, or with -u removes it\n"
    "  (the registry is $QOR_REGISTRY, else $XDG_CONFIG_HOME/qor/registry)\n";

struct Request {
    bool unregister = false;
    std::string module;
};

bool ParseArgs(const std::vector<std::string>& args, Request& request) {
    for (const std::string& arg : args) {
        if (arg == "-u") {
            request.unregister = true;
        } else if (arg.starts_with("-") || !request.module.empty()) {
            return false;
        } else {
            request.module = arg;
        }
    }
    return !request.module.empty();
}

std::string HexCode(HRESULT hr) {
    char text[16];  // NOLINT(*-avoid-c-arrays): a fixed formatting buffer
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
    return text;
}

// A damaged or unwritable registry explains a failure better than the code does. An update
// that changes nothing meets what the module's own updates met: the damage, the lock or the
// write.
void ExplainRegistry(std::ostream& err) {
    RegistryProblem problem;
    if (FAILED(UpdateClassRegistry([](CRegistryKeys&) { return S_OK; }, &problem))) {
        err << "qorreg: the class registry cannot be used: " << problem.Describe() << "\n";
    }
}

int ReportResult(HRESULT hr, const std::string& entry, const Request& request, std::ostream& out,
                 std::ostream& err) {
    if (SUCCEEDED(hr)) {
        out << "qorreg: " << entry << " in " << request.module << " succeeded.\n";
        return kQorregOk;
    }
    const std::string what = request.unregister ? "unregistered" : "registered";
    err << "qorreg: " << entry << " in " << request.module << " failed with " << HexCode(hr)
        << ": ";
    if (hr == SELFREG_E_TYPELIB) {
        err << "the type library could not be " << what << ".\n";
    } else if (hr == SELFREG_E_CLASS) {
        err << "the classes could not be " << what << ".\n";
    } else {
        err << ComErrorMessage(hr) << "\n";
    }
    ExplainRegistry(err);
    return hr == SELFREG_E_TYPELIB ? kQorregTypeLibFailed
           : hr == SELFREG_E_CLASS ? kQorregClassFailed
                                   : kQorregFailed;
}

int Run(const Request& request, std::ostream& out, std::ostream& err) {
    void* module = nullptr;
    std::string problem;
    if (FAILED(CoLoadModule(request.module, &module, &problem))) {
        err << "qorreg: cannot load " << request.module << ": " << problem << "\n";
        return kQorregCannotLoad;
    }
    const char* entry = request.unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const auto call = reinterpret_cast<DllRegisterServerFunction>(  // NOLINT: an export
        CoModuleSymbol(module, entry));
    if (call == nullptr) {
        err << "qorreg: " << request.module << " was loaded, but its entry point " << entry
            << " was not found: it is not a self-registering module.\n";
        return kQorregNoEntryPoint;
    }
    return ReportResult(call(), entry, request, out, err);
}

}  // namespace

int RunQorreg(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Request request;
    if (!ParseArgs(args, request)) {
        err << kUsage;
        return kQorregUsage;
    }
    try {
        return Run(request, out, err);
    } catch (const std::exception& failure) {
        err << "qorreg: " << failure.what() << "\n";
        return kQorregFailed;
    }
}
