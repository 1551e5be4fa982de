// A class registry of its own for one test: QOR_REGISTRY points into a fresh folder and
// XDG_CONFIG_DIRS to a folder beside it for the system's file, both removed with everything in
// them afterwards, and the previous settings come back; and a control module's registration.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/com/module_loader.h"

class CTempRegistry {
  public:
    CTempRegistry() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qor-registry-XXXXXX").string();
        m_folder = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        Set("QOR_REGISTRY", Path(), m_previousUser);
        Set("XDG_CONFIG_DIRS", SystemFolder(), m_previousSystem);
    }
    ~CTempRegistry() {
        Restore("QOR_REGISTRY", m_previousUser);
        Restore("XDG_CONFIG_DIRS", m_previousSystem);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    CTempRegistry(const CTempRegistry&) = delete;
    CTempRegistry& operator=(const CTempRegistry&) = delete;

    std::string Path() const { return m_folder + "/qor/registry"; }
    const std::string& Folder() const { return m_folder; }
    // The configuration folder whose qor/registry is the system's file.
    std::string SystemFolder() const { return m_folder + "/system"; }
    std::string SystemPath() const { return SystemFolder() + "/qor/registry"; }

  private:
    static void Set(const char* name, const std::string& value,
                    std::optional<std::string>& previous) {
        if (const char* held = std::getenv(name)) {
            previous = held;
        }
        ::setenv(name, value.c_str(), 1);
    }
    static void Restore(const char* name, const std::optional<std::string>& previous) {
        if (previous) {
            ::setenv(name, previous->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }

    std::string m_folder;
    std::optional<std::string> m_previousUser;
    std::optional<std::string> m_previousSystem;
};

// Registers the control module at the path into the class registry QOR_REGISTRY names.
inline bool RegisterModule(const char* path) {
    void* module = nullptr;
    if (FAILED(CoLoadModule(path, &module))) {
        return false;
    }
    const auto registerServer = reinterpret_cast<DllRegisterServerFunction>(  // NOLINT
        CoModuleSymbol(module, "DllRegisterServer"));
    return registerServer != nullptr && registerServer() == S_OK;
}
