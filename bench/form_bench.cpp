// The form control from its module over the one-million-row orders table: OpenForm of a
// design of 500 items up to the first complete paint, and Page Down refilling 200 columns; and
// OpenForm with a paint of 10,000 items lying on top of one another.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/control_bench.h"
#include "bench/large_orders.h"
#include "controls/common/design.h"
#include "platform/com/dispatch_call.h"
#include "platform/testing/input.h"

namespace {

constexpr CLSID kFormClsid = MakeGuid("{C9776D46-00B2-4382-B8B3-677E40134E7D}");
constexpr const char* kOrders = "SELECT * FROM orders";
const std::vector<std::string> kOrderFields{"order_id", "customer_id", "order_date", "ship_city",
                                            "amount",   "weight",      "paid",       "note"};

std::string SaveBenchDesign(const Design& design, const std::string& name) {
    std::string path =
        (std::filesystem::temp_directory_path() / (name + std::to_string(getpid()) + ".qor"))
            .string();
    WriteDesignFile(path, design);
    return path;
}

// Item i: a column bound to one of the order fields, or a static text.
DesignItem BenchItem(int i, const RECT& rect, bool column, std::size_t field) {
    DesignItem item;
    item.rect = rect;
    if (column) {
        item.kind = kColumn;
        item.name = kOrderFields[field % kOrderFields.size()];
        item.tabOrder = i + 1;
        item.backColor = 0x00FFFFFF;
        item.border = true;
    } else {
        item.text = "L" + std::to_string(i);
    }
    return item;
}

// Items in a grid over the 800 x 600 form, every columnsEvery-th one a column.
std::string WriteDesign(int items, int columnsEvery, const std::string& name) {
    Design design;
    for (int i = 0; i < items; ++i) {
        const int x = 4 + (i % 20) * 40;
        const int y = 4 + (i / 20) * 24;
        design.Insert(BenchItem(i, RECT{x, y, x + 38, y + 22}, i % columnsEvery == 0,
                                static_cast<std::size_t>(i)));
    }
    return SaveBenchDesign(design, name);
}

// Items all on one rectangle, alternately columns bound to a field and static texts.
std::string WriteOverlappingDesign(int items, const std::string& name) {
    Design design;
    for (int i = 0; i < items; ++i) {
        design.Insert(
            BenchItem(i, RECT{10, 10, 390, 40}, i % 2 == 0, static_cast<std::size_t>(i / 2)));
    }
    return SaveBenchDesign(design, name);
}

// A form control shown in a window of its own on the orders table of a database.
struct ShownForm : ShownControl {
    explicit ShownForm(const std::string& database)
        : ShownControl(QOR_FORM_MODULE, kFormClsid, SIZE{800, 600}),
          connection(OpenSqliteConnection(database)) {}

    bool Open(const std::string& design) {
        CComVariant result;
        return window != nullptr &&
               SUCCEEDED(InvokeDispatch(control.Get(), 1, DISPATCH_METHOD,
                                        {CComVariant(static_cast<IDispatch*>(connection.Get())),
                                         CComVariant(kOrders), CComVariant(design)},
                                        &result)) &&
               result.boolVal == VARIANT_TRUE;
    }

    CComPtr<_Connection> connection;
};

void MeasureOpen(benchmark::State& state, const std::string& database, const std::string& design) {
    ShownForm shown(database);
    for (auto _ : state) {
        if (!shown.Open(design)) {
            state.SkipWithError("the form did not open on the orders table");
            break;
        }
        shown.window->UpdateWindow();
    }
    std::filesystem::remove(design);
}

void BM_FormOpenToFirstPaint(benchmark::State& state) {
    MeasureOpen(state, LargeOrdersFile(), WriteDesign(500, 2, "qor_form_bench_open_"));
}
BENCHMARK(BM_FormOpenToFirstPaint)->Unit(benchmark::kMillisecond);

// The same over the 300 orders of the sample database: the form's own part of the open.
void BM_FormOpenToFirstPaintSampleOrders(benchmark::State& state) {
    MeasureOpen(state, QOR_SAMPLE_DB_BUILT, WriteDesign(500, 2, "qor_form_bench_open_"));
}
BENCHMARK(BM_FormOpenToFirstPaintSampleOrders)->Unit(benchmark::kMillisecond);

// 10,000 items on one rectangle, half of them columns filled from the first record: opening
// and painting stay linear in the number of items however much they overlap.
void BM_FormOpenToFirstPaint10000Overlapping(benchmark::State& state) {
    MeasureOpen(state, QOR_SAMPLE_DB_BUILT,
                WriteOverlappingDesign(10000, "qor_form_bench_overlapping_"));
}
BENCHMARK(BM_FormOpenToFirstPaint10000Overlapping)->Unit(benchmark::kMillisecond);

void BM_FormPageDown200Columns(benchmark::State& state) {
    const std::string design = WriteDesign(200, 1, "qor_form_bench_page_");
    ShownForm shown(LargeOrdersFile());
    if (!shown.Open(design)) {
        state.SkipWithError("the form did not open on the large orders table");
    }
    for (auto _ : state) {
        SendKey(*shown.window, VK_NEXT);
    }
    std::filesystem::remove(design);
}
BENCHMARK(BM_FormPageDown200Columns)->Unit(benchmark::kMillisecond);

}  // namespace
