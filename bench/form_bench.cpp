// The form control from its module over the one-million-row orders table: OpenForm of a
// design of 500 items up to the first complete paint, and Page Down refilling 200 columns; and
// OpenForm with a paint of 10,000 items lying on top of one another.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/large_orders.h"
#include "controls/common/design.h"
#include "platform/ado/ado.h"
#include "platform/com/bstr.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/testing/input.h"
#include "platform/ui/ole_object.h"

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

CComPtr<IDispatch> CreateFormFromModule() {
    CComPtr<IDispatch> form;
    void* module = nullptr;
    if (FAILED(CoLoadModule(QOR_FORM_MODULE, &module))) {
        return form;
    }
    const auto getClassObject = reinterpret_cast<DllGetClassObjectFunction>(  // NOLINT: export
        CoModuleSymbol(module, "DllGetClassObject"));
    CComPtr<IClassFactory> factory;
    if (getClassObject == nullptr ||
        FAILED(getClassObject(kFormClsid, IID_IClassFactory,
                              reinterpret_cast<void**>(factory.ReleaseAndGetAddressOf())))) {
        return form;
    }
    factory->CreateInstance(nullptr, IDispatch::iid,
                            reinterpret_cast<void**>(form.ReleaseAndGetAddressOf()));
    return form;
}

CComPtr<_Connection> OpenDatabase(const std::string& path) {
    CComPtr<_Connection> connection;
    if (FAILED(RegisterAdoClasses()) ||
        FAILED(CoCreateInstance(CLSID_Connection, nullptr, CLSCTX_ALL, IID__Connection,
                                reinterpret_cast<void**>(connection.ReleaseAndGetAddressOf())))) {
        return connection;
    }
    const CComBSTR text("Provider=SQLite;Data Source=" + path);
    const CComBSTR none;
    if (FAILED(connection->Open(text.Get(), none.Get(), none.Get(), 0))) {
        connection.Release();
    }
    return connection;
}

// A form control shown in a window of its own on the orders table of a database.
struct ShownForm {
    explicit ShownForm(const std::string& database) : connection(OpenDatabase(database)) {
        container.Create(nullptr, RECT{0, 0, 800, 600});
        form = CreateFormFromModule();
        if (form && SUCCEEDED(ComQueryInterface(form.Get(), ole)) &&
            SUCCEEDED(ole->DoVerb(OLEIVERB_SHOW, &container, RECT{0, 0, 800, 600}))) {
            ole->GetControlWindow(&window);
        }
    }
    ShownForm(const ShownForm&) = delete;
    ShownForm& operator=(const ShownForm&) = delete;
    ~ShownForm() {
        if (ole) {
            ole->Close();
        }
    }

    bool Open(const std::string& design) {
        CComVariant result;
        return window != nullptr &&
               SUCCEEDED(InvokeDispatch(form.Get(), 1, DISPATCH_METHOD,
                                        {CComVariant(static_cast<IDispatch*>(connection.Get())),
                                         CComVariant(kOrders), CComVariant(design)},
                                        &result)) &&
               result.boolVal == VARIANT_TRUE;
    }

    CComPtr<_Connection> connection;
    CWnd container;
    CComPtr<IDispatch> form;
    CComPtr<IOleObject> ole;
    CWnd* window = nullptr;
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
