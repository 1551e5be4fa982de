// The canvas with a design of 2,000 items: a full paint, one step of a group move drag with
// 50 selected items, a band selection over everything, undo and redo of a group move, and
// Select All, Copy and Paste of the whole design.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "designer/main_frame.h"
#include "designer/resources.h"
#include "platform/testing/input.h"

namespace {

constexpr int kItems = 2000;
constexpr int kSelected = 50;

// Items spread over the canvas, clear of its top-left corner where the band starts, in list
// order.
std::vector<DesignItem> SpreadItems() {
    Design design;
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
    return design.Items();
}

// Selects 50 items, every 40th item of the list (spread over the whole canvas) or, with a
// stride of 1, the first 50, placed in one area as a band selection would take them.
std::vector<DesignItem> WithFiftySelected(size_t stride) {
    std::vector<DesignItem> items = SpreadItems();
    for (size_t i = 0; i < kSelected; ++i) {
        items[i * stride].selected = true;
        if (stride == 1) {
            const int x = 20 + static_cast<int>(i % 10) * 30;
            const int y = 20 + static_cast<int>(i / 10) * 30;
            items[i].rect = RECT{x, y, x + 25, y + 23};
        }
    }
    return items;
}

// A design file that reads back as the list: loading puts texts, columns and lines before the
// frames, each of them at the front, so they are written in reverse.
std::string WriteList(const std::vector<DesignItem>& list) {
    Design file;
    for (auto item = list.rbegin(); item != list.rend(); ++item) {
        if (GoesToFront(*item)) {
            file.Items().push_back(*item);
        }
    }
    for (const DesignItem& item : list) {
        if (!GoesToFront(item)) {
            file.Items().push_back(item);
        }
    }
    std::string path =
        (std::filesystem::temp_directory_path() / "qorform_canvas_bench.qor").string();
    WriteDesignFile(path, file);
    return path;
}

struct Canvas {
    explicit Canvas(const std::vector<DesignItem>& items = SpreadItems()) {
        RegisterDesignerResources();
        frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE);
        frame.ShowWindow(SW_SHOWNORMAL);
        const std::string path = WriteList(items);
        frame.OpenDesignPath(path);
        std::remove(path.c_str());
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

// The point of the first item in list order, where a press picks it.
POINT FirstItemPoint(const CMainFrame& frame) {
    const RECT first = frame.Document().Items()[0].rect;
    return POINT{first.left + 12, first.top + 10};
}

void DragSteps(benchmark::State& state, CMainFrame& frame) {
    POINT at = FirstItemPoint(frame);
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
    Canvas canvas(WithFiftySelected(kItems / kSelected));
    DragSteps(state, canvas.frame);
}

void BM_GroupDragStepTogether(benchmark::State& state) {
    Canvas canvas(WithFiftySelected(1));
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

// A drag of the 50 selected items, spread over the canvas or together, as one step to undo and
// redo.
std::unique_ptr<Canvas> MovedGroup(size_t stride) {
    auto canvas = std::make_unique<Canvas>(WithFiftySelected(stride));
    const POINT at = FirstItemPoint(canvas->frame);
    SendMouseDown(canvas->frame, MouseButton::Left, at);
    SendMouseMove(canvas->frame, POINT{at.x + 7, at.y + 5}, true);
    SendMouseUp(canvas->frame, MouseButton::Left, POINT{at.x + 7, at.y + 5});
    return canvas;
}

// Ctrl+Z (or Ctrl+Y) timed, the other untimed.
void UndoRedo(benchmark::State& state, size_t stride, UINT timed, UINT untimed) {
    const std::unique_ptr<Canvas> canvas = MovedGroup(stride);
    if (timed == 'Y') {
        SendKey(canvas->frame, 'Z', FCONTROL);
    }
    for (auto _ : state) {
        SendKey(canvas->frame, timed, FCONTROL);
        state.PauseTiming();
        SendKey(canvas->frame, untimed, FCONTROL);
        state.ResumeTiming();
    }
}

void BM_UndoGroupMoveSpread(benchmark::State& state) {
    UndoRedo(state, kItems / kSelected, 'Z', 'Y');
}

void BM_RedoGroupMoveSpread(benchmark::State& state) {
    UndoRedo(state, kItems / kSelected, 'Y', 'Z');
}

void BM_UndoGroupMoveTogether(benchmark::State& state) {
    UndoRedo(state, 1, 'Z', 'Y');
}

void BM_RedoGroupMoveTogether(benchmark::State& state) {
    UndoRedo(state, 1, 'Y', 'Z');
}

// Select All, Copy and Paste of the whole design; the paste is undone untimed.
void BM_SelectAllCopyPaste(benchmark::State& state) {
    Canvas canvas;
    for (auto _ : state) {
        canvas.frame.ExecuteCommand(ID_EDIT_SELECT_ALL);
        SendKey(canvas.frame, 'C', FCONTROL);
        SendKey(canvas.frame, 'V', FCONTROL);
        state.PauseTiming();
        if (canvas.frame.Document().Items().size() != 2 * kItems) {
            state.SkipWithError("the paste did not double the design");
        }
        SendKey(canvas.frame, 'Z', FCONTROL);
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_FullPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupDragStepSpread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GroupDragStepTogether)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BandSelectAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoGroupMoveSpread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoGroupMoveSpread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoGroupMoveTogether)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoGroupMoveTogether)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAllCopyPaste)->Unit(benchmark::kMillisecond);
