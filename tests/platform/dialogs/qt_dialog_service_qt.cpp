// Qt's dialogs behind the service, built and answered on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "platform/dialogs/qt_dialogs_qt.h"

namespace {

constexpr int kPollMilliseconds = 10;

// Runs the answer on the modal dialog once it is up. Should the answer leave the dialog open,
// later ticks reject it, so a failing test fails instead of waiting forever.
class AnswerWhenShown {
  public:
    explicit AnswerWhenShown(std::function<void(QWidget*)> answer) : m_answer(std::move(answer)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(kPollMilliseconds);
    }
    bool Answered() const { return m_answered; }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) {
            return;
        }
        if (m_answered) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
            return;
        }
        m_answered = true;
        m_answer(modal);
    }

    std::function<void(QWidget*)> m_answer;
    QTimer m_timer;
    bool m_answered = false;
};

class QtDialogService : public ::testing::Test {
  protected:
    std::unique_ptr<IDialogService> m_service = CreateQtDialogService();
};

}  // namespace

TEST_F(QtDialogService, MessageBoxShowsTheTypesButtonsAndReportsTheOnePressed) {
    const AnswerWhenShown answer([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Caption");
        EXPECT_EQ(box->text(), "Save changes?");
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        EXPECT_EQ(box->buttons().size(), 2);
        ASSERT_NE(box->button(QMessageBox::No), nullptr);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(
        m_service->MessageBox(nullptr, "Save changes?", "Caption", MB_YESNO | MB_ICONQUESTION),
        IDNO);
    EXPECT_TRUE(answer.Answered());
}

TEST_F(QtDialogService, MessageBoxWithOkOnlyHasOneButton) {
    const AnswerWhenShown answer([](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        ASSERT_NE(box->button(QMessageBox::Ok), nullptr);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(m_service->MessageBox(nullptr, "Done.", "qorform", MB_OK), IDOK);
}

TEST_F(QtDialogService, SaveDialogFiltersAndAppendsTheDefaultExtension) {
    const QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    FileDialogRequest request;
    request.open = false;
    request.defaultExtension = "*.qor";
    request.initialFileName = folder.filePath("design").toStdString();
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.filters = ParseFileFilter("Design Files (*.qor); *.qor||");
    const AnswerWhenShown answer([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Design Files (*.qor); *.qor (*.qor)"});
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        // Through QDialog, as its OK button does: QFileDialog keeps its accept() protected.
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto path = m_service->FileDialog(nullptr, request);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, folder.filePath("design.qor").toStdString());
}

TEST_F(QtDialogService, ColourDialogStartsAtTheInitialColourAndReturnsTheChosenOne) {
    const AnswerWhenShown answer([](QWidget* modal) {
        auto* dialog = qobject_cast<QColorDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->currentColor(), QColor(0x10, 0x20, 0x30));
        dialog->setCurrentColor(QColor(0xAA, 0xBB, 0xCC));
        dialog->accept();
    });
    EXPECT_EQ(m_service->ChooseColor(nullptr, {RGB(0x10, 0x20, 0x30), CC_FULLOPEN}),
              std::optional<COLORREF>(RGB(0xAA, 0xBB, 0xCC)));
}

TEST_F(QtDialogService, AboutShowsOneLabelPerLineAndAnOkButton) {
    const AnswerWhenShown answer([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "About qorform");
        QStringList texts;
        for (const QLabel* label : modal->findChildren<QLabel*>()) {
            if (!label->text().isEmpty()) {
                texts << label->text();
            }
        }
        EXPECT_EQ(texts, (QStringList{"qorform", "Version 1.0"}));
        auto* buttons = modal->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        ASSERT_EQ(buttons->buttons().size(), 1);
        buttons->button(QDialogButtonBox::Ok)->click();
    });
    m_service->About(nullptr, {"About qorform", {"qorform", "Version 1.0"}});
    EXPECT_TRUE(answer.Answered());
}

TEST_F(QtDialogService, PrintDialogOffersNoPagesOrSelectionWhenTheFlagsSaySoAndCancels) {
    const AnswerWhenShown answer([](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
        EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintSelection));
        EXPECT_TRUE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
        dialog->reject();
    });
    const PrintDialogRequest request{PD_NOSELECTION | PD_NOPAGENUMS | PD_RETURNDC};
    EXPECT_EQ(m_service->PrintDialog(nullptr, request), nullptr);
    EXPECT_TRUE(answer.Answered());
}

TEST_F(QtDialogService, PrintDialogAcceptedGivesAPrinterAtItsResolution) {
    const AnswerWhenShown answer([](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        dialog->accept();
    });
    const std::unique_ptr<CPrinterDC> dc = m_service->PrintDialog(nullptr, {PD_RETURNDC});
    ASSERT_NE(dc, nullptr);
    EXPECT_GT(dc->GetDeviceCaps(LOGPIXELSY), 0);
    EXPECT_GT(dc->GetDeviceCaps(HORZRES), 0);
    EXPECT_LE(dc->GetDeviceCaps(HORZRES) + dc->GetDeviceCaps(PHYSICALOFFSETX),
              dc->GetDeviceCaps(PHYSICALWIDTH));
}
