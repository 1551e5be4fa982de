// The layout tool's text format: any text is a description or a list of problems; a
// description written back reads as the same layout, and one that passes the checks compiles
// to records that read back as it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "tools/qorlayout/layout_json.h"
#include "tools/qorlayout/layout_names.h"

namespace {

bool SameLayout(const ReportLayout& a, const ReportLayout& b) {
    return a.header == b.header && a.items == b.items;
}

void CheckCompiled(const ReportLayout& layout) {
    if (!CheckLayout(layout.header, layout.items).empty()) {
        return;
    }
    FuzzRequire(ReadReportHeader(WriteReportHeader(layout.header)) == layout.header,
                "a checked header compiles to a record that reads back as it");
    for (const ReportItem& item : layout.items) {
        ReportList list{};
        FuzzRequire(ReadReportItemRecord(WriteReportItemRecord(item), list) == item,
                    "a checked item compiles to a record that reads back as it", item.name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);  // NOLINT: bytes
    ReportLayout layout;
    std::vector<std::string> problems;
    if (!ReadLayoutDescription(text, layout, problems)) {
        FuzzRequire(!problems.empty(), "a refused description says why");
        return 0;
    }
    std::string written;
    std::vector<std::string> warnings;
    if (!WriteLayoutDescription(layout, written, problems, warnings)) {
        FuzzRequire(!problems.empty(), "a layout that cannot be written says why");
        return 0;
    }
    ReportLayout again;
    FuzzRequire(ReadLayoutDescription(written, again, problems), "a written description reads",
                written);
    if (warnings.empty()) {
        FuzzRequire(SameLayout(again, layout), "a written description reads as the same layout",
                    written);
    }
    CheckCompiled(layout);
    return 0;
}
