// The order desk: a clerk's main window over the sample database with the five controls: the
// customers to mark, the current customer's form, that customer's orders and the selected
// order as an invoice, with printing of the invoice, the customer list and the marked ones.
#pragma once

#include <QList>
#include <QMainWindow>
#include <QString>

#include "platform/ui/program_settings.h"
#include "qor_form_qt.h"
#include "qor_grid_qt.h"
#include "qor_order_qt.h"
#include "qor_query_qt.h"
#include "qor_report_qt.h"

struct OrderDeskFiles {
    QString customersDesign;  // the customers form design
    QString customersReport;  // the customer list report layout
};

class COrderDesk : public QMainWindow {
  public:
    explicit COrderDesk(OrderDeskFiles files);

    // Opens the data source (a SQLite file or a connection string) and shows its customers;
    // false with the reason in the status bar.
    bool Open(const QString& dataSource);
    // The program's own settings: the window takes the placement saved last and saves its own
    // when it closes; the data sources opened join the recent ones under File. Without them
    // nothing is kept.
    void UseSettings(const CProgramSettings* settings);
    // Opens the recent data source in a window of its own; one that is a file no longer there
    // leaves the list, with a message in the status bar.
    void OpenRecent(const QString& dataSource);

    // The menu commands.
    void NewRow();
    void DeleteOrder();
    void PrintInvoice();
    void PrintCustomerList();
    void PrintMarked();

    // Follows the clerk's last move: the customer the list stands on into the form and the
    // orders grid, the order the grid stands on into the invoice.
    void FollowClerk(bool listMoved = false);

    long CurrentCustomer() const { return m_customerId; }
    long CurrentOrder() const { return m_orderId; }
    QorQuery& Customers() { return m_customers; }
    QorForm& Customer() { return m_customer; }
    QorGrid& Orders() { return m_orders; }
    QorOrder& Invoice() { return m_invoice; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildCommands();
    void FillRecentMenu();
    void WatchClerk(QorControl& control);
    void ShowCustomer(long customerId);
    void ShowInvoice(long orderId);
    void AddInvoiceLine(const QString& itemNo, const QString& description, double quantity,
                        double price);
    void Report(const QString& text);

    OrderDeskFiles m_files;
    QorConnection m_connection;
    QorQuery m_customers;
    QorForm m_customer;
    QorGrid m_orders;
    QorOrder m_invoice;
    QorReport m_report;
    QAction* m_newRow = nullptr;
    QAction* m_delete = nullptr;
    QMenu* m_recent = nullptr;
    const CProgramSettings* m_settings = nullptr;
    bool m_ordersBound = false;
    long m_customerId = -1;
    long m_orderId = -1;
};
