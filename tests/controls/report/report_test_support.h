// The report control as a host drives it: the module registered into a registry of the test's
// own, the control created by ProgID in a container window and invoked by name; layout files
// written from items; the control's state read through the class the module is built from.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "controls/report/report_ctrl.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/ui/ole_object.h"
#include "tests/controls/common/control_state.h"
#include "tests/controls/common/data_test_support.h"
#include "tests/platform/com/temp_registry.h"
#include "tests/temp_folder.h"

inline constexpr const char* kReportProgId = "QORREPORT.QORReportCtrl.1";

// The report's state, seen by the tests of loading and band layout.
class ReportState : public CQORReportCtrl {
  public:
    using CQORReportCtrl::m_bound;
    using CQORReportCtrl::m_detailHeight;
    using CQORReportCtrl::m_detailItems;
    using CQORReportCtrl::m_footerStart;
    using CQORReportCtrl::m_headerEnd;
    using CQORReportCtrl::m_jobOpen;
    using CQORReportCtrl::m_loaded;
    using CQORReportCtrl::m_nextDetailTop;
    using CQORReportCtrl::m_pageItems;
    using CQORReportCtrl::m_recordsetOpen;
    using CQORReportCtrl::m_sqlText;
};

// A layout file's bytes: the header and the items' records, in order.
inline std::string LayoutBytes(const ReportHeader& header, const std::vector<ReportItem>& items) {
    const ReportHeaderRecord head = WriteReportHeader(header);
    std::string bytes(head.begin(), head.end());
    for (const ReportItem& item : items) {
        const ReportItemRecord record = WriteReportItemRecord(item);
        bytes.append(record.begin(), record.end());
    }
    return bytes;
}

inline ReportItem MakeItem(std::int32_t section, std::int32_t kind, std::string name, RECT rect,
                           std::string text = {}) {
    ReportItem item;
    item.section = section;
    item.kind = kind;
    item.name = std::move(name);
    item.text = std::move(text);
    item.left = rect.left;
    item.top = rect.top;
    item.right = rect.right;
    item.bottom = rect.bottom;
    item.fontName = "Arial";
    item.fontSize = 10;
    return item;
}

inline bool RegisterReportModule() {
    return RegisterModule(QOR_REPORT_MODULE);
}

class ReportTest : public ::testing::Test, public CControlState<CQORReportCtrl> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterReportModule());
        ASSERT_NO_FATAL_FAILURE(Show(kReportProgId, 200, 150));
    }
    void TearDown() override { Close(); }

    int Load(const std::string& path) { return Long("LoadReport", {CComVariant(path)}); }
    // Writes the layout into the test's folder and loads it.
    int Load(const ReportHeader& header, const std::vector<ReportItem>& items,
             const std::string& name = "layout.rpt") {
        return Load(folder_.Write(name, LayoutBytes(header, items)));
    }
    int Bind(IDispatch* connection) {
        return Long("BindReportToDatabase", {CComVariant(connection)});
    }
    void SetItemValue(const std::string& name, const std::string& text) {
        Call("SetItemValue", {CComVariant(name), CComVariant(text)});
    }

    TempFolder folder_;
    CTempRegistry registry_;
};
