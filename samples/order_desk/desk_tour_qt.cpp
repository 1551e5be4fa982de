// The desk's scripted tour: the clerk's keys and clicks through the toolkit's own events,
// printers chosen by the scripted dialog service.
#include "samples/order_desk/desk_tour_qt.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"
#include "samples/order_desk/order_desk_qt.h"

namespace {

// Points on the first two rows of the list, below its header line.
constexpr POINT kFirstRow{60, 32};
constexpr POINT kSecondRow{60, 50};

}  // namespace

bool RunDeskTour(COrderDesk& desk, const QString& folder) {
    QDir().mkpath(folder);
    const QDir out(folder);
    ScopedScriptedDialogs dialogs;
    desk.show();
    QApplication::processEvents();
    CWnd& list = *desk.Customers().controlWindow();
    SendClick(list, kFirstRow, FCONTROL);
    SendClick(list, kSecondRow, FCONTROL);
    for (int step = 0; step < 3; ++step) {
        SendKey(list, VK_DOWN);
    }
    SendKey(*desk.Orders().controlWindow(), VK_NEXT);
    QApplication::processEvents();
    desk.grab().save(out.filePath("order_desk.png"));
    dialogs->PushPrintToFile(out.filePath("invoice.pdf").toStdString());
    desk.PrintInvoice();
    dialogs->PushPrintToFile(out.filePath("customers.pdf").toStdString());
    desk.PrintCustomerList();
    for (const char* name : {"order_desk.png", "invoice.pdf", "customers.pdf"}) {
        if (!QFileInfo::exists(out.filePath(name))) {
            return false;
        }
    }
    return true;
}
