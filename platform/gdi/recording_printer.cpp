// The recording printer's target: each page's calls kept, failures given where asked.
#include "platform/gdi/recording_printer.h"

#include <optional>
#include <utility>

struct CRecordingPrinter::Recording {
    RecordingPrinterSettings settings;
    std::vector<PrintedDocument> documents;
    std::vector<PrinterCallResult> calls;
    int startPages = 0;
    int endPages = 0;

    bool Note(PrintCall call, bool succeeded) {
        calls.push_back(PrinterCallResult{call, succeeded});
        return succeeded;
    }
};

namespace {

class CRecordingTarget : public CPrintTarget {
  public:
    explicit CRecordingTarget(std::shared_ptr<CRecordingPrinter::Recording> recording)
        : m_recording(std::move(recording)) {}

    CDC* BeginDocument(const std::string& name) override {
        if (!m_recording->Note(PrintCall::StartDoc, !m_recording->settings.failStartDoc)) {
            return nullptr;
        }
        PrintedDocument& document = m_recording->documents.emplace_back();
        document.name = name;
        m_document = m_recording->documents.size() - 1;
        const PrinterPage& page = m_recording->settings.page;
        m_surface.emplace(nullptr, page.dpi, page.printable);
        return &*m_surface;
    }

    bool BeginPage() override {
        const int number = ++m_recording->startPages;
        if (!m_recording->Note(PrintCall::StartPage,
                               number != m_recording->settings.failStartPage)) {
            return false;
        }
        m_surface->Clear();
        m_pageOpen = true;
        return true;
    }

    bool EndPage() override {
        KeepPage();
        const int number = ++m_recording->endPages;
        return m_recording->Note(PrintCall::EndPage, number != m_recording->settings.failEndPage);
    }

    bool EndDocument() override {
        Document().state = PrintedDocument::State::Ended;
        m_surface.reset();
        return m_recording->Note(PrintCall::EndDoc, true);
    }

    void AbortDocument() override {
        KeepPage();
        Document().state = PrintedDocument::State::Aborted;
        m_surface.reset();
        m_recording->Note(PrintCall::AbortDoc, true);
    }

  private:
    PrintedDocument& Document() { return m_recording->documents[m_document]; }

    void KeepPage() {
        if (m_pageOpen) {
            Document().pages.push_back(PrintedPage{m_surface->Calls()});
            m_pageOpen = false;
        }
    }

    std::shared_ptr<CRecordingPrinter::Recording> m_recording;
    // Documents are kept by index: a later document may move the earlier ones.
    std::size_t m_document = 0;
    std::optional<CRecordingDC> m_surface;
    bool m_pageOpen = false;
};

}  // namespace

CRecordingPrinter::CRecordingPrinter(RecordingPrinterSettings settings)
    : m_recording(std::make_shared<Recording>()) {
    m_recording->settings = settings;
}

std::unique_ptr<CPrinterDC> CRecordingPrinter::CreateDC() const {
    return std::make_unique<CPrinterDC>(m_recording->settings.page,
                                        std::make_unique<CRecordingTarget>(m_recording));
}

const RecordingPrinterSettings& CRecordingPrinter::Settings() const {
    return m_recording->settings;
}

const std::vector<PrintedDocument>& CRecordingPrinter::Documents() const {
    return m_recording->documents;
}

const std::vector<PrinterCallResult>& CRecordingPrinter::Calls() const {
    return m_recording->calls;
}
