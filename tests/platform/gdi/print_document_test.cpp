// Kept documents: what a preview printer hands on is what the control drew, a dropped or
// aborted document prints nothing, and the progress watcher's stop aborts at its page.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "platform/gdi/print_document.h"
#include "platform/gdi/recording_printer.h"

namespace {

using ::testing::ElementsAre;

constexpr COLORREF kRed = RGB(200, 30, 40);

// A small document as a control draws it: a font chosen before the document, text, a fill
// and a line on each page, and a state change between pages.
void DrawPages(CPrinterDC& dc, int pages) {
    LOGFONT font;
    font.lfHeight = -MulDiv(12, dc.GetDeviceCaps(LOGPIXELSY), 72);
    font.lfFaceName = "FixedSys";
    dc.SelectFont(CFont(font));
    ASSERT_GT(dc.StartDoc("Orders"), 0);
    for (int page = 1; page <= pages; ++page) {
        ASSERT_GT(dc.StartPage(), 0);
        RECT measured{0, 0, 1000, 0};
        dc.DrawText("Page " + std::to_string(page), measured, DT_CALCRECT);
        RECT text{100, 100, 2000, 300};
        dc.DrawText("Page " + std::to_string(page), text, DT_LEFT);
        dc.FillSolidRect({100, 400, 900, 500}, kRed);
        dc.MoveTo(100, 600);
        dc.LineTo(1500, 600);
        ASSERT_GT(dc.EndPage(), 0);
        dc.SetTextColor(RGB(0, 0, page));
    }
}

// What a page drew, one line a call, measurements left out.
std::vector<std::string> Drawn(const PrintedPage& page) {
    std::vector<std::string> lines;
    for (const DcCall& call : page.calls) {
        if (call.op == DcOp::DrawText && (call.flags & DT_CALCRECT) != 0) {
            continue;
        }
        std::ostringstream line;
        line << static_cast<int>(call.op) << ' ' << call.rect.left << ',' << call.rect.top << ','
             << call.rect.right << ',' << call.rect.bottom << ' ' << call.point.x << ','
             << call.point.y << ' ' << call.text << ' ' << call.color << ' ' << call.textColor
             << ' ' << call.font.GetLogFont().lfFaceName << call.font.GetLogFont().lfHeight;
        lines.push_back(line.str());
    }
    return lines;
}

struct Preview {
    CRecordingPrinter printer;
    std::vector<int> shownPages;
    int endDoc = 0;
};

Preview PrintThroughPreview(bool print, int pages, RecordingPrinterSettings settings = {}) {
    Preview preview{CRecordingPrinter(settings), {}, 0};
    const std::unique_ptr<CPrinterDC> dc =
        CreatePreviewPrinterDC(preview.printer.CreateDC(), [&](const CPrintDocument& document) {
            preview.shownPages.push_back(document.PageCount());
            return print;
        });
    DrawPages(*dc, pages);
    preview.endDoc = dc->EndDoc();
    return preview;
}

TEST(PrintPreviewPrinterTest, PrintAfterThePreviewPrintsWhatPrintingDirectlyPrints) {
    const CRecordingPrinter direct;
    {
        const std::unique_ptr<CPrinterDC> dc = direct.CreateDC();
        DrawPages(*dc, 3);
        ASSERT_GT(dc->EndDoc(), 0);
    }
    const Preview preview = PrintThroughPreview(true, 3);
    EXPECT_GT(preview.endDoc, 0);
    EXPECT_THAT(preview.shownPages, ElementsAre(3));
    ASSERT_EQ(preview.printer.Documents().size(), 1U);
    const PrintedDocument& printed = preview.printer.Documents()[0];
    EXPECT_EQ(printed.name, "Orders");
    EXPECT_EQ(printed.state, PrintedDocument::State::Ended);
    ASSERT_EQ(printed.pages.size(), 3U);
    for (std::size_t page = 0; page < 3; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(Drawn(printed.pages[page]), Drawn(direct.Documents()[0].pages[page]));
    }
}

struct DroppedCase {
    const char* name;
    bool print;
    RecordingPrinterSettings settings;
    std::vector<PrinterCallResult> printerCalls;
};

class PrintPreviewDroppedTest : public ::testing::TestWithParam<DroppedCase> {};

// Nothing printed is never told as printed: EndDoc fails, and the printer saw no finished
// document.
TEST_P(PrintPreviewDroppedTest, EndDocFailsAndThePrinterKeepsNothing) {
    const DroppedCase& c = GetParam();
    const Preview preview = PrintThroughPreview(c.print, 2, c.settings);
    EXPECT_EQ(preview.endDoc, SP_ERROR);
    EXPECT_EQ(preview.printer.Calls(), c.printerCalls);
    for (const PrintedDocument& document : preview.printer.Documents()) {
        EXPECT_EQ(document.state, PrintedDocument::State::Aborted);
    }
}

RecordingPrinterSettings Failing(bool startDoc, int startPage, int endPage) {
    RecordingPrinterSettings settings;
    settings.failStartDoc = startDoc;
    settings.failStartPage = startPage;
    settings.failEndPage = endPage;
    return settings;
}

constexpr PrinterCallResult kOk(PrintCall call) {
    return {call, true};
}
constexpr PrinterCallResult kFailed(PrintCall call) {
    return {call, false};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintPreviewDroppedTest,
    ::testing::Values(
        DroppedCase{"ClosedPreview", false, {}, {}},
        DroppedCase{
            "PrinterWillNotStart", true, Failing(true, 0, 0), {kFailed(PrintCall::StartDoc)}},
        DroppedCase{"SecondPageWillNotStart",
                    true,
                    Failing(false, 2, 0),
                    {kOk(PrintCall::StartDoc), kOk(PrintCall::StartPage), kOk(PrintCall::EndPage),
                     kFailed(PrintCall::StartPage), kOk(PrintCall::AbortDoc)}},
        DroppedCase{"FirstPageWillNotEnd",
                    true,
                    Failing(false, 0, 1),
                    {kOk(PrintCall::StartDoc), kOk(PrintCall::StartPage),
                     kFailed(PrintCall::EndPage), kOk(PrintCall::AbortDoc)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrintPreviewPrinterTest, AnAbortedDocumentIsNeitherShownNorPrinted) {
    const CRecordingPrinter printer;
    int shown = 0;
    const std::unique_ptr<CPrinterDC> dc =
        CreatePreviewPrinterDC(printer.CreateDC(), [&](const CPrintDocument&) {
            ++shown;
            return true;
        });
    DrawPages(*dc, 2);
    EXPECT_GT(dc->AbortDoc(), 0);
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(printer.Calls().empty());
    // The context takes the next document as a new one.
    DrawPages(*dc, 1);
    EXPECT_GT(dc->EndDoc(), 0);
    EXPECT_EQ(shown, 1);
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_EQ(printer.Documents()[0].pages.size(), 1U);
}

// A block transfer's source is usually a memory context that is gone before the preview shows.
TEST(PrintPreviewPrinterTest, ABlockTransferKeepsItsSourcePixels) {
    CPrintDocument kept;
    const std::unique_ptr<CPrinterDC> dc =
        CreatePreviewPrinterDC(CRecordingPrinter().CreateDC(), [&](const CPrintDocument& doc) {
            kept = doc;
            return false;
        });
    ASSERT_GT(dc->StartDoc("Picture"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    {
        CBitmap source(20, 10, kRed);
        const std::unique_ptr<CDC> memory = CreateBitmapDC(source);
        memory->FillSolidRect({10, 0, 20, 10}, RGB(0, 0, 255));
        dc->BitBlt(5, 5, 20, 10, *memory, 0, 0, SRCCOPY);
    }
    dc->EndDoc();
    ASSERT_EQ(kept.PageCount(), 1);

    CBitmap shown(40, 30);
    std::unique_ptr<CDC> screen = CreateBitmapDC(shown);
    PlayCalls(kept, kept.pages[0].begin, kept.pages[0].end, *screen);
    screen.reset();
    EXPECT_EQ(shown.GetPixel(6, 6), kRed);
    EXPECT_EQ(shown.GetPixel(20, 10), RGB(0, 0, 255));
    EXPECT_EQ(shown.GetPixel(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(shown.GetPixel(26, 10), RGB(255, 255, 255));
}

// Stops at a chosen page and notes what it was told.
class StoppingProgress : public CPrintProgress {
  public:
    StoppingProgress(int stopAt, std::vector<std::string>& log) : m_stopAt(stopAt), m_log(log) {}
    void DocumentStarted(const std::string& name) override { m_log.push_back("start " + name); }
    bool PageEnded(int pages) override {
        m_log.push_back("page " + std::to_string(pages));
        return pages != m_stopAt;
    }
    void DocumentClosed() override { m_log.push_back("closed"); }

  private:
    int m_stopAt;
    std::vector<std::string>& m_log;
};

TEST(PrintProgressTest, AStopAbortsTheDocumentAtThatPageAndTheNextDocumentPrints) {
    const CRecordingPrinter printer;
    std::vector<std::string> log;
    const std::unique_ptr<CPrinterDC> dc = printer.CreateDC();
    dc->SetProgress(std::make_unique<StoppingProgress>(2, log));
    ASSERT_GT(dc->StartDoc("Orders"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    EXPECT_GT(dc->EndPage(), 0);
    ASSERT_GT(dc->StartPage(), 0);
    EXPECT_EQ(dc->EndPage(), SP_ERROR);
    EXPECT_FALSE(dc->DocumentOpen());
    EXPECT_EQ(dc->StartPage(), SP_ERROR);
    EXPECT_EQ(dc->EndDoc(), SP_ERROR);
    EXPECT_EQ(dc->AbortDoc(), SP_ERROR);
    ASSERT_EQ(printer.Documents().size(), 1U);
    EXPECT_EQ(printer.Documents()[0].state, PrintedDocument::State::Aborted);

    ASSERT_GT(dc->StartDoc("Again"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    EXPECT_GT(dc->EndDoc(), 0);
    EXPECT_THAT(log, ElementsAre("start Orders", "page 1", "page 2", "closed", "start Again",
                                 "page 1", "closed"));
}

TEST(PrintProgressTest, AStopAtTheLastPageFailsEndDocOnce) {
    const CRecordingPrinter printer;
    std::vector<std::string> log;
    const std::unique_ptr<CPrinterDC> dc = printer.CreateDC();
    dc->SetProgress(std::make_unique<StoppingProgress>(1, log));
    ASSERT_GT(dc->StartDoc("Orders"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    EXPECT_EQ(dc->EndDoc(), SP_ERROR);
    EXPECT_THAT(printer.Calls(), ElementsAre(kOk(PrintCall::StartDoc), kOk(PrintCall::StartPage),
                                             kOk(PrintCall::EndPage), kOk(PrintCall::AbortDoc)));
    EXPECT_THAT(log, ElementsAre("start Orders", "page 1", "closed"));
}

}  // namespace
