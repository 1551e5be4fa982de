// The canvas with a design of 2,000 items: a full paint, one step of a group move drag with
// 50 selected items, and a band selection over everything.
#include <benchmark/benchmark.h>

#include "designer/main_frame.h"
#include "designer/resources.h"
#include "platform/testing/input.h"

namespace {

constexpr int kItems = 2000;
constexpr int kSelected = 50;

// Items spread over the canvas, clear of its top-left corner where the band starts.
void FillDesign(CMainFrame& frame) {
    Design& design = frame.GetDesign();
    design.Clear();
    for (int i = 0; i < kItems; ++i) {
        DesignItem item;
        item.kind = 1 + i % 6;
        item.name = "FIELD" + std::to_string(i);
        item.text = "Label " + std::to_string(i);
        item.border = true;
        const int x = 20 + (i * 37) % 600;
        const int y = 20 + (i * 53) % 420;
        item.rect = RECT{x, y, x + 80, y + 23};
        item.tabOrder = item.kind == kColumn ? i : -1;
        design.Insert(item);
    }
}

struct Canvas {
    Canvas() {
        RegisterDesignerResources();
        frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE);
        frame.ShowWindow(SW_SHOWNORMAL);
        frame.ExecuteCommand(ID_FILE_NEW);
        FillDesign(frame);
        frame.RepaintAll();
    }
    CMainFrame frame;
};

void BM_FullPaint(benchmark::State& state) {
    Canvas canvas;
    for (auto _ : state) {
        canvas.frame.RepaintAll();
    }
}

// Selects 50 items, every 40th item of the list (spread over the whole canvas) or, with a
// stride of 1, the first 50 (placed in one area, as a band selection would take them).
void SelectFifty(CMainFrame& frame, size_t stride) {
    auto& items = frame.GetDesign().Items();
    for (size_t i = 0; i < kSelected; ++i) {
        items[i * stride].selected = true;
    }
}

void DragSteps(benchmark::State& state, CMainFrame& frame) {
    const RECT first = frame.GetDesign().Items()[0].rect;
    POINT at{first.left + 20, first.top + 10};
    SendMouseDown(frame, MouseButton::Left, at);
    int step = 1;
    for (auto _ : state) {
        at.x += step;
        step = -step;
        SendMouseMove(frame, at, true);
    }
    SendMouseUp(frame, MouseButton::Left, at);
}

void BM_GroupDragStepSpread(benchmark::State& state) {
    Canvas canvas;
    SelectFifty(canvas.frame, kItems / kSelected);
    DragSteps(state, canvas.frame);
}

void BM_GroupDragStepTogether(benchmark::State& state) {
    Canvas canvas;
    auto& items = canvas.frame.GetDesign().Items();
    for (size_t i = 0; i < kSelected; ++i) {
        const int x = 20 + static_cast<int>(i % 10) * 30;
        const int y = 20 + static_cast<int>(i / 10) * 30;
        items[i].rect = RECT{x, y, x + 25, y + 23};
    }
    SelectFifty(canvas.frame, 1);
    DragSteps(state, canvas.frame);
}

void BM_BandSelectAll(benchmark::State& state) {
    Canvas canvas;
    const RECT client = canvas.frame.GetClientRect();
    for (auto _ : state) {
        SendMouseDown(canvas.frame, MouseButton::Left, {5, 5});
        SendMouseMove(canvas.frame, {client.right - 1, client.bottom - 1}, true);
        SendMouseUp(canvas.frame, MouseButton::Left, {client.right - 1, client.bottom - 1});
    }
}

}  // namespace

BENCHMARK(BM_FullPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupDragStepSpread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupDragStepTogether)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandSelectAll)->Unit(benchmark::kMillisecond);
