// Reading and writing the record source file beside a design.
#include "designer/record_source_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "controls/common/field_text.h"

std::string RecordSourcePath(const std::string& designPath) {
    return std::filesystem::path(designPath).replace_extension(".recordsource").string();
}

std::string ReadRecordSource(const std::string& designPath) {
    std::ifstream in(RecordSourcePath(designPath), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return std::string(TrimWhiteSpace(text));
}

bool WriteRecordSource(const std::string& designPath, const std::string& text) {
    const std::string path = RecordSourcePath(designPath);
    if (text.empty()) {
        std::error_code error;
        std::filesystem::remove(path, error);
        return !error;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text << '\n';
    out.close();
    return static_cast<bool>(out);
}
