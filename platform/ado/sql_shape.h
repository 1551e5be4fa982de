// A small SQL tokenizer and the recognition of single-table queries, which a keyset cursor can
// serve: SELECT * | columns FROM table [alias] [WHERE ...] [ORDER BY ...] [LIMIT ...].
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

enum class SqlTokenKind { Word, QuotedName, String, Number, Symbol, Parameter };

struct SqlToken {
    SqlTokenKind kind = SqlTokenKind::Word;
    // Words and names as written, unquoted ("a""b" is a"b); strings without their quotes.
    std::string text;
    std::size_t begin = 0;  // offsets into the source text
    std::size_t end = 0;
};

// Splits SQL text into tokens, skipping blanks and comments; false when a quote or comment is
// not closed.
bool TokenizeSql(std::string_view sql, std::vector<SqlToken>& tokens);

struct SingleTableQuery {
    std::string schema;  // empty when not given
    std::string table;
    // The name the query's columns use for the table: its alias, or the table as written.
    std::string qualifierText;
    // Source text from FROM to the end, without a trailing ';'.
    std::string fromClause;
    // ORDER BY names a result column by its position or by an alias of the select list, which
    // a query reading only the keys could not resolve.
    bool orderByNeedsSelectList = false;
    // Nothing follows the table: no WHERE, ORDER BY or LIMIT.
    bool wholeTable = false;
};

// Recognises the shape; false for anything else (joins, grouping, DISTINCT, set operations,
// subqueries in FROM, WITH, several statements).
bool ParseSingleTableQuery(std::string_view sql, SingleTableQuery& query);

// A plain identifier (letters, digits, '_', not starting with a digit) that is not a keyword
// of a query: a bare name, which Recordset.Open takes as a table.
bool IsPlainName(std::string_view text);

// name in double quotes, inner quotes doubled: safe to put into SQL text.
std::string QuoteIdentifier(std::string_view name);
// "INSERT INTO table (names...) VALUES (params...)", or DEFAULT VALUES without columns; the
// n-th parameter is written as the marker followed by n ("?1", "$1").
std::string InsertStatement(const std::string& table, const std::vector<std::string>& names,
                            std::string_view marker);
