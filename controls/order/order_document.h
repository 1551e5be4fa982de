// The order document's parts that carry no window: line items, the address blocks, the totals and
// the texts amounts are shown and stored as.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// One line of the order; quantities and prices are kept as typed or set, empty for none.
struct LineItem {
    std::string itemNo;
    std::string description;
    // The line total as last formatted for display; nothing reads it back as a number.
    std::string total;

    const std::string& Quantity() const { return m_quantity; }
    const std::string& Price() const { return m_price; }
    void SetQuantity(std::string quantity);
    void SetPrice(std::string price);
    // Price times quantity as their texts read, kept with the texts: the totals add up every
    // line on each keystroke.
    double Amount() const { return m_amount; }

  private:
    std::string m_quantity = "1";
    std::string m_price;
    double m_amount = 0;
};

struct CompanyInfo {
    std::string name = " ";
    std::string address = " ";
    std::string city = " ";
    std::string state = " ";
    std::string zipcode = " ";
    std::string telephone = " ";
    std::string fax = " ";
};

struct CustomerInfo {
    std::string customerNo;
    std::string name;
    std::string address;
    std::string city;
    std::string state;
    std::string zipcode;
    std::string telephone;
};

struct ShipToInfo {
    std::string name;
    std::string address;
    std::string city;
    std::string state;
    std::string zipcode;
    std::string telephone;
};

enum OrderType { kInvoice = 1, kPurchaseOrder = 2 };

// A quantity or price as stored: two decimals when positive, empty otherwise.
std::string StoredAmount(double value);
// A quantity or price text as a number: atof's reading, 0 for an empty text or no number.
double AmountOf(std::string_view text);
// An amount as the form and the paper show it: two decimals and a trailing blank.
std::string ShownAmount(double value);

// The line's total, price times quantity, as shown.
std::string LineTotalText(const LineItem& item);
// Sum over the lines in order of price * quantity + the sum so far.
double OrderSubtotal(const std::vector<LineItem>& items);
// (subtotal * rate) * 0.01, the rate in percent.
double OrderTaxAmount(double subtotal, double taxRate);
// The unrounded tax plus shipping, plus the subtotal.
double OrderTotal(double subtotal, double taxRate, double shippingCharge);

// The four totals as the form and the paper show them; the total is built from the tax as
// shown, so that the shown figures add up.
struct ShownTotals {
    std::string subtotal;
    std::string shippingCharge;
    std::string tax;
    std::string total;
};
ShownTotals MakeShownTotals(const std::vector<LineItem>& items, double taxRate,
                            double shippingCharge);

// A labelled line of an address or order box.
struct BoxLine {
    std::string label;
    std::string value;
};
using BoxLines = std::array<BoxLine, 4>;

// "city, state zipcode".
std::string CityLine(std::string_view city, std::string_view state, std::string_view zipcode);
BoxLines CustomerBoxLines(const CustomerInfo& customer);
BoxLines ShipToBoxLines(const ShipToInfo& shipTo);
// The invoice's right box: date, order number (labelled as given), sales rep and ship-by date.
BoxLines InvoiceBoxLines(std::string_view orderDate, std::string_view numberLabel,
                         std::string_view orderNo, std::string_view salesRep,
                         std::string_view shipByDate);
