// The order desk's window, its commands, how it follows the clerk, and what it keeps in the
// program's settings.
#include "samples/order_desk/order_desk_qt.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <memory>

#include "platform/ui/program_settings_qt.h"
#include "platform/ui/wnd_host_qt.h"

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr long kTextStyle = 1;

// A field's value as the invoice shows it: dates as the grid shows them.
QString Text(const QVariant& value) {
    return value.typeId() == QMetaType::QDateTime
               ? value.toDateTime().toString(QStringLiteral("M/d/yyyy"))
               : value.toString();
}

}  // namespace

COrderDesk::COrderDesk(OrderDeskFiles files) : m_files(std::move(files)) {
    setWindowTitle(QStringLiteral("QOR Order Desk"));
    auto* central = new QWidget(this);        // NOLINT(cppcoreguidelines-owning-memory)
    auto* layout = new QGridLayout(central);  // NOLINT(cppcoreguidelines-owning-memory)
    m_customers.setMinimumSize(520, 300);
    m_customer.setMinimumSize(600, 300);
    m_orders.setMinimumSize(520, 320);
    m_invoice.setMinimumSize(600, 320);
    layout->addWidget(&m_customers, 0, 0);
    layout->addWidget(&m_customer, 0, 1);
    layout->addWidget(&m_orders, 1, 0);
    layout->addWidget(&m_invoice, 1, 1);
    setCentralWidget(central);
    for (QorControl* control :
         {static_cast<QorControl*>(&m_customers), static_cast<QorControl*>(&m_orders)}) {
        WatchClerk(*control);
    }
    BuildCommands();
}

void COrderDesk::BuildCommands() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QMenu* orders = menuBar()->addMenu(QStringLiteral("&Orders"));
    QToolBar* tools = addToolBar(QStringLiteral("Commands"));
    const struct {
        QMenu* menu;
        const char* text;
        void (COrderDesk::*command)();
    } commands[] = {
        {orders, "&New Row", &COrderDesk::NewRow},
        {orders, "&Delete", &COrderDesk::DeleteOrder},
        {file, "&Print Invoice", &COrderDesk::PrintInvoice},
        {file, "Print &Customer List", &COrderDesk::PrintCustomerList},
        {file, "Print &Marked", &COrderDesk::PrintMarked},
    };
    for (const auto& entry : commands) {
        QAction* action = entry.menu->addAction(QString::fromUtf8(entry.text));
        action->setObjectName(QString::fromUtf8(entry.text).remove('&'));
        connect(action, &QAction::triggered, this,
                [this, command = entry.command] { (this->*command)(); });
        tools->addAction(action);
    }
    m_newRow = findChild<QAction*>(QStringLiteral("New Row"));
    m_delete = findChild<QAction*>(QStringLiteral("Delete"));
    file->addSeparator();
    m_recent = file->addMenu(QStringLiteral("Recent &Data Sources"));
    connect(m_recent, &QMenu::aboutToShow, this, &COrderDesk::FillRecentMenu);
    file->addSeparator();
    file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
}

void COrderDesk::FillRecentMenu() {
    m_recent->clear();
    const std::vector<std::string> sources =
        m_settings != nullptr ? m_settings->RecentFiles() : std::vector<std::string>{};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const QString source = QString::fromStdString(sources[i]);
        QString text = source;
        m_recent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(text.replace('&', "&&")), this,
                            [this, source] { OpenRecent(source); });
    }
    m_recent->setEnabled(!sources.empty());
}

void COrderDesk::UseSettings(const CProgramSettings* settings) {
    m_settings = settings;
    if (m_settings != nullptr) {
        RestoreWindowPlacement(*m_settings, *this);
    }
}

void COrderDesk::closeEvent(QCloseEvent* event) {
    if (m_settings != nullptr) {
        SaveWindowPlacement(*m_settings, *this);
    }
    QMainWindow::closeEvent(event);
}

void COrderDesk::OpenRecent(const QString& dataSource) {
    // A connection string names no file to look for; the connection reports its own failure.
    const bool file = !dataSource.contains('=');
    if (file && !QFileInfo(dataSource).isFile()) {
        if (m_settings != nullptr) {
            m_settings->RemoveRecentFile(dataSource.toStdString());
        }
        Report(QStringLiteral("%1 cannot be found; it is removed from the recent data sources.")
                   .arg(dataSource));
        return;
    }
    auto desk = std::make_unique<COrderDesk>(m_files);
    desk->setAttribute(Qt::WA_DeleteOnClose);
    desk->UseSettings(m_settings);
    if (!desk->Open(dataSource)) {
        Report(QStringLiteral("%1 cannot be opened: %2")
                   .arg(dataSource, desk->statusBar()->currentMessage()));
        return;
    }
    desk.release()->show();  // the window deletes itself when it closes
}

bool COrderDesk::Open(const QString& dataSource) {
    if (!m_connection.open(dataSource)) {
        Report(m_connection.lastError());
        return false;
    }
    m_customers.BindToDatabase(m_connection,
                               "SELECT customer_id, customer_no, name, city FROM customers "
                               "ORDER BY customer_no");
    m_orders.InsertColumn("order_id", "Order", 70, kTextStyle, 10, "", false, true, kBlack, kWhite);
    m_orders.InsertColumn("order_date", "Date", 100, kTextStyle, 10, "", true, true, kBlack,
                          kWhite);
    m_orders.InsertColumn("ship_via", "Ship Via", 120, kTextStyle, 20, "", true, true, kBlack,
                          kWhite);
    m_orders.InsertColumn("total", "Total", 100, kTextStyle, 16, "", false, true, kBlack, kWhite);
    m_customers.MoveToFirstSelected();
    FollowClerk(true);
    if (m_settings != nullptr) {
        m_settings->AddRecentFile(dataSource.toStdString());
    }
    return true;
}

void COrderDesk::WatchClerk(QorControl& control) {
    if (CWnd* window = control.controlWindow()) {
        ClientWidgetOf(*window)->installEventFilter(this);
    }
}

bool COrderDesk::eventFilter(QObject* watched, QEvent* event) {
    const bool done = QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease) {
        const CWnd* list = m_customers.controlWindow();
        FollowClerk(list != nullptr && watched == ClientWidgetOf(*list));
    }
    return done;
}

// The list's recordset stands on its current row only right after the clerk moved it there:
// once the list paints again it stands on whatever row was painted last, so the customer is
// read only after a move in the list.
void COrderDesk::FollowClerk(bool listMoved) {
    QString customer;
    if (listMoved && m_customers.GetFieldValue("customer_id", customer) &&
        customer.toLong() != m_customerId) {
        ShowCustomer(customer.toLong());
    }
    QString order;
    const long row = m_ordersBound ? m_orders.GetCurrentRow() : -1;
    const long orderId =
        row >= 0 && m_orders.GetItemByName(row, "order_id", order) >= 0 ? order.toLong() : -1;
    if (orderId != m_orderId) {
        ShowInvoice(orderId);
    }
    long count = 0;
    if (m_ordersBound) {
        m_orders.GetRowCount(count);
    }
    Report(QStringLiteral("Customer %1: %2 orders").arg(m_customerId).arg(count));
}

void COrderDesk::ShowCustomer(long customerId) {
    m_customerId = customerId;
    const QString id = QString::number(customerId);
    m_customer.OpenForm(m_connection, "SELECT * FROM customers WHERE customer_id = " + id,
                        m_files.customersDesign);
    // A grid cannot bind to a result without records: it keeps its last binding, so for a
    // customer without orders its rows go and Delete waits for the next customer, lest it act
    // on another customer's orders.
    m_ordersBound = m_orders.BindToDatabase(
        m_connection,
        "SELECT order_id, customer_id, order_date, ship_via, total FROM orders "
        "WHERE customer_id = " +
            id + " ORDER BY order_date DESC, order_id DESC");
    if (!m_ordersBound) {
        m_orders.ClearGrid();
    }
    // A customer without orders can be given a first one, but has none to delete.
    m_newRow->setEnabled(true);
    m_delete->setEnabled(m_ordersBound);
    m_orderId = -2;  // whatever order the grid stands on now is shown
}

void COrderDesk::ShowInvoice(long orderId) {
    m_orderId = orderId;
    m_invoice.NewInvoice();
    const QString id = QString::number(orderId);
    const QList<QVariantMap> heads = m_connection.select(
        "SELECT o.*, c.customer_no, c.name, c.address, c.city, c.state, c.zipcode, c.phone "
        "FROM orders o JOIN customers c ON c.customer_id = o.customer_id WHERE o.order_id = " +
        id);
    if (orderId < 0 || heads.isEmpty()) {
        return;
    }
    const QVariantMap& head = heads.front();
    m_invoice.SetOrderNo(id);
    m_invoice.SetOrderDate(Text(head["order_date"]));
    m_invoice.SetCustomerInfo(Text(head["customer_no"]), Text(head["name"]), Text(head["address"]),
                              Text(head["city"]), Text(head["state"]), Text(head["zipcode"]),
                              Text(head["phone"]));
    m_invoice.SetShipToInfo(Text(head["ship_name"]), Text(head["ship_address"]),
                            Text(head["ship_city"]), Text(head["ship_state"]),
                            Text(head["ship_zipcode"]), "");
    m_invoice.SetTaxInfo("TAX", head["tax_rate"].toDouble());
    m_invoice.SetShippingInfo(Text(head["ship_via"]), Text(head["tracking_no"]),
                              head["freight"].toDouble());
    const QList<QVariantMap> lines = m_connection.select(
        "SELECT p.item_no, p.description, l.quantity, l.unit_price, l.discount, l.line_total "
        "FROM order_lines l JOIN products p ON p.product_id = l.product_id WHERE l.order_id = " +
        id + " ORDER BY l.line_no");
    for (const QVariantMap& line : lines) {
        const double quantity = line["quantity"].toDouble();
        const double price = line["unit_price"].toDouble();
        const double discount = line["discount"].toDouble();
        if (discount == 0) {
            AddInvoiceLine(Text(line["item_no"]), Text(line["description"]), quantity, price);
            continue;
        }
        // The invoice has neither a discount column nor negative amounts: a discounted line
        // shows its terms in the description and its total as one unit, so that the invoice
        // adds up as the order does.
        AddInvoiceLine(Text(line["item_no"]),
                       QStringLiteral("%1 (%2 x %3 less %4%)")
                           .arg(Text(line["description"]))
                           .arg(quantity)
                           .arg(price, 0, 'f', 2)
                           .arg(discount * 100),
                       1, line["line_total"].toDouble());
    }
}

void COrderDesk::AddInvoiceLine(const QString& itemNo, const QString& description, double quantity,
                                double price) {
    const long row = m_invoice.AddLineItem();
    m_invoice.SetItemNo(row, itemNo);
    m_invoice.SetItemDescription(row, description);
    m_invoice.SetItemQuantity(row, quantity);
    m_invoice.SetItemPrice(row, price);
}

// The grid's own "New Row..." asks only for the columns it shows, and an order needs its
// customer, addresses and amounts as well: the desk adds the order with the customer's details
// and today's date; the grid, newest orders first, then stands on it for the clerk to complete.
void COrderDesk::NewRow() {
    if (m_customerId < 0) {
        return;
    }
    const QString id = QString::number(m_customerId);
    const bool added = m_connection.execute(
        "INSERT INTO orders (customer_id, order_date, required_date, ship_via, ship_name, "
        "ship_address, ship_city, ship_state, ship_zipcode, tax_rate, freight, subtotal, total, "
        "paid, created_at) "
        "SELECT customer_id, CURRENT_DATE, CURRENT_DATE, 'UPS', name, address, city, state, "
        "zipcode, COALESCE((SELECT tax_rate FROM orders WHERE customer_id = " +
        id +
        " ORDER BY order_date DESC, order_id DESC LIMIT 1), 0), 0, 0, 0, FALSE, "
        "CURRENT_TIMESTAMP FROM customers WHERE customer_id = " +
        id);
    if (!added) {
        Report(QStringLiteral("No order can be added: %1").arg(m_connection.lastError()));
        return;
    }
    ShowCustomer(m_customerId);
    FollowClerk();
}

void COrderDesk::DeleteOrder() {
    if (!m_ordersBound || m_orderId < 0) {
        return;
    }
    // An order goes with its lines or not at all: lines without their order would be left
    // behind for good.
    const QString id = QString::number(m_orderId);
    m_connection.beginTransaction();
    const bool deleted = m_orders.DeleteCurrentRow() &&
                         m_connection.execute("DELETE FROM order_lines WHERE order_id = " + id);
    if (deleted) {
        m_connection.commit();
    } else {
        const QString reason = m_connection.lastError();
        m_connection.rollback();
        ShowCustomer(m_customerId);  // the grid shows what the database still holds
        Report(QStringLiteral("Order %1 cannot be deleted: %2").arg(id, reason));
        return;
    }
    FollowClerk();
}

void COrderDesk::PrintInvoice() {
    m_invoice.Print();
}

void COrderDesk::PrintCustomerList() {
    if (m_report.LoadReport(m_files.customersReport) != 1 ||
        m_report.BindReportToDatabase(m_connection) != 1) {
        Report(QStringLiteral("The customer list cannot be printed: ") + m_report.lastError());
        return;
    }
    // The report asks for its printer when its document begins.
    if (m_report.BeginPrint() == 1) {
        m_report.Print();
        m_report.EndPrint();
    }
}

void COrderDesk::PrintMarked() {
    m_customers.PrintSelected();
}

void COrderDesk::Report(const QString& text) {
    statusBar()->showMessage(text);
}
