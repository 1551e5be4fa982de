// QorControl: a Qt widget that hosts any registered control, created by ProgID or class id,
// with its window sized to the widget, focus and Tab passed through, and calls by name with
// Qt values.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QWidget>
#include <memory>

#include "embed/member_call.h"
#include "platform/com/dispatch.h"

class CControlSite;
class CWidgetWnd;
class CWnd;

class QorControl : public QWidget {
  public:
    explicit QorControl(QWidget* parent = nullptr);
    // Creates the control at once; see setControl.
    explicit QorControl(const QString& control, QWidget* parent = nullptr);
    ~QorControl() override;
    QorControl(const QorControl&) = delete;
    QorControl& operator=(const QorControl&) = delete;

    // Creates the control by ProgID ("QORGrid.QORGridCtrl.1") or braced class id through the
    // class registry and embeds its window, in place of the control held before. False when
    // it cannot be made, with the registry's or the control's reason in lastError().
    bool setControl(const QString& control);
    // The ProgID or class id the control was made from; empty without a control.
    QString control() const { return m_control; }
    // Closes the control and lets it go.
    void clear();
    bool isNull() const { return m_site == nullptr; }
    // Why the last creation or call failed: "Member: description (0x8XXXXXXX, source)";
    // empty after one that worked.
    QString lastError() const { return m_lastError; }

    // The control's dispatch interface (no reference passes); null without a control.
    IDispatch* dispatch() const;
    // The control's window; null without a control.
    CWnd* controlWindow() const;

    // Calls the member by name as a method or property get with the arguments; an invalid
    // QVariant is an omitted argument. The result, or an invalid QVariant on failure.
    QVariant dynamicCall(const QString& member, const QVariantList& args = {});
    // The same, with the values the control stores into its out parameters written back into
    // args (which grows to the member's parameter count when an out parameter comes later).
    QVariant dynamicCall(const QString& member, QVariantList& args);
    // A property read and written by name.
    QVariant propertyValue(const QString& name);
    bool setPropertyValue(const QString& name, const QVariant& value);

    // Calls by dispatch id, for the generated wrappers: method or property get with
    // arguments already in automation form (out arguments passed by reference), or a put.
    bool invokeById(DISPID id, WORD flags, const std::vector<CComVariant>& args,
                    CComVariant& result);

    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QVariant Call(const QString& member, QVariantList& args, bool writeBack);
    bool Fail(const CallOutcome& outcome);
    bool Succeed();
    // Tab and Shift+Tab that the control leaves to its container move to the next (previous)
    // widget of the window outside this one.
    bool LeavesOnTab(const QKeyEvent& key) const;
    // The control's window takes the widget's size. A hidden widget learns of a resize only
    // when it is shown, so calls fit the control first: a control sized by the program before
    // it shows lays out its rows and fields for the right size.
    void FitControl();

    std::unique_ptr<CWidgetWnd> m_siteWindow;
    std::unique_ptr<CControlSite> m_site;
    QString m_control;
    QString m_lastError;
};
