// The QORReport module: the report's property page and the module's exports.
#include "controls/common/control_module.h"
#include "controls/report/report_ctrl.h"

class CQORReportPropPage : public COlePropertyPage {
  public:
    CQORReportPropPage() : COlePropertyPage(CQORReportCtrl::ClassInfo()) {}
};

QOR_CONTROL_MODULE(CQORReportCtrl, CQORReportPropPage)
