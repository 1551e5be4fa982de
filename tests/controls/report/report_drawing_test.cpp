// The printed layout's rules on their own: band heights and item rectangles, the page-full
// line, print masks, check boxes, raised and underlined text, on a recording context.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

#include "controls/report/report_bands.h"
#include "controls/report/report_item_drawing.h"
#include "platform/gdi/recording_dc.h"
#include "tests/controls/report/report_drawn.h"

namespace {

using ::testing::ElementsAre;

constexpr POINT kOffset{150, 150};

struct RectCase {
    const char* name;
    int height;  // the page's device height: printHeight is 300 less
    ReportItem item;
    int nextDetailTop;
    RECT expected;
};

ReportItem At(std::int32_t section, RECT rect) {
    ReportItem item;
    item.section = section;
    item.left = rect.left;
    item.top = rect.top;
    item.right = rect.right;
    item.bottom = rect.bottom;
    return item;
}

// A page 4800 units wide: pageRect runs from 150 to 4650 across, 4500 printable.
const ReportHeader kHeader{80, 900, 1100, {}};

void PrintTo(const RectCase& c, std::ostream* out) {
    *out << c.name;
}

class ReportItemRectTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(ReportItemRectTest, IsScaledToThePageAndClipped) {
    const RectCase& c = GetParam();
    const ReportBands bands = LayOutReportBands(4800, c.height, kOffset, kHeader);
    EXPECT_EQ(ReportItemRect(c.item, bands, kHeader, c.nextDetailTop), c.expected);
}

// printHeight 2200: two device units a design unit down; 1000: 0.909 a unit, truncated once.
INSTANTIATE_TEST_SUITE_P(
    Rects, ReportItemRectTest,
    ::testing::Values(
        RectCase{"HeaderItem", 2500, At(kPageHeader, {0, 10, 400, 50}), 0, {150, 170, 2400, 250}},
        RectCase{"RightHalf", 2500, At(kPageHeader, {400, 0, 800, 1}), 0, {2400, 150, 4650, 152}},
        RectCase{"ClippedAtTheRightAndBottom",
                 2500,
                 At(kPageHeader, {400, 0, 900, 1200}),
                 0,
                 {2400, 150, 4650, 2350}},
        RectCase{"DetailItemBelowTheBandTop",
                 2500,
                 At(kDetail, {100, 110, 200, 130}),
                 350,
                 {712, 370, 1275, 410}},
        RectCase{"FooterItemFromTheDetailBottom",
                 2500,
                 At(kPageFooter, {0, 950, 800, 1000}),
                 0,
                 {150, 1900, 4650, 2000}},
        RectCase{
            "HeaderTruncatedOnce", 1300, At(kPageHeader, {0, 1, 1, 12}), 0, {150, 150, 155, 160}},
        RectCase{
            "DetailTruncatedOnce", 1300, At(kDetail, {0, 101, 1, 103}), 350, {150, 350, 155, 352}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportBandsTest, HeaderDetailAndFooterHeightsOnAPage2200UnitsHigh) {
    const ReportBands bands = LayOutReportBands(4800, 2500, kOffset, kHeader);
    EXPECT_EQ(bands.pageRect, (RECT{150, 150, 4650, 2350}));
    EXPECT_EQ(bands.printWidth, 4500.0);
    EXPECT_EQ(bands.printHeight, 2200.0);
    EXPECT_EQ(bands.headerHeight, 200);
    EXPECT_EQ(bands.detailHeight, 1600);
    EXPECT_EQ(bands.footerHeight, 400);
    EXPECT_EQ(bands.detailTop, 350);
    EXPECT_EQ(bands.detailBottom, 1650);
}

TEST(ReportBandsTest, APageIsFullWhenTheNextBandWouldEndBelowTenAboveTheDetailBottom) {
    ReportBands bands;
    bands.detailHeight = 100;
    bands.detailBottom = 1000;
    EXPECT_FALSE(ReportPageFull(890, bands));  // ends at 990: one more fits
    EXPECT_TRUE(ReportPageFull(891, bands));
    // A damaged layout's huge values neither overflow nor wrap round: they stop at the
    // coordinate range.
    bands.detailHeight = std::numeric_limits<int>::max();
    EXPECT_EQ(NextBandTop(std::numeric_limits<int>::max(), bands), kCoordinateLimit);
    EXPECT_TRUE(ReportPageFull(0, bands));
    const ReportHeader extreme{std::numeric_limits<int>::min(),
                               std::numeric_limits<int>::max(),
                               std::numeric_limits<int>::min(),
                               {}};
    const ReportBands wild = LayOutReportBands(4800, 2500, kOffset, extreme);
    EXPECT_EQ(wild.detailHeight, kCoordinateLimit);
    EXPECT_EQ(wild.footerHeight, -kCoordinateLimit);
    EXPECT_EQ(ReportItemRect(At(kDetail, {std::numeric_limits<int>::min(), 0,
                                          std::numeric_limits<int>::max(), 0}),
                             wild, extreme, std::numeric_limits<int>::max())
                  .left,
              -kCoordinateLimit);
}

struct MaskCase {
    const char* name;
    const char* text;
    const char* mask;
    const char* printed;
};

void PrintTo(const MaskCase& c, std::ostream* out) {
    *out << c.name;
}

class PrintMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(PrintMaskTest, LaysTheTextIntoTheMask) {
    EXPECT_EQ(ApplyPrintMask(GetParam().text, GetParam().mask), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, PrintMaskTest,
    ::testing::Values(MaskCase{"ShortDateLeavesSpaces", "1225", "##/##/####", "12/25/    "},
                      MaskCase{"LettersAreSkippedAtDigits", "12a25", "##/##/####", "12/25/    "},
                      MaskCase{"FullDate", "12252000", "##/##/####", "12/25/2000"},
                      MaskCase{"StarsTakeAnyCharacter", "AB12", "**-##", "AB-12"},
                      MaskCase{"ExtraTextIsDropped", "123456", "##", "12"},
                      MaskCase{"EmptyText", "", "(###)", "(   )"},
                      MaskCase{"TextWithTheLiteralsKeepsItsDigits", "03/05/2024", "##/##/####",
                               "03/05/2024"},
                      MaskCase{"WideCharactersTakeOnePlace", "Zo\xC3\xAB", "***!", "Zo\xC3\xAB!"}),
    [](const auto& info) { return std::string(info.param.name); });

struct CheckCase {
    const char* name;
    const char* text;
    RECT rect;
    std::vector<std::string> drawn;
};

void PrintTo(const CheckCase& c, std::ostream* out) {
    *out << c.name;
}

class CheckBoxItemTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckBoxItemTest, IsTickedWhenItsTextIsTheCheckedValueInAnyCase) {
    ReportItem item = At(kDetail, {});
    item.kind = kReportColumn;
    item.editStyle = kReportCheckBoxStyle;
    item.checkedValue = "yes";
    item.text = GetParam().text;
    item.backColor = 0x00FFFFFF;
    CRecordingDC dc(nullptr, 600);
    DrawReportText(dc, item, GetParam().rect);
    EXPECT_EQ(Drawn(dc.Calls()), GetParam().drawn);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, CheckBoxItemTest,
    ::testing::Values(
        CheckCase{"Tick",
                  "YES",
                  {10, 10, 30, 30},
                  {"fill 10,10,30,30 16777215", "fill 10,10,30,30 16777215", "edge 10,10,30,30 9",
                   "line 15,21-15,25 w2", "line 15,25-26,14 w2"}},
        CheckCase{"CrossInANarrowBox",
                  "Yes",
                  {10, 10, 22, 30},
                  {"fill 10,10,22,30 16777215", "fill 10,10,22,30 16777215", "edge 10,10,22,30 9",
                   "line 11,11-21,29 w0", "line 21,11-11,29 w0"}},
        CheckCase{
            "Unticked",
            "no",
            {10, 10, 30, 30},
            {"fill 10,10,30,30 16777215", "fill 10,10,30,30 16777215", "edge 10,10,30,30 9"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportTextTest, RaisedTextIsALightCopyUnderTheTextShiftedOneUnit) {
    for (const COLORREF back : {0x00FFFFFFU, 0x00336699U}) {
        SCOPED_TRACE(back);
        ReportItem item = At(kPageHeader, {});
        item.text = "Title";
        item.raised = true;
        item.underline = true;
        item.justification = kReportRight;
        item.backColor = static_cast<std::int32_t>(back);
        item.textColor = 0x00000080;
        CRecordingDC dc(nullptr, 600);
        DrawReportText(dc, item, RECT{0, 0, 100, 20});
        const std::string light = back == 0x00FFFFFFU ? "12632256" : "16777215";
        EXPECT_THAT(Drawn(dc.Calls()),
                    ElementsAre("fill 0,0,100,20 " + std::to_string(back),
                                "text Title 0,0,100,20 38 " + light, "text Title 1,1,101,21 38 128",
                                "line 0,20-100,20 w0"));
    }
}

TEST(ReportTextTest, TheItemsFontAtThePrintersResolution) {
    ReportItem item = At(kPageHeader, {});
    item.text = "x";
    item.fontName = std::string(40, 'F');
    item.fontSize = 14;
    item.bold = true;
    item.italic = true;
    CRecordingDC dc(nullptr, 600);
    DrawReportText(dc, item, RECT{0, 0, 100, 20});
    const std::vector<DcCall> texts = dc.CallsOf(DcOp::DrawText);
    ASSERT_EQ(texts.size(), 1U);
    const LOGFONT& font = texts[0].font.GetLogFont();
    EXPECT_EQ(font.lfHeight, -117);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfItalic);
    EXPECT_FALSE(font.lfUnderline);
    EXPECT_EQ(font.lfFaceName, std::string(31, 'F'));
    EXPECT_EQ(texts[0].bkMode, TRANSPARENT);
    // The font selected before comes back.
    EXPECT_EQ(dc.GetCurrentFont(), CFont());
}

}  // namespace
