// Report layout files: the header and every whole item record read, written and read again
// give the same values; the whole file loaded by the report control and printed on the
// recording printer.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "controls/common/record_fields.h"
#include "controls/report/report_ctrl.h"
#include "fuzz/fuzz_support.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/gdi/recording_printer.h"

namespace {

// Enough bands to fill a page of most layouts and start the next.
constexpr int kPrintedBands = 3;

bool ItemTextsFit(const ReportItem& item) {
    return FitsRecordString(item.name, kItemNameFieldSize) &&
           FitsRecordString(item.text, kItemTextFieldSize) &&
           FitsRecordString(item.checkedValue, kItemLongTextFieldSize) &&
           FitsRecordString(item.spareText1, kItemLongTextFieldSize) &&
           FitsRecordString(item.mask, kItemLongTextFieldSize) &&
           FitsRecordString(item.spareText2, kItemLongTextFieldSize) &&
           FitsRecordString(item.fontName, kFontNameFieldSize);
}

void CheckRecords(const std::uint8_t* data, std::size_t size) {
    if (size < kReportHeaderSize) {
        return;
    }
    const ReportHeader header =
        ReadReportHeader(std::span<const std::uint8_t, kReportHeaderSize>(data, kReportHeaderSize));
    // A damaged file's texts may be cut when written; once written, records read and write
    // back unchanged.
    const ReportHeader written = ReadReportHeader(WriteReportHeader(header));
    FuzzRequire(!FitsRecordString(header.sqlText, kSqlTextFieldSize) || written == header,
                "a header written from a read one reads back the same");
    FuzzRequire(ReadReportHeader(WriteReportHeader(written)) == written,
                "a written header reads and writes back unchanged");
    for (std::size_t at = kReportHeaderSize; at + kReportItemRecordSize <= size;
         at += kReportItemRecordSize) {
        ReportList list{};
        const ReportItem item = ReadReportItemRecord(
            std::span<const std::uint8_t, kReportItemRecordSize>(data + at, kReportItemRecordSize),
            list);
        FuzzRequire((list == ReportList::Detail) == (item.section == kDetail),
                    "detail items go to the detail list, all others to the page list");
        ReportList again{};
        const ReportItem writtenItem = ReadReportItemRecord(WriteReportItemRecord(item), again);
        FuzzRequire(!ItemTextsFit(item) || writtenItem == item,
                    "an item written from a read one reads back the same");
        FuzzRequire(ReadReportItemRecord(WriteReportItemRecord(writtenItem), again) == writtenItem,
                    "a written item reads and writes back unchanged");
    }
}

void CheckDocument(const CRecordingPrinter& printer) {
    for (const PrintedDocument& document : printer.Documents()) {
        FuzzRequire(document.state != PrintedDocument::State::Open,
                    "every document is ended or aborted after EndPrint");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    StartHeadlessApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckRecords(data, size);
    const std::string path = WriteScratchFile("layout.rpt", data, size);
    CQORReportCtrl report;
    const std::int32_t loaded = report.LoadReport(path);
    FuzzRequire(loaded == (size >= kReportHeaderSize ? 1 : 0),
                "a file is loaded exactly when it holds a whole header");
    if (loaded == 0) {
        return 0;
    }
    ScopedScriptedDialogs dialogs;
    RecordingPrinterSettings settings;
    settings.page.printable.cy = 1400;
    const CRecordingPrinter printer(settings);
    dialogs->PushPrinter(printer);
    for (int band = 0; band < kPrintedBands; ++band) {
        report.SetItemValue("name", "Band " + std::to_string(band));
        report.Print();
    }
    report.EndPrint();
    CheckDocument(printer);
    return 0;
}
