// The widgets of a dialog built from its template: edit styles, the control table, the dialog
// manager's keys and focus moves.
#include "platform/dialogs/dialog_qt.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>

#include "platform/dialogs/icon_resources.h"
#include "platform/gdi/bitmap_qt.h"
#include "platform/gdi/color_qt.h"
#include "platform/ui/input_qt.h"
#include "platform/ui/tab_order.h"

namespace {

constexpr UINT kButtonTypeMask = 0x000F;
constexpr UINT kComboTypeMask = 0x0003;
constexpr UINT kStaticAlignMask = 0x0003;
constexpr UINT kEditAlignMask = 0x0003;
// Space QLineEdit keeps free on each side of its text.
constexpr int kLineEditMargin = 2;
// Where a group box's title starts, and the gap on either side of it.
constexpr int kGroupTitleIndent = 8;
constexpr int kGroupTitleGap = 2;

// Qt widgets belong to their parent widget from the moment they are made.
template <typename Widget, typename... Args>
Widget* MakeChild(Args&&... args) {
    return new Widget(std::forward<Args>(args)...);  // NOLINT(cppcoreguidelines-owning-memory)
}

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

// A label shows "&Name" as the name with its mnemonic, "&&" as one ampersand.
QString LabelText(const std::string& text) {
    QString shown;
    const QString source = ToQt(text);
    for (qsizetype i = 0; i < source.size(); ++i) {
        if (source[i] == '&' && i + 1 < source.size()) {
            ++i;
        }
        shown += source[i];
    }
    return shown;
}

bool AllDigits(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar ch) { return ch >= '0' && ch <= '9'; });
}

Qt::Alignment EditAlignment(UINT style) {
    switch (style & kEditAlignMask) {
        case ES_CENTER:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case ES_RIGHT:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

Qt::Alignment StaticAlignment(UINT style) {
    switch (style & kStaticAlignMask) {
        case SS_CENTER:
            return Qt::AlignHCenter | Qt::AlignTop;
        case SS_RIGHT:
            return Qt::AlignRight | Qt::AlignTop;
        default:
            return Qt::AlignLeft | Qt::AlignTop;
    }
}

bool IsTabStop(const DialogControl& control, const QWidget& window) {
    const QWidget* widget = control.Shown();
    return widget != nullptr && (widget->focusPolicy() & Qt::TabFocus) != 0 &&
           widget->isEnabled() && widget->isVisibleTo(&window);
}

}  // namespace

// ---- window ----

CDialogWindow::CDialogWindow(CDialog* dialog, QWidget* parent)
    : QDialog(parent), m_dialog(dialog) {}

void CDialogWindow::accept() {
    if (m_dialog == nullptr) {
        QDialog::accept();
        return;
    }
    CDialog* dialog = m_dialog;
    RunGuarded([dialog] { dialog->OnOK(); });
}

void CDialogWindow::reject() {
    if (m_dialog == nullptr) {
        QDialog::reject();
        return;
    }
    CDialog* dialog = m_dialog;
    RunGuarded([dialog] { dialog->OnCancel(); });
}

// ---- edit ----

CDialogEdit::CDialogEdit(UINT style, QWidget* parent) : QLineEdit(parent), m_style(style) {
    setAlignment(EditAlignment(style));
}

void CDialogEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const bool typing = !typed.isEmpty() && typed.front().isPrint() &&
                        (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) == 0;
    if (!typing || isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString converted = (m_style & ES_UPPERCASE) ? typed.toUpper() : typed;
    const bool refused = ((m_style & ES_NUMBER) && !AllDigits(typed)) ||
                         ((m_style & ES_AUTOHSCROLL) == 0 && !Fits(AfterTyping(converted)));
    if (refused) {
        event->accept();
        return;
    }
    if (converted == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent upper(event->type(), event->key(), event->modifiers(), converted,
                    event->isAutoRepeat(), event->count());
    QLineEdit::keyPressEvent(&upper);
    event->setAccepted(upper.isAccepted());
}

// The text once the typed characters replace the selection or go in at the cursor.
QString CDialogEdit::AfterTyping(const QString& typed) const {
    QString result = text();
    if (hasSelectedText()) {
        result.replace(selectionStart(), selectedText().size(), typed);
    } else {
        result.insert(cursorPosition(), typed);
    }
    return result.left(maxLength());
}

// Whether the text shows whole in the box without scrolling.
bool CDialogEdit::Fits(const QString& candidate) const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    const int width = contents.width() - margins.left() - margins.right() - 2 * kLineEditMargin;
    return fontMetrics().horizontalAdvance(candidate) < width;
}

// ---- group box ----

void CDialogGroupBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect frame = rect().adjusted(0, metrics.height() / 2, 0, 0);
    painter.setPen(ToQColor(COLOR_3DSHADOW));
    painter.drawRect(frame.adjusted(0, 0, -2, -2));
    painter.setPen(ToQColor(COLOR_3DHILIGHT));
    painter.drawRect(frame.adjusted(1, 1, -1, -1));
    if (title().isEmpty()) {
        return;
    }
    const QString shown = LabelText(title().toStdString());
    const QRect titleRect(kGroupTitleIndent, 0,
                          metrics.horizontalAdvance(shown) + 2 * kGroupTitleGap, metrics.height());
    painter.fillRect(titleRect, ToQColor(COLOR_3DFACE));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(titleRect, Qt::AlignCenter, shown);
}

// ---- control table ----

QWidget* DialogControl::Shown() const {
    return subclass ? static_cast<QWidget*>(subclass.data()) : widget.data();
}

class CDialog::Controls::KeyFilter : public QObject {
  public:
    explicit KeyFilter(KeyHandler onKey) : m_onKey(std::move(onKey)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const UINT vk = VirtualKeyFromQt(key->key());
        const bool dialogKey = vk == VK_TAB || vk == VK_ESCAPE || vk == VK_RETURN;
        // A push button with the focus is the default one: Return presses it.
        if (!dialogKey || (vk == VK_RETURN && qobject_cast<QPushButton*>(watched) != nullptr)) {
            return false;
        }
        NoteKeyboardModifiers(key->modifiers());
        UINT modifiers = ModifiersFromQt(key->modifiers());
        if (key->key() == Qt::Key_Backtab) {
            modifiers |= FSHIFT;
        }
        bool handled = false;
        RunGuarded([&] { handled = m_onKey(vk, modifiers); });
        return handled;
    }

  private:
    KeyHandler m_onKey;
};

CDialog::Controls::Controls(CDialogWindow& dialogWindow, CClientWidget& clientWidget)
    : window(&dialogWindow), client(&clientWidget) {}

CDialog::Controls::~Controls() = default;

void CDialog::Controls::Build(const DlgTemplate& dialogTemplate, ClickHandler onClick,
                              KeyHandler onKey) {
    m_onClick = std::move(onClick);
    m_keyFilter = std::make_unique<KeyFilter>(std::move(onKey));
    items.reserve(dialogTemplate.controls.size());
    for (const DlgControlTemplate& control : dialogTemplate.controls) {
        Add(control);
    }
    QWidget* previous = nullptr;
    for (const DialogControl& item : items) {
        if ((item.widget->focusPolicy() & Qt::TabFocus) == 0) {
            continue;
        }
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, item.widget);
        }
        previous = item.widget;
    }
    // A frame goes under the controls it frames, whatever its place in the template.
    for (const DialogControl& item : items) {
        if (item.kind == DlgControlKind::GroupBox) {
            item.widget->lower();
        }
    }
}

namespace {

QWidget* MakeEdit(const DlgControlTemplate& control, QWidget* parent) {
    auto* edit = MakeChild<CDialogEdit>(control.style, parent);
    edit->setText(ToQt(control.text));
    return edit;
}

QComboBox* MakeCombo(const DlgControlTemplate& control, QWidget* parent) {
    auto* combo = MakeChild<QComboBox>(parent);
    combo->setEditable((control.style & kComboTypeMask) != CBS_DROPDOWNLIST);
    return combo;
}

QAbstractButton* MakeButton(const DlgControlTemplate& control, QWidget* parent) {
    if (control.kind == DlgControlKind::CheckBox) {
        return MakeChild<QCheckBox>(ToQt(control.text), parent);
    }
    auto* push = MakeChild<QPushButton>(ToQt(control.text), parent);
    push->setDefault((control.style & kButtonTypeMask) == BS_DEFPUSHBUTTON);
    return push;
}

bool IsIcon(const DlgControlTemplate& control) {
    return control.kind == DlgControlKind::Static && (control.style & SS_TYPEMASK) == SS_ICON;
}

// The icon the text names; an id no icon has, or a text that is no id, shows nothing.
QPixmap IconNamed(const std::string& text) {
    const std::optional<UINT> id = IconIdOf(text);
    const CBitmap* icon = id ? FindIconResource(*id) : nullptr;
    return icon != nullptr ? QPixmap::fromImage(icon->impl().image) : QPixmap();
}

QWidget* MakeIcon(const DlgControlTemplate& control, QWidget* parent) {
    auto* label = MakeChild<QLabel>(parent);
    label->setPixmap(IconNamed(control.text));
    return label;
}

QWidget* MakeLabel(const DlgControlTemplate& control, QWidget* parent) {
    if (IsIcon(control)) {
        return MakeIcon(control, parent);
    }
    auto* label = MakeChild<QLabel>(LabelText(control.text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(StaticAlignment(control.style));
    return label;
}

// A combo box's height in the template includes its dropped list; the box itself is as high
// as its font makes it. An icon is as large as its image.
QRect PlaceOf(const DlgControlTemplate& control, const QWidget& widget) {
    const RECT place = DialogUnitsToPixels(control.x, control.y, control.cx, control.cy);
    if (IsIcon(control)) {
        const QSize icon = qobject_cast<const QLabel*>(&widget)->pixmap().size();
        return {place.left, place.top, icon.width(), icon.height()};
    }
    const int height =
        control.kind == DlgControlKind::ComboBox ? widget.sizeHint().height() : place.Height();
    return {place.left, place.top, place.Width(), height};
}

}  // namespace

QWidget* CDialog::Controls::Make(const DlgControlTemplate& control) {
    QWidget* parent = client.data();
    switch (control.kind) {
        case DlgControlKind::Edit:
            return MakeEdit(control, parent);
        case DlgControlKind::ComboBox: {
            QComboBox* combo = MakeCombo(control, parent);
            if (combo->lineEdit() != nullptr) {
                combo->lineEdit()->installEventFilter(m_keyFilter.get());
            }
            return combo;
        }
        case DlgControlKind::CheckBox:
        case DlgControlKind::PushButton: {
            QAbstractButton* button = MakeButton(control, parent);
            const UINT id = control.id;
            QObject::connect(button, &QAbstractButton::clicked, &m_connections,
                             [this, id] { RunGuarded([this, id] { m_onClick(id); }); });
            return button;
        }
        case DlgControlKind::GroupBox:
            return MakeChild<CDialogGroupBox>(ToQt(control.text), parent);
        case DlgControlKind::Static:
            return MakeLabel(control, parent);
    }
    return nullptr;
}

void CDialog::Controls::Add(const DlgControlTemplate& control) {
    QWidget* widget = Make(control);
    if (widget == nullptr) {
        return;
    }
    const bool label =
        control.kind == DlgControlKind::GroupBox || control.kind == DlgControlKind::Static;
    // Frames and labels let clicks through to what lies under them.
    widget->setAttribute(Qt::WA_TransparentForMouseEvents, label);
    widget->setFocusPolicy(label ? Qt::NoFocus : Qt::StrongFocus);
    widget->setGeometry(PlaceOf(control, *widget));
    widget->installEventFilter(m_keyFilter.get());
    items.push_back(
        DialogControl{control.kind, control.id, control.style, control.text, widget, {}});
}

namespace {
// A control whose widget has gone counts as absent.
template <typename Items>
auto* FindControl(Items& items, UINT id) {
    auto it = std::find_if(items.begin(), items.end(),
                           [id](const DialogControl& item) { return item.id == id; });
    return it == items.end() || !it->widget ? nullptr : &*it;
}
}  // namespace

DialogControl* CDialog::Controls::Find(UINT id) {
    return FindControl(items, id);
}

const DialogControl* CDialog::Controls::Find(UINT id) const {
    return FindControl(items, id);
}

QLineEdit* CDialog::Controls::EditOf(UINT id) const {
    const DialogControl* control = Find(id);
    if (control == nullptr) {
        return nullptr;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control->widget.data())) {
        return combo->lineEdit();
    }
    return qobject_cast<QLineEdit*>(control->widget.data());
}

QComboBox* CDialog::Controls::ComboOf(UINT id) const {
    const DialogControl* control = Find(id);
    return control ? qobject_cast<QComboBox*>(control->widget.data()) : nullptr;
}

QAbstractButton* CDialog::Controls::ButtonOf(UINT id) const {
    const DialogControl* control = Find(id);
    return control ? qobject_cast<QAbstractButton*>(control->widget.data()) : nullptr;
}

void CDialog::Controls::SetText(UINT id, const std::string& text) {
    DialogControl* control = Find(id);
    if (control == nullptr) {
        return;
    }
    control->text = text;
    QWidget* widget = control->widget.data();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(ToQt(text));
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable()) {
            combo->setEditText(ToQt(text));
        } else if (const int index = combo->findText(ToQt(text), Qt::MatchFixedString);
                   index >= 0) {
            combo->setCurrentIndex(index);
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(ToQt(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(ToQt(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if ((control->style & SS_TYPEMASK) == SS_ICON) {
            label->setPixmap(IconNamed(text));
            label->resize(label->pixmap().size());
        } else {
            label->setText(LabelText(text));
        }
    }
}

std::string CDialog::Controls::Text(UINT id) const {
    const DialogControl* control = Find(id);
    if (control == nullptr) {
        return {};
    }
    if (const QLineEdit* edit = EditOf(id)) {
        return edit->text().toStdString();
    }
    if (const QComboBox* combo = ComboOf(id)) {
        return combo->currentText().toStdString();
    }
    return control->text;
}

void CDialog::Controls::SetCheck(UINT id, bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(ButtonOf(id))) {
        box->setChecked(checked);
    }
}

bool CDialog::Controls::IsChecked(UINT id) const {
    const auto* box = qobject_cast<const QCheckBox*>(ButtonOf(id));
    return box != nullptr && box->isChecked();
}

bool CDialog::Controls::Click(UINT id) {
    QAbstractButton* button = ButtonOf(id);
    if (button == nullptr || !button->isEnabled()) {
        return false;
    }
    button->click();
    return true;
}

UINT CDialog::Controls::FocusId() const {
    const QWidget* focus = window ? window->focusWidget() : nullptr;
    if (focus == nullptr) {
        return 0;
    }
    for (const DialogControl& item : items) {
        const QWidget* shown = item.Shown();
        if (shown != nullptr && (shown == focus || shown->isAncestorOf(focus))) {
            return item.id;
        }
    }
    return 0;
}

// The dialog manager selects the whole text of an edit box it moves the focus to.
void CDialog::Controls::Focus(UINT id, Qt::FocusReason reason) {
    const DialogControl* control = Find(id);
    if (control == nullptr || control->Shown() == nullptr) {
        return;
    }
    control->Shown()->setFocus(reason);
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
        if (QLineEdit* edit = EditOf(id)) {
            edit->selectAll();
        }
    }
}

void CDialog::Controls::MoveFocus(bool forward) {
    if (!window || items.empty()) {
        return;
    }
    const int count = static_cast<int>(items.size());
    const UINT focusId = FocusId();
    auto current = std::find_if(items.begin(), items.end(), [focusId](const DialogControl& item) {
        return item.id == focusId;
    });
    const int from =
        focusId == 0 || current == items.end() ? -1 : static_cast<int>(current - items.begin());
    const int next = NextTabStop(count, from, forward,
                                 [this](int index) { return IsTabStop(items[index], *window); });
    if (next >= 0) {
        Focus(items[next].id, forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }
}

void CDialog::Controls::FocusFirstTabStop() {
    for (const DialogControl& item : items) {
        if (window && IsTabStop(item, *window)) {
            Focus(item.id, Qt::TabFocusReason);
            return;
        }
    }
}

UINT CDialog::Controls::DefaultButton() const {
    for (const DialogControl& item : items) {
        if (item.kind == DlgControlKind::PushButton &&
            (item.style & kButtonTypeMask) == BS_DEFPUSHBUTTON) {
            return item.id;
        }
    }
    return IDOK;
}
