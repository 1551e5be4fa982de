// The native side of the script's `host` object: objects and controls, input, pixels and
// pictures, dialog answers, logging and the end of the script.
#pragma once

#include <QJSValue>
#include <QObject>
#include <QString>
#include <QStringList>

#include "platform/ui/modal_loop.h"
#include "tools/qorhost/script_runner.h"

class CScriptValues;
class CWnd;

class CScriptHost : public QObject {
    Q_OBJECT
  public:
    CScriptHost(const ScriptRequest& request, CScriptValues& values);
    ~CScriptHost() override;
    CScriptHost(const CScriptHost&) = delete;
    CScriptHost& operator=(const CScriptHost&) = delete;
    // Lets go of the script's values while their engine is still there.
    void ReleaseScriptValues();

    bool ExitRequested() const { return m_exitRequested; }
    int ExitCode() const { return m_exitCode; }

    Q_INVOKABLE QStringList args() const;
    Q_INVOKABLE QJSValue env(const QString& name) const;
    Q_INVOKABLE QJSValue createObject(const QString& progId);
    Q_INVOKABLE QJSValue createControl(const QString& progId, double x, double y, double width,
                                       double height);
    Q_INVOKABLE void button(const QString& label, double x, double y, double width, double height,
                            const QJSValue& function);
    Q_INVOKABLE void key(const QJSValue& control, const QString& name);
    Q_INVOKABLE void type(const QJSValue& control, const QString& text);
    Q_INVOKABLE void click(const QJSValue& control, double x, double y, const QString& modifiers);
    Q_INVOKABLE QJSValue pixel(const QJSValue& control, double x, double y);
    Q_INVOKABLE void screenshot(const QJSValue& control, const QString& path);
    Q_INVOKABLE void properties(const QJSValue& control);
    Q_INVOKABLE void wait(double milliseconds);
    Q_INVOKABLE void waitForClose();
    Q_INVOKABLE void log(const QString& text);
    Q_INVOKABLE void exit(double code);
    // The function runs once when the next modal loop starts, with a handle of its window.
    Q_INVOKABLE void onModal(const QJSValue& function);
    Q_INVOKABLE void answerDialog(const QJSValue& answer);
    Q_INVOKABLE QJSValue shownDialogs();
    Q_INVOKABLE void clearShownDialogs();

  private:
    // The window of a control the script inserted, or of the modal window handed to an onModal
    // function while it runs; throws and answers null for anything else.
    CWnd* ControlWindow(const QJSValue& control);
    // The modal loop hook: runs the onModal function; headless, the loop must not wait.
    bool OnModalLoop(CWnd& window);
    CScriptedDialogService* Dialogs();
    void Throw(const QString& message);

    const ScriptRequest& m_request;
    CScriptValues& m_values;
    QJSValue m_onModal;
    QJSValue m_modalHandle;
    CWnd* m_modalWindow = nullptr;
    ModalLoopHook m_previousHook;
    bool m_exitRequested = false;
    int m_exitCode = 0;
};
