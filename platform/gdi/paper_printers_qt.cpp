// PDF and system printer targets: documents painted on QPdfWriter and QPrinter pages.
#include "platform/gdi/paper_printers_qt.h"

#include <malloc.h>
#include <QPageLayout>
#include <QPdfWriter>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/gdi/painter_dc_qt.h"

namespace {

// A file written under a name of its own beside the final one and moved there when complete,
// so that a half-written document is never taken for a finished one.
class CPartialFile {
  public:
    explicit CPartialFile(std::string path) : m_path(std::move(path)) {}
    std::string PartialPath() const { return m_path + ".part"; }
    bool Commit() const {
        std::error_code error;
        std::filesystem::rename(PartialPath(), m_path, error);
        return !error;
    }
    void Discard() const {
        std::error_code error;
        std::filesystem::remove(PartialPath(), error);
    }

  private:
    std::string m_path;
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

class CPdfTarget : public CPaintedTarget {
  public:
    CPdfTarget(std::string path, const PrinterPage& page)
        : CPaintedTarget(page.dpi), m_file(std::move(path)), m_page(page) {}

  protected:
    QPagedPaintDevice* Open(const std::string& name) override {
        m_writer = std::make_unique<QPdfWriter>(QString::fromStdString(m_file.PartialPath()));
        m_writer->setResolution(m_page.dpi);
        m_writer->setPageLayout(LayoutOf(m_page));
        m_writer->setTitle(QString::fromStdString(name));
        m_writer->setCreator(QStringLiteral("QOR"));
        return m_writer.get();
    }
    bool Finish() override {
        m_writer.reset();
        return m_file.Commit();
    }
    void Discard() override {
        m_writer.reset();
        m_file.Discard();
    }

  private:
    CPartialFile m_file;
    PrinterPage m_page;
    std::unique_ptr<QPdfWriter> m_writer;
};

class CSystemPrinterTarget : public CPaintedTarget {
  public:
    explicit CSystemPrinterTarget(std::unique_ptr<QPrinter> printer)
        : CPaintedTarget(printer->resolution()), m_printer(std::move(printer)) {
        if (m_printer->outputFormat() == QPrinter::PdfFormat &&
            !m_printer->outputFileName().isEmpty()) {
            m_file.emplace(m_printer->outputFileName().toStdString());
        }
    }

  protected:
    QPagedPaintDevice* Open(const std::string& name) override {
        m_printer->setDocName(QString::fromStdString(name));
        if (m_file) {
            m_printer->setOutputFileName(QString::fromStdString(m_file->PartialPath()));
        }
        return m_printer.get();
    }
    bool Finish() override { return !m_file || m_file->Commit(); }
    void CancelWhilePainting() override { m_printer->abort(); }
    bool Failed() const override {
        const QPrinter::PrinterState state = m_printer->printerState();
        return state == QPrinter::Error || state == QPrinter::Aborted;
    }
    void Discard() override {
        if (m_file) {
            m_file->Discard();
        }
    }

  private:
    std::unique_ptr<QPrinter> m_printer;
    std::optional<CPartialFile> m_file;
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
    return std::make_unique<CPrinterDC>(page,
                                        std::make_unique<CSystemPrinterTarget>(std::move(printer)));
}

bool PaintDocument(const CPrintDocument& document, QPagedPaintDevice& device) {
    CPrinterDC printer(document.page,
                       std::make_unique<CBorrowedDeviceTarget>(device, document.page.dpi));
    return PlayDocument(document, printer);
}
