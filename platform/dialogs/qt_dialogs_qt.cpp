// Qt dialogs behind the dialog service.
#include "platform/dialogs/qt_dialogs_qt.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

#include "platform/gdi/color_qt.h"
#include "platform/ui/wnd_qt.h"

namespace {

QString NameFilters(const std::vector<FileFilter>& filters) {
    QStringList entries;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) {
            patterns << QString::fromStdString(pattern);
        }
        entries << QString::fromStdString(filter.description) + " (" + patterns.join(' ') + ")";
    }
    return entries.join(";;");
}

// "*.qor" and "qor" both name the extension "qor".
QString BareExtension(const std::string& extension) {
    QString bare = QString::fromStdString(extension);
    while (bare.startsWith('*') || bare.startsWith('.')) {
        bare.remove(0, 1);
    }
    return bare;
}

QMessageBox::StandardButtons ButtonsOf(UINT type) {
    switch (type & 0x0F) {
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
    switch (type & 0xF0) {
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

class CQtDialogService : public IDialogService {
  public:
    int MessageBox(CWnd* owner, const std::string& text, const std::string& caption,
                   UINT type) override {
        QMessageBox box(IconOf(type), QString::fromStdString(caption), QString::fromStdString(text),
                        ButtonsOf(type), QtWidgetOf(owner));
        return ResultOf(box.exec());
    }

    std::optional<std::string> FileDialog(CWnd* owner, const FileDialogRequest& request) override {
        QFileDialog dialog(QtWidgetOf(owner), QString::fromStdString(request.title));
        dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        dialog.setFileMode(request.open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        dialog.setNameFilter(NameFilters(request.filters));
        dialog.setDefaultSuffix(BareExtension(request.defaultExtension));
        if (!request.initialFileName.empty()) {
            dialog.selectFile(QString::fromStdString(request.initialFileName));
        }
        if (!(request.flags & OFN_OVERWRITEPROMPT)) {
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        return QFileInfo(dialog.selectedFiles().front()).absoluteFilePath().toStdString();
    }

    std::optional<COLORREF> ChooseColor(CWnd* owner, const ColorDialogRequest& request) override {
        const QColor color = QColorDialog::getColor(ToQColor(request.initial), QtWidgetOf(owner));
        if (!color.isValid()) {
            return std::nullopt;
        }
        return RGB(color.red(), color.green(), color.blue());
    }

    void About(CWnd* owner, const AboutRequest& request) override {
        QDialog dialog(QtWidgetOf(owner));
        dialog.setWindowTitle(QString::fromStdString(request.caption));
        auto* layout = new QVBoxLayout(&dialog);  // NOLINT(cppcoreguidelines-owning-memory)
        auto* icon = new QLabel(&dialog);         // NOLINT(cppcoreguidelines-owning-memory)
        icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
        layout->addWidget(icon);
        for (const std::string& line : request.lines) {
            layout->addWidget(new QLabel(QString::fromStdString(line), &dialog));  // NOLINT
        }
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);  // NOLINT
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
        layout->addWidget(buttons);
        dialog.exec();
    }
};

}  // namespace

std::unique_ptr<IDialogService> CreateQtDialogService() {
    return std::make_unique<CQtDialogService>();
}
