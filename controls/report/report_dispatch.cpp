// The report's names and identifiers and its dispatch interface, _DQORReport.
#include <string>

#include "controls/report/report_ctrl.h"

namespace {

constexpr const char* kProgId = "QORREPORT.QORReportCtrl.1";

using Table = CDispatchTable<CQORReportCtrl>;

DispParam Text(const char* name) {
    return DispParam::In(name, VT_BSTR);
}

std::vector<Table::Entry> ReportMembers() {
    return {
        Table::Method("LoadReport", 1, {Text("rptFileName")}, VT_I4,
                      [](CQORReportCtrl& report, CDispArgs& args, CComVariant& result) {
                          result = report.LoadReport(args[0].Text());
                          return S_OK;
                      }),
        Table::Method("BindReportToDatabase", 2, {DispParam::In("adoConn", VT_DISPATCH)}, VT_I4,
                      [](CQORReportCtrl& report, CDispArgs& args, CComVariant& result) {
                          result = report.BindReportToDatabase(args[0].pdispVal);
                          return S_OK;
                      }),
        Table::Method("BeginPrint", 3, {}, VT_I4,
                      [](CQORReportCtrl& report, CDispArgs&, CComVariant& result) {
                          result = report.BeginPrint();
                          return S_OK;
                      }),
        Table::Method("EndPrint", 4, {}, VT_I4,
                      [](CQORReportCtrl& report, CDispArgs&, CComVariant& result) {
                          result = report.EndPrint();
                          return S_OK;
                      }),
        Table::Method("Print", 5, {}, VT_EMPTY,
                      [](CQORReportCtrl& report, CDispArgs&, CComVariant&) {
                          report.Print();
                          return S_OK;
                      }),
        Table::Method("SetItemValue", 6, {Text("itemName"), Text("itemText")}, VT_EMPTY,
                      [](CQORReportCtrl& report, CDispArgs& args, CComVariant&) {
                          report.SetItemValue(args[0].Text(), args[1].Text());
                          return S_OK;
                      }),
    };
}

}  // namespace

const ControlClassInfo& CQORReportCtrl::ClassInfo() {
    static const ControlClassInfo info{"QORReport",
                                       MakeGuid("{8B3E5A21-6C47-4D98-B1F2-47A9E0C35D61}"),
                                       kProgId,
                                       MakeGuid("{D5F08C93-2E71-4B4A-9C36-E81B7F2A4C05}"),
                                       "QORREPORT.QORReportPropPage.1",
                                       MakeGuid("{1A7C4E85-93B2-4F06-8D5E-6B20C9F31A78}"),
                                       MakeGuid("{F2946B0D-58A3-47C1-AE7B-3D915C04E862}"),
                                       MakeGuid("{6E1D8F47-B20C-4A95-83F6-C4075A9B2D13}")};
    return info;
}

const CDispatchTable<CQORReportCtrl>& CQORReportCtrl::DispatchTable() {
    static const Table table = MakeControlDispatchTable<CQORReportCtrl>(kProgId, ReportMembers());
    return table;
}
