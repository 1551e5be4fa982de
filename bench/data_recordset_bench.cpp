// The recordset wrapper on the one-million-row orders table: opening and reading the last
// record's texts, a page of 50 records, and a bookmark seek with one field, beside
// ado_peer_bench_qt, which does the same through Qt's SQL module.
#include <benchmark/benchmark.h>

#include "bench/large_orders.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "controls/common/data_connection.h"
#include "controls/common/data_recordset.h"

namespace {

constexpr int kPageRecords = 50;
constexpr int kSeekTargets = 50;

std::string ConnectionString() {
    return "Provider=SQLite;Data Source=" + LargeOrdersFile();
}

void ReadAllFields(CDataRecordset& recordset, int fieldCount) {
    std::string text;
    for (int i = 0; i < fieldCount; ++i) {
        recordset.GetFieldText(i, text);
        benchmark::DoNotOptimize(text);
    }
}

void BM_DataRecordsetOpenReadLast(benchmark::State& state) {
    LargeOrdersFile();
    // The first iteration shows the growth; later ones reuse the memory the first gave back.
    const double start = StatusMegabytes("VmRSS:");
    double growth = 0;
    for (auto _ : state) {
        const double before = StatusMegabytes("VmRSS:");
        CDataConnection connection;
        CDataRecordset recordset(connection);
        int fieldCount = 0;
        if (!connection.Open(ConnectionString()) || !recordset.Open("SELECT * FROM orders") ||
            !recordset.MoveLast() || !recordset.GetFieldCount(fieldCount)) {
            state.SkipWithError("the large orders table did not open");
            break;
        }
        ReadAllFields(recordset, fieldCount);
        growth = std::max(growth, StatusMegabytes("VmRSS:") - before);
    }
    state.counters["rss_start_MB"] = start;
    state.counters["rss_growth_MB"] = growth;
    state.counters["peak_MB"] = StatusMegabytes("VmHWM:");
}

// One open recordset and bookmarks spread over it, for the page and seek measurements. Each
// of them opens its own and runs a fixed number of iterations, so that this happens once.
struct OpenOrders {
    OpenOrders() {
        ok = connection.Open(ConnectionString()) && recordset.Open("SELECT * FROM orders") &&
             recordset.GetFieldCount(fieldCount) && CollectBookmarks();
    }
    bool CollectBookmarks() {
        LONG count = 0;
        if (!recordset.GetRecordCount(count) || !recordset.MoveFirst()) {
            return false;
        }
        const LONG step = count / kSeekTargets;
        for (LONG record = 0; record < count && bookmarks.size() < kSeekTargets; ++record) {
            if (record % step == 0) {
                bookmarks.emplace_back();
                recordset.GetBookmark(bookmarks.back());
            }
            recordset.MoveNext();
        }
        return bookmarks.size() == kSeekTargets;
    }

    CDataConnection connection;
    CDataRecordset recordset{connection};
    int fieldCount = 0;
    std::vector<CComVariant> bookmarks;
    bool ok = false;
};

void BM_DataRecordsetPage(benchmark::State& state) {
    OpenOrders orders;
    if (!orders.ok) {
        state.SkipWithError("the large orders table did not open");
        return;
    }
    std::size_t target = 0;
    for (auto _ : state) {
        orders.recordset.SetBookmark(orders.bookmarks[target++ % orders.bookmarks.size()]);
        for (int row = 0; row < kPageRecords; ++row) {
            ReadAllFields(orders.recordset, orders.fieldCount);
            orders.recordset.MoveNext();
        }
    }
    state.SetItemsProcessed(state.iterations() * kPageRecords);
}

void BM_DataRecordsetBookmarkSeek(benchmark::State& state) {
    OpenOrders orders;
    if (!orders.ok) {
        state.SkipWithError("the large orders table did not open");
        return;
    }
    std::size_t target = 0;
    std::string text;
    for (auto _ : state) {
        orders.recordset.SetBookmark(orders.bookmarks[target++ % orders.bookmarks.size()]);
        orders.recordset.GetFieldText("ship_city", text);
        benchmark::DoNotOptimize(text);
    }
}

}  // namespace

BENCHMARK(BM_DataRecordsetOpenReadLast)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DataRecordsetPage)->Unit(benchmark::kMicrosecond)->Iterations(500);
BENCHMARK(BM_DataRecordsetBookmarkSeek)->Unit(benchmark::kMicrosecond)->Iterations(20000);
