// The sample database and the providers the data tests run on, for every test program.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

// The providers a test of the sample data runs on.
enum class Provider { SQLite, PostgreSQL };

inline std::string NameOf(Provider provider) {
    return provider == Provider::SQLite ? "SQLite" : "PostgreSQL";
}

inline void PrintTo(Provider provider, std::ostream* out) {
    *out << NameOf(provider);
}

// A test of each provider is named after it in test listings.
inline std::string ProviderName(const ::testing::TestParamInfo<Provider>& info) {
    return NameOf(info.param);
}

// The variable's value; empty when it is not set.
inline std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);  // NOLINT(concurrency-mt-unsafe): tests, one thread
    return value != nullptr ? value : "";
}

// The database the build made; ctest names it, a direct run falls back to the build's own.
inline std::string SampleDatabase() {
    const std::string path = EnvironmentValue("QOR_SAMPLE_DB");
    return path.empty() ? QOR_SAMPLE_DB_BUILT : path;
}

inline constexpr const char* kNoPostgresServer =
    "QOR_TEST_PG is not set: scripts/pg-test-server start, then "
    "eval \"$(scripts/pg-test-server env)\"";
