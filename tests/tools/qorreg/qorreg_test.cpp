// qorreg run as a user runs it, on a real control module, on a shared object that is no
// module and on files that are not there, each time in a class registry of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include "platform/com/class_registration.h"
#include "tests/platform/com/temp_registry.h"
#include "tests/tools/program_run.h"

using ::testing::HasSubstr;

namespace {

constexpr CLSID kControl = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D01}");
constexpr CLSID kPage = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D02}");
constexpr GUID kLib = MakeGuid("{8D0C5E7A-3B41-4F2A-9C6D-1E5B7A2C4D03}");
constexpr const char* kProgId = "QORTEST.QORTestCtrl.1";

class QorregTest : public ::testing::Test {
  protected:
    // Runs qorreg with the arguments (shell words) from the folder; the registry is the
    // test's own through QOR_REGISTRY, which the program inherits.
    ProgramRun Run(const std::string& arguments, const std::string& folder = ".") const {
        return RunCommandLine(
            "cd " + ShellQuoted(folder) + " && " + ShellQuoted(QORREG_PROGRAM) + " " + arguments,
            registry_.Folder());
    }

    static CRegistryKeys Keys() {
        CRegistryKeys keys;
        EXPECT_EQ(ReadClassRegistry(keys), S_OK);
        return keys;
    }

    CTempRegistry registry_;
};

std::string ClassKey(const CLSID& clsid) {
    return "CLSID\\" + FormatGuid(clsid);
}

}  // namespace

TEST_F(QorregTest, RegistersTwiceAndUnregistersTheModule) {
    const std::string module = ShellQuoted(QOR_TEST_MODULE);
    for (int time = 0; time < 2; ++time) {
        const ProgramRun registered = Run(module);
        EXPECT_EQ(registered.status, 0) << registered.err;
        EXPECT_THAT(registered.out, HasSubstr("DllRegisterServer in "));
        EXPECT_THAT(registered.out, HasSubstr("succeeded"));
        EXPECT_TRUE(registered.err.empty()) << registered.err;
    }
    CRegistryKeys keys = Keys();
    EXPECT_TRUE(keys.HasKey(ClassKey(kControl) + "\\Control"));
    EXPECT_TRUE(keys.HasKey(ClassKey(kControl) + "\\Insertable"));
    EXPECT_EQ(keys.GetValue(ClassKey(kControl) + "\\ProgID"), kProgId);
    EXPECT_EQ(keys.GetValue(ClassKey(kPage)), "QORTest Property Page");
    EXPECT_TRUE(keys.HasKey("TypeLib\\" + FormatGuid(kLib) + "\\1.0"));
    CLSID clsid{};
    ASSERT_EQ(RegistryCLSIDFromProgID(kProgId, &clsid), S_OK);
    EXPECT_EQ(clsid, kControl);

    const ProgramRun unregistered = Run("-u " + module);
    EXPECT_EQ(unregistered.status, 0) << unregistered.err;
    EXPECT_THAT(unregistered.out, HasSubstr("DllUnregisterServer in "));
    keys = Keys();
    EXPECT_FALSE(keys.HasKey(ClassKey(kControl)));
    EXPECT_FALSE(keys.HasKey(ClassKey(kPage)));
    EXPECT_FALSE(keys.HasKey("TypeLib\\" + FormatGuid(kLib)));
    EXPECT_EQ(RegistryCLSIDFromProgID(kProgId, &clsid), CO_E_CLASSSTRING);
}

TEST_F(QorregTest, AModuleNamedFromItsFolderIsRegisteredByItsFullPath) {
    const std::filesystem::path module(QOR_TEST_MODULE);
    const ProgramRun run =
        Run(ShellQuoted(module.filename().string()), module.parent_path().string());
    ASSERT_EQ(run.status, 0) << run.err;
    const std::optional<std::string> server =
        Keys().GetValue(ClassKey(kControl) + "\\InprocServer32");
    ASSERT_TRUE(server);
    EXPECT_TRUE(std::filesystem::path(*server).is_absolute()) << *server;
    EXPECT_TRUE(std::filesystem::equivalent(*server, module));
}

TEST_F(QorregTest, FilesThatAreNoModulesAreReportedAndTouchNothing) {
    const ProgramRun notModule = Run(ShellQuoted(QOR_NOT_A_MODULE));
    EXPECT_EQ(notModule.status, 3);
    EXPECT_THAT(notModule.err, HasSubstr("DllRegisterServer was not found"));
    EXPECT_TRUE(notModule.out.empty());
    const ProgramRun notModuleU = Run("-u " + ShellQuoted(QOR_NOT_A_MODULE));
    EXPECT_EQ(notModuleU.status, 3);
    EXPECT_THAT(notModuleU.err, HasSubstr("DllUnregisterServer was not found"));

    const ProgramRun missing = Run(ShellQuoted(registry_.Folder() + "/Missing.so"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_THAT(missing.err, HasSubstr("cannot load"));
    EXPECT_THAT(missing.err, HasSubstr("Missing.so"));

    const std::string text = registry_.Folder() + "/Text.so";
    std::ofstream(text) << "not an object file\n";
    const ProgramRun unloadable = Run(ShellQuoted(text));
    EXPECT_EQ(unloadable.status, 2);
    EXPECT_THAT(unloadable.err, HasSubstr("cannot load"));

    EXPECT_FALSE(std::filesystem::exists(registry_.Path()));
}

TEST_F(QorregTest, ADamagedRegistryIsReportedWithItsLineAndLeftAsItIs) {
    std::filesystem::create_directories(std::filesystem::path(registry_.Path()).parent_path());
    const std::string damaged = "; registry\n[CLSID]\nbroken line\n";
    std::ofstream(registry_.Path(), std::ios::binary) << damaged;

    const ProgramRun registered = Run(ShellQuoted(QOR_TEST_MODULE));
    EXPECT_EQ(registered.status, 4);
    EXPECT_THAT(registered.err, HasSubstr("0x80040200"));
    EXPECT_THAT(registered.err, HasSubstr("type library could not be registered"));
    EXPECT_THAT(registered.err, HasSubstr(registry_.Path() + ":3:"));
    EXPECT_TRUE(registered.out.empty());

    const ProgramRun unregistered = Run("-u " + ShellQuoted(QOR_TEST_MODULE));
    EXPECT_EQ(unregistered.status, 4);
    EXPECT_THAT(unregistered.err, HasSubstr("type library could not be unregistered"));
    EXPECT_EQ(ReadWholeFile(registry_.Path()), damaged);
}

TEST_F(QorregTest, ClassesThatFailAfterTheLibraryGiveTheClassStatusAndWriteNothing) {
    const ProgramRun run = Run(ShellQuoted(QOR_BROKEN_PROGID_MODULE));
    EXPECT_EQ(run.status, 5);
    EXPECT_THAT(run.err, HasSubstr("failed with 0x80040201: the classes could not be registered."));
    // A library without its classes would be half a module.
    const CRegistryKeys keys = Keys();
    EXPECT_FALSE(keys.HasKey("TypeLib\\" + FormatGuid(kLib) + "\\1.0"));
    EXPECT_FALSE(keys.HasKey(ClassKey(kControl)));
    EXPECT_FALSE(keys.HasKey(ClassKey(kPage)));
}

TEST_F(QorregTest, RacingRegistrationsLeaveTheModuleWholeOrGone) {
    const std::string module = ShellQuoted(QOR_TEST_MODULE);
    ASSERT_EQ(Run(module).status, 0);
    const CRegistryKeys registered = Keys();
    ASSERT_EQ(Run("-u " + module).status, 0);
    const CRegistryKeys clean = Keys();
    // Three registrations and three removals at once; the shell fails when any of them does.
    const std::string racing =
        "(q=" + ShellQuoted(QORREG_PROGRAM) + "; m=" + module +
        "; p=; for i in 1 2 3; do $q $m & p=\"$p $!\"; $q -u $m & p=\"$p $!\"; done; s=0; "
        "for c in $p; do wait $c || s=1; done; exit $s)";
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (int round = 0; round < 20 && std::chrono::steady_clock::now() < deadline; ++round) {
        auto race = std::async(std::launch::async,
                               [&] { return RunCommandLine(racing, registry_.Folder()); });
        // What a reader sees while they run, and what they leave, is one whole state.
        do {
            CRegistryKeys seen;
            ASSERT_EQ(ReadClassRegistry(seen), S_OK);
            ASSERT_TRUE(seen == registered || seen == clean) << "round " << round;
        } while (race.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready);
        const ProgramRun run = race.get();
        ASSERT_EQ(run.status, 0) << run.err;
        const CRegistryKeys left = Keys();
        ASSERT_TRUE(left == registered || left == clean) << "round " << round;
    }
}

TEST_F(QorregTest, ARegistryThatIsNoFileIsReported) {
    std::filesystem::create_directories(registry_.Path());
    const ProgramRun run = Run(ShellQuoted(QOR_TEST_MODULE));
    EXPECT_EQ(run.status, 4);
    EXPECT_THAT(run.err, HasSubstr("the class registry cannot be used: " + registry_.Path() +
                                   ": is not a file"));
    EXPECT_TRUE(std::filesystem::is_directory(registry_.Path()));
}

TEST_F(QorregTest, WrongCommandLinesShowTheUsage) {
    const std::string module = ShellQuoted(QOR_TEST_MODULE);
    std::string twice = module;
    twice += " " + module;
    for (const std::string& arguments :
         {std::string(), "-x " + module, twice, std::string("-u"), "--list " + module,
          std::string("--system --list"), std::string("-u --list"), std::string("--system")}) {
        const ProgramRun run = Run(arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_THAT(run.err, HasSubstr("usage: qorreg [--system] [-u] MODULE")) << arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(registry_.Path()));
}

TEST_F(QorregTest, SystemRegistrationsAreListedAndTheUsersOverrideThem) {
    const std::string module = ShellQuoted(QOR_TEST_MODULE);
    const std::string path = std::filesystem::canonical(QOR_TEST_MODULE).string();
    const std::string control = std::string(kProgId) + "\t" + FormatGuid(kControl) + "\t";
    const std::string page = "-\t" + FormatGuid(kPage) + "\t";
    const struct {
        std::string arguments;
        std::string listed;  // what --list prints afterwards
    } steps[] = {
        // NOLINT(*-avoid-c-arrays)
        {"--system " + module,
         control + "system\t" + path + "\n" + page + "system\t" + path + "\n"},
        {module, control + "user\t" + path + "\toverrides system\n" + page + "user\t" + path +
                     "\toverrides system\n"},
        {"-u " + module, control + "system\t" + path + "\n" + page + "system\t" + path + "\n"},
        {"--system -u " + module, ""},
    };
    for (const auto& step : steps) {
        const ProgramRun run = Run(step.arguments);
        EXPECT_EQ(run.status, 0) << step.arguments << ": " << run.err;
        const ProgramRun list = Run("--list");
        EXPECT_EQ(list.status, 0) << list.err;
        EXPECT_EQ(list.out, step.listed) << "after " << step.arguments;
        EXPECT_TRUE(list.err.empty()) << list.err;
    }
    EXPECT_FALSE(Keys().HasKey(ClassKey(kControl)));
}

TEST_F(QorregTest, ASystemRegistryThatCannotBeWrittenIsReported) {
    const std::string plain = registry_.Folder() + "/plain";
    std::ofstream(plain) << "a file where a folder should be\n";
    ::setenv("XDG_CONFIG_DIRS", plain.c_str(), 1);
    const ProgramRun run = Run("--system " + ShellQuoted(QOR_TEST_MODULE));
    EXPECT_EQ(run.status, 4);
    EXPECT_THAT(run.err, HasSubstr("the system class registry cannot be used: " + plain +
                                   "/qor/registry: its folder cannot be made: "));
    EXPECT_TRUE(run.out.empty());
    EXPECT_FALSE(std::filesystem::exists(registry_.Path()));
}

TEST_F(QorregTest, ListingWithADamagedSystemFileStillListsTheUsersClasses) {
    ASSERT_EQ(Run(ShellQuoted(QOR_TEST_MODULE)).status, 0);
    std::filesystem::create_directories(registry_.SystemFolder() + "/qor");
    std::ofstream(registry_.SystemPath()) << "[CLSID]\nbroken\n";
    const ProgramRun list = Run("--list");
    EXPECT_EQ(list.status, 7);
    EXPECT_THAT(list.out,
                HasSubstr(std::string(kProgId) + "\t" + FormatGuid(kControl) + "\tuser\t"));
    EXPECT_THAT(list.err, HasSubstr("cannot be read: " + registry_.SystemPath() + ":2: "));
}
