// CQORReportCtrl: the banded report printer. It loads a report layout, binds it to the host's
// connection through the layout's own query, and prints a page header, one detail band per
// record and a page footer on a printer the user picks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "controls/common/data_connection.h"
#include "controls/common/data_recordset.h"
#include "controls/common/ole_control.h"
#include "controls/common/print_job.h"
#include "controls/report/report_bands.h"
#include "controls/report/report_layout_file.h"

class CQORReportCtrl : public COleControl {
  public:
    CQORReportCtrl();
    CQORReportCtrl(const CQORReportCtrl&) = delete;
    CQORReportCtrl& operator=(const CQORReportCtrl&) = delete;
    ~CQORReportCtrl() override;

    static const ControlClassInfo& ClassInfo();
    static const CDispatchTable<CQORReportCtrl>& DispatchTable();

    // Automation. The results are 1 for success and 0 otherwise.
    std::int32_t LoadReport(std::string_view rptFileName);
    std::int32_t BindReportToDatabase(IDispatch* adoConn);
    std::int32_t BeginPrint();
    std::int32_t EndPrint();
    void Print();
    void SetItemValue(std::string_view itemName, std::string_view itemText);

    // On the screen the control is a white rectangle with an inscribed ellipse.
    void OnDraw(CDC& dc, const RECT& bounds, const RECT& invalid) override;

  protected:
    // Loading.
    void DiscardItems();
    void CloseRecordset();

    // The print job: true when a document is open on the printer the user chose.
    bool StartPrintJob();
    // One band with the items' current texts; false when no print job could be opened, so
    // that a Print stops at the first cancelled dialog.
    bool PrintRecord();
    void StartPageIfClosed(const ReportBands& bands);
    void DrawColumnSeparators(const ReportBands& bands);
    void DrawPageItems(std::int32_t section, const ReportBands& bands);
    void DrawDetailItems(const ReportBands& bands);
    void AdvanceBand(const ReportBands& bands);
    // The column items take the texts of the same-named fields of the current record; false when
    // a field could not be read.
    bool FillColumns();
    // Drops the open document after a failed read and shows the recordset's error.
    void AbandonJob();
    void SetPageMetrics(const ReportBands& bands);
    // The page metrics of the printer's page, recomputed for every band.
    ReportBands Bands() const;
    ReportHeader LayoutHeader() const;

    // What loading sets.
    bool m_loaded = false;
    std::int32_t m_headerEnd = 0;
    std::int32_t m_footerStart = 0;
    std::int32_t m_footerEnd = 0;
    std::string m_sqlText;
    std::vector<ReportItem> m_detailItems;
    std::vector<ReportItem> m_pageItems;
    bool m_needHeaderFooter = true;
    std::int32_t m_nextDetailTop = -1;
    std::int32_t m_detailHeight = 0;

    // Binding.
    CDataConnection m_connection;
    // Declared after the connection holder it is opened on, so it goes first.
    std::unique_ptr<CDataRecordset> m_recordset;
    bool m_bound = false;
    bool m_recordsetOpen = false;

    // Printing: the printer context lives as long as the job.
    std::unique_ptr<CPrintJob> m_printJob;
    bool m_jobOpen = false;
    bool m_pageOpen = false;
    bool m_lastPrintOk = true;
    double m_printWidth = 0;
    double m_printHeight = 0;
    double m_designHeight = kReportDesignHeight;
    RECT m_pageRect{};
    std::int32_t m_headerHeight = 0;
    std::int32_t m_footerHeight = 0;
    std::int32_t m_detailTop = 0;
    std::int32_t m_detailBottom = 0;
};
