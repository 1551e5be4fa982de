// The print preview over Qt's preview widget, and the print progress window.
#include "platform/dialogs/print_preview_qt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>
#include <algorithm>

#include "platform/gdi/paper_printers_qt.h"

namespace {

constexpr double kZoomStep = 1.25;
constexpr int kPreviewWidth = 800;
constexpr int kPreviewHeight = 900;
// Between these the window keeps its count and keeps Cancel answering.
constexpr qint64 kProgressUpdateMs = 50;

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Shown from the first page that ends after the delay; the events it handles then are those of
// its own window, as the window is modal.
class CQtPrintProgress : public CPrintProgress {
  public:
    CQtPrintProgress(QWidget* parent, int delayMs) : m_parent(parent), m_delayMs(delayMs) {}

    void DocumentStarted(const std::string& name) override {
        m_name = ToQString(name);
        m_window.reset();
        m_started.start();
    }

    bool PageEnded(int pages) override {
        if (!m_window) {
            if (m_started.elapsed() < m_delayMs) {
                return true;
            }
            Open();
        } else if (m_updated.elapsed() < kProgressUpdateMs) {
            return !m_window->wasCanceled();
        }
        m_window->setLabelText(
            QApplication::translate("print", "Printing %1\nPage %2").arg(m_name).arg(pages));
        QApplication::processEvents();
        m_updated.start();
        return !m_window->wasCanceled();
    }

    void DocumentClosed() override { m_window.reset(); }

  private:
    void Open() {
        m_window = std::make_unique<QProgressDialog>(
            QString(), QApplication::translate("print", "Cancel"), 0, 0, m_parent.data());
        m_window->setWindowTitle(QApplication::translate("print", "Printing"));
        m_window->setWindowModality(Qt::ApplicationModal);
        m_window->setMinimumDuration(0);
        m_window->show();
    }

    QPointer<QWidget> m_parent;
    int m_delayMs;
    QString m_name;
    QElapsedTimer m_started;
    QElapsedTimer m_updated;
    std::unique_ptr<QProgressDialog> m_window;
};

}  // namespace

CPrintPreviewDialog::CPrintPreviewDialog(const CPrintDocument& document, QWidget* parent)
    : QDialog(parent),
      m_document(document),
      m_printer(QPrinter::HighResolution),
      m_layout(this),
      m_view(&m_printer),
      m_pageText(new QLabel(&m_tools)) {
    m_printer.setResolution(document.page.dpi);
    m_printer.setPageLayout(LayoutOf(document.page));
    m_printer.setDocName(ToQString(document.name));
    setWindowTitle(tr("Print Preview - %1").arg(ToQString(document.name)));
    AddActions();
    m_layout.addWidget(&m_tools);
    m_layout.addWidget(&m_view);
    connect(&m_view, &QPrintPreviewWidget::paintRequested, this,
            [this](QPrinter* printer) { PaintDocument(m_document, *printer); });
    connect(&m_view, &QPrintPreviewWidget::previewChanged, this, [this] { UpdatePageText(); });
    resize(kPreviewWidth, kPreviewHeight);
    m_view.updatePreview();
}

void CPrintPreviewDialog::AddActions() {
    m_tools.addAction(tr("Print"), this, &QDialog::accept);
    m_tools.addAction(tr("Close"), this, &QDialog::reject);
    m_tools.addSeparator();
    m_tools.addAction(tr("First Page"), this, [this] { ShowPage(1); });
    m_tools.addAction(tr("Previous Page"), this, [this] { ShowPage(m_view.currentPage() - 1); });
    m_tools.addAction(tr("Next Page"), this, [this] { ShowPage(m_view.currentPage() + 1); });
    m_tools.addAction(tr("Last Page"), this, [this] { ShowPage(m_view.pageCount()); });
    m_tools.addWidget(m_pageText);
    m_tools.addSeparator();
    m_tools.addAction(tr("Zoom In"), this, [this] { m_view.zoomIn(kZoomStep); });
    m_tools.addAction(tr("Zoom Out"), this, [this] { m_view.zoomOut(kZoomStep); });
    m_tools.addAction(tr("Fit Page"), this, [this] { m_view.fitInView(); });
    m_tools.addAction(tr("Fit Width"), this, [this] { m_view.fitToWidth(); });
}

QAction* CPrintPreviewDialog::Action(const QString& text) const {
    for (QAction* action : m_tools.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

void CPrintPreviewDialog::ShowPage(int page) {
    m_view.setCurrentPage(std::clamp(page, 1, std::max(1, m_view.pageCount())));
    UpdatePageText();
}

void CPrintPreviewDialog::UpdatePageText() {
    m_pageText->setText(tr(" Page %1 of %2 ").arg(m_view.currentPage()).arg(m_view.pageCount()));
}

bool RunPrintPreview(const CPrintDocument& document, QWidget* parent) {
    CPrintPreviewDialog dialog(document, parent);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<CPrintProgress> CreateQtPrintProgress(QWidget* parent, int delayMs) {
    return std::make_unique<CQtPrintProgress>(parent, delayMs);
}
