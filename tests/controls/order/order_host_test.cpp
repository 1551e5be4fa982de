// The order control in the qorhost program, run headless by a script as a host author writes one:
// filling an order, typing into its lines, reading its totals and printing it to a PDF.
#include <fstream>

#include "tests/controls/order/order_test_support.h"
#include "tests/tools/program_run.h"

namespace {

constexpr const char* kScript = R"js(
const order = host.createControl("QORORDER.QOROrderCtrl.1", 0, 0, 600, 500);
order.SetCompanyInfo("Acme Tools", "1 Road", "Springfield", "IL", "62701", "555-1", "555-2");
order.SetCustomerInfo("C7", "Bob Smith", "2 Lane", "Peoria", "IL", "61602", "555-3");
order.SetOrderNo("A-1");
order.SetTaxInfo("T", 7.5);
order.SetShippingInfo("UPS", "G", 4);
const row = order.AddLineItem();
order.SetItemPrice(row, 10.25);
host.key(order, "Backspace");
host.type(order, "2");
host.key(order, "Tab");
host.type(order, "bolts");
const desc = host.ref("");
const tax = host.ref(0);
const total = host.ref(0);
order.GetItemDescription(row, desc);
order.GetOrderTaxAmount(tax);
order.GetOrderTotal(total);
host.log(order.GetLineItemCount(), desc.value, order.GetItemQuantity(row, host.ref(0)),
         tax.value.toFixed(5), total.value.toFixed(5));
host.dialogs.answer({print: host.args[0]});
order.Print();
)js";

TEST(OrderHostTest, ScriptFillsTypesReadsTheTotalsAndPrintsHeadless) {
    CTempRegistry registry;
    ASSERT_TRUE(RegisterOrderModule());
    const std::string& folder = registry.Folder();
    const std::string script = folder + "/order.js";
    const std::string pdf = folder + "/order.pdf";
    { std::ofstream(script) << kScript; }
    const ProgramRun run = RunCommandLine(
        "XDG_RUNTIME_DIR=" + ShellQuoted(folder) + " " + ShellQuoted(QORHOST_PROGRAM) +
            " --script " + ShellQuoted(script) + " --headless " + ShellQuoted(pdf),
        folder);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1 BOLTS 2 1.53750 26.03750\n");
    EXPECT_EQ(ReadWholeFile(pdf).substr(0, 5), "%PDF-");
}

}  // namespace
