// A program's own settings, apart from anything it keeps for the controls or under its profile
// key: the main window's placement and the files opened last, kept the way Qt programs keep
// theirs (QSettings of the organisation "QOR" and the program's name, so on Linux the file
// $XDG_CONFIG_HOME/QOR/PROGRAM.conf).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CWnd;

class CProgramSettings {
  public:
    static constexpr std::size_t kRecentFileCount = 4;

    explicit CProgramSettings(std::string program) : m_program(std::move(program)) {}

    // The files opened or saved last, the most recent first.
    std::vector<std::string> RecentFiles() const;
    // The settings live in their file: these change it, not this object.
    // Puts the file first; an earlier mention goes, and so do files beyond the list's length.
    void AddRecentFile(const std::string& path) const;
    void RemoveRecentFile(const std::string& path) const;

    // Gives the window's top-level window the placement saved last; false when none was saved.
    bool RestoreWindowPlacement(CWnd& window) const;
    void SaveWindowPlacement(CWnd& window) const;

    const std::string& Program() const { return m_program; }

  private:
    void SetRecentFiles(const std::vector<std::string>& files) const;

    std::string m_program;
};
