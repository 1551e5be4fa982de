// The order document as the host drives it: the blocks and header fields, the line items, new
// documents and the totals.
#include <utility>

#include "controls/order/order_ctrl.h"
#include "controls/order/order_print.h"

CQOROrderCtrl::CQOROrderCtrl() : COleControl(ClassInfo(), DispatchTable()) {}

CQOROrderCtrl::~CQOROrderCtrl() = default;

bool CQOROrderCtrl::IsLine(std::int32_t row) const {
    return row >= 0 && row < GetLineItemCount();
}

void CQOROrderCtrl::Repaint() {
    if (HasWindow()) {
        Invalidate();
    }
}

std::int32_t CQOROrderCtrl::AddLineItem() {
    m_lineItems.emplace_back();
    RedrawRows();
    return GetLineItemCount() - 1;
}

void CQOROrderCtrl::DeleteLineItem(std::int32_t row) {
    if (!IsLine(row)) {
        return;
    }
    m_lineItems.erase(m_lineItems.begin() + row);
    RedrawRows();
}

void CQOROrderCtrl::NewInvoice() {
    StartNewDocument(kInvoice);
}

void CQOROrderCtrl::NewPurchaseOrder() {
    StartNewDocument(kPurchaseOrder);
}

void CQOROrderCtrl::StartNewDocument(int orderType) {
    m_orderType = orderType;
    m_lineItems.clear();
    m_originalOrderTotal = 0;
    m_shippingCharge = 0;
    m_taxRate = 0;
    for (std::string* field :
         {&m_shipByDate, &m_orderNo, &m_orderDate, &m_salesRep, &m_shipVia, &m_approvedBy,
          &m_remark, &m_accountNo, &m_accountName, &m_expirationDate}) {
        field->clear();
    }
    m_paymentBy = "Cash";
    // A new document has no lines, so a view left scrolled down the last one would hide every
    // line the clerk adds: the table starts again at its first line.
    m_firstVisibleItem = 0;
    m_lastVisibleItem = 0;
    m_currentItem = 0;
    m_currentColumn = kQtyColumn;
    Repaint();
}

void CQOROrderCtrl::Print() {
    OrderPrintout order;
    order.orderType = m_orderType;
    order.company = m_company;
    order.orderNoLine = OrderNoLine();
    order.shipByDate = m_shipByDate;
    order.leftBox = CustomerBoxLines(m_customer);
    order.rightBox = RightBoxLines(true);
    order.paymentBox = {BoxLine{"Payment By:", m_paymentBy},
                        BoxLine{"Account Name: ", m_accountName}, BoxLine{"Account#:", m_accountNo},
                        BoxLine{"Expiration Date:", m_expirationDate}};
    if (m_orderType == kPurchaseOrder) {
        order.orderBox =
            BoxLines{BoxLine{"Date: ", m_orderDate}, BoxLine{"Order No: ", m_orderNo},
                     BoxLine{"Sales Rep: ", m_salesRep}, BoxLine{"Ship Via: ", m_shipVia}};
    }
    order.remark = m_remark;
    order.totals = MakeShownTotals(m_lineItems, m_taxRate, m_shippingCharge);
    order.lineColor = m_textColor;
    order.clientWidth = ClientRect().Width();
    PrintOrder(order, m_lineItems, HasWindow() ? this : nullptr);
}

void CQOROrderCtrl::SetCompanyInfo(CompanyInfo company) {
    m_company = std::move(company);
    Repaint();
}

void CQOROrderCtrl::SetCustomerInfo(CustomerInfo customer) {
    m_customer = std::move(customer);
    Repaint();
}

void CQOROrderCtrl::SetShipToInfo(ShipToInfo shipTo) {
    m_shipTo = std::move(shipTo);
    Repaint();
}

void CQOROrderCtrl::SetOrderNo(std::string_view sOrderNo) {
    m_orderNo = sOrderNo;
    Repaint();
}

void CQOROrderCtrl::SetTaxInfo(std::string_view sTaxCode, double dTaxRate) {
    m_taxCode = sTaxCode;
    m_taxRate = dTaxRate;
}

void CQOROrderCtrl::SetShippingInfo(std::string_view sShipCompany, std::string_view sShipCode,
                                    double dShippingCharge) {
    m_shipCompany = sShipCompany;
    m_shipCode = sShipCode;
    m_shippingCharge = dShippingCharge;
}

void CQOROrderCtrl::SetField(Field field, std::string_view value) {
    FieldOf(*this, field) = value;
}

const std::string& CQOROrderCtrl::GetField(Field field) const {
    return FieldOf(*this, field);
}

void CQOROrderCtrl::SetItemNo(std::int32_t row, std::string_view sItemNo) {
    if (IsLine(row)) {
        m_lineItems[static_cast<std::size_t>(row)].itemNo = sItemNo;
    }
}

void CQOROrderCtrl::SetItemDescription(std::int32_t row, std::string_view sDesc) {
    if (IsLine(row)) {
        m_lineItems[static_cast<std::size_t>(row)].description = sDesc;
        RedrawChangedCell(row, kDescriptionColumn);
    }
}

void CQOROrderCtrl::SetItemQuantity(std::int32_t row, double nQty) {
    if (IsLine(row)) {
        m_lineItems[static_cast<std::size_t>(row)].SetQuantity(StoredAmount(nQty));
        RedrawChangedCell(row, kQtyColumn);
    }
}

void CQOROrderCtrl::SetItemPrice(std::int32_t row, double nPrice) {
    if (IsLine(row)) {
        m_lineItems[static_cast<std::size_t>(row)].SetPrice(StoredAmount(nPrice));
        RedrawChangedCell(row, kPriceColumn);
    }
}

double CQOROrderCtrl::GetOrderSubtotal() const {
    return OrderSubtotal(m_lineItems);
}

double CQOROrderCtrl::GetOrderTaxAmount() const {
    return OrderTaxAmount(GetOrderSubtotal(), m_taxRate);
}

double CQOROrderCtrl::GetOrderTotal() const {
    return OrderTotal(GetOrderSubtotal(), m_taxRate, m_shippingCharge);
}

std::optional<std::string> CQOROrderCtrl::GetItemNo(std::int32_t row) const {
    if (!IsLine(row)) {
        return std::nullopt;
    }
    return m_lineItems[static_cast<std::size_t>(row)].itemNo;
}

std::optional<std::string> CQOROrderCtrl::GetItemDescription(std::int32_t row) const {
    if (!IsLine(row)) {
        return std::nullopt;
    }
    return m_lineItems[static_cast<std::size_t>(row)].description;
}

std::optional<double> CQOROrderCtrl::GetItemQuantity(std::int32_t row) const {
    if (!IsLine(row)) {
        return std::nullopt;
    }
    return AmountOf(m_lineItems[static_cast<std::size_t>(row)].Quantity());
}

std::optional<double> CQOROrderCtrl::GetItemPrice(std::int32_t row) const {
    if (!IsLine(row)) {
        return std::nullopt;
    }
    return AmountOf(m_lineItems[static_cast<std::size_t>(row)].Price());
}

void CQOROrderCtrl::SetColors(COLORREF bkColor, COLORREF labelsColor, COLORREF textColor,
                              COLORREF totalsColor) {
    m_bkColor = bkColor;
    m_labelsColor = labelsColor;
    m_textColor = textColor;
    m_totalsColor = totalsColor;
}

std::string CQOROrderCtrl::OrderNoLine() const {
    return (m_orderType == kPurchaseOrder ? "Purchase Order#: " : "Invoice#: ") + m_orderNo;
}

BoxLines CQOROrderCtrl::RightBoxLines(bool printed) const {
    if (m_orderType == kPurchaseOrder) {
        return ShipToBoxLines(m_shipTo);
    }
    return InvoiceBoxLines(m_orderDate, printed ? "Order No: " : "Invoice No: ", m_orderNo,
                           m_salesRep, m_shipByDate);
}
