// The sample tables and their rows, generated deterministically: the one source from which the
// SQLite database and the PostgreSQL script are both written, so the providers hold equal data.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "samples/random.h"

enum class ColumnKind { Integer, VarChar, Double, Currency, Date, Timestamp, Boolean, Binary };

struct SampleColumn {
    std::string name;
    ColumnKind kind = ColumnKind::Integer;
    int length = 0;  // characters; VarChar only
    bool nullable = false;
};

// Money in hundredths, so that line totals and order totals add up exactly.
struct Cents {
    std::int64_t value = 0;
};

using Bytes = std::vector<std::uint8_t>;

// std::monostate is SQL NULL. Dates ("YYYY-MM-DD") and timestamps ("YYYY-MM-DD HH:MM:SS") are
// held as their ISO text, which both providers accept as literals.
using SampleValue =
    std::variant<std::monostate, std::int64_t, double, Cents, bool, std::string, Bytes>;
using SampleRow = std::vector<SampleValue>;

struct SampleTable {
    std::string name;
    std::vector<SampleColumn> columns;  // the first column is the integer primary key
    std::vector<SampleRow> rows;
};

struct SampleIndex {
    std::string name;
    std::string table;
    std::string columns;  // comma-separated, as written in CREATE INDEX
    bool unique = false;
};

struct SampleDatabase {
    std::vector<SampleTable> tables;  // in creation order
    std::vector<SampleIndex> indexes;
};

// customers, products, orders and order_lines with their rows; the same on every call.
SampleDatabase MakeSampleDatabase();

// The columns of the single large orders table; it has no rows here, they are streamed.
SampleTable LargeOrdersTable();

// One row of the large orders table. The views stay valid as long as the generator.
struct LargeOrder {
    std::int64_t orderId = 0;
    std::int64_t customerId = 0;
    std::string_view orderDate;
    std::string_view shipCity;
    Cents amount;
    double weight = 0;
    bool paid = false;
    std::string_view note;  // empty for NULL
};

// Rows of the large orders table in key order, 1, 2, 3 ..., without materialising them.
class LargeOrderGenerator {
  public:
    LargeOrderGenerator();
    LargeOrder Next();

  private:
    Random m_random;
    std::int64_t m_nextId = 1;
    std::vector<std::string> m_dates;
};
