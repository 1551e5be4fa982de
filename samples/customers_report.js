// Prints a report layout bound to a database: the customer list (samples/customers_report.json,
// compiled to customers.rpt) or any other layout whose query the database answers. The print
// dialog chooses the printer; with a PDF path given (and --headless) the report goes to that
// file instead.
//   qorhost --script samples/customers_report.js DATABASE LAYOUT [PDF]
// DATABASE is a SQLite file or a whole connection string ("Provider=PostgreSQL;Host=...").
if (host.args.length < 2) {
    host.log("usage: qorhost --script customers_report.js DATABASE LAYOUT [PDF]");
    host.exit(2);
}
const database = host.args[0];
const layout = host.args[1];
const pdf = host.args[2];

const conn = host.createObject("ADODB.Connection");
conn.Open(database.includes("=") ? database : "Provider=SQLite;Data Source=" + database, "", "",
          -1);

const report = host.createControl("QORREPORT.QORReportCtrl.1", 0, 0, 200, 150);
if (report.LoadReport(layout) !== 1) {
    host.log("cannot load the report layout " + layout);
    host.exit(1);
}
if (report.BindReportToDatabase(conn) !== 1) {
    host.log("the layout's query does not open on " + database);
    host.exit(1);
}
report.SetItemValue("printed", "Printed " + new Date().toISOString().substring(0, 10));
if (pdf !== undefined) {
    host.dialogs.answer({print: pdf});
}
if (report.BeginPrint() !== 1) {
    host.log("no printer was chosen");
    host.exit(1);
}
report.Print();
report.EndPrint();
