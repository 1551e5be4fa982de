// The order control's names and identifiers and its dispatch interface, _DQOROrder.
#include <string>
#include <utility>

#include "controls/order/order_ctrl.h"

namespace {

constexpr const char* kProgId = "QORORDER.QOROrderCtrl.1";

using Table = CDispatchTable<CQOROrderCtrl>;
using Field = CQOROrderCtrl::Field;

DispParam Long(const char* name) {
    return DispParam::In(name, VT_I4);
}
DispParam Text(const char* name) {
    return DispParam::In(name, VT_BSTR);
}
DispParam Real(const char* name) {
    return DispParam::In(name, VT_R8);
}
// Colours come as 32-bit integers and are used as COLORREF values as they are.
DispParam Color(const char* name) {
    return DispParam::In(name, VT_I4);
}
DispParam OutText(const char* name) {
    return DispParam::Out(name, VT_BSTR);
}
DispParam OutReal(const char* name) {
    return DispParam::Out(name, VT_R8);
}

std::string Arg(const CDispArgs& args, std::size_t i) {
    return std::string(args[i].Text());
}

// The host's strings in parameter order, from the first.
std::vector<std::string> Texts(const CDispArgs& args, std::size_t count) {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < count; ++i) {
        texts.push_back(Arg(args, i));
    }
    return texts;
}

// Out-parameters get new strings in parameter order, from the first.
void PutTexts(CDispArgs& args, const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        args[i] = CComVariant(texts[i]);
    }
}

std::vector<DispParam> Params(std::initializer_list<const char*> names, bool out) {
    std::vector<DispParam> params;
    for (const char* name : names) {
        params.push_back(out ? OutText(name) : Text(name));
    }
    return params;
}

const std::initializer_list<const char*> kCompanyParams = {
    "sCompanyName",    "sCompanyAddress",   "sCompanyCity", "sCompanyState",
    "sCompanyZipcode", "sCompanyTelephone", "sCompanyFax"};
const std::initializer_list<const char*> kCustomerParams = {
    "sCustomerNo",    "sCustomerName",    "sCustomerAddress",  "sCustomerCity",
    "sCustomerState", "sCustomerZipcode", "sCustomerTelephone"};
const std::initializer_list<const char*> kShipToParams = {"sShipToName",    "sShipToAddress",
                                                          "sShipToCity",    "sShipToState",
                                                          "sShipToZipcode", "sShipToTelephone"};

Table::Entry Action(const char* name, DISPID id, void (CQOROrderCtrl::*action)()) {
    return Table::Method(name, id, {}, VT_EMPTY,
                         [action](CQOROrderCtrl& order, CDispArgs&, CComVariant&) {
                             (order.*action)();
                             return S_OK;
                         });
}

// A header field the host sets and reads as it is.
Table::Entry FieldSetter(const char* name, DISPID id, const char* param, Field field) {
    return Table::Method(name, id, {Text(param)}, VT_EMPTY,
                         [field](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                             order.SetField(field, args[0].Text());
                             return S_OK;
                         });
}
Table::Entry FieldGetter(const char* name, DISPID id, const char* param, Field field) {
    return Table::Method(name, id, {OutText(param)}, VT_EMPTY,
                         [field](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                             args[0] = CComVariant(order.GetField(field));
                             return S_OK;
                         });
}

Table::Entry RealGetter(const char* name, DISPID id, const char* param,
                        double (CQOROrderCtrl::*getter)() const) {
    return Table::Method(name, id, {OutReal(param)}, VT_EMPTY,
                         [getter](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                             args[0] = CComVariant((order.*getter)());
                             return S_OK;
                         });
}

// A count or index returned as the result only; the out-parameter is not written.
Table::Entry IndexGetter(const char* name, DISPID id, const char* param,
                         std::int32_t (CQOROrderCtrl::*getter)() const) {
    return Table::Method(name, id, {DispParam::Out(param, VT_I4, true)}, VT_I4,
                         [getter](CQOROrderCtrl& order, CDispArgs&, CComVariant& result) {
                             result = static_cast<int>((order.*getter)());
                             return S_OK;
                         });
}

// A line's text in the out-parameter and, as a separate string, the result; for a row that is
// not a line the out-parameter is left alone and the result is empty.
Table::Entry ItemTextGetter(const char* name, DISPID id, const char* param,
                            std::optional<std::string> (CQOROrderCtrl::*getter)(std::int32_t)
                                const) {
    return Table::Method(name, id, {Long("row"), OutText(param)}, VT_BSTR,
                         [getter](CQOROrderCtrl& order, CDispArgs& args, CComVariant& result) {
                             const std::optional<std::string> text = (order.*getter)(args[0].lVal);
                             if (text) {
                                 args[1] = CComVariant(*text);
                             }
                             result = CComVariant(text.value_or(std::string()));
                             return S_OK;
                         });
}

// The same for a line's number, 0 for a row that is not a line.
Table::Entry ItemNumberGetter(const char* name, DISPID id, const char* param,
                              std::optional<double> (CQOROrderCtrl::*getter)(std::int32_t) const) {
    return Table::Method(name, id, {Long("row"), OutReal(param)}, VT_R8,
                         [getter](CQOROrderCtrl& order, CDispArgs& args, CComVariant& result) {
                             const std::optional<double> value = (order.*getter)(args[0].lVal);
                             if (value) {
                                 args[1] = CComVariant(*value);
                             }
                             result = CComVariant(value.value_or(0.0));
                             return S_OK;
                         });
}

Table::Entry ItemSetter(const char* name, DISPID id, DispParam value,
                        void (CQOROrderCtrl::*setter)(std::int32_t, std::string_view)) {
    return Table::Method(name, id, {Long("row"), std::move(value)}, VT_EMPTY,
                         [setter](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                             (order.*setter)(args[0].lVal, args[1].Text());
                             return S_OK;
                         });
}

Table::Entry AmountSetter(const char* name, DISPID id, const char* param,
                          void (CQOROrderCtrl::*setter)(std::int32_t, double)) {
    return Table::Method(name, id, {Long("row"), Real(param)}, VT_EMPTY,
                         [setter](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                             (order.*setter)(args[0].lVal, args[1].dblVal);
                             return S_OK;
                         });
}

std::vector<Table::Entry> BlockMembers() {
    return {
        Table::Method("SetCompanyInfo", 7, Params(kCompanyParams, false), VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          const std::vector<std::string> t = Texts(args, 7);
                          order.SetCompanyInfo({t[0], t[1], t[2], t[3], t[4], t[5], t[6]});
                          return S_OK;
                      }),
        Table::Method("GetCustomerInfo", 8, Params(kCustomerParams, true), VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          const CustomerInfo& c = order.GetCustomerInfo();
                          PutTexts(args, {c.customerNo, c.name, c.address, c.city, c.state,
                                          c.zipcode, c.telephone});
                          return S_OK;
                      }),
        Table::Method(
            "GetCompanyInfo", 9, Params(kCompanyParams, true), VT_EMPTY,
            [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                const CompanyInfo& c = order.GetCompanyInfo();
                PutTexts(args, {c.name, c.address, c.city, c.state, c.zipcode, c.telephone, c.fax});
                return S_OK;
            }),
        Table::Method("SetCustomerInfo", 10, Params(kCustomerParams, false), VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          const std::vector<std::string> t = Texts(args, 7);
                          order.SetCustomerInfo({t[0], t[1], t[2], t[3], t[4], t[5], t[6]});
                          return S_OK;
                      }),
        Table::Method("SetShipToInfo", 11, Params(kShipToParams, false), VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          const std::vector<std::string> t = Texts(args, 6);
                          order.SetShipToInfo({t[0], t[1], t[2], t[3], t[4], t[5]});
                          return S_OK;
                      }),
        Table::Method(
            "GetShipToInfo", 12, Params(kShipToParams, true), VT_EMPTY,
            [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                const ShipToInfo& s = order.GetShipToInfo();
                PutTexts(args, {s.name, s.address, s.city, s.state, s.zipcode, s.telephone});
                return S_OK;
            }),
        Table::Method("SetOrderNo", 13, {Text("sOrderNo")}, VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          order.SetOrderNo(args[0].Text());
                          return S_OK;
                      }),
        Table::Method("SetOriginalOrderTotal", 14, {Real("dOriginalOrderTotal")}, VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          order.SetOriginalOrderTotal(args[0].dblVal);
                          return S_OK;
                      }),
        Table::Method("SetTaxInfo", 15, {Text("sTaxCode"), Real("dTaxRate")}, VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          order.SetTaxInfo(args[0].Text(), args[1].dblVal);
                          return S_OK;
                      }),
        Table::Method("SetShippingInfo", 16,
                      {Text("sShipCompany"), Text("sShipCode"), Real("dShippingCharge")}, VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          order.SetShippingInfo(args[0].Text(), args[1].Text(), args[2].dblVal);
                          return S_OK;
                      }),
    };
}

std::vector<Table::Entry> ReadingMembers() {
    return {
        Table::Method("GetOrderNo", 30, {OutText("sOrderNo")}, VT_BSTR,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant& result) {
                          args[0] = CComVariant(order.GetOrderNo());
                          result = CComVariant(order.GetOrderNo());
                          return S_OK;
                      }),
        RealGetter("GetOrderTotal", 31, "dOrderTotal", &CQOROrderCtrl::GetOrderTotal),
        RealGetter("GetOrderTaxAmount", 32, "dTaxAmount", &CQOROrderCtrl::GetOrderTaxAmount),
        RealGetter("GetOrderSubtotal", 33, "dSubtotal", &CQOROrderCtrl::GetOrderSubtotal),
        RealGetter("GetOriginalOrderTotal", 34, "dOriginalOrderTotal",
                   &CQOROrderCtrl::GetOriginalOrderTotal),
        Table::Method("GetTaxInfo", 35, {OutText("sTaxCode"), OutReal("dTaxRate")}, VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          args[0] = CComVariant(order.GetTaxCode());
                          args[1] = CComVariant(order.GetTaxRate());
                          return S_OK;
                      }),
        Table::Method("GetShippingInfo", 36,
                      {OutText("sShipCompany"), OutText("sShipCode"), OutReal("dShippingCharge")},
                      VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          args[0] = CComVariant(order.GetShipCompany());
                          args[1] = CComVariant(order.GetShipCode());
                          args[2] = CComVariant(order.GetShippingCharge());
                          return S_OK;
                      }),
        FieldGetter("GetPaymentTerm", 37, "sPaymentTerm", Field::PaymentTerm),
        FieldGetter("GetDiscountCode", 38, "sDiscountCode", Field::DiscountCode),
        FieldGetter("GetTrackingNo", 39, "sTrackingNo", Field::TrackingNo),
        FieldGetter("GetTaxID", 40, "sTaxID", Field::TaxID),
        FieldGetter("GetShipByDate", 41, "sShipByDate", Field::ShipByDate),
        FieldGetter("GetOrderDate", 42, "sOrderByDate", Field::OrderDate),
        FieldGetter("GetSalesRep", 43, "sSalesRep", Field::SalesRep),
        FieldGetter("GetApprovedBy", 44, "sApprovedBy", Field::ApprovedBy),
        FieldGetter("GetRemark", 45, "sRemark", Field::Remark),
        IndexGetter("GetLineItemCount", 46, "nItem", &CQOROrderCtrl::GetLineItemCount),
        ItemTextGetter("GetItemNo", 47, "sItemNo", &CQOROrderCtrl::GetItemNo),
        ItemTextGetter("GetItemDescription", 48, "sDesc", &CQOROrderCtrl::GetItemDescription),
        ItemNumberGetter("GetItemQuantity", 49, "nQty", &CQOROrderCtrl::GetItemQuantity),
        ItemNumberGetter("GetItemPrice", 50, "nPrice", &CQOROrderCtrl::GetItemPrice),
        Table::Method(
            "SetColors", 51,
            {Color("BkColor"), Color("LabelsColor"), Color("TextColor"), Color("TotalsColor")},
            VT_EMPTY,
            [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                order.SetColors(
                    static_cast<COLORREF>(args[0].lVal), static_cast<COLORREF>(args[1].lVal),
                    static_cast<COLORREF>(args[2].lVal), static_cast<COLORREF>(args[3].lVal));
                return S_OK;
            }),
    };
}

std::vector<Table::Entry> OrderMembers() {
    std::vector<Table::Entry> members = {
        Table::Method("AddLineItem", 1, {}, VT_I4,
                      [](CQOROrderCtrl& order, CDispArgs&, CComVariant& result) {
                          result = static_cast<int>(order.AddLineItem());
                          return S_OK;
                      }),
        Table::Method("DeleteLineItem", 2, {Long("row")}, VT_EMPTY,
                      [](CQOROrderCtrl& order, CDispArgs& args, CComVariant&) {
                          order.DeleteLineItem(args[0].lVal);
                          return S_OK;
                      }),
        IndexGetter("GetCurrentLineItem", 3, "row", &CQOROrderCtrl::GetCurrentLineItem),
        Action("NewInvoice", 4, &CQOROrderCtrl::NewInvoice),
        Action("NewPurchaseOrder", 5, &CQOROrderCtrl::NewPurchaseOrder),
        Action("Print", 6, &CQOROrderCtrl::Print),
    };
    for (Table::Entry& entry : BlockMembers()) {
        members.push_back(std::move(entry));
    }
    std::vector<Table::Entry> rest = {
        FieldSetter("SetShipByDate", 17, "sShipByDate", Field::ShipByDate),
        FieldSetter("SetPaymentTerm", 18, "sPaymentTerm", Field::PaymentTerm),
        FieldSetter("SetDiscountCode", 19, "sDiscountCode", Field::DiscountCode),
        FieldSetter("SetTrackingNo", 20, "sTrackingNo", Field::TrackingNo),
        FieldSetter("SetTaxID", 21, "sTaxID", Field::TaxID),
        FieldSetter("SetOrderDate", 22, "sOrderDate", Field::OrderDate),
        FieldSetter("SetSalesRep", 23, "sSalesRep", Field::SalesRep),
        FieldSetter("SetApprovedBy", 24, "sApprovedBy", Field::ApprovedBy),
        FieldSetter("SetRemark", 25, "sRemark", Field::Remark),
        ItemSetter("SetItemNo", 26, Text("sItemNo"), &CQOROrderCtrl::SetItemNo),
        ItemSetter("SetItemDescription", 27, Text("sDesc"), &CQOROrderCtrl::SetItemDescription),
        AmountSetter("SetItemQuantity", 28, "nQty", &CQOROrderCtrl::SetItemQuantity),
        AmountSetter("SetItemPrice", 29, "nPrice", &CQOROrderCtrl::SetItemPrice),
    };
    for (Table::Entry& entry : rest) {
        members.push_back(std::move(entry));
    }
    for (Table::Entry& entry : ReadingMembers()) {
        members.push_back(std::move(entry));
    }
    return members;
}

}  // namespace

const ControlClassInfo& CQOROrderCtrl::ClassInfo() {
    static const ControlClassInfo info{"QOROrder",
                                       MakeGuid("{8C3F2A61-5B07-4D9E-A1C4-27E6B09D3F58}"),
                                       kProgId,
                                       MakeGuid("{D41E7B95-0A36-4C82-9F1D-6B58E2A7C031}"),
                                       "QORORDER.QOROrderPropPage.1",
                                       MakeGuid("{2B96C0E4-7F13-4A5D-8E27-C3D15F60A94B}"),
                                       MakeGuid("{F07A4D38-961C-4B2E-B5D0-84E3A1C72F69}"),
                                       MakeGuid("{6E1B8F27-C4A9-4D03-92E6-1A7D5B30C8E4}")};
    return info;
}

const CDispatchTable<CQOROrderCtrl>& CQOROrderCtrl::DispatchTable() {
    static const Table table = MakeControlDispatchTable<CQOROrderCtrl>(kProgId, OrderMembers());
    return table;
}
