// Answers a script gives to the dialogs that come next, queued on the scripted dialog service,
// and the names under which the dialogs that were shown are told back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialogs/scripted_dialogs.h"

// What is done inside a dialog built from a template before its button is pressed.
struct DialogAction {
    enum class Kind { SetText, Type, Check, Select, Click } kind = Kind::Click;
    UINT controlId = 0;
    std::string text;  // SetText, Type, Select
    bool checked = false;
};

struct DialogAnswer {
    enum class Kind {
        Button,
        Cancel,
        File,
        Color,
        MenuChoice,
        Dialog,
        Print,
        PrintCancel
    } kind = Kind::Cancel;
    int button = IDOK;     // Button, Dialog
    std::string path;      // File, Print
    bool preview = false;  // Print: each document shown in the print preview first
    int pages = 0;         // PrintCancel: Cancel pressed in the progress window after these
    COLORREF color = 0;
    UINT commandId = 0;
    std::vector<DialogAction> actions;  // Dialog
};

// "ok", "cancel", "yes", "no" without regard to case.
std::optional<int> ButtonFromName(std::string_view name);
std::string ButtonName(int button);

// Queues the answer (a print dialog's: a PDF printer writing to the path); the failure's text
// when it cannot be given.
std::optional<std::string> QueueAnswer(CScriptedDialogService& service, const DialogAnswer& answer);

// "MessageBox", "FileOpen", "FileSave", "Color", "About", "PopupMenu", "Dialog", "Print".
std::string DialogKindName(ShownDialog::Kind kind);
