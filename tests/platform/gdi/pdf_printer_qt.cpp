// The PDF printer: pages rendered back to pixels land where the device units say, and an
// unfinished document leaves no file.
#include <gtest/gtest.h>

#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/gdi/paper_printers_qt.h"
#include "tests/temp_folder.h"

namespace {

constexpr int kRenderDpi = 75;
constexpr COLORREF kFill = RGB(200, 30, 40);

// Page 1 of the PDF as pdftoppm renders it at 75 dpi.
QImage Render(const TempFolder& folder, const std::string& pdf) {
    const std::string prefix = folder.File("page");
    const std::string command = "pdftoppm -r " + std::to_string(kRenderDpi) +
                                " -png -singlefile '" + pdf + "' '" + prefix + "'";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    return QImage(QString::fromStdString(prefix + ".png"));
}

// A point given in printer device units, as a pixel of the rendered sheet.
QPoint ToRendered(const CPrinterDC& dc, int x, int y) {
    const PrinterPage& page = dc.Page();
    return QPoint((page.offset.x + x) * kRenderDpi / page.dpi,
                  (page.offset.y + y) * kRenderDpi / page.dpi);
}

bool IsDark(QRgb pixel) {
    return qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

int DarkPixelsIn(const QImage& image, QRect area) {
    int dark = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            dark += IsDark(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return dark;
}

TEST(PdfPrinterTest, APageShowsItsRectangleAndTextWhereTheDeviceUnitsSay) {
    const TempFolder folder;
    const std::string pdf = folder.File("out.pdf");
    const std::unique_ptr<CPrinterDC> dc = CreatePdfPrinterDC(pdf);
    ASSERT_GT(dc->StartDoc("Report"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    dc->FillSolidRect({600, 600, 1800, 1200}, kFill);
    LOGFONT font;
    font.lfHeight = -MulDiv(36, dc->GetDeviceCaps(LOGPIXELSY), 72);
    font.lfFaceName = "Arial";
    dc->SelectFont(CFont(font));
    dc->SetBkMode(TRANSPARENT);
    dc->TextOut(600, 2400, "HELLO");
    ASSERT_GT(dc->EndDoc(), 0);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_FALSE(std::filesystem::exists(pdf + ".part"));

    const QImage page = Render(folder, pdf);
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 8.5 * kRenderDpi, 1.0);
    EXPECT_NEAR(page.height(), 11 * kRenderDpi, 1.0);

    const QPoint topLeft = ToRendered(*dc, 600, 600);
    const QPoint bottomRight = ToRendered(*dc, 1800, 1200);
    const QRgb fill = qRgb(200, 30, 40);
    EXPECT_EQ(page.pixel(topLeft + QPoint(2, 2)), fill);
    EXPECT_EQ(page.pixel(bottomRight - QPoint(2, 2)), fill);
    EXPECT_EQ(page.pixel(topLeft - QPoint(2, 2)), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(bottomRight + QPoint(2, 2)), qRgb(255, 255, 255));

    const QPoint textTop = ToRendered(*dc, 600, 2400);
    const QPoint textEnd =
        ToRendered(*dc, 600 + dc->GetTextExtentPoint32("HELLO").cx, 2400 + dc->GetTextHeight());
    EXPECT_GT(DarkPixelsIn(page, QRect(textTop, textEnd)), 100);
    EXPECT_EQ(DarkPixelsIn(page, QRect(textTop - QPoint(0, 40), textEnd - QPoint(0, 80))), 0);
}

TEST(PdfPrinterTest, A4SheetsComeOutA4) {
    const TempFolder folder;
    const std::string pdf = folder.File("a4.pdf");
    const std::unique_ptr<CPrinterDC> dc = CreatePdfPrinterDC(pdf, PrinterPage::A4());
    EXPECT_EQ(dc->GetDeviceCaps(HORZRES), 4661);
    ASSERT_GT(dc->StartDoc("Report"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    ASSERT_GT(dc->EndDoc(), 0);
    const QImage page = Render(folder, pdf);
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 210 * kRenderDpi / 25.4, 1.5);
    EXPECT_NEAR(page.height(), 297 * kRenderDpi / 25.4, 1.5);
}

TEST(PdfPrinterTest, AnUnfinishedDocumentLeavesNoFileAndKeepsAnEarlierOne) {
    const TempFolder folder;
    const std::string pdf = folder.File("out.pdf");
    {
        const std::unique_ptr<CPrinterDC> dc = CreatePdfPrinterDC(pdf);
        ASSERT_GT(dc->StartDoc("Report"), 0);
        ASSERT_GT(dc->StartPage(), 0);
        dc->FillSolidRect({0, 0, 100, 100}, kFill);
        EXPECT_GT(dc->AbortDoc(), 0);
        EXPECT_FALSE(std::filesystem::exists(pdf));
        ASSERT_GT(dc->StartDoc("Report"), 0);
        ASSERT_GT(dc->StartPage(), 0);
    }
    EXPECT_FALSE(std::filesystem::exists(pdf));

    const std::string earlier = folder.Write("earlier.pdf", "kept");
    {
        const std::unique_ptr<CPrinterDC> dc = CreatePdfPrinterDC(earlier);
        ASSERT_GT(dc->StartDoc("Report"), 0);
        EXPECT_GT(dc->AbortDoc(), 0);
    }
    std::ifstream kept(earlier);
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(std::filesystem::exists(earlier + ".part"));
}

TEST(PdfPrinterTest, AFolderThatCannotBeWrittenFailsTheDocumentStart) {
    const std::unique_ptr<CPrinterDC> dc = CreatePdfPrinterDC("/nonexistent-folder/out.pdf");
    EXPECT_EQ(dc->StartDoc("Report"), SP_ERROR);
    EXPECT_EQ(dc->StartPage(), SP_ERROR);
}

TEST(SystemPrinterTest, APrinterPrintingToAFileTakesItsLayoutAndKeepsOnlyFinishedDocuments) {
    const TempFolder folder;
    const std::string pdf = folder.File("system.pdf");
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(QString::fromStdString(pdf));
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    const std::unique_ptr<CPrinterDC> dc = CreateSystemPrinterDC(std::move(printer));
    const int dpi = dc->GetDeviceCaps(LOGPIXELSY);
    ASSERT_GT(dpi, 0);
    // Qt keeps page layouts in whole points.
    const double point = dpi / 72.0;
    EXPECT_NEAR(dc->GetDeviceCaps(PHYSICALOFFSETX), 10 * dpi / 25.4, point);
    EXPECT_NEAR(dc->GetDeviceCaps(PHYSICALWIDTH), 210 * dpi / 25.4, point);
    EXPECT_EQ(dc->GetDeviceCaps(HORZRES),
              dc->GetDeviceCaps(PHYSICALWIDTH) - 2 * dc->GetDeviceCaps(PHYSICALOFFSETX));

    ASSERT_GT(dc->StartDoc("Report"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    EXPECT_GT(dc->AbortDoc(), 0);
    EXPECT_FALSE(std::filesystem::exists(pdf));

    ASSERT_GT(dc->StartDoc("Report"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    dc->FillSolidRect({0, 0, dpi, dpi}, kFill);
    ASSERT_GT(dc->EndDoc(), 0);
    EXPECT_TRUE(std::filesystem::exists(pdf));
    EXPECT_FALSE(std::filesystem::exists(pdf + ".part"));
}

struct UnusablePrinterCase {
    const char* name;
    std::function<void(QPrinter&)> setUp;
};

class UnusableSystemPrinterTest : public ::testing::TestWithParam<UnusablePrinterCase> {};

// What a system printer refuses reaches the control as the failed document start it handles.
TEST_P(UnusableSystemPrinterTest, FailsTheDocumentStartAndLeavesNothing) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    GetParam().setUp(*printer);
    const std::unique_ptr<CPrinterDC> dc = CreateSystemPrinterDC(std::move(printer));
    EXPECT_EQ(dc->StartDoc("Report"), SP_ERROR);
    EXPECT_EQ(dc->StartPage(), SP_ERROR);
    EXPECT_EQ(dc->EndDoc(), SP_ERROR);
    EXPECT_FALSE(std::filesystem::exists("/nonexistent-folder/out.pdf.part"));
}

INSTANTIATE_TEST_SUITE_P(
    Printers, UnusableSystemPrinterTest,
    ::testing::Values(UnusablePrinterCase{"FileInAMissingFolder",
                                          [](QPrinter& printer) {
                                              printer.setOutputFormat(QPrinter::PdfFormat);
                                              printer.setOutputFileName(
                                                  "/nonexistent-folder/out.pdf");
                                          }},
                      UnusablePrinterCase{"PrinterThatIsNotThere",
                                          [](QPrinter& printer) {
                                              printer.setPrinterName("qor-no-such-printer");
                                          }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
