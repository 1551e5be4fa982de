// The QORForm module: the control's names and identifiers, its dispatch interface, its
// property page and the module's exports.
#include <string>

#include "controls/common/control_module.h"
#include "controls/form/form_ctrl.h"

namespace {

constexpr const char* kProgId = "QORFORM.QORFormCtrl.1";

HRESULT OpenFormMember(CQORFormCtrl& form, CDispArgs& args, CComVariant& result) {
    result = form.OpenForm(args[0].pdispVal, args[1].Text(), std::string(args[2].Text()));
    return S_OK;
}

HRESULT GetItemMember(CQORFormCtrl& form, CDispArgs& args, CComVariant& result) {
    std::string text;
    const bool found = form.GetItem(args[0].Text(), text);
    if (found) {
        args[1] = CComVariant(text);
    }
    result = found;
    return S_OK;
}

HRESULT SetItemMember(CQORFormCtrl& form, CDispArgs& args, CComVariant& result) {
    result = form.SetItem(args[0].Text(), args[1].Text());
    return S_OK;
}

HRESULT SetFormColorsMember(CQORFormCtrl& form, CDispArgs& args, CComVariant& /*result*/) {
    form.SetFormColors(args[0].ulVal, args[1].ulVal, args[2].ulVal);
    return S_OK;
}

}  // namespace

const ControlClassInfo& CQORFormCtrl::ClassInfo() {
    static const ControlClassInfo info{"QORForm",
                                       MakeGuid("{C9776D46-00B2-4382-B8B3-677E40134E7D}"),
                                       kProgId,
                                       MakeGuid("{4CF77F8B-F8BD-4102-8DA5-A1450A9AF9FE}"),
                                       "QORFORM.QORFormPropPage.1",
                                       MakeGuid("{7AD37049-62A6-4473-B4E6-4B0128FB3830}"),
                                       MakeGuid("{A737E8D7-7208-421F-97DC-1C5AD9082873}"),
                                       MakeGuid("{90400B10-B586-4A36-AA2E-8E21F47162CA}")};
    return info;
}

const CDispatchTable<CQORFormCtrl>& CQORFormCtrl::DispatchTable() {
    using Table = CDispatchTable<CQORFormCtrl>;
    // Colours come as OLE_COLOR and are used as COLORREF values as they are.
    static const Table table = MakeControlDispatchTable<CQORFormCtrl>(
        kProgId,
        {
            Table::Method("OpenForm", 1,
                          {DispParam::In("adoConn", VT_DISPATCH), DispParam::In("ls_sql", VT_BSTR),
                           DispParam::In("sFormFileName", VT_BSTR)},
                          VT_BOOL, &OpenFormMember),
            Table::Method("GetItem", 2,
                          {DispParam::In("ItemName", VT_BSTR), DispParam::Out("itemText", VT_BSTR)},
                          VT_BOOL, &GetItemMember),
            Table::Method("SetItem", 3,
                          {DispParam::In("ItemName", VT_BSTR), DispParam::In("itemText", VT_BSTR)},
                          VT_BOOL, &SetItemMember),
            Table::Method("SetFormColors", 4,
                          {DispParam::In("FormBackgroundColor", VT_UI4),
                           DispParam::In("HighlightedFieldBkColor", VT_UI4),
                           DispParam::In("HighlightedFieldTextColor", VT_UI4)},
                          VT_EMPTY, &SetFormColorsMember),
        });
    return table;
}

class CQORFormPropPage : public COlePropertyPage {
  public:
    CQORFormPropPage() : COlePropertyPage(CQORFormCtrl::ClassInfo()) {}
};

QOR_CONTROL_MODULE(CQORFormCtrl, CQORFormPropPage)
