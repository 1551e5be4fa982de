// Template dialogs and popup menus through the Qt service, run for real on the offscreen
// platform and answered from a timer.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "platform/dialogs/dialog.h"
#include "platform/dialogs/qt_dialogs_qt.h"
#include "platform/ui/menu.h"

namespace {

constexpr int kPollMilliseconds = 10;
constexpr UINT kTemplate = 9200;
constexpr UINT kName = 200;
constexpr UINT kBold = 201;
constexpr UINT kMenu = 7200;
constexpr UINT kOpen = 601;
constexpr UINT kRemove = 602;

// Runs the answer on the first modal or popup window that comes up. Should it stay open,
// later ticks close it, so that a failing test fails instead of waiting forever.
class AnswerWhenUp {
  public:
    explicit AnswerWhenUp(std::function<void(QWidget*)> answer) : m_answer(std::move(answer)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(kPollMilliseconds);
    }
    bool Answered() const { return m_answered; }

  private:
    void Poll() {
        QWidget* up = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                        : QApplication::activeModalWidget();
        if (up == nullptr) {
            return;
        }
        if (m_answered) {
            up->close();
            return;
        }
        m_answered = true;
        m_answer(up);
    }

    std::function<void(QWidget*)> m_answer;
    QTimer m_timer;
    bool m_answered = false;
};

void TypeInto(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
    }
}

void PressKey(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class CNameDialog : public CDialog {
  public:
    CNameDialog() : CDialog(kTemplate) {}
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, kName, m_name);
        DDX_Check(dx, kBold, m_bold);
    }
    void OnCancel() override {
        ++m_cancels;
        CDialog::OnCancel();
    }

    std::string m_name = "x";
    int m_bold = 0;
    int m_cancels = 0;
};

class QtTemplateDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterDialogResource(DlgTemplate{
            kTemplate,
            "Name",
            120,
            60,
            {{DlgControlKind::Edit, kName, "", 8, 8, 100, 12, ES_UPPERCASE | ES_AUTOHSCROLL},
             {DlgControlKind::CheckBox, kBold, "Bold", 8, 24, 60, 10, BS_AUTOCHECKBOX},
             {DlgControlKind::PushButton, IDOK, "OK", 8, 40, 50, 14, BS_DEFPUSHBUTTON},
             {DlgControlKind::PushButton, IDCANCEL, "Cancel", 62, 40, 50, 14, BS_PUSHBUTTON}}});
        RegisterMenuResource(
            kMenu, {MenuItemResource::Popup(
                       "", {MenuItemResource::Item("Open", kOpen), MenuItemResource::Separator(),
                            MenuItemResource::Item("Remove", kRemove)})});
        m_previous = SetDialogService(CreateQtDialogService());
    }
    void TearDown() override { SetDialogService(std::move(m_previous)); }

    std::unique_ptr<IDialogService> m_previous;
};

}  // namespace

TEST_F(QtTemplateDialogs, RunsTheRealDialogUntilOkAndExchangesItsValues) {
    CNameDialog dialog;
    const AnswerWhenUp answer([](QWidget* up) {
        EXPECT_EQ(up->windowTitle(), "Name");
        const RECT size = DialogUnitsToPixels(0, 0, 120, 60);
        EXPECT_EQ(up->size(), QSize(size.Width(), size.Height()));
        auto* edit = up->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), "x");
        edit->selectAll();
        TypeInto(edit, "ab");
        EXPECT_EQ(edit->text(), "AB");
        auto* box = up->findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        box->click();
        for (QPushButton* button : up->findChildren<QPushButton*>()) {
            if (button->text() == "OK") {
                button->click();
            }
        }
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(dialog.m_name, "AB");
    EXPECT_EQ(dialog.m_bold, BST_CHECKED);
}

TEST_F(QtTemplateDialogs, EscapeAndTheCloseButtonCancel) {
    CNameDialog escaped;
    {
        const AnswerWhenUp escape([](QWidget* up) {
            auto* edit = up->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            TypeInto(edit, "changed");
            PressKey(edit, Qt::Key_Escape);
        });
        EXPECT_EQ(escaped.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(escaped.m_cancels, 1);
    EXPECT_EQ(escaped.m_name, "x");

    CNameDialog closed;
    const AnswerWhenUp close([](QWidget* up) { up->close(); });
    EXPECT_EQ(closed.DoModal(), IDCANCEL);
    EXPECT_EQ(closed.m_cancels, 1);
}

TEST_F(QtTemplateDialogs, PopupMenuShowsTheOwnersStatesAndSendsTheChoice) {
    CWnd owner;
    ASSERT_TRUE(owner.Create(nullptr, RECT{0, 0, 100, 100}, 0, WS_VISIBLE));
    std::vector<UINT> ran;
    owner.OnCommandId(kOpen, [&ran] { ran.push_back(kOpen); });
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(kMenu));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);

    {
        const AnswerWhenUp choose([](QWidget* up) {
            auto* shown = qobject_cast<QMenu*>(up);
            ASSERT_NE(shown, nullptr);
            const QList<QAction*> actions = shown->actions();
            ASSERT_EQ(actions.size(), 3);
            EXPECT_EQ(actions[0]->text(), "Open");
            EXPECT_TRUE(actions[0]->isEnabled());
            EXPECT_TRUE(actions[1]->isSeparator());
            EXPECT_FALSE(actions[2]->isEnabled());
            shown->setActiveAction(actions[0]);
            PressKey(shown, Qt::Key_Return);
        });
        EXPECT_NE(popup->TrackPopupMenu(TPM_RIGHTBUTTON, 30, 40, &owner), 0);
        EXPECT_TRUE(choose.Answered());
    }
    EXPECT_EQ(ran, std::vector<UINT>{kOpen});

    const AnswerWhenUp dismiss([](QWidget* up) { PressKey(up, Qt::Key_Escape); });
    EXPECT_EQ(popup->TrackPopupMenu(TPM_RETURNCMD, 30, 40, &owner), 0);
    EXPECT_EQ(ran.size(), 1U);
}
