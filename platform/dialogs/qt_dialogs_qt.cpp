// Qt's message box, file, colour, print and About dialogs behind the dialog service.
#include "platform/dialogs/qt_dialogs_qt.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/dialogs/dialog_qt.h"
#include "platform/dialogs/print_preview_qt.h"
#include "platform/gdi/color_qt.h"
#include "platform/gdi/paper_printers_qt.h"
#include "platform/ui/wnd_qt.h"

namespace {

constexpr UINT kButtonMask = 0x0F;
constexpr UINT kIconMask = 0xF0;
constexpr int kAboutIconSize = 32;

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt reads the patterns from the last parenthesised part of each entry; an entry without
// patterns lets every file through, as it would with no filter at all.
QStringList NameFilters(const std::vector<FileFilter>& filters) {
    QStringList entries;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) {
            patterns << ToQString(pattern);
        }
        if (patterns.isEmpty()) {
            patterns << "*";
        }
        entries << ToQString(filter.description) + " (" + patterns.join(' ') + ")";
    }
    return entries;
}

// Default extensions come as "*.qor", ".qor" or "qor"; Qt wants the bare "qor".
QString BareExtension(const std::string& extension) {
    QString bare = ToQString(extension);
    while (bare.startsWith('*') || bare.startsWith('.')) {
        bare.remove(0, 1);
    }
    return bare;
}

QMessageBox::StandardButtons ButtonsOf(UINT type) {
    switch (type & kButtonMask) {
        case MB_OKCANCEL:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MB_YESNOCANCEL:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MB_YESNO:
            return QMessageBox::Yes | QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(UINT type) {
    switch (type & kIconMask) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONWARNING:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int ResultOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return IDOK;
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        default:
            return IDCANCEL;
    }
}

// The application's icon beside the lines of text, one label each, and an OK button. The
// widgets are members so that no child outlives its owner's scope.
class CAboutDialog : public QDialog {
  public:
    CAboutDialog(const AboutRequest& request, QWidget* parent)
        : QDialog(parent), m_layout(this), m_buttons(QDialogButtonBox::Ok) {
        setWindowTitle(ToQString(request.caption));
        m_icon.setPixmap(QApplication::windowIcon().pixmap(kAboutIconSize, kAboutIconSize));
        m_layout.addWidget(&m_icon);
        for (const std::string& line : request.lines) {
            m_lines.push_back(std::make_unique<QLabel>(ToQString(line)));
            m_layout.addWidget(m_lines.back().get());
        }
        m_layout.addWidget(&m_buttons);
        connect(&m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    }

  private:
    QVBoxLayout m_layout;
    QLabel m_icon;
    std::vector<std::unique_ptr<QLabel>> m_lines;
    QDialogButtonBox m_buttons;
};

// Entries own their submenus and actions through the menu they are added to.
void FillPopup(QMenu& menu, const std::vector<ShownMenuItem>& items) {
    for (const ShownMenuItem& item : items) {
        if (item.separator) {
            menu.addSeparator();
        } else if (!item.items.empty()) {
            FillPopup(*menu.addMenu(ToQString(item.text)), item.items);
        } else {
            QAction* action = menu.addAction(ToQString(item.text));
            action->setData(QVariant::fromValue(item.id));
            action->setEnabled(item.enabled);
            action->setCheckable(item.checkable);
            action->setChecked(item.checked);
        }
    }
}

// Printing to a PDF file stays offered whatever the flags say: on a machine without a CUPS
// printer it is the only printer there is.
QAbstractPrintDialog::PrintDialogOptions PrintOptionsOf(UINT flags) {
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                       QAbstractPrintDialog::PrintShowPageSize |
                                                       QAbstractPrintDialog::PrintCollateCopies;
    if ((flags & PD_NOSELECTION) == 0) {
        options |= QAbstractPrintDialog::PrintSelection;
    }
    if ((flags & PD_NOPAGENUMS) == 0) {
        options |= QAbstractPrintDialog::PrintPageRange;
    }
    return options;
}

enum class PrintChoice { Cancel, Print, Preview };

// Qt's print dialog gains a Preview button beside Print where it has a button box to put it in.
void AddPreviewButton(QPrintDialog& dialog, PrintChoice& choice) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    if (buttons == nullptr) {
        return;
    }
    QPushButton* preview = buttons->addButton(QApplication::translate("print", "Preview"),
                                              QDialogButtonBox::ActionRole);
    QObject::connect(preview, &QPushButton::clicked, &dialog, [&dialog, &choice] {
        choice = PrintChoice::Preview;
        dialog.accept();
    });
}

PrintChoice RunPrintDialog(QPrinter& printer, UINT flags, QWidget* parent) {
    if ((flags & PD_PRINTSETUP) != 0) {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted ? PrintChoice::Print : PrintChoice::Cancel;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(PrintOptionsOf(flags));
    PrintChoice choice = PrintChoice::Print;
    AddPreviewButton(dialog, choice);
    return dialog.exec() == QDialog::Accepted ? choice : PrintChoice::Cancel;
}

class CQtDialogService : public IDialogService {
  public:
    int MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                   UINT type) override {
        QMessageBox box(IconOf(type), ToQString(caption), ToQString(text), ButtonsOf(type),
                        QtWidgetOf(owner));
        return ResultOf(box.exec());
    }

    std::optional<std::string> FileDialog(CWnd* owner, const FileDialogRequest& request) override {
        QFileDialog dialog(QtWidgetOf(owner), ToQString(request.title));
        dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        if (!request.filters.empty()) {
            dialog.setNameFilters(NameFilters(request.filters));
        }
        dialog.setDefaultSuffix(BareExtension(request.defaultExtension));
        if (!request.initialFileName.empty()) {
            dialog.selectFile(ToQString(request.initialFileName));
        }
        if ((request.flags & OFN_OVERWRITEPROMPT) == 0) {
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath().toStdString();
    }

    // Qt's colour dialog always shows the custom colour part that CC_FULLOPEN asks for.
    std::optional<COLORREF> ChooseColor(CWnd* owner, const ColorDialogRequest& request) override {
        const QColor color = QColorDialog::getColor(ToQColor(request.initial), QtWidgetOf(owner));
        if (!color.isValid()) {
            return std::nullopt;
        }
        return FromQRgb(color.rgb());
    }

    std::unique_ptr<CPrinterDC> PrintDialog(CWnd* owner,
                                            const PrintDialogRequest& request) override {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        const PrintChoice choice = RunPrintDialog(*printer, request.flags, QtWidgetOf(owner));
        if (choice == PrintChoice::Cancel) {
            return nullptr;
        }
        std::unique_ptr<CPrinterDC> dc = CreateSystemPrinterDC(std::move(printer));
        if (choice == PrintChoice::Preview) {
            // Sending the document to the printer after the preview can take long too.
            dc->SetProgress(CreateQtPrintProgress(QtWidgetOf(owner)));
            return PreviewBeforePrinting(std::move(dc), owner);
        }
        return dc;
    }

    bool PrintPreview(CWnd* owner, const CPrintDocument& document) override {
        return RunPrintPreview(document, QtWidgetOf(owner));
    }

    std::unique_ptr<CPrintProgress> PrintProgress(CWnd* owner) override {
        return CreateQtPrintProgress(QtWidgetOf(owner));
    }

    void About(CWnd* owner, const AboutRequest& request) override {
        CAboutDialog dialog(request, QtWidgetOf(owner));
        dialog.exec();
    }

    int RunDialog(CDialog& dialog) override {
        CDialogWindow* window = DialogWindowOf(dialog);
        if (window == nullptr) {
            return IDCANCEL;
        }
        window->exec();
        return dialog.HasEnded() ? dialog.GetModalResult() : IDCANCEL;
    }

    std::optional<UINT> PopupMenu(CWnd* owner, const MenuItemResource& popup, POINT screenPoint,
                                  UINT /*flags*/) override {
        QMenu menu(QtWidgetOf(owner));
        FillPopup(menu, DescribeMenu(owner, popup.items));
        const QAction* chosen = menu.exec(QPoint(screenPoint.x, screenPoint.y));
        if (chosen == nullptr || !chosen->data().isValid()) {
            return std::nullopt;
        }
        return chosen->data().value<UINT>();
    }
};

}  // namespace

std::unique_ptr<IDialogService> CreateQtDialogService() {
    return std::make_unique<CQtDialogService>();
}
