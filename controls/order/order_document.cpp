// The order's figures in double arithmetic, in the order of operations the shown totals rely on.
#include "controls/order/order_document.h"

#include <utility>

#include "platform/com/c_number.h"

std::string StoredAmount(double value) {
    return value > 0 ? FormatFixed(value, 2) : std::string();
}

double AmountOf(std::string_view text) {
    return AtoF(text);
}

std::string ShownAmount(double value) {
    return FormatFixed(value, 2) + " ";
}

void LineItem::SetQuantity(std::string quantity) {
    m_quantity = std::move(quantity);
    m_amount = AmountOf(m_price) * AmountOf(m_quantity);
}

void LineItem::SetPrice(std::string price) {
    m_price = std::move(price);
    m_amount = AmountOf(m_price) * AmountOf(m_quantity);
}

std::string LineTotalText(const LineItem& item) {
    return ShownAmount(item.Amount());
}

double OrderSubtotal(const std::vector<LineItem>& items) {
    double subtotal = 0;
    for (const LineItem& item : items) {
        subtotal = item.Amount() + subtotal;
    }
    return subtotal;
}

double OrderTaxAmount(double subtotal, double taxRate) {
    return (subtotal * taxRate) * 0.01;
}

double OrderTotal(double subtotal, double taxRate, double shippingCharge) {
    return ((subtotal * taxRate) * 0.01 + shippingCharge) + subtotal;
}

ShownTotals MakeShownTotals(const std::vector<LineItem>& items, double taxRate,
                            double shippingCharge) {
    const double subtotal = OrderSubtotal(items);
    ShownTotals shown;
    shown.subtotal = ShownAmount(subtotal);
    shown.shippingCharge = ShownAmount(shippingCharge);
    shown.tax = ShownAmount(OrderTaxAmount(subtotal, taxRate));
    shown.total = ShownAmount(AmountOf(shown.tax) + shippingCharge + subtotal);
    return shown;
}

std::string CityLine(std::string_view city, std::string_view state, std::string_view zipcode) {
    std::string line(city);
    line.append(", ").append(state).append(" ").append(zipcode);
    return line;
}

BoxLines CustomerBoxLines(const CustomerInfo& customer) {
    return {BoxLine{"Name: ", customer.name}, BoxLine{"Address: ", customer.address},
            BoxLine{"City/St/Zip: ", CityLine(customer.city, customer.state, customer.zipcode)},
            BoxLine{"Phone: ", customer.telephone}};
}

BoxLines ShipToBoxLines(const ShipToInfo& shipTo) {
    return {BoxLine{"Name: ", shipTo.name}, BoxLine{"Address: ", shipTo.address},
            BoxLine{"City/St/Zip: ", CityLine(shipTo.city, shipTo.state, shipTo.zipcode)},
            BoxLine{"Phone: ", shipTo.telephone}};
}

BoxLines InvoiceBoxLines(std::string_view orderDate, std::string_view numberLabel,
                         std::string_view orderNo, std::string_view salesRep,
                         std::string_view shipByDate) {
    return {BoxLine{"Date: ", std::string(orderDate)},
            BoxLine{std::string(numberLabel), std::string(orderNo)},
            BoxLine{"Sales Rep: ", std::string(salesRep)},
            BoxLine{"Ship By: ", std::string(shipByDate)}};
}
