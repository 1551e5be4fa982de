// Dialog templates, dialog units, data exchange and the life of a modal dialog.
#include "platform/dialogs/dialog.h"

#include <algorithm>
#include <map>

#include "platform/com/exception_guard.h"
#include "platform/dialogs/dialog_qt.h"
#include "platform/gdi/text_metrics_qt.h"
#include "platform/ui/application.h"
#include "platform/ui/wnd_qt.h"

namespace {

constexpr int kScreenDpi = 96;
constexpr int kDialogFontTenthsOfPoint = 80;
constexpr const char* kDialogFontFace = "MS Sans Serif";
constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kLettersPerCase = 26;

std::map<UINT, DlgTemplate>& Templates() {
    static std::map<UINT, DlgTemplate> templates;
    return templates;
}

LOGFONT DialogFont() {
    return CFont::FromPoints(kDialogFontTenthsOfPoint, kDialogFontFace).GetLogFont();
}

}  // namespace

void RegisterDialogResource(DlgTemplate dialog) {
    const UINT id = dialog.id;
    Templates().insert_or_assign(id, std::move(dialog));
}

const DlgTemplate* FindDialogResource(UINT id) {
    const auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : &it->second;
}

// The dialog manager's measure: the average width of the 52 letters, rounded, and the
// character cell's height.
SIZE DialogFontBaseUnits() {
    static const SIZE units = [] {
        const CTextMetrics metrics(DialogFont(), kScreenDpi);
        return SIZE{(metrics.Advance(kAlphabet) / kLettersPerCase + 1) / 2, metrics.LineHeight()};
    }();
    return units;
}

RECT DialogUnitsToPixels(int x, int y, int cx, int cy) {
    const SIZE base = DialogFontBaseUnits();
    const int left = MulDiv(x, base.cx, 4);
    const int top = MulDiv(y, base.cy, 8);
    return RECT{left, top, left + MulDiv(cx, base.cx, 4), top + MulDiv(cy, base.cy, 8)};
}

// ---- data exchange ----

void DDX_Text(CDataExchange& dx, UINT id, std::string& value) {
    CDialog* dialog = dx.m_pDlgWnd;
    if (dialog == nullptr || !dialog->HasDlgItem(id)) {
        return;
    }
    if (dx.m_bSaveAndValidate) {
        value = dialog->GetDlgItemText(id);
    } else {
        dialog->SetDlgItemText(id, value);
    }
}

void DDX_Check(CDataExchange& dx, UINT id, int& value) {
    CDialog* dialog = dx.m_pDlgWnd;
    if (dialog == nullptr || !dialog->HasDlgItem(id)) {
        return;
    }
    if (dx.m_bSaveAndValidate) {
        value = dialog->IsDlgButtonChecked(id);
    } else {
        dialog->CheckDlgButton(id, value);
    }
}

void DDX_Control(CDataExchange& dx, UINT id, CComboBox& control) {
    control.Attach(dx.m_pDlgWnd, id);
}

// ---- dialog ----

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_owner(parent) {}

CDialog::~CDialog() {
    TearDown();
}

int CDialog::DoModal() {
    const DlgTemplate* dialogTemplate = FindDialogResource(m_templateId);
    if (dialogTemplate == nullptr || IsWindow()) {
        return -1;
    }
    m_ended = false;
    m_result = IDCANCEL;
    if (!Build(*dialogTemplate)) {
        TearDown();
        return -1;
    }
    bool initialized = false;
    bool focusFirst = true;
    RunGuarded([&] {
        focusFirst = OnInitDialog();
        initialized = true;
    });
    if (!initialized) {
        TearDown();
        return -1;
    }
    if (focusFirst) {
        m_controls->FocusFirstTabStop();
    }
    int result = m_result;
    if (!m_ended) {
        // A dialog that could not be run agreed to nothing.
        result = GuardValue("dialog", IDCANCEL, [&] { return DialogService().RunDialog(*this); });
    }
    TearDown();
    return result;
}

bool CDialog::Build(const DlgTemplate& dialogTemplate) {
    QWidget* ownerWidget = QtWidgetOf(m_owner != nullptr ? m_owner : AfxGetMainWnd());
    auto window = std::make_unique<CDialogWindow>(this, ownerWidget);
    CDialogWindow& dialogWindow = *window;
    const RECT client = DialogUnitsToPixels(0, 0, dialogTemplate.cx, dialogTemplate.cy);
    dialogWindow.setFont(ToQFont(DialogFont(), kScreenDpi, nullptr));
    dialogWindow.setWindowTitle(QString::fromStdString(dialogTemplate.caption));
    dialogWindow.setFixedSize(client.Width(), client.Height());
    auto host = std::make_unique<Host>(this, std::move(window));
    CClientWidget& clientWidget = *host->client;
    clientWidget.setGeometry(0, 0, client.Width(), client.Height());
    // The dialog's surface never holds the focus: its controls do.
    clientWidget.setFocusPolicy(Qt::NoFocus);
    AttachHost(std::move(host), nullptr, 0);
    m_controls = std::make_unique<Controls>(dialogWindow, clientWidget);
    m_controls->Build(
        dialogTemplate, [this](UINT id) { OnControlClicked(id); },
        [this](UINT vk, UINT modifiers) { return PreTranslateKey(vk, modifiers); });
    return FinishCreate();
}

// Subclassed windows are destroyed with their dialog, before it, as child windows are.
void CDialog::TearDown() {
    if (m_controls) {
        for (const DialogControl& item : m_controls->items) {
            if (item.subclass && item.subclass->Owner() != nullptr) {
                item.subclass->Owner()->DestroyWindow();
            }
        }
        if (m_controls->window) {
            m_controls->window->Detach();
        }
        m_controls.reset();
    }
    DestroyWindow();
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange& /*dx*/) {}

bool CDialog::UpdateData(bool saveAndValidate) {
    if (!m_controls) {
        return false;
    }
    CDataExchange dx(saveAndValidate, this);
    return GuardValue("dialog data exchange", false, [&] {
        DoDataExchange(dx);
        return !dx.Failed();
    });
}

void CDialog::EndDialog(int result) {
    m_ended = true;
    m_result = result;
    if (CDialogWindow* window = DialogWindowOf(*this)) {
        window->done(result);
    }
}

void CDialog::OnControlClicked(UINT id) {
    if (id == static_cast<UINT>(IDOK)) {
        OnOK();
    } else if (id == static_cast<UINT>(IDCANCEL)) {
        OnCancel();
    } else {
        SendCommand(id);
    }
}

bool CDialog::PressButton(UINT id) {
    if (m_controls && m_controls->ButtonOf(id) != nullptr) {
        return m_controls->Click(id);
    }
    if (id != static_cast<UINT>(IDOK) && id != static_cast<UINT>(IDCANCEL)) {
        return false;
    }
    RunGuarded([this, id] { OnControlClicked(id); });
    return true;
}

bool CDialog::PreTranslateKey(UINT vk, UINT modifiers) {
    if (!m_controls || (modifiers & (FCONTROL | FALT)) != 0) {
        return false;
    }
    switch (vk) {
        case VK_TAB:
            m_controls->MoveFocus((modifiers & FSHIFT) == 0);
            return true;
        case VK_ESCAPE:
            OnCancel();
            return true;
        case VK_RETURN:
            PressButton(m_controls->DefaultButton());
            return true;
        default:
            return false;
    }
}

void CDialog::OnPaint(CDC& dc) {
    dc.FillSolidRect(GetClientRect(), COLOR_3DFACE);
}

// ---- controls by id ----

void CDialog::SetDlgItemText(UINT id, const std::string& text) {
    if (m_controls) {
        m_controls->SetText(id, text);
    }
}

std::string CDialog::GetDlgItemText(UINT id) const {
    return m_controls ? m_controls->Text(id) : std::string();
}

void CDialog::CheckDlgButton(UINT id, int check) {
    if (m_controls) {
        m_controls->SetCheck(id, check != BST_UNCHECKED);
    }
}

int CDialog::IsDlgButtonChecked(UINT id) const {
    return m_controls && m_controls->IsChecked(id) ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::LimitText(UINT id, int maxChars) {
    constexpr int kMostChars = 32767;
    if (QLineEdit* edit = m_controls ? m_controls->EditOf(id) : nullptr) {
        edit->setMaxLength(maxChars <= 0 ? kMostChars : std::min(maxChars, kMostChars));
    }
}

bool CDialog::HasDlgItem(UINT id) const {
    return m_controls && m_controls->Find(id) != nullptr;
}

void CDialog::EnableDlgItem(UINT id, bool enable) {
    if (const DialogControl* control = m_controls ? m_controls->Find(id) : nullptr) {
        control->Shown()->setEnabled(enable);
    }
}

UINT CDialog::GetFocusId() const {
    return m_controls ? m_controls->FocusId() : 0;
}

void CDialog::GotoDlgCtrl(UINT id) {
    if (m_controls) {
        m_controls->Focus(id, Qt::TabFocusReason);
    }
}

// The window takes the control's place and size and paints there from then on; the control
// stays behind it, hidden, and still holds its text.
bool CDialog::SubclassControl(UINT id, CWnd& wnd) {
    DialogControl* control = m_controls ? m_controls->Find(id) : nullptr;
    if (control == nullptr || control->subclass || wnd.IsWindow()) {
        return false;
    }
    QWidget* original = control->widget.data();
    const QRect place = original->geometry();
    const RECT rect{place.x(), place.y(), place.x() + place.width(), place.y() + place.height()};
    if (!wnd.Create(this, rect, id)) {
        return false;
    }
    CClientWidget* client = ClientWidgetOf(wnd);
    client->setFocusPolicy(original->focusPolicy());
    client->stackUnder(original);
    original->hide();
    control->subclass = client;
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    auto* dialog = dynamic_cast<CDialog*>(parent);
    return dialog != nullptr && dialog->SubclassControl(id, *this);
}
