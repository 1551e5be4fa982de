// Loading a report layout into the control, filling items by name, and the control's picture.
#include <algorithm>
#include <limits>

#include "controls/common/field_text.h"
#include "controls/report/report_ctrl.h"
#include "platform/com/ansi_string.h"

namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

CQORReportCtrl::CQORReportCtrl() : COleControl(ClassInfo(), DispatchTable()) {}

CQORReportCtrl::~CQORReportCtrl() {
    EndPrint();
}

std::int32_t CQORReportCtrl::LoadReport(std::string_view rptFileName) {
    CloseRecordset();
    const std::string path(TrimWhiteSpace(rptFileName));
    if (path.empty()) {
        return 0;
    }
    if (m_jobOpen) {
        EndPrint();
    }
    DiscardItems();
    m_loaded = false;
    std::optional<ReportLayout> layout = ReadReportLayoutFile(path);
    if (!layout) {
        return 0;
    }
    m_headerEnd = layout->header.headerEnd;
    m_footerStart = layout->header.footerStart;
    m_footerEnd = layout->header.footerEnd;
    m_sqlText = std::move(layout->header.sqlText);
    for (ReportItem& item : layout->items) {
        (item.section == kDetail ? m_detailItems : m_pageItems).push_back(std::move(item));
    }
    m_loaded = true;
    m_detailHeight = ClampToInt32(std::int64_t{m_footerStart} - m_headerEnd - 20);
    m_needHeaderFooter = true;
    m_nextDetailTop = -1;
    return 1;
}

void CQORReportCtrl::DiscardItems() {
    m_detailItems.clear();
    m_pageItems.clear();
}

void CQORReportCtrl::SetItemValue(std::string_view itemName, std::string_view itemText) {
    if (!m_loaded) {
        return;
    }
    for (std::vector<ReportItem>* list : {&m_detailItems, &m_pageItems}) {
        for (ReportItem& item : *list) {
            if (EqualsNoCase(item.name, itemName)) {
                item.text = std::string(itemText);
            }
        }
    }
}

void CQORReportCtrl::OnDraw(CDC& dc, const RECT& bounds, const RECT& /*invalid*/) {
    dc.FillSolidRect(bounds, kWhite);
    dc.Ellipse(bounds);
}
