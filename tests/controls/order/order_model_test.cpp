// The order document through the dispatch interface: line items, amounts as stored and read,
// totals, out-parameters, the blocks and header fields, new documents, and figures that do not
// depend on the user's locale.
#include <gmock/gmock.h>

#include <clocale>
#include <cstdlib>

#include "platform/dialogs/scripted_dialogs.h"
#include "tests/controls/order/order_test_support.h"
#include "tests/temp_folder.h"

namespace {

using ::testing::ElementsAre;

TEST_F(OrderTest, ANewLineIsOneOfNothingAndTheModuleIsReady) {
    EXPECT_EQ(Long("AddLineItem"), 0);
    EXPECT_EQ(Long("AddLineItem"), 1);
    EXPECT_EQ(Line(1).Quantity(), "1");
    EXPECT_EQ(Line(1).Price(), "");
    CComVariant quantity(-1.0);
    const CComVariant result =
        Call("GetItemQuantity", {CComVariant(1), CComVariant::ByReference(&quantity)});
    EXPECT_EQ(result.dblVal, 1.0);
    EXPECT_EQ(quantity.dblVal, 1.0);
    EXPECT_EQ(OutReal("GetOrderSubtotal"), 0.0);
    CComVariant ready;
    EXPECT_EQ(InvokeByName(control_.Get(), "ReadyState", DISPATCH_PROPERTYGET, {}, &ready), S_OK);
    EXPECT_EQ(ready, CComVariant(1));
    ScopedScriptedDialogs dialogs;
    Call("AboutBox");
    ASSERT_EQ(dialogs->Shown().size(), 1U);
    EXPECT_EQ(dialogs->Shown()[0].caption, "About QOROrder Control");
}

struct AmountCase {
    const char* name;
    double value;
    const char* stored;
    double read;
};

class OrderAmountTest : public OrderTest, public ::testing::WithParamInterface<AmountCase> {};

TEST_P(OrderAmountTest, QuantityAndPriceAreStoredWithTwoDecimalsOrEmpty) {
    const AmountCase& c = GetParam();
    const int row = Long("AddLineItem");
    Call("SetItemQuantity", {CComVariant(row), CComVariant(c.value)});
    Call("SetItemPrice", {CComVariant(row), CComVariant(c.value)});
    EXPECT_EQ(Line(row).Quantity(), c.stored);
    EXPECT_EQ(Line(row).Price(), c.stored);
    for (const char* getter : {"GetItemQuantity", "GetItemPrice"}) {
        CComVariant out(-1.0);
        const CComVariant result = Call(getter, {CComVariant(row), CComVariant::ByReference(&out)});
        EXPECT_DOUBLE_EQ(result.dblVal, c.read) << getter;
        EXPECT_DOUBLE_EQ(out.dblVal, c.read) << getter;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, OrderAmountTest,
    ::testing::Values(AmountCase{"TwoAndAHalf", 2.5, "2.50", 2.5}, AmountCase{"Zero", 0, "", 0},
                      AmountCase{"Negative", -3, "", 0},
                      AmountCase{"RoundedToCents", 1234.567, "1234.57", 1234.57},
                      AmountCase{"TooSmallForACent", 0.001, "0.00", 0}),
    [](const ::testing::TestParamInfo<AmountCase>& info) { return std::string(info.param.name); });

struct TotalsCase {
    const char* name;
    std::vector<std::pair<double, double>> lines;  // quantity, price
    double taxRate;
    double shipping;
    double subtotal;
    double tax;
    double total;
};

class OrderTotalsTest : public OrderTest, public ::testing::WithParamInterface<TotalsCase> {};

TEST_P(OrderTotalsTest, MethodsGiveTheUnroundedFigures) {
    const TotalsCase& c = GetParam();
    for (const auto& [quantity, price] : c.lines) {
        AddLine(quantity, "X", price);
    }
    Call("SetTaxInfo", {CComVariant("T1"), CComVariant(c.taxRate)});
    Call("SetShippingInfo", {CComVariant("UPS"), CComVariant("G"), CComVariant(c.shipping)});
    EXPECT_DOUBLE_EQ(OutReal("GetOrderSubtotal"), c.subtotal);
    EXPECT_DOUBLE_EQ(OutReal("GetOrderTaxAmount"), c.tax);
    EXPECT_DOUBLE_EQ(OutReal("GetOrderTotal"), c.total);
}

INSTANTIATE_TEST_SUITE_P(
    Totals, OrderTotalsTest,
    ::testing::Values(TotalsCase{"NoLines", {}, 7.5, 5, 0, 0, 5},
                      TotalsCase{
                          "OneLineAtSevenAndAHalf", {{1, 10.25}}, 7.5, 0, 10.25, 0.76875, 11.01875},
                      TotalsCase{"TwoLinesWithShipping",
                                 {{3, 19.99}, {2, 0.5}},
                                 8.25,
                                 4.95,
                                 60.97,
                                 5.030025,
                                 70.950025}),
    [](const ::testing::TestParamInfo<TotalsCase>& info) { return std::string(info.param.name); });

TEST_F(OrderTest, CountAndCurrentLineAreResultsOnly) {
    AddLines(3);
    for (const char* getter : {"GetLineItemCount", "GetCurrentLineItem"}) {
        CComVariant out(77);
        const int result = Long(getter, {CComVariant::ByReference(&out)});
        EXPECT_EQ(result, std::string(getter) == "GetLineItemCount" ? 3 : 0) << getter;
        EXPECT_EQ(out.lVal, 77) << getter;
    }
}

TEST_F(OrderTest, ItemGettersLeaveTheirOutParameterAloneOutsideTheLines) {
    const int row = AddLine(2, "BOLTS", 0.25);
    Call("SetItemNo", {CComVariant(row), CComVariant("B-7")});
    struct Getter {
        const char* name;
        CComVariant start;
        CComVariant found;
    };
    for (const Getter& g : {Getter{"GetItemNo", CComVariant("old"), CComVariant("B-7")},
                            Getter{"GetItemDescription", CComVariant("old"), CComVariant("BOLTS")},
                            Getter{"GetItemQuantity", CComVariant(9.0), CComVariant(2.0)},
                            Getter{"GetItemPrice", CComVariant(9.0), CComVariant(0.25)}}) {
        SCOPED_TRACE(g.name);
        for (const int bad : {-1, 1}) {
            CComVariant out = g.start;
            const CComVariant result =
                Call(g.name, {CComVariant(bad), CComVariant::ByReference(&out)});
            EXPECT_EQ(out, g.start);
            EXPECT_EQ(result, g.start.vt == VT_BSTR ? CComVariant("") : CComVariant(0.0));
        }
        CComVariant out = g.start;
        const CComVariant result = Call(g.name, {CComVariant(row), CComVariant::ByReference(&out)});
        EXPECT_EQ(out, g.found);
        EXPECT_EQ(result, g.found);
    }
}

TEST_F(OrderTest, RowsOutsideTheLinesAreIgnored) {
    AddLine(2, "KEEP", 3);
    for (const int bad : {-1, 1, 1000}) {
        Call("SetItemNo", {CComVariant(bad), CComVariant("N")});
        Call("SetItemDescription", {CComVariant(bad), CComVariant("N")});
        Call("SetItemQuantity", {CComVariant(bad), CComVariant(5.0)});
        Call("SetItemPrice", {CComVariant(bad), CComVariant(5.0)});
        Call("DeleteLineItem", {CComVariant(bad)});
    }
    ASSERT_EQ(Member(&OrderState::m_lineItems).size(), 1U);
    EXPECT_EQ(Line(0).description, "KEEP");
    EXPECT_EQ(Line(0).itemNo, "");
    EXPECT_DOUBLE_EQ(OutReal("GetOrderSubtotal"), 6);
}

TEST_F(OrderTest, StringOutParametersAreReplaced) {
    Call("SetOrderNo", {CComVariant("A-1")});
    CComVariant out("a previous string");
    EXPECT_EQ(Call("GetOrderNo", {CComVariant::ByReference(&out)}), CComVariant("A-1"));
    EXPECT_EQ(out, CComVariant("A-1"));
}

std::vector<CComVariant> Texts(std::initializer_list<const char*> texts) {
    return std::vector<CComVariant>(texts.begin(), texts.end());
}

TEST_F(OrderTest, BlocksComeBackAsSetAndTheCompanyStartsBlank) {
    EXPECT_THAT(Block("GetCompanyInfo", 7), ElementsAre(" ", " ", " ", " ", " ", " ", " "));
    EXPECT_THAT(Block("GetCustomerInfo", 7), ElementsAre("", "", "", "", "", "", ""));
    Call("SetCompanyInfo",
         Texts({"Acme", "1 Road", "Springfield", "IL", "62701", "555-1", "555-2"}));
    Call("SetCustomerInfo", Texts({"C7", "Bob", "2 Lane", "Peoria", "IL", "61602", "555-3"}));
    Call("SetShipToInfo", Texts({"Dock", "3 Pier", "Joliet", "IL", "60431", "555-4"}));
    EXPECT_THAT(Block("GetCompanyInfo", 7),
                ElementsAre("Acme", "1 Road", "Springfield", "IL", "62701", "555-1", "555-2"));
    EXPECT_THAT(Block("GetCustomerInfo", 7),
                ElementsAre("C7", "Bob", "2 Lane", "Peoria", "IL", "61602", "555-3"));
    EXPECT_THAT(Block("GetShipToInfo", 6),
                ElementsAre("Dock", "3 Pier", "Joliet", "IL", "60431", "555-4"));
}

// Header fields the host sets and reads back, by their setters and getters.
const std::vector<std::pair<const char*, const char*>> kFields = {
    {"SetShipByDate", "GetShipByDate"},
    {"SetPaymentTerm", "GetPaymentTerm"},
    {"SetDiscountCode", "GetDiscountCode"},
    {"SetTrackingNo", "GetTrackingNo"},
    {"SetTaxID", "GetTaxID"},
    {"SetOrderDate", "GetOrderDate"},
    {"SetSalesRep", "GetSalesRep"},
    {"SetApprovedBy", "GetApprovedBy"},
    {"SetRemark", "GetRemark"},
    {"SetOrderNo", "GetOrderNo"}};

// What a new document keeps of the header fields.
bool KeptByNewDocument(const std::string& getter) {
    return getter == "GetPaymentTerm" || getter == "GetDiscountCode" || getter == "GetTrackingNo" ||
           getter == "GetTaxID";
}

TEST_F(OrderTest, NewPurchaseOrderKeepsTheBlocksAndCodesAndResetsTheRest) {
    Call("SetCompanyInfo", Texts({"Acme", "a", "c", "s", "z", "t", "f"}));
    Call("SetCustomerInfo", Texts({"C7", "Bob", "a", "c", "s", "z", "t"}));
    Call("SetShipToInfo", Texts({"Dock", "a", "c", "s", "z", "t"}));
    for (const auto& [setter, getter] : kFields) {
        Call(setter, {CComVariant(std::string(getter) + " value")});
    }
    Call("SetTaxInfo", {CComVariant("T1"), CComVariant(7.5)});
    Call("SetShippingInfo", {CComVariant("UPS"), CComVariant("G"), CComVariant(4.5)});
    Call("SetOriginalOrderTotal", {CComVariant(99.0)});
    AddLine(1, "X", 10);

    Call("NewPurchaseOrder");
    EXPECT_EQ(Long("GetLineItemCount"), 0);
    EXPECT_EQ(Block("GetCompanyInfo", 7)[0], "Acme");
    EXPECT_EQ(Block("GetCustomerInfo", 7)[1], "Bob");
    EXPECT_EQ(Block("GetShipToInfo", 6)[0], "Dock");
    for (const auto& [setter, getter] : kFields) {
        EXPECT_EQ(OutText(getter), KeptByNewDocument(getter) ? std::string(getter) + " value" : "")
            << getter;
    }
    CComVariant code("x");
    CComVariant rate(1.0);
    Call("GetTaxInfo", {CComVariant::ByReference(&code), CComVariant::ByReference(&rate)});
    EXPECT_EQ(code, CComVariant("T1"));
    EXPECT_EQ(rate, CComVariant(0.0));
    CComVariant company("x");
    CComVariant ship("x");
    CComVariant charge(1.0);
    Call("GetShippingInfo", {CComVariant::ByReference(&company), CComVariant::ByReference(&ship),
                             CComVariant::ByReference(&charge)});
    EXPECT_EQ(company, CComVariant("UPS"));
    EXPECT_EQ(ship, CComVariant("G"));
    EXPECT_EQ(charge, CComVariant(0.0));
    EXPECT_EQ(OutReal("GetOriginalOrderTotal"), 0.0);
    EXPECT_EQ(OutReal("GetOrderTotal"), 0.0);
}

TEST_F(OrderTest, DeletingTheCurrentOrLastLineKeepsTheCurrentIndex) {
    AddLines(3);
    SendClick(*window_, CellPoint(1, kQtyColumn));
    ASSERT_EQ(Long("GetCurrentLineItem"), 1);
    Call("DeleteLineItem", {CComVariant(1)});
    EXPECT_EQ(Long("GetCurrentLineItem"), 1);
    EXPECT_EQ(Line(1).description, "ITEM 2");
    Call("DeleteLineItem", {CComVariant(1)});
    EXPECT_EQ(Long("GetCurrentLineItem"), 1);
    EXPECT_EQ(Long("GetLineItemCount"), 1);
    // Past the end: typing goes nowhere until the clerk moves to a line.
    Type("5");
    EXPECT_EQ(Line(0).Quantity(), "1.00");
}

// A German desktop: the C library's numbers use a decimal comma unless the control keeps to the
// C locale. The locale is built for the test, as few systems install it.
class GermanLocale {
  public:
    GermanLocale() {
        const std::string command =
            "localedef -i de_DE -f UTF-8 '" + m_folder.File("de_DE.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) > 1) {  // NOLINT: a fixed command
            return;
        }
        ::setenv("LOCPATH", m_folder.Path().c_str(), 1);
        m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;  // NOLINT: single-threaded
    }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;
    ~GermanLocale() {
        std::setlocale(LC_ALL, "C");  // NOLINT: single-threaded
        ::unsetenv("LOCPATH");
    }
    bool Active() const { return m_active && std::atof("2,5") == 2.5; }

  private:
    TempFolder m_folder;
    bool m_active = false;
};

TEST_F(OrderTest, FiguresDoNotDependOnTheUsersLocale) {
    const GermanLocale german;
    if (!german.Active()) {
        GTEST_SKIP() << "no German locale can be made here";
    }
    const int row = AddLine(2.5, "X", 4.1);
    EXPECT_EQ(Line(row).Quantity(), "2.50");
    EXPECT_EQ(Line(row).Price(), "4.10");
    SendClick(*window_, CellPoint(row, kPriceColumn));
    Type(".5");
    EXPECT_DOUBLE_EQ(OutReal("GetOrderSubtotal"), 2.5 * 4.105);
    EXPECT_EQ(Line(row).total, "10.26 ");
}

}  // namespace
