// The in-process class table, ProgIDs, per-thread initialisation and object creation.
#include "platform/com/class_factory.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace {

struct Registration {
    CLSID clsid;
    CComPtr<IUnknown> factory;
};

// Registrations by cookie; cookies grow, so the newest registration of a class is the last.
struct ClassTable {
    std::mutex mutex;
    std::map<DWORD, Registration> classes;
    std::map<std::string, CLSID> progIds;
    DWORD nextCookie = 1;
    std::shared_ptr<CClassSource> source;
};

ClassTable& Table() {
    static ClassTable table;
    return table;
}

std::string ProgIdKey(std::string_view progId) {
    std::string key(progId);
    for (char& c : key) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

CComPtr<IUnknown> InProcessFactory(const CLSID& clsid) {
    ClassTable& table = Table();
    const std::lock_guard lock(table.mutex);
    for (auto it = table.classes.rbegin(); it != table.classes.rend(); ++it) {
        if (it->second.clsid == clsid) {
            return it->second.factory;
        }
    }
    return nullptr;
}

std::shared_ptr<CClassSource> Source() {
    ClassTable& table = Table();
    const std::lock_guard lock(table.mutex);
    return table.source;
}

struct ThreadState {
    int initialisations = 0;
    DWORD model = COINIT_APARTMENTTHREADED;
};

ThreadState& Thread() {
    thread_local ThreadState state;
    return state;
}

std::atomic<std::int64_t>& ModuleLocks() {
    static std::atomic<std::int64_t> locks{0};
    return locks;
}

}  // namespace

HRESULT CoInitialize(void* reserved) {
    return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED);
}

HRESULT CoInitializeEx(void* reserved, DWORD coInit) {
    if (reserved != nullptr || (coInit & ~COINIT_APARTMENTTHREADED) != 0) {
        return E_INVALIDARG;
    }
    ThreadState& state = Thread();
    if (state.initialisations > 0 && state.model != coInit) {
        return RPC_E_CHANGED_MODE;
    }
    state.model = coInit;
    return state.initialisations++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    ThreadState& state = Thread();
    if (state.initialisations > 0) {
        --state.initialisations;
    }
}

HRESULT CoRegisterClassObject(const CLSID& clsid, IUnknown* factory, DWORD clsContext,
                              DWORD /*flags*/, DWORD* cookie) {
    if (factory == nullptr || cookie == nullptr) {
        return E_INVALIDARG;
    }
    if ((clsContext & CLSCTX_INPROC) == 0) {
        return E_INVALIDARG;
    }
    ClassTable& table = Table();
    const std::lock_guard lock(table.mutex);
    *cookie = table.nextCookie++;
    table.classes.emplace(*cookie, Registration{clsid, CComPtr<IUnknown>(factory)});
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
    CComPtr<IUnknown> factory;  // released after the lock is given up
    ClassTable& table = Table();
    const std::lock_guard lock(table.mutex);
    const auto found = table.classes.find(cookie);
    if (found == table.classes.end()) {
        return E_INVALIDARG;
    }
    factory = std::move(found->second.factory);
    table.classes.erase(found);
    return S_OK;
}

HRESULT RegisterProgID(std::string_view progId, const CLSID& clsid) {
    if (progId.empty()) {
        return E_INVALIDARG;
    }
    ClassTable& table = Table();
    const std::lock_guard lock(table.mutex);
    table.progIds[ProgIdKey(progId)] = clsid;
    return S_OK;
}

HRESULT UnregisterProgID(std::string_view progId) {
    ClassTable& table = Table();
    const std::lock_guard lock(table.mutex);
    return table.progIds.erase(ProgIdKey(progId)) > 0 ? S_OK : S_FALSE;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
    if (progId == nullptr || clsid == nullptr) {
        return E_INVALIDARG;
    }
    *clsid = CLSID_NULL;
    {
        ClassTable& table = Table();
        const std::lock_guard lock(table.mutex);
        const auto found = table.progIds.find(ProgIdKey(progId));
        if (found != table.progIds.end()) {
            *clsid = found->second;
            return S_OK;
        }
    }
    const std::shared_ptr<CClassSource> source = Source();
    return source != nullptr ? source->CLSIDFromProgID(progId, clsid) : CO_E_CLASSSTRING;
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
    if (text == nullptr || clsid == nullptr) {
        return E_INVALIDARG;
    }
    if (text[0] != '{') {
        return CLSIDFromProgID(text, clsid);
    }
    const std::optional<GUID> parsed = ParseGuid(text);
    *clsid = parsed.value_or(CLSID_NULL);
    return parsed ? S_OK : CO_E_CLASSSTRING;
}

HRESULT CoGetClassObject(const CLSID& clsid, DWORD clsContext, void* /*serverInfo*/,
                         const IID& riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if ((clsContext & CLSCTX_INPROC) != 0) {
        if (const CComPtr<IUnknown> factory = InProcessFactory(clsid)) {
            return factory->QueryInterface(riid, object);
        }
    }
    const std::shared_ptr<CClassSource> source = Source();
    return source != nullptr ? source->GetClassObject(clsid, clsContext, riid, object)
                             : REGDB_E_CLASSNOTREG;
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD clsContext, const IID& riid,
                         void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    void* raw = nullptr;
    const HRESULT hr = CoGetClassObject(clsid, clsContext, nullptr, IClassFactory::iid, &raw);
    if (FAILED(hr)) {
        return hr;
    }
    CComPtr<IClassFactory> factory;
    factory.Attach(static_cast<IClassFactory*>(raw));
    return factory->CreateInstance(outer, riid, object);
}

HRESULT OleRun(IUnknown* object) {
    return object != nullptr ? S_OK : E_INVALIDARG;
}

std::int64_t ModuleLockCount() {
    return ModuleLocks().load();
}

void com_detail::LockModule(bool lock) {
    ModuleLocks().fetch_add(lock ? 1 : -1);
}

void SetClassSource(std::shared_ptr<CClassSource> source) {
    std::shared_ptr<CClassSource> previous;  // destroyed after the lock is given up
    ClassTable& table = Table();
    const std::lock_guard lock(table.mutex);
    previous = std::exchange(table.source, std::move(source));
}
