// The painter context over devices other than bitmaps: a plain image and a PDF writer.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <optional>
#include <ostream>

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

LOGFONT Face(const char* face, int points, bool underline = false) {
    LOGFONT font = CFont::FromPoints(points, face).GetLogFont();
    font.lfUnderline = underline;
    return font;
}

constexpr UINT kRow = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr RECT kWhole{0, 0, 240, 40};

struct DirectText {
    const char* name;
    const char* text;
    RECT rc = kWhole;
    UINT format = kRow;
    LOGFONT font = Face("FixedSys", 120);
    int bkMode = TRANSPARENT;
    std::optional<RECT> clip = std::nullopt;
};

void PrintTo(const DirectText& row, std::ostream* out) {
    *out << row.name;
}

void DrawDirectText(CDC& dc, const DirectText& row) {
    dc.FillSolidRect(kWhole, RGB(192, 192, 192));
    if (row.clip) {
        dc.SetClipRect(*row.clip);
    }
    dc.SelectFont(CFont(row.font));
    dc.SetTextColor(RGB(0, 0, 128));
    dc.SetBkColor(RGB(255, 255, 0));
    dc.SetBkMode(row.bkMode);
    RECT rc = row.rc;
    dc.DrawText(row.text, rc, row.format);
}

class DirectTextTest : public ::testing::TestWithParam<DirectText> {};

// A bitmap's context writes unsmoothed glyphs itself: every pixel must be the painter's own.
TEST_P(DirectTextTest, BitmapTextHasThePaintersPixels) {
    CBitmap expected(240, 40);
    {
        CPainterDC dc(&expected.impl().image, 96);
        DrawDirectText(dc, GetParam());
    }
    CBitmap actual(240, 40);
    DrawDirectText(*CreateBitmapDC(actual), GetParam());
    EXPECT_TRUE(SamePixels(expected, actual));
    EXPECT_NE(InkBounds(actual, RGB(192, 192, 192)).right, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DirectTextTest,
    ::testing::Values(
        DirectText{"RowCutAtTheRight",
                   " 10248 Vins et alcools Chevalier  59 rue de l'Abbaye",
                   {1, 4, 200, 24}},
        DirectText{"EveryPrintableCharacter",
                   " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                   "[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~",
                   kWhole, DT_LEFT | DT_WORDBREAK, Face("FixedSys", 90)},
        DirectText{"CutAtTopAndBottom", "Qjgy|_^", {10, 12, 230, 19}},
        DirectText{"ContextClip", "Marked rows 5, 2, 9", kWhole, kRow, Face("FixedSys", 120),
                   TRANSPARENT, RECT{30, 15, 90, 22}},
        DirectText{"OpaqueCentred", "Total 1,234.50", kWhole,
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE, Face("FixedSys", 120), OPAQUE},
        DirectText{"AccentsAndEuro", "Ça coûte 12,50 € chez Müller"},
        DirectText{"Mnemonic", "&Print the list"},
        DirectText{"UnderlinedFont", "Order no", kWhole, kRow, Face("FixedSys", 120, true)},
        DirectText{"SmoothedFace", "Customer name", kWhole, kRow, Face("Arial", 100)}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
