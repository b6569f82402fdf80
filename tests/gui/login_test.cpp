// The log-in window: outcomes, keyboard flow and leaving the program.
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "core/admin/Users.h"
#include "gui/shell/LoginWindow.h"
#include "gui/shell/MainMenu.h"
#include "support/GuiTestSupport.h"

using namespace xinghe;
using namespace xinghe::guitest;
using gui::LoginWindow;

class LoginTest : public QObject {
    Q_OBJECT

private slots:
    void layoutAndDefaults();
    void outcomes_data();
    void outcomes();
    void enterMovesToPasswordThenLogsIn();
    void exitAnsweredNoClearsFields();
    void exitAnsweredYesEndsProgram();
    void closingEndsProgram();
};

void LoginTest::layoutAndDefaults() {
    TestEnv env;
    LoginWindow w(env.ctx());
    QCOMPARE(w.objectName(), QStringLiteral("frmLogin"));
    QCOMPARE(w.windowTitle(), QStringLiteral("登录"));
    auto* fund = child<QComboBox>(&w, "Cbb_fund");
    QVERIFY(fund->isEditable());
    QCOMPARE(fund->currentText(), QStringLiteral("澄川基金"));
    QCOMPARE(fund->count(), 2);
    QCOMPARE(fund->itemText(1), QStringLiteral("晨曦基金"));
    QCOMPARE(child<QLineEdit>(&w, "Edt_password")->echoMode(), QLineEdit::Password);
}

void LoginTest::outcomes_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("fund");
    QTest::addColumn<QString>("message");  // empty: logged in

    const QString bad = QStringLiteral("用户名\\密码不匹配,请重试");
    const QString notServed = QStringLiteral("目前尚未开设此基金管理服务");
    const QString served = QStringLiteral("澄川基金");
    const QString other = QStringLiteral("晨曦基金");
    QTest::newRow("right, served fund") << "admin"
                                        << "admin" << served << QString();
    QTest::newRow("right, other fund") << "admin"
                                       << "admin" << other << notServed;
    QTest::newRow("wrong password, served fund") << "admin"
                                                 << "nimda" << served << bad;
    // Credentials are tested first: the other fund still gets the credential message.
    QTest::newRow("wrong password, other fund") << "admin"
                                                << "nimda" << other << bad;
    QTest::newRow("unknown user") << "nobody"
                                  << "admin" << served << bad;
    QTest::newRow("user name in other case") << "Admin"
                                             << "admin" << served << bad;
    QTest::newRow("empty fields") << ""
                                  << "" << served << bad;
    QTest::newRow("fund with a trailing blank") << "admin"
                                                << "admin" << served + " " << notServed;
    QTest::newRow("fund with an inner blank")
        << "admin"
        << "admin" << QStringLiteral("澄川 基金") << notServed;
}

void LoginTest::outcomes() {
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, fund);
    QFETCH(QString, message);

    TestEnv env;
    LoginWindow w(env.ctx());
    w.show();
    type(&w, "Edt_user", user);
    type(&w, "Edt_password", password);
    child<QComboBox>(&w, "Cbb_fund")->setEditText(fund);
    click(&w, "Btn_ok");

    if (message.isEmpty()) {
        QVERIFY(env.prompt.shown().empty());
        QVERIFY(!w.isVisible());
        QVERIFY(w.mainMenu() != nullptr);
        QVERIFY(w.mainMenu()->isVisible());
        QCOMPARE(env.ctx().loggedInUser, user.toStdString());
    } else {
        QCOMPARE(env.prompt.texts(), QStringList{message});
        QCOMPARE(env.prompt.shown().front().kind, Prompt::Kind::Message);
        QVERIFY(w.isVisible());
        QVERIFY(w.mainMenu() == nullptr);
        QVERIFY(env.ctx().loggedInUser.empty());
        // The window keeps its contents.
        QCOMPARE(child<QLineEdit>(&w, "Edt_user")->text(), user);
        QCOMPARE(child<QLineEdit>(&w, "Edt_password")->text(), password);
        QCOMPARE(child<QComboBox>(&w, "Cbb_fund")->currentText(), fund);
    }
}

void LoginTest::enterMovesToPasswordThenLogsIn() {
    TestEnv env;
    LoginWindow w(env.ctx());
    w.show();
    auto* user = child<QLineEdit>(&w, "Edt_user");
    auto* password = child<QLineEdit>(&w, "Edt_password");
    type(&w, "Edt_user", "admin");
    QTest::keyClick(user, Qt::Key_Return);
    QCOMPARE(w.focusWidget(), password);
    QVERIFY(w.mainMenu() == nullptr);  // Enter in the user name does not log in

    type(&w, "Edt_password", "admin");
    QTest::keyClick(password, Qt::Key_Return);
    QVERIFY(w.mainMenu() != nullptr);
    QVERIFY(!w.isVisible());
}

void LoginTest::exitAnsweredNoClearsFields() {
    TestEnv env;
    LoginWindow w(env.ctx());
    w.show();
    QSignalSpy exits(&w, &LoginWindow::exitRequested);
    type(&w, "Edt_user", "admin");
    type(&w, "Edt_password", "secret");
    child<QLineEdit>(&w, "Edt_password")->setFocus();
    env.prompt.answerNo();
    click(&w, "Btn_exit");

    QCOMPARE(env.prompt.texts(), QStringList{QStringLiteral("要退出本系统吗？")});
    QCOMPARE(env.prompt.shown().front().kind, Prompt::Kind::Confirmation);
    QCOMPARE(exits.count(), 0);
    QVERIFY(w.isVisible());
    QVERIFY(child<QLineEdit>(&w, "Edt_user")->text().isEmpty());
    QVERIFY(child<QLineEdit>(&w, "Edt_password")->text().isEmpty());
    QCOMPARE(w.focusWidget(), child<QLineEdit>(&w, "Edt_user"));
}

void LoginTest::exitAnsweredYesEndsProgram() {
    TestEnv env;
    LoginWindow w(env.ctx());
    w.show();
    QSignalSpy exits(&w, &LoginWindow::exitRequested);
    env.prompt.answerYes();
    click(&w, "Btn_exit");
    QCOMPARE(exits.count(), 1);
    QVERIFY(!w.isVisible());
}

void LoginTest::closingEndsProgram() {
    TestEnv env;
    LoginWindow w(env.ctx());
    w.show();
    QSignalSpy exits(&w, &LoginWindow::exitRequested);
    w.close();
    QCOMPARE(exits.count(), 1);
    QVERIFY(env.prompt.shown().empty());
}

QTEST_MAIN(LoginTest)
#include "login_test.moc"
