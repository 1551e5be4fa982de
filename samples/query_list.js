// Opens the sample customers in the query list and keeps it up until its window is closed:
// Up, Down, Page Up, Page Down, Home, End and the scroll bar move through the customers,
// Ctrl+click marks and unmarks a customer. The buttons below mark every customer or none, list
// the marked customers on standard output, and print all or the marked ones. With
// QOR_SCREENSHOT set, two customers are marked and a picture of the window goes to that PNG
// file first; with QOR_PRINT set, the marked customers are printed to that PDF file (headless).
//   qorhost --script samples/query_list.js DATABASE
// The list only reads DATABASE.
if (host.args.length < 1) {
    host.log("usage: qorhost --script query_list.js DATABASE");
    host.exit(2);
}
const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + host.args[0], "", "", -1);

const list = host.createControl("QORQUERY.QORQueryCtrl.1", 0, 0, 800, 600);
if (!list.BindToDatabase(conn, "SELECT customer_no, name, city, state FROM customers")) {
    host.log("cannot open the customers of " + host.args[0]);
    host.exit(1);
}

// The marked customers in the order they were marked: the walk wraps round to the first mark,
// so it stops when it meets that one again.
function markedCustomers() {
    const names = [];
    if (!list.MoveToFirstSelected()) {
        return names;
    }
    const field = host.ref("");
    list.GetFieldValue("customer_no", field);
    const first = field.value;
    do {
        const name = host.ref("");
        list.GetFieldValue("name", name);
        names.push(field.value + " " + name.value);
        list.MoveToNextSelected();
        list.GetFieldValue("customer_no", field);
    } while (field.value !== first);
    return names;
}

host.button("Mark All", 0, 610, 110, 26, () => list.SelectAll(true));
host.button("Clear Marks", 120, 610, 110, 26, () => list.SelectAll(false));
host.button("Show Marked", 240, 610, 110, 26, () => host.log(markedCustomers().join("\n")));
host.button("Print All...", 360, 610, 110, 26, () => list.Print());
host.button("Print Marked...", 480, 610, 110, 26, () => list.PrintSelected());

const screenshot = host.env("QOR_SCREENSHOT");
if (screenshot !== undefined) {
    // The third and the fifth rows, marked as a clerk does with Ctrl+click once the list has
    // painted its rows (reading a pixel paints what is pending).
    host.pixel(list, 1, 1);
    host.click(list, 100, 25 + 2 * 18 + 9, "Ctrl");
    host.click(list, 100, 25 + 4 * 18 + 9, "Ctrl");
    host.screenshot(null, screenshot);
}
const pdf = host.env("QOR_PRINT");
if (pdf !== undefined) {
    host.log(markedCustomers().join("\n"));
    host.dialogs.answer({print: pdf});
    list.PrintSelected();
}
host.waitForClose();
