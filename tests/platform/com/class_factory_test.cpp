// Creating objects by class id and ProgID, registration, the class source and initialisation.
#include <gtest/gtest.h>

#include <thread>

#include "platform/com/class_factory.h"
#include "platform/com/dispatch.h"

namespace {

struct IWidget : IUnknown {
    static constexpr IID iid = MakeGuid("{2B7D9E44-5555-4F10-9A3C-000000000001}");
    using InterfaceBase = IUnknown;
    virtual int Size() = 0;

  protected:
    ~IWidget() = default;
};

class CWidget final : public CUnknownImpl<IWidget> {
  public:
    int Size() override { return 12; }
};

constexpr CLSID kWidgetClass = MakeGuid("{2B7D9E44-5555-4F10-9A3C-0000000000C1}");
constexpr CLSID kRemoteClass = MakeGuid("{2B7D9E44-5555-4F10-9A3C-0000000000C2}");

// Registers the widget class for one test and revokes it after.
class WidgetRegistration {
  public:
    WidgetRegistration() {
        EXPECT_EQ(RegisterInProcessClass<CWidget>(kWidgetClass, "QorTest.Widget.1", &cookie_),
                  S_OK);
    }
    ~WidgetRegistration() {
        CoRevokeClassObject(cookie_);
        UnregisterProgID("QorTest.Widget.1");
    }
    WidgetRegistration(const WidgetRegistration&) = delete;
    WidgetRegistration& operator=(const WidgetRegistration&) = delete;
    DWORD Cookie() const { return cookie_; }

  private:
    DWORD cookie_ = 0;
};

// Stands for the class registry: knows one ProgID and hands out widget factories for it.
class CFakeRegistry final : public CClassSource {
  public:
    HRESULT GetClassObject(const CLSID& clsid, DWORD, const IID& riid, void** object) override {
        ++lookups;
        if (clsid != kRemoteClass) {
            return REGDB_E_CLASSNOTREG;
        }
        return MakeComObject<CClassFactory<CWidget>>()->QueryInterface(riid, object);
    }
    HRESULT CLSIDFromProgID(std::string_view progId, CLSID* clsid) override {
        if (progId != "Remote.Widget") {
            return CO_E_CLASSSTRING;
        }
        *clsid = kRemoteClass;
        return S_OK;
    }
    int lookups = 0;
};

}  // namespace

TEST(CoCreateInstance, CreatesRegisteredClassesByProgIdAndClassId) {
    const std::int64_t before = LiveComObjectCount();
    {
        const WidgetRegistration registration;
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID("qortest.WIDGET.1", &clsid), S_OK);
        EXPECT_EQ(clsid, kWidgetClass);

        void* raw = nullptr;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, &raw), S_OK);
        CComPtr<IUnknown> unknown;
        unknown.Attach(static_cast<IUnknown*>(raw));
        EXPECT_EQ(OleRun(unknown.Get()), S_OK);
        CComPtr<IWidget> widget;
        ASSERT_EQ(unknown.QueryInterface(widget), S_OK);
        EXPECT_EQ(widget->Size(), 12);

        ASSERT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_INPROC_SERVER, IWidget::iid, &raw),
                  S_OK);
        static_cast<IWidget*>(raw)->Release();
    }
    EXPECT_EQ(LiveComObjectCount(), before);
}

TEST(CoCreateInstance, RefusesWhatCannotBeServed) {
    const WidgetRegistration registration;
    void* raw = &raw;
    EXPECT_EQ(CoCreateInstance(kRemoteClass, nullptr, CLSCTX_ALL, IID_IUnknown, &raw),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(raw, nullptr);
    EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &raw),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IDispatch, &raw),
              E_NOINTERFACE);
    EXPECT_EQ(raw, nullptr);
    CComPtr<CWidget> outer = MakeComObject<CWidget>();
    EXPECT_EQ(CoCreateInstance(kWidgetClass, outer->GetUnknown(), CLSCTX_ALL, IID_IUnknown, &raw),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr),
              E_POINTER);

    CLSID clsid = kWidgetClass;
    EXPECT_EQ(CLSIDFromProgID("Nobody.Knows", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(clsid, CLSID_NULL);
}

TEST(CoCreateInstance, ForgetsRevokedClasses) {
    DWORD cookie = 0;
    {
        const WidgetRegistration registration;
        cookie = registration.Cookie();
    }
    void* raw = nullptr;
    EXPECT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IID_IUnknown, &raw),
              REGDB_E_CLASSNOTREG);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID("QorTest.Widget.1", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CoRevokeClassObject(cookie), E_INVALIDARG);
}

TEST(CoCreateInstance, AsksTheClassSourceForClassesItDoesNotHold) {
    const auto registry = std::make_shared<CFakeRegistry>();
    SetClassSource(registry);
    {
        const WidgetRegistration registration;
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID("Remote.Widget", &clsid), S_OK);
        void* raw = nullptr;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IWidget::iid, &raw), S_OK);
        static_cast<IWidget*>(raw)->Release();
        ASSERT_EQ(CoCreateInstance(kWidgetClass, nullptr, CLSCTX_ALL, IWidget::iid, &raw), S_OK);
        static_cast<IWidget*>(raw)->Release();
        EXPECT_EQ(registry->lookups, 1);  // in-process classes come first
    }
    SetClassSource(nullptr);
    CLSID clsid;
    EXPECT_EQ(CLSIDFromProgID("Remote.Widget", &clsid), CO_E_CLASSSTRING);
}

TEST(ClassFactory, ReadsClassIdsAndCountsLocks) {
    const WidgetRegistration registration;
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString("{2B7D9E44-5555-4F10-9A3C-0000000000C1}", &clsid), S_OK);
    EXPECT_EQ(clsid, kWidgetClass);
    EXPECT_EQ(CLSIDFromString("QorTest.Widget.1", &clsid), S_OK);
    EXPECT_EQ(clsid, kWidgetClass);
    EXPECT_EQ(CLSIDFromString("{2B7D9E44-5555-4F10-9A3C}", &clsid), CO_E_CLASSSTRING);

    void* raw = nullptr;
    ASSERT_EQ(
        CoGetClassObject(kWidgetClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, &raw),
        S_OK);
    CComPtr<IClassFactory> factory;
    factory.Attach(static_cast<IClassFactory*>(raw));
    const std::int64_t locks = ModuleLockCount();
    factory->LockServer(1);
    EXPECT_EQ(ModuleLockCount(), locks + 1);
    factory->LockServer(0);
    EXPECT_EQ(ModuleLockCount(), locks);
}

TEST(CoInitialize, CountsPerThread) {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    std::thread other([] {
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    });
    other.join();
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    CoUninitialize();
    CoUninitialize();  // one too many does no harm
    int reserved = 0;
    EXPECT_EQ(CoInitialize(&reserved), E_INVALIDARG);
}
