// The user windows: list, add, change, delete and the own password.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "core/admin/Users.h"
#include "gui/admin/PasswordDialog.h"
#include "gui/admin/UserEditDialogs.h"
#include "gui/admin/UserListDialog.h"
#include "gui/shell/LoginWindow.h"
#include "gui/shell/SystemWindow.h"
#include "support/GuiTestSupport.h"

using namespace xinghe;
using namespace xinghe::guitest;

Q_DECLARE_METATYPE(xinghe::gui::Prompt::Kind)

namespace {

const QString kDeleteSuper = QStringLiteral("对不起，系统超级用户不可删除！");
const QString kModifySuper = QStringLiteral("对不起，系统超级用户信息不可修改！");
const QString kAskDelete = QStringLiteral("确实要删除该用户吗？");
const QString kTaken = QStringLiteral("对不起，该用户名已经被使用，请输入新的用户名！");

void addCoreUser(TestEnv& env, const std::string& uid, const std::string& name = "某人") {
    const Outcome done = admin::addUser(env.db(), {uid, name, "", "pw", "pw"});
    if (!done.ok) throw std::runtime_error(done.message);
}

// The user names the list shows, in order.
QStringList listed(QDialog& list) {
    auto* view = child<QTreeWidget>(&list, "ListView1");
    QStringList out;
    for (int i = 0; i < view->topLevelItemCount(); ++i) out << view->topLevelItem(i)->text(1);
    return out;
}

void select(QDialog& list, const QString& uid) {
    auto* view = child<QTreeWidget>(&list, "ListView1");
    const auto found = view->findItems(uid, Qt::MatchExactly, 1);
    if (found.size() != 1) throw std::runtime_error("no row " + uid.toStdString());
    view->setCurrentItem(found.front());
}

// Types the add window's five fields.
void fillAdd(QDialog& d, const QString& uid, const QString& name, const QString& password,
             const QString& confirm) {
    type(&d, "Edt_uid", uid);
    type(&d, "Edt_name", name);
    type(&d, "Edt_describe", "科研处");
    type(&d, "Edt_password", password);
    type(&d, "Edt_confirm", confirm);
}

bool logsIn(TestEnv& env, const QString& uid, const QString& password) {
    gui::LoginWindow login(env.ctx());
    login.show();
    type(&login, "Edt_user", uid);
    type(&login, "Edt_password", password);
    click(&login, "Btn_ok");
    return login.mainMenu() != nullptr;
}

}  // namespace

class UsersTest : public QObject {
    Q_OBJECT

private slots:
    void listShowsUsersInStoredOrder();
    void addChecks_data();
    void addChecks();
    void addTakenNameKeepsWindowOpen();
    void addThroughListRefillsIt();
    void deleteUser_data();
    void deleteUser();
    void modifyRefusals_data();
    void modifyRefusals();
    void modifyChangesNameAndDescription();
    void modifyNeedsFullName();
    void ownPassword_data();
    void ownPassword();
    void newPasswordWorksAtNextLogin();
    void systemWindowOpensUserWindows();
};

void UsersTest::listShowsUsersInStoredOrder() {
    TestEnv env;
    addCoreUser(env, "zhang", "张三");
    addCoreUser(env, "li", "李四");
    gui::UserListDialog list(env.ctx());
    QCOMPARE(list.objectName(), QStringLiteral("frmUserManage"));
    QCOMPARE(list.windowTitle(), QStringLiteral("用户管理"));
    auto* view = child<QTreeWidget>(&list, "ListView1");
    QCOMPARE(view->columnCount(), 4);
    QCOMPARE(view->headerItem()->text(0), QStringLiteral("ID"));
    QCOMPARE(view->headerItem()->text(1), QStringLiteral("用户名"));
    QCOMPARE(view->headerItem()->text(2), QStringLiteral("真实姓名"));
    QCOMPARE(view->headerItem()->text(3), QStringLiteral("描述"));
    QCOMPARE(view->columnWidth(0), 1);
    QCOMPARE(listed(list), (QStringList{"admin", "zhang", "li"}));
    QCOMPARE(view->topLevelItem(1)->text(0), QString());
    QCOMPARE(view->topLevelItem(1)->text(2), QStringLiteral("张三"));
}

void UsersTest::addChecks_data() {
    QTest::addColumn<QString>("uid");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    // Each row breaks the earliest check it is meant to hit and later ones as well,
    // so the order of the checks shows.
    QTest::newRow("all empty") << ""
                               << ""
                               << ""
                               << ""
                               << "所填用户名不能为空！";
    QTest::newRow("no full name") << "wang"
                                  << ""
                                  << ""
                                  << "x"
                                  << "所填用户真实姓名不能为空！";
    QTest::newRow("no password") << "wang"
                                 << "王五"
                                 << ""
                                 << ""
                                 << "所填密码不能为空！";
    QTest::newRow("no confirmation") << "wang"
                                     << "王五"
                                     << "pw"
                                     << ""
                                     << "所填确认密码不能为空！";
    QTest::newRow("confirmation differs") << "admin"
                                          << "王五"
                                          << "pw"
                                          << "pW"
                                          << "所填密码与确认密码不一致！";
    QTest::newRow("name taken") << "admin"
                                << "王五"
                                << "pw"
                                << "pw" << kTaken;
}

void UsersTest::addChecks() {
    QFETCH(QString, uid);
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    TestEnv env;
    gui::UserAddDialog add(env.ctx());
    add.show();
    fillAdd(add, uid, name, password, confirm);
    click(&add, "Btn_add");
    QCOMPARE(env.prompt.texts(), QStringList{message});
    QVERIFY(add.isVisible());
    QCOMPARE(admin::listUsers(env.db()).size(), std::size_t{1});
}

void UsersTest::addTakenNameKeepsWindowOpen() {
    TestEnv env;
    addCoreUser(env, "wang");
    gui::UserAddDialog add(env.ctx());
    QCOMPARE(add.objectName(), QStringLiteral("frmUserAdd"));
    QCOMPARE(add.windowTitle(), QStringLiteral("用户添加"));
    add.show();
    fillAdd(add, "wang", "王五", "pw", "pw");
    click(&add, "Btn_add");
    QCOMPARE(env.prompt.texts(), QStringList{kTaken});
    QVERIFY(add.isVisible());
    QCOMPARE(add.result(), int(QDialog::Rejected));
    QCOMPARE(child<QLineEdit>(&add, "Edt_uid")->text(), QStringLiteral("wang"));
    QCOMPARE(child<QLineEdit>(&add, "Edt_name")->text(), QStringLiteral("王五"));
    QCOMPARE(child<QLineEdit>(&add, "Edt_password")->text(), QStringLiteral("pw"));

    // A free name from the same window goes in and closes it.
    type(&add, "Edt_uid", "wang2");
    click(&add, "Btn_add");
    QCOMPARE(env.prompt.texts(), QStringList{kTaken});
    QVERIFY(!add.isVisible());
    QCOMPARE(add.result(), int(QDialog::Accepted));
    const auto stored = admin::findUser(env.db(), "wang2");
    QVERIFY(stored.has_value());
    QCOMPARE(stored->name, std::string("王五"));
    QCOMPARE(stored->describe, std::string("科研处"));
}

void UsersTest::addThroughListRefillsIt() {
    TestEnv env;
    gui::UserListDialog list(env.ctx());
    env.modals.expect("frmUserAdd", [](QDialog& d) {
        fillAdd(d, "Admin", "大写", "pw", "pw");
        click(&d, "Btn_add");
    });
    click(&list, "Btn_add");
    QCOMPARE(env.modals.problems(), QStringList());
    QVERIFY(env.prompt.shown().empty());
    QCOMPARE(listed(list), (QStringList{"admin", "Admin"}));
    QVERIFY(logsIn(env, "Admin", "pw"));
}

void UsersTest::deleteUser_data() {
    QTest::addColumn<QString>("selected");  // empty: no row selected
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("prompts");
    QTest::addColumn<QStringList>("remaining");
    const QString none = QStringLiteral("请选定要删除的用户！");
    QTest::newRow("no selection") << "" << true << QStringList{none}
                                  << QStringList{"admin", "Admin"};
    QTest::newRow("Admin, answered No")
        << "Admin" << false << QStringList{kAskDelete} << QStringList{"admin", "Admin"};
    QTest::newRow("Admin, answered Yes")
        << "Admin" << true << QStringList{kAskDelete} << QStringList{"admin"};
    // The question comes before the super-user test.
    QTest::newRow("admin, answered Yes") << "admin" << true << QStringList{kAskDelete, kDeleteSuper}
                                         << QStringList{"admin", "Admin"};
}

void UsersTest::deleteUser() {
    QFETCH(QString, selected);
    QFETCH(bool, yes);
    QFETCH(QStringList, prompts);
    QFETCH(QStringList, remaining);
    TestEnv env;
    addCoreUser(env, "Admin");
    gui::UserListDialog list(env.ctx());
    list.show();
    if (!selected.isEmpty()) select(list, selected);
    yes ? env.prompt.answerYes() : env.prompt.answerNo();
    click(&list, "Btn_delete");

    QCOMPARE(env.prompt.texts(), prompts);
    if (selected.isEmpty()) QCOMPARE(env.prompt.shown().front().kind, Prompt::Kind::Information);
    QCOMPARE(listed(list), remaining);
    QStringList stored;
    for (const auto& u : admin::listUsers(env.db())) stored << QString::fromStdString(u.uid);
    QCOMPARE(stored, remaining);
}

void UsersTest::modifyRefusals_data() {
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("message");
    QTest::addColumn<Prompt::Kind>("kind");
    QTest::newRow("no selection") << ""
                                  << "请选定要修改的用户！" << Prompt::Kind::Information;
    QTest::newRow("admin") << "admin" << kModifySuper << Prompt::Kind::Message;
}

void UsersTest::modifyRefusals() {
    QFETCH(QString, selected);
    QFETCH(QString, message);
    QFETCH(Prompt::Kind, kind);
    TestEnv env;
    gui::UserListDialog list(env.ctx());
    list.show();
    if (!selected.isEmpty()) select(list, selected);
    click(&list, "Btn_modify");
    QCOMPARE(env.prompt.texts(), QStringList{message});
    QCOMPARE(env.prompt.shown().front().kind, kind);
    QVERIFY(env.modals.opened().isEmpty());
}

void UsersTest::modifyChangesNameAndDescription() {
    TestEnv env;
    addCoreUser(env, "Admin", "旧名");
    gui::UserListDialog list(env.ctx());
    list.show();
    select(list, "Admin");
    env.modals.expect("frmUserModify", [](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("用户修改"));
        auto* uid = child<QLineEdit>(&d, "Edt_uid");
        QCOMPARE(uid->text(), QStringLiteral("Admin"));
        QVERIFY(uid->isReadOnly());
        QCOMPARE(child<QLineEdit>(&d, "Edt_name")->text(), QStringLiteral("旧名"));
        type(&d, "Edt_name", "新名");
        type(&d, "Edt_describe", "财务");
        click(&d, "Btn_modify");
        QVERIFY(!d.isVisible());
    });
    click(&list, "Btn_modify");
    QCOMPARE(env.modals.problems(), QStringList());
    QVERIFY(env.prompt.shown().empty());
    auto* view = child<QTreeWidget>(&list, "ListView1");
    QCOMPARE(view->topLevelItem(1)->text(2), QStringLiteral("新名"));
    QCOMPARE(view->topLevelItem(1)->text(3), QStringLiteral("财务"));
    QVERIFY(logsIn(env, "Admin", "pw"));  // the password is untouched
}

void UsersTest::modifyNeedsFullName() {
    TestEnv env;
    addCoreUser(env, "zhang", "张三");
    gui::UserModifyDialog d(env.ctx(), "zhang");
    d.show();
    type(&d, "Edt_name", "");
    click(&d, "Btn_modify");
    QCOMPARE(env.prompt.texts(), QStringList{QStringLiteral("所填用户真实姓名不能为空！")});
    QVERIFY(d.isVisible());
    QCOMPARE(admin::findUser(env.db(), "zhang")->name, std::string("张三"));
}

void UsersTest::ownPassword_data() {
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("worksAfter");
    QTest::newRow("confirmation differs") << "admin"
                                          << "neu"
                                          << "new"
                                          << "所填密码与确认密码不一致！"
                                          << "admin";
    QTest::newRow("wrong old password") << "nimda"
                                        << "neu"
                                        << "neu"
                                        << "输入的旧密码不正确，请重试"
                                        << "admin";
    QTest::newRow("changed") << "admin"
                             << "neu"
                             << "neu"
                             << "密码修改成功！"
                             << "neu";
    QTest::newRow("empty new password") << "admin"
                                        << ""
                                        << ""
                                        << "密码修改成功！"
                                        << "";
}

void UsersTest::ownPassword() {
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QFETCH(QString, worksAfter);
    TestEnv env;
    env.ctx().loggedInUser = "admin";
    gui::PasswordDialog d(env.ctx());
    QCOMPARE(d.objectName(), QStringLiteral("frmPasswordModify"));
    QCOMPARE(d.windowTitle(), QStringLiteral("用户个人密码修改"));
    d.show();
    for (const char* name : {"Edt_oldpassword", "Edt_newpassword", "Edt_confirm"}) {
        QCOMPARE(child<QLineEdit>(&d, name)->echoMode(), QLineEdit::Password);
    }
    type(&d, "Edt_oldpassword", oldPassword);
    type(&d, "Edt_newpassword", newPassword);
    type(&d, "Edt_confirm", confirm);
    click(&d, "Btn_modify");
    QCOMPARE(env.prompt.texts(), QStringList{message});
    QVERIFY(d.isVisible());  // stays open, also after success
    QVERIFY(admin::checkLogin(env.db(), "admin", worksAfter.toStdString(), admin::kServedFund) ==
            admin::LoginResult::Ok);
}

void UsersTest::newPasswordWorksAtNextLogin() {
    TestEnv env;
    addCoreUser(env, "zhang");
    {
        gui::LoginWindow login(env.ctx());
        login.show();
        type(&login, "Edt_user", "zhang");
        type(&login, "Edt_password", "pw");
        click(&login, "Btn_ok");
        QVERIFY(login.mainMenu());
    }
    // The window works on the logged-in user, not on admin.
    gui::PasswordDialog d(env.ctx());
    d.show();
    type(&d, "Edt_oldpassword", "pw");
    type(&d, "Edt_newpassword", "geheim");
    type(&d, "Edt_confirm", "geheim");
    click(&d, "Btn_modify");
    QCOMPARE(env.prompt.texts(), QStringList{QStringLiteral("密码修改成功！")});

    env.prompt.clear();
    QVERIFY(!logsIn(env, "zhang", "pw"));
    QVERIFY(logsIn(env, "zhang", "geheim"));
    QVERIFY(logsIn(env, "admin", "admin"));
}

void UsersTest::systemWindowOpensUserWindows() {
    TestEnv env;
    env.ctx().loggedInUser = "admin";
    gui::SystemWindow w(env.ctx());
    QCOMPARE(w.objectName(), QStringLiteral("frmSystem"));
    QCOMPARE(w.windowTitle(), QStringLiteral("星河署基金管理软件--系统管理"));
    QCOMPARE(w.size(), QSize(651, 540));
    QVERIFY(!child<QAbstractButton>(&w, "Tbtn_Help")->isEnabled());
    env.modals.expect("frmUserManage", [](QDialog& d) { click(&d, "Btn_return"); });
    env.modals.expect("frmPasswordModify", [](QDialog& d) { click(&d, "Btn_return"); });
    w.show();
    click(&w, "Tbtn_UserM");
    click(&w, "Tbtn_ChangePWD");
    QCOMPARE(env.modals.problems(), QStringList());
    QCOMPARE(env.modals.opened(), (QStringList{"frmUserManage", "frmPasswordModify"}));
    click(&w, "Tbtn_Exit");
    QVERIFY(!w.isVisible());
}

QTEST_MAIN(UsersTest)
#include "users_test.moc"
