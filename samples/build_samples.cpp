// qor_samples: builds the SQLite sample databases and prints the PostgreSQL load script.
#include <charconv>
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "samples/sample_data.h"
#include "samples/sql_script.h"
#include "samples/sqlite_file.h"

namespace {

constexpr std::int64_t kDefaultLargeOrders = 1000000;

constexpr std::string_view kUsage =
    "usage: qor_samples --sqlite FILE                     build the sample database into FILE\n"
    "       qor_samples --sqlite FILE --large-orders [N]  one orders table of N rows (1000000)\n"
    "       qor_samples --sqlite-sql [FILE]               the SQLite script, to FILE or stdout\n"
    "       qor_samples --postgres-sql [FILE]             the PostgreSQL script, likewise\n";

enum class Job { SqliteFile, LargeOrders, Script };

struct Request {
    Job job = Job::SqliteFile;
    SqlDialect dialect = SqlDialect::SQLite;
    std::string path;
    std::int64_t rows = kDefaultLargeOrders;
};

std::optional<std::int64_t> ParseCount(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (status != std::errc{} || end != text.data() + text.size() || value < 0) {
        return std::nullopt;
    }
    return value;
}

bool IsOption(std::string_view argument) {
    return argument.starts_with("--");
}

std::optional<Request> ParseScriptRequest(const std::vector<std::string_view>& arguments,
                                          SqlDialect dialect) {
    if (arguments.size() > 2 || (arguments.size() == 2 && IsOption(arguments[1]))) {
        return std::nullopt;
    }
    Request request{Job::Script, dialect, {}, 0};
    if (arguments.size() == 2) {
        request.path = arguments[1];
    }
    return request;
}

std::optional<Request> ParseSqliteRequest(const std::vector<std::string_view>& arguments) {
    if (arguments.size() < 2 || IsOption(arguments[1])) {
        return std::nullopt;
    }
    Request request;
    request.path = arguments[1];
    if (arguments.size() == 2) {
        return request;
    }
    if (arguments[2] != "--large-orders" || arguments.size() > 4) {
        return std::nullopt;
    }
    request.job = Job::LargeOrders;
    if (arguments.size() == 4) {
        const std::optional<std::int64_t> rows = ParseCount(arguments[3]);
        if (!rows) {
            return std::nullopt;
        }
        request.rows = *rows;
    }
    return request;
}

std::optional<Request> ParseRequest(const std::vector<std::string_view>& arguments) {
    if (arguments.empty()) {
        return std::nullopt;
    }
    if (arguments[0] == "--sqlite") {
        return ParseSqliteRequest(arguments);
    }
    if (arguments[0] == "--sqlite-sql") {
        return ParseScriptRequest(arguments, SqlDialect::SQLite);
    }
    if (arguments[0] == "--postgres-sql") {
        return ParseScriptRequest(arguments, SqlDialect::PostgreSQL);
    }
    return std::nullopt;
}

bool Run(const Request& request, std::string& error) {
    switch (request.job) {
        case Job::SqliteFile:
            return BuildSampleSqlite(request.path, MakeSampleDatabase(), error);
        case Job::LargeOrders:
            return BuildLargeOrdersSqlite(request.path, request.rows, error);
        case Job::Script:
            break;
    }
    const std::string script = SampleScript(request.dialect, MakeSampleDatabase());
    if (!request.path.empty()) {
        return WriteTextFile(request.path, script, error);
    }
    std::cout << script << std::flush;
    if (!std::cout) {
        error = "cannot write to standard output";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const std::optional<Request> request = ParseRequest(arguments);
    if (!request) {
        std::cerr << kUsage;
        return 2;
    }
    std::string error;
    if (!Run(*request, error)) {
        std::cerr << "qor_samples: " << error << "\n";
        return 1;
    }
    return 0;
}
