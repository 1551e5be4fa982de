// Connection strings: a parsed string written out as text parses again to the same pairs, the
// password never survives WithoutPassword, and resolving never fails without saying why.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/ado/connection_string.h"

namespace {

void CheckRoundTrip(std::string_view text) {
    CConnectionProperties parsed;
    std::string error;
    if (!parsed.Parse(text, error)) {
        FuzzRequire(!error.empty(), "a refused string says why");
        FuzzRequire(WithoutPassword(text) == text, "a string that does not parse is shown as is");
        return;
    }
    const std::string written = parsed.Text();
    CConnectionProperties again;
    FuzzRequire(again.Parse(written, error), "the text of parsed pairs parses", written);
    FuzzRequire(again.Pairs() == parsed.Pairs(), "the text of parsed pairs gives the same pairs",
                written);
    CConnectionProperties shown;
    FuzzRequire(shown.Parse(WithoutPassword(text), error), "a string without password parses");
    FuzzRequire(shown.Find("password") == nullptr, "no password is left in the shown string");
}

void CheckResolve(std::string_view text) {
    ConnectionSettings settings;
    ErrorRecord error;
    if (!ResolveConnectionString(text, "", "", settings, error)) {
        FuzzRequire(!error.description.empty(), "a failed resolve has a description");
        return;
    }
    FuzzRequire(settings.provider != ProviderKind::SQLite || !settings.path.empty(),
                "a resolved SQLite string names its file");
    FuzzRequire(settings.provider != ProviderKind::PostgreSQL || !settings.host.empty(),
                "a resolved PostgreSQL string names its host");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // DSN= goes to a data-source file that is not there: resolving must fail cleanly.
    setenv("QOR_DATASOURCES", "/nonexistent/qor-fuzz/datasources", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);  // NOLINT: bytes
    CheckRoundTrip(text);
    CheckResolve(text);
    return 0;
}
