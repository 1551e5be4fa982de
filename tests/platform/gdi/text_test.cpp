// DrawText, DrawTexts and TextOut: alignment, measuring, wrapping, mnemonics, background, extents.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gdi/dc.h"
#include "tests/platform/gdi/pixel_helpers.h"

namespace {

class TextTest : public ::testing::Test {
  protected:
    CBitmap bitmap{200, 60, kWhite};
    std::unique_ptr<CDC> dc = CreateBitmapDC(bitmap);

    void Clear(COLORREF color = kWhite) { bitmap = CBitmap(200, 60, color); }

    RECT DrawAndInk(std::string_view text, RECT rc, UINT format) {
        dc->DrawText(text, rc, format);
        return InkBounds(bitmap, kWhite);
    }
};

TEST(FontTest, PointSizesAndTheDefaultFontFollowTheScreen) {
    EXPECT_EQ(DefaultGuiFont().lfHeight, -11);
    EXPECT_EQ(DefaultGuiFont().lfFaceName, "MS Sans Serif");
    EXPECT_EQ(CFont::FromPoints(100, "Arial").GetLogFont().lfHeight, -13);
    EXPECT_EQ(CFont::FromPoints(90, "Arial").GetLogFont().lfHeight, -12);
    EXPECT_EQ(CFont::FromPoints(120, "Arial").GetLogFont().lfFaceName, "Arial");
    EXPECT_EQ(MulDiv(5, 1, 2), 3);
    EXPECT_EQ(MulDiv(-5, 1, 2), -3);
    EXPECT_EQ(MulDiv(7, -1, 2), -4);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 8, 16), 1 << 29);
}

TEST_F(TextTest, HorizontalAlignmentPlacesTheInk) {
    const RECT rc{20, 10, 180, 30};
    const RECT left = DrawAndInk("Hello", rc, DT_LEFT | DT_SINGLELINE);
    EXPECT_GE(left.left, 20);
    EXPECT_LE(left.left, 23);

    Clear();
    const RECT right = DrawAndInk("Hello", rc, DT_RIGHT | DT_SINGLELINE);
    EXPECT_LE(right.right, 180);
    EXPECT_GE(right.right, 176);

    Clear();
    const RECT centre = DrawAndInk("Hello", rc, DT_CENTER | DT_SINGLELINE);
    EXPECT_LE(std::abs(centre.left + centre.right - 200), 6);
}

TEST_F(TextTest, VerticalPlacementAppliesToSingleLines) {
    const RECT rc{0, 0, 200, 60};
    const int height = dc->GetTextHeight();
    const RECT centred = DrawAndInk("Hx", rc, DT_SINGLELINE | DT_VCENTER);
    EXPECT_LE(std::abs(centred.top + centred.bottom - 60), 6);

    Clear();
    RECT bottom = rc;
    const int offset = dc->DrawText("Hx", bottom, DT_SINGLELINE | DT_BOTTOM);
    EXPECT_EQ(offset, 60);  // the offset from the top to the text's bottom
    EXPECT_GT(InkBounds(bitmap, kWhite).top, 60 - height - 1);

    Clear();
    RECT multi = rc;
    EXPECT_EQ(dc->DrawText("Hx", multi, DT_VCENTER), height);
    EXPECT_LT(InkBounds(bitmap, kWhite).bottom, height + 1);
}

TEST_F(TextTest, CalcRectMeasuresWithoutDrawing) {
    RECT rc{10, 5, 10, 5};
    const int height = dc->DrawText("Hello world", rc, DT_SINGLELINE | DT_CALCRECT | DT_CENTER);
    const SIZE extent = dc->GetTextExtentPoint32("Hello world");
    EXPECT_EQ(rc, (RECT{10, 5, 10 + extent.cx, 5 + extent.cy}));
    EXPECT_EQ(height, extent.cy);
    EXPECT_EQ(InkBounds(bitmap, kWhite), RECT{});
}

TEST_F(TextTest, WordBreakWrapsAtSpacesWithinTheWidth) {
    const int oneTwo = dc->GetTextExtentPoint32("one two").cx;
    RECT rc{0, 0, oneTwo + 2, 0};
    const int height = dc->DrawText("one two three four", rc, DT_WORDBREAK | DT_CALCRECT);
    const int line = dc->GetTextHeight();
    EXPECT_EQ(height, 3 * line);  // "one two" / "three" / "four"
    EXPECT_EQ(rc.bottom, 3 * line);
    EXPECT_LE(rc.right, oneTwo + 2);

    RECT hard{0, 0, 500, 0};
    EXPECT_EQ(dc->DrawText("a\r\nb\nc", hard, DT_CALCRECT), 3 * line);
    RECT single{0, 0, 5, 0};
    EXPECT_EQ(dc->DrawText("one two three", single, DT_SINGLELINE | DT_WORDBREAK | DT_CALCRECT),
              line);
}

TEST_F(TextTest, PrefixesUnderlineAndDoubleAmpersandIsLiteral) {
    RECT plain{0, 0, 0, 0};
    RECT prefixed{0, 0, 0, 0};
    RECT literal{0, 0, 0, 0};
    dc->DrawText("A&B", plain, DT_NOPREFIX | DT_CALCRECT);
    dc->DrawText("A&&B", literal, DT_CALCRECT);
    dc->DrawText("&AB", prefixed, DT_CALCRECT);
    EXPECT_EQ(literal, plain);
    EXPECT_LT(prefixed.right, plain.right);

    const RECT rc{10, 10, 190, 40};
    const RECT withoutMark = DrawAndInk("File", rc, DT_SINGLELINE);
    Clear();
    const RECT withMark = DrawAndInk("&File", rc, DT_SINGLELINE);
    EXPECT_GT(withMark.bottom, withoutMark.bottom);
    EXPECT_EQ(withMark.left, withoutMark.left);
}

TEST_F(TextTest, TextIsClippedToItsRectangleUnlessNoClip) {
    const RECT clipped = DrawAndInk("Wide text here", {10, 10, 30, 30}, DT_SINGLELINE);
    EXPECT_LE(clipped.right, 30);
    const RECT unclipped =
        DrawAndInk("Wide text here", {10, 10, 30, 30}, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(unclipped.right, 40);
}

// Antialiased ink blends with the background; its strong pixels still show the text colour.
int CountBluishPixels(const CBitmap& bitmap) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF pixel = bitmap.GetPixel(x, y);
            count += GetBValue(pixel) > 200 && GetRValue(pixel) < 128 ? 1 : 0;
        }
    }
    return count;
}

TEST_F(TextTest, OpaqueModeFillsOnlyTheTextCellAndInkTakesTheTextColour) {
    Clear(kRed);
    dc->SetBkColor(kWhite);
    dc->SetTextColor(kBlue);
    RECT rc{10, 10, 190, 50};
    dc->DrawText("Hi", rc, DT_SINGLELINE);
    const SIZE cell = dc->GetTextExtentPoint32("Hi");
    EXPECT_EQ(bitmap.GetPixel(10, 10), kWhite);
    EXPECT_EQ(bitmap.GetPixel(10 + cell.cx - 1, 10 + cell.cy - 1), kWhite);
    EXPECT_EQ(bitmap.GetPixel(10 + cell.cx, 10), kRed);
    EXPECT_EQ(bitmap.GetPixel(10, 10 + cell.cy), kRed);
    EXPECT_GT(CountBluishPixels(bitmap), 5);

    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(10, 30, "Hi");
    EXPECT_EQ(bitmap.GetPixel(10, 30), kRed);
    EXPECT_GT(InkBounds(bitmap, kRed).bottom, 30);
}

TEST_F(TextTest, TextOutPutsTheCellTopLeftAtThePoint) {
    dc->TextOut(50, 20, "Ml");
    const RECT ink = InkBounds(bitmap, kWhite);
    EXPECT_GE(ink.left, 50);
    EXPECT_LE(ink.left, 52);
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.bottom, 20 + dc->GetTextHeight());
}

TEST_F(TextTest, ExtentsGrowWithTextAndWeightAndAddUp) {
    const SIZE ab = dc->GetTextExtentPoint32("ab");
    const SIZE abcd = dc->GetTextExtentPoint32("abcd");
    EXPECT_GT(abcd.cx, ab.cx);
    EXPECT_EQ(abcd.cx, ab.cx + dc->GetTextExtentPoint32("cd").cx);
    EXPECT_EQ(ab.cy, dc->GetTextHeight());
    EXPECT_EQ(dc->GetTextExtentPoint32("").cx, 0);

    LOGFONT bold = DefaultGuiFont();
    bold.lfWeight = FW_BOLD;
    dc->SelectFont(CFont(bold));
    EXPECT_GT(dc->GetTextExtentPoint32("abcd").cx, abcd.cx);
    EXPECT_GT(dc->GetTextExtentPoint32("\xC3\xA9t\xC3\xA9").cx, 0);  // UTF-8 "été"
}

TEST_F(TextTest, LogFontHeightsKeepTheirClassicMeaning) {
    LOGFONT lf = DefaultGuiFont();
    lf.lfHeight = 30;
    dc->SelectFont(CFont(lf));
    EXPECT_NEAR(dc->GetTextHeight(), 30, 1);
    lf.lfHeight = -30;
    dc->SelectFont(CFont(lf));
    EXPECT_GT(dc->GetTextHeight(), 31);
    lf.lfHeight = 0;
    dc->SelectFont(CFont(lf));
    EXPECT_GT(dc->GetTextHeight(), 8);
    EXPECT_LT(dc->GetTextHeight(), 20);
}

// A run of texts, as a table printer draws a page column by column.
struct TextRun {
    const char* name;
    std::vector<PlacedText> texts;
    int bkMode = TRANSPARENT;
    RECT contextClip{};
};

class TextRunTest : public ::testing::TestWithParam<TextRun> {};

// Every ink pixel lies in one of the run's rectangles (and in the context's clip, if any).
bool InkInsideCells(const CBitmap& bitmap, const TextRun& run) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const POINT pixel{x, y};
            const bool inCell = std::any_of(run.texts.begin(), run.texts.end(),
                                            [&](const auto& t) { return PtInRect(t.rc, pixel); });
            const bool inClip = IsRectEmpty(run.contextClip) || PtInRect(run.contextClip, pixel);
            if (bitmap.GetPixel(x, y) != kWhite && (!inCell || !inClip)) {
                return false;
            }
        }
    }
    return true;
}

TEST_P(TextRunTest, DrawsTheSamePixelsAsItsTextsOneByOneAndStaysInTheirCells) {
    const TextRun& run = GetParam();
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    CBitmap together(200, 60, kWhite);
    CBitmap oneByOne(200, 60, kWhite);
    for (CBitmap* bitmap : {&together, &oneByOne}) {
        const std::unique_ptr<CDC> dc = CreateBitmapDC(*bitmap);
        dc->SetBkMode(run.bkMode);
        dc->SetBkColor(kBlue);
        dc->SetClipRect(run.contextClip);
        if (bitmap == &together) {
            dc->DrawTexts(run.texts, format);
        } else {
            for (PlacedText placed : run.texts) {
                dc->DrawText(placed.text, placed.rc, format);
            }
        }
    }
    EXPECT_TRUE(SamePixels(together, oneByOne));
    if (run.bkMode == TRANSPARENT) {
        EXPECT_TRUE(InkInsideCells(together, run));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TextRunTest,
    ::testing::Values(
        TextRun{"ColumnOfWideTexts",
                {{"Wide text one", {10, 0, 40, 20}},
                 {"Wide text two", {10, 20, 40, 40}},
                 {"Wide text three", {10, 40, 40, 60}}}},
        TextRun{"ShortCellsCutTheTextTopAndBottom",
                {{"Wide and tall", {10, 5, 40, 12}}, {"Wide and tall", {10, 30, 40, 36}}}},
        TextRun{"FittingTextBetweenWideOnesOfAnotherColumn",
                {{"Wide text one", {10, 0, 40, 20}},
                 {"Ok", {100, 20, 190, 40}},
                 {"Wide text two", {10, 40, 40, 60}}}},
        TextRun{"RowsAcrossColumns",
                {{"Wide text one", {10, 0, 40, 20}},
                 {"Wide text two", {40, 0, 70, 20}},
                 {"Wide text three", {10, 20, 40, 40}},
                 {"Wide text four", {40, 20, 70, 40}}}},
        TextRun{"OpaqueBackgrounds",
                {{"Wide text one", {10, 0, 40, 20}}, {"Wide text two", {10, 20, 40, 40}}},
                OPAQUE},
        TextRun{"InsideTheContextClip",
                {{"Wide text one", {10, 0, 40, 20}}, {"Wide text two", {10, 20, 40, 40}}},
                TRANSPARENT,
                {0, 10, 30, 30}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FaceSmoothing {
    const char* name;
    const char* face;
    bool smoothed;
};

class FaceSmoothingTest : public TextTest, public ::testing::WithParamInterface<FaceSmoothing> {};

// The tables' bitmap face is drawn in its text colour alone, whatever the case of its name;
// other faces keep their smoothed edges, shades between the text and the background.
TEST_P(FaceSmoothingTest, OnlySmoothedFacesDrawShadesBetweenTextAndBackground) {
    dc->SelectFont(CFont::FromPoints(120, GetParam().face));
    RECT rc{0, 0, 200, 60};
    dc->DrawText("Wage 1,234.50 Qty", rc, DT_LEFT | DT_SINGLELINE);
    int ink = 0;
    int shades = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF pixel = bitmap.GetPixel(x, y);
            ink += pixel == kBlack ? 1 : 0;
            shades += pixel != kBlack && pixel != kWhite ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 50);
    EXPECT_EQ(shades > 0, GetParam().smoothed) << shades << " shaded pixels";
}

INSTANTIATE_TEST_SUITE_P(Smoothing, FaceSmoothingTest,
                         ::testing::Values(FaceSmoothing{"FixedSys", "FixedSys", false},
                                           FaceSmoothing{"FixedsysInOtherCase", "Fixedsys", false},
                                           FaceSmoothing{"CourierNew", "Courier New", true},
                                           FaceSmoothing{"Arial", "Arial", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
