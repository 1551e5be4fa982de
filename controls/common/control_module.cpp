// The module's exports behind QOR_CONTROL_MODULE: self-registration into the class registry,
// the class factories and the unload test over the module's own counts.
#include "controls/common/control_module.h"

#include <dlfcn.h>

#include <atomic>
#include <filesystem>
#include <new>

#include "platform/com/class_registration.h"

namespace {

// Each module links its own copy of the frame, so these count that module's objects only.
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

class CModuleClassFactory final : public CUnknownImpl<IClassFactory> {
  public:
    explicit CModuleClassFactory(ModuleCreateFunction create) : m_create(create) {
        control_module::CountObject(1);
    }
    ~CModuleClassFactory() override { control_module::CountObject(-1); }
    CModuleClassFactory(const CModuleClassFactory&) = delete;
    CModuleClassFactory& operator=(const CModuleClassFactory&) = delete;

    HRESULT CreateInstance(IUnknown* outer, const IID& riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        return outer != nullptr ? CLASS_E_NOAGGREGATION : m_create(riid, object);
    }
    HRESULT LockServer(BOOL lock) override {
        control_module::LockServer(lock != 0);
        return S_OK;
    }

  private:
    ModuleCreateFunction m_create;
};

HRESULT MakeFactory(ModuleCreateFunction create, CComPtr<CModuleClassFactory>& factory) {
    try {
        factory = MakeComObject<CModuleClassFactory>(create);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

TypeLibRegistration TypeLibOf(const ControlClassInfo& info, const std::string& path) {
    TypeLibRegistration lib;
    lib.libid = info.typeLibId;
    lib.name = info.name + " ActiveX Control module";
    lib.modulePath = path;
    lib.helpFile = info.name + ".hlp";
    lib.interfaces = {{info.dispatchIid, "_D" + info.name},
                      {info.eventsIid, "_D" + info.name + "Events"}};
    return lib;
}

ControlClassRegistration ControlClassOf(const ControlClassInfo& info, const std::string& path) {
    ControlClassRegistration control;
    control.clsid = info.clsid;
    control.progId = info.progId;
    control.typeName = ControlModuleString(info, IDS_CONTROL_TYPENAME);
    control.modulePath = path;
    control.toolboxBitmapId = IDB_TOOLBOX;
    control.flags = afxRegInsertable | afxRegApartmentThreading;
    control.miscStatus = kControlMiscStatus;
    control.typeLibId = info.typeLibId;
    return control;
}

ControlModuleRegistration ModuleOf(const ControlClassInfo& info, const std::string& path) {
    return {TypeLibOf(info, path), ControlClassOf(info, path), info.pageClsid,
            ControlModuleString(info, IDS_PAGE_TYPENAME)};
}

// The library must be describable before it is registered as loadable from this module.
bool TypeLibBuilds(const ControlModuleClasses& classes) {
    CComPtr<ITypeLib> lib;
    return SUCCEEDED(ControlModuleGetTypeLib(classes, lib.ReleaseAndGetAddressOf()));
}

}  // namespace

namespace control_module {

void CountObject(int delta) {
    g_objects.fetch_add(delta, std::memory_order_acq_rel);
}

void LockServer(bool lock) {
    g_locks.fetch_add(lock ? 1 : -1, std::memory_order_acq_rel);
}

bool CanUnload() {
    return g_objects.load(std::memory_order_acquire) == 0 &&
           g_locks.load(std::memory_order_acquire) <= 0;
}

std::string ModulePath() {
    Dl_info where{};
    if (::dladdr(reinterpret_cast<void*>(&ModulePath), &where) == 0 ||  // NOLINT: an address
        where.dli_fname == nullptr || *where.dli_fname == '\0') {
        return {};
    }
    std::error_code error;
    const std::filesystem::path path = std::filesystem::weakly_canonical(where.dli_fname, error);
    return error ? std::string(where.dli_fname) : path.string();
}

}  // namespace control_module

HRESULT ControlModuleRegisterServer(const ControlModuleClasses& classes) {
    const std::string path = control_module::ModulePath();
    if (path.empty() || !TypeLibBuilds(classes)) {
        return SELFREG_E_TYPELIB;
    }
    return RegisterControlModule(ModuleOf(classes.info, path));
}

HRESULT ControlModuleUnregisterServer(const ControlModuleClasses& classes) {
    return UnregisterControlModule(ModuleOf(classes.info, control_module::ModulePath()));
}

HRESULT ControlModuleGetClassObject(const ControlModuleClasses& classes, const CLSID& clsid,
                                    const IID& riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    ModuleCreateFunction create = nullptr;
    if (clsid == classes.info.clsid) {
        create = classes.createControl;
    } else if (clsid == classes.info.pageClsid) {
        create = classes.createPage;
    } else {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    CComPtr<CModuleClassFactory> factory;
    const HRESULT hr = MakeFactory(create, factory);
    return FAILED(hr) ? hr : factory->QueryInterface(riid, object);
}

HRESULT ControlModuleCanUnloadNow() {
    return control_module::CanUnload() ? S_OK : S_FALSE;
}

HRESULT ControlModuleGetTypeLib(const ControlModuleClasses& classes, ITypeLib** lib) {
    try {
        return CreateTypeLib(ControlTypeLibDescription(classes.info, classes.members), lib);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ControlModuleLoadImage(const ControlModuleClasses& classes, UINT type, UINT id,
                               CBitmap* image) {
    if (image == nullptr) {
        return E_POINTER;
    }
    if (type != IMAGE_BITMAP && type != IMAGE_ICON) {
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND);
    }
    try {
        std::optional<CBitmap> made = ControlModuleImage(classes.info, type, id);
        if (!made) {
            return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);
        }
        *image = std::move(*made);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT ControlModuleRegisterInProcess(const ControlModuleClasses& classes,
                                       std::vector<DWORD>* cookies) {
    if (cookies == nullptr) {
        return E_POINTER;
    }
    for (const auto& [clsid, create] : {std::pair{classes.info.clsid, classes.createControl},
                                        std::pair{classes.info.pageClsid, classes.createPage}}) {
        CComPtr<CModuleClassFactory> factory;
        DWORD cookie = 0;
        HRESULT hr = MakeFactory(create, factory);
        if (SUCCEEDED(hr)) {
            hr = CoRegisterClassObject(clsid, factory->GetUnknown(), CLSCTX_INPROC_SERVER,
                                       REGCLS_MULTIPLEUSE, &cookie);
        }
        if (FAILED(hr)) {
            return hr;
        }
        cookies->push_back(cookie);
    }
    return RegisterProgID(classes.info.progId, classes.info.clsid);
}
