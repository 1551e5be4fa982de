// The registry file: parsing with line-exact problems, writing with its comments kept, and the
// locked atomic update through symbolic links.
#include "platform/com/class_registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

std::string FoldRegistryName(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return folded;
}

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && FoldRegistryName(a) == FoldRegistryName(b);
}

std::string Escape(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string Unescape(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] == '\\' && (next == '\\' || next == 'n' || next == 'r')) {
            plain += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\';
            ++i;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsBlank(std::string_view line) {
    return TrimBlanks(line).empty();
}

constexpr const char* kHeader = "; QOR class registry";

// Lines moved ahead of the lines already there, with no two blank lines in a row, so that
// removing and adding keys again does not pile blank lines up.
std::vector<std::string> Merge(std::vector<std::string> moved,
                               const std::vector<std::string>& into) {
    moved.insert(moved.end(), into.begin(), into.end());
    const auto end = std::unique(moved.begin(), moved.end(), [](const auto& a, const auto& b) {
        return IsBlank(a) && IsBlank(b);
    });
    moved.erase(end, moved.end());
    return moved;
}

void AppendLines(std::string& text, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        text += line + "\n";
    }
}

// A key path without empty parts, leading or trailing separators.
bool IsKeyPath(std::string_view path) {
    return !path.empty() && path.front() != '\\' && path.back() != '\\' &&
           path.find("\\\\") == std::string_view::npos;
}

// Reads the file; a missing one reads as empty.
HRESULT ReadFileText(const std::string& path, std::string& text, RegistryProblem* problem) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        // A link that loops or a folder that cannot be searched is no empty registry either.
        if (error) {
            if (problem != nullptr) {
                *problem = {path, 0, "cannot be read: " + error.message()};
            }
            return REGDB_E_READREGDB;
        }
        text.clear();
        return S_OK;
    }
    // A folder in its place would read as an empty registry and hide every class.
    if (!std::filesystem::is_regular_file(path, error)) {
        if (problem != nullptr) {
            *problem = {path, 0, "is not a file"};
        }
        return REGDB_E_READREGDB;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    if (!in.good() && !in.eof()) {
        if (problem != nullptr) {
            *problem = {path, 0, "cannot be read"};
        }
        return REGDB_E_READREGDB;
    }
    text = contents.str();
    return S_OK;
}

// Holds an exclusive lock on the file while it lives.
class CFileLock {
  public:
    explicit CFileLock(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~CFileLock() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;
    bool Held() const { return m_fd >= 0; }

  private:
    int m_fd;
};

// An open file descriptor that is closed when it goes.
class CFd {
  public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() { Close(); }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }
    bool Close() {
        const bool closed = m_fd < 0 || ::close(m_fd) == 0;
        m_fd = -1;
        return closed;
    }

  private:
    int m_fd;
};

bool WriteAll(int fd, const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// The file the path leads to through its symbolic links (the path itself when it is none), so
// that an update replaces that file and keeps the links. A chain that loops ends where the
// search stops; reading the registry through it fails before anything is written.
std::string LinkTarget(const std::string& path) {
    constexpr int kMaxLinks = 40;
    std::filesystem::path target(path);
    std::error_code error;
    for (int link = 0; link < kMaxLinks && std::filesystem::is_symlink(target, error); ++link) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target.string();
}

// Writes the text to a new file beside the target and renames it over the target.
bool ReplaceFile(const std::string& path, const std::string& text) {
    std::string pattern = path + ".XXXXXX";
    CFd fd(::mkstemp(pattern.data()));
    if (fd.Get() < 0) {
        return false;
    }
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? old.st_mode & 07777 : 0644;
    const bool written = ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), text) &&
                         ::fsync(fd.Get()) == 0 && fd.Close();
    if (!written || std::rename(pattern.c_str(), path.c_str()) != 0) {
        ::unlink(pattern.c_str());
        return false;
    }
    return true;
}

void Report(RegistryProblem* problem, const std::string& file, int line, std::string message) {
    if (problem != nullptr) {
        *problem = {file, line, std::move(message)};
    }
}

// Whether the keys' text reads back as them: a key path or value name holding a line break,
// '=' or a leading bracket or comment sign would come back as other keys, or make the file
// damaged for every later reader.
bool ReadsBack(const std::string& text, const CRegistryKeys& keys) {
    CRegistryKeys parsed;
    return SUCCEEDED(CRegistryKeys::Parse(text, {}, parsed, nullptr)) && parsed == keys;
}

// The system's candidate files, one in each folder of $XDG_CONFIG_DIRS; folders that are not
// absolute paths are left out, as the base directory rules say.
std::vector<std::string> SystemRegistryFiles() {
    std::vector<std::string> files;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string_view rest = dirs != nullptr ? dirs : "";
    while (!rest.empty()) {
        const std::size_t colon = std::min(rest.find(':'), rest.size());
        const std::string_view folder = rest.substr(0, colon);
        if (folder.starts_with('/')) {
            files.push_back(std::string(folder) + "/qor/registry");
        }
        rest.remove_prefix(std::min(colon + 1, rest.size()));
    }
    if (files.empty()) {
        files.emplace_back("/etc/xdg/qor/registry");
    }
    return files;
}

}  // namespace

std::string RegistryProblem::Describe() const {
    return line > 0 ? file + ":" + std::to_string(line) + ": " + message : file + ": " + message;
}

CRegistryKeys::Key* CRegistryKeys::Find(std::string_view key) {
    const auto it = m_index.find(FoldRegistryName(key));
    return it == m_index.end() ? nullptr : &m_keys[it->second];
}

const CRegistryKeys::Key* CRegistryKeys::Find(std::string_view key) const {
    const auto it = m_index.find(FoldRegistryName(key));
    return it == m_index.end() ? nullptr : &m_keys[it->second];
}

CRegistryKeys::Key& CRegistryKeys::Ensure(std::string_view key) {
    if (Key* found = Find(key)) {
        return *found;
    }
    // A new key follows whatever ends the file, a blank line apart.
    Lines before = std::exchange(m_tail, {});
    if (before.empty() && m_keys.empty()) {
        before.emplace_back(kHeader);
    }
    if (before.empty() || !IsBlank(before.back())) {
        before.emplace_back();
    }
    return Append(key, std::move(before));
}

CRegistryKeys::Key& CRegistryKeys::Append(std::string_view key, Lines before) {
    m_index.emplace(FoldRegistryName(key), m_keys.size());
    m_keys.push_back({std::string(key), std::move(before), {}});
    return m_keys.back();
}

void CRegistryKeys::Reindex() {
    m_index.clear();
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        m_index.emplace(FoldRegistryName(m_keys[i].path), i);
    }
}

bool CRegistryKeys::HasKey(std::string_view key) const {
    return Find(key) != nullptr;
}

bool CRegistryKeys::HasTree(std::string_view key) const {
    const std::string below = FoldRegistryName(key) + "\\";
    return HasKey(key) || std::any_of(m_keys.begin(), m_keys.end(), [&](const Key& candidate) {
               return FoldRegistryName(candidate.path).starts_with(below);
           });
}

std::optional<std::string> CRegistryKeys::GetValue(std::string_view key,
                                                   std::string_view name) const {
    const Key* found = Find(key);
    if (found == nullptr) {
        return std::nullopt;
    }
    for (const Value& value : found->values) {
        if (SameText(value.name, name)) {
            return value.text;
        }
    }
    return std::nullopt;
}

std::vector<std::string> CRegistryKeys::SubKeys(std::string_view key) const {
    const std::string prefix = FoldRegistryName(key) + "\\";
    std::vector<std::string> children;
    for (const Key& candidate : m_keys) {
        const std::string folded = FoldRegistryName(candidate.path);
        if (folded.starts_with(prefix) && folded.find('\\', prefix.size()) == std::string::npos) {
            children.push_back(candidate.path.substr(prefix.size()));
        }
    }
    return children;
}

void CRegistryKeys::CreateKey(std::string_view key) {
    Ensure(key);
}

void CRegistryKeys::SetValue(std::string_view key, std::string_view name, std::string value) {
    Key& target = Ensure(key);
    for (Value& held : target.values) {
        if (SameText(held.name, name)) {
            held.text = std::move(value);
            return;
        }
    }
    target.values.push_back({std::string(name), std::move(value), {}});
}

void CRegistryKeys::DeleteTree(std::string_view key) {
    const std::string folded = FoldRegistryName(key);
    const std::string below = folded + "\\";
    // The lines of removed keys go ahead of the next key kept, or to the file's end.
    Lines moved;
    std::vector<Key> kept;
    for (Key& candidate : m_keys) {
        const std::string path = FoldRegistryName(candidate.path);
        if (path != folded && !path.starts_with(below)) {
            if (!moved.empty()) {
                candidate.before = Merge(std::exchange(moved, {}), candidate.before);
            }
            kept.push_back(std::move(candidate));
            continue;
        }
        moved = Merge(std::move(moved), candidate.before);
        for (const Value& value : candidate.values) {
            moved = Merge(std::move(moved), value.before);
        }
    }
    if (!moved.empty()) {
        m_tail = Merge(std::move(moved), m_tail);
        while (!m_tail.empty() && IsBlank(m_tail.back())) {
            m_tail.pop_back();
        }
    }
    m_keys = std::move(kept);
    Reindex();
}

std::string CRegistryKeys::Write() const {
    std::string text;
    for (const Key& key : m_keys) {
        AppendLines(text, key.before);
        text += "[" + key.path + "]\n";
        for (const Value& value : key.values) {
            AppendLines(text, value.before);
            text += (value.name.empty() ? std::string("@") : value.name) + "=" +
                    Escape(value.text) + "\n";
        }
    }
    AppendLines(text, m_tail);
    return text;
}

HRESULT CRegistryKeys::Parse(std::string_view text, const std::string& file, CRegistryKeys& keys,
                             RegistryProblem* problem) {
    CRegistryKeys parsed;
    Key* current = nullptr;
    Lines pending;  // comment and blank lines since the last key or value
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::string_view content = TrimBlanks(line);
        if (content.empty() || content.front() == ';' || content.front() == '#') {
            // Without every carriage return it ends with: a kept "\r" would be read as the line
            // break's own when the file is written and read again.
            pending.emplace_back(line.substr(0, line.find_last_not_of('\r') + 1));
            continue;
        }
        if (content.front() == '[') {
            if (content.back() != ']') {
                Report(problem, file, lineNumber, "a key's name is not closed with ']'");
                return REGDB_E_READREGDB;
            }
            const std::string_view path = TrimBlanks(content.substr(1, content.size() - 2));
            if (!IsKeyPath(path)) {
                Report(problem, file, lineNumber, "a key has an empty name or path part");
                return REGDB_E_READREGDB;
            }
            if (parsed.HasKey(path)) {
                Report(problem, file, lineNumber,
                       "the key [" + std::string(path) + "] appears twice");
                return REGDB_E_READREGDB;
            }
            current = &parsed.Append(path, std::exchange(pending, {}));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            Report(problem, file, lineNumber, "a line is neither a key nor a value");
            return REGDB_E_READREGDB;
        }
        if (current == nullptr) {
            Report(problem, file, lineNumber, "a value comes before any key");
            return REGDB_E_READREGDB;
        }
        std::string_view name = TrimBlanks(line.substr(0, equals));
        if (name.empty()) {
            Report(problem, file, lineNumber, "a value has no name (the default value is '@')");
            return REGDB_E_READREGDB;
        }
        if (name == "@") {
            name = {};
        }
        const bool repeated = std::any_of(current->values.begin(), current->values.end(),
                                          [&](const Value& v) { return SameText(v.name, name); });
        if (repeated) {
            Report(problem, file, lineNumber, "a value is given twice in one key");
            return REGDB_E_READREGDB;
        }
        current->values.push_back(
            {std::string(name), Unescape(line.substr(equals + 1)), std::exchange(pending, {})});
    }
    parsed.m_tail = std::move(pending);
    keys = std::move(parsed);
    return S_OK;
}

namespace {

HRESULT ReadRegistryFile(const std::string& path, CRegistryKeys& keys, RegistryProblem* problem) {
    std::string text;
    const HRESULT hr = ReadFileText(path, text, problem);
    return FAILED(hr) ? hr : CRegistryKeys::Parse(text, path, keys, problem);
}

}  // namespace

std::string ClassRegistryPath() {
    if (const char* explicitPath = std::getenv("QOR_REGISTRY");
        explicitPath != nullptr && *explicitPath != '\0') {
        return explicitPath;
    }
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        return std::string(config) + "/qor/registry";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/qor/registry";
}

std::string ClassRegistryPath(RegistryLayer layer) {
    if (layer == RegistryLayer::User) {
        return ClassRegistryPath();
    }
    const std::vector<std::string> candidates = SystemRegistryFiles();
    const auto found = std::find_if(candidates.begin(), candidates.end(), [](const auto& path) {
        std::error_code error;
        return std::filesystem::symlink_status(path, error).type() !=
               std::filesystem::file_type::not_found;
    });
    return found != candidates.end() ? *found : candidates.front();
}

std::string ClassRegistryWritePath(RegistryLayer layer) {
    return layer == RegistryLayer::User ? ClassRegistryPath() : SystemRegistryFiles().front();
}

HRESULT ReadClassRegistry(CRegistryKeys& keys, RegistryProblem* problem, RegistryLayer layer) {
    try {
        return ReadRegistryFile(ClassRegistryPath(layer), keys, problem);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT UpdateClassRegistry(const std::function<HRESULT(CRegistryKeys&)>& change,
                            RegistryProblem* problem, RegistryLayer layer) {
    try {
        const std::string path = ClassRegistryWritePath(layer);
        // Every name of the file takes the same lock.
        const std::string target = LinkTarget(path);
        std::error_code error;
        const std::filesystem::path folder = std::filesystem::path(target).parent_path();
        if (!folder.empty() && !std::filesystem::create_directories(folder, error) && error) {
            Report(problem, path, 0, "its folder cannot be made: " + error.message());
            return REGDB_E_WRITEREGDB;
        }
        const CFileLock lock(target + ".lock");
        if (!lock.Held()) {
            Report(problem, path, 0, std::string("cannot be locked: ") + std::strerror(errno));
            return REGDB_E_WRITEREGDB;
        }
        CRegistryKeys keys;
        HRESULT hr = ReadRegistryFile(path, keys, problem);
        if (SUCCEEDED(hr)) {
            hr = change(keys);
        }
        if (FAILED(hr)) {
            return hr;
        }
        const std::string text = keys.Write();
        if (!ReadsBack(text, keys)) {
            Report(problem, path, 0, "a change names a key or value the file cannot hold");
            return E_INVALIDARG;
        }
        if (!ReplaceFile(target, text)) {
            Report(problem, path, 0, std::string("cannot be written: ") + std::strerror(errno));
            return REGDB_E_WRITEREGDB;
        }
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::filesystem::filesystem_error&) {
        return REGDB_E_WRITEREGDB;
    }
}
