// The table of loaded modules, the registry class source and the loading of type libraries
// from the modules that carry them.
#include "platform/com/module_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <new>

#include "platform/com/class_registration.h"
#include "platform/com/class_registry_layers.h"
#include "platform/com/error_info.h"
#include "platform/com/type_info.h"

namespace {

struct ModuleTable {
    std::mutex mutex;
    // Modules stay loaded until they agree to go; at process exit they are left to the system,
    // since objects of theirs may still be released by other static destructors.
    std::map<std::string, void*> modules;
};

ModuleTable& Modules() {
    static ModuleTable table;
    return table;
}

template <class F>
F ExportOf(void* handle, const char* name) {
    return reinterpret_cast<F>(CoModuleSymbol(handle, name));  // NOLINT: exports are untyped
}

constexpr const char* kRegistrySource = "QOR class registry";

// A lookup that a damaged registry file fails: the error object tells where the damage is.
HRESULT ExplainRegistryFailure(HRESULT hr) {
    if (hr != REGDB_E_READREGDB) {
        return hr;
    }
    const CClassRegistryLayers layers;
    return FAILED(layers.Status())
               ? ReportComError(hr,
                                "The class registry cannot be read: " + layers.DescribeProblems(),
                                kRegistrySource)
               : hr;
}

class CRegistryClassSource final : public CClassSource {
  public:
    HRESULT GetClassObject(const CLSID& clsid, DWORD clsContext, const IID& riid,
                           void** object) override {
        if ((clsContext & CLSCTX_INPROC_SERVER) == 0) {
            return REGDB_E_CLASSNOTREG;
        }
        std::string path;
        HRESULT hr = RegistryInprocServer(clsid, &path);
        if (FAILED(hr)) {
            return ExplainRegistryFailure(hr);
        }
        void* handle = nullptr;
        std::string error;
        hr = CoLoadModule(path, &handle, &error);
        if (FAILED(hr)) {
            return ReportComError(hr, error, kRegistrySource);
        }
        const auto getClassObject =
            ExportOf<DllGetClassObjectFunction>(handle, "DllGetClassObject");
        if (getClassObject == nullptr) {
            return ReportComError(CO_E_ERRORINDLL, path + " has no DllGetClassObject",
                                  kRegistrySource);
        }
        return getClassObject(clsid, riid, object);
    }
    HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid) override {
        return ExplainRegistryFailure(RegistryCLSIDFromProgID(std::string(progId), clsid));
    }
};

}  // namespace

HRESULT CoLoadModule(const std::string& path, void** handle, std::string* error) {
    if (handle == nullptr) {
        return E_POINTER;
    }
    *handle = nullptr;
    try {
        std::error_code failure;
        const std::filesystem::path canonical = std::filesystem::canonical(path, failure);
        if (failure || !std::filesystem::is_regular_file(canonical, failure)) {
            if (error != nullptr) {
                *error = path + ": no such module file";
            }
            return CO_E_DLLNOTFOUND;
        }
        ModuleTable& table = Modules();
        const std::scoped_lock lock(table.mutex);
        auto& loaded = table.modules[canonical.string()];
        if (loaded == nullptr) {
            loaded = ::dlopen(canonical.c_str(), RTLD_NOW | RTLD_LOCAL);
        }
        if (loaded == nullptr) {
            const char* message = ::dlerror();
            if (error != nullptr) {
                *error = message != nullptr ? message : path + ": cannot be loaded";
            }
            table.modules.erase(canonical.string());
            return CO_E_ERRORINDLL;
        }
        *handle = loaded;
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

void* CoModuleSymbol(void* handle, const char* name) {
    return handle != nullptr ? ::dlsym(handle, name) : nullptr;
}

void CoFreeUnusedLibraries() {
    ModuleTable& table = Modules();
    const std::scoped_lock lock(table.mutex);
    std::erase_if(table.modules, [](const auto& entry) {
        const auto canUnloadNow =
            ExportOf<DllCanUnloadNowFunction>(entry.second, "DllCanUnloadNow");
        if (canUnloadNow == nullptr || canUnloadNow() != S_OK) {
            return false;
        }
        ::dlclose(entry.second);
        return true;
    });
}

std::size_t CoLoadedModuleCount() {
    ModuleTable& table = Modules();
    const std::scoped_lock lock(table.mutex);
    return table.modules.size();
}

void UseClassRegistry() {
    SetClassSource(std::make_shared<CRegistryClassSource>());
}

HRESULT LoadTypeLib(const std::string& modulePath, ITypeLib** lib) {
    if (lib == nullptr) {
        return E_POINTER;
    }
    *lib = nullptr;
    void* handle = nullptr;
    if (FAILED(CoLoadModule(modulePath, &handle))) {
        return TYPE_E_CANTLOADLIBRARY;
    }
    const auto getTypeLib = ExportOf<DllGetTypeLibFunction>(handle, kDllGetTypeLibName);
    if (getTypeLib == nullptr || FAILED(getTypeLib(lib)) || *lib == nullptr) {
        return TYPE_E_CANTLOADLIBRARY;
    }
    return S_OK;
}

HRESULT LoadRegTypeLib(const GUID& libid, WORD major, WORD minor, ITypeLib** lib) {
    if (lib == nullptr) {
        return E_POINTER;
    }
    *lib = nullptr;
    std::string path;
    const HRESULT hr = RegistryTypeLibPath(libid, major, minor, &path);
    return FAILED(hr) ? hr : LoadTypeLib(path, lib);
}
