// Pixel rules of the bitmap device context: fills, lines, frames, edges, focus, copies, state.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gdi/dc.h"
#include "platform/gdi/recording_dc.h"
#include "tests/platform/gdi/pixel_helpers.h"

namespace {

constexpr COLORREF kPaper = RGB(0x12, 0x34, 0x56);

class BitmapDcTest : public ::testing::Test {
  protected:
    CBitmap bitmap{20, 12, kWhite};
    std::unique_ptr<CDC> dc = CreateBitmapDC(bitmap);
};

TEST(BitmapTest, PixelsAreColorrefsAndOutOfRangeIsInvalid) {
    CBitmap bitmap(4, 3, RGB(1, 2, 3));
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0x00030201U);
    bitmap.SetPixel(3, 2, RGB(0xAA, 0xBB, 0xCC));
    EXPECT_EQ(bitmap.GetPixel(3, 2), 0x00CCBBAAU);
    EXPECT_EQ(bitmap.GetPixel(4, 0), CLR_INVALID);
    EXPECT_EQ(bitmap.GetPixel(0, -1), CLR_INVALID);
    bitmap.SetPixel(-1, 0, kRed);
    bitmap.SetPixel(0, 3, kRed);
    EXPECT_EQ(InkBounds(bitmap, RGB(1, 2, 3)), (RECT{3, 2, 4, 3}));
}

TEST(BitmapTest, ResizeKeepsOverlapAndFillsTheRest) {
    CBitmap bitmap(3, 3, kRed);
    bitmap.SetPixel(2, 2, kBlack);
    bitmap.Resize(5, 4, kWhite);
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Height(), 4);
    EXPECT_EQ(bitmap.GetPixel(2, 2), kBlack);
    EXPECT_EQ(bitmap.GetPixel(1, 1), kRed);
    EXPECT_EQ(bitmap.GetPixel(3, 0), kWhite);
    EXPECT_EQ(bitmap.GetPixel(0, 3), kWhite);
    bitmap.Resize(2, 2);
    EXPECT_EQ(bitmap.GetPixel(1, 1), kRed);
    EXPECT_EQ(bitmap.GetPixel(2, 0), CLR_INVALID);
    const std::string path =
        (std::filesystem::temp_directory_path() / "qor_gdi_bitmap_test.png").string();
    EXPECT_TRUE(bitmap.SavePng(path));
    EXPECT_TRUE(std::filesystem::remove(path));
}

TEST_F(BitmapDcTest, StartsWithTheClassicDefaults) {
    EXPECT_EQ(dc->GetTextColor(), kBlack);
    EXPECT_EQ(dc->GetBkColor(), kWhite);
    EXPECT_EQ(dc->GetBkMode(), OPAQUE);
    EXPECT_EQ(dc->GetCurrentPen(), (CPen{PS_SOLID, 0, kBlack}));
    EXPECT_EQ(dc->GetCurrentFont().GetLogFont(), DefaultGuiFont());
    EXPECT_EQ(dc->SetTextColor(kRed), kBlack);
    EXPECT_EQ(dc->SetTextColor(kBlack), kRed);
    EXPECT_EQ(dc->SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc->SetBkColor(kRed), kWhite);
    EXPECT_EQ(dc->SelectPen(CPen{PS_DOT, 1, kRed}), (CPen{}));
    EXPECT_EQ(dc->GetBitmap(), &bitmap);
    EXPECT_EQ(dc->GetDeviceCaps(HORZRES), 20);
    EXPECT_EQ(dc->GetDeviceCaps(VERTRES), 12);
    EXPECT_EQ(dc->GetDeviceCaps(LOGPIXELSX), 96);
}

TEST_F(BitmapDcTest, FillSolidRectLeavesOutRightAndBottomAndSetsBkColor) {
    dc->FillSolidRect({0, 0, 10, 5}, kRed);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{0, 0, 10, 5}));
    EXPECT_EQ(dc->GetBkColor(), kRed);
    dc->FillSolidRect({5, 5, 5, 9}, kBlack);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{0, 0, 10, 5}));
}

TEST_F(BitmapDcTest, ClipRectRestrictsUntilCleared) {
    dc->SetClipRect({2, 2, 5, 5});
    dc->FillSolidRect({0, 0, 20, 12}, kRed);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{2, 2, 5, 5}));
    dc->SetClipRect({});
    dc->FillSolidRect({0, 0, 20, 12}, kRed);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{0, 0, 20, 12}));
}

TEST_F(BitmapDcTest, StraightLinesLeaveOutTheEndPointInEitherDirection) {
    dc->MoveTo(0, 3);
    dc->LineTo(10, 3);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{0, 3, 10, 4}));
    EXPECT_EQ(dc->MoveTo(0, 0), (POINT{10, 3}));

    CBitmap reversed(20, 12);
    auto rdc = CreateBitmapDC(reversed);
    rdc->MoveTo(10, 5);
    rdc->LineTo(0, 5);
    EXPECT_EQ(InkBounds(reversed, kWhite), (RECT{1, 5, 11, 6}));

    CBitmap vertical(20, 12);
    auto vdc = CreateBitmapDC(vertical);
    vdc->MoveTo(4, 1);
    vdc->LineTo(4, 9);
    EXPECT_EQ(InkBounds(vertical, kWhite), (RECT{4, 1, 5, 9}));
}

TEST_F(BitmapDcTest, DiagonalLineStopsOneShortOfItsEnd) {
    dc->MoveTo(0, 0);
    dc->LineTo(5, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(bitmap.GetPixel(i, i), kBlack) << i;
    }
    EXPECT_EQ(bitmap.GetPixel(5, 5), kWhite);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{0, 0, 5, 5}));
    dc->MoveTo(10, 0);
    dc->LineTo(15, 3);
    EXPECT_EQ(bitmap.GetPixel(10, 0), kBlack);
    EXPECT_EQ(bitmap.GetPixel(14, 2), kBlack);
    EXPECT_EQ(bitmap.GetPixel(15, 3), kWhite);
}

TEST_F(BitmapDcTest, PenStyleAndWidthShapeTheLine) {
    dc->SelectPen(CPen{PS_NULL, 1, kBlack});
    dc->MoveTo(0, 1);
    dc->LineTo(19, 1);
    EXPECT_EQ(InkBounds(bitmap, kWhite), RECT{});

    dc->SelectPen(CPen{PS_DOT, 1, kRed});
    dc->MoveTo(0, 2);
    dc->LineTo(19, 2);
    EXPECT_EQ(bitmap.GetPixel(0, 2), kRed);
    int gaps = 0;
    for (int x = 0; x < 19; ++x) {
        gaps += bitmap.GetPixel(x, 2) == kWhite ? 1 : 0;
    }
    EXPECT_GT(gaps, 4);
    EXPECT_LT(gaps, 15);

    dc->SelectPen(CPen{PS_SOLID, 3, kBlack});
    dc->MoveTo(4, 8);
    dc->LineTo(14, 8);
    EXPECT_EQ(bitmap.GetPixel(9, 7), kBlack);
    EXPECT_EQ(bitmap.GetPixel(9, 9), kBlack);
    EXPECT_EQ(bitmap.GetPixel(9, 10), kWhite);
}

TEST_F(BitmapDcTest, PolylineJoinsSegmentsAndLeavesOutTheLastPoint) {
    dc->Polyline({{1, 1}, {6, 1}, {6, 6}});
    EXPECT_EQ(bitmap.GetPixel(1, 1), kBlack);
    EXPECT_EQ(bitmap.GetPixel(6, 1), kBlack);
    EXPECT_EQ(bitmap.GetPixel(6, 5), kBlack);
    EXPECT_EQ(bitmap.GetPixel(6, 6), kWhite);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{1, 1, 7, 6}));
}

TEST_F(BitmapDcTest, FrameRectOutlinesInsideTheRectangle) {
    dc->SelectPen(CPen{PS_SOLID, 0, kRed});
    dc->FrameRect({2, 2, 8, 6});
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{2, 2, 8, 6}));
    for (const POINT corner : {POINT{2, 2}, POINT{7, 2}, POINT{2, 5}, POINT{7, 5}}) {
        EXPECT_EQ(bitmap.GetPixel(corner.x, corner.y), kRed);
    }
    EXPECT_EQ(bitmap.GetPixel(4, 4), kWhite);
}

struct EdgeColours {
    UINT edge;
    COLORREF outerTopLeft;
    COLORREF outerBottomRight;
    COLORREF innerTopLeft;
    COLORREF innerBottomRight;
};

TEST_F(BitmapDcTest, EdgesUseTheClassicColoursOnEachSide) {
    const EdgeColours cases[] = {
        {EDGE_RAISED, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHILIGHT, COLOR_3DSHADOW},
        {EDGE_SUNKEN, COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
        {EDGE_ETCHED, COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DHILIGHT, COLOR_3DSHADOW},
    };
    for (const EdgeColours& c : cases) {
        CBitmap surface(10, 8, kPaper);
        auto edc = CreateBitmapDC(surface);
        edc->DrawEdge({0, 0, 10, 8}, c.edge, BF_RECT);
        SCOPED_TRACE(c.edge);
        EXPECT_EQ(surface.GetPixel(5, 0), c.outerTopLeft);
        EXPECT_EQ(surface.GetPixel(0, 4), c.outerTopLeft);
        EXPECT_EQ(surface.GetPixel(5, 7), c.outerBottomRight);
        EXPECT_EQ(surface.GetPixel(9, 4), c.outerBottomRight);
        EXPECT_EQ(surface.GetPixel(5, 1), c.innerTopLeft);
        EXPECT_EQ(surface.GetPixel(1, 4), c.innerTopLeft);
        EXPECT_EQ(surface.GetPixel(5, 6), c.innerBottomRight);
        EXPECT_EQ(surface.GetPixel(8, 4), c.innerBottomRight);
        // Bottom and right lines own the corners they share with top and left.
        EXPECT_EQ(surface.GetPixel(0, 0), c.outerTopLeft);
        EXPECT_EQ(surface.GetPixel(9, 0), c.outerBottomRight);
        EXPECT_EQ(surface.GetPixel(0, 7), c.outerBottomRight);
        EXPECT_EQ(surface.GetPixel(8, 1), c.innerBottomRight);
        EXPECT_EQ(InkBounds(surface, kPaper), (RECT{0, 0, 10, 8}));
        EXPECT_EQ(surface.GetPixel(4, 4), kPaper);
    }
}

TEST_F(BitmapDcTest, EdgeDrawsOnlyTheNamedSides) {
    CBitmap surface(10, 8, kPaper);
    CreateBitmapDC(surface)->DrawEdge({0, 0, 10, 8}, EDGE_SUNKEN, BF_BOTTOM);
    EXPECT_EQ(InkBounds(surface, kPaper), (RECT{0, 6, 10, 8}));
    EXPECT_EQ(surface.GetPixel(0, 7), COLOR_3DHILIGHT);
    EXPECT_EQ(surface.GetPixel(0, 6), COLOR_3DLIGHT);
}

TEST_F(BitmapDcTest, FocusRectInvertsAlternatePixelsAndUndoesItself) {
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            bitmap.SetPixel(x, y, RGB(x * 10, y * 20, 77));
        }
    }
    CBitmap original(20, 12);
    auto odc = CreateBitmapDC(original);
    odc->BitBlt(0, 0, 20, 12, *dc, 0, 0, SRCCOPY);

    const RECT focus{3, 2, 13, 9};
    dc->DrawFocusRect(focus);
    const auto inverted = [&](int x, int y) {
        return bitmap.GetPixel(x, y) == (original.GetPixel(x, y) ^ 0x00FFFFFFU);
    };
    EXPECT_TRUE(inverted(3, 2));
    EXPECT_FALSE(inverted(4, 2));
    EXPECT_TRUE(inverted(5, 2));
    EXPECT_FALSE(inverted(3, 3));
    EXPECT_TRUE(inverted(3, 4));
    EXPECT_TRUE(inverted(12, 3));
    EXPECT_TRUE(inverted(3, 8));
    EXPECT_FALSE(inverted(4, 8));
    EXPECT_EQ(bitmap.GetPixel(6, 5), original.GetPixel(6, 5));
    EXPECT_EQ(bitmap.GetPixel(13, 2), original.GetPixel(13, 2));
    EXPECT_EQ(bitmap.GetPixel(3, 9), original.GetPixel(3, 9));

    dc->DrawFocusRect(focus);
    EXPECT_TRUE(SamePixels(bitmap, original));
}

TEST_F(BitmapDcTest, BitBltCopiesARegionAndIgnoresSourcesWithoutBitmap) {
    CBitmap source(8, 8, kPaper);
    source.SetPixel(2, 3, kRed);
    auto sdc = CreateBitmapDC(source);
    dc->BitBlt(10, 4, 3, 2, *sdc, 1, 2, SRCCOPY);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{10, 4, 13, 6}));
    EXPECT_EQ(bitmap.GetPixel(11, 5), kRed);
    EXPECT_EQ(bitmap.GetPixel(10, 4), kPaper);

    // Overlapping copy within one bitmap reads the pixels as they were.
    dc->BitBlt(11, 4, 3, 2, *dc, 10, 4, SRCCOPY);
    EXPECT_EQ(bitmap.GetPixel(12, 5), kRed);
    EXPECT_EQ(bitmap.GetPixel(11, 5), kPaper);

    CBitmap before(20, 12);
    CreateBitmapDC(before)->BitBlt(0, 0, 20, 12, *dc, 0, 0, SRCCOPY);
    CRecordingDC recorder;
    dc->BitBlt(0, 0, 20, 12, recorder, 0, 0, SRCCOPY);
    EXPECT_TRUE(SamePixels(bitmap, before));
}

TEST_F(BitmapDcTest, ContextsShareABitmapAndFollowItsResize) {
    auto second = CreateBitmapDC(bitmap);
    second->FillSolidRect({0, 0, 1, 1}, kRed);
    dc->FillSolidRect({1, 0, 2, 1}, kRed);
    EXPECT_EQ(InkBounds(bitmap, kWhite), (RECT{0, 0, 2, 1}));
    bitmap.Resize(40, 30);
    EXPECT_EQ(dc->GetDeviceCaps(HORZRES), 40);
    dc->FillSolidRect({30, 20, 40, 30}, kBlack);
    EXPECT_EQ(bitmap.GetPixel(39, 29), kBlack);
}

TEST_F(BitmapDcTest, EmptyBitmapContextMeasuresButDrawsNothing) {
    CBitmap empty(0, 0);
    auto edc = CreateBitmapDC(empty);
    edc->FillSolidRect({0, 0, 5, 5}, kRed);
    edc->DrawFocusRect({0, 0, 5, 5});
    EXPECT_GT(edc->GetTextExtentPoint32("abc").cx, 0);
    EXPECT_EQ(edc->GetBkColor(), kRed);
}

}  // namespace
