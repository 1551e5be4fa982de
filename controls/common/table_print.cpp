// The plain table the grid and the query list print.
#include "controls/common/table_print.h"

#include <algorithm>

namespace {

constexpr int kFontPoints = 12;
constexpr const char* kFontFace = "FixedSys";
constexpr const char* kDocumentName = "Report";
constexpr UINT kCellTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr const char* kCannotStartDocument = "Printer wouldn't initalize";
constexpr const char* kCannotStartPage = "Could not start a new printer page";
// The gap between the header cells and the first line, in device units.
constexpr int kFirstLineGap = 50;

}  // namespace

std::unique_ptr<CTablePrint> CTablePrint::Start(UINT dialogFlags, CWnd* owner) {
    std::unique_ptr<CPrintJob> job = CPrintJob::Choose(dialogFlags, owner);
    if (!job) {
        return nullptr;
    }
    auto table = std::make_unique<CTablePrint>(std::move(job), owner);
    if (!table->m_job->StartDoc(kDocumentName)) {
        ShowPrintFailure(owner, kCannotStartDocument);
        return nullptr;
    }
    if (!table->m_job->StartPage()) {
        ShowPrintFailure(owner, kCannotStartPage);
        return nullptr;
    }
    CDC& dc = table->DC();
    dc.SetTextColor(0x00000000);
    dc.SetBkColor(0x00FFFFFF);
    dc.SetBkMode(TRANSPARENT);
    return table;
}

CTablePrint::CTablePrint(std::unique_ptr<CPrintJob> job, CWnd* owner)
    : m_job(std::move(job)), m_owner(owner), m_font(m_job->DC(), kFontPoints, kFontFace) {}

int CTablePrint::FirstLine(int headerHeight) const {
    return m_job->PrintableArea().top + headerHeight + kFirstLineGap;
}

int CTablePrint::StartLines(const std::function<int()>& printHeader) {
    m_pageFirstLine = printHeader();
    return m_pageFirstLine;
}

bool CTablePrint::PlaceLine(int& top, int height, const std::function<int()>& printHeader) {
    if (top + height <= m_job->PrintableArea().bottom) {
        return true;
    }
    if (top == m_pageFirstLine) {
        ShowPrintFailure(m_owner, kCannotStartPage);
        return false;
    }
    DrawPageTexts();
    if (!m_job->EndPage() || !m_job->StartPage()) {
        return false;
    }
    top = StartLines(printHeader);
    return PlaceLine(top, height, printHeader);
}

void CTablePrint::Finish(bool printed) {
    if (printed) {
        DrawPageTexts();
        m_job->EndDoc();
    } else {
        m_job->AbortDoc();
    }
}

void CTablePrint::TellFailure(const std::string& text) const {
    ShowPrintFailure(m_owner, text);
}

void CTablePrint::DrawCellText(std::string text, const RECT& cell) {
    if (!text.empty()) {
        m_pageTexts.push_back({std::move(text), cell});
    }
}

void CTablePrint::DrawPageTexts() {
    std::stable_sort(
        m_pageTexts.begin(), m_pageTexts.end(),
        [](const PlacedText& a, const PlacedText& b) { return a.rc.left < b.rc.left; });
    DC().DrawTexts(m_pageTexts, kCellTextFormat);
    m_pageTexts.clear();
}
