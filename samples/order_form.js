// Shows an order of the sample database as an invoice in the order control and keeps it up until
// its window is closed: click a cell or Tab to it, type quantities, descriptions and prices, Up,
// Down, Page Up and Page Down move through the lines; the buttons below add a line, delete the
// current one and print. The totals follow every keystroke.
//   qorhost --script samples/order_form.js DATABASE [ORDER_ID]
// With QOR_SCREENSHOT set, a picture of the window goes to that PNG file first; with QOR_PRINT
// set (headless), the invoice is printed to that PDF file.
if (host.args.length < 1) {
    host.log("usage: qorhost --script order_form.js DATABASE [ORDER_ID]");
    host.exit(2);
}
const orderId = host.args.length > 1 ? parseInt(host.args[1], 10) : 1;
const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + host.args[0], "", "", -1);

// The first row of a query as an object of its fields' values, or null without one.
function firstRow(sql) {
    const rs = conn.Execute(sql);
    if (rs.EOF) {
        return null;
    }
    const row = {};
    for (let i = 0; i < rs.Fields.Count; i++) {
        const value = rs.Fields.Item(i).Value;
        row[rs.Fields.Item(i).Name] = value === null || value === undefined ? "" : value;
    }
    return row;
}

// Dates as a clerk writes them, MM/DD/YYYY; everything else as its text.
function text(value) {
    if (!(value instanceof Date)) {
        return String(value);
    }
    const two = (n) => (n < 10 ? "0" : "") + n;
    return two(value.getMonth() + 1) + "/" + two(value.getDate()) + "/" + value.getFullYear();
}

const order = firstRow("SELECT * FROM orders WHERE order_id = " + orderId);
if (order === null) {
    host.log("no order " + orderId + " in " + host.args[0]);
    host.exit(1);
}
const customer = firstRow("SELECT * FROM customers WHERE customer_id = " + order.customer_id);

const invoice = host.createControl("QORORDER.QOROrderCtrl.1", 0, 0, 800, 600);
invoice.NewInvoice();
invoice.SetCompanyInfo("QOR Office Supply", "100 Commerce Drive", "Springfield", "IL", "62701",
                       "Tel 217-555-0100", "Fax 217-555-0101");
invoice.SetCustomerInfo(customer.customer_no, customer.name, customer.address, customer.city,
                        customer.state, customer.zipcode, customer.phone);
invoice.SetShipToInfo(order.ship_name, order.ship_address, order.ship_city, order.ship_state,
                      order.ship_zipcode, "");
invoice.SetOrderNo(String(order.order_id));
invoice.SetOrderDate(text(order.order_date));
invoice.SetShipByDate(text(order.required_date));
invoice.SetSalesRep("Web shop");
invoice.SetTaxInfo("Sales tax", order.tax_rate);
invoice.SetShippingInfo(order.ship_via, "", order.freight);
invoice.SetTrackingNo(text(order.tracking_no));
invoice.SetRemark("Thank you for your order. Goods remain our property until paid in full.");

const lines = conn.Execute(
    "SELECT p.item_no, p.description, l.quantity, l.unit_price FROM order_lines l " +
    "JOIN products p ON p.product_id = l.product_id WHERE l.order_id = " + orderId +
    " ORDER BY l.line_no");
while (!lines.EOF) {
    const row = invoice.AddLineItem();
    invoice.SetItemNo(row, lines.Fields.Item("item_no").Value);
    invoice.SetItemDescription(row, String(lines.Fields.Item("description").Value).toUpperCase());
    invoice.SetItemQuantity(row, lines.Fields.Item("quantity").Value);
    invoice.SetItemPrice(row, lines.Fields.Item("unit_price").Value);
    lines.MoveNext();
}

const total = host.ref(0);
invoice.GetOrderTotal(total);
host.log("order " + orderId + ": " + invoice.GetLineItemCount() + " lines, total " +
         total.value.toFixed(2));

host.button("Add Line", 0, 610, 110, 26, () => invoice.AddLineItem());
host.button("Delete Line", 120, 610, 110, 26,
            () => invoice.DeleteLineItem(invoice.GetCurrentLineItem()));
host.button("Print...", 240, 610, 110, 26, () => invoice.Print());

const screenshot = host.env("QOR_SCREENSHOT");
if (screenshot !== undefined) {
    host.screenshot(null, screenshot);
}
const pdf = host.env("QOR_PRINT");
if (pdf !== undefined) {
    host.dialogs.answer({print: pdf});
    invoice.Print();
}
host.waitForClose();
