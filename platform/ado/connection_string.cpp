// Parsing connection strings and the data-source file, and turning them into settings.
#include "platform/ado/connection_string.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <fstream>

#include "platform/ado/ado.h"
#include "platform/com/ansi_string.h"

namespace {

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
        text.remove_suffix(1);
    }
    return text;
}

// A quoted value from text[pos] (the opening quote) to its closing quote; a doubled quote
// stands for itself. pos ends after the closing quote.
bool ReadQuoted(std::string_view text, std::size_t& pos, std::string& value) {
    const char quote = text[pos++];
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c != quote) {
            value += c;
        } else if (pos < text.size() && text[pos] == quote) {
            value += quote;
            ++pos;
        } else {
            return true;
        }
    }
    return false;
}

// A NUL would end the value where the provider's C API reads it: "a.db\0junk" would open a.db.
bool WithoutNul(std::string_view value, std::string& error) {
    if (value.find('\0') != std::string_view::npos) {
        error = "a value holds a NUL character";
        return false;
    }
    return true;
}

bool ReadQuotedValue(std::string_view text, std::size_t& pos, std::string& value,
                     std::string& error) {
    if (!ReadQuoted(text, pos, value)) {
        error = "a quoted value has no closing quote";
        return false;
    }
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    if (pos < text.size() && text[pos] != ';') {
        error = "text follows a quoted value";
        return false;
    }
    return true;
}

// One value from pos up to the next ';' (or the end), quoted or not.
bool ReadValue(std::string_view text, std::size_t& pos, std::string& value, std::string& error) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    if (pos < text.size() && (text[pos] == '\'' || text[pos] == '"')) {
        if (!ReadQuotedValue(text, pos, value, error)) {
            return false;
        }
    } else {
        const std::size_t end = std::min(text.find(';', pos), text.size());
        value = std::string(Trim(text.substr(pos, end - pos)));
        pos = end;
    }
    return WithoutNul(value, error);
}

std::string EnvValue(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): read at open only
    return value != nullptr ? value : "";
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

ErrorRecord ConnectionError(HRESULT number, std::string description) {
    return {number, std::move(description), kAdoConnectionSource, 0, ""};
}

// The [name] section of the data-source file into properties.
bool ReadDataSource(const std::string& name, CConnectionProperties& properties,
                    ErrorRecord& error) {
    const std::string path = DataSourcesPath();
    std::ifstream file(path);
    if (!file) {
        error = ConnectionError(adErrProviderNotFound, "Data source name '" + name +
                                                           "' not found: there is no data-source "
                                                           "file " +
                                                           path + ".");
        return false;
    }
    std::string line;
    bool inSection = false;
    bool found = false;
    for (int number = 1; std::getline(file, line); ++number) {
        const std::string_view text = Trim(line);
        if (text.empty() || text.front() == '#' || text.front() == ';') {
            continue;
        }
        if (text.front() == '[' && text.back() == ']') {
            inSection = EqualsNoCase(Trim(text.substr(1, text.size() - 2)), name);
            found = found || inSection;
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = text.find('=');
        std::string value;
        std::string problem;
        std::size_t pos = equals + 1;
        if (equals == std::string_view::npos || Trim(text.substr(0, equals)).empty() ||
            !ReadValue(text, pos, value, problem)) {
            // Only the key is shown: the value may be a password or run into one.
            std::string description = "The data-source file " + path + " has a malformed line ";
            description += std::to_string(number) + " in [" + name + "]";
            description += problem.empty() ? ": it is not key=value."
                                           : ", '" + std::string(Trim(text.substr(0, equals))) +
                                                 "=***': " + problem + ".";
            error = ConnectionError(adErrInvalidArgument, std::move(description));
            return false;
        }
        properties.Set(std::string(Trim(text.substr(0, equals))), value);
    }
    if (!found) {
        error = ConnectionError(adErrProviderNotFound,
                                "Data source name '" + name + "' not found in " + path + ".");
        return false;
    }
    const std::string* source = properties.Find("data source");
    if (source != nullptr && !source->empty() && source->front() != '/') {
        properties.Set("data source", FolderOf(path) + "/" + *source);
    }
    return true;
}

bool ProviderOf(const CConnectionProperties& properties, ProviderKind& kind, ErrorRecord& error) {
    const std::string name = properties.Get("provider");
    if (name.empty() || EqualsNoCase(name, "SQLite") || EqualsNoCase(name, "SQLite3")) {
        kind = ProviderKind::SQLite;
        return true;
    }
    if (EqualsNoCase(name, "PostgreSQL") || EqualsNoCase(name, "Postgres") ||
        EqualsNoCase(name, "PgSQL")) {
        kind = ProviderKind::PostgreSQL;
        return true;
    }
    error =
        ConnectionError(adErrProviderNotFound, "Provider cannot be found: '" + name +
                                                   "'. The providers are SQLite and PostgreSQL.");
    return false;
}

bool SqliteSettings(const CConnectionProperties& properties, ConnectionSettings& settings,
                    ErrorRecord& error) {
    settings.path = properties.Get("data source");
    if (settings.path.empty()) {
        error = ConnectionError(adErrInvalidArgument,
                                "The connection string names no Data Source (the database file).");
        return false;
    }
    const std::string mode = properties.Get("mode");
    if (EqualsNoCase(mode, "Create") || EqualsNoCase(mode, "ReadWriteCreate")) {
        settings.create = true;
    } else if (EqualsNoCase(mode, "Read")) {
        settings.readOnly = true;
    } else if (!mode.empty() && !EqualsNoCase(mode, "ReadWrite") &&
               !EqualsNoCase(mode, "Share Deny None")) {
        error = ConnectionError(adErrInvalidArgument,
                                "Mode '" + mode + "' is not one of Read, ReadWrite and Create.");
        return false;
    }
    return true;
}

bool PostgresSettings(const CConnectionProperties& properties, ConnectionSettings& settings,
                      ErrorRecord& error) {
    settings.host = properties.Get("host");
    settings.port = properties.Get("port");
    settings.database = properties.Get("database");
    settings.user = properties.Get("user id");
    settings.password = properties.Get("password");
    if (settings.host.empty()) {
        error = ConnectionError(adErrInvalidArgument,
                                "The connection string names no Host for PostgreSQL.");
        return false;
    }
    const std::string timeout = properties.Get("connect timeout");
    if (!timeout.empty()) {
        int seconds = 0;
        const auto [end, ec] =
            std::from_chars(timeout.data(), timeout.data() + timeout.size(), seconds);
        if (ec != std::errc() || end != timeout.data() + timeout.size() || seconds < 1) {
            error = ConnectionError(adErrInvalidArgument, "Connect Timeout '" + timeout +
                                                              "' is not a number of seconds.");
            return false;
        }
        settings.connectTimeoutSeconds = seconds;
    }
    return true;
}

}  // namespace

std::string CConnectionProperties::NormalKey(std::string_view key) {
    std::string normal;
    bool blank = false;
    for (const char c : Trim(key)) {
        if (c == ' ' || c == '\t') {
            blank = true;
            continue;
        }
        if (blank && !normal.empty()) {
            normal += ' ';
        }
        blank = false;
        normal += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (normal == "uid" || normal == "user" || normal == "username" || normal == "user name") {
        return "user id";
    }
    if (normal == "pwd") {
        return "password";
    }
    if (normal == "server" || normal == "hostname") {
        return "host";
    }
    if (normal == "initial catalog" || normal == "dbname") {
        return "database";
    }
    if (normal == "datasource" || normal == "file" || normal == "filename") {
        return "data source";
    }
    if (normal == "connection timeout" || normal == "timeout" || normal == "connect_timeout") {
        return "connect timeout";
    }
    return normal;
}

bool CConnectionProperties::Parse(std::string_view text, std::string& error) {
    std::size_t pos = 0;
    int entry = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find(';', pos), text.size());
        const std::size_t equals = text.find('=', pos);
        if (Trim(text.substr(pos, end - pos)).empty()) {
            pos = end + 1;
            continue;
        }
        ++entry;
        if (equals == std::string_view::npos || equals > end) {
            // Named by its place, not its text: it may be the rest of a password cut at a ';'.
            error = "entry " + std::to_string(entry) +
                    " (entries are separated by ';') is not key=value";
            return false;
        }
        const std::string_view key = Trim(text.substr(pos, equals - pos));
        if (key.empty()) {
            error = "a value has no key";
            return false;
        }
        std::string value;
        pos = equals + 1;
        if (!ReadValue(text, pos, value, error)) {
            return false;
        }
        Set(std::string(key), std::move(value));
        ++pos;
    }
    return true;
}

void CConnectionProperties::Set(std::string key, std::string value) {
    key = NormalKey(key);
    Remove(key);
    pairs_.emplace_back(std::move(key), std::move(value));
}

const std::string* CConnectionProperties::Find(std::string_view key) const {
    const std::string normal = NormalKey(key);
    for (const auto& [k, v] : pairs_) {
        if (k == normal) {
            return &v;
        }
    }
    return nullptr;
}

std::string CConnectionProperties::Get(std::string_view key) const {
    const std::string* value = Find(key);
    return value != nullptr ? *value : std::string();
}

void CConnectionProperties::Remove(std::string_view key) {
    const std::string normal = NormalKey(key);
    std::erase_if(pairs_, [&](const auto& pair) { return pair.first == normal; });
}

std::string CConnectionProperties::Text() const {
    std::string text;
    for (const auto& [key, value] : pairs_) {
        const bool plain = value.find_first_of(";'\"") == std::string::npos && value == Trim(value);
        std::string quoted = "\"";
        for (const char c : value) {
            quoted += c;
            if (c == '"') {
                quoted += '"';
            }
        }
        text += (text.empty() ? "" : ";") + key + "=" + (plain ? value : quoted + "\"");
    }
    return text;
}

std::string WithoutPassword(std::string_view text) {
    CConnectionProperties properties;
    std::string ignored;
    if (!properties.Parse(text, ignored)) {
        return std::string(text);
    }
    properties.Remove("password");
    return properties.Text();
}

std::string DataSourcesPath() {
    std::string path = EnvValue("QOR_DATASOURCES");
    if (!path.empty()) {
        return path;
    }
    const std::string config = EnvValue("XDG_CONFIG_HOME");
    if (!config.empty()) {
        return config + "/qor/datasources";
    }
    return EnvValue("HOME") + "/.config/qor/datasources";
}

bool ResolveConnectionString(std::string_view text, std::string_view user,
                             std::string_view password, ConnectionSettings& settings,
                             ErrorRecord& error) {
    CConnectionProperties given;
    std::string problem;
    if (!given.Parse(text, problem) || !WithoutNul(user, problem) ||
        !WithoutNul(password, problem)) {
        error = ConnectionError(adErrInvalidArgument,
                                "The connection string is malformed: " + problem + ".");
        return false;
    }
    CConnectionProperties properties;
    const std::string dsn = given.Get("dsn");
    if (!dsn.empty() && !ReadDataSource(dsn, properties, error)) {
        return false;
    }
    for (const auto& [key, value] : given.Pairs()) {
        if (key != "dsn") {
            properties.Set(key, value);
        }
    }
    if (!user.empty()) {
        properties.Set("user id", std::string(user));
    }
    if (!password.empty()) {
        properties.Set("password", std::string(password));
    }
    settings = ConnectionSettings{};
    if (!ProviderOf(properties, settings.provider, error)) {
        return false;
    }
    return settings.provider == ProviderKind::SQLite
               ? SqliteSettings(properties, settings, error)
               : PostgresSettings(properties, settings, error);
}
