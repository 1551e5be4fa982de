// The class registry: a text file of keys and values (class ids, ProgIDs, in-process server
// paths, type libraries), read whole, changed under an exclusive lock and replaced atomically.
//
// It has two layers, each a file of the same form. The user's file is $QOR_REGISTRY, else
// $XDG_CONFIG_HOME/qor/registry, else $HOME/.config/qor/registry. The system's file is
// qor/registry in the first folder of $XDG_CONFIG_DIRS (default /etc/xdg) that has one; it is
// written in the first folder. A file that is a symbolic link means the file it leads to. Lines:
//
//   ; a comment (also #); comments and blank lines stay where they are through changes, those
//   ; of a removed key where the key was
//   [CLSID\{2F1C...}\InprocServer32]     a key, its path separated by backslashes
//   @=/usr/lib/qor/QORForm.so            the key's default value
//   ThreadingModel=Apartment             a named value: name, '=', the text to the line's end
//
// Key paths and value names compare without regard to ASCII case. In a value's text "\\"
// stands for a backslash, "\n" for a line break and "\r" for a carriage return; other
// backslashes are taken as they are. Values belong to the key above them; a key may have no
// values (it exists all the same). Anything else (a value before the first key, a line without
// '=', an empty or repeated key, a value named twice in one key, an unclosed bracket) makes the
// file damaged: it is reported with its line and never overwritten.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/com/hresult.h"

// What was wrong with the registry file, and where.
struct RegistryProblem {
    std::string file;
    int line = 0;  // 0: the file as a whole (it cannot be read or written)
    std::string message;
    // "FILE:LINE: MESSAGE", or "FILE: MESSAGE" without a line.
    std::string Describe() const;
};

// The keys of a registry in memory. "" names a key's default value.
class CRegistryKeys {
  public:
    bool HasKey(std::string_view key) const;
    // The key or any key below it, as a registry holds a key's path whether or not the file
    // names each part.
    bool HasTree(std::string_view key) const;
    std::optional<std::string> GetValue(std::string_view key, std::string_view name = "") const;
    // The key's direct subkeys, by their last path part, in the order of the file.
    std::vector<std::string> SubKeys(std::string_view key) const;

    void CreateKey(std::string_view key);
    // Creates the key when needed; replaces a value of that name.
    void SetValue(std::string_view key, std::string_view name, std::string value);
    // The key and every key below it; nothing when it is not there.
    void DeleteTree(std::string_view key);

    // The file text, keys in the order they were first created, with the comment and blank
    // lines read; a new file starts with a comment naming it.
    std::string Write() const;
    // The same keys with the same values and comment lines, in the same order, names spelt alike.
    bool operator==(const CRegistryKeys& other) const {
        return m_keys == other.m_keys && m_tail == other.m_tail;
    }
    // REGDB_E_READREGDB and the problem (file and line) when the text is damaged.
    static HRESULT Parse(std::string_view text, const std::string& file, CRegistryKeys& keys,
                         RegistryProblem* problem);

  private:
    // Comment and blank lines as the file has them.
    using Lines = std::vector<std::string>;
    struct Value {
        std::string name;
        std::string text;
        Lines before;
        friend bool operator==(const Value&, const Value&) = default;
    };
    struct Key {
        std::string path;
        Lines before;
        std::vector<Value> values;
        friend bool operator==(const Key&, const Key&) = default;
    };
    Key* Find(std::string_view key);
    const Key* Find(std::string_view key) const;
    Key& Ensure(std::string_view key);
    Key& Append(std::string_view key, Lines before);
    void Reindex();

    std::map<std::string, std::size_t> m_index;  // folded path -> position in m_keys
    std::vector<Key> m_keys;
    Lines m_tail;  // after the last key's values
};

// The user's registration of a class overrides the system's, which every user of the machine
// sees.
enum class RegistryLayer { User, System };

// The name in one case, as key paths and value names compare.
std::string FoldRegistryName(std::string_view text);

// Where the user's registry is, as the environment says now.
std::string ClassRegistryPath();
// Where the layer's file is read from, as the environment says now.
std::string ClassRegistryPath(RegistryLayer layer);
// Where the layer's changes are written: the system's in the first configuration folder.
std::string ClassRegistryWritePath(RegistryLayer layer);

// Reads a layer of the registry; a file that does not exist is an empty registry.
// REGDB_E_READREGDB when the file cannot be read or is damaged, with the problem filled when
// asked for.
HRESULT ReadClassRegistry(CRegistryKeys& keys, RegistryProblem* problem = nullptr,
                          RegistryLayer layer = RegistryLayer::User);
// Reads, changes and writes back a layer's file (the user's unless the system's is asked for)
// under an exclusive lock (a lock file beside it),
// through a temporary file renamed over the old one, so that readers see the old file or the
// new one, never a part. A registry that is a symbolic link keeps it: the file it leads to is
// the one locked and replaced. A damaged file is left as it is: REGDB_E_READREGDB. A change that
// fails is not written and its result returned. E_INVALIDARG, and nothing written, when the
// change names a key or value the file could not read back as it was given (a line break in a
// key, '=' in a value's name, an empty key). REGDB_E_WRITEREGDB when the new file cannot be
// written (its folder cannot be made, or it cannot be locked or replaced).
HRESULT UpdateClassRegistry(const std::function<HRESULT(CRegistryKeys&)>& change,
                            RegistryProblem* problem = nullptr,
                            RegistryLayer layer = RegistryLayer::User);
