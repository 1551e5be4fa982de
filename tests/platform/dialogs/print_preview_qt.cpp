// The Qt print preview and progress windows on the offscreen platform: the preview shows the
// pages the PDF of the same job holds, its buttons and page navigation, and the progress
// window's Cancel.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QImage>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/dialogs/print_preview_qt.h"
#include "platform/dialogs/qt_dialogs_qt.h"
#include "platform/gdi/paper_printers_qt.h"
#include "tests/temp_folder.h"

namespace {

constexpr int kPages = 3;
// Pages are compared at this size, small enough that text turns into grey of a like density.
constexpr QSize kCompared(85, 110);
constexpr int kChannelTolerance = 40;

// Each page has a block of its own colour at a height of its own, and a line of text.
void DrawJob(CPrinterDC& dc) {
    LOGFONT font;
    font.lfHeight = -MulDiv(28, dc.GetDeviceCaps(LOGPIXELSY), 72);
    font.lfFaceName = "Arial";
    dc.SelectFont(CFont(font));
    dc.SetBkMode(TRANSPARENT);
    ASSERT_GT(dc.StartDoc("Preview Job"), 0);
    for (int page = 0; page < kPages; ++page) {
        ASSERT_GT(dc.StartPage(), 0);
        const int top = 600 + page * 1500;
        dc.FillSolidRect({600, top, 3600, top + 900}, RGB(60 * page, 30, 200 - 60 * page));
        dc.TextOut(600, top + 1200, "Page " + std::to_string(page + 1) + " of the job");
        ASSERT_GT(dc.EndPage(), 0);
    }
}

// The job printed to a PDF file through the preview, which keeps what it showed.
struct PreviewedJob {
    TempFolder folder;
    std::string pdf = folder.File("job.pdf");
    CPrintDocument shown;
};

void PrintThroughPreview(PreviewedJob& job) {
    const std::unique_ptr<CPrinterDC> dc =
        CreatePreviewPrinterDC(CreatePdfPrinterDC(job.pdf), [&](const CPrintDocument& document) {
            job.shown = document;
            return true;
        });
    DrawJob(*dc);
    ASSERT_GT(dc->EndDoc(), 0);
}

QImage RenderPdfPage(const PreviewedJob& job, int page) {
    const std::string prefix = job.folder.File("page" + std::to_string(page));
    const std::string command = "pdftoppm -r 50 -png -singlefile -f " + std::to_string(page) +
                                " -l " + std::to_string(page) + " '" + job.pdf + "' '" + prefix +
                                "'";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    return QImage(QString::fromStdString(prefix + ".png")).convertToFormat(QImage::Format_RGB32);
}

bool IsPaper(QRgb pixel) {
    return qRed(pixel) > 250 && qGreen(pixel) > 250 && qBlue(pixel) > 250;
}

// The sheet around the middle of a grab of the preview: across the middle row, then up and down
// its left margin, which holds nothing but paper.
QRect SheetIn(const QImage& grab) {
    const int middle = grab.height() / 2;
    int left = grab.width() / 2;
    int right = left;
    while (left > 0 && IsPaper(grab.pixel(left - 1, middle))) {
        --left;
    }
    while (right + 1 < grab.width() && IsPaper(grab.pixel(right + 1, middle))) {
        ++right;
    }
    int top = middle;
    int bottom = middle;
    while (top > 0 && IsPaper(grab.pixel(left, top - 1))) {
        --top;
    }
    while (bottom + 1 < grab.height() && IsPaper(grab.pixel(left, bottom + 1))) {
        ++bottom;
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The page the preview shows, as pixels of the sheet alone.
QImage PreviewPage(CPrintPreviewDialog& dialog, int page) {
    QPrintPreviewWidget& view = dialog.View();
    view.setViewMode(QPrintPreviewWidget::SinglePageView);
    view.fitInView();
    view.setCurrentPage(page);
    QApplication::processEvents();
    const QImage grab = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return grab.copy(SheetIn(grab));
}

// The share of compared pixels whose colour differs by more than the tolerance.
double Differing(const QImage& a, const QImage& b) {
    const QImage small = a.scaled(kCompared, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage other = b.scaled(kCompared, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int differing = 0;
    for (int y = 0; y < kCompared.height(); ++y) {
        for (int x = 0; x < kCompared.width(); ++x) {
            const QRgb p = small.pixel(x, y);
            const QRgb q = other.pixel(x, y);
            const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                       std::abs(qBlue(p) - qBlue(q))});
            differing += most > kChannelTolerance ? 1 : 0;
        }
    }
    return static_cast<double>(differing) / (kCompared.width() * kCompared.height());
}

TEST(PrintPreviewWindowTest, ShowsThePagesThePdfOfTheSameJobHolds) {
    PreviewedJob job;
    PrintThroughPreview(job);
    ASSERT_EQ(job.shown.PageCount(), kPages);
    CPrintPreviewDialog dialog(job.shown, nullptr);
    dialog.resize(600, 800);
    dialog.show();
    ASSERT_EQ(dialog.View().pageCount(), kPages);
    for (int page = 1; page <= kPages; ++page) {
        SCOPED_TRACE(page);
        const QImage pdf = RenderPdfPage(job, page);
        ASSERT_FALSE(pdf.isNull());
        const QImage shown = PreviewPage(dialog, page);
        EXPECT_NEAR(static_cast<double>(shown.width()) / shown.height(),
                    static_cast<double>(pdf.width()) / pdf.height(), 0.02);
        EXPECT_LT(Differing(shown, pdf), 0.02);
        // The comparison tells pages apart.
        EXPECT_GT(Differing(shown, RenderPdfPage(job, page % kPages + 1)), 0.05);
    }
}

}  // namespace

namespace {

// Runs the action on the modal window once it is up.
void WhenModal(const std::function<void(QWidget*)>& action) {
    QTimer::singleShot(0, [action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        }
    });
}

struct PreviewButtonCase {
    const char* name;
    const char* button;
    bool printed;
};

class PrintPreviewButtonTest : public ::testing::TestWithParam<PreviewButtonCase> {};

TEST_P(PrintPreviewButtonTest, PrintAcceptsAndCloseRejects) {
    PreviewedJob job;
    PrintThroughPreview(job);
    const QString button = GetParam().button;
    WhenModal([button](QWidget* modal) {
        auto* preview = dynamic_cast<CPrintPreviewDialog*>(modal);
        QAction* action = preview != nullptr ? preview->Action(button) : nullptr;
        if (action != nullptr) {
            action->trigger();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->done(-1);
        }
    });
    EXPECT_EQ(RunPrintPreview(job.shown, nullptr), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(Buttons, PrintPreviewButtonTest,
                         ::testing::Values(PreviewButtonCase{"Print", "Print", true},
                                           PreviewButtonCase{"Close", "Close", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrintPreviewWindowTest, PagesAreStepped) {
    PreviewedJob job;
    PrintThroughPreview(job);
    CPrintPreviewDialog dialog(job.shown, nullptr);
    dialog.show();
    QApplication::processEvents();
    struct Step {
        const char* action;
        int page;
    };
    for (const Step step :
         {Step{"Next Page", 2}, Step{"Next Page", 3}, Step{"Next Page", 3}, Step{"First Page", 1},
          Step{"Previous Page", 1}, Step{"Last Page", 3}}) {
        SCOPED_TRACE(step.action);
        dialog.Action(step.action)->trigger();
        EXPECT_EQ(dialog.View().currentPage(), step.page);
        EXPECT_EQ(dialog.PageText().trimmed(), QString("Page %1 of %2").arg(step.page).arg(kPages));
    }
    const qreal zoom = dialog.View().zoomFactor();
    dialog.Action("Zoom In")->trigger();
    EXPECT_GT(dialog.View().zoomFactor(), zoom);
    dialog.Action("Zoom Out")->trigger();
    dialog.Action("Zoom Out")->trigger();
    EXPECT_LT(dialog.View().zoomFactor(), zoom);
}

TEST(PrintProgressWindowTest, AppearsAfterItsDelayAndItsCancelStopsTheDocument) {
    const std::unique_ptr<CPrintProgress> progress = CreateQtPrintProgress(nullptr, 0);
    progress->DocumentStarted("Orders");
    EXPECT_TRUE(progress->PageEnded(1));
    auto* window = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->labelText().contains("Orders"));
    EXPECT_TRUE(window->labelText().contains("Page 1"));
    window->cancel();
    EXPECT_FALSE(progress->PageEnded(2));
    progress->DocumentClosed();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(PrintProgressWindowTest, AQuickJobShowsNothing) {
    const std::unique_ptr<CPrintProgress> progress = CreateQtPrintProgress(nullptr, 60000);
    progress->DocumentStarted("Orders");
    for (int page = 1; page <= 100; ++page) {
        ASSERT_TRUE(progress->PageEnded(page));
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    progress->DocumentClosed();
}

}  // namespace

namespace {

// Answers the modal windows as they come up, one answer each; a window left over is rejected
// so that a failing test ends.
class AnswerModals {
  public:
    explicit AnswerModals(std::vector<std::function<void(QWidget*)>> answers)
        : m_answers(std::move(answers)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(10);
    }
    std::size_t Answered() const { return m_next; }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_last) {
            return;
        }
        m_last = modal;
        if (m_next < m_answers.size()) {
            m_answers[m_next++](modal);
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
    }

    std::vector<std::function<void(QWidget*)>> m_answers;
    std::size_t m_next = 0;
    QWidget* m_last = nullptr;
    QTimer m_timer;
};

// The print dialog's Preview button, then Close in the preview: the document was shown and
// nothing printed.
TEST(QtPrintPreviewTest, PreviewInThePrintDialogShowsTheDocumentAndCloseDropsIt) {
    std::unique_ptr<IDialogService> previous = SetDialogService(CreateQtDialogService());
    int shownPages = 0;
    const AnswerModals answers({
        [](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            auto* buttons = dialog != nullptr ? dialog->findChild<QDialogButtonBox*>() : nullptr;
            for (QAbstractButton* button :
                 buttons != nullptr ? buttons->buttons() : QList<QAbstractButton*>()) {
                if (button->text() == "Preview") {
                    button->click();
                }
            }
        },
        [&shownPages](QWidget* modal) {
            auto* preview = dynamic_cast<CPrintPreviewDialog*>(modal);
            ASSERT_NE(preview, nullptr);
            shownPages = preview->View().pageCount();
            preview->Action("Close")->trigger();
        },
    });
    std::unique_ptr<CPrinterDC> dc = DialogService().PrintDialog(nullptr, {PD_RETURNDC});
    ASSERT_NE(dc, nullptr);
    DrawJob(*dc);
    EXPECT_EQ(dc->EndDoc(), SP_ERROR);
    EXPECT_EQ(answers.Answered(), 2U);
    EXPECT_EQ(shownPages, kPages);
    dc.reset();
    SetDialogService(std::move(previous));
}

}  // namespace
