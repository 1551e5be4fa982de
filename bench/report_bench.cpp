// The report printer from its module: the order listing over the first 20,000 and 100,000 orders
// of the large orders table printed to a PDF (1,000 and 5,000 pages), in pages per second, with
// the process's peak memory after each. Beside it, in the same run, its peer: the same page
// header, bands and footer drawn straight with QPainter on a QPdfWriter from the same records.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/control_bench.h"
#include "bench/large_orders.h"
#include "bench/report_peer_qt.h"
#include "controls/common/column_field.h"
#include "controls/report/report_ctrl.h"
#include "platform/com/dispatch_call.h"
#include "platform/dialogs/scripted_dialogs.h"

namespace {

constexpr SIZE kWindow{200, 150};
// 20 bands of 46 design units fit a Letter page between this header and footer.
const ReportHeader kListHeader{60, 126, 151, {}};
constexpr int kPerPage = 20;

// Dispatch ids of _DQORReport.
constexpr DISPID kLoadReport = 1;
constexpr DISPID kBindReportToDatabase = 2;
constexpr DISPID kBeginPrint = 3;
constexpr DISPID kEndPrint = 4;
constexpr DISPID kPrint = 5;

std::string Query(int orders) {
    return "SELECT order_id, order_date, customer_id, ship_city, amount FROM orders WHERE "
           "order_id <= " +
           std::to_string(orders) + " ORDER BY order_id";
}

ReportItem Item(std::int32_t section, std::int32_t kind, std::string name, RECT rect,
                std::string text = {}, std::int32_t justification = kReportLeft) {
    ReportItem item;
    item.section = section;
    item.kind = kind;
    item.name = std::move(name);
    item.text = std::move(text);
    item.left = rect.left;
    item.top = rect.top;
    item.right = rect.right;
    item.bottom = rect.bottom;
    item.justification = justification;
    item.fontName = "Arial";
    item.fontSize = 10;
    return item;
}

// The order listing of the large table, as samples/orders_report.json lays out the sample one.
std::string WriteLayout(int orders) {
    ReportItem date = Item(kDetail, kReportColumn, "order_date", {100, 84, 200, 104});
    date.editStyle = kReportMaskStyle;
    date.mask = "##/##/####";
    std::vector<ReportItem> items = {
        Item(kPageHeader, kReportText, "title", {0, 0, 400, 36}, "Orders"),
        Item(kPageHeader, kReportLine, "", {0, 38, 800, 38}),
        Item(kPageHeader, kReportText, "", {0, 54, 80, 78}, "Order", kReportRight),
        Item(kPageHeader, kReportText, "", {100, 54, 200, 78}, "Date"),
        Item(kPageHeader, kReportText, "", {215, 54, 330, 78}, "Customer", kReportRight),
        Item(kPageHeader, kReportText, "", {350, 54, 600, 78}, "City"),
        Item(kPageHeader, kReportText, "", {660, 54, 795, 78}, "Amount", kReportRight),
        Item(kDetail, kReportColumn, "order_id", {0, 84, 80, 104}, "", kReportRight),
        date,
        Item(kDetail, kReportColumn, "customer_id", {215, 84, 330, 104}, "", kReportRight),
        Item(kDetail, kReportColumn, "ship_city", {350, 84, 600, 104}),
        Item(kDetail, kReportColumn, "amount", {660, 84, 795, 104}, "", kReportRight),
        Item(kPageFooter, kReportText, "footer", {0, 128, 800, 150}, "QOR sample database",
             kReportCentered),
    };
    ReportHeader header = kListHeader;
    header.sqlText = Query(orders);
    std::string path = (std::filesystem::temp_directory_path() /
                        ("qor_report_bench_" + std::to_string(orders) + ".rpt"))
                           .string();
    WriteReportLayoutFile(path, {header, items});
    return path;
}

std::string PdfPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void SetMemoryCounters(benchmark::State& state) {
    state.counters["peak MB"] = StatusMegabytes("VmHWM:");
    state.counters["RSS MB"] = StatusMegabytes("VmRSS:");
}

// The report through its module: load, bind, BeginPrint, Print and EndPrint.
void BM_ReportOrdersToPdf(benchmark::State& state) {
    const int orders = static_cast<int>(state.range(0));
    const std::string layout = WriteLayout(orders);
    const std::string pdf = PdfPath("qor_report_bench.pdf");
    const CComPtr<_Connection> connection = OpenSqliteConnection(LargeOrdersFile());
    ShownControl shown(QOR_REPORT_MODULE, CQORReportCtrl::ClassInfo().clsid, kWindow);
    ScopedScriptedDialogs dialogs;
    int pages = 0;
    for (auto _ : state) {
        CComVariant result;
        InvokeDispatch(shown.control.Get(), kLoadReport, DISPATCH_METHOD, {CComVariant(layout)},
                       &result);
        InvokeDispatch(shown.control.Get(), kBindReportToDatabase, DISPATCH_METHOD,
                       {CComVariant(static_cast<IDispatch*>(connection.Get()))}, &result);
        if (result.lVal != 1) {
            state.SkipWithError("the layout's query does not open");
            return;
        }
        dialogs->PushPrintToFile(pdf);
        InvokeDispatch(shown.control.Get(), kBeginPrint, DISPATCH_METHOD, {}, &result);
        InvokeDispatch(shown.control.Get(), kPrint, DISPATCH_METHOD, {}, &result);
        InvokeDispatch(shown.control.Get(), kEndPrint, DISPATCH_METHOD, {}, &result);
        state.PauseTiming();
        pages = PdfPageCount(pdf);
        state.ResumeTiming();
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
    SetMemoryCounters(state);
    std::filesystem::remove(pdf);
    std::filesystem::remove(layout);
}

// The peer: the same records read through the same recordset, drawn straight with QPainter.
void BM_PeerOrdersToPdf(benchmark::State& state) {
    const int orders = static_cast<int>(state.range(0));
    const std::string pdf = PdfPath("qor_report_peer_bench.pdf");
    const CComPtr<_Connection> connection = OpenSqliteConnection(LargeOrdersFile());
    CDataConnection holder;
    holder.Attach(connection);
    // Device units of Letter at 600 dpi inside the margin: 5.625 across and 5.45 down a unit.
    const auto box = [](int left, int top, int right, int bottom) {
        return QRect(left * 45 / 8, top * 60 / 11, (right - left) * 45 / 8,
                     (bottom - top) * 60 / 11);
    };
    const std::vector<PeerText> header = {
        {box(0, 0, 400, 36), Qt::AlignLeft | Qt::AlignVCenter, true},
        {box(0, 54, 80, 78), Qt::AlignRight | Qt::AlignVCenter, false},
        {box(100, 54, 200, 78), Qt::AlignLeft | Qt::AlignVCenter, false},
        {box(215, 54, 330, 78), Qt::AlignRight | Qt::AlignVCenter, false},
        {box(350, 54, 600, 78), Qt::AlignLeft | Qt::AlignVCenter, false},
        {box(660, 54, 795, 78), Qt::AlignRight | Qt::AlignVCenter, false}};
    const std::vector<QString> captions = {"Orders", "Order", "Date", "Customer", "City", "Amount"};
    const std::vector<PeerText> columns = {
        {box(0, 0, 80, 20), Qt::AlignRight | Qt::AlignVCenter, false},
        {box(100, 0, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, false},
        {box(215, 0, 330, 20), Qt::AlignRight | Qt::AlignVCenter, false},
        {box(350, 0, 600, 20), Qt::AlignLeft | Qt::AlignVCenter, false},
        {box(660, 0, 795, 20), Qt::AlignRight | Qt::AlignVCenter, false}};
    const std::vector<std::string> fields = {"order_id", "order_date", "customer_id", "ship_city",
                                             "amount"};
    int pages = 0;
    for (auto _ : state) {
        CDataRecordset recordset(holder);
        if (!recordset.Open(Query(orders))) {
            state.SkipWithError("the query does not open");
            return;
        }
        bool more = recordset.MoveFirst();
        pages = PrintPeerReport(pdf, header, captions, columns, 80 * 60 / 11 + 4 * 60 / 11,
                                46 * 60 / 11, kPerPage, 5714, [&](std::vector<QString>& texts) {
                                    if (!more) {
                                        return false;
                                    }
                                    for (std::size_t i = 0; i < fields.size(); ++i) {
                                        std::string text;
                                        ReadColumnText(recordset, recordset.FieldIndex(fields[i]),
                                                       i == 1 ? "##/##/####" : "", text);
                                        texts[i] = QString::fromStdString(text);
                                    }
                                    more = recordset.MoveNext();
                                    return true;
                                });
    }
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages) * state.iterations(),
                                                   benchmark::Counter::kIsRate);
    SetMemoryCounters(state);
    std::filesystem::remove(pdf);
}

// Ours first, the smaller job before the larger, so that the peak after each is the report's own.
BENCHMARK(BM_ReportOrdersToPdf)->Arg(20000)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_PeerOrdersToPdf)->Arg(20000)->Arg(100000)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
