// Script answers queued on the scripted dialog service.
#include "tools/qorhost/dialog_answers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "platform/dialogs/dialog_driver.h"

namespace {

constexpr std::array<std::pair<std::string_view, int>, 4> kButtons{{
    {"ok", IDOK},
    {"cancel", IDCANCEL},
    {"yes", IDYES},
    {"no", IDNO},
}};

void Perform(CDialogDriver& driver, const DialogAction& action) {
    switch (action.kind) {
        case DialogAction::Kind::SetText:
            driver.SetText(action.controlId, action.text);
            break;
        case DialogAction::Kind::Type:
            driver.Type(action.controlId, action.text);
            break;
        case DialogAction::Kind::Check:
            driver.Check(action.controlId, action.checked);
            break;
        case DialogAction::Kind::Select:
            driver.Select(action.controlId, action.text);
            break;
        case DialogAction::Kind::Click:
            driver.Click(action.controlId);
            break;
    }
}

}  // namespace

std::optional<int> ButtonFromName(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [buttonName, button] : kButtons) {
        if (buttonName == lower) {
            return button;
        }
    }
    return std::nullopt;
}

std::string ButtonName(int button) {
    for (const auto& [buttonName, id] : kButtons) {
        if (id == button) {
            return std::string(buttonName);
        }
    }
    return std::to_string(button);
}

std::optional<std::string> QueueAnswer(CScriptedDialogService& service,
                                       const DialogAnswer& answer) {
    switch (answer.kind) {
        case DialogAnswer::Kind::Button:
            service.PushButton(answer.button);
            break;
        case DialogAnswer::Kind::Cancel:
            service.PushCancel();
            break;
        case DialogAnswer::Kind::File:
            service.PushFile(answer.path);
            break;
        case DialogAnswer::Kind::Color:
            service.PushColor(answer.color);
            break;
        case DialogAnswer::Kind::MenuChoice:
            service.PushMenuChoice(answer.commandId);
            break;
        case DialogAnswer::Kind::Dialog:
            service.PushDialog(
                [actions = answer.actions](CDialogDriver& driver) {
                    for (const DialogAction& action : actions) {
                        Perform(driver, action);
                    }
                },
                answer.button);
            break;
        case DialogAnswer::Kind::Print:
            if (answer.path.empty()) {
                return "print: the answer is the path of the PDF file to print to";
            }
            service.PushPrintToFile(answer.path, PrinterPage::Letter(), answer.preview);
            break;
        case DialogAnswer::Kind::PrintCancel:
            if (answer.pages < 0) {
                return "cancelPrint: the answer is the number of pages printed before Cancel";
            }
            service.PushPrintCancel(answer.pages);
            break;
    }
    return std::nullopt;
}

std::string DialogKindName(ShownDialog::Kind kind) {
    switch (kind) {
        case ShownDialog::Kind::MessageBox:
            return "MessageBox";
        case ShownDialog::Kind::FileOpen:
            return "FileOpen";
        case ShownDialog::Kind::FileSave:
            return "FileSave";
        case ShownDialog::Kind::Color:
            return "Color";
        case ShownDialog::Kind::About:
            return "About";
        case ShownDialog::Kind::PopupMenu:
            return "PopupMenu";
        case ShownDialog::Kind::Dialog:
            return "Dialog";
        case ShownDialog::Kind::Print:
            return "Print";
        case ShownDialog::Kind::PrintPreview:
            return "PrintPreview";
        case ShownDialog::Kind::PrintProgress:
            return "PrintProgress";
    }
    return "Dialog";
}
