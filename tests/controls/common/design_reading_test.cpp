// Reading designs that no designer wrote: rectangles past the coordinate range and files at
// the record limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>

#include "controls/common/design.h"
#include "tests/temp_folder.h"

namespace {

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kLimit = kCoordinateLimit;

struct RectCase {
    const char* name;
    RECT stored;
    RECT read;
};

void PrintTo(const RectCase& row, std::ostream* out) {
    *out << row.name;
}

class StoredRectTest : public ::testing::TestWithParam<RectCase> {};

struct SizeCase {
    const char* name;
    std::uintmax_t bytes;
    std::optional<std::size_t> items;
};

void PrintTo(const SizeCase& row, std::ostream* out) {
    *out << row.name;
}

class DesignFileSizeTest : public ::testing::TestWithParam<SizeCase> {};

}  // namespace

TEST_P(StoredRectTest, IsBroughtIntoTheCoordinateRange) {
    DesignItem item;
    item.rect = GetParam().stored;
    EXPECT_EQ(ReadDesignItemRecord(WriteDesignItemRecord(item)).rect, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Rects, StoredRectTest,
    ::testing::Values(
        RectCase{"Canvas", {0, 0, 800, 600}, {0, 0, 800, 600}},
        RectCase{
            "AtTheLimits", {-kLimit, -kLimit, kLimit, kLimit}, {-kLimit, -kLimit, kLimit, kLimit}},
        RectCase{"JustPast",
                 {-kLimit - 1, -kLimit - 1, kLimit + 1, kLimit + 1},
                 {-kLimit, -kLimit, kLimit, kLimit}},
        RectCase{"Extremes", {kMin, kMin, kMax, kMax}, {-kLimit, -kLimit, kLimit, kLimit}},
        RectCase{"UpsideDown", {kMax, kMax, kMin, kMin}, {kLimit, kLimit, -kLimit, -kLimit}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(DesignFileSizeTest, FilesPastTheRecordLimitAreRefused) {
    const TempFolder folder;
    const std::string path = folder.File("sparse.qor");
    std::ofstream(path).close();
    std::filesystem::resize_file(path, GetParam().bytes);
    const std::optional<Design> design = ReadDesignFile(path);
    ASSERT_EQ(design.has_value(), GetParam().items.has_value());
    if (design) {
        EXPECT_EQ(design->Items().size(), *GetParam().items);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, DesignFileSizeTest,
    ::testing::Values(
        SizeCase{"AtTheLimit", kMaxDesignRecords* kDesignItemRecordSize, kMaxDesignRecords},
        SizeCase{"AtTheLimitWithAFragment", (kMaxDesignRecords + 1) * kDesignItemRecordSize - 1,
                 kMaxDesignRecords},
        SizeCase{"OneRecordPast", (kMaxDesignRecords + 1) * kDesignItemRecordSize, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });
