// The service in use, filter strings, and the message box entry point.
#include "platform/dialogs/dialog_service.h"

#include <QGuiApplication>
#include <string_view>

#include "platform/com/exception_guard.h"
#include "platform/dialogs/qt_dialogs_qt.h"
#include "platform/dialogs/scripted_dialogs.h"
#include "platform/ui/wnd.h"

namespace {

constexpr std::string_view kBlanks = " \t";

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(kBlanks) - first + 1));
}

std::vector<std::string> SplitPatterns(std::string_view text) {
    std::vector<std::string> patterns;
    while (!text.empty()) {
        const auto semicolon = text.find(';');
        std::string pattern = Trim(text.substr(0, semicolon));
        if (!pattern.empty()) {
            patterns.push_back(std::move(pattern));
        }
        text.remove_prefix(semicolon == std::string_view::npos ? text.size() : semicolon + 1);
    }
    return patterns;
}

// Older filter strings put a ';' where the '|' before the patterns belongs, so the entry is
// all description; its parenthesised part still names the patterns the user was promised.
std::vector<std::string> PatternsOfDescription(std::string_view description) {
    const auto open = description.find('(');
    const auto close = description.find(')', open);
    if (open == std::string_view::npos || close == std::string_view::npos) {
        return {};
    }
    return SplitPatterns(description.substr(open + 1, close - open - 1));
}

// The next '|'-terminated field; a missing '|' ends the field at the end of the text.
std::string_view TakeField(std::string_view& text) {
    const auto bar = text.find('|');
    const std::string_view field = text.substr(0, bar);
    text.remove_prefix(bar == std::string_view::npos ? text.size() : bar + 1);
    return field;
}

std::unique_ptr<IDialogService>& Current() {
    static std::unique_ptr<IDialogService> service;
    return service;
}

// Without a display (or without a GUI application at all) a Qt dialog could never be answered.
bool Headless() {
    const QString platform = QGuiApplication::platformName();
    return platform.isEmpty() || platform == "offscreen" || platform == "minimal";
}

}  // namespace

// As the classic dialog reads it: an empty description, or an empty pattern field (the "||"),
// ends the list.
std::vector<FileFilter> ParseFileFilter(const std::string& filter) {
    std::vector<FileFilter> filters;
    std::string_view rest = filter;
    while (!rest.empty()) {
        const std::string_view description = TakeField(rest);
        if (description.empty()) {
            break;
        }
        const std::string_view patterns = TakeField(rest);
        filters.push_back({std::string(description), patterns.empty()
                                                         ? PatternsOfDescription(description)
                                                         : SplitPatterns(patterns)});
        if (patterns.empty()) {
            break;
        }
    }
    return filters;
}

std::vector<ShownMenuItem> DescribeMenu(const CWnd* owner,
                                        const std::vector<MenuItemResource>& items) {
    std::vector<ShownMenuItem> shown;
    shown.reserve(items.size());
    for (const MenuItemResource& item : items) {
        ShownMenuItem entry;
        entry.text = item.text;
        entry.id = item.id;
        entry.separator = item.separator;
        if (!item.items.empty()) {
            entry.enabled = true;
            entry.items = DescribeMenu(owner, item.items);
        } else if (!item.separator && owner != nullptr) {
            const CCmdUI state = owner->QueryCommand(item.id);
            entry.enabled = state.IsEnabled();
            entry.checkable = state.Checked().has_value();
            entry.checked = state.Checked().value_or(false);
        }
        shown.push_back(std::move(entry));
    }
    return shown;
}

IDialogService& DialogService() {
    auto& service = Current();
    if (!service) {
        service = Headless() ? std::make_unique<CScriptedDialogService>() : CreateQtDialogService();
    }
    return *service;
}

std::unique_ptr<IDialogService> SetDialogService(std::unique_ptr<IDialogService> service) {
    std::swap(Current(), service);
    return service;
}

std::unique_ptr<CPrinterDC> PreviewBeforePrinting(std::unique_ptr<CPrinterDC> printer,
                                                  CWnd* owner) {
    // The service is looked up when the document ends: it may have been replaced since.
    return CreatePreviewPrinterDC(std::move(printer), [owner](const CPrintDocument& document) {
        return GuardValue("print preview", false,
                          [&] { return DialogService().PrintPreview(owner, document); });
    });
}

int AfxMessageBox(CWnd* owner, const std::string& text, const std::string& caption, UINT type) {
    // A box that could not be shown agreed to nothing.
    return GuardValue("message box", IDCANCEL,
                      [&] { return DialogService().MessageBox(owner, text, caption, type); });
}
