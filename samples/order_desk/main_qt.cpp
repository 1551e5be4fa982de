// order_desk [DATA_SOURCE]: the order desk over the sample database, or over the SQLite file or
// connection string given.
#include <QApplication>
#include <QDir>

#include "platform/gdi/fonts.h"
#include "samples/order_desk/order_desk_qt.h"

int main(int argc, char** argv) {
    PrepareFontConfiguration();
    QApplication app(argc, argv);
    COrderDesk desk(OrderDeskFiles{QStringLiteral(QOR_DESK_SAMPLES "/customers.qor"),
                                   QStringLiteral(QOR_DESK_SAMPLES "/customers.rpt")});
    const QString source =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(QOR_DESK_SAMPLES "/sample.db");
    if (!desk.Open(source)) {
        return 1;
    }
    desk.show();
    return QApplication::exec();
}
