// The registry's two layers: where the system's file is found and written, lookups that take
// the user's entry over the system's, damage in one layer that hides nothing of the other, and
// the list of registered classes.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/com/class_registration.h"
#include "platform/com/class_registry_layers.h"
#include "tests/platform/com/temp_registry.h"

namespace {

constexpr CLSID kTill = MakeGuid("{7C3D1A20-2222-4E2B-8F00-0000000000C1}");
constexpr CLSID kNewTill = MakeGuid("{7C3D1A20-2222-4E2B-8F00-0000000000C2}");
constexpr GUID kLib = MakeGuid("{7C3D1A20-2222-4E2B-8F00-0000000000A1}");
constexpr const char* kProgId = "Shop.Till.1";
constexpr const char* kDamaged = "[CLSID]\nthis line is broken\n";

void WriteFile(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A registry file holding the till control, served by the module, under the class id.
std::string TillFile(const CLSID& clsid, const std::string& module) {
    CRegistryKeys keys;
    ControlClassRegistration control;
    control.clsid = clsid;
    control.progId = kProgId;
    control.typeName = "Till Control";
    control.modulePath = module;
    RegisterControlClass(keys, control);
    TypeLibRegistration lib;
    lib.libid = kLib;
    lib.name = "Till";
    lib.modulePath = module;
    RegisterTypeLibrary(keys, lib);
    return keys.Write();
}

struct LayerCase {
    const char* name;
    std::string user;  // the files' text; empty: no file
    std::string system;
    HRESULT serverResult;
    const char* server;  // the till's module as lookups find it
    HRESULT progIdResult;
    CLSID progIdClass;  // the class the ProgID names
    const char* libraryPath;
    int problems;  // files that could not be read
};

class RegistryLayersTest : public ::testing::TestWithParam<LayerCase> {};

}  // namespace

TEST_P(RegistryLayersTest, LooksUpTheUsersEntryBeforeTheSystems) {
    const LayerCase& sample = GetParam();
    const CTempRegistry registry;
    if (!sample.user.empty()) {
        WriteFile(registry.Path(), sample.user);
    }
    if (!sample.system.empty()) {
        WriteFile(registry.SystemPath(), sample.system);
    }
    std::string server;
    EXPECT_EQ(RegistryInprocServer(kTill, &server), sample.serverResult);
    EXPECT_EQ(server, sample.server);
    CLSID clsid{};
    EXPECT_EQ(RegistryCLSIDFromProgID(kProgId, &clsid), sample.progIdResult);
    EXPECT_EQ(clsid, sample.progIdClass);
    std::string library;
    RegistryTypeLibPath(kLib, 1, 0, &library);
    EXPECT_EQ(library, sample.libraryPath);

    const CClassRegistryLayers layers;
    ASSERT_EQ(layers.Problems().size(), static_cast<std::size_t>(sample.problems));
    if (sample.problems > 0) {
        const std::string damagedFile =
            sample.user == kDamaged ? registry.Path() : registry.SystemPath();
        EXPECT_EQ(layers.Problems().front().file, damagedFile);
        EXPECT_EQ(layers.Problems().front().line, 2);
        EXPECT_NE(layers.DescribeProblems().find(damagedFile + ":2: "), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Layers, RegistryLayersTest,
    ::testing::Values(
        LayerCase{"SystemOnly", "", TillFile(kTill, "/usr/lib/shop/Till.so"), S_OK,
                  "/usr/lib/shop/Till.so", S_OK, kTill, "/usr/lib/shop/Till.so", 0},
        LayerCase{"UserOnly", TillFile(kTill, "/home/me/lib/Till.so"), "", S_OK,
                  "/home/me/lib/Till.so", S_OK, kTill, "/home/me/lib/Till.so", 0},
        LayerCase{"UserOverridesTheSameClass", TillFile(kTill, "/home/me/lib/Till.so"),
                  TillFile(kTill, "/usr/lib/shop/Till.so"), S_OK, "/home/me/lib/Till.so", S_OK,
                  kTill, "/home/me/lib/Till.so", 0},
        // The ProgID and the library are the user's; the old class stays the system's.
        LayerCase{"UserGivesTheProgIDAnotherClass", TillFile(kNewTill, "/home/me/lib/NewTill.so"),
                  TillFile(kTill, "/usr/lib/shop/Till.so"), S_OK, "/usr/lib/shop/Till.so", S_OK,
                  kNewTill, "/home/me/lib/NewTill.so", 0},
        // A key below the class's is the class's entry, whether or not the file names the class.
        LayerCase{"UserNamesOnlyTheServersKey",
                  "[CLSID\\" + FormatGuid(kTill) + "\\InprocServer32]\n@=/home/me/Only.so\n",
                  TillFile(kTill, "/usr/lib/shop/Till.so"), S_OK, "/home/me/Only.so", S_OK, kTill,
                  "/usr/lib/shop/Till.so", 0},
        LayerCase{"Neither", "", "", REGDB_E_CLASSNOTREG, "", CO_E_CLASSSTRING, CLSID{}, "", 0},
        LayerCase{"DamagedSystemFileStillReadsTheUsers", TillFile(kTill, "/home/me/lib/Till.so"),
                  kDamaged, S_OK, "/home/me/lib/Till.so", S_OK, kTill, "/home/me/lib/Till.so", 1},
        LayerCase{"DamagedSystemFileFailsWhatOnlyItCouldHold", "", kDamaged, REGDB_E_READREGDB, "",
                  REGDB_E_READREGDB, CLSID{}, "", 1},
        LayerCase{"DamagedUserFileHidesNoSystemClass", kDamaged,
                  TillFile(kTill, "/usr/lib/shop/Till.so"), S_OK, "/usr/lib/shop/Till.so", S_OK,
                  kTill, "/usr/lib/shop/Till.so", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryLayerPlaceTest, FindsTheSystemFileInTheFirstFolderThatHasOne) {
    const CTempRegistry registry;
    const std::string first = registry.Folder() + "/first";
    const std::string second = registry.Folder() + "/second";
    const struct {
        std::string dirs;
        bool secondHasFile;
        std::string read;
        std::string write;
    } cases[] = {
        // NOLINT(*-avoid-c-arrays)
        {first + ":" + second, false, first + "/qor/registry", first + "/qor/registry"},
        {first + ":" + second, true, second + "/qor/registry", first + "/qor/registry"},
        {"relative/path::" + second, false, second + "/qor/registry", second + "/qor/registry"},
        {"", false, "/etc/xdg/qor/registry", "/etc/xdg/qor/registry"},
    };
    WriteFile(second + "/qor/registry", "");
    for (const auto& sample : cases) {
        if (!sample.secondHasFile) {
            std::filesystem::remove(second + "/qor/registry");
        } else {
            WriteFile(second + "/qor/registry", "");
        }
        ::setenv("XDG_CONFIG_DIRS", sample.dirs.c_str(), 1);
        EXPECT_EQ(ClassRegistryPath(RegistryLayer::System), sample.read) << sample.dirs;
        EXPECT_EQ(ClassRegistryWritePath(RegistryLayer::System), sample.write) << sample.dirs;
    }
    ::unsetenv("XDG_CONFIG_DIRS");
    EXPECT_EQ(ClassRegistryWritePath(RegistryLayer::System), "/etc/xdg/qor/registry");
    EXPECT_EQ(ClassRegistryPath(RegistryLayer::User), registry.Path());
}

TEST(RegistryLayerPlaceTest, RegistrationWritesTheChosenLayerOnly) {
    const CTempRegistry registry;
    ControlModuleRegistration module;
    module.control.clsid = kTill;
    module.control.progId = kProgId;
    module.control.modulePath = "/usr/lib/shop/Till.so";
    module.typeLib.libid = kLib;
    module.pageClsid = kNewTill;

    SetRegistrationLayer(RegistryLayer::System);
    const HRESULT registered = RegisterControlModule(module);
    SetRegistrationLayer(RegistryLayer::User);
    ASSERT_EQ(registered, S_OK);
    EXPECT_FALSE(std::filesystem::exists(registry.Path()));
    CRegistryKeys system;
    ASSERT_EQ(ReadClassRegistry(system, nullptr, RegistryLayer::System), S_OK);
    EXPECT_EQ(system.GetValue("CLSID\\" + FormatGuid(kTill) + "\\InprocServer32"),
              "/usr/lib/shop/Till.so");

    // Removing it from the user's layer leaves the system's entry.
    ASSERT_EQ(UnregisterControlModule(module), S_OK);
    std::string server;
    EXPECT_EQ(RegistryInprocServer(kTill, &server), S_OK);
    EXPECT_EQ(server, "/usr/lib/shop/Till.so");
}

TEST(RegistryLayerPlaceTest, ASystemFolderThatCannotBeMadeIsReported) {
    const CTempRegistry registry;
    WriteFile(registry.Folder() + "/plain", "a file, not a folder");
    ::setenv("XDG_CONFIG_DIRS", (registry.Folder() + "/plain").c_str(), 1);
    RegistryProblem problem;
    EXPECT_EQ(
        UpdateClassRegistry([](CRegistryKeys&) { return S_OK; }, &problem, RegistryLayer::System),
        REGDB_E_WRITEREGDB);
    EXPECT_EQ(problem.file, registry.Folder() + "/plain/qor/registry");
    EXPECT_EQ(problem.message.rfind("its folder cannot be made: ", 0), 0U) << problem.message;
}

TEST(RegisteredClassesTest, ListsEachClassOnceMarkingTheUsersOverrides) {
    const CTempRegistry registry;
    CRegistryKeys system;
    CRegistryKeys user;
    ControlClassRegistration till;
    till.clsid = kTill;
    till.progId = kProgId;
    till.modulePath = "/usr/lib/shop/Till.so";
    RegisterControlClass(system, till);
    RegisterPropertyPageClass(system, kLib, "Till Page", "/usr/lib/shop/Till.so");
    ControlClassRegistration door = till;
    door.clsid = kNewTill;
    door.progId = "Shop.Door.1";
    door.modulePath = "/usr/lib/shop/Door.so";
    RegisterControlClass(system, door);
    till.modulePath = "/home/me/Till.so";
    RegisterControlClass(user, till);
    WriteFile(registry.SystemPath(), system.Write());
    WriteFile(registry.Path(), user.Write());

    const std::vector<RegisteredClass> classes = RegisteredClasses(CClassRegistryLayers());
    ASSERT_EQ(classes.size(), 3U);
    EXPECT_EQ(classes[0].progId, "Shop.Door.1");
    EXPECT_EQ(classes[0].layer, RegistryLayer::System);
    EXPECT_FALSE(classes[0].overridesSystem);
    EXPECT_TRUE(classes[0].control);
    EXPECT_EQ(classes[1].progId, kProgId);
    EXPECT_EQ(classes[1].clsid, FormatGuid(kTill));
    EXPECT_EQ(classes[1].modulePath, "/home/me/Till.so");
    EXPECT_EQ(classes[1].layer, RegistryLayer::User);
    EXPECT_TRUE(classes[1].overridesSystem);
    EXPECT_EQ(classes[2].progId, "");  // the page, without a ProgID, comes last
    EXPECT_EQ(classes[2].clsid, FormatGuid(kLib));
    EXPECT_FALSE(classes[2].control);
}
