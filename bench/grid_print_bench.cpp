// Printing a grid of 100,000 rows and 10 columns through PrintGrid to a PDF: pages per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "controls/grid/grid_print.h"
#include "platform/dialogs/scripted_dialogs.h"

namespace {

constexpr std::size_t kRows = 100000;
constexpr std::size_t kColumns = 10;

// Rows made up as they are read, as a bound grid reads its records.
class GeneratedRows : public CGridPrintSource {
  public:
    bool MoveFirst() override {
        m_row = 0;
        return true;
    }
    bool MoveNext() override { return ++m_row < kRows; }
    std::string ColumnText(std::size_t column) override {
        return column == 0 ? std::to_string(m_row + 1) : "Item " + std::to_string(m_row * column);
    }

  private:
    std::size_t m_row = 0;
};

std::vector<GridColumn> Columns() {
    std::vector<GridColumn> columns(kColumns);
    for (std::size_t i = 0; i < kColumns; ++i) {
        columns[i].name = "Field" + std::to_string(i);
        columns[i].title = columns[i].name;
        columns[i].width = 80;
    }
    return columns;
}

// The pages one print of the rows takes, counted on the recording printer.
std::size_t PagesPrinted(const std::vector<GridColumn>& columns) {
    ScopedScriptedDialogs dialogs;
    const CRecordingPrinter printer;
    dialogs->PushPrinter(printer);
    GeneratedRows rows;
    PrintGrid(columns, rows, nullptr);
    return printer.Documents().empty() ? 0 : printer.Documents()[0].pages.size();
}

void BM_PrintToPdf(benchmark::State& state) {
    const std::vector<GridColumn> columns = Columns();
    const std::size_t pages = PagesPrinted(columns);
    const std::string pdf =
        (std::filesystem::temp_directory_path() / "qor_grid_print_bench.pdf").string();
    ScopedScriptedDialogs dialogs;
    for (auto _ : state) {
        dialogs->PushPrintToFile(pdf);
        GeneratedRows rows;
        PrintGrid(columns, rows, nullptr);
    }
    std::filesystem::remove(pdf);
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages * state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PrintToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
