// Tokenizing SQL and recognising single-table queries without regular expressions.
#include "platform/ado/sql_shape.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "platform/com/ansi_string.h"

namespace {

bool IsWordStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_' ||
           (static_cast<unsigned char>(c) & 0x80) != 0;
}

bool IsWordChar(char c) {
    return IsWordStart(c) || std::isdigit(static_cast<unsigned char>(c)) != 0 || c == '$';
}

// A quoted token from sql[pos] (the opening character) to the closing one; a doubled closing
// character stands for itself.
bool ReadQuoted(std::string_view sql, std::size_t& pos, char close, std::string& text) {
    ++pos;
    while (pos < sql.size()) {
        const char c = sql[pos++];
        if (c != close) {
            text += c;
        } else if (pos < sql.size() && sql[pos] == close) {
            text += close;
            ++pos;
        } else {
            return true;
        }
    }
    return false;
}

// Skips blanks and comments; false for an unclosed block comment.
bool SkipSpace(std::string_view sql, std::size_t& pos) {
    while (pos < sql.size()) {
        if (std::isspace(static_cast<unsigned char>(sql[pos])) != 0) {
            ++pos;
        } else if (sql.substr(pos, 2) == "--") {
            pos = std::min(sql.find('\n', pos), sql.size());
        } else if (sql.substr(pos, 2) == "/*") {
            const std::size_t close = sql.find("*/", pos + 2);
            if (close == std::string_view::npos) {
                return false;
            }
            pos = close + 2;
        } else {
            return true;
        }
    }
    return true;
}

bool ReadNumber(std::string_view sql, std::size_t& pos) {
    while (pos < sql.size() &&
           (std::isalnum(static_cast<unsigned char>(sql[pos])) != 0 || sql[pos] == '.')) {
        ++pos;
    }
    return true;
}

bool ReadToken(std::string_view sql, std::size_t& pos, SqlToken& token) {
    const char c = sql[pos];
    token.begin = pos;
    if (c == '\'') {
        token.kind = SqlTokenKind::String;
        return ReadQuoted(sql, pos, '\'', token.text);
    }
    if (c == '"' || c == '`' || c == '[') {
        token.kind = SqlTokenKind::QuotedName;
        return ReadQuoted(sql, pos, c == '[' ? ']' : c, token.text);
    }
    if (IsWordStart(c)) {
        token.kind = SqlTokenKind::Word;
        while (pos < sql.size() && IsWordChar(sql[pos])) {
            token.text += sql[pos++];
        }
        return true;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) != 0 ||
        (c == '.' && pos + 1 < sql.size() &&
         std::isdigit(static_cast<unsigned char>(sql[pos + 1])))) {
        token.kind = SqlTokenKind::Number;
        ReadNumber(sql, pos);
        token.text = std::string(sql.substr(token.begin, pos - token.begin));
        return true;
    }
    if (c == '?' || c == '$' || c == ':' || c == '@') {
        token.kind = c == ':' && (pos + 1 >= sql.size() || !IsWordStart(sql[pos + 1]))
                         ? SqlTokenKind::Symbol
                         : SqlTokenKind::Parameter;
        ++pos;
        while (token.kind == SqlTokenKind::Parameter && pos < sql.size() && IsWordChar(sql[pos])) {
            ++pos;
        }
        token.text = std::string(sql.substr(token.begin, pos - token.begin));
        return true;
    }
    token.kind = SqlTokenKind::Symbol;
    token.text = std::string(1, c);
    ++pos;
    return true;
}

bool IsKeyword(const SqlToken& token, std::string_view word) {
    return token.kind == SqlTokenKind::Word && EqualsNoCase(token.text, word);
}

constexpr std::array kQueryKeywords = {
    "select", "from",    "where",  "order",     "by",    "group", "having", "limit",
    "offset", "union",   "except", "intersect", "join",  "on",    "as",     "and",
    "or",     "not",     "with",   "distinct",  "inner", "left",  "right",  "full",
    "cross",  "natural", "using",  "window",    "fetch", "for",   "values", "into",
};

bool IsQueryKeyword(const SqlToken& token) {
    return token.kind == SqlTokenKind::Word &&
           std::any_of(kQueryKeywords.begin(), kQueryKeywords.end(),
                       [&](const char* word) { return EqualsNoCase(token.text, word); });
}

bool IsName(const SqlToken& token) {
    return token.kind == SqlTokenKind::QuotedName ||
           (token.kind == SqlTokenKind::Word && !IsQueryKeyword(token));
}

bool IsSymbol(const SqlToken& token, char c) {
    return token.kind == SqlTokenKind::Symbol && token.text.size() == 1 && token.text[0] == c;
}

// The tokens at parenthesis depth 0, each with its index in the full list.
class TopLevel {
  public:
    explicit TopLevel(const std::vector<SqlToken>& tokens) : tokens_(tokens) {
        int depth = 0;
        for (std::size_t i = 0; i < tokens.size(); ++i) {
            if (IsSymbol(tokens[i], ')')) {
                --depth;
            }
            if (depth == 0) {
                indexes_.push_back(i);
            }
            if (IsSymbol(tokens[i], '(')) {
                ++depth;
            }
        }
        balanced_ = depth == 0;
    }

    bool Balanced() const { return balanced_; }
    std::size_t Size() const { return indexes_.size(); }
    const SqlToken& operator[](std::size_t i) const { return tokens_[indexes_[i]]; }

  private:
    const std::vector<SqlToken>& tokens_;
    std::vector<std::size_t> indexes_;
    bool balanced_ = true;
};

// The select list from position at: '*', or names (qualified, maybe with an alias) and
// qualifier.* items. Aliases are collected.
bool ReadSelectList(const TopLevel& top, std::size_t& at, std::vector<std::string>& aliases) {
    while (at < top.Size()) {
        if (IsSymbol(top[at], '*')) {
            ++at;
        } else {
            if (!IsName(top[at])) {
                return false;
            }
            ++at;
            while (at + 1 < top.Size() && IsSymbol(top[at], '.') &&
                   (IsName(top[at + 1]) || IsSymbol(top[at + 1], '*'))) {
                at += 2;
            }
            if (at < top.Size() && IsKeyword(top[at], "as")) {
                ++at;
                if (at >= top.Size() || !IsName(top[at])) {
                    return false;
                }
            }
            if (at < top.Size() && IsName(top[at])) {
                aliases.push_back(top[at].text);
                ++at;
            }
        }
        if (at < top.Size() && IsSymbol(top[at], ',')) {
            ++at;
            continue;
        }
        return at < top.Size() && IsKeyword(top[at], "from");
    }
    return false;
}

bool ReadTable(const TopLevel& top, std::size_t& at, SingleTableQuery& query,
               std::string_view sql) {
    if (at >= top.Size() || !IsName(top[at])) {
        return false;
    }
    const std::size_t first = at;
    query.table = top[at].text;
    std::size_t last = at++;
    if (at + 1 < top.Size() && IsSymbol(top[at], '.') && IsName(top[at + 1])) {
        query.schema = query.table;
        query.table = top[at + 1].text;
        last = at + 1;
        at += 2;
    }
    const std::size_t tableBegin = top[first].begin;
    query.qualifierText = std::string(sql.substr(tableBegin, top[last].end - tableBegin));
    if (at < top.Size() && IsKeyword(top[at], "as")) {
        ++at;
        if (at >= top.Size() || !IsName(top[at])) {
            return false;
        }
    }
    if (at < top.Size() && IsName(top[at])) {
        query.qualifierText = std::string(sql.substr(top[at].begin, top[at].end - top[at].begin));
        ++at;
    }
    return true;
}

// What may follow the table: WHERE, ORDER BY, LIMIT / OFFSET, and nothing that joins, groups
// or combines.
bool ReadTail(const TopLevel& top, std::size_t at, const std::vector<std::string>& aliases,
              SingleTableQuery& query) {
    constexpr std::array kRefused = {"join",      "group",  "having",  "union", "except",
                                     "intersect", "window", "natural", "cross", "inner",
                                     "left",      "right",  "full",    "into",  "for"};
    bool inOrderBy = false;
    bool termStart = false;
    for (; at < top.Size(); ++at) {
        const SqlToken& token = top[at];
        if (IsSymbol(token, ',') && !inOrderBy) {
            return false;
        }
        if (IsSymbol(token, ';')) {
            return at + 1 == top.Size();
        }
        if (std::any_of(kRefused.begin(), kRefused.end(),
                        [&](const char* word) { return IsKeyword(token, word); })) {
            return false;
        }
        if (IsKeyword(token, "order") && at + 1 < top.Size() && IsKeyword(top[at + 1], "by")) {
            inOrderBy = true;
            termStart = true;
            ++at;
            continue;
        }
        if (IsKeyword(token, "limit") || IsKeyword(token, "offset") || IsKeyword(token, "where")) {
            inOrderBy = false;
        }
        if (inOrderBy && termStart) {
            const bool alias = IsName(token) && std::any_of(aliases.begin(), aliases.end(),
                                                            [&](const std::string& a) {
                                                                return EqualsNoCase(a, token.text);
                                                            });
            query.orderByNeedsSelectList =
                query.orderByNeedsSelectList || token.kind == SqlTokenKind::Number || alias;
        }
        termStart = inOrderBy && IsSymbol(token, ',');
    }
    return true;
}

}  // namespace

bool TokenizeSql(std::string_view sql, std::vector<SqlToken>& tokens) {
    tokens.clear();
    std::size_t pos = 0;
    while (true) {
        if (!SkipSpace(sql, pos)) {
            return false;
        }
        if (pos >= sql.size()) {
            return true;
        }
        SqlToken token;
        if (!ReadToken(sql, pos, token)) {
            return false;
        }
        token.end = pos;
        tokens.push_back(std::move(token));
    }
}

bool ParseSingleTableQuery(std::string_view sql, SingleTableQuery& query) {
    query = SingleTableQuery{};
    std::vector<SqlToken> tokens;
    if (!TokenizeSql(sql, tokens)) {
        return false;
    }
    const TopLevel top(tokens);
    if (!top.Balanced() || top.Size() < 4 || !IsKeyword(top[0], "select")) {
        return false;
    }
    std::size_t at = 1;
    if (IsKeyword(top[at], "all")) {
        ++at;
    }
    std::vector<std::string> aliases;
    if (!ReadSelectList(top, at, aliases)) {
        return false;
    }
    const std::size_t fromBegin = top[at].begin;
    ++at;
    if (!ReadTable(top, at, query, sql) || !ReadTail(top, at, aliases, query)) {
        return false;
    }
    query.wholeTable = at == top.Size() || (at + 1 == top.Size() && IsSymbol(top[at], ';'));
    std::size_t fromEnd = tokens.back().end;
    if (IsSymbol(tokens.back(), ';')) {
        fromEnd = tokens.back().begin;
    }
    query.fromClause = std::string(sql.substr(fromBegin, fromEnd - fromBegin));
    return true;
}

bool IsPlainName(std::string_view text) {
    if (text.empty() || !IsWordStart(text.front())) {
        return false;
    }
    if (!std::all_of(text.begin(), text.end(), IsWordChar)) {
        return false;
    }
    SqlToken token;
    token.text = std::string(text);
    return !IsQueryKeyword(token);
}

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string InsertStatement(const std::string& table, const std::vector<std::string>& names,
                            std::string_view marker) {
    std::string sql = "INSERT INTO " + table;
    if (names.empty()) {
        return sql + " DEFAULT VALUES";
    }
    std::string columns;
    std::string parameters;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string separator = i > 0 ? ", " : "";
        columns += separator + QuoteIdentifier(names[i]);
        parameters += separator + std::string(marker) + std::to_string(i + 1);
    }
    return sql + " (" + columns + ") VALUES (" + parameters + ")";
}
