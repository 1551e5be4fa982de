// DrawFrameControl: the pixels of scroll arrows, check boxes and push buttons, plain and
// pressed, and the recording context keeping it as one call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gdi/recording_dc.h"
#include "tests/platform/gdi/pixel_helpers.h"

namespace {

constexpr COLORREF kFace = COLOR_3DFACE;
constexpr COLORREF kShadow = COLOR_3DSHADOW;
constexpr COLORREF kBackground = RGB(0, 128, 0);

struct Probe {
    int x, y;
    COLORREF color;
};

struct FrameCase {
    std::string name;
    RECT rect;
    UINT type;
    UINT state;
    std::vector<Probe> probes;
};

class FrameControlTest : public ::testing::TestWithParam<FrameCase> {};

}  // namespace

TEST_P(FrameControlTest, DrawsTheClassicPart) {
    const FrameCase& c = GetParam();
    CBitmap bitmap(20, 16, kBackground);
    RECT rc = c.rect;
    EXPECT_TRUE(CreateBitmapDC(bitmap)->DrawFrameControl(rc, c.type, c.state));
    EXPECT_EQ(rc, c.rect);
    for (const Probe& probe : c.probes) {
        EXPECT_EQ(bitmap.GetPixel(probe.x, probe.y), probe.color)
            << "at " << probe.x << "," << probe.y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Parts, FrameControlTest,
    ::testing::Values(
        // A 16-pixel button: a 7-wide, 4-high arrow from (4, 6).
        FrameCase{"ScrollDown",
                  {0, 0, 16, 16},
                  DFC_SCROLL,
                  DFCS_SCROLLDOWN,
                  {{0, 0, COLOR_3DLIGHT},
                   {15, 15, kBlack},
                   {1, 1, kWhite},
                   {14, 14, kShadow},
                   {2, 2, kFace},
                   {4, 6, kBlack},
                   {10, 6, kBlack},
                   {3, 6, kFace},
                   {11, 6, kFace},
                   {5, 7, kBlack},
                   {4, 7, kFace},
                   {7, 9, kBlack},
                   {6, 9, kFace},
                   {8, 9, kFace},
                   {7, 10, kFace},
                   {7, 5, kFace},
                   {16, 0, kBackground}}},
        FrameCase{"ScrollDownPushed",
                  {0, 0, 16, 16},
                  DFC_SCROLL,
                  DFCS_SCROLLDOWN | DFCS_PUSHED,
                  {{0, 0, kShadow},
                   {15, 15, kWhite},
                   {1, 1, kBlack},
                   {14, 14, COLOR_3DLIGHT},
                   {5, 7, kBlack},
                   {11, 7, kBlack},
                   {4, 7, kFace},
                   {4, 6, kFace},
                   {8, 10, kBlack},
                   {7, 10, kFace}}},
        FrameCase{"ScrollUp",
                  {0, 0, 16, 16},
                  DFC_SCROLL,
                  DFCS_SCROLLUP,
                  {{7, 6, kBlack}, {6, 6, kFace}, {4, 9, kBlack}, {10, 9, kBlack}, {3, 9, kFace}}},
        // A 13-pixel box at the left of a wider rectangle, the mark from (3, 3).
        FrameCase{"CheckBox",
                  {0, 0, 20, 13},
                  DFC_BUTTON,
                  DFCS_BUTTONCHECK,
                  {{0, 0, kShadow},
                   {1, 1, kBlack},
                   {12, 12, kWhite},
                   {11, 11, COLOR_3DLIGHT},
                   {3, 5, kWhite},
                   {6, 6, kWhite},
                   {13, 6, kBackground}}},
        FrameCase{"CheckBoxChecked",
                  {0, 0, 20, 13},
                  DFC_BUTTON,
                  DFCS_BUTTONCHECK | DFCS_CHECKED,
                  {{3, 5, kBlack},
                   {3, 7, kBlack},
                   {3, 4, kWhite},
                   {3, 8, kWhite},
                   {5, 9, kBlack},
                   {5, 6, kWhite},
                   {9, 3, kBlack},
                   {9, 6, kWhite},
                   {10, 3, kWhite}}},
        FrameCase{"CheckBoxPushed",
                  {0, 0, 20, 13},
                  DFC_BUTTON,
                  DFCS_BUTTONCHECK | DFCS_PUSHED,
                  {{6, 6, kFace}, {0, 0, kShadow}}},
        FrameCase{"PushButton",
                  {2, 2, 18, 14},
                  DFC_BUTTON,
                  DFCS_BUTTONPUSH,
                  {{2, 2, COLOR_3DLIGHT},
                   {17, 13, kBlack},
                   {3, 3, kWhite},
                   {9, 8, kFace},
                   {1, 1, kBackground}}},
        FrameCase{"PushButtonPushed",
                  {2, 2, 18, 14},
                  DFC_BUTTON,
                  DFCS_BUTTONPUSH | DFCS_PUSHED,
                  {{2, 2, kShadow}, {17, 13, kWhite}, {3, 3, kBlack}, {9, 8, kFace}}}),
    [](const auto& info) { return info.param.name; });

TEST(FrameControlRefusalTest, OtherPartsDrawNothing) {
    struct Refused {
        UINT type;
        UINT state;
    };
    for (const Refused& r :
         {Refused{DFC_SCROLL, 0x0002}, Refused{DFC_BUTTON, 0x0004}, Refused{1, 0}}) {
        CBitmap bitmap(16, 16, kBackground);
        RECT rc{0, 0, 16, 16};
        EXPECT_FALSE(CreateBitmapDC(bitmap)->DrawFrameControl(rc, r.type, r.state));
        EXPECT_TRUE(IsRectEmpty(InkBounds(bitmap, kBackground)));
        CRecordingDC recording;
        EXPECT_FALSE(recording.DrawFrameControl(rc, r.type, r.state));
    }
}

TEST(FrameControlRecordingTest, RecordsOneCallAndDrawsItOnTheTarget) {
    CBitmap direct(16, 16, kBackground);
    CBitmap forwarded(16, 16, kBackground);
    RECT rc{0, 0, 16, 16};
    CreateBitmapDC(direct)->DrawFrameControl(rc, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED);
    const auto target = CreateBitmapDC(forwarded);
    CRecordingDC dc(target.get());
    EXPECT_TRUE(dc.DrawFrameControl(rc, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED));
    ASSERT_EQ(dc.Calls().size(), 1U);
    EXPECT_EQ(dc.Calls()[0].op, DcOp::DrawFrameControl);
    EXPECT_EQ(dc.Calls()[0].rect, rc);
    EXPECT_EQ(dc.Calls()[0].flags, DFC_SCROLL);
    EXPECT_EQ(dc.Calls()[0].flags2, DFCS_SCROLLDOWN | DFCS_PUSHED);
    EXPECT_TRUE(SamePixels(direct, forwarded));
}
