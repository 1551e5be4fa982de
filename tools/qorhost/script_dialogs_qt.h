// Dialog answers read from script values, and the dialogs that were shown given back to the
// script.
#pragma once

#include <QJSEngine>
#include <QJSValue>
#include <optional>
#include <string>
#include <vector>

#include "tools/qorhost/dialog_answers.h"

// "ok" | "cancel" | "yes" | "no", a button id, or one of {button}, {cancel: true},
// {file: PATH}, {color: COLORREF}, {menu: COMMAND_ID}, {print: PATH},
// {dialog: BUTTON, actions: [{set|type|select: ID, text}, {check: ID, checked}, {click: ID}]}.
std::optional<DialogAnswer> DialogAnswerFromScript(const QJSValue& value, std::string& error);

QJSValue ShownDialogsToScript(QJSEngine& engine, const std::vector<ShownDialog>& shown);
