// Report layout files: the readers' field mapping, and LoadReport through the module with its
// file sizes, sections, names and failures.
#include <sys/stat.h>

#include <filesystem>

#include "tests/controls/report/report_test_support.h"

namespace {

// An item whose every field differs from the defaults and from the other fields.
ReportItem FullItem() {
    ReportItem item =
        MakeItem(kPageFooter, kReportColumn, "amount", RECT{11, 22, 33, 44}, "M\xC3\xBCller");
    item.editStyle = kReportMaskStyle;
    item.checkedValue = "Yes";
    item.spareText1 = "spare one";
    item.mask = "###.##";
    item.spareText2 = "spare two";
    item.justification = kReportRight;
    item.spareByte = 0x5A;
    item.lineOrientation = kVerticalSeparator;
    item.textColor = 0x00123456;
    item.backColor = 0x00654321;
    item.fontName = "Times New Roman";
    item.fontSize = 14;
    item.raised = true;
    item.bold = true;
    item.italic = true;
    item.underline = true;
    return item;
}

std::int32_t IntAt(const ReportItemRecord& record, std::size_t at) {
    return static_cast<std::int32_t>(record[at] | (record[at + 1] << 8) | (record[at + 2] << 16) |
                                     (static_cast<std::uint32_t>(record[at + 3]) << 24));
}

std::string TextAt(const ReportItemRecord& record, std::size_t at) {
    return std::string(reinterpret_cast<const char*>(record.data() + at));  // NOLINT
}

}  // namespace

TEST(ReportLayoutFileTest, ItemRecordsHoldEveryFieldAtItsOffset) {
    const ReportItem item = FullItem();
    const ReportItemRecord r = WriteReportItemRecord(item);
    EXPECT_EQ(IntAt(r, 0), kPageFooter);
    EXPECT_EQ(IntAt(r, 4), kReportColumn);
    EXPECT_EQ(TextAt(r, 8), "amount");
    EXPECT_EQ(TextAt(r, 40), "M\xC3\xBCller");
    EXPECT_EQ(IntAt(r, 296), kReportMaskStyle);
    EXPECT_EQ(TextAt(r, 300), "Yes");
    EXPECT_EQ(TextAt(r, 555), "spare one");
    EXPECT_EQ(TextAt(r, 810), "###.##");
    EXPECT_EQ(TextAt(r, 1065), "spare two");
    EXPECT_EQ(IntAt(r, 1320), 11);
    EXPECT_EQ(IntAt(r, 1324), kReportRight);
    EXPECT_EQ(r[1328], 0x5A);
    EXPECT_EQ(IntAt(r, 1332), kVerticalSeparator);
    EXPECT_EQ(IntAt(r, 1336), 22);
    EXPECT_EQ(IntAt(r, 1340), 33);
    EXPECT_EQ(IntAt(r, 1344), 44);
    EXPECT_EQ(IntAt(r, 1348), 0x00123456);
    EXPECT_EQ(IntAt(r, 1352), 0x00654321);
    EXPECT_EQ(TextAt(r, 1356), "Times New Roman");
    EXPECT_EQ(IntAt(r, 1408), 14);
    EXPECT_EQ((std::vector<int>{r[1412], r[1413], r[1414], r[1415]}),
              (std::vector<int>{1, 1, 1, 1}));

    ReportList list = ReportList::Detail;
    EXPECT_EQ(ReadReportItemRecord(r, list), item);
    EXPECT_EQ(list, ReportList::Page);
}

TEST(ReportLayoutFileTest, HeaderAndStringsReadAsDesignFilesDo) {
    ReportHeaderRecord head{};
    head[0] = 80;
    head[4] = 0x2C;  // 300
    head[5] = 0x01;
    head[8] = 0xFF;  // -1
    head[9] = 0xFF;
    head[10] = 0xFF;
    head[11] = 0xFF;
    const std::string sql = "SELECT * FROM caf\xE9";  // Windows-1252 e acute
    std::copy(sql.begin(), sql.end(), head.begin() + 12);
    const ReportHeader header = ReadReportHeader(head);
    EXPECT_EQ(header, (ReportHeader{80, 300, -1, "SELECT * FROM caf\xC3\xA9"}));

    // A name that fills its field without a NUL is read to the field's end, no further.
    ReportItemRecord r = WriteReportItemRecord(MakeItem(kDetail, kReportText, "", RECT{}));
    std::fill(r.begin() + 8, r.begin() + 40, 'n');
    ReportList list = ReportList::Page;
    EXPECT_EQ(ReadReportItemRecord(r, list).name, std::string(32, 'n'));
    EXPECT_EQ(list, ReportList::Detail);
}

TEST(ReportLayoutFileTest, WritersCutLongStringsAtACharacterBoundary) {
    ReportItem item = MakeItem(kDetail, kReportText, std::string(30, 'a') + "\xC3\xA9", RECT{});
    const ReportItemRecord r = WriteReportItemRecord(item);
    ReportList list = ReportList::Page;
    EXPECT_EQ(ReadReportItemRecord(r, list).name, std::string(30, 'a'));
    const ReportHeaderRecord head = WriteReportHeader({0, 0, 0, std::string(3000, 's')});
    EXPECT_EQ(ReadReportHeader(head).sqlText, std::string(2047, 's'));
}

using ReportLoadingTest = ReportTest;

struct SizeCase {
    const char* name;
    std::size_t items;  // whole records written
    std::size_t extra;  // bytes after them
    int result;
    std::size_t loaded;
};

void PrintTo(const SizeCase& c, std::ostream* out) {
    *out << c.name;
}

class ReportFileSizeTest : public ReportTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ReportFileSizeTest, LoadsTheWholeRecordsAfterTheHeader) {
    const SizeCase& c = GetParam();
    std::vector<ReportItem> items(c.items, MakeItem(kDetail, kReportText, "t", RECT{0, 0, 1, 1}));
    std::string bytes = LayoutBytes({80, 300, 400, "SELECT 1"}, items);
    bytes.append(c.extra, '\x7F');
    if (c.items == 0 && c.extra == 0) {
        bytes.pop_back();  // 2059 bytes
    }
    EXPECT_EQ(Load(folder_.Write("sized.rpt", bytes)), c.result);
    EXPECT_EQ(Member(&ReportState::m_loaded), c.result == 1);
    EXPECT_EQ(Member(&ReportState::m_detailItems).size(), c.loaded);
    if (c.result == 1) {
        EXPECT_EQ(Member(&ReportState::m_sqlText), "SELECT 1");
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReportFileSizeTest,
                         ::testing::Values(SizeCase{"HeaderOnly", 0, 1, 1, 0},
                                           SizeCase{"OneByteShort", 0, 0, 0, 0},
                                           SizeCase{"TwoRecordsAndAFragment", 2, 100, 1, 2},
                                           SizeCase{"OneByteShortOfTheSecond", 1, 1415, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportLoadingTest, AHeaderOnlyFileIsAReportWithoutItems) {
    EXPECT_EQ(Load(folder_.Write("head.rpt", LayoutBytes({80, 300, 400, "SELECT 2"}, {}))), 1);
    EXPECT_TRUE(Member(&ReportState::m_loaded));
    EXPECT_TRUE(Member(&ReportState::m_detailItems).empty());
    EXPECT_TRUE(Member(&ReportState::m_pageItems).empty());
    EXPECT_EQ(Member(&ReportState::m_sqlText), "SELECT 2");
    EXPECT_EQ(Member(&ReportState::m_detailHeight), 200);
    EXPECT_EQ(Member(&ReportState::m_nextDetailTop), -1);
}

TEST_F(ReportLoadingTest, SectionsGoToTheirListsInFileOrder) {
    const std::vector<ReportItem> items = {
        MakeItem(kPageHeader, kReportText, "h", RECT{0, 0, 10, 10}),
        MakeItem(kDetail, kReportText, "d1", RECT{0, 0, 10, 10}),
        MakeItem(kPageFooter, kReportText, "f", RECT{0, 0, 10, 10}),
        MakeItem(kDetail, kReportText, "d2", RECT{0, 0, 10, 10}),
        MakeItem(7, 9, "odd", RECT{0, 0, 10, 10}),
    };
    ASSERT_EQ(Load({80, 300, 400, ""}, items), 1);
    EXPECT_EQ(Member(&ReportState::m_detailItems), (std::vector<ReportItem>{items[1], items[3]}));
    EXPECT_EQ(Member(&ReportState::m_pageItems),
              (std::vector<ReportItem>{items[0], items[2], items[4]}));
}

// A layout installed read-only loads; what cannot be opened, and a name with nothing but
// blanks, gives 0, and a failed load leaves no report behind.
TEST_F(ReportLoadingTest, NamesAndFilesThatLoadAndThoseThatDoNot) {
    const std::string path = folder_.Write("installed.rpt", LayoutBytes({80, 300, 400, ""}, {}));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_EQ(Load("  " + path + "  "), 1);

    struct Case {
        const char* name;
        std::string path;
    };
    // A file claiming more items than any layout has is refused before it is read.
    const std::string huge = folder_.Write("huge.rpt", LayoutBytes({80, 300, 400, ""}, {}));
    std::filesystem::resize_file(huge,
                                 kReportHeaderSize + (kMaxReportItems + 1) * kReportItemRecordSize);
    const std::vector<Case> refused = {{"Missing", folder_.File("none.rpt")},
                                       {"PastTheItemLimit", huge},
                                       {"AFolder", folder_.Path().string()},
                                       {"Blanks", "   "},
                                       {"Empty", ""}};
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Load(path), 1);
        EXPECT_EQ(Load(c.path), 0);
        const bool keptForBlankName =
            std::string(c.name) == "Blanks" || std::string(c.name) == "Empty";
        EXPECT_EQ(Member(&ReportState::m_loaded), keptForBlankName);
    }
}

TEST_F(ReportLoadingTest, AFailedLoadDiscardsTheReportLoadedBefore) {
    ASSERT_EQ(Load({80, 300, 400, ""}, {MakeItem(kDetail, kReportText, "a", RECT{0, 0, 5, 5})}), 1);
    EXPECT_EQ(Load(folder_.Write("short.rpt", std::string(2059, '\0'))), 0);
    EXPECT_FALSE(Member(&ReportState::m_loaded));
    EXPECT_TRUE(Member(&ReportState::m_detailItems).empty());
    // Without a loaded report the other methods do nothing.
    EXPECT_EQ(Long("BeginPrint"), 0);
    EXPECT_EQ(Bind(nullptr), 0);
}

TEST_F(ReportLoadingTest, SetItemValueSetsEveryItemOfTheNameInAnyCase) {
    ASSERT_EQ(Load({80, 300, 400, ""},
                   {MakeItem(kPageHeader, kReportText, "Title", RECT{0, 0, 5, 5}, "old"),
                    MakeItem(kDetail, kReportColumn, "TITLE", RECT{0, 0, 5, 5}, "old"),
                    MakeItem(kDetail, kReportText, "other", RECT{0, 0, 5, 5}, "keep")}),
              1);
    SetItemValue("title", "new");
    SetItemValue("nobody", "ignored");
    EXPECT_EQ(Member(&ReportState::m_pageItems)[0].text, "new");
    EXPECT_EQ(Member(&ReportState::m_detailItems)[0].text, "new");
    EXPECT_EQ(Member(&ReportState::m_detailItems)[1].text, "keep");
}

TEST_F(ReportLoadingTest, TheModuleRegistersTheReportsNamesIdsAndPicture) {
    const std::vector<std::string> members = {
        "LoadReport", "BindReportToDatabase", "BeginPrint", "EndPrint", "Print", "SetItemValue"};
    for (std::size_t i = 0; i < members.size(); ++i) {
        DISPID id = DISPID_UNKNOWN;
        EXPECT_EQ(GetDispIdOfName(control_.Get(), members[i], &id), S_OK) << members[i];
        EXPECT_EQ(id, static_cast<DISPID>(i + 1)) << members[i];
    }
    CComVariant readyState;
    ASSERT_EQ(GetPropertyByName(control_.Get(), "ReadyState", &readyState), S_OK);
    EXPECT_EQ(readyState.lVal, 1);

    // A white rectangle with the ellipse inscribed: black on its edge, white inside and in the
    // corners.
    window_->UpdateWindow();
    const CBitmap& surface = window_->GetBackingSurface();
    EXPECT_EQ(surface.GetPixel(100, 75), 0x00FFFFFFU);
    EXPECT_EQ(surface.GetPixel(1, 1), 0x00FFFFFFU);
    EXPECT_EQ(surface.GetPixel(100, 0), 0x00000000U);
    EXPECT_EQ(surface.GetPixel(0, 75), 0x00000000U);
}
