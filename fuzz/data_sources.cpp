// The data-source file: a name looked up in a file of any content resolves to complete
// settings or fails with a description, and never shows a password from the file.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/ado/connection_string.h"

namespace {

// The value of a password line added to the file: no message may ever show it.
constexpr const char* kSecret = "Zq7-secret-Zq7";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string name = input.ConsumeRandomLengthString(40);
    const bool withSecret = input.ConsumeBool();
    std::string file = input.ConsumeRemainingBytesAsString();
    // Only a secret the fuzzer did not write itself (in the name or as a key) is one.
    const bool secretKnown = withSecret && name.find(kSecret) == std::string::npos &&
                             file.find(kSecret) == std::string::npos;
    if (withSecret) {
        file += std::string("\nPassword=") + kSecret + "\n";
    }
    setenv("QOR_DATASOURCES", WriteScratchFile("datasources", file).c_str(), 1);

    CConnectionProperties given;
    given.Set("dsn", name);
    ConnectionSettings settings;
    ErrorRecord error;
    if (!ResolveConnectionString(given.Text(), "", "", settings, error)) {
        FuzzRequire(!error.description.empty(), "a failed resolve has a description");
        FuzzRequire(!secretKnown || error.description.find(kSecret) == std::string::npos,
                    "a message never shows a password", error.description);
        return 0;
    }
    if (settings.provider == ProviderKind::SQLite) {
        FuzzRequire(!settings.path.empty() && settings.path.front() == '/',
                    "a data source's file is an absolute path", settings.path);
    } else {
        FuzzRequire(!settings.host.empty(), "a resolved PostgreSQL source names its host");
    }
    return 0;
}
