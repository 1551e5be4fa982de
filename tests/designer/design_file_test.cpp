// Design item records and design files: layout, round trips, ordering and damaged files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "controls/common/design.h"

namespace {

std::filesystem::path TempFile(const std::string& name) {
    return std::filesystem::temp_directory_path() /
           (std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" + name);
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

DesignItem Item(std::int32_t kind, RECT rect) {
    DesignItem item;
    item.kind = kind;
    item.rect = rect;
    return item;
}

}  // namespace

TEST(DesignItemRecord, FieldsLandAtTheirOffsetsLittleEndian) {
    DesignItem item = Item(kColumn, RECT{100, 40, 180, 63});
    item.editStyle = 4;
    item.name = "CUSTNO";
    item.wholeDigits = 0x01020304;
    item.backColor = -1;
    item.tabOrder = 7;
    const DesignItemRecord r = WriteDesignItemRecord(item);
    EXPECT_EQ(std::string(r.begin(), r.begin() + 5), "*QOR*");
    EXPECT_EQ(r[5] | r[6] | r[7], 0);
    EXPECT_EQ(r[8], 2);
    EXPECT_EQ(r[12], 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[16])), "CUSTNO");
    EXPECT_EQ(r[784], 0x04);
    EXPECT_EQ(r[787], 0x01);
    EXPECT_EQ(r[796], 100);
    EXPECT_EQ(r[800], 40);
    EXPECT_EQ(r[804], 180);
    EXPECT_EQ(r[808], 63);
    EXPECT_EQ(r[812] & r[813] & r[814] & r[815], 0xFF);
    EXPECT_EQ(r[824], 7);
    EXPECT_EQ(r[834] | r[835], 0);
}

TEST(DesignItemRecord, EveryFieldAndEachFlagOnItsOwnRoundTrips) {
    DesignItem base = Item(kStaticText, RECT{1, 2, 3, 4});
    base.name = "NAME";
    base.text = "Text";
    base.mask = "(###) ###-####";
    base.wholeDigits = 5;
    base.decimalDigits = 2;
    base.maxLength = 30;
    base.backColor = 0x00123456;
    base.textColor = 0x00654321;
    base.justification = 2;
    base.tabOrder = 3;
    EXPECT_EQ(ReadDesignItemRecord(WriteDesignItemRecord(base)), base);
    for (bool DesignItem::*flag :
         {&DesignItem::selected, &DesignItem::resizeTarget, &DesignItem::bold,
          &DesignItem::underline, &DesignItem::italic, &DesignItem::border}) {
        DesignItem item = base;
        item.*flag = true;
        const DesignItem back = ReadDesignItemRecord(WriteDesignItemRecord(item));
        EXPECT_EQ(back, item);
    }
}

TEST(DesignItemRecord, LongStringsAreCutAtACharacterBoundary) {
    DesignItem item;
    item.name = std::string(253, 'N') + "\xC3\xA4";  // 255 bytes: the two-byte letter cannot fit
    item.text = std::string(300, 'T');
    item.mask = std::string(400, '#');
    const DesignItemRecord r = WriteDesignItemRecord(item);
    EXPECT_EQ(r[16 + 254], 0);
    const DesignItem back = ReadDesignItemRecord(r);
    EXPECT_EQ(back.name, std::string(253, 'N'));
    EXPECT_EQ(back.text.size(), 254U);
    EXPECT_EQ(back.mask.size(), 257U);
}

TEST(DesignItemRecord, BytesThatAreNotUtf8ReadAsWindows1252AndMarkersAreIgnored) {
    DesignItemRecord r = WriteDesignItemRecord(Item(kStaticText, RECT{}));
    r[0] = 'X';
    r[271] = 'M';
    r[272] = 0xFC;  // u with diaeresis
    r[273] = 'l';
    const DesignItem back = ReadDesignItemRecord(r);
    EXPECT_EQ(back.text, "M\xC3\xBCl");
    EXPECT_EQ(back.kind, kStaticText);
}

TEST(DesignFile, LoadOrderPutsLinesFirstReversedAndFramesLast) {
    const auto path = TempFile("order.qor");
    std::vector<std::uint8_t> bytes;
    for (const DesignItem& item :
         {Item(kHorizontalLine, RECT{0, 0, 1, 1}), Item(kVerticalLine, RECT{0, 0, 2, 2}),
          Item(kRectangle, RECT{0, 0, 3, 3})}) {
        const DesignItemRecord r = WriteDesignItemRecord(item);
        bytes.insert(bytes.end(), r.begin(), r.end());
    }
    bytes.resize(bytes.size() + 100, 0xAB);  // a trailing fragment
    WriteBytes(path, bytes);
    const std::optional<Design> design = ReadDesignFile(path.string());
    ASSERT_TRUE(design);
    ASSERT_EQ(design->Items().size(), 3U);
    EXPECT_EQ(design->Items()[0].rect.right, 2);  // B
    EXPECT_EQ(design->Items()[1].rect.right, 1);  // A
    EXPECT_EQ(design->Items()[2].rect.right, 3);  // R
    std::filesystem::remove(path);
}

TEST(DesignFile, EmptyAndMissingFiles) {
    const auto path = TempFile("empty.qor");
    WriteBytes(path, {});
    const auto design = ReadDesignFile(path.string());
    ASSERT_TRUE(design);
    EXPECT_TRUE(design->Items().empty());
    std::filesystem::remove(path);
    EXPECT_FALSE(ReadDesignFile(path.string()));
}

TEST(DesignFile, SaveWritesRecordsInListOrderAndReplacesTheOldFile) {
    const auto path = TempFile("save.qor");
    WriteBytes(path, std::vector<std::uint8_t>(5000, 0x11));
    Design design;
    design.Insert(Item(kRectangle, RECT{0, 0, 10, 10}));
    design.Insert(Item(kStaticText, RECT{1, 1, 5, 5}));
    ASSERT_TRUE(WriteDesignFile(path.string(), design));
    const auto bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 2 * kDesignItemRecordSize);
    EXPECT_EQ(bytes[8], kStaticText);
    EXPECT_EQ(bytes[kDesignItemRecordSize + 8], kRectangle);
    std::filesystem::remove(path);
}

TEST(DesignFile, FailedSaveReportsFailureAndLeavesNoTemporary) {
    const auto dir = TempFile("save-dir");
    std::filesystem::create_directories(dir / "target.qor" / "inside");
    // The rename over a non-empty folder fails after the records were written.
    EXPECT_FALSE(WriteDesignFile((dir / "target.qor").string(), Design{}));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "target.qor" / "inside"));
    EXPECT_FALSE(WriteDesignFile((dir / "missing" / "x.qor").string(), Design{}));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++entries;
    }
    EXPECT_EQ(entries, 1U);
    std::filesystem::remove_all(dir);
}
