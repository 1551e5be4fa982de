// The data-access objects on the one-million-row orders table of SQLite: opening a keyset
// cursor (time and memory), MoveLast with every field read, a page of 50 records, a bookmark
// seek with one field, and Find of a value near the end.
#include <benchmark/benchmark.h>

#include "bench/large_orders.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/ado/ado.h"
#include "platform/com/class_factory.h"
#include "platform/com/com_ptr.h"
#include "platform/com/com_variant.h"

namespace {

constexpr int kPageRecords = 50;
constexpr int kSeekTargets = 1000;

template <class T>
CComPtr<T> Create(const CLSID& clsid) {
    RegisterAdoClasses();
    CComPtr<T> object;
    CoCreateInstance(clsid, nullptr, CLSCTX_ALL, T::iid,
                     reinterpret_cast<void**>(object.ReleaseAndGetAddressOf()));
    return object;
}

CComPtr<_Connection> OpenConnection() {
    CComPtr<_Connection> connection = Create<_Connection>(CLSID_Connection);
    const CComBSTR text("Provider=SQLite;Data Source=" + LargeOrdersFile());
    if (connection == nullptr || FAILED(connection->Open(text.Get(), nullptr, nullptr, 0))) {
        return nullptr;
    }
    return connection;
}

// The whole table, or (ordered) in an order that is not the rowids', whose keys are then read
// one by one.
CComPtr<_Recordset> OpenOrders(const CComPtr<_Connection>& connection, bool ordered = false) {
    CComPtr<_Recordset> recordset = Create<_Recordset>(CLSID_Recordset);
    const CComVariant active(static_cast<IDispatch*>(connection.Get()));
    const char* sql =
        ordered ? "SELECT * FROM orders ORDER BY order_id DESC" : "SELECT * FROM orders";
    if (recordset == nullptr || FAILED(recordset->Open(CComVariant(sql), active, adOpenKeyset,
                                                       adLockOptimistic, adCmdText))) {
        return nullptr;
    }
    return recordset;
}

std::vector<CComPtr<Field>> AllFields(const CComPtr<_Recordset>& recordset) {
    CComPtr<Fields> fields;
    recordset->get_Fields(fields.ReleaseAndGetAddressOf());
    LONG count = 0;
    fields->get_Count(&count);
    std::vector<CComPtr<Field>> all(static_cast<std::size_t>(count));
    for (LONG i = 0; i < count; ++i) {
        fields->get_Item(CComVariant(static_cast<int>(i)),
                         all[static_cast<std::size_t>(i)].ReleaseAndGetAddressOf());
    }
    return all;
}

void ReadAll(const std::vector<CComPtr<Field>>& fields) {
    for (const CComPtr<Field>& field : fields) {
        CComVariant value;
        field->get_Value(&value);
        benchmark::DoNotOptimize(value);
    }
}

void BM_KeysetOpen(benchmark::State& state) {
    LargeOrdersFile();
    double growth = 0;
    const CComPtr<_Connection> connection = OpenConnection();
    for (auto _ : state) {
        const double before = StatusMegabytes("VmRSS:");
        const CComPtr<_Recordset> recordset = OpenOrders(connection, state.range(0) != 0);
        if (recordset == nullptr) {
            state.SkipWithError("the large orders table did not open");
            break;
        }
        // The first opening shows the growth; later ones reuse the memory it gave back.
        growth = std::max(growth, StatusMegabytes("VmRSS:") - before);
        state.PauseTiming();
        recordset->Close();
        state.ResumeTiming();
    }
    state.counters["rss_growth_MB"] = growth;
    state.counters["peak_MB"] = StatusMegabytes("VmHWM:");
}

// Each on a freshly opened recordset, so that no row is cached yet.
void BM_MoveLastReadAllFields(benchmark::State& state) {
    const CComPtr<_Connection> connection = OpenConnection();
    for (auto _ : state) {
        state.PauseTiming();
        const CComPtr<_Recordset> recordset = OpenOrders(connection);
        const std::vector<CComPtr<Field>> fields = AllFields(recordset);
        state.ResumeTiming();
        recordset->MoveLast();
        ReadAll(fields);
    }
}

// An open recordset with bookmarks spread at random over it, read again so that no row is
// cached when the measurement starts.
struct SpreadBookmarks {
    SpreadBookmarks() : connection(OpenConnection()), recordset(OpenOrders(connection)) {
        if (recordset == nullptr) {
            return;
        }
        LONG count = 0;
        recordset->get_RecordCount(&count);
        std::mt19937 random(42);
        std::uniform_int_distribution<LONG> position(1, count - kPageRecords);
        for (int i = 0; i < kSeekTargets; ++i) {
            recordset->put_AbsolutePosition(position(random));
            bookmarks.emplace_back();
            recordset->get_Bookmark(&bookmarks.back());
        }
        recordset->Requery(-1);
        fields = AllFields(recordset);
    }

    CComPtr<_Connection> connection;
    CComPtr<_Recordset> recordset;
    std::vector<CComVariant> bookmarks;
    std::vector<CComPtr<Field>> fields;
};

void BM_PageOf50(benchmark::State& state) {
    SpreadBookmarks spread;
    if (spread.recordset == nullptr) {
        state.SkipWithError("the large orders table did not open");
        return;
    }
    std::size_t target = 0;
    for (auto _ : state) {
        spread.recordset->put_Bookmark(spread.bookmarks[target++ % spread.bookmarks.size()]);
        for (int record = 0; record < kPageRecords; ++record) {
            ReadAll(spread.fields);
            spread.recordset->MoveNext();
        }
    }
    state.SetItemsProcessed(state.iterations() * kPageRecords);
}

// Each seek to a record at random, whose rows are not cached yet.
void BM_BookmarkSeekOneField(benchmark::State& state) {
    SpreadBookmarks spread;
    if (spread.recordset == nullptr) {
        state.SkipWithError("the large orders table did not open");
        return;
    }
    CComPtr<Fields> fields;
    spread.recordset->get_Fields(fields.ReleaseAndGetAddressOf());
    const CComVariant name("ship_city");
    std::size_t target = 0;
    for (auto _ : state) {
        spread.recordset->put_Bookmark(spread.bookmarks[target++ % spread.bookmarks.size()]);
        CComPtr<Field> field;
        fields->get_Item(name, field.ReleaseAndGetAddressOf());
        CComVariant value;
        field->get_Value(&value);
        benchmark::DoNotOptimize(value);
    }
}

// The same over 50 bookmarks, as a grid returns to the records it showed: their rows stay
// cached.
void BM_BookmarkSeekOneFieldRevisited(benchmark::State& state) {
    SpreadBookmarks spread;
    if (spread.recordset == nullptr) {
        state.SkipWithError("the large orders table did not open");
        return;
    }
    CComPtr<Fields> fields;
    spread.recordset->get_Fields(fields.ReleaseAndGetAddressOf());
    const CComVariant name("ship_city");
    std::size_t target = 0;
    for (auto _ : state) {
        spread.recordset->put_Bookmark(spread.bookmarks[target++ % kPageRecords]);
        CComPtr<Field> field;
        fields->get_Item(name, field.ReleaseAndGetAddressOf());
        CComVariant value;
        field->get_Value(&value);
        benchmark::DoNotOptimize(value);
    }
}

void BM_FindNearTheEnd(benchmark::State& state) {
    const CComPtr<_Connection> connection = OpenConnection();
    const CComPtr<_Recordset> recordset = OpenOrders(connection);
    if (recordset == nullptr) {
        state.SkipWithError("the large orders table did not open");
        return;
    }
    LONG count = 0;
    recordset->get_RecordCount(&count);
    const CComBSTR criteria(state.range(0) == 0 ? "order_id = " + std::to_string(count - 10)
                                                : std::string("ship_city = 'Nowhere'"));
    for (auto _ : state) {
        recordset->MoveFirst();
        recordset->Find(criteria.Get(), 0, adSearchForward, CComVariant::Missing());
    }
}

}  // namespace

BENCHMARK(BM_KeysetOpen)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->Iterations(5);
BENCHMARK(BM_MoveLastReadAllFields)->Unit(benchmark::kMicrosecond)->Iterations(5);
BENCHMARK(BM_PageOf50)->Unit(benchmark::kMicrosecond)->Iterations(kSeekTargets);
BENCHMARK(BM_BookmarkSeekOneField)->Unit(benchmark::kMicrosecond)->Iterations(kSeekTargets);
BENCHMARK(BM_BookmarkSeekOneFieldRevisited)->Unit(benchmark::kMicrosecond)->Iterations(20000);
BENCHMARK(BM_FindNearTheEnd)->Unit(benchmark::kMillisecond)->Arg(0)->Arg(1)->Iterations(3);
