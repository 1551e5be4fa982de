// Opens the customers form on the sample database in the form control and keeps it up until
// its window is closed: Tab and Shift+Tab walk the fields, typing changes the record at once,
// Home, End, Page Up and Page Down move through the customers. With QOR_SCREENSHOT set, a
// picture of the window goes to that PNG file first.
//   qorhost --script samples/customers_form.js DATABASE DESIGN
// The form writes every change into DATABASE, so give it a copy of the sample database.
if (host.args.length < 2) {
    host.log("usage: qorhost --script customers_form.js DATABASE DESIGN");
    host.exit(2);
}
const database = host.args[0];
const design = host.args[1];

const conn = host.createObject("ADODB.Connection");
conn.Open("Provider=SQLite;Data Source=" + database, "", "", -1);

const form = host.createControl("QORFORM.QORFormCtrl.1", 0, 0, 600, 520);
if (!form.OpenForm(conn, "SELECT * FROM customers", design)) {
    host.log("cannot open the design file " + design);
    host.exit(1);
}
const screenshot = host.env("QOR_SCREENSHOT");
if (screenshot !== undefined) {
    host.screenshot(null, screenshot);
}
host.waitForClose();
