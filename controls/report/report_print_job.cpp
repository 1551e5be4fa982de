// The report's print job and its pages: opening the job through the print dialog, printing one
// band with the page header and footer it needs, page breaks, and ending the job.
#include <cassert>

#include "controls/report/report_ctrl.h"
#include "controls/report/report_item_drawing.h"
#include "platform/dialogs/dialog_service.h"

namespace {

constexpr UINT kReportPrintDialogFlags =
    PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;
constexpr const char* kDocumentName = "ReportDoc";
constexpr const char* kCannotStartJob = "Error starting a new print job";
constexpr const char* kPrinterErrorCaption = "Printer Error";

bool IsDrawnOnPage(const ReportItem& item) {
    return item.kind == kReportText || item.kind == kReportColumn || item.kind == kReportLine ||
           item.kind == kReportRectangle;
}

}  // namespace

bool CQORReportCtrl::StartPrintJob() {
    if (m_jobOpen) {
        return true;
    }
    std::unique_ptr<CPrintJob> job = CPrintJob::Choose(kReportPrintDialogFlags, this);
    if (!job) {
        return false;
    }
    if (!job->StartDoc(kDocumentName)) {
        AfxMessageBox(nullptr, kCannotStartJob, kPrinterErrorCaption, MB_OK);
        return false;
    }
    m_printJob = std::move(job);
    m_jobOpen = true;
    m_needHeaderFooter = true;
    m_nextDetailTop = -1;
    return true;
}

std::int32_t CQORReportCtrl::BeginPrint() {
    if (!m_loaded) {
        return 0;
    }
    if (StartPrintJob()) {
        return 1;
    }
    DiscardItems();
    return 0;
}

std::int32_t CQORReportCtrl::EndPrint() {
    if (m_jobOpen) {
        if (m_pageOpen) {
            m_lastPrintOk = m_printJob->EndPage();
            m_pageOpen = false;
        } else {
            m_lastPrintOk = true;
        }
        if (m_lastPrintOk) {
            m_printJob->EndDoc();
        } else {
            m_printJob->AbortDoc();
        }
        m_printJob.reset();
        m_jobOpen = false;
    }
    CloseRecordset();
    return 1;
}

bool CQORReportCtrl::PrintRecord() {
    if (!m_loaded) {
        return true;
    }
    if (!m_jobOpen && BeginPrint() == 0) {
        return false;
    }
    const ReportBands bands = Bands();
    SetPageMetrics(bands);
    if (m_nextDetailTop < 0) {
        m_nextDetailTop = m_detailTop;
    }
    StartPageIfClosed(bands);
    if (m_needHeaderFooter) {
        DrawPageItems(kPageHeader, bands);
        DrawPageItems(kPageFooter, bands);
        m_needHeaderFooter = false;
    }
    DrawDetailItems(bands);
    AdvanceBand(bands);
    return true;
}

ReportBands CQORReportCtrl::Bands() const {
    assert(m_jobOpen && m_printJob);
    const CDC& dc = m_printJob->DC();
    return LayOutReportBands(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES),
                             m_printJob->Offset(), LayoutHeader());
}

ReportHeader CQORReportCtrl::LayoutHeader() const {
    return ReportHeader{m_headerEnd, m_footerStart, m_footerEnd, {}};
}

void CQORReportCtrl::SetPageMetrics(const ReportBands& bands) {
    m_pageRect = bands.pageRect;
    m_printWidth = bands.printWidth;
    m_printHeight = bands.printHeight;
    m_designHeight = kReportDesignHeight;
    m_headerHeight = bands.headerHeight;
    m_footerHeight = bands.footerHeight;
    m_detailHeight = bands.detailHeight;
    m_detailTop = bands.detailTop;
    m_detailBottom = bands.detailBottom;
}

void CQORReportCtrl::StartPageIfClosed(const ReportBands& bands) {
    if (m_pageOpen) {
        return;
    }
    m_printJob->StartPage();
    m_pageOpen = true;
    DrawColumnSeparators(bands);
}

// Separators run down the whole detail area; with at least one, the area gets a frame too.
void CQORReportCtrl::DrawColumnSeparators(const ReportBands& bands) {
    CDC& dc = m_printJob->DC();
    bool drawn = false;
    for (const ReportItem& item : m_detailItems) {
        if (item.kind == kReportLine && item.lineOrientation == kVerticalSeparator) {
            const int x = ReportColumnX(item.left, bands);
            dc.MoveTo(x, m_detailTop);
            dc.LineTo(x, m_detailBottom);
            drawn = true;
        }
    }
    if (!drawn) {
        return;
    }
    for (const int x : {m_pageRect.left, m_pageRect.right}) {
        dc.MoveTo(x, m_detailTop);
        dc.LineTo(x, m_detailBottom);
    }
    for (const int y : {m_detailTop, m_detailBottom}) {
        dc.MoveTo(m_pageRect.left, y);
        dc.LineTo(m_pageRect.right, y);
    }
}

void CQORReportCtrl::DrawPageItems(std::int32_t section, const ReportBands& bands) {
    const ReportHeader header = LayoutHeader();
    for (const ReportItem& item : m_pageItems) {
        if (item.section == section && IsDrawnOnPage(item)) {
            DrawReportText(m_printJob->DC(), item,
                           ReportItemRect(item, bands, header, m_nextDetailTop));
        }
    }
}

void CQORReportCtrl::DrawDetailItems(const ReportBands& bands) {
    const ReportHeader header = LayoutHeader();
    for (const ReportItem& item : m_detailItems) {
        if (item.kind == kReportText || item.kind == kReportColumn) {
            DrawReportText(m_printJob->DC(), item,
                           ReportItemRect(item, bands, header, m_nextDetailTop));
        }
    }
}

// A page ends when the next band would not fit; a failed page end aborts the document, and the
// next band starts a new job.
void CQORReportCtrl::AdvanceBand(const ReportBands& bands) {
    m_nextDetailTop = NextBandTop(m_nextDetailTop, bands);
    if (!ReportPageFull(m_nextDetailTop, bands)) {
        return;
    }
    m_lastPrintOk = m_printJob->DC().EndPage() >= 0;
    if (!m_lastPrintOk) {
        m_printJob->AbortDoc();
        m_printJob.reset();
        m_jobOpen = false;
    }
    m_pageOpen = false;
    m_nextDetailTop = m_detailTop;
    m_needHeaderFooter = true;
}
