// The order control from its module in an 800 x 600 window: a full paint of an order of 10,000
// lines, one character typed into a price (with its line total and the order's totals redrawn),
// and printing an order of 1,000 lines to a PDF.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/control_bench.h"
#include "controls/order/order_ctrl.h"
#include "platform/com/dispatch_call.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/testing/input.h"

namespace {

constexpr CLSID kOrderClsid = MakeGuid("{8C3F2A61-5B07-4D9E-A1C4-27E6B09D3F58}");
constexpr SIZE kWindow{800, 600};
constexpr int kLargeOrder = 10000;
constexpr int kPrintedOrder = 1000;

// Dispatch ids of _DQOROrder.
constexpr DISPID kAddLineItem = 1;
constexpr DISPID kPrint = 6;
constexpr DISPID kSetCompanyInfo = 7;
constexpr DISPID kSetTaxInfo = 15;
constexpr DISPID kSetItemDescription = 27;
constexpr DISPID kSetItemQuantity = 28;
constexpr DISPID kSetItemPrice = 29;

// An order of that many lines shown in its window, the focus on it.
struct ShownOrder : ShownControl {
    explicit ShownOrder(int lines) : ShownControl(QOR_ORDER_MODULE, kOrderClsid, kWindow) {
        if (window == nullptr) {
            return;
        }
        Call(kSetCompanyInfo,
             {CComVariant("Acme Tools"), CComVariant("1 Road"), CComVariant("Springfield"),
              CComVariant("IL"), CComVariant("62701"), CComVariant("555-1"), CComVariant("555-2")});
        Call(kSetTaxInfo, {CComVariant("T"), CComVariant(7.5)});
        for (int i = 0; i < lines; ++i) {
            const CComVariant row = Call(kAddLineItem, {});
            Call(kSetItemDescription, {row, CComVariant("ITEM NUMBER " + std::to_string(i))});
            Call(kSetItemQuantity, {row, CComVariant(1 + i % 7)});
            Call(kSetItemPrice, {row, CComVariant(0.25 * (1 + i % 400))});
        }
        ActivateWindow(*window);
        window->SetFocus();
        FullPaint();
    }

    CComVariant Call(DISPID id, const std::vector<CComVariant>& args) {
        CComVariant result;
        if (FAILED(InvokeDispatch(control.Get(), id, DISPATCH_METHOD, args, &result))) {
            result.Clear();
        }
        return result;
    }
    void FullPaint() {
        window->Invalidate();
        window->UpdateWindow();
    }
};

void BM_OrderFullPaint10000Lines(benchmark::State& state) {
    ShownOrder order(kLargeOrder);
    if (order.window == nullptr) {
        state.SkipWithError("the order control could not be shown");
        return;
    }
    for (auto _ : state) {
        order.FullPaint();
    }
}
BENCHMARK(BM_OrderFullPaint10000Lines)->Unit(benchmark::kMillisecond);

// A digit typed into a price and taken back with Backspace, each a real key with the price cell,
// the line's total and the order's totals redrawn: the time is per keystroke.
void BM_OrderTypedPriceCharacter(benchmark::State& state) {
    ShownOrder order(kLargeOrder);
    if (order.window == nullptr) {
        state.SkipWithError("the order control could not be shown");
        return;
    }
    SendKey(*order.window, VK_TAB, 0, "\t");
    SendKey(*order.window, VK_TAB, 0, "\t");
    for (auto _ : state) {
        TypeText(*order.window, "5");
        SendKey(*order.window, VK_BACK, 0, "\b");
    }
    state.counters["per_keystroke"] = benchmark::Counter(
        2.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OrderTypedPriceCharacter)->Unit(benchmark::kMicrosecond);

void BM_OrderPrint1000LinesToPdf(benchmark::State& state) {
    ShownOrder order(kPrintedOrder);
    if (order.window == nullptr) {
        state.SkipWithError("the order control could not be shown");
        return;
    }
    const std::string pdf = std::string(QOR_BINARY_DIR) + "/order_bench.pdf";
    ScopedScriptedDialogs dialogs;
    for (auto _ : state) {
        dialogs->PushPrintToFile(pdf);
        order.Call(kPrint, {});
    }
    std::filesystem::remove(pdf);
}
BENCHMARK(BM_OrderPrint1000LinesToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
