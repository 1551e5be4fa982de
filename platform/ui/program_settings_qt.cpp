// Program settings through QSettings: the recent-file list and the main window's geometry.
#include "platform/ui/program_settings_qt.h"

#include <QSettings>
#include <QStringList>
#include <algorithm>

#include "platform/ui/wnd_qt.h"

namespace {

const QString kRecentFiles = QStringLiteral("RecentFiles");
const QString kGeometry = QStringLiteral("MainWindow/Geometry");

QSettings Open(const CProgramSettings& settings) {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("QOR"),
                     QString::fromStdString(settings.Program()));
}

}  // namespace

std::vector<std::string> CProgramSettings::RecentFiles() const {
    std::vector<std::string> files;
    for (const QString& file : Open(*this).value(kRecentFiles).toStringList()) {
        if (!file.isEmpty() && files.size() < kRecentFileCount) {
            files.push_back(file.toStdString());
        }
    }
    return files;
}

void CProgramSettings::SetRecentFiles(const std::vector<std::string>& files) const {
    QStringList list;
    for (const std::string& file : files) {
        list.append(QString::fromStdString(file));
    }
    Open(*this).setValue(kRecentFiles, list);
}

void CProgramSettings::AddRecentFile(const std::string& path) const {
    std::vector<std::string> files = RecentFiles();
    files.erase(std::remove(files.begin(), files.end(), path), files.end());
    files.insert(files.begin(), path);
    files.resize(std::min(files.size(), kRecentFileCount));
    SetRecentFiles(files);
}

void CProgramSettings::RemoveRecentFile(const std::string& path) const {
    std::vector<std::string> files = RecentFiles();
    files.erase(std::remove(files.begin(), files.end(), path), files.end());
    SetRecentFiles(files);
}

bool CProgramSettings::RestoreWindowPlacement(CWnd& window) const {
    QWidget* widget = QtWidgetOf(&window);
    return widget != nullptr && ::RestoreWindowPlacement(*this, *widget);
}

void CProgramSettings::SaveWindowPlacement(CWnd& window) const {
    if (const QWidget* widget = QtWidgetOf(&window)) {
        ::SaveWindowPlacement(*this, *widget);
    }
}

bool RestoreWindowPlacement(const CProgramSettings& settings, QWidget& widget) {
    const QByteArray geometry = Open(settings).value(kGeometry).toByteArray();
    return !geometry.isEmpty() && widget.window()->restoreGeometry(geometry);
}

void SaveWindowPlacement(const CProgramSettings& settings, const QWidget& widget) {
    Open(settings).setValue(kGeometry, widget.window()->saveGeometry());
}
