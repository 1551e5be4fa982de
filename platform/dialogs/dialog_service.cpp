// The service in use, filter strings, and the message box entry point.
#include "platform/dialogs/dialog_service.h"

#include <QGuiApplication>
#include <sstream>

#include "platform/dialogs/qt_dialogs_qt.h"
#include "platform/dialogs/scripted_dialogs.h"

namespace {

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> SplitPatterns(const std::string& text) {
    std::vector<std::string> patterns;
    std::stringstream in(text);
    std::string pattern;
    while (std::getline(in, pattern, ';')) {
        if (!Trim(pattern).empty()) {
            patterns.push_back(Trim(pattern));
        }
    }
    return patterns;
}

// A description without its pattern part still names its patterns in parentheses.
std::vector<std::string> PatternsOfDescription(const std::string& description) {
    const auto open = description.find('(');
    const auto close = description.find(')', open);
    if (open == std::string::npos || close == std::string::npos) {
        return {};
    }
    return SplitPatterns(description.substr(open + 1, close - open - 1));
}

std::unique_ptr<IDialogService>& Current() {
    static std::unique_ptr<IDialogService> service;
    return service;
}

bool Headless() {
    const QString platform = QGuiApplication::platformName();
    return platform.isEmpty() || platform == "offscreen" || platform == "minimal";
}

}  // namespace

std::vector<FileFilter> ParseFileFilter(const std::string& filter) {
    std::vector<FileFilter> filters;
    std::vector<std::string> parts;
    std::stringstream in(filter);
    std::string part;
    while (std::getline(in, part, '|')) {
        parts.push_back(part);
    }
    for (std::size_t i = 0; i < parts.size() && !parts[i].empty(); i += 2) {
        FileFilter entry{parts[i], {}};
        entry.patterns = i + 1 < parts.size() && !parts[i + 1].empty()
                             ? SplitPatterns(parts[i + 1])
                             : PatternsOfDescription(parts[i]);
        filters.push_back(std::move(entry));
    }
    return filters;
}

IDialogService& DialogService() {
    auto& service = Current();
    if (!service) {
        if (Headless()) {
            service = std::make_unique<CScriptedDialogService>();
        } else {
            service = CreateQtDialogService();
        }
    }
    return *service;
}

std::unique_ptr<IDialogService> SetDialogService(std::unique_ptr<IDialogService> service) {
    std::swap(Current(), service);
    return service;
}

int AfxMessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type) {
    return DialogService().MessageBox(owner, text, caption, type);
}
