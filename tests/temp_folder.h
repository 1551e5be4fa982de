// A folder of a test's own, removed with everything in it when the test ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qor-test-XXXXXX").string();
        const char* made = ::mkdtemp(pattern.data());
        path_ = made != nullptr ? made : pattern;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    std::string File(std::string_view name) const { return (path_ / name).string(); }
    // Writes the text to the named file; its path.
    std::string Write(std::string_view name, std::string_view text) const {
        std::string path = File(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Copies the file into the folder under the name (replacing what is there); the copy's path.
    std::string Copy(const std::string& source, std::string_view name) const {
        std::string target = File(name);
        std::filesystem::copy_file(source, target,
                                   std::filesystem::copy_options::overwrite_existing);
        return target;
    }

  private:
    std::filesystem::path path_;
};
