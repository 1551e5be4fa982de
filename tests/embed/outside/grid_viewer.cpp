// grid_viewer DATABASE [--rows]: the customers of a SQLite file in a grid; with --rows it
// prints how many there are and the first name instead of showing the window.
#include <QApplication>
#include <cstdio>

#include "qor_grid_qt.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QorConnection connection;
    if (argc < 2 || !connection.open(argv[1])) {
        std::fprintf(stderr, "%s\n", qPrintable(connection.lastError()));
        return 1;
    }
    QorGrid grid;
    grid.resize(480, 320);
    grid.InsertColumn("name", "Name", 240, 1, 40, "", true, true, 0x000000, 0xFFFFFF);
    grid.InsertColumn("city", "City", 160, 1, 30, "", true, true, 0x000000, 0xFFFFFF);
    if (!grid.BindToDatabase(connection, "SELECT name, city FROM customers ORDER BY name")) {
        std::fprintf(stderr, "%s\n", qPrintable(grid.lastError()));
        return 1;
    }
    if (argc > 2) {
        long rows = 0;
        QString name;
        grid.GetRowCount(rows);
        grid.GetItemByName(0, "name", name);
        std::printf("%ld %s\n", rows, qPrintable(name));
        return 0;
    }
    grid.show();
    return QApplication::exec();
}
