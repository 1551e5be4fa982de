// Qt's table view over its SQL table model as the peer of the grid on the one-million-row orders
// table, in an 800 x 600 window: the time to the first painted page, the time to show the last
// row (fetching until the end, as the model must to reach it) and the memory each takes.
#include <benchmark/benchmark.h>

#include "bench/large_orders.h"

#include <QApplication>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlTableModel>
#include <QString>
#include <QTableView>
#include <algorithm>
#include <memory>

namespace {

const QString kConnectionName = QStringLiteral("qor_grid_peer_bench");

// The view over the orders table, shown at the grid's size; the model selects at once.
struct OrdersView {
    OrdersView() {
        QSqlDatabase database =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
        database.setDatabaseName(QString::fromStdString(LargeOrdersFile()));
        ok = database.open();
        model = std::make_unique<QSqlTableModel>(nullptr, database);
        model->setTable(QStringLiteral("orders"));
        ok = ok && model->select();
        view.setModel(model.get());
        view.resize(800, 600);
        view.show();
    }
    OrdersView(const OrdersView&) = delete;
    OrdersView& operator=(const OrdersView&) = delete;
    ~OrdersView() {
        view.setModel(nullptr);
        model.reset();
        QSqlDatabase::removeDatabase(kConnectionName);
    }

    // Paints the view as a person would see it.
    void Paint() {
        QImage image = view.grab().toImage();
        benchmark::DoNotOptimize(image);
    }

    std::unique_ptr<QSqlTableModel> model;
    QTableView view;
    bool ok = false;
};

void Measure(benchmark::State& state, bool toLastRow) {
    LargeOrdersFile();
    double growth = 0;
    for (auto _ : state) {
        const double before = StatusMegabytes("VmRSS:");
        OrdersView orders;
        if (!orders.ok) {
            state.SkipWithError("the large orders table did not open");
            return;
        }
        if (toLastRow) {
            while (orders.model->canFetchMore()) {
                orders.model->fetchMore();
            }
            orders.view.scrollToBottom();
        }
        orders.Paint();
        growth = std::max(growth, StatusMegabytes("VmRSS:") - before);
    }
    state.counters["rss_growth_MB"] = growth;
}

void BM_QtTableFirstPaintedPage(benchmark::State& state) {
    Measure(state, false);
}

void BM_QtTableShowLastRow(benchmark::State& state) {
    Measure(state, true);
}

}  // namespace

BENCHMARK(BM_QtTableFirstPaintedPage)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QtTableShowLastRow)->Unit(benchmark::kMillisecond)->Iterations(1);
