// Qt's SQL module as the peer of the data layer on the one-million-row orders table: opening a
// scrollable query of the whole table and reading the last row's fields, a page of 50 rows and
// a seek with one field, the same measurements data_recordset_bench makes.
#include <benchmark/benchmark.h>

#include "bench/large_orders.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int kPageRows = 50;
constexpr int kSeekTargets = 50;
const QString kConnectionName = QStringLiteral("qor_peer_bench");

QSqlDatabase OpenDatabase(const QString& name) {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    database.setDatabaseName(QString::fromStdString(LargeOrdersFile()));
    database.open();
    return database;
}

// A query that can move both ways over the whole table, executed.
bool RunScrollableQuery(QSqlQuery& query) {
    query.setForwardOnly(false);
    return query.exec(QStringLiteral("SELECT * FROM orders"));
}

void ReadAllFields(const QSqlQuery& query, int fieldCount) {
    for (int i = 0; i < fieldCount; ++i) {
        QString text = query.value(i).toString();
        benchmark::DoNotOptimize(text);
    }
}

void BM_QtSqlOpenReadLast(benchmark::State& state) {
    LargeOrdersFile();
    // The first iteration shows the growth; later ones reuse the memory the first gave back.
    const double start = StatusMegabytes("VmRSS:");
    double growth = 0;
    bool failed = false;
    for (auto _ : state) {
        const double before = StatusMegabytes("VmRSS:");
        {
            const QSqlDatabase database = OpenDatabase(kConnectionName);
            QSqlQuery query(database);
            if (!database.isOpen() || !RunScrollableQuery(query) || !query.last()) {
                failed = true;
            } else {
                ReadAllFields(query, query.record().count());
                growth = std::max(growth, StatusMegabytes("VmRSS:") - before);
            }
        }
        QSqlDatabase::removeDatabase(kConnectionName);
        if (failed) {
            state.SkipWithError("the large orders table did not open");
            break;
        }
    }
    state.counters["rss_start_MB"] = start;
    state.counters["rss_growth_MB"] = growth;
    state.counters["peak_MB"] = StatusMegabytes("VmHWM:");
}

// One executed query scrolled to its end once, so that every row can be reached. Each of the
// page and seek measurements opens its own and runs a fixed number of iterations, so that this
// happens once.
struct OpenOrders {
    OpenOrders() : database(OpenDatabase(kConnectionName)), query(database) {
        ok = database.isOpen() && RunScrollableQuery(query) && query.last();
        rows = ok ? query.at() + 1 : 0;
        fieldCount = query.record().count();
    }
    OpenOrders(const OpenOrders&) = delete;
    OpenOrders& operator=(const OpenOrders&) = delete;
    // The connection name is free again for the next measurement.
    ~OpenOrders() {
        query = QSqlQuery();
        database = QSqlDatabase();
        QSqlDatabase::removeDatabase(kConnectionName);
    }

    QSqlDatabase database;
    QSqlQuery query;
    int rows = 0;
    int fieldCount = 0;
    bool ok = false;
};

void BM_QtSqlPage(benchmark::State& state) {
    OpenOrders orders;
    if (!orders.ok) {
        state.SkipWithError("the large orders table did not open");
        return;
    }
    const int step = orders.rows / kSeekTargets;
    int target = 0;
    for (auto _ : state) {
        orders.query.seek((target++ % kSeekTargets) * step);
        for (int row = 0; row < kPageRows; ++row) {
            ReadAllFields(orders.query, orders.fieldCount);
            orders.query.next();
        }
    }
    state.SetItemsProcessed(state.iterations() * kPageRows);
}

void BM_QtSqlSeek(benchmark::State& state) {
    OpenOrders orders;
    if (!orders.ok) {
        state.SkipWithError("the large orders table did not open");
        return;
    }
    const int step = orders.rows / kSeekTargets;
    const int shipCity = orders.query.record().indexOf(QStringLiteral("ship_city"));
    int target = 0;
    for (auto _ : state) {
        orders.query.seek((target++ % kSeekTargets) * step);
        QString text = orders.query.value(shipCity).toString();
        benchmark::DoNotOptimize(text);
    }
}

}  // namespace

BENCHMARK(BM_QtSqlOpenReadLast)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QtSqlPage)->Unit(benchmark::kMicrosecond)->Iterations(500);
BENCHMARK(BM_QtSqlSeek)->Unit(benchmark::kMicrosecond)->Iterations(20000);
