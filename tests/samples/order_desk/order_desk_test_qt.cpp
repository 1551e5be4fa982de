// The order desk driven headless through its menu commands, the clerk's keys and the
// controls' methods, checked against the sample database.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <filesystem>
#include <memory>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "samples/order_desk/order_desk_qt.h"
#include "tests/embed/embed_test_support.h"

namespace {

class OrderDeskTest : public RegisteredControls {
  protected:
    void SetUp() override {
        RegisteredControls::SetUp();
        for (const char* module : {QOR_QUERY_MODULE, QOR_ORDER_MODULE, QOR_REPORT_MODULE}) {
            ASSERT_TRUE(RegisterModule(module)) << module;
        }
        ASSERT_TRUE(database.open(QString::fromStdString(sample)));
        // Made once the controls are registered.
        desk = std::make_unique<COrderDesk>(
            OrderDeskFiles{QOR_SAMPLE_CUSTOMERS_FORM, QOR_SAMPLE_CUSTOMERS_REPORT});
        ASSERT_TRUE(desk->Open(QString::fromStdString(sample)));
        desk->show();
        // The list lays out its rows when it first paints, as on a screen before any key.
        QApplication::processEvents();
    }

    // The customers in the list's order.
    QList<QVariantMap> CustomersInOrder() {
        return database.select("SELECT customer_id FROM customers ORDER BY customer_no");
    }
    // The one value a query of one row and one column gives.
    QVariant Scalar(const QString& sql, long id) {
        return database.select(sql + QString::number(id)).front().first();
    }
    long OrderCount(long customerId) {
        return Scalar("SELECT COUNT(*) FROM orders WHERE customer_id = ", customerId).toInt();
    }
    double LinesTotal(long orderId) {
        return Scalar("SELECT SUM(line_total) FROM order_lines WHERE order_id = ", orderId)
            .toDouble();
    }
    double OrderTotal(long orderId) {
        return Scalar("SELECT total FROM orders WHERE order_id = ", orderId).toDouble();
    }
    long LineCount(long orderId) {
        return Scalar("SELECT COUNT(*) FROM order_lines WHERE order_id = ", orderId).toInt();
    }
    void Trigger(const char* name) {
        QAction* action = desk->findChild<QAction*>(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    void ExpectShowsCustomer(long customerId) {
        EXPECT_EQ(desk->CurrentCustomer(), customerId);
        const long orders = OrderCount(customerId);
        long rows = 0;
        desk->Orders().GetRowCount(rows);
        EXPECT_EQ(desk->Orders().GetCurrentRow() >= 0 ? rows : 0, orders);
        // Delete waits while the customer has no orders; New Row can give them a first one.
        EXPECT_TRUE(desk->findChild<QAction*>("New Row")->isEnabled());
        EXPECT_EQ(desk->findChild<QAction*>("Delete")->isEnabled(), orders > 0);
        const QString number =
            Scalar("SELECT customer_no FROM customers WHERE customer_id = ", customerId).toString();
        QString shown;
        EXPECT_TRUE(desk->Customer().GetItem("customer_no", shown));
        EXPECT_EQ(shown, number);
    }

    std::string sample = SampleCopy();
    ScopedScriptedDialogs dialogs;
    QorConnection database;
    std::unique_ptr<COrderDesk> desk;
};

}  // namespace

TEST_F(OrderDeskTest, TheFormAndTheOrdersFollowTheListsCurrentCustomer) {
    const QList<QVariantMap> customers = CustomersInOrder();
    ASSERT_GE(customers.size(), 3);
    ExpectShowsCustomer(customers[0]["customer_id"].toInt());
    CWnd* list = desk->Customers().controlWindow();
    const struct {
        const char* name;
        UINT key;
        int expected;
    } moves[] = {{"Down", VK_DOWN, 1}, {"Down again", VK_DOWN, 2}, {"Up", VK_UP, 1}};
    for (const auto& move : moves) {
        SCOPED_TRACE(move.name);
        SendKey(*list, move.key);
        ExpectShowsCustomer(customers[move.expected]["customer_id"].toInt());
    }
}

TEST_F(OrderDeskTest, TheInvoiceAddsUpAsTheOrderLinesInTheDatabase) {
    int invoices = 0;
    for (int step = 0; step < 5; ++step) {
        SCOPED_TRACE(step);
        long ignored = 0;
        const long order = desk->CurrentOrder();
        // A customer without orders shows an empty invoice, not the last one.
        EXPECT_EQ(desk->Invoice().GetLineItemCount(ignored), order >= 0 ? LineCount(order) : 0);
        if (order >= 0) {
            ++invoices;
            double subtotal = 0;
            EXPECT_TRUE(desk->Invoice().GetOrderSubtotal(subtotal));
            EXPECT_NEAR(subtotal, LinesTotal(order), 0.005);
            // With the order's tax and freight the total is the order's.
            double total = 0;
            EXPECT_TRUE(desk->Invoice().GetOrderTotal(total));
            EXPECT_NEAR(total, OrderTotal(order), 0.01);
        }
        SendKey(*desk->Customers().controlWindow(), VK_DOWN);
    }
    EXPECT_GE(invoices, 2);
}

TEST_F(OrderDeskTest, TheMenuPrintsTheInvoiceTheCustomerListAndTheMarkedCustomers) {
    TempFolder out;
    const std::string invoice = out.File("invoice.pdf");
    const std::string customers = out.File("customers.pdf");
    const std::string marked = out.File("marked.pdf");
    dialogs->PushPrintToFile(invoice);
    Trigger("Print Invoice");
    dialogs->PushPrintToFile(customers);
    Trigger("Print Customer List");
    desk->Customers().SelectAll(true);
    dialogs->PushPrintToFile(marked);
    Trigger("Print Marked");
    for (const std::string& pdf : {invoice, customers, marked}) {
        SCOPED_TRACE(pdf);
        ASSERT_TRUE(std::filesystem::exists(pdf));
        EXPECT_GT(std::filesystem::file_size(pdf), 1000U);
    }
}

TEST_F(OrderDeskTest, DeleteTakesTheOrderWithItsLines) {
    const long customer = desk->CurrentCustomer();
    const long order = desk->CurrentOrder();
    const long orders = OrderCount(customer);
    ASSERT_GE(order, 0);
    ASSERT_GT(LineCount(order), 0);
    Trigger("Delete");
    EXPECT_EQ(OrderCount(customer), orders - 1);
    EXPECT_EQ(LineCount(order), 0);
    EXPECT_NE(desk->CurrentOrder(), order);
}

TEST_F(OrderDeskTest, NewRowGivesTheCurrentCustomerAnOrderTheGridStandsOn) {
    const QList<QVariantMap> customers = CustomersInOrder();
    // The first customer has orders, the second none.
    for (int index : {0, 1}) {
        SCOPED_TRACE(index);
        const long customer = customers[index]["customer_id"].toInt();
        if (index > 0) {
            SendKey(*desk->Customers().controlWindow(), VK_DOWN);
        }
        ASSERT_EQ(desk->CurrentCustomer(), customer);
        const long before = OrderCount(customer);
        Trigger("New Row");
        ASSERT_EQ(OrderCount(customer), before + 1);
        const long added =
            Scalar("SELECT MAX(order_id) FROM orders WHERE customer_id = ", customer).toInt();
        EXPECT_EQ(desk->CurrentOrder(), added);
        ExpectShowsCustomer(customer);
        long ignored = 0;
        EXPECT_EQ(desk->Invoice().GetLineItemCount(ignored), 0);
    }
}
