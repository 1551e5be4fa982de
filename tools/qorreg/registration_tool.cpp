// qorreg's work: argument parsing, loading the module, calling DllRegisterServer or
// DllUnregisterServer in the chosen layer of the registry, the message and exit status for
// each outcome, and the list of registered classes.
#include "tools/qorreg/registration_tool.h"

#include <cstdio>
#include <filesystem>

#include "platform/com/class_registration.h"
#include "platform/com/class_registry_layers.h"
#include "platform/com/error_message.h"
#include "platform/com/module_loader.h"

namespace {

constexpr const char* kUsage =
    "usage: qorreg [--system] [-u] MODULE\n"
    "       qorreg --list\n"
    "  MODULE      registers the control module in the class registry\n"
    "  -u MODULE   removes the module's classes from the class registry\n"
    "  --system    in the system's registry, for every user of the machine: qor/registry in\n"
    "              the first folder of $XDG_CONFIG_DIRS (default /etc/xdg)\n"
    "  --list      lists every registered class: ProgID, class id, layer (user or system),\n"
    "              module, and whether a user's entry overrides the system's\n"
    "  The user's registry is $QOR_REGISTRY, else $XDG_CONFIG_HOME/qor/registry; its entries\n"
    "  override the system's.\n";

struct Request {
    bool unregister = false;
    bool list = false;
    RegistryLayer layer = RegistryLayer::User;
    std::string module;
};

bool ParseArgs(const std::vector<std::string>& args, Request& request) {
    for (const std::string& arg : args) {
        if (arg == "-u") {
            request.unregister = true;
        } else if (arg == "--system") {
            request.layer = RegistryLayer::System;
        } else if (arg == "--list") {
            request.list = true;
        } else if (arg.starts_with("-") || !request.module.empty()) {
            return false;
        } else {
            request.module = arg;
        }
    }
    if (request.list) {
        return request.module.empty() && !request.unregister &&
               request.layer == RegistryLayer::User;
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
void ExplainRegistry(RegistryLayer layer, std::ostream& err) {
    RegistryProblem problem;
    if (FAILED(UpdateClassRegistry([](CRegistryKeys&) { return S_OK; }, &problem, layer))) {
        err << "qorreg: the " << (layer == RegistryLayer::System ? "system " : "")
            << "class registry cannot be used: " << problem.Describe() << "\n";
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
    ExplainRegistry(request.layer, err);
    return hr == SELFREG_E_TYPELIB ? kQorregTypeLibFailed
           : hr == SELFREG_E_CLASS ? kQorregClassFailed
                                   : kQorregFailed;
}

// One line a class, its fields apart by tabs so that scripts can cut them: ProgID ("-" when
// it has none), class id, layer, module, and "overrides system" on a user's entry that does.
int List(std::ostream& out, std::ostream& err) {
    const CClassRegistryLayers layers;
    for (const RegisteredClass& entry : RegisteredClasses(layers)) {
        out << (entry.progId.empty() ? "-" : entry.progId) << '\t' << entry.clsid << '\t'
            << (entry.layer == RegistryLayer::System ? "system" : "user") << '\t'
            << entry.modulePath << (entry.overridesSystem ? "\toverrides system" : "") << '\n';
    }
    for (const RegistryProblem& problem : layers.Problems()) {
        err << "qorreg: the class registry cannot be read: " << problem.Describe() << "\n";
    }
    return SUCCEEDED(layers.Status()) ? kQorregOk : kQorregRegistryUnreadable;
}

int Run(const Request& request, std::ostream& out, std::ostream& err) {
    if (request.list) {
        return List(out, err);
    }
    SetRegistrationLayer(request.layer);
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
