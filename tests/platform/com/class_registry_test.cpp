// The class registry file: its text form, damage found with its line, locked atomic updates
// from several processes, comments and symbolic links kept through updates, and the keys of
// registered classes and libraries.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <vector>

#include "platform/com/class_registration.h"
#include "tests/platform/com/temp_registry.h"

namespace {

constexpr CLSID kClass = MakeGuid("{7C3D1A20-1111-4E2B-8F00-0000000000C1}");
constexpr CLSID kOtherClass = MakeGuid("{7C3D1A20-1111-4E2B-8F00-0000000000C2}");
constexpr GUID kLib = MakeGuid("{7C3D1A20-1111-4E2B-8F00-0000000000A1}");
constexpr IID kInterface = MakeGuid("{7C3D1A20-1111-4E2B-8F00-0000000000E1}");

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

HRESULT ParseText(const std::string& text, RegistryProblem& problem) {
    CRegistryKeys keys;
    return CRegistryKeys::Parse(text, "registry", keys, &problem);
}

HRESULT SetShopOpen() {
    return UpdateClassRegistry([](CRegistryKeys& k) {
        k.SetValue("Shop", "", "open");
        return S_OK;
    });
}

std::set<std::string> FileNames(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

ControlClassRegistration Control() {
    ControlClassRegistration control;
    control.clsid = kClass;
    control.progId = "Shop.Till.1";
    control.typeName = "Till Control";
    control.modulePath = "/opt/shop/Till.so";
    control.miscStatus = 0x20191;
    control.typeLibId = kLib;
    return control;
}

}  // namespace

TEST(RegistryKeysTest, WritesAndReadsBackValuesKeysAndEscapes) {
    CRegistryKeys keys;
    keys.SetValue("CLSID\\{A}", "", "Till Control");
    keys.SetValue("CLSID\\{A}\\InprocServer32", "ThreadingModel", "Apartment");
    keys.SetValue("Notes", "Text", "two\nlines with a \\ and = and [brackets]");
    keys.CreateKey("CLSID\\{A}\\Control");

    CRegistryKeys back;
    RegistryProblem problem;
    ASSERT_EQ(CRegistryKeys::Parse(keys.Write(), "registry", back, &problem), S_OK)
        << problem.Describe();
    EXPECT_EQ(back.GetValue("clsid\\{a}"), "Till Control");
    EXPECT_EQ(back.GetValue("CLSID\\{A}\\InprocServer32", "threadingmodel"), "Apartment");
    EXPECT_EQ(back.GetValue("Notes", "Text"), "two\nlines with a \\ and = and [brackets]");
    EXPECT_TRUE(back.HasKey("CLSID\\{A}\\Control"));
    EXPECT_FALSE(back.GetValue("CLSID\\{A}\\Control").has_value());
    EXPECT_EQ(back.SubKeys("CLSID\\{A}"), (std::vector<std::string>{"InprocServer32", "Control"}));
}

TEST(RegistryKeysTest, DeletesATreeButNotItsNamesakes) {
    CRegistryKeys keys;
    keys.SetValue("Shop.Till", "", "a");
    keys.SetValue("Shop.Till\\CLSID", "", "b");
    keys.SetValue("Shop.Till.1", "", "c");
    keys.DeleteTree("SHOP.TILL");
    EXPECT_FALSE(keys.HasKey("Shop.Till"));
    EXPECT_FALSE(keys.HasKey("Shop.Till\\CLSID"));
    EXPECT_EQ(keys.GetValue("Shop.Till.1"), "c");
}

TEST(RegistryKeysTest, ReportsDamageWithItsLine) {
    const struct {
        const char* text;
        int line;
    } damaged[] = {
        // NOLINT(*-avoid-c-arrays)
        {"; header\nname=value\n", 2},  // a value before any key
        {"[A]\n@=1\njust words\n", 3},  // neither key nor value
        {"[A]\n\n[B\n", 3},             // unclosed key
        {"[A\\\\B]\n", 1},              // an empty path part
        {"[A]\nx=1\nX=2\n", 3},         // a value named twice
        {"[A]\n[B]\n[a]\n", 3},         // a key given twice
        {"[A]\n=orphan\n", 2},          // a value without a name
    };
    for (const auto& sample : damaged) {
        RegistryProblem problem;
        EXPECT_EQ(ParseText(sample.text, problem), REGDB_E_READREGDB) << sample.text;
        EXPECT_EQ(problem.line, sample.line) << sample.text;
        EXPECT_EQ(problem.Describe().rfind("registry:" + std::to_string(sample.line) + ": ", 0),
                  0U);
    }
    RegistryProblem problem;
    EXPECT_EQ(ParseText("# comment\r\n\r\n[A]\r\n@=x\r\n", problem), S_OK);
}

// Texts a registry is read from, written back and read again: the same keys and comment lines,
// and a second write gives the same text.
TEST(RegistryKeysTest, WrittenTextReadsBackAsTheSameKeys) {
    const struct {
        const char* name;
        const char* text;
    } texts[] = {
        // NOLINT(*-avoid-c-arrays)
        {"CrLfLines", "# comment\r\n\r\n[A]\r\n@=x\r\n"},
        {"CommentEndingInTwoCarriageReturns", "\n;\r\r"},
        {"CommentLineOfCarriageReturns", "[A]\n#\r\r\r\n@=x\n"},
        {"EscapesInAValue", "[A]\nText=two\\nlines \\\\ and \\r\n"},
    };
    for (const auto& sample : texts) {
        SCOPED_TRACE(sample.name);
        CRegistryKeys keys;
        RegistryProblem problem;
        ASSERT_EQ(CRegistryKeys::Parse(sample.text, "registry", keys, &problem), S_OK)
            << problem.Describe();
        const std::string written = keys.Write();
        CRegistryKeys back;
        ASSERT_EQ(CRegistryKeys::Parse(written, "registry", back, &problem), S_OK)
            << problem.Describe();
        EXPECT_TRUE(back == keys) << written;
        EXPECT_EQ(back.Write(), written);
    }
}

TEST(ClassRegistryFileTest, FollowsTheEnvironmentForItsPlace) {
    const CTempRegistry registry;
    EXPECT_EQ(ClassRegistryPath(), registry.Path());
    ::unsetenv("QOR_REGISTRY");
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> savedConfig =
        config != nullptr ? std::optional<std::string>(config) : std::nullopt;
    ::setenv("XDG_CONFIG_HOME", "/somewhere", 1);
    EXPECT_EQ(ClassRegistryPath(), "/somewhere/qor/registry");
    if (savedConfig) {
        ::setenv("XDG_CONFIG_HOME", savedConfig->c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

TEST(ClassRegistryFileTest, UpdatesCreateTheFileAndKeepItWhole) {
    const CTempRegistry registry;
    CRegistryKeys keys;
    EXPECT_EQ(ReadClassRegistry(keys), S_OK);  // no file yet: an empty registry
    ASSERT_EQ(SetShopOpen(), S_OK);
    ASSERT_EQ(ReadClassRegistry(keys), S_OK);
    EXPECT_EQ(keys.GetValue("Shop"), "open");

    // A change that fails is not written.
    EXPECT_EQ(UpdateClassRegistry([](CRegistryKeys& k) {
                  k.SetValue("Shop", "", "closed");
                  return E_FAIL;
              }),
              E_FAIL);
    ASSERT_EQ(ReadClassRegistry(keys), S_OK);
    EXPECT_EQ(keys.GetValue("Shop"), "open");
    // Nothing is left beside the file but its lock.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(registry.Path()).parent_path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"registry", "registry.lock"}));
}

// A registry file, a change made to it, and the file the change leaves.
struct CommentCase {
    const char* name;
    const char* file;
    std::function<void(CRegistryKeys&)> change;
    const char* changed;
    friend void PrintTo(const CommentCase& sample, std::ostream* out) { *out << sample.name; }
};

constexpr const char* kCommented =
    "; QOR class registry\n# written by hand\n\n[Shop]\n; the till's state\n@=open\n"
    "Mode=fast\n; end of file\n";
constexpr const char* kCommentedSlow =
    "; QOR class registry\n# written by hand\n\n[Shop]\n; the till's state\n@=open\n"
    "Mode=slow\n; end of file\n";
constexpr const char* kThreeKeys =
    "; head\n\n[A]\n@=1\n\n; about B\n[B]\n; inside B\n@=2\n\n[C]\n@=3\n";
constexpr const char* kWithoutB = "; head\n\n[A]\n@=1\n\n; about B\n; inside B\n\n[C]\n@=3\n";
constexpr const char* kOneKey = "; QOR class registry\n# kept\n\n[A]\n@=1\n";

class RegistryCommentsTest : public ::testing::TestWithParam<CommentCase> {};

TEST_P(RegistryCommentsTest, StayWhereTheyWere) {
    const CTempRegistry registry;
    WriteAll(registry.Path(), GetParam().file);
    ASSERT_EQ(UpdateClassRegistry([](CRegistryKeys& k) {
                  GetParam().change(k);
                  return S_OK;
              }),
              S_OK);
    EXPECT_EQ(ReadAll(registry.Path()), GetParam().changed);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, RegistryCommentsTest,
    ::testing::Values(
        CommentCase{"AValueChanged", kCommented,
                    [](CRegistryKeys& k) { k.SetValue("Shop", "mode", "slow"); }, kCommentedSlow},
        CommentCase{"AKeyAddedAfterTheLastComment", kCommented,
                    [](CRegistryKeys& k) { k.SetValue("Door", "", "shut"); },
                    "; QOR class registry\n# written by hand\n\n[Shop]\n; the till's state\n"
                    "@=open\nMode=fast\n; end of file\n\n[Door]\n@=shut\n"},
        CommentCase{"AKeyRemovedBetweenOthers", kThreeKeys,
                    [](CRegistryKeys& k) { k.DeleteTree("B"); }, kWithoutB},
        CommentCase{"TheOnlyKeyRemoved", kOneKey, [](CRegistryKeys& k) { k.DeleteTree("A"); },
                    "; QOR class registry\n# kept\n"},
        CommentCase{"AKeyRemovedAndAddedAgain", kOneKey,
                    [](CRegistryKeys& k) {
                        k.DeleteTree("A");
                        k.SetValue("A", "", "1");
                    },
                    kOneKey}),
    [](const auto& info) { return std::string(info.param.name); });

// Where the registry's symbolic link leads, from the test's folder.
struct LinkCase {
    const char* name;
    const char* link;  // what the registry's link holds; a leading '/' is the test's folder
    const char* via;   // what a second link, elsewhere/via, holds; nullptr for none
    bool targetExists;
    friend void PrintTo(const LinkCase& sample, std::ostream* out) { *out << sample.name; }
};

class RegistryLinkTest : public ::testing::TestWithParam<LinkCase> {};

TEST_P(RegistryLinkTest, IsWrittenThroughAndStaysALink) {
    const CTempRegistry registry;
    const LinkCase& sample = GetParam();
    const std::filesystem::path root(registry.Folder());
    const std::filesystem::path target = root / "elsewhere" / "real";
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::create_directories(std::filesystem::path(registry.Path()).parent_path());
    if (sample.targetExists) {
        WriteAll(target.string(), "; mine\n[Old]\n@=1\n");
    }
    const auto linkText = [&](const char* text) {
        return text[0] == '/' ? root / (text + 1) : std::filesystem::path(text);
    };
    if (sample.via != nullptr) {
        std::filesystem::create_symlink(linkText(sample.via), root / "elsewhere" / "via");
    }
    std::filesystem::create_symlink(linkText(sample.link), registry.Path());

    ASSERT_EQ(SetShopOpen(), S_OK);
    EXPECT_TRUE(std::filesystem::is_symlink(registry.Path()));
    EXPECT_EQ(ReadAll(target.string()),
              std::string(sample.targetExists ? "; mine\n[Old]\n@=1\n" : "; QOR class registry\n") +
                  "\n[Shop]\n@=open\n");
    EXPECT_EQ(FileNames(std::filesystem::path(registry.Path()).parent_path()),
              (std::set<std::string>{"registry"}));
    std::set<std::string> beside{"real", "real.lock"};
    if (sample.via != nullptr) {
        EXPECT_TRUE(std::filesystem::is_symlink(target.parent_path() / "via"));
        beside.insert("via");
    }
    EXPECT_EQ(FileNames(target.parent_path()), beside);
}

INSTANTIATE_TEST_SUITE_P(Links, RegistryLinkTest,
                         ::testing::Values(LinkCase{"Absolute", "/elsewhere/real", nullptr, true},
                                           LinkCase{"Relative", "../elsewhere/real", nullptr, true},
                                           LinkCase{"ToALink", "../elsewhere/via", "real", true},
                                           LinkCase{"ToNoFileYet", "../elsewhere/real", nullptr,
                                                    false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClassRegistryFileTest, LeavesADamagedFileAsItIs) {
    const CTempRegistry registry;
    const std::string damaged = "[CLSID\\{A}]\n@=Till\nthis line is broken\n";
    WriteAll(registry.Path(), damaged);
    RegistryProblem problem;
    EXPECT_EQ(UpdateClassRegistry(
                  [](CRegistryKeys& k) {
                      k.SetValue("Shop", "", "open");
                      return S_OK;
                  },
                  &problem),
              REGDB_E_READREGDB);
    EXPECT_EQ(problem.file, registry.Path());
    EXPECT_EQ(problem.line, 3);
    EXPECT_EQ(ReadAll(registry.Path()), damaged);

    std::string path;
    EXPECT_EQ(RegistryInprocServer(kClass, &path), REGDB_E_READREGDB);
    CLSID clsid;
    EXPECT_EQ(RegistryCLSIDFromProgID("Shop.Till.1", &clsid), REGDB_E_READREGDB);
}

TEST(ClassRegistryFileTest, AFolderInThePlaceOfTheFileIsNoEmptyRegistry) {
    const CTempRegistry registry;
    std::filesystem::create_directories(registry.Path());
    CRegistryKeys keys;
    RegistryProblem problem;
    EXPECT_EQ(ReadClassRegistry(keys, &problem), REGDB_E_READREGDB);
    EXPECT_EQ(problem.Describe(), registry.Path() + ": is not a file");
    CLSID clsid;
    EXPECT_EQ(RegistryCLSIDFromProgID("Shop.Till.1", &clsid), REGDB_E_READREGDB);
}

TEST(ClassRegistryFileTest, ALinkThatLoopsIsNoEmptyRegistry) {
    const CTempRegistry registry;
    std::filesystem::create_directories(std::filesystem::path(registry.Path()).parent_path());
    std::filesystem::create_symlink("registry", registry.Path());
    RegistryProblem problem;
    EXPECT_EQ(UpdateClassRegistry([](CRegistryKeys&) { return S_OK; }, &problem),
              REGDB_E_READREGDB);
    EXPECT_EQ(problem.Describe().rfind(registry.Path() + ": cannot be read: ", 0), 0U)
        << problem.Describe();
    EXPECT_TRUE(std::filesystem::is_symlink(registry.Path()));
}

TEST(ClassRegistryFileTest, RefusesNamesTheFileCouldNotReadBack) {
    const CTempRegistry registry;
    ASSERT_EQ(SetShopOpen(), S_OK);
    const std::string before = ReadAll(registry.Path());
    ControlClassRegistration noProgId = Control();
    noProgId.progId.clear();
    const std::vector<std::function<void(CRegistryKeys&)>> changes{
        [](CRegistryKeys& k) { k.CreateKey("Shop\nTill"); },
        [](CRegistryKeys& k) { k.SetValue("Shop", "a=b", "c"); },
        [](CRegistryKeys& k) { k.SetValue("Shop", "[Till]", "x"); },
        [](CRegistryKeys& k) { k.SetValue("Shop", "line\nbreak", "x"); },
        [&](CRegistryKeys& k) { RegisterControlClass(k, noProgId); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        RegistryProblem problem;
        EXPECT_EQ(UpdateClassRegistry(
                      [&](CRegistryKeys& k) {
                          changes[i](k);
                          return S_OK;
                      },
                      &problem),
                  E_INVALIDARG)
            << "change " << i;
        EXPECT_EQ(problem.file, registry.Path());
    }
    EXPECT_EQ(ReadAll(registry.Path()), before);
    CRegistryKeys keys;
    EXPECT_EQ(ReadClassRegistry(keys), S_OK);
}

TEST(ClassRegistryFileTest, ConcurrentWritersLoseNoChange) {
    const CTempRegistry registry;
    constexpr int kWriters = 4;
    constexpr int kChangesEach = 25;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int i = 0; i < kChangesEach; ++i) {
                const std::string key = "W" + std::to_string(writer) + "\\" + std::to_string(i);
                ok = ok && SUCCEEDED(UpdateClassRegistry([&](CRegistryKeys& k) {
                         k.SetValue(key, "", "done");
                         return S_OK;
                     }));
            }
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    CRegistryKeys keys;
    ASSERT_EQ(ReadClassRegistry(keys), S_OK);
    for (int writer = 0; writer < kWriters; ++writer) {
        EXPECT_EQ(keys.SubKeys("W" + std::to_string(writer)).size(),
                  static_cast<std::size_t>(kChangesEach));
    }
}

TEST(ClassRegistrationTest, RegistersAControlAndFindsItByProgID) {
    const CTempRegistry registry;
    ASSERT_EQ(UpdateClassRegistry([](CRegistryKeys& keys) {
                  RegisterControlClass(keys, Control());
                  return S_OK;
              }),
              S_OK);
    CRegistryKeys keys;
    ASSERT_EQ(ReadClassRegistry(keys), S_OK);
    const std::string classKey = "CLSID\\" + FormatGuid(kClass);
    EXPECT_EQ(keys.GetValue(classKey), "Till Control");
    EXPECT_EQ(keys.GetValue(classKey + "\\MiscStatus"), "131473");
    EXPECT_EQ(keys.GetValue(classKey + "\\ToolboxBitmap32"), "/opt/shop/Till.so, 1");
    EXPECT_EQ(keys.GetValue(classKey + "\\TypeLib"), FormatGuid(kLib));
    EXPECT_TRUE(keys.HasKey(classKey + "\\Control"));
    EXPECT_TRUE(keys.HasKey(classKey + "\\Insertable"));
    EXPECT_TRUE(keys.HasKey("Shop.Till.1\\Insertable"));

    CLSID found;
    ASSERT_EQ(RegistryCLSIDFromProgID("shop.till.1", &found), S_OK);
    EXPECT_EQ(found, kClass);
    std::string path;
    ASSERT_EQ(RegistryInprocServer(kClass, &path), S_OK);
    EXPECT_EQ(path, "/opt/shop/Till.so");
    EXPECT_EQ(RegistryInprocServer(kOtherClass, &path), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(RegistryCLSIDFromProgID("Shop.Door.1", &found), CO_E_CLASSSTRING);
}

TEST(ClassRegistrationTest, UnregisteringLeavesAProgIDThatNamesAnotherClass) {
    CRegistryKeys keys;
    RegisterControlClass(keys, Control());
    ControlClassRegistration newer = Control();
    newer.clsid = kOtherClass;
    RegisterControlClass(keys, newer);  // the ProgID now names the other class
    UnregisterClass(keys, kClass, "Shop.Till.1");
    EXPECT_FALSE(keys.HasKey("CLSID\\" + FormatGuid(kClass)));
    EXPECT_EQ(keys.GetValue("Shop.Till.1\\CLSID"), FormatGuid(kOtherClass));
    UnregisterClass(keys, kOtherClass, "Shop.Till.1");
    EXPECT_FALSE(keys.HasKey("Shop.Till.1"));
}

TEST(ClassRegistrationTest, UnregistersOneVersionOfALibraryWithItsInterfaces) {
    CRegistryKeys keys;
    TypeLibRegistration lib{
        kLib, 1, 0, "Shop library", "/opt/shop/Till.so", "Till.hlp", {{kInterface, "_DTill"}}};
    RegisterTypeLibrary(keys, lib);
    lib.majorVersion = 2;
    RegisterTypeLibrary(keys, lib);
    const std::string libKey = "TypeLib\\" + FormatGuid(kLib);
    EXPECT_EQ(keys.GetValue(libKey + "\\1.0\\HELPDIR"), "/opt/shop");
    EXPECT_EQ(keys.GetValue(libKey + "\\1.0", "HelpFile"), "Till.hlp");

    UnregisterTypeLibrary(keys, kLib, 1, 0);
    EXPECT_FALSE(keys.HasKey(libKey + "\\1.0"));
    EXPECT_TRUE(keys.HasKey(libKey + "\\2.0"));
    // The interface was last registered by version 2.0, which still owns it.
    EXPECT_TRUE(keys.HasKey("Interface\\" + FormatGuid(kInterface)));
    UnregisterTypeLibrary(keys, kLib, 2, 0);
    EXPECT_FALSE(keys.HasKey(libKey));
    EXPECT_FALSE(keys.HasKey("Interface"));
}
