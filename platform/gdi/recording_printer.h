// The recording printer: printer contexts whose documents, pages and drawing calls are kept,
// with capabilities and failures chosen by the test.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/printer_dc.h"

struct RecordingPrinterSettings {
    PrinterPage page = PrinterPage::Letter();
    bool failStartDoc = false;
    // The n-th StartPage / EndPage the printer sees (counted from 1 over all its documents)
    // fails; 0 never.
    int failStartPage = 0;
    int failEndPage = 0;
};

enum class PrintCall { StartDoc, StartPage, EndPage, EndDoc, AbortDoc };

struct PrinterCallResult {
    PrintCall call{};
    bool succeeded = false;
    friend bool operator==(const PrinterCallResult&, const PrinterCallResult&) = default;
};

struct PrintedPage {
    std::vector<DcCall> calls;
};

struct PrintedDocument {
    enum class State { Open, Ended, Aborted } state = State::Open;
    std::string name;
    std::vector<PrintedPage> pages;  // a page open when the document was aborted too
};

// Copies share one recording, so a test keeps its copy while a control deletes the contexts.
class CRecordingPrinter {
  public:
    explicit CRecordingPrinter(RecordingPrinterSettings settings = {});

    std::unique_ptr<CPrinterDC> CreateDC() const;

    const RecordingPrinterSettings& Settings() const;
    const std::vector<PrintedDocument>& Documents() const;
    const std::vector<PrinterCallResult>& Calls() const;

    struct Recording;

  private:
    std::shared_ptr<Recording> m_recording;
};
