// Building SQLite sample files and writing text files, each atomically beside its target.
#pragma once

#include <cstdint>
#include <string>

#include "samples/sample_data.h"

// Each builds into PATH.tmp and renames it over PATH only when complete, so that a reader
// never sees a half-built file and a failure leaves the previous file as it was. On failure
// the result is false, error says why and no PATH.tmp is left behind.
bool BuildSampleSqlite(const std::string& path, const SampleDatabase& database, std::string& error);
bool BuildLargeOrdersSqlite(const std::string& path, std::int64_t rows, std::string& error);
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);
