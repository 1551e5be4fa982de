// The QORQuery module: the query list's property page and the module's exports.
#include "controls/common/control_module.h"
#include "controls/query/query_ctrl.h"

class CQORQueryPropPage : public COlePropertyPage {
  public:
    CQORQueryPropPage() : COlePropertyPage(CQORQueryCtrl::ClassInfo()) {}
};

QOR_CONTROL_MODULE(CQORQueryCtrl, CQORQueryPropPage)
