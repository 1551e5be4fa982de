// The printer context through the recording printer: capabilities, document and page calls,
// failures on demand and what each page recorded.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/gdi/recording_printer.h"

namespace {

using ::testing::ElementsAre;

PrinterCallResult Ok(PrintCall call) {
    return PrinterCallResult{call, true};
}
PrinterCallResult Failed(PrintCall call) {
    return PrinterCallResult{call, false};
}

TEST(PrinterPageTest, LetterAndA4FollowThePaperAtTheirResolution) {
    const std::unique_ptr<CPrinterDC> letter = CRecordingPrinter().CreateDC();
    EXPECT_EQ(letter->GetDeviceCaps(PHYSICALWIDTH), 5100);
    EXPECT_EQ(letter->GetDeviceCaps(PHYSICALHEIGHT), 6600);
    EXPECT_EQ(letter->GetDeviceCaps(PHYSICALOFFSETX), 150);
    EXPECT_EQ(letter->GetDeviceCaps(PHYSICALOFFSETY), 150);
    EXPECT_EQ(letter->GetDeviceCaps(HORZRES), 4800);
    EXPECT_EQ(letter->GetDeviceCaps(VERTRES), 6300);
    EXPECT_EQ(letter->GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(letter->GetDeviceCaps(LOGPIXELSY), 600);
    POINT offset;
    EXPECT_EQ(letter->Escape(GETPRINTINGOFFSET, 0, nullptr, &offset), 1);
    EXPECT_EQ(offset, (POINT{150, 150}));
    EXPECT_EQ(letter->Escape(GETPRINTINGOFFSET, 0, nullptr, nullptr), 0);
    EXPECT_EQ(letter->Escape(1, 0, nullptr, &offset), 0);

    const PrinterPage a4 = PrinterPage::A4();
    EXPECT_EQ(a4.physical, (SIZE{4961, 7016}));
    EXPECT_EQ(a4.printable, (SIZE{4661, 6716}));
    const PrinterPage coarse = PrinterPage::Letter(300);
    EXPECT_EQ(coarse.physical, (SIZE{2550, 3300}));
    EXPECT_EQ(coarse.offset, (POINT{75, 75}));
}

TEST(PrinterPageTest, OnlyTheTextMappingModeIsTaken) {
    const std::unique_ptr<CPrinterDC> dc = CRecordingPrinter().CreateDC();
    EXPECT_EQ(dc->SetMapMode(MM_TEXT), MM_TEXT);
    EXPECT_EQ(dc->SetMapMode(2), 0);
    EXPECT_EQ(dc->GetMapMode(), MM_TEXT);
}

TEST(RecordingPrinterTest, RecordsEachPageWithTheStateChosenBeforeTheDocument) {
    const CRecordingPrinter printer;
    {
        const std::unique_ptr<CPrinterDC> dc = printer.CreateDC();
        LOGFONT font;
        font.lfHeight = -MulDiv(12, dc->GetDeviceCaps(LOGPIXELSY), 72);
        font.lfFaceName = "FixedSys";
        dc->SelectFont(CFont(font));
        dc->SetTextColor(RGB(0, 0, 128));
        ASSERT_GT(dc->StartDoc("Report"), 0);
        ASSERT_GT(dc->StartPage(), 0);
        RECT cell{100, 100, 900, 200};
        dc->DrawText("first", cell, DT_CENTER | DT_SINGLELINE);
        ASSERT_GT(dc->EndPage(), 0);
        // Between pages nothing lands anywhere.
        dc->FillSolidRect({0, 0, 10, 10}, 0);
        ASSERT_GT(dc->StartPage(), 0);
        dc->FillSolidRect({0, 0, 50, 50}, RGB(1, 2, 3));
        ASSERT_GT(dc->EndDoc(), 0);
        EXPECT_FALSE(dc->DocumentOpen());
    }
    EXPECT_THAT(printer.Calls(), ElementsAre(Ok(PrintCall::StartDoc), Ok(PrintCall::StartPage),
                                             Ok(PrintCall::EndPage), Ok(PrintCall::StartPage),
                                             Ok(PrintCall::EndPage), Ok(PrintCall::EndDoc)));
    ASSERT_EQ(printer.Documents().size(), 1U);
    const PrintedDocument& document = printer.Documents()[0];
    EXPECT_EQ(document.name, "Report");
    EXPECT_EQ(document.state, PrintedDocument::State::Ended);
    ASSERT_EQ(document.pages.size(), 2U);
    ASSERT_EQ(document.pages[0].calls.size(), 1U);
    const DcCall& text = document.pages[0].calls[0];
    EXPECT_EQ(text.op, DcOp::DrawText);
    EXPECT_EQ(text.text, "first");
    EXPECT_EQ(text.font.GetLogFont().lfHeight, -100);
    EXPECT_EQ(text.font.GetLogFont().lfFaceName, "FixedSys");
    EXPECT_EQ(text.textColor, RGB(0, 0, 128));
    ASSERT_EQ(document.pages[1].calls.size(), 1U);
    EXPECT_EQ(document.pages[1].calls[0].rect, (RECT{0, 0, 50, 50}));
}

TEST(RecordingPrinterTest, MeasuresAtThePrinterResolutionInAndOutOfADocument) {
    const std::unique_ptr<CPrinterDC> dc = CRecordingPrinter().CreateDC();
    LOGFONT font;
    font.lfHeight = -MulDiv(12, 600, 72);
    font.lfFaceName = "Arial";
    dc->SelectFont(CFont(font));
    const SIZE before = dc->GetTextExtentPoint32("Customer");
    EXPECT_GT(before.cx, 300);
    EXPECT_GE(before.cy, 100);
    ASSERT_GT(dc->StartDoc("Report"), 0);
    EXPECT_EQ(dc->GetTextExtentPoint32("Customer"), before);
    RECT calc{0, 0, 0, 0};
    dc->DrawText("Customer", calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Width(), before.cx);
}

TEST(RecordingPrinterTest, CallsOutOfOrderFailWithoutTouchingTheDocument) {
    const CRecordingPrinter printer;
    const std::unique_ptr<CPrinterDC> dc = printer.CreateDC();
    EXPECT_EQ(dc->StartPage(), SP_ERROR);
    EXPECT_EQ(dc->EndPage(), SP_ERROR);
    EXPECT_EQ(dc->EndDoc(), SP_ERROR);
    EXPECT_EQ(dc->AbortDoc(), SP_ERROR);
    const int job = dc->StartDoc("One");
    ASSERT_GT(job, 0);
    EXPECT_EQ(dc->StartDoc("Two"), SP_ERROR);
    ASSERT_GT(dc->StartPage(), 0);
    EXPECT_EQ(dc->StartPage(), SP_ERROR);
    // EndDoc closes the open page itself.
    EXPECT_GT(dc->EndDoc(), 0);
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_EQ(printer.Documents()[0].pages.size(), 1U);
    // A second job on the same context gets a new number.
    const int next = dc->StartDoc("Two");
    EXPECT_GT(next, job);
    EXPECT_GT(dc->EndDoc(), 0);
    EXPECT_EQ(printer.Documents().size(), 2U);
}

TEST(RecordingPrinterTest, FailsTheChosenCalls) {
    RecordingPrinterSettings refuses;
    refuses.failStartDoc = true;
    const CRecordingPrinter refusing(refuses);
    EXPECT_EQ(refusing.CreateDC()->StartDoc("Report"), SP_ERROR);
    EXPECT_THAT(refusing.Calls(), ElementsAre(Failed(PrintCall::StartDoc)));
    EXPECT_TRUE(refusing.Documents().empty());

    RecordingPrinterSettings secondPage;
    secondPage.failStartPage = 2;
    const CRecordingPrinter pageFails(secondPage);
    {
        const std::unique_ptr<CPrinterDC> dc = pageFails.CreateDC();
        ASSERT_GT(dc->StartDoc("Report"), 0);
        ASSERT_GT(dc->StartPage(), 0);
        ASSERT_GT(dc->EndPage(), 0);
        EXPECT_EQ(dc->StartPage(), SP_ERROR);
        dc->FillSolidRect({0, 0, 5, 5}, 0);
        EXPECT_GT(dc->AbortDoc(), 0);
    }
    EXPECT_THAT(pageFails.Calls(), ElementsAre(Ok(PrintCall::StartDoc), Ok(PrintCall::StartPage),
                                               Ok(PrintCall::EndPage), Failed(PrintCall::StartPage),
                                               Ok(PrintCall::AbortDoc)));
    ASSERT_EQ(pageFails.Documents().size(), 1U);
    EXPECT_EQ(pageFails.Documents()[0].state, PrintedDocument::State::Aborted);
    EXPECT_EQ(pageFails.Documents()[0].pages.size(), 1U);

    RecordingPrinterSettings firstEnd;
    firstEnd.failEndPage = 1;
    const CRecordingPrinter endFails(firstEnd);
    const std::unique_ptr<CPrinterDC> dc = endFails.CreateDC();
    ASSERT_GT(dc->StartDoc("Report"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    EXPECT_EQ(dc->EndPage(), SP_ERROR);
    EXPECT_FALSE(dc->PageOpen());
    EXPECT_GT(dc->AbortDoc(), 0);
}

TEST(RecordingPrinterTest, EndDocWhoseLastPageFailsAbortsAndSaysSo) {
    RecordingPrinterSettings settings;
    settings.failEndPage = 1;
    const CRecordingPrinter printer(settings);
    const std::unique_ptr<CPrinterDC> dc = printer.CreateDC();
    ASSERT_GT(dc->StartDoc("Report"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    EXPECT_EQ(dc->EndDoc(), SP_ERROR);
    EXPECT_FALSE(dc->DocumentOpen());
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_EQ(printer.Documents()[0].state, PrintedDocument::State::Aborted);
    EXPECT_EQ(printer.Calls().back(), Ok(PrintCall::AbortDoc));
}

TEST(RecordingPrinterTest, ADocumentLeftOpenIsAbortedWhenTheContextGoes) {
    const CRecordingPrinter printer;
    {
        const std::unique_ptr<CPrinterDC> dc = printer.CreateDC();
        ASSERT_GT(dc->StartDoc("Report"), 0);
        ASSERT_GT(dc->StartPage(), 0);
    }
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_EQ(printer.Documents()[0].state, PrintedDocument::State::Aborted);
    EXPECT_EQ(printer.Calls().back(), Ok(PrintCall::AbortDoc));
}

}  // namespace
