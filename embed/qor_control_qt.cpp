// The container widget: creation, embedding, focus and Tab, and calls by name.
#include "embed/qor_control_qt.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <deque>
#include <mutex>

#include "embed/control_site.h"
#include "embed/type_info_members.h"
#include "embed/variant_values_qt.h"
#include "platform/com/dispatch_call.h"
#include "platform/com/module_loader.h"
#include "platform/ui/widget_wnd_qt.h"
#include "platform/ui/wnd_host_qt.h"

namespace {

constexpr QSize kDefaultSize(320, 240);

// Which parameters of the member are out parameters, from the control's type information;
// none when it has none or does not list the member.
std::vector<bool> OutParameters(IDispatch* object, const QString& member) {
    for (const MemberDescription& described : MembersFromTypeInfo(object)) {
        if (described.kind != DispKind::PropertyPut &&
            member.compare(QString::fromStdString(described.name), Qt::CaseInsensitive) == 0) {
            std::vector<bool> out;
            for (const ParamDescription& param : described.params) {
                out.push_back(param.out);
            }
            return out;
        }
    }
    return {};
}

// Controls come from the class registry, whatever else the program registered itself.
void ReachRegisteredClasses() {
    static std::once_flag once;
    std::call_once(once, [] { UseClassRegistry(); });
}

CallOutcome ArgumentFailure(qsizetype index, const std::string& reason) {
    return CallOutcome{E_INVALIDARG, "argument " + std::to_string(index + 1) + ": " + reason};
}

}  // namespace

QorControl::QorControl(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

QorControl::QorControl(const QString& control, QWidget* parent) : QorControl(parent) {
    setControl(control);
}

QorControl::~QorControl() {
    clear();
}

bool QorControl::setControl(const QString& control) {
    clear();
    ReachRegisteredClasses();
    m_siteWindow = std::make_unique<CWidgetWnd>();
    const RECT area{0, 0, width(), height()};
    if (!m_siteWindow->CreateInWidget(this, area)) {
        m_siteWindow.reset();
        return Fail(CallOutcome{E_FAIL, "the container's window cannot be made"});
    }
    ClientWidgetOf(*m_siteWindow)->setFocusPolicy(Qt::NoFocus);
    const CallOutcome outcome =
        CControlSite::Insert(control.toStdString(), *m_siteWindow, area, m_site);
    if (!outcome.Succeeded()) {
        clear();
        return Fail(outcome);
    }
    m_control = control;
    // Reached by Tab through this widget, so that the control keeps this widget's place in
    // the window's tab order; a click still gives it focus directly.
    QWidget* client = ClientWidgetOf(*m_site->Window());
    client->setFocusPolicy(Qt::ClickFocus);
    client->installEventFilter(this);
    return Succeed();
}

void QorControl::clear() {
    m_site.reset();
    if (m_siteWindow) {
        m_siteWindow->DestroyWindow();
        m_siteWindow.reset();
    }
    m_control.clear();
}

IDispatch* QorControl::dispatch() const {
    return m_site ? m_site->Dispatch() : nullptr;
}

CWnd* QorControl::controlWindow() const {
    return m_site ? m_site->Window() : nullptr;
}

QVariant QorControl::dynamicCall(const QString& member, const QVariantList& args) {
    QVariantList copy = args;
    return Call(member, copy, false);
}

QVariant QorControl::dynamicCall(const QString& member, QVariantList& args) {
    return Call(member, args, true);
}

QVariant QorControl::Call(const QString& member, QVariantList& args, bool writeBack) {
    FitControl();
    const std::vector<bool> out =
        writeBack ? OutParameters(dispatch(), member) : std::vector<bool>{};
    if (args.size() < static_cast<qsizetype>(out.size()) &&
        std::find(out.begin() + args.size(), out.end(), true) != out.end()) {
        args.resize(static_cast<qsizetype>(out.size()));
    }
    // A deque, so that the storage stays where the references point while it grows.
    std::deque<CComVariant> storage;
    std::vector<CComVariant> values;
    for (qsizetype i = 0; i < args.size(); ++i) {
        CComVariant value;
        std::string reason;
        if (!VariantFromQt(args[i], value, reason)) {
            Fail(ArgumentFailure(i, reason));
            return {};
        }
        const bool byReference = static_cast<std::size_t>(i) < out.size() && out[i];
        if (!byReference) {
            values.push_back(std::move(value));
            continue;
        }
        // A reference to a missing value would read as an omitted argument: it starts empty.
        CComVariant& held = storage.emplace_back(value.IsMissing() ? CComVariant() : value);
        values.push_back(CComVariant::ByReference(&held));
    }
    CComVariant result;
    if (!Fail(CallMember(dispatch(), member.toStdString(), values, result))) {
        return {};
    }
    std::string reason;
    auto held = storage.begin();
    for (qsizetype i = 0; i < args.size() && held != storage.end(); ++i) {
        if (static_cast<std::size_t>(i) < out.size() && out[i] &&
            !VariantToQt(*held++, args[i], reason)) {
            Fail(ArgumentFailure(i, reason));
            return {};
        }
    }
    QVariant converted;
    if (!VariantToQt(result, converted, reason)) {
        Fail(CallOutcome{DISP_E_TYPEMISMATCH, member.toStdString() + ": " + reason});
        return {};
    }
    Succeed();
    return converted;
}

QVariant QorControl::propertyValue(const QString& name) {
    CComVariant value;
    QVariant converted;
    std::string reason;
    if (!Fail(GetMember(dispatch(), name.toStdString(), value))) {
        return {};
    }
    if (!VariantToQt(value, converted, reason)) {
        Fail(CallOutcome{DISP_E_TYPEMISMATCH, name.toStdString() + ": " + reason});
        return {};
    }
    Succeed();
    return converted;
}

bool QorControl::setPropertyValue(const QString& name, const QVariant& value) {
    CComVariant converted;
    std::string reason;
    if (!VariantFromQt(value, converted, reason)) {
        return Fail(CallOutcome{E_INVALIDARG, name.toStdString() + ": " + reason});
    }
    return Fail(PutMember(dispatch(), name.toStdString(), converted)) && Succeed();
}

bool QorControl::invokeById(DISPID id, WORD flags, const std::vector<CComVariant>& args,
                            CComVariant& result) {
    result.Clear();
    if (dispatch() == nullptr) {
        return Fail(CallOutcome{E_POINTER, "the widget holds no control"});
    }
    FitControl();
    const HRESULT hr = InvokeDispatch(dispatch(), id, flags, args, &result);
    return Fail(SUCCEEDED(hr) ? CallOutcome{}
                              : DescribeFailure("member " + std::to_string(id), hr)) &&
           Succeed();
}

bool QorControl::Fail(const CallOutcome& outcome) {
    if (outcome.Succeeded()) {
        return true;
    }
    m_lastError = QString::fromStdString(outcome.message);
    return false;
}

bool QorControl::Succeed() {
    m_lastError.clear();
    return true;
}

QSize QorControl::sizeHint() const {
    return kDefaultSize;
}

void QorControl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitControl();
}

void QorControl::FitControl() {
    const RECT area{0, 0, width(), height()};
    CWnd* window = controlWindow();
    if (window == nullptr || window->GetWindowRect() == area) {
        return;
    }
    m_siteWindow->MoveWindow(area);
    window->MoveWindow(area);
}

void QorControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (CWnd* window = controlWindow()) {
        ClientWidgetOf(*window)->setFocus(event->reason());
    }
}

bool QorControl::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && LeavesOnTab(*static_cast<QKeyEvent*>(event))) {
        MoveFocusOutOf(*this, static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool QorControl::LeavesOnTab(const QKeyEvent& key) const {
    if (key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab) {
        return false;
    }
    // Ctrl+Tab leaves a control that takes Tab for itself, as it leaves Qt's own text editors.
    if ((key.modifiers() & Qt::ControlModifier) != 0) {
        return true;
    }
    CWnd* window = controlWindow();
    return window != nullptr && (window->OnGetDlgCode() & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) == 0;
}
