// The combo box wrapper over the dialog's Qt combo box: entries, sorted insertion, selection.
#include <functional>

#include "platform/dialogs/dialog_qt.h"

namespace {

QComboBox* ComboOf(CDialog* dialog, UINT id) {
    return dialog != nullptr && dialog->GetControls() != nullptr
               ? dialog->GetControls()->ComboOf(id)
               : nullptr;
}

bool Sorted(CDialog* dialog, UINT id) {
    const DialogControl* control = dialog->GetControls()->Find(id);
    return control != nullptr && (control->style & CBS_SORT) != 0;
}

// Before the first entry that sorts after the text, so equal entries keep their order.
int SortedPosition(const QComboBox& combo, const QString& text) {
    for (int index = 0; index < combo.count(); ++index) {
        if (QString::compare(text, combo.itemText(index), Qt::CaseInsensitive) < 0) {
            return index;
        }
    }
    return combo.count();
}

// The list box's search: from the entry after startAfter round to it again.
int Search(const QComboBox& combo, int startAfter, const std::function<bool(const QString&)>& hit) {
    const int count = combo.count();
    const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
    for (int step = 0; step < count; ++step) {
        const int index = (first + step) % count;
        if (hit(combo.itemText(index))) {
            return index;
        }
    }
    return CB_ERR;
}

}  // namespace

// Qt selects the first entry put into an empty list; a combo box selects nothing by itself.
int CComboBox::AddString(const std::string& text) {
    QComboBox* combo = ComboOf(m_dialog, m_id);
    if (combo == nullptr) {
        return CB_ERR;
    }
    const QString entry = QString::fromStdString(text);
    const int index = Sorted(m_dialog, m_id) ? SortedPosition(*combo, entry) : combo->count();
    const bool hadSelection = combo->currentIndex() >= 0;
    const QString editText = combo->currentText();
    combo->insertItem(index, entry);
    if (!hadSelection) {
        combo->setCurrentIndex(-1);
        if (combo->isEditable()) {
            combo->setEditText(editText);
        }
    }
    return index;
}

int CComboBox::GetCount() const {
    const QComboBox* combo = ComboOf(m_dialog, m_id);
    return combo ? combo->count() : 0;
}

int CComboBox::GetCurSel() const {
    const QComboBox* combo = ComboOf(m_dialog, m_id);
    return combo && combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
}

int CComboBox::SetCurSel(int index) {
    QComboBox* combo = ComboOf(m_dialog, m_id);
    if (combo == nullptr) {
        return CB_ERR;
    }
    if (index < 0 || index >= combo->count()) {
        combo->setCurrentIndex(-1);
        return CB_ERR;
    }
    combo->setCurrentIndex(index);
    return index;
}

std::string CComboBox::GetLBText(int index) const {
    const QComboBox* combo = ComboOf(m_dialog, m_id);
    if (combo == nullptr || index < 0 || index >= combo->count()) {
        return {};
    }
    return combo->itemText(index).toStdString();
}

int CComboBox::SelectString(int startAfter, const std::string& prefix) {
    QComboBox* combo = ComboOf(m_dialog, m_id);
    if (combo == nullptr) {
        return CB_ERR;
    }
    const QString start = QString::fromStdString(prefix);
    const int index = Search(*combo, startAfter, [&start](const QString& entry) {
        return entry.startsWith(start, Qt::CaseInsensitive);
    });
    if (index != CB_ERR) {
        combo->setCurrentIndex(index);
    }
    return index;
}

int CComboBox::FindStringExact(int startAfter, const std::string& text) const {
    const QComboBox* combo = ComboOf(m_dialog, m_id);
    if (combo == nullptr) {
        return CB_ERR;
    }
    const QString wanted = QString::fromStdString(text);
    return Search(*combo, startAfter, [&wanted](const QString& entry) {
        return QString::compare(entry, wanted, Qt::CaseInsensitive) == 0;
    });
}

void CComboBox::ResetContent() {
    if (QComboBox* combo = ComboOf(m_dialog, m_id)) {
        combo->clear();
    }
}
