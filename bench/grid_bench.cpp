// The grid control from its module over the one-million-row orders table in an 800 x 600
// window: binding to the first complete paint, End, Page Down, FindRow near the end, the time
// to show the last row and the memory they take; and the paint of a 1920 x 1080 grid of 20
// columns, of one cell and of one typed character; and printing the first 100,000 orders to a
// PDF. grid_peer_bench_qt measures the peer.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bench/control_bench.h"
#include "bench/large_orders.h"
#include "controls/common/edit_style.h"
#include "controls/grid/grid_ctrl.h"
#include "platform/com/dispatch_call.h"
#include "platform/testing/input.h"

namespace {

constexpr CLSID kGridClsid = MakeGuid("{5E0B7C2A-8D14-4F63-9A27-3C61B84E1D05}");
constexpr SIZE kOrdersWindow{800, 600};
constexpr SIZE kLargeWindow{1920, 1080};
constexpr const char* kOrders = "SELECT * FROM orders";
constexpr const char* kFirstOrders = "SELECT * FROM orders WHERE order_id <= 100000";
constexpr const char* kLastOrderId = "1000000";
constexpr const char* kOrderNearEnd = "999990";
constexpr int kPageDowns = 100;
constexpr int kLargeColumns = 20;
constexpr int kLargeRows = 60;

// Dispatch ids of _DQORGrid.
constexpr DISPID kInsertColumn = 1;
constexpr DISPID kAddRow = 2;
constexpr DISPID kSetItem = 3;
constexpr DISPID kGetItemByName = 6;
constexpr DISPID kGetCurrentRow = 9;
constexpr DISPID kFindRow = 12;
constexpr DISPID kBindToDatabase = 22;
constexpr DISPID kPrint = 31;

struct ColumnDefinition {
    const char* name;
    int width;
    EditStyle style;
    int maxSize;
    const char* mask;
};

// The orders fields as a clerk's grid shows them, and two columns without a field.
const std::vector<ColumnDefinition> kOrderColumns{
    {"order_id", 60, EditStyle::Text, 10, ""},
    {"customer_id", 70, EditStyle::Numeric, 6, "6,0"},
    {"order_date", 80, EditStyle::Date, 10, "##/##/####"},
    {"ship_city", 100, EditStyle::List, 30, ""},
    {"amount", 80, EditStyle::Numeric, 12, "9,2"},
    {"weight", 60, EditStyle::Numeric, 8, "4,3"},
    {"paid", 40, EditStyle::CheckBox, 1, ""},
    {"note", 150, EditStyle::Text, 60, ""},
    {"checked_by", 70, EditStyle::Text, 20, ""},
    {"remark", 80, EditStyle::Text, 40, ""},
};

// The grid control shown in a window of its own, driven through its dispatch interface.
struct ShownGrid : ShownControl {
    explicit ShownGrid(SIZE size) : ShownControl(QOR_GRID_MODULE, kGridClsid, size) {}

    CComVariant Call(DISPID id, const std::vector<CComVariant>& args) {
        CComVariant result;
        if (FAILED(InvokeDispatch(control.Get(), id, DISPATCH_METHOD, args, &result))) {
            result.Clear();
        }
        return result;
    }

    bool Insert(const ColumnDefinition& column) {
        const CComVariant index =
            Call(kInsertColumn,
                 {CComVariant(column.name), CComVariant(column.name), CComVariant(column.width),
                  CComVariant(CodeOf(column.style)), CComVariant(column.maxSize),
                  CComVariant(column.mask), CComVariant(true), CComVariant(true), CComVariant(0U),
                  CComVariant(0x00FFFFFFU)});
        return index.vt == VT_I4 && index.lVal >= 0;
    }

    bool InsertOrderColumns() {
        bool inserted = window != nullptr;
        for (const ColumnDefinition& column : kOrderColumns) {
            inserted = inserted && Insert(column);
        }
        return inserted;
    }

    bool Bind(_Connection* connection, const char* sql = kOrders) {
        const CComVariant bound = Call(
            kBindToDatabase, {CComVariant(static_cast<IDispatch*>(connection)), CComVariant(sql)});
        return bound.vt == VT_BOOL && bound.boolVal == VARIANT_TRUE;
    }

    // The text of the current row's cell of the named column; empty without a current row.
    std::string CurrentText(const char* column) {
        const CComVariant row = Call(kGetCurrentRow, {});
        CComVariant text;
        Call(kGetItemByName, {row, CComVariant(column), CComVariant::ByReference(&text)});
        return text.vt == VT_BSTR ? std::string(text.Text()) : std::string();
    }

    // A key as the user presses it, and the paint it leaves to do.
    void Press(UINT vk) {
        SendKey(*window, vk);
        window->UpdateWindow();
    }
    void FullPaint() {
        window->Invalidate();
        window->UpdateWindow();
    }
};

// The grid of the orders columns bound to the large orders table and painted.
struct BoundOrdersGrid : ShownGrid {
    explicit BoundOrdersGrid(const char* sql = kOrders)
        : ShownGrid(kOrdersWindow), connection(OpenSqliteConnection(LargeOrdersFile())) {
        bound = connection && InsertOrderColumns() && Bind(connection.Get(), sql);
        if (bound) {
            window->UpdateWindow();
        }
    }

    CComPtr<_Connection> connection;
    bool bound = false;
};

// The resident size with the heap's free pages given back, so that memory freed by an earlier
// measurement does not hide what the next one takes.
double TrimmedResidentMegabytes() {
    malloc_trim(0);
    return StatusMegabytes("VmRSS:");
}

// The module loaded and its first grid made before memory is measured, as the peer's toolkit
// is loaded before its own.
void LoadGridModule() {
    static const bool loaded = [] {
        const ShownGrid grid(kOrdersWindow);
        return grid.window != nullptr;
    }();
    benchmark::DoNotOptimize(loaded);
}

// Whether the keys move through the records: the grid's keyboard may not be there.
bool KeysMoveTheGrid(BoundOrdersGrid& grid, benchmark::State& state) {
    const std::string first = grid.CurrentText("order_id");
    grid.Press(VK_NEXT);
    const bool moved = grid.CurrentText("order_id") != first;
    grid.Press(VK_HOME);
    if (!moved) {
        state.SkipWithError("Page Down does not move the grid: its keyboard is not built");
    }
    return moved;
}

void BM_GridShowLastRow(benchmark::State& state) {
    LoadGridModule();
    double growth = 0;
    for (auto _ : state) {
        const double before = TrimmedResidentMegabytes();
        BoundOrdersGrid grid;
        grid.Press(VK_END);
        if (!grid.bound || grid.CurrentText("order_id") != kLastOrderId) {
            state.SkipWithError("End did not show the last order");
            break;
        }
        growth = std::max(growth, StatusMegabytes("VmRSS:") - before);
    }
    state.counters["rss_growth_MB"] = growth;
}
BENCHMARK(BM_GridShowLastRow)->Unit(benchmark::kMillisecond)->Iterations(1);

// Bind, 100 Page Downs and End, each with its paint: paging keeps a page of rows, not the
// rows paged through.
void BM_GridRssAfterPaging(benchmark::State& state) {
    LoadGridModule();
    double growth = 0;
    for (auto _ : state) {
        const double before = TrimmedResidentMegabytes();
        BoundOrdersGrid grid;
        for (int i = 0; i < kPageDowns; ++i) {
            grid.Press(VK_NEXT);
        }
        grid.Press(VK_END);
        growth = std::max(growth, StatusMegabytes("VmRSS:") - before);
    }
    state.counters["rss_growth_MB"] = growth;
}
BENCHMARK(BM_GridRssAfterPaging)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_GridBindToFirstPaint(benchmark::State& state) {
    ShownGrid grid(kOrdersWindow);
    const CComPtr<_Connection> connection = OpenSqliteConnection(LargeOrdersFile());
    if (!connection || !grid.InsertOrderColumns()) {
        state.SkipWithError("the grid or the large orders table is missing");
        return;
    }
    for (auto _ : state) {
        if (!grid.Bind(connection.Get())) {
            state.SkipWithError("the grid did not bind to the orders table");
            break;
        }
        grid.window->UpdateWindow();
    }
}
BENCHMARK(BM_GridBindToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_GridEnd(benchmark::State& state) {
    BoundOrdersGrid grid;
    if (!grid.bound || !KeysMoveTheGrid(grid, state)) {
        return;
    }
    for (auto _ : state) {
        grid.Press(VK_END);
        state.PauseTiming();
        grid.Press(VK_HOME);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridEnd)->Unit(benchmark::kMillisecond);

// One Page Down per iteration, 100 in a row from the first record.
void BM_GridPageDown(benchmark::State& state) {
    BoundOrdersGrid grid;
    if (!grid.bound || !KeysMoveTheGrid(grid, state)) {
        return;
    }
    for (auto _ : state) {
        grid.Press(VK_NEXT);
    }
}
BENCHMARK(BM_GridPageDown)->Unit(benchmark::kMillisecond)->Iterations(kPageDowns);

// Each search starts from a freshly bound grid, made while the clock is stopped.
void BM_GridFindRowNearEnd(benchmark::State& state) {
    std::unique_ptr<BoundOrdersGrid> grid;
    for (auto _ : state) {
        state.PauseTiming();
        grid.reset();
        grid = std::make_unique<BoundOrdersGrid>();
        state.ResumeTiming();
        const CComVariant found = grid->Call(
            kFindRow, {CComVariant("order_id"), CComVariant(kOrderNearEnd), CComVariant(true)});
        grid->window->UpdateWindow();
        if (!grid->bound || found.vt != VT_BOOL || found.boolVal != VARIANT_TRUE) {
            state.SkipWithError("FindRow did not find the order near the end");
            break;
        }
    }
}
BENCHMARK(BM_GridFindRowNearEnd)->Unit(benchmark::kMillisecond)->Iterations(5);

// An unbound 1920 x 1080 grid of 20 columns with every visible row filled.
struct LargeGrid : ShownGrid {
    LargeGrid() : ShownGrid(kLargeWindow) {
        bool filled = window != nullptr;
        for (int c = 0; c < kLargeColumns && filled; ++c) {
            const std::string name = "Column" + std::to_string(c);
            filled = Insert({name.c_str(), 95, EditStyle::Text, 40, ""});
        }
        for (int r = 0; r < kLargeRows && filled; ++r) {
            const CComVariant row = Call(kAddRow, {CComVariant(-1)});
            for (int c = 0; c < kLargeColumns; ++c) {
                Call(kSetItem, {row, CComVariant(c),
                                CComVariant("Item " + std::to_string(r * kLargeColumns + c))});
            }
        }
        if (filled) {
            ActivateWindow(*window);
            window->SetFocus();
            FullPaint();
        }
        ready = filled;
    }

    bool ready = false;
};

void BM_GridFullPaint1920x1080(benchmark::State& state) {
    LargeGrid grid;
    if (!grid.ready) {
        state.SkipWithError("the grid could not be filled");
        return;
    }
    for (auto _ : state) {
        grid.FullPaint();
    }
}
BENCHMARK(BM_GridFullPaint1920x1080)->Unit(benchmark::kMillisecond);

// The current cell redrawn, highlighted with its caret, as every move and keystroke does.
void BM_GridOneCellRedrawn(benchmark::State& state) {
    LargeGrid grid;
    if (!grid.ready) {
        state.SkipWithError("the grid could not be filled");
        return;
    }
    auto& control = static_cast<CQORGridCtrl&>(*grid.window);  // NOLINT: the module's class
    for (auto _ : state) {
        control.PaintCurrentCell(true);
    }
}
BENCHMARK(BM_GridOneCellRedrawn)->Unit(benchmark::kMicrosecond);

// A character typed and taken back with Backspace, each a real key with its cell redraw and
// caret: the time is per keystroke.
void BM_GridTypedCharacter(benchmark::State& state) {
    LargeGrid grid;
    if (!grid.ready) {
        state.SkipWithError("the grid could not be filled");
        return;
    }
    const std::string before = grid.CurrentText("Column0");
    TypeText(*grid.window, "x");
    if (grid.CurrentText("Column0") == before) {
        state.SkipWithError("typing does not change the cell: the grid's keyboard is not built");
        return;
    }
    SendKey(*grid.window, VK_BACK, 0, "\b");
    for (auto _ : state) {
        TypeText(*grid.window, "x");
        grid.window->UpdateWindow();
        SendKey(*grid.window, VK_BACK, 0, "\b");
        grid.window->UpdateWindow();
    }
    state.counters["per_keystroke"] = benchmark::Counter(
        2.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GridTypedCharacter)->Unit(benchmark::kMicrosecond);

// The bound grid printing every record of its query, read as it prints, to a PDF.
void BM_GridPrintBound100000ToPdf(benchmark::State& state) {
    BoundOrdersGrid grid(kFirstOrders);
    if (!grid.bound) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    MeasurePrintToPdf(state, "qor_grid_bench.pdf", [&] { grid.Call(kPrint, {}); });
}
BENCHMARK(BM_GridPrintBound100000ToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
