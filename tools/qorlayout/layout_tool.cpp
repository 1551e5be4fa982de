// Compiling and dumping report layouts, with messages that name the file, the item and the field.
#include "tools/qorlayout/layout_tool.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "controls/report/report_layout_file.h"
#include "tools/qorlayout/layout_json.h"
#include "tools/qorlayout/layout_names.h"

namespace {

constexpr const char* kUsage =
    "usage: qorlayout compile DESCRIPTION.json LAYOUT    write the layout file of a description\n"
    "       qorlayout dump LAYOUT [DESCRIPTION.json|-]   write a layout file's description\n";

// Descriptions are text a person writes; a file this large is not one.
constexpr std::streamsize kMaxDescriptionBytes = 64 * 1024 * 1024;

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return !in.bad() && static_cast<std::streamsize>(text.size()) <= kMaxDescriptionBytes;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

void Report(std::ostream& errors, const std::string& file, const std::vector<std::string>& lines,
            const char* kind = "") {
    for (const std::string& line : lines) {
        errors << file << ": " << kind << line << '\n';
    }
}

}  // namespace

int CompileLayout(const std::string& input, const std::string& output, std::ostream& errors) {
    std::string json;
    if (!ReadText(input, json)) {
        errors << input << ": cannot be read\n";
        return kLayoutToolFailed;
    }
    ReportLayout layout;
    std::vector<std::string> problems;
    if (!ReadLayoutDescription(json, layout, problems)) {
        Report(errors, input, problems);
        return kLayoutToolFailed;
    }
    const std::vector<LayoutFault> faults = CheckLayout(layout.header, layout.items);
    for (const LayoutFault& fault : faults) {
        problems.push_back(DescribeFault(fault));
    }
    if (!problems.empty()) {
        Report(errors, input, problems);
        return kLayoutToolFailed;
    }
    if (!WriteReportLayoutFile(output, layout)) {
        errors << output << ": cannot be written\n";
        return kLayoutToolFailed;
    }
    return kLayoutToolDone;
}

int DumpLayout(const std::string& input, const std::string& output, std::ostream& out,
               std::ostream& errors) {
    const std::optional<ReportLayout> layout = ReadReportLayoutFile(input);
    if (!layout) {
        errors << input << ": not a report layout file (missing, unreadable or shorter than "
               << kReportHeaderSize << " bytes)\n";
        return kLayoutToolFailed;
    }
    std::string json;
    std::vector<std::string> problems;
    std::vector<std::string> warnings;
    const bool described = WriteLayoutDescription(*layout, json, problems, warnings);
    Report(errors, input, warnings, "warning: ");
    if (!described) {
        Report(errors, input, problems);
        return kLayoutToolFailed;
    }
    if (output == "-") {
        out << json;
        return kLayoutToolDone;
    }
    if (!WriteText(output, json)) {
        errors << output << ": cannot be written\n";
        return kLayoutToolFailed;
    }
    return kLayoutToolDone;
}

int RunLayoutTool(int argc, const char* const* argv, std::ostream& out, std::ostream& errors) {
    const std::vector<std::string> args(argv, argv + argc);
    if (args.size() == 3 && args[0] == "compile") {
        return CompileLayout(args[1], args[2], errors);
    }
    if ((args.size() == 2 || args.size() == 3) && args[0] == "dump") {
        return DumpLayout(args[1], args.size() == 3 ? args[2] : "-", out, errors);
    }
    errors << kUsage;
    return kLayoutToolUsage;
}
