// The typed wrappers written from the modules' type information, compiled and called against
// every module: a wrapper that no longer matches its module fails to build here.
#include <gtest/gtest.h>

#include <QDialog>

#include "embed/qor_connection_qt.h"
#include "qor_form_qt.h"
#include "qor_grid_qt.h"
#include "qor_order_qt.h"
#include "qor_query_qt.h"
#include "qor_report_qt.h"
#include "tests/embed/embed_test_support.h"

namespace {

class WrapperTest : public RegisteredControls {
  protected:
    void SetUp() override {
        RegisteredControls::SetUp();
        for (const char* module : {QOR_QUERY_MODULE, QOR_ORDER_MODULE, QOR_REPORT_MODULE}) {
            ASSERT_TRUE(RegisterModule(module)) << module;
        }
        ASSERT_TRUE(connection.open(QString::fromStdString(SampleCopy())))
            << connection.lastError().toStdString();
    }

    QDialog dialog;
    QorConnection connection;
};

}  // namespace

TEST_F(WrapperTest, EveryModulesWrapperMakesItsControl) {
    QorGrid grid(&dialog);
    QorForm form(&dialog);
    QorQuery query(&dialog);
    QorOrder order(&dialog);
    QorReport report(&dialog);
    for (QorControl* control :
         std::initializer_list<QorControl*>{&grid, &form, &query, &order, &report}) {
        SCOPED_TRACE(control->control().toStdString());
        EXPECT_FALSE(control->isNull()) << control->lastError().toStdString();
    }
    EXPECT_EQ(grid.ReadyState(), 1);
    EXPECT_EQ(form.ReadyState(), 1);
    EXPECT_EQ(query.ReadyState(), 1);
    EXPECT_EQ(order.ReadyState(), 1);
    EXPECT_EQ(report.ReadyState(), 1);
}

TEST_F(WrapperTest, TheGridTakesTypedColumnsRowsAndABinding) {
    QorGrid grid(&dialog);
    grid.resize(400, 300);  // the grid loads the rows its window shows
    EXPECT_EQ(grid.InsertColumn("name", "Name", 160, 1, 40, "", true, true, 0x000000, 0xFFFFFF), 0);
    EXPECT_EQ(grid.InsertColumn("city", "City", 100, 1, 30, "", true, true, 0x000000, 0xFFFFFF), 1);
    ASSERT_TRUE(grid.BindToDatabase(connection, "SELECT name, city FROM customers ORDER BY name"))
        << grid.lastError().toStdString();
    long rows = 0;
    EXPECT_TRUE(grid.GetRowCount(rows));
    EXPECT_GT(rows, 1);
    QString city;
    EXPECT_GE(grid.GetItemByName(grid.GetCurrentRow(), "city", city), 0);
    EXPECT_FALSE(city.isEmpty());
    EXPECT_FALSE(grid.IsModified());
}

TEST_F(WrapperTest, TheFormQueryOrderAndReportAnswerThroughTheirWrappers) {
    QorForm form(&dialog);
    ASSERT_TRUE(form.OpenForm(connection, "SELECT * FROM customers ORDER BY customer_id",
                              QOR_SAMPLE_CUSTOMERS_FORM));
    QString name;
    EXPECT_TRUE(form.GetItem("name", name));
    EXPECT_FALSE(name.isEmpty());

    QorQuery query(&dialog);
    ASSERT_TRUE(query.BindToDatabase(connection, "SELECT customer_no, name FROM customers"));
    EXPECT_TRUE(query.SelectAll(true));
    EXPECT_TRUE(query.MoveToFirstSelected());
    QString number;
    EXPECT_TRUE(query.GetFieldValue("customer_no", number));
    EXPECT_FALSE(number.isEmpty());

    QorOrder order(&dialog);
    EXPECT_TRUE(order.NewInvoice());
    const long line = order.AddLineItem();
    EXPECT_TRUE(order.SetItemQuantity(line, 3));
    EXPECT_TRUE(order.SetItemPrice(line, 2.5));
    double subtotal = 0;
    EXPECT_TRUE(order.GetOrderSubtotal(subtotal));
    EXPECT_DOUBLE_EQ(subtotal, 7.5);

    QorReport report(&dialog);
    // A file that is not there is the report's failure, reported as its result.
    EXPECT_NE(report.LoadReport("/nonexistent/layout.rpt"), 1);
}
