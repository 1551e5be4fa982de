// qor-order-desk [--tour FOLDER] [DATA_SOURCE]: the order desk over the user's copy of the
// sample database, or over the SQLite file or connection string given. With --tour it walks its
// scripted tour, leaves the picture and the PDFs in the folder and exits.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <cstdio>

#include "platform/gdi/fonts.h"
#include "samples/order_desk/desk_tour_qt.h"
#include "samples/order_desk/order_desk_qt.h"

namespace {

// Installed, the samples lie under share/qor beside the program's bin folder; a build that is
// not installed uses the build tree's.
QString SamplesFolder() {
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/qor/samples");
    return QFileInfo(installed + "/sample.db").isFile() ? installed
                                                        : QStringLiteral(QOR_DESK_SAMPLES);
}

// The desk writes the clerk's edits, so it works on the user's own copy of the sample
// database (the one scripts/demo prepares), made on first use; empty when it cannot be made.
QString UserSampleDatabase(const QString& samples, const QString& folder) {
    QString copy = folder + "/order-desk.db";
    if (QFileInfo::exists(copy)) {
        return copy;
    }
    if (!QDir().mkpath(folder) || !QFile::copy(samples + "/sample.db", copy)) {
        return {};
    }
    // The installed original is read-only; the copy is the user's to change.
    QFile::setPermissions(copy, QFile::permissions(copy) | QFileDevice::WriteOwner);
    return copy;
}

int Fail(const QString& text, bool quiet) {
    std::fprintf(stderr, "qor-order-desk: %s\n", qPrintable(text));
    if (!quiet) {
        QMessageBox::critical(nullptr, QStringLiteral("Order Desk"), text);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    PrepareFontConfiguration();
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    QString tour;
    if (args.size() >= 2 && args.front() == QStringLiteral("--tour")) {
        tour = args[1];
        args = args.mid(2);
    }
    const QString samples = SamplesFolder();
    const QString userData =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/qor";
    const QString source = args.isEmpty() ? UserSampleDatabase(samples, userData) : args.front();
    if (source.isEmpty()) {
        return Fail(QStringLiteral("cannot copy the sample database %1/sample.db to %2")
                        .arg(samples, userData),
                    !tour.isEmpty());
    }
    const CProgramSettings settings("qor-order-desk");
    COrderDesk desk(OrderDeskFiles{samples + "/customers.qor", samples + "/customers.rpt"});
    // A scripted tour leaves the clerk's window and list as they were.
    desk.UseSettings(tour.isEmpty() ? &settings : nullptr);
    if (!desk.Open(source)) {
        return Fail(
            QStringLiteral("cannot open %1: %2").arg(source, desk.statusBar()->currentMessage()),
            !tour.isEmpty());
    }
    if (!tour.isEmpty()) {
        return RunDeskTour(desk, tour) ? 0 : 1;
    }
    desk.show();
    return QApplication::exec();
}
