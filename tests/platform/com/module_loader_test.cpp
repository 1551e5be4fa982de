// Creating registered classes from their modules: loading by the registry's server path,
// unloading when the module allows it, libraries by registration, and the failures on the way.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/com/class_registration.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/error_info.h"
#include "platform/com/module_loader.h"
#include "platform/com/type_info.h"
#include "tests/platform/com/temp_registry.h"

namespace {

constexpr CLSID kTestControl = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D01}");
constexpr GUID kTestLib = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D03}");
constexpr const char* kTestProgId = "QORTEST.QORTestCtrl.1";

class ModuleLoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        UseClassRegistry();
        void* module = nullptr;
        ASSERT_EQ(CoLoadModule(QOR_TEST_MODULE, &module), S_OK);
        const auto registerServer = reinterpret_cast<DllRegisterServerFunction>(  // NOLINT
            CoModuleSymbol(module, "DllRegisterServer"));
        ASSERT_NE(registerServer, nullptr);
        ASSERT_EQ(registerServer(), S_OK);
    }
    void TearDown() override {
        SetClassSource(nullptr);
        CoFreeUnusedLibraries();
    }

    HRESULT Create(CComPtr<IDispatch>& object) {
        CLSID clsid;
        const HRESULT hr = CLSIDFromProgID(kTestProgId, &clsid);
        return FAILED(hr) ? hr
                          : CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IDispatch::iid,
                                             reinterpret_cast<void**>(  // NOLINT: out parameter
                                                 object.ReleaseAndGetAddressOf()));
    }

    CTempRegistry registry_;
};

}  // namespace

TEST_F(ModuleLoaderTest, CreatesARegisteredClassByProgIDAndUnloadsItsModuleAfterwards) {
    CComPtr<IDispatch> control;
    ASSERT_EQ(Create(control), S_OK);
    CComVariant readyState;
    ASSERT_EQ(GetPropertyByName(control.Get(), "ReadyState", &readyState), S_OK);
    EXPECT_EQ(readyState.lVal, 1);

    // The module stays while one of its objects lives.
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedModuleCount(), 1U);
    control.Release();
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedModuleCount(), 0U);

    // And comes back when the class is asked for again.
    ASSERT_EQ(Create(control), S_OK);
    EXPECT_EQ(CoLoadedModuleCount(), 1U);
}

TEST_F(ModuleLoaderTest, ALockedFactoryKeepsItsModule) {
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(kTestControl, CLSCTX_INPROC_SERVER, nullptr, IClassFactory::iid,
                               reinterpret_cast<void**>(  // NOLINT: out parameter
                                   factory.ReleaseAndGetAddressOf())),
              S_OK);
    ASSERT_EQ(factory->LockServer(1), S_OK);
    factory.Release();
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedModuleCount(), 1U);

    ASSERT_EQ(CoGetClassObject(kTestControl, CLSCTX_INPROC_SERVER, nullptr, IClassFactory::iid,
                               reinterpret_cast<void**>(  // NOLINT: out parameter
                                   factory.ReleaseAndGetAddressOf())),
              S_OK);
    ASSERT_EQ(factory->LockServer(0), S_OK);
    factory.Release();
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedModuleCount(), 0U);
}

TEST_F(ModuleLoaderTest, LoadsARegisteredLibraryFromItsModule) {
    CComPtr<ITypeLib> lib;
    ASSERT_EQ(LoadRegTypeLib(kTestLib, 1, 0, lib.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(lib->GetTypeInfoCount(), 3U);
    BSTR name = nullptr;
    ASSERT_EQ(lib->GetDocumentation(0, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(BstrView(name), "_DQORTest");
    SysFreeString(name);
    CComPtr<ITypeLib> otherVersion;
    EXPECT_EQ(LoadRegTypeLib(kTestLib, 2, 0, otherVersion.ReleaseAndGetAddressOf()),
              TYPE_E_LIBNOTREGISTERED);
    // The library's information outlives the module it came from.
    CoFreeUnusedLibraries();
    EXPECT_EQ(CoLoadedModuleCount(), 0U);
    CComPtr<ITypeInfo> dispatch;
    ASSERT_EQ(lib->GetTypeInfo(0, dispatch.ReleaseAndGetAddressOf()), S_OK);
    std::vector<std::string> names;
    EXPECT_EQ(dispatch->GetNames(1, &names), S_OK);
    EXPECT_EQ(names.front(), "Divide");
}

TEST_F(ModuleLoaderTest, ReportsServersThatAreMissingOrAreNoModules) {
    const auto pointServerAt = [](const std::string& path) {
        return UpdateClassRegistry([&](CRegistryKeys& keys) {
            keys.SetValue("CLSID\\" + FormatGuid(kTestControl) + "\\InprocServer32", "", path);
            return S_OK;
        });
    };
    const auto why = [] {
        const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
        return texts ? texts->description : std::string("(no error object)");
    };
    CComPtr<IDispatch> control;
    ASSERT_EQ(pointServerAt(registry_.Folder() + "/gone.so"), S_OK);
    EXPECT_EQ(Create(control), CO_E_DLLNOTFOUND);
    EXPECT_EQ(why(), registry_.Folder() + "/gone.so: no such module file");
    ASSERT_EQ(pointServerAt(registry_.Path()), S_OK);  // a text file, not a module
    EXPECT_EQ(Create(control), CO_E_ERRORINDLL);
    EXPECT_THAT(why(), ::testing::HasSubstr(registry_.Path()));
    ASSERT_EQ(pointServerAt(QOR_NOT_A_MODULE), S_OK);  // loads, but has no DllGetClassObject
    EXPECT_EQ(Create(control), CO_E_ERRORINDLL);
    EXPECT_THAT(why(), ::testing::HasSubstr("has no DllGetClassObject"));

    std::string error;
    void* module = nullptr;
    EXPECT_EQ(CoLoadModule(registry_.Path(), &module, &error), CO_E_ERRORINDLL);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(module, nullptr);
}

TEST_F(ModuleLoaderTest, ADamagedRegistryFailsCreationInsteadOfCrashing) {
    {
        std::ofstream damage(registry_.Path(), std::ios::app);
        damage << "garbage without an equals sign\n";
    }
    CComPtr<IDispatch> control;
    EXPECT_EQ(Create(control), REGDB_E_READREGDB);
    const std::optional<ComErrorTexts> texts = TakeComErrorTexts();
    ASSERT_TRUE(texts);
    EXPECT_THAT(
        texts->description,
        ::testing::StartsWith("The class registry cannot be read: " + registry_.Path() + ":"));
    EXPECT_THAT(texts->description, ::testing::HasSubstr("neither a key nor a value"));
    CComPtr<ITypeLib> lib;
    EXPECT_EQ(LoadRegTypeLib(kTestLib, 1, 0, lib.ReleaseAndGetAddressOf()), REGDB_E_READREGDB);
}

TEST_F(ModuleLoaderTest, TheSystemsRegistrationServesWhenTheUsersFileIsDamaged) {
    std::filesystem::create_directories(registry_.SystemFolder() + "/qor");
    std::filesystem::rename(registry_.Path(), registry_.SystemPath());
    std::ofstream(registry_.Path()) << "garbage without an equals sign\n";
    CComPtr<IDispatch> control;
    EXPECT_EQ(Create(control), S_OK);
    CComPtr<ITypeLib> lib;
    EXPECT_EQ(LoadRegTypeLib(kTestLib, 1, 0, lib.ReleaseAndGetAddressOf()), S_OK);
}
