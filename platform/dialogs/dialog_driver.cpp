// The dialog driver: key events into the dialog's widgets, clicks and list choices.
#include "platform/dialogs/dialog_driver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "platform/dialogs/dialog_qt.h"
#include "platform/dialogs/icon_resources.h"
#include "platform/gdi/bitmap_qt.h"
#include "platform/ui/input_qt.h"

namespace {

int QtKeyOf(char32_t ch) {
    if (ch >= 'a' && ch <= 'z') {
        return Qt::Key_A + static_cast<int>(ch - 'a');
    }
    if (ch >= 'A' && ch <= 'Z') {
        return Qt::Key_A + static_cast<int>(ch - 'A');
    }
    if (ch >= '0' && ch <= '9') {
        return Qt::Key_0 + static_cast<int>(ch - '0');
    }
    return ch == ' ' ? Qt::Key_Space : Qt::Key_unknown;
}

// What the key types, as a keyboard sends it along with the key.
QString TextOfKey(UINT vk, UINT modifiers) {
    switch (vk) {
        case VK_RETURN:
            return "\r";
        case VK_ESCAPE:
            return "\x1b";
        case VK_TAB:
            return "\t";
        case VK_BACK:
            return "\b";
        case VK_SPACE:
            return " ";
        default:
            break;
    }
    const bool letter = vk >= 'A' && vk <= 'Z';
    const bool digit = vk >= '0' && vk <= '9';
    if ((modifiers & (FCONTROL | FALT)) != 0 || (!letter && !digit)) {
        return {};
    }
    const QChar ch(static_cast<char16_t>(vk));
    return letter && (modifiers & FSHIFT) == 0 ? QString(ch.toLower()) : QString(ch);
}

void SendKeyTo(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    const QPointer<QWidget> target(widget);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    if (target) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(target, &release);
    }
}

void TypeInto(QWidget* widget, const std::string& text) {
    for (const char32_t ch : QString::fromStdString(text).toUcs4()) {
        const Qt::KeyboardModifiers modifiers =
            ch >= 'A' && ch <= 'Z' ? Qt::ShiftModifier : Qt::NoModifier;
        SendKeyTo(widget, QtKeyOf(ch), modifiers, QString::fromUcs4(&ch, 1));
    }
}

}  // namespace

void CDialogDriver::Type(UINT id, const std::string& text) {
    CDialog::Controls* controls = m_dialog.GetControls();
    QLineEdit* edit = controls ? controls->EditOf(id) : nullptr;
    if (edit == nullptr) {
        return;
    }
    controls->Focus(id, Qt::MouseFocusReason);
    SendKeyTo(edit, Qt::Key_End, Qt::NoModifier, {});
    TypeInto(edit, text);
}

void CDialogDriver::SetText(UINT id, const std::string& text) {
    CDialog::Controls* controls = m_dialog.GetControls();
    QLineEdit* edit = controls ? controls->EditOf(id) : nullptr;
    if (edit == nullptr) {
        return;
    }
    controls->Focus(id, Qt::MouseFocusReason);
    SendKeyTo(edit, Qt::Key_A, Qt::ControlModifier, {});
    if (text.empty()) {
        SendKeyTo(edit, Qt::Key_Delete, Qt::NoModifier, {});
    } else {
        TypeInto(edit, text);
    }
}

std::string CDialogDriver::Text(UINT id) const {
    return m_dialog.GetDlgItemText(id);
}

bool CDialogDriver::Select(UINT id, const std::string& entry) {
    CDialog::Controls* controls = m_dialog.GetControls();
    QComboBox* combo = controls ? controls->ComboOf(id) : nullptr;
    if (combo == nullptr || !combo->isEnabled()) {
        return false;
    }
    const QString text = QString::fromStdString(entry);
    int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        index = combo->findText(text, Qt::MatchFixedString);
    }
    if (index < 0) {
        return false;
    }
    controls->Focus(id, Qt::MouseFocusReason);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    emit combo->textActivated(combo->itemText(index));
    return true;
}

std::string CDialogDriver::Selected(UINT id) const {
    const CDialog::Controls* controls = m_dialog.GetControls();
    const QComboBox* combo = controls ? controls->ComboOf(id) : nullptr;
    return combo && combo->currentIndex() >= 0 ? combo->currentText().toStdString() : std::string();
}

void CDialogDriver::Check(UINT id, bool checked) {
    CDialog::Controls* controls = m_dialog.GetControls();
    if (controls != nullptr && Checked(id) != checked) {
        controls->Click(id);
    }
}

bool CDialogDriver::Checked(UINT id) const {
    return m_dialog.IsDlgButtonChecked(id) == BST_CHECKED;
}

bool CDialogDriver::Click(UINT id) {
    return m_dialog.PressButton(id);
}

void CDialogDriver::Key(UINT vk, UINT modifiers) {
    QWidget* window = DialogWindowOf(m_dialog);
    if (window == nullptr) {
        return;
    }
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    int key = QtKeyFromVirtualKey(vk);
    if (key == Qt::Key_Tab && (modifiers & FSHIFT) != 0) {
        key = Qt::Key_Backtab;
    }
    SendKeyTo(target, key, QtModifiersFromFlags(modifiers), TextOfKey(vk, modifiers));
}

std::vector<ShownIcon> CDialogDriver::Icons() const {
    std::vector<ShownIcon> icons;
    const CDialog::Controls* controls = m_dialog.GetControls();
    if (controls == nullptr) {
        return icons;
    }
    for (const DialogControl& item : controls->items) {
        const auto* label = qobject_cast<const QLabel*>(item.widget.data());
        if (label == nullptr || (item.style & SS_TYPEMASK) != SS_ICON) {
            continue;
        }
        ShownIcon icon;
        icon.iconId = IconIdOf(item.text).value_or(0);
        const QRect place = label->geometry();
        icon.place =
            RECT{place.x(), place.y(), place.x() + place.width(), place.y() + place.height()};
        icon.image.impl().image = label->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        icons.push_back(std::move(icon));
    }
    return icons;
}
