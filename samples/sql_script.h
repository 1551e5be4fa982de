// Writing the sample tables as SQL text in the SQLite or the PostgreSQL dialect.
#pragma once

#include <string>

#include "samples/sample_data.h"

enum class SqlDialect { SQLite, PostgreSQL };

// The column's declared type: CURRENCY, DOUBLE, BOOLEAN ... in SQLite; numeric(19,4),
// double precision, boolean ... in PostgreSQL.
std::string TypeName(SqlDialect dialect, const SampleColumn& column);

std::string CreateTableStatement(SqlDialect dialect, const SampleTable& table);

// The value as an SQL literal of the dialect; text with its quotes doubled.
std::string Literal(SqlDialect dialect, const SampleValue& value);

// A script that drops and re-creates the tables, fills them and creates the indexes in one
// transaction, so that loading it twice leaves the same database.
std::string SampleScript(SqlDialect dialect, const SampleDatabase& database);
