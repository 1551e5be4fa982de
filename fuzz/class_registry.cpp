// The class registry file: a text that parses is written back to a text that parses to the
// same keys, and writing that again changes nothing; a damaged text names its line.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/com/class_registry.h"

namespace {

int LineCount(std::string_view text) {
    int lines = 1;
    for (const char c : text) {
        lines += c == '\n' ? 1 : 0;
    }
    return lines;
}

// Every key the written text names is there, and so is each subkey listed under it.
void CheckKeyLines(const CRegistryKeys& keys, const std::string& written) {
    std::size_t start = 0;
    while (start < written.size()) {
        const std::size_t end = std::min(written.find('\n', start), written.size());
        const std::string_view line(written.data() + start, end - start);
        start = end + 1;
        if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
            continue;
        }
        const std::string key(line.substr(1, line.size() - 2));
        FuzzRequire(keys.HasKey(key), "a key the text names is in the registry", key);
        for (const std::string& sub : keys.SubKeys(key)) {
            FuzzRequire(keys.HasTree(key + "\\" + sub), "a listed subkey is in the registry",
                        key + "\\" + sub);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);  // NOLINT: bytes
    CRegistryKeys keys;
    RegistryProblem problem;
    if (FAILED(CRegistryKeys::Parse(text, "registry", keys, &problem))) {
        FuzzRequire(problem.line >= 1 && problem.line <= LineCount(text),
                    "a damaged text names a line of it", problem.Describe());
        FuzzRequire(!problem.message.empty(), "a damaged text says what is wrong");
        return 0;
    }
    const std::string written = keys.Write();
    CRegistryKeys again;
    FuzzRequire(SUCCEEDED(CRegistryKeys::Parse(written, "registry", again, &problem)),
                "the written text of a registry parses", problem.Describe());
    FuzzRequire(again == keys, "the written text reads back as the same keys", written);
    FuzzRequire(again.Write() == written, "writing a registry read back changes nothing");
    CheckKeyLines(keys, written);
    return 0;
}
