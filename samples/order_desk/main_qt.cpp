// order_desk [--tour FOLDER] [DATA_SOURCE]: the order desk over the sample database, or over the
// SQLite file or connection string given. With --tour it walks its scripted tour, leaves the
// picture and the PDFs in the folder and exits.
#include <QApplication>

#include "platform/gdi/fonts.h"
#include "samples/order_desk/desk_tour_qt.h"
#include "samples/order_desk/order_desk_qt.h"

int main(int argc, char** argv) {
    PrepareFontConfiguration();
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    QString tour;
    if (args.size() >= 2 && args.front() == QStringLiteral("--tour")) {
        tour = args[1];
        args = args.mid(2);
    }
    COrderDesk desk(OrderDeskFiles{QStringLiteral(QOR_DESK_SAMPLES "/customers.qor"),
                                   QStringLiteral(QOR_DESK_SAMPLES "/customers.rpt")});
    if (!desk.Open(args.value(0, QStringLiteral(QOR_DESK_SAMPLES "/sample.db")))) {
        return 1;
    }
    if (!tour.isEmpty()) {
        return RunDeskTour(desk, tour) ? 0 : 1;
    }
    desk.show();
    return QApplication::exec();
}
