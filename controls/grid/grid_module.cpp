// The QORGrid module: the grid's property page and the module's exports.
#include "controls/common/control_module.h"
#include "controls/grid/grid_ctrl.h"

class CQORGridPropPage : public COlePropertyPage {
  public:
    CQORGridPropPage() : COlePropertyPage(CQORGridCtrl::ClassInfo()) {}
};

QOR_CONTROL_MODULE(CQORGridCtrl, CQORGridPropPage)
