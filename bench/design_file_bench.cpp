// Loading and saving a design of 10,000 items.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "controls/common/design.h"

namespace {

Design MakeDesign(int count) {
    Design design;
    for (int i = 0; i < count; ++i) {
        DesignItem item;
        item.kind = 1 + i % 6;
        item.name = "FIELD" + std::to_string(i);
        item.text = "Label " + std::to_string(i);
        item.rect = RECT{i % 700, i % 500, i % 700 + 80, i % 500 + 23};
        item.tabOrder = item.kind == kColumn ? i : -1;
        design.Insert(item);
    }
    return design;
}

const std::string& BenchFile() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / "qor_design_bench.qor").string();
    return path;
}

void BM_SaveDesign(benchmark::State& state) {
    const Design design = MakeDesign(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteDesignFile(BenchFile(), design));
    }
}

void BM_LoadDesign(benchmark::State& state) {
    WriteDesignFile(BenchFile(), MakeDesign(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        auto design = ReadDesignFile(BenchFile());
        benchmark::DoNotOptimize(design);
    }
}

}  // namespace

BENCHMARK(BM_SaveDesign)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDesign)->Arg(10000)->Unit(benchmark::kMillisecond);
