// Reading dialog answers from scripts and describing shown dialogs to them.
#include "tools/qorhost/script_dialogs_qt.h"

#include <cmath>

namespace {

QString Key(const char* name) {
    return QString::fromLatin1(name);
}

bool Has(const QJSValue& object, const char* name) {
    return object.hasProperty(Key(name));
}

std::optional<UINT> Id(const QJSValue& value) {
    const double number = value.toNumber();
    if (!value.isNumber() || !std::isfinite(number) || number != std::trunc(number) || number < 0 ||
        number > 0xFFFFFFFF) {
        return std::nullopt;
    }
    return static_cast<UINT>(number);
}

std::optional<int> Button(const QJSValue& value) {
    if (value.isString()) {
        return ButtonFromName(value.toString().toStdString());
    }
    const std::optional<UINT> id = Id(value);
    return id ? std::optional<int>(static_cast<int>(*id)) : std::nullopt;
}

std::optional<DialogAction> ActionFromScript(const QJSValue& value, std::string& error) {
    struct Form {
        const char* key;
        DialogAction::Kind kind;
    };
    static constexpr Form kForms[] = {
        // NOLINT(*-avoid-c-arrays)
        {"set", DialogAction::Kind::SetText},   {"type", DialogAction::Kind::Type},
        {"select", DialogAction::Kind::Select}, {"check", DialogAction::Kind::Check},
        {"click", DialogAction::Kind::Click},
    };
    for (const Form& form : kForms) {
        if (!Has(value, form.key)) {
            continue;
        }
        const std::optional<UINT> id = Id(value.property(Key(form.key)));
        if (!id) {
            error = std::string("the control id of \"") + form.key + "\" must be a number";
            return std::nullopt;
        }
        DialogAction action{form.kind, *id, value.property(Key("text")).toString().toStdString(),
                            value.property(Key("checked")).toBool()};
        if (!Has(value, "text")) {
            action.text.clear();
        }
        return action;
    }
    error = "an action is one of {set|type|select: ID, text}, {check: ID, checked}, {click: ID}";
    return std::nullopt;
}

bool ActionsFromScript(const QJSValue& list, DialogAnswer& answer, std::string& error) {
    if (list.isUndefined()) {
        return true;
    }
    if (!list.isArray()) {
        error = "actions must be an array";
        return false;
    }
    const quint32 count = list.property(Key("length")).toUInt();
    for (quint32 i = 0; i < count; ++i) {
        const std::optional<DialogAction> action = ActionFromScript(list.property(i), error);
        if (!action) {
            return false;
        }
        answer.actions.push_back(*action);
    }
    return true;
}

std::optional<DialogAnswer> ObjectAnswer(const QJSValue& value, std::string& error) {
    DialogAnswer answer;
    if (Has(value, "dialog")) {
        answer.kind = DialogAnswer::Kind::Dialog;
        const std::optional<int> button = Button(value.property(Key("dialog")));
        if (!button) {
            error = "dialog: the button is \"ok\", \"cancel\", \"yes\", \"no\" or an id";
            return std::nullopt;
        }
        answer.button = *button;
        return ActionsFromScript(value.property(Key("actions")), answer, error)
                   ? std::optional<DialogAnswer>(answer)
                   : std::nullopt;
    }
    if (Has(value, "file") || Has(value, "print")) {
        const bool print = Has(value, "print");
        answer.kind = print ? DialogAnswer::Kind::Print : DialogAnswer::Kind::File;
        answer.path = value.property(Key(print ? "print" : "file")).toString().toStdString();
        answer.preview = print && value.property(Key("preview")).toBool();
        return answer;
    }
    if (Has(value, "cancelPrint")) {
        answer.kind = DialogAnswer::Kind::PrintCancel;
        answer.pages = value.property(Key("cancelPrint")).toInt();
        return answer;
    }
    if (Has(value, "color") || Has(value, "menu")) {
        const bool color = Has(value, "color");
        const std::optional<UINT> number = Id(value.property(Key(color ? "color" : "menu")));
        if (!number) {
            error = color ? "color must be a COLORREF number" : "menu must be a command id";
            return std::nullopt;
        }
        answer.kind = color ? DialogAnswer::Kind::Color : DialogAnswer::Kind::MenuChoice;
        answer.color = *number;
        answer.commandId = *number;
        return answer;
    }
    if (Has(value, "cancel")) {
        return answer;
    }
    error = "unknown answer";
    return std::nullopt;
}

QJSValue TextList(QJSEngine& engine, const std::vector<std::string>& texts) {
    QJSValue list = engine.newArray(static_cast<uint>(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        list.setProperty(static_cast<quint32>(i), QString::fromStdString(texts[i]));
    }
    return list;
}

QJSValue FileRequestToScript(QJSEngine& engine, const FileDialogRequest& request) {
    QJSValue file = engine.newObject();
    file.setProperty(Key("title"), QString::fromStdString(request.title));
    file.setProperty(Key("defaultExtension"), QString::fromStdString(request.defaultExtension));
    file.setProperty(Key("initialFileName"), QString::fromStdString(request.initialFileName));
    QJSValue filters = engine.newArray(static_cast<uint>(request.filters.size()));
    for (std::size_t i = 0; i < request.filters.size(); ++i) {
        QJSValue filter = engine.newObject();
        filter.setProperty(Key("description"),
                           QString::fromStdString(request.filters[i].description));
        filter.setProperty(Key("patterns"), TextList(engine, request.filters[i].patterns));
        filters.setProperty(static_cast<quint32>(i), filter);
    }
    file.setProperty(Key("filters"), filters);
    return file;
}

QJSValue MenuToScript(QJSEngine& engine, const std::vector<ShownMenuItem>& items) {
    QJSValue list = engine.newArray(static_cast<uint>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        QJSValue item = engine.newObject();
        item.setProperty(Key("text"), QString::fromStdString(items[i].text));
        item.setProperty(Key("id"), items[i].id);
        item.setProperty(Key("enabled"), items[i].enabled);
        item.setProperty(Key("checked"), items[i].checked);
        item.setProperty(Key("separator"), items[i].separator);
        item.setProperty(Key("items"), MenuToScript(engine, items[i].items));
        list.setProperty(static_cast<quint32>(i), item);
    }
    return list;
}

QJSValue ShownToScript(QJSEngine& engine, const ShownDialog& shown) {
    QJSValue dialog = engine.newObject();
    dialog.setProperty(Key("kind"), QString::fromStdString(DialogKindName(shown.kind)));
    dialog.setProperty(Key("caption"), QString::fromStdString(shown.caption));
    dialog.setProperty(Key("text"), QString::fromStdString(shown.text));
    dialog.setProperty(Key("flags"), shown.flags);
    switch (shown.kind) {
        case ShownDialog::Kind::FileOpen:
        case ShownDialog::Kind::FileSave:
            dialog.setProperty(Key("file"), FileRequestToScript(engine, shown.file));
            break;
        case ShownDialog::Kind::Color:
            dialog.setProperty(Key("initialColor"), shown.color.initial);
            break;
        case ShownDialog::Kind::About:
            dialog.setProperty(Key("lines"), TextList(engine, shown.about.lines));
            break;
        case ShownDialog::Kind::PopupMenu:
            dialog.setProperty(Key("menu"), MenuToScript(engine, shown.menu));
            break;
        case ShownDialog::Kind::Dialog:
            dialog.setProperty(Key("templateId"), shown.templateId);
            break;
        case ShownDialog::Kind::PrintPreview:
        case ShownDialog::Kind::PrintProgress:
            dialog.setProperty(Key("pages"), shown.pages);
            break;
        case ShownDialog::Kind::MessageBox:
        case ShownDialog::Kind::Print:
            break;
    }
    return dialog;
}

}  // namespace

std::optional<DialogAnswer> DialogAnswerFromScript(const QJSValue& value, std::string& error) {
    if (value.isString() || value.isNumber()) {
        const std::optional<int> button = Button(value);
        if (!button) {
            error = "a button is \"ok\", \"cancel\", \"yes\", \"no\" or an id";
            return std::nullopt;
        }
        DialogAnswer answer;
        answer.kind = *button == IDCANCEL ? DialogAnswer::Kind::Cancel : DialogAnswer::Kind::Button;
        answer.button = *button;
        return answer;
    }
    if (value.isObject() && Has(value, "button")) {
        return DialogAnswerFromScript(value.property(Key("button")), error);
    }
    if (value.isObject()) {
        return ObjectAnswer(value, error);
    }
    error = "an answer is a button name or an object";
    return std::nullopt;
}

QJSValue ShownDialogsToScript(QJSEngine& engine, const std::vector<ShownDialog>& shown) {
    QJSValue list = engine.newArray(static_cast<uint>(shown.size()));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        list.setProperty(static_cast<quint32>(i), ShownToScript(engine, shown[i]));
    }
    return list;
}
