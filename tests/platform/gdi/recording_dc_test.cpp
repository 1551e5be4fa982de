// The recording context: calls kept with the state in force, real measurements, forwarding.
#include <gtest/gtest.h>

#include "platform/gdi/recording_dc.h"
#include "tests/platform/gdi/pixel_helpers.h"

namespace {

using RecordingDcTest = ::testing::Test;

// A little of everything a control draws, against any context.
void DrawSample(CDC& dc) {
    dc.FillSolidRect({0, 0, 60, 30}, RGB(200, 200, 200));
    dc.DrawEdge({2, 2, 58, 28}, EDGE_SUNKEN, BF_RECT);
    dc.SelectPen(CPen{PS_DOT, 1, kBlue});
    dc.MoveTo(4, 25);
    dc.LineTo(50, 25);
    dc.SetTextColor(kRed);
    dc.SetBkMode(TRANSPARENT);
    RECT rc{4, 4, 56, 24};
    dc.DrawText("&Name", rc, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    dc.DrawFocusRect({3, 3, 57, 27});
    dc.SetClipRect({0, 0, 30, 30});
    dc.TextOut(40, 4, "clipped");
}

TEST_F(RecordingDcTest, RecordsCallsWithTheStateInForce) {
    CRecordingDC dc;
    dc.SetTextColor(kRed);
    dc.SetBkMode(TRANSPARENT);
    LOGFONT bold = DefaultGuiFont();
    bold.lfWeight = FW_BOLD;
    dc.SelectFont(CFont(bold));
    RECT rc{1, 2, 100, 20};
    dc.DrawText("Total", rc, DT_RIGHT | DT_SINGLELINE);
    dc.FillSolidRect({0, 0, 5, 5}, kBlue);

    const std::vector<DcCall> texts = dc.CallsOf(DcOp::DrawText);
    ASSERT_EQ(texts.size(), 1U);
    EXPECT_EQ(texts[0].text, "Total");
    EXPECT_EQ(texts[0].rect, (RECT{1, 2, 100, 20}));
    EXPECT_EQ(texts[0].flags, DT_RIGHT | DT_SINGLELINE);
    EXPECT_EQ(texts[0].textColor, kRed);
    EXPECT_EQ(texts[0].bkMode, TRANSPARENT);
    EXPECT_EQ(texts[0].font.GetLogFont().lfWeight, FW_BOLD);

    ASSERT_EQ(dc.Calls().size(), 5U);
    EXPECT_EQ(dc.Calls()[0].op, DcOp::SetTextColor);
    EXPECT_EQ(dc.Calls()[0].color, kRed);
    EXPECT_EQ(dc.Calls()[0].textColor, 0U);  // still the colour before the call
    EXPECT_EQ(dc.Calls()[4].color, kBlue);
    EXPECT_EQ(dc.GetBkColor(), kBlue);
    dc.Clear();
    EXPECT_TRUE(dc.Calls().empty());
}

TEST_F(RecordingDcTest, MeasuresLikeABitmapContext) {
    CRecordingDC recording;
    CBitmap bitmap(10, 10);
    auto screen = CreateBitmapDC(bitmap);
    EXPECT_EQ(recording.GetTextExtentPoint32("Quantity"), screen->GetTextExtentPoint32("Quantity"));
    EXPECT_EQ(recording.GetTextHeight(), screen->GetTextHeight());

    RECT measured{5, 5, 60, 5};
    RECT expected = measured;
    const int height = recording.DrawText("one two three", measured, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(height, screen->DrawText("one two three", expected, DT_WORDBREAK | DT_CALCRECT));
    EXPECT_EQ(measured, expected);
    EXPECT_EQ(recording.CallsOf(DcOp::DrawText).at(0).rect, (RECT{5, 5, 60, 5}));

    LOGFONT large = DefaultGuiFont();
    large.lfHeight = -24;
    recording.SelectFont(CFont(large));
    EXPECT_GT(recording.GetTextHeight(), screen->GetTextHeight());
}

TEST_F(RecordingDcTest, ForwardsToItsTargetPixelForPixel) {
    CBitmap direct(60, 30);
    DrawSample(*CreateBitmapDC(direct));

    CBitmap forwarded(60, 30);
    auto target = CreateBitmapDC(forwarded);
    CRecordingDC recording(target.get());
    DrawSample(recording);

    EXPECT_TRUE(SamePixels(direct, forwarded));
    EXPECT_EQ(recording.CallsOf(DcOp::TextOut).at(0).text, "clipped");
    EXPECT_EQ(recording.CallsOf(DcOp::SetClipRect).at(0).rect, (RECT{0, 0, 30, 30}));
}

TEST_F(RecordingDcTest, BitBltIsRecordedAndForwarded) {
    CBitmap source(10, 10, kRed);
    auto sourceDc = CreateBitmapDC(source);
    CBitmap destination(20, 20);
    auto target = CreateBitmapDC(destination);
    CRecordingDC recording(target.get());
    recording.BitBlt(5, 6, 4, 3, *sourceDc, 1, 2, SRCCOPY);

    const DcCall call = recording.CallsOf(DcOp::BitBlt).at(0);
    EXPECT_EQ(call.rect, (RECT{5, 6, 9, 9}));
    EXPECT_EQ(call.point, (POINT{1, 2}));
    EXPECT_EQ(call.flags, SRCCOPY);
    EXPECT_EQ(InkBounds(destination, 0x00FFFFFF), (RECT{5, 6, 9, 9}));
}

TEST_F(RecordingDcTest, DeviceCapsComeFromItsProfileThenItsTarget) {
    CRecordingDC paper(nullptr, 600, SIZE{5100, 6600});
    EXPECT_EQ(paper.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(paper.GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_EQ(paper.GetDeviceCaps(HORZRES), 5100);
    EXPECT_EQ(paper.GetDeviceCaps(VERTRES), 6600);
    EXPECT_EQ(paper.GetDeviceCaps(PHYSICALOFFSETX), 0);

    CBitmap bitmap(10, 10);
    auto target = CreateBitmapDC(bitmap);
    CRecordingDC screen(target.get(), 96, SIZE{800, 600});
    EXPECT_EQ(screen.GetDeviceCaps(HORZRES), 800);
    EXPECT_EQ(screen.GetDeviceCaps(PHYSICALWIDTH), target->GetDeviceCaps(PHYSICALWIDTH));

    LOGFONT unsized = DefaultGuiFont();
    unsized.lfHeight = 0;
    paper.SelectFont(CFont(unsized));
    screen.SelectFont(CFont(unsized));
    EXPECT_GT(paper.GetTextHeight(), 4 * screen.GetTextHeight());
}

}  // namespace
