// Opens the orders table in the grid control, bound and editable, and keeps it up until its
// window is closed: Up, Down, Page Up, Page Down, Home and End page through the orders, Tab walks
// the cells, typing edits a cell (written to the record when the cell is left), a click toggles
// Paid, the letters pick a note; the buttons below add, delete and print. With QOR_SCREENSHOT
// set, a picture of the window goes to that PNG file first.
//   qorhost --script samples/orders_grid.js DATABASE
// The grid writes every change into DATABASE, so give it a copy of the orders database.
if (host.args.length < 1) {
    host.log("usage: qorhost --script orders_grid.js DATABASE");
    host.exit(2);
}
const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + host.args[0], "", "", -1);

const TEXT = 1, LIST = 2, MASK = 3, CHECKBOX = 4, NUMERIC = 5;
const black = 0x000000, white = 0xFFFFFF, grey = 0xF0F0F0;
const grid = host.createControl("QORGRID.QORGridCtrl.1", 0, 0, 800, 600);
// InsertColumn(name, title, width, style, max size, mask, editable, visible, text, back)
grid.InsertColumn("order_id", "Order", 70, TEXT, 10, "", false, true, black, grey);
grid.InsertColumn("customer_id", "Customer", 80, NUMERIC, 6, "6,0", true, true, black, white);
// The date types through its mask, so that the "New Row..." window takes it too (that window
// takes no typing for the DATE style); on a date field the grid writes only complete dates.
grid.InsertColumn("order_date", "Date", 100, MASK, 10, "##/##/####", true, true, black, white);
grid.InsertColumn("ship_city", "City", 130, TEXT, 30, "", true, true, black, white);
grid.InsertColumn("amount", "Amount", 100, NUMERIC, 12, "9,2", true, true, black, white);
grid.InsertColumn("weight", "Weight", 80, NUMERIC, 8, "4,3", true, true, black, white);
grid.InsertColumn("paid", "Paid", 50, CHECKBOX, 1, "", true, true, black, white);
grid.InsertColumn("note", "Note", 140, LIST, 60, "", true, true, black, white);
grid.SetCheckBoxCheckedValueByName("paid", "1");
grid.SetCheckBoxUnCheckedValueByName("paid", "0");
for (const note of ["", "Back order", "Express", "Fragile"]) {
    grid.AddDropDownItemByName("note", note);
}
if (!grid.BindToDatabase(conn, "SELECT * FROM orders")) {
    host.log("cannot open the orders of " + host.args[0]);
    host.exit(1);
}
// What a clerk does besides typing: a new order through the grid's "New Row..." window, deleting
// the current order and printing every order.
host.button("New Row...", 0, 610, 110, 26, () => grid.AddRow(-1));
host.button("Delete Row", 120, 610, 110, 26, () => grid.DeleteCurrentRow());
host.button("Print...", 240, 610, 110, 26, () => grid.Print());
const screenshot = host.env("QOR_SCREENSHOT");
if (screenshot !== undefined) {
    host.screenshot(null, screenshot);
}
host.waitForClose();
