// The painter context over devices other than bitmaps: a plain image and a PDF writer.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryDir>

#include "platform/gdi/bitmap_qt.h"
#include "platform/gdi/painter_dc_qt.h"
#include "tests/platform/gdi/pixel_helpers.h"

namespace {

using PainterDeviceTest = ::testing::Test;

void DrawSample(CDC& dc) {
    dc.FillSolidRect({0, 0, 40, 20}, RGB(10, 200, 30));
    dc.DrawEdge({1, 1, 39, 19}, EDGE_RAISED, BF_RECT);
    dc.MoveTo(3, 10);
    dc.LineTo(30, 15);
    RECT rc{2, 2, 38, 18};
    dc.DrawText("Ab", rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    dc.DrawFocusRect({4, 4, 36, 16});
}

TEST_F(PainterDeviceTest, DeviceContextDrawsLikeTheBitmapContext) {
    CBitmap expected(40, 20);
    DrawSample(*CreateBitmapDC(expected));

    CBitmap actual(40, 20);
    {
        CPainterDC dc(&actual.impl().image, 96);
        DrawSample(dc);
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 40);
        EXPECT_EQ(dc.GetBitmap(), nullptr);
    }
    EXPECT_TRUE(SamePixels(expected, actual));
}

TEST_F(PainterDeviceTest, PdfWriterTakesEveryOperation) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("sample.pdf");
    QPdfWriter writer(path);
    writer.setResolution(600);
    {
        CPainterDC dc(&writer, 600);
        EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), writer.width());
        DrawSample(dc);
        CBitmap source(8, 8);
        auto sourceDc = CreateBitmapDC(source);
        dc.BitBlt(100, 100, 8, 8, *sourceDc, 0, 0, SRCCOPY);
        dc.SelectFont(CFont(LOGFONT{}));
        EXPECT_GT(dc.GetTextHeight(), 40);  // the default size follows the device's resolution
        dc.Painter().end();
        dc.FillSolidRect({0, 0, 10, 10}, 0);  // after the end: ignored, not a failure
    }
    EXPECT_GT(QFileInfo(path).size(), 0);
}

}  // namespace
