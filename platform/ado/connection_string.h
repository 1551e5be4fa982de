// Connection strings: key=value pairs, data-source names resolved through the data-source
// file, and the settings a provider connects with (the formats are described in ado.h).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ado/db_value.h"

enum class ProviderKind { SQLite, PostgreSQL };

// Keys are kept in a normal form: lower case, single blanks, synonyms ("uid", "user") under
// one name ("user id").
class CConnectionProperties {
  public:
    // Reads "key=value;key='va;lue';..."; false with a description of what is wrong.
    bool Parse(std::string_view text, std::string& error);
    // The later of two equal keys wins.
    void Set(std::string key, std::string value);
    const std::string* Find(std::string_view key) const;
    std::string Get(std::string_view key) const;
    void Remove(std::string_view key);
    const std::vector<std::pair<std::string, std::string>>& Pairs() const { return pairs_; }
    // The pairs as a connection string again, values quoted where they need it.
    std::string Text() const;

    static std::string NormalKey(std::string_view key);

  private:
    std::vector<std::pair<std::string, std::string>> pairs_;
};

struct ConnectionSettings {
    ProviderKind provider = ProviderKind::SQLite;
    // SQLite: the file, and how it may be opened.
    std::string path;
    bool create = false;
    bool readOnly = false;
    // PostgreSQL.
    std::string host;
    std::string port;
    std::string database;
    std::string user;
    std::string password;
    int connectTimeoutSeconds = 0;  // 0: not given
};

// The data-source file: $QOR_DATASOURCES, else $XDG_CONFIG_HOME/qor/datasources, else
// ~/.config/qor/datasources.
std::string DataSourcesPath();

// Parses the string, resolves DSN=, applies user and password when given, and checks that the
// provider has what it needs. On failure error has the number, description and source.
bool ResolveConnectionString(std::string_view text, std::string_view user,
                             std::string_view password, ConnectionSettings& settings,
                             ErrorRecord& error);

// The connection string without its password, as an open connection shows it.
std::string WithoutPassword(std::string_view text);
