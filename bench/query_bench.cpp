// The query list from its module over the one-million-row orders table in an 800 x 600 window:
// binding to the first complete paint, Page Down, End, marking every record and its memory, a
// full paint with every row marked, marking 40,000 rows with Ctrl+click and the floor of their
// pixels alone, one step of the walk with a field read, and printing 100,000 records to a PDF in
// pages per second. Beside it, in the same run, its peer: Qt's table view over a query model with
// an item selection model, selecting every row and reading the selected rows, and selecting 5,000
// and 10,000 rows one by one.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "bench/control_bench.h"
#include "bench/large_orders.h"
#include "bench/query_peer_qt.h"
#include "controls/query/query_ctrl.h"
#include "controls/query/query_marks.h"
#include "platform/com/dispatch_call.h"
#include "platform/testing/input.h"

namespace {

constexpr CLSID kQueryClsid = MakeGuid("{8B3E5A17-2C94-4D60-B1F8-7E05C9A3D641}");
constexpr SIZE kWindow{800, 600};
constexpr const char* kOrders = "SELECT * FROM orders";
constexpr const char* kFirstOrders = "SELECT * FROM orders WHERE order_id <= 100000";
constexpr int kClickedRows = 40000;

// Dispatch ids of _DQORQuery.
constexpr DISPID kBindToDatabase = 1;
constexpr DISPID kSelectAll = 2;
constexpr DISPID kPrint = 3;
constexpr DISPID kMoveToFirstSelected = 5;
constexpr DISPID kMoveToNextSelected = 6;
constexpr DISPID kGetFieldValue = 7;

// The list shown in a window of its own, driven through its dispatch interface.
struct ShownQuery : ShownControl {
    ShownQuery() : ShownControl(QOR_QUERY_MODULE, kQueryClsid, kWindow) {}

    CComVariant Call(DISPID id, const std::vector<CComVariant>& args) {
        CComVariant result;
        if (FAILED(InvokeDispatch(control.Get(), id, DISPATCH_METHOD, args, &result))) {
            result.Clear();
        }
        return result;
    }
    bool Bind(_Connection* connection, const char* sql) {
        const CComVariant bound = Call(
            kBindToDatabase, {CComVariant(static_cast<IDispatch*>(connection)), CComVariant(sql)});
        return bound.vt == VT_BOOL && bound.boolVal == VARIANT_TRUE;
    }
    void Press(UINT vk) {
        SendKey(*window, vk);
        window->UpdateWindow();
    }
    void FullPaint() {
        window->Invalidate();
        window->UpdateWindow();
    }
    // The middle of a row slot, from the rows the last paint laid out.
    POINT Slot(int slot) {
        const RECT& rect = Rows().at(static_cast<std::size_t>(slot)).rect;
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    int Slots() { return static_cast<int>(Rows().size()); }
    const std::vector<RowEntry>& Rows() { return static_cast<CQORQueryCtrlView&>(*window).Rows(); }
    // The columns of the last row's rules, which are the rules a repaint of that row draws: in a
    // full paint only they cross the last row, black from its top line to its bottom line.
    std::vector<int> RuleColumns() {
        const CBitmap& shown = window->GetBackingSurface();
        const RECT last = Rows().back().rect;
        std::vector<int> columns;
        for (int x = static_cast<int>(last.left); x < static_cast<int>(last.right); ++x) {
            bool rule = true;
            for (int y = static_cast<int>(last.top); rule && y <= static_cast<int>(last.bottom);
                 ++y) {
                rule = shown.GetPixel(x, y) == kQueryRowText;
            }
            if (rule) {
                columns.push_back(x);
            }
        }
        return columns;
    }

    // The rows the module's list laid out, seen through the class it is built from.
    class CQORQueryCtrlView : public CQORQueryCtrl {
      public:
        const std::vector<RowEntry>& Rows() const { return m_visibleRows; }
    };
};

// The list bound to the large orders table and painted once.
struct BoundOrders : ShownQuery {
    explicit BoundOrders(const char* sql = kOrders)
        : connection(OpenSqliteConnection(LargeOrdersFile())) {
        ok = window != nullptr && connection && Bind(connection.Get(), sql);
        if (ok) {
            FullPaint();
        }
    }
    CComPtr<_Connection> connection;
    bool ok = false;
};

void BM_QueryBindToFirstPaint(benchmark::State& state) {
    ShownQuery list;
    const CComPtr<_Connection> connection = OpenSqliteConnection(LargeOrdersFile());
    for (auto _ : state) {
        if (!list.Bind(connection.Get(), kOrders)) {
            state.SkipWithError("the orders did not bind");
            return;
        }
        list.window->UpdateWindow();
    }
}

void BM_QueryPageDown(benchmark::State& state) {
    BoundOrders list;
    if (!list.ok) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    list.Press(VK_NEXT);
    for (auto _ : state) {
        list.Press(VK_NEXT);
    }
}

void BM_QueryEnd(benchmark::State& state) {
    BoundOrders list;
    if (!list.ok) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        list.Press(VK_HOME);
        state.ResumeTiming();
        list.Press(VK_END);
    }
}

void BM_QuerySelectAll(benchmark::State& state) {
    BoundOrders list;
    if (!list.ok) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    double growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        list.Call(kSelectAll, {CComVariant(false)});
        const double before = StatusMegabytes("VmRSS:");
        state.ResumeTiming();
        list.Call(kSelectAll, {CComVariant(true)});
        state.PauseTiming();
        growth = std::max(growth, StatusMegabytes("VmRSS:") - before);
        state.ResumeTiming();
    }
    state.counters["rss_growth_MB"] = growth;
}

void BM_QueryPaintAllMarked(benchmark::State& state) {
    BoundOrders list;
    if (!list.ok) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    list.Call(kSelectAll, {CComVariant(true)});
    list.Press(VK_NEXT);
    for (auto _ : state) {
        list.FullPaint();
    }
}

// 40,000 Ctrl+clicks through the window's messages, a page of rows at a time; each click
// repaints the rows it changes, as a clerk sees it. Turning the page, measured on its own
// above, is left out of the time.
void BM_QueryCtrlClick40000(benchmark::State& state) {
    BoundOrders list;
    if (!list.ok) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    const int slotCount = list.Slots();
    for (auto _ : state) {
        for (int marked = 0; marked < kClickedRows;) {
            for (int slot = 0; slot < slotCount && marked < kClickedRows; ++slot, ++marked) {
                SendClick(*list.window, list.Slot(slot), FCONTROL);
                list.window->UpdateWindow();
            }
            state.PauseTiming();
            list.Press(VK_NEXT);
            list.Press(VK_NEXT);
            state.ResumeTiming();
        }
    }
}

// The pixels alone of those 40,000 clicks in the list's own geometry, written straight into
// memory with nothing drawn through the painter: a clicked row's fill, the lines along its top
// and bottom, and the rules that every repainted row draws down the whole list. No field is read
// and no text drawn, so this is the floor under the Ctrl+click figure on this machine.
void BM_RowPixelsFloor40000(benchmark::State& state) {
    BoundOrders list;
    if (!list.ok || list.Slots() == 0) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    const RECT first = list.Rows().front().rect;
    const int width = static_cast<int>(kWindow.cx);
    const int height = static_cast<int>(kWindow.cy);
    const std::vector<int> rules = list.RuleColumns();
    state.counters["rules"] = static_cast<double>(rules.size());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    const auto row = [&](int y) { return pixels.begin() + static_cast<std::ptrdiff_t>(y) * width; };
    for (auto _ : state) {
        for (int click = 0; click < kClickedRows; ++click) {
            const RECT& rect = list.Rows()[static_cast<std::size_t>(click % list.Slots())].rect;
            const std::uint32_t back = (click & 1) != 0 ? 0xFFC0C0FFU : 0xFFFFFFFFU;
            for (int y = rect.top; y < rect.bottom; ++y) {
                std::fill(row(y) + rect.left, row(y) + rect.right, back);
            }
            std::fill(row(rect.top), row(rect.top) + rect.right, 0xFF000000U);
            std::fill(row(rect.bottom), row(rect.bottom) + rect.right, 0xFF000000U);
            for (const int x : rules) {
                for (int y = first.top; y < height; ++y) {
                    row(y)[x] = 0xFF000000U;
                }
            }
            benchmark::ClobberMemory();
        }
    }
}

// The look-ups and appends of those 40,000 clicks alone, among a million marks: the marks'
// share of a click.
void BM_QueryMarkLookups40000(benchmark::State& state) {
    CRowMarks marks;
    for (int i = 0; i < 1000000; ++i) {
        marks.Append(CComVariant(static_cast<double>(i)));
    }
    for (auto _ : state) {
        for (int i = 0; i < kClickedRows; ++i) {
            const CComVariant bookmark(static_cast<double>(1000000 + i));
            std::ptrdiff_t position = -1;
            bool selected = false;
            marks.Find(bookmark, position, selected);
            marks.Append(bookmark);
        }
        state.PauseTiming();
        for (int i = 0; i < kClickedRows; ++i) {
            marks.RemoveAt(marks.Count() - 1);
        }
        state.ResumeTiming();
    }
}

void BM_QueryWalkStepAndField(benchmark::State& state) {
    BoundOrders list;
    if (!list.ok) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    list.Call(kSelectAll, {CComVariant(true)});
    list.Call(kMoveToFirstSelected, {});
    for (auto _ : state) {
        list.Call(kMoveToNextSelected, {});
        CComVariant text;
        list.Call(kGetFieldValue, {CComVariant("ship_city"), CComVariant::ByReference(&text)});
        benchmark::DoNotOptimize(text);
    }
}

void BM_QueryPrint100000ToPdf(benchmark::State& state) {
    BoundOrders list(kFirstOrders);
    if (!list.ok) {
        state.SkipWithError("the orders did not bind");
        return;
    }
    MeasurePrintToPdf(state, "qor_query_bench.pdf", [&] { list.Call(kPrint, {}); });
}

void BM_PeerSelectAllAndReadSelected(benchmark::State& state) {
    double growth = 0;
    for (auto _ : state) {
        const double before = StatusMegabytes("VmRSS:");
        const std::size_t read = PeerSelectAllAndRead(LargeOrdersFile(), kOrders);
        growth = std::max(growth, StatusMegabytes("VmRSS:") - before);
        if (read == 0) {
            state.SkipWithError("the peer read nothing");
            return;
        }
    }
    state.counters["rss_growth_MB"] = growth;
}

void BM_PeerSelectRowsOneByOne(benchmark::State& state) {
    for (auto _ : state) {
        if (PeerSelectOneByOne(LargeOrdersFile(), kOrders, static_cast<int>(state.range(0))) == 0) {
            state.SkipWithError("the peer selected nothing");
            return;
        }
    }
}

}  // namespace

BENCHMARK(BM_QueryBindToFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryPageDown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuerySelectAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QueryPaintAllMarked)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryCtrlClick40000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_RowPixelsFloor40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryMarkLookups40000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryWalkStepAndField)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryPrint100000ToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeerSelectAllAndReadSelected)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeerSelectRowsOneByOne)
    ->Arg(5000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
