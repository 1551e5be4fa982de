// The QOROrder module: the order control's property page and the module's exports.
#include "controls/common/control_module.h"
#include "controls/order/order_ctrl.h"

class CQOROrderPropPage : public COlePropertyPage {
  public:
    CQOROrderPropPage() : COlePropertyPage(CQOROrderCtrl::ClassInfo()) {}
};

QOR_CONTROL_MODULE(CQOROrderCtrl, CQOROrderPropPage)
