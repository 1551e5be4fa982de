// The sample builder program: the large orders table, atomic replacement, failures, determinism.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/samples/sample_files.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST(LargeOrders, BuildsOneOrdersTableOfTheRowsAskedFor) {
    const TempFolder folder;
    const std::string path = folder / "large.db";
    ASSERT_EQ(RunBuilder({"--sqlite", path, "--large-orders", "5000"}), 0);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    const SqliteDb db = OpenReadOnly(path);
    ASSERT_TRUE(db);
    EXPECT_EQ(QueryRows(db.get(), "SELECT name FROM sqlite_master"), (Rows{{"orders"}}));
    EXPECT_EQ(QueryRows(db.get(), "SELECT count(*), min(order_id), max(order_id) FROM orders"),
              (Rows{{"5000", "1", "5000"}}));
    std::vector<std::string> declared;
    for (const SqliteColumn& column : TableColumns(db.get(), "orders")) {
        declared.push_back(column.name + " " + column.type);
    }
    EXPECT_EQ(declared, (std::vector<std::string>{"order_id INTEGER", "customer_id INTEGER",
                                                  "order_date DATE", "ship_city VARCHAR(30)",
                                                  "amount CURRENCY", "weight DOUBLE",
                                                  "paid BOOLEAN", "note VARCHAR(60)"}));
    EXPECT_GT(QueryInt(db.get(), "SELECT count(*) FROM orders WHERE note IS NULL"), 0);
    EXPECT_GT(QueryInt(db.get(), "SELECT count(*) FROM orders WHERE note IS NOT NULL"), 0);
    EXPECT_EQ(QueryInt(db.get(),
                       "SELECT count(*) FROM orders WHERE paid NOT IN (0, 1) OR "
                       "date(order_date) IS NOT order_date OR round(amount, 2) <> amount"),
              0);
}

TEST(LargeOrders, ZeroRowsGiveAnEmptyTable) {
    const TempFolder folder;
    const std::string path = folder / "empty.db";
    ASSERT_EQ(RunBuilder({"--sqlite", path, "--large-orders", "0"}), 0);
    const SqliteDb db = OpenReadOnly(path);
    ASSERT_TRUE(db);
    EXPECT_EQ(QueryInt(db.get(), "SELECT count(*) FROM orders"), 0);
}

TEST(SampleBuilder, ReplacesAnExistingFileAndAStaleTemporaryOne) {
    const TempFolder folder;
    const std::string path = folder / "sample.db";
    WriteFile(path, "not a database");
    WriteFile(path + ".tmp", "left over from a build that was killed");
    ASSERT_EQ(RunBuilder({"--sqlite", path}), 0);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    const SqliteDb db = OpenReadOnly(path);
    ASSERT_TRUE(db);
    EXPECT_EQ(QueryInt(db.get(), "SELECT count(*) FROM customers"), 200);
}

TEST(SampleBuilder, AFailedBuildLeavesThePreviousFile) {
    const TempFolder folder;
    const std::string path = folder / "sample.db";
    WriteFile(path, "the previous file");
    // A temporary name taken by a folder with something in it cannot be built into.
    std::filesystem::create_directories(path + ".tmp/blocked");
    EXPECT_EQ(RunBuilder({"--sqlite", path}), 1);
    EXPECT_EQ(ReadFile(path), "the previous file");
    EXPECT_EQ(RunBuilder({"--postgres-sql", path}), 1);
    EXPECT_EQ(ReadFile(path), "the previous file");
}

TEST(SampleBuilder, FailsWithoutAFileWhereTheFolderIsMissing) {
    const TempFolder folder;
    const std::string path = folder / "missing" / "sample.db";
    EXPECT_EQ(RunBuilder({"--sqlite", path}), 1);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(SampleBuilder, RejectsArgumentsItDoesNotKnow) {
    const TempFolder folder;
    const std::string path = folder / "x.db";
    EXPECT_EQ(RunBuilder({}), 2);
    EXPECT_EQ(RunBuilder({"--sqlite"}), 2);
    EXPECT_EQ(RunBuilder({"--sqlite", path, "--large-orders", "many"}), 2);
    EXPECT_EQ(RunBuilder({"--sqlite", path, "--large-orders", "-5"}), 2);
    EXPECT_EQ(RunBuilder({"--sqlite", path, "--orders"}), 2);
    EXPECT_EQ(RunBuilder({"--postgres-sql", path, "extra"}), 2);
    EXPECT_FALSE(std::filesystem::exists(path));
}

// Other suites assert exact rows, so every build must make the same bytes.
TEST(SampleBuilder, EveryBuildMakesTheSameDatabaseAndScripts) {
    const TempFolder folder;
    const std::string path = folder / "sample.db";
    ASSERT_EQ(RunBuilder({"--sqlite", path}), 0);
    EXPECT_EQ(ReadFile(path), ReadFile(SampleDatabase()));
    const std::string first = folder / "first.sql";
    const std::string second = folder / "second.sql";
    ASSERT_EQ(RunBuilder({"--postgres-sql", first}), 0);
    ASSERT_EQ(RunBuilder({"--postgres-sql", second}), 0);
    EXPECT_FALSE(ReadFile(first).empty());
    EXPECT_EQ(ReadFile(first), ReadFile(second));
}

// The SQLite script is the text the database is built from: loading it anew gives the same rows.
TEST(SampleBuilder, TheSqliteScriptRebuildsTheSameRows) {
    const TempFolder folder;
    const std::string script = folder / "sample.sql";
    ASSERT_EQ(RunBuilder({"--sqlite-sql", script}), 0);
    sqlite3* opened = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &opened), SQLITE_OK);
    const SqliteDb memory(opened);
    ASSERT_EQ(sqlite3_exec(memory.get(), ReadFile(script).c_str(), nullptr, nullptr, nullptr),
              SQLITE_OK)
        << sqlite3_errmsg(memory.get());
    const SqliteDb built = OpenReadOnly(SampleDatabase());
    ASSERT_TRUE(built);
    for (const std::string& table : SampleTables()) {
        const std::string sql = "SELECT * FROM " + table + " ORDER BY 1";
        EXPECT_EQ(QueryRows(memory.get(), sql), QueryRows(built.get(), sql)) << table;
    }
}

}  // namespace
