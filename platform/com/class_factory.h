// Object creation by class id and ProgID: COM initialisation per thread, class factories, and
// the registration of classes implemented in this process. Classes from elsewhere (the class
// registry and the modules it names) come in through a CClassSource behind the same calls.
#pragma once

#include <memory>
#include <string_view>

#include "platform/com/com_ptr.h"
#include "platform/com/exception_guard.h"
#include "platform/com/unknown.h"

struct IClassFactory : IUnknown {
    static constexpr IID iid = MakeGuid("{00000001-0000-0000-C000-000000000046}");
    using InterfaceBase = IUnknown;

    // outer is the controlling object of an aggregate; CLASS_E_NOAGGREGATION when the class
    // cannot be aggregated.
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& riid, void** object) = 0;
    // Keeps the module loaded while locked.
    virtual HRESULT LockServer(BOOL lock) = 0;

  protected:
    ~IClassFactory() = default;
};

inline constexpr const IID& IID_IClassFactory = IClassFactory::iid;

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

constexpr DWORD REGCLS_SINGLEUSE = 0;
constexpr DWORD REGCLS_MULTIPLEUSE = 1;
constexpr DWORD REGCLS_MULTI_SEPARATE = 2;

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// Counted per thread: S_OK for the first call, S_FALSE for further ones, RPC_E_CHANGED_MODE
// when a thread asks for the other threading model. Object creation does not insist on it:
// every call below works on a thread that never initialised COM.
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, DWORD coInit);
void CoUninitialize();

// Registers a factory (any object answering IClassFactory) for the class id; the cookie
// revokes it. A later registration of the same class id wins until it is revoked.
HRESULT CoRegisterClassObject(const CLSID& clsid, IUnknown* factory, DWORD clsContext, DWORD flags,
                              DWORD* cookie);
HRESULT CoRevokeClassObject(DWORD cookie);
// The ProgID (compared without regard to case) names the class for CLSIDFromProgID.
HRESULT RegisterProgID(std::string_view progId, const CLSID& clsid);
HRESULT UnregisterProgID(std::string_view progId);

// CO_E_CLASSSTRING for a ProgID nobody knows.
HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
// A braced class id or a ProgID.
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);

// REGDB_E_CLASSNOTREG when no factory for the class serves one of the contexts asked for
// (this process serves the in-process ones).
HRESULT CoGetClassObject(const CLSID& clsid, DWORD clsContext, void* serverInfo, const IID& riid,
                         void** object);
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, DWORD clsContext, const IID& riid,
                         void** object);

// Puts an object into its running state; objects in this process are running from creation.
HRESULT OleRun(IUnknown* object);

// Outstanding LockServer locks of this module.
std::int64_t ModuleLockCount();

// Where classes come from that this process has not registered: consulted by CLSIDFromProgID,
// CoGetClassObject and CoCreateInstance after the in-process registrations.
class CClassSource {
  public:
    virtual ~CClassSource() = default;
    virtual HRESULT GetClassObject(const CLSID& clsid, DWORD clsContext, const IID& riid,
                                   void** object) = 0;
    virtual HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid) = 0;
};

// Installs the source (null: in-process classes only).
void SetClassSource(std::shared_ptr<CClassSource> source);

namespace com_detail {
void LockModule(bool lock);
}  // namespace com_detail

// The factory of a class T built on CUnknownImpl and default-constructible; aggregation is not
// offered.
template <class T>
class CClassFactory final : public CUnknownImpl<IClassFactory> {
  public:
    HRESULT CreateInstance(IUnknown* outer, const IID& riid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        return GuardResult("class factory", [&] {
            const CComPtr<T> instance = MakeComObject<T>();
            return instance->QueryInterface(riid, object);
        });
    }
    HRESULT LockServer(BOOL lock) override {
        com_detail::LockModule(lock != 0);
        return S_OK;
    }
};

// Registers T's factory under the class id and, when given, the ProgID.
template <class T>
HRESULT RegisterInProcessClass(const CLSID& clsid, std::string_view progId, DWORD* cookie) {
    CComPtr<CClassFactory<T>> factory;
    const HRESULT made = GuardResult("class factory", [&] {
        factory = MakeComObject<CClassFactory<T>>();
        return S_OK;
    });
    if (FAILED(made)) {
        return made;
    }
    HRESULT hr = CoRegisterClassObject(clsid, factory->GetUnknown(), CLSCTX_INPROC_SERVER,
                                       REGCLS_MULTIPLEUSE, cookie);
    if (SUCCEEDED(hr) && !progId.empty()) {
        hr = RegisterProgID(progId, clsid);
        if (FAILED(hr)) {
            CoRevokeClassObject(*cookie);
        }
    }
    return hr;
}
