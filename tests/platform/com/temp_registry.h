// A class registry of its own for one test: QOR_REGISTRY points into a fresh folder, removed
// with everything in it afterwards, and the previous setting comes back.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class CTempRegistry {
  public:
    CTempRegistry() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qor-registry-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        if (const char* previous = std::getenv("QOR_REGISTRY")) {
            m_previous = previous;
        }
        ::setenv("QOR_REGISTRY", Path().c_str(), 1);
    }
    ~CTempRegistry() {
        if (m_previous) {
            ::setenv("QOR_REGISTRY", m_previous->c_str(), 1);
        } else {
            ::unsetenv("QOR_REGISTRY");
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    CTempRegistry(const CTempRegistry&) = delete;
    CTempRegistry& operator=(const CTempRegistry&) = delete;

    std::string Path() const { return m_folder + "/qor/registry"; }
    const std::string& Folder() const { return m_folder; }

  private:
    std::string m_folder;
    std::optional<std::string> m_previous;
};
