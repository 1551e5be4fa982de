// The native `host` object of scripts.
#include "tools/qorhost/script_host_qt.h"

#include <QEventLoop>
#include <QJSEngine>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "embed/member_call.h"
#include "platform/gdi/bitmap_qt.h"
#include "platform/testing/input.h"
#include "platform/ui/wnd_qt.h"
#include "tools/qorhost/control_host.h"
#include "tools/qorhost/dialog_answers.h"
#include "tools/qorhost/key_names.h"
#include "tools/qorhost/script_dialogs_qt.h"
#include "tools/qorhost/script_dispatch_qt.h"
#include "tools/qorhost/script_values_qt.h"

namespace {

constexpr double kMaxExitCode = 255;
// How often a script waiting for the window to close looks whether it has.
constexpr int kClosePollMilliseconds = 100;

bool IsPixelCoordinate(double value) {
    return std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e6;
}

}  // namespace

CScriptHost::CScriptHost(const ScriptRequest& request, CScriptValues& values)
    : m_request(request),
      m_values(values),
      m_previousHook(SetModalLoopHook([this](CWnd& window) { return OnModalLoop(window); })) {}

CScriptHost::~CScriptHost() {
    SetModalLoopHook(std::move(m_previousHook));
}

void CScriptHost::ReleaseScriptValues() {
    m_onModal = QJSValue();
    m_modalHandle = QJSValue();
}

void CScriptHost::onModal(const QJSValue& function) {
    if (!function.isCallable()) {
        Throw(QStringLiteral("onModal: a function is needed"));
        return;
    }
    m_onModal = function;
}

bool CScriptHost::OnModalLoop(CWnd& window) {
    const bool headless = m_request.dialogs != nullptr;
    if (!m_onModal.isCallable()) {
        return headless;
    }
    const QJSValue function = m_onModal;
    m_onModal = QJSValue();
    m_modalHandle = m_values.Engine().newObject();
    m_modalWindow = &window;
    const QJSValue result = function.call({m_modalHandle});
    // The window belongs to the loop: the handle is good only while the function runs.
    m_modalWindow = nullptr;
    m_modalHandle = QJSValue();
    if (result.isError()) {
        Throw(QStringLiteral("onModal: %1").arg(result.toString()));
        return true;
    }
    return headless;
}

QStringList CScriptHost::args() const {
    QStringList list;
    for (const std::string& arg : m_request.args) {
        list.push_back(QString::fromStdString(arg));
    }
    return list;
}

QJSValue CScriptHost::env(const QString& name) const {
    const char* value = std::getenv(name.toLocal8Bit().constData());
    return value != nullptr ? QJSValue(QString::fromLocal8Bit(value))
                            : QJSValue(QJSValue::UndefinedValue);
}

QJSValue CScriptHost::createObject(const QString& progId) {
    CComPtr<IDispatch> object;
    const CallOutcome outcome = CreateDispatchObject(progId.toStdString(), object);
    if (!outcome.Succeeded()) {
        ThrowCallFailure(m_values.Engine(), outcome);
        return {};
    }
    return m_values.Wrap(object);
}

QJSValue CScriptHost::createControl(const QString& progId, double x, double y, double width,
                                    double height) {
    if (m_request.controls == nullptr) {
        Throw(QStringLiteral("createControl: this host has no window for controls"));
        return {};
    }
    if (!IsPixelCoordinate(x) || !IsPixelCoordinate(y) || !IsPixelCoordinate(width) ||
        !IsPixelCoordinate(height) || width <= 0 || height <= 0) {
        Throw(
            QStringLiteral("createControl: x, y, width and height must be whole pixels, "
                           "width and height above 0"));
        return {};
    }
    const RECT rect{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + width),
                    static_cast<int>(y + height)};
    CControlSite* site = nullptr;
    const CallOutcome outcome = m_request.controls->InsertControl(progId.toStdString(), rect, site);
    if (!outcome.Succeeded()) {
        ThrowCallFailure(m_values.Engine(), outcome);
        return {};
    }
    return m_values.Wrap(CComPtr<IDispatch>(site->Dispatch()));
}

void CScriptHost::button(const QString& label, double x, double y, double width, double height,
                         const QJSValue& function) {
    if (m_request.controls == nullptr) {
        Throw(QStringLiteral("button: this host has no window for buttons"));
        return;
    }
    if (!IsPixelCoordinate(x) || !IsPixelCoordinate(y) || !IsPixelCoordinate(width) ||
        !IsPixelCoordinate(height) || width <= 0 || height <= 0 || !function.isCallable()) {
        Throw(
            QStringLiteral("button: x, y, width and height must be whole pixels, width and "
                           "height above 0, and the last argument a function"));
        return;
    }
    const RECT rect{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + width),
                    static_cast<int>(y + height)};
    // An error in the function is reported as the script's own uncaught errors are, and the
    // window stays up.
    m_request.controls->AddButton(HostButton{rect, label.toStdString(), [function] {
                                                 const QJSValue result = QJSValue(function).call();
                                                 if (result.isError()) {
                                                     qWarning("button: %s",
                                                              qPrintable(result.toString()));
                                                 }
                                             }});
}

void CScriptHost::key(const QJSValue& control, const QString& name) {
    const std::optional<KeyStroke> stroke = ParseKeyStroke(name.toStdString());
    if (!stroke) {
        Throw(QStringLiteral("key: unknown key \"%1\"").arg(name));
        return;
    }
    if (CWnd* window = ControlWindow(control)) {
        SendKey(*window, stroke->vk, stroke->modifiers, stroke->text);
    }
}

void CScriptHost::type(const QJSValue& control, const QString& text) {
    if (CWnd* window = ControlWindow(control)) {
        TypeText(*window, text.toStdString());
    }
}

void CScriptHost::click(const QJSValue& control, double x, double y, const QString& modifiers) {
    const std::optional<UINT> flags = ParseModifiers(modifiers.toStdString());
    if (!flags) {
        Throw(QStringLiteral("click: unknown modifiers \"%1\"").arg(modifiers));
        return;
    }
    if (!IsPixelCoordinate(x) || !IsPixelCoordinate(y)) {
        Throw(QStringLiteral("click: x and y must be whole pixels"));
        return;
    }
    if (CWnd* window = ControlWindow(control)) {
        SendClick(*window, POINT{static_cast<int>(x), static_cast<int>(y)}, *flags);
    }
}

QJSValue CScriptHost::pixel(const QJSValue& control, double x, double y) {
    if (!IsPixelCoordinate(x) || !IsPixelCoordinate(y)) {
        Throw(QStringLiteral("pixel: x and y must be whole pixels"));
        return {};
    }
    CWnd* window = ControlWindow(control);
    if (window == nullptr) {
        return {};
    }
    return QJSValue(
        static_cast<double>(ReadPixel(*window, static_cast<int>(x), static_cast<int>(y))));
}

void CScriptHost::screenshot(const QJSValue& control, const QString& path) {
    QImage picture;
    if (control.isNull() || control.isUndefined()) {
        if (m_request.controls == nullptr) {
            Throw(QStringLiteral("screenshot: this host has no window"));
            return;
        }
        CWnd& area = m_request.controls->Area();
        area.UpdateWindow();
        if (QWidget* widget = QtWidgetOf(&area)) {
            picture = widget->grab().toImage();
        }
    } else if (CWnd* window = ControlWindow(control)) {
        window->UpdateWindow();
        picture = window->GetBackingSurface().impl().image;
    } else {
        return;
    }
    if (!picture.save(path, "PNG")) {
        Throw(QStringLiteral("screenshot: cannot write \"%1\"").arg(path));
    }
}

void CScriptHost::properties(const QJSValue& control) {
    if (ControlWindow(control) == nullptr) {
        return;
    }
    CControlSite* site = m_request.controls->FindSite(CScriptValues::DispatchOf(control));
    const CallOutcome outcome = site->ShowProperties();
    if (!outcome.Succeeded()) {
        ThrowCallFailure(m_values.Engine(), outcome);
    }
}

void CScriptHost::wait(double milliseconds) {
    if (!std::isfinite(milliseconds) || milliseconds < 0) {
        Throw(QStringLiteral("wait: the time must be 0 or more milliseconds"));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::min(milliseconds, 3600000.0)), &loop,
                       &QEventLoop::quit);
    loop.exec();
}

void CScriptHost::waitForClose() {
    // Headless there is nobody to close the window: the script goes on at once.
    if (m_request.dialogs != nullptr || m_request.controls == nullptr) {
        return;
    }
    const CWnd& area = m_request.controls->Area();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!area.IsWindow() || !area.IsWindowVisible()) {
            loop.quit();
        }
    });
    poll.start(kClosePollMilliseconds);
    loop.exec();
}

void CScriptHost::log(const QString& text) {
    const std::string line = text.toStdString();
    if (m_request.log) {
        m_request.log(line);
        return;
    }
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void CScriptHost::exit(double code) {
    // The system keeps only the low byte of a status: 256 would read as success.
    if (!std::isfinite(code) || code != std::trunc(code) || code < 0 || code > kMaxExitCode) {
        Throw(QStringLiteral("exit: the code must be a whole number from 0 to 255"));
        return;
    }
    m_exitRequested = true;
    m_exitCode = static_cast<int>(code);
    // Nothing of the script runs after this, not even its catch and finally blocks.
    m_values.Engine().setInterrupted(true);
}

void CScriptHost::answerDialog(const QJSValue& answer) {
    CScriptedDialogService* service = Dialogs();
    if (service == nullptr) {
        return;
    }
    std::string error;
    const std::optional<DialogAnswer> parsed = DialogAnswerFromScript(answer, error);
    if (!parsed) {
        Throw(QStringLiteral("dialogs.answer: %1").arg(QString::fromStdString(error)));
        return;
    }
    if (const std::optional<std::string> refused = QueueAnswer(*service, *parsed)) {
        Throw(QStringLiteral("dialogs.answer: %1").arg(QString::fromStdString(*refused)));
    }
}

QJSValue CScriptHost::shownDialogs() {
    CScriptedDialogService* service = Dialogs();
    return service != nullptr ? ShownDialogsToScript(m_values.Engine(), service->Shown())
                              : QJSValue();
}

void CScriptHost::clearShownDialogs() {
    if (CScriptedDialogService* service = Dialogs()) {
        service->ClearShown();
    }
}

CWnd* CScriptHost::ControlWindow(const QJSValue& control) {
    // null stands for the host's own window, where its buttons are.
    if ((control.isNull() || control.isUndefined()) && m_request.controls != nullptr) {
        return &m_request.controls->Area();
    }
    if (m_modalWindow != nullptr && control.strictlyEquals(m_modalHandle)) {
        if (!m_modalWindow->IsWindow()) {
            Throw(QStringLiteral("the modal window is closed"));
            return nullptr;
        }
        return m_modalWindow;
    }
    IDispatch* object = CScriptValues::DispatchOf(control);
    CControlSite* site = m_request.controls != nullptr && object != nullptr
                             ? m_request.controls->FindSite(object)
                             : nullptr;
    if (site == nullptr || site->Window() == nullptr) {
        Throw(QStringLiteral("not a control of this host"));
        return nullptr;
    }
    return site->Window();
}

CScriptedDialogService* CScriptHost::Dialogs() {
    if (m_request.dialogs == nullptr) {
        Throw(QStringLiteral("dialogs are scripted only with --headless; these are real"));
    }
    return m_request.dialogs;
}

void CScriptHost::Throw(const QString& message) {
    m_values.Engine().throwError(QJSValue::GenericError, message);
}
