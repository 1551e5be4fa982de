// PDF and system printer targets: documents painted on QPdfWriter and QPrinter pages.
#include "platform/gdi/paper_printers_qt.h"

#include <malloc.h>
#include <QFile>
#include <QPageLayout>
#include <QPdfWriter>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/gdi/painter_dc_qt.h"

namespace {

// A file written under a name of its own beside the final one and moved there when complete,
// so that a half-written document is never taken for a finished one. A target that is no
// regular file (a device, a pipe) is written in place: moving a file over it would replace it.
class CPartialFile {
  public:
    explicit CPartialFile(std::string path) : m_path(std::move(path)) {
        std::error_code error;
        const auto status = std::filesystem::status(m_path, error);
        m_inPlace = std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
    }
    std::string PartialPath() const { return m_inPlace ? m_path : m_path + ".part"; }
    bool Commit() const {
        std::error_code error;
        if (!m_inPlace) {
            std::filesystem::rename(PartialPath(), m_path, error);
        }
        return !error;
    }
    void Discard() const {
        std::error_code error;
        if (!m_inPlace) {
            std::filesystem::remove(PartialPath(), error);
        }
    }

  private:
    std::string m_path;
    bool m_inPlace = false;
};

// A page's paint engine buffers run to megabytes. With glibc's sliding mmap threshold, blocks
// of that size come from the heap once one has been freed, and the heap fragments between
// pages, so a long job's memory grew with its page count. A fixed threshold keeps such blocks in
// mappings of their own, returned to the system when freed.
void KeepLargeBlocksMapped() {
    constexpr int kLargeBlock = 1 << 20;
    static const int set = mallopt(M_MMAP_THRESHOLD, kLargeBlock);
    static_cast<void>(set);
}

// A document painted on a paged device that starts on its first page.
class CPaintedTarget : public CPrintTarget {
  public:
    explicit CPaintedTarget(int dpi) : m_dpi(dpi) {}

    CDC* BeginDocument(const std::string& name) override {
        KeepLargeBlocksMapped();
        m_device = Open(name);
        if (m_device == nullptr) {
            return nullptr;
        }
        m_surface = std::make_unique<CPainterDC>(m_device, m_dpi);
        if (!m_surface->Painter().isActive()) {
            m_surface.reset();
            Discard();
            return nullptr;
        }
        m_pages = 0;
        return m_surface.get();
    }

    bool BeginPage() override { return (m_pages++ == 0 || m_device->newPage()) && !Failed(); }

    bool EndPage() override { return !Failed(); }

    bool EndDocument() override {
        const bool painted = m_surface->Painter().end() && !Failed();
        m_surface.reset();
        if (!painted) {
            Discard();
            return false;
        }
        return Finish();
    }

    void AbortDocument() override {
        CancelWhilePainting();
        m_surface->Painter().end();
        m_surface.reset();
        Discard();
    }

  protected:
    // The device set up for the document, or nullptr.
    virtual QPagedPaintDevice* Open(const std::string& name) = 0;
    // After the painter ended: makes the output final.
    virtual bool Finish() = 0;
    virtual void CancelWhilePainting() {}
    // A device that reports its own errors (a system printer's spooler) fails the call.
    virtual bool Failed() const { return false; }
    // Removes what an unfinished document left.
    virtual void Discard() = 0;

  private:
    int m_dpi;
    QPagedPaintDevice* m_device = nullptr;
    std::unique_ptr<CPainterDC> m_surface;
    int m_pages = 0;
};

// The PDF writer's device is a file of ours: the writer never reports a failed write (a full
// disk), the file does, and a document that was not written whole is not printed.
class CPdfTarget : public CPaintedTarget {
  public:
    CPdfTarget(std::string path, const PrinterPage& page)
        : CPaintedTarget(page.dpi), m_path(path), m_file(std::move(path)), m_page(page) {}

    std::string LostOutput() const override { return m_lost; }

  protected:
    QPagedPaintDevice* Open(const std::string& name) override {
        m_lost.clear();
        m_output.setFileName(QString::fromStdString(m_file.PartialPath()));
        if (!m_output.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return nullptr;
        }
        m_writer = std::make_unique<QPdfWriter>(&m_output);
        m_writer->setResolution(m_page.dpi);
        m_writer->setPageLayout(LayoutOf(m_page));
        m_writer->setTitle(QString::fromStdString(name));
        m_writer->setCreator(QStringLiteral("QOR"));
        return m_writer.get();
    }
    bool Finish() override {
        if (!CloseOutput()) {
            m_file.Discard();
            return false;
        }
        return m_file.Commit();
    }
    void Discard() override {
        CloseOutput();
        m_file.Discard();
    }

  private:
    // Ends the writer and closes the file; false, with the loss noted, when a write failed. A
    // failed write leaves its error until closing clears it, so it is read first.
    bool CloseOutput() {
        m_writer.reset();
        if (!m_output.isOpen()) {
            return m_lost.empty();
        }
        const bool written = m_output.error() == QFileDevice::NoError && m_output.flush();
        const QString reason = m_output.errorString();
        m_output.close();
        if (written && m_output.error() == QFileDevice::NoError) {
            return true;
        }
        m_lost = "The document could not be written to '" + m_path +
                 "': " + (written ? m_output.errorString() : reason).toStdString() + ".";
        return false;
    }

    std::string m_path;
    CPartialFile m_file;
    PrinterPage m_page;
    QFile m_output;
    std::unique_ptr<QPdfWriter> m_writer;
    std::string m_lost;
};

class CSystemPrinterTarget : public CPaintedTarget {
  public:
    explicit CSystemPrinterTarget(std::unique_ptr<QPrinter> printer)
        : CPaintedTarget(printer->resolution()), m_printer(std::move(printer)) {}

  protected:
    QPagedPaintDevice* Open(const std::string& name) override {
        m_printer->setDocName(QString::fromStdString(name));
        return m_printer.get();
    }
    bool Finish() override { return true; }
    void CancelWhilePainting() override { m_printer->abort(); }
    bool Failed() const override {
        const QPrinter::PrinterState state = m_printer->printerState();
        return state == QPrinter::Error || state == QPrinter::Aborted;
    }
    void Discard() override {}

  private:
    std::unique_ptr<QPrinter> m_printer;
};

// Pages painted on a device that someone else owns and ends, such as a preview's printer.
class CBorrowedDeviceTarget : public CPaintedTarget {
  public:
    CBorrowedDeviceTarget(QPagedPaintDevice& device, int dpi)
        : CPaintedTarget(dpi), m_device(device) {}

  protected:
    QPagedPaintDevice* Open(const std::string& /*name*/) override { return &m_device; }
    bool Finish() override { return true; }
    void Discard() override {}

  private:
    QPagedPaintDevice& m_device;
};

}  // namespace

QPageLayout LayoutOf(const PrinterPage& page) {
    const double dpi = page.dpi;
    const QPageSize size(QSizeF(page.physical.cx / dpi, page.physical.cy / dpi), QPageSize::Inch);
    const double left = page.offset.x / dpi;
    const double top = page.offset.y / dpi;
    const double right = (page.physical.cx - page.offset.x - page.printable.cx) / dpi;
    const double bottom = (page.physical.cy - page.offset.y - page.printable.cy) / dpi;
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(left, top, right, bottom),
                       QPageLayout::Inch);
}

std::unique_ptr<CPrinterDC> CreatePdfPrinterDC(const std::string& path, const PrinterPage& page) {
    return std::make_unique<CPrinterDC>(page, std::make_unique<CPdfTarget>(path, page));
}

PrinterPage PageOf(const QPrinter& printer) {
    const int dpi = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect paint = layout.paintRectPixels(dpi);
    PrinterPage page;
    page.dpi = dpi;
    page.physical = SIZE{full.width(), full.height()};
    page.offset = POINT{paint.left(), paint.top()};
    page.printable = SIZE{paint.width(), paint.height()};
    return page;
}

std::unique_ptr<CPrinterDC> CreateSystemPrinterDC(std::unique_ptr<QPrinter> printer) {
    const PrinterPage page = PageOf(*printer);
    // Printing to a PDF file from Qt's dialog writes it as every PDF is written.
    if (printer->outputFormat() == QPrinter::PdfFormat && !printer->outputFileName().isEmpty()) {
        return CreatePdfPrinterDC(printer->outputFileName().toStdString(), page);
    }
    return std::make_unique<CPrinterDC>(page,
                                        std::make_unique<CSystemPrinterTarget>(std::move(printer)));
}

bool PaintDocument(const CPrintDocument& document, QPagedPaintDevice& device) {
    CPrinterDC printer(document.page,
                       std::make_unique<CBorrowedDeviceTarget>(device, document.page.dpi));
    return PlayDocument(document, printer);
}
