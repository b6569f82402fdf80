// The main menu: layout, hover pictures, the unit check, leaving, and the schema
// upgrade when it is shown.
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "core/admin/UnitInfo.h"
#include "gui/shell/EntryWindows.h"
#include "gui/shell/LoginWindow.h"
#include "gui/shell/MainMenu.h"
#include "support/GuiTestSupport.h"

using namespace xinghe;
using namespace xinghe::guitest;
using gui::MainMenu;
using gui::MenuEntry;

Q_DECLARE_METATYPE(MenuEntry)

namespace {

void hover(MainMenu& menu, MenuEntry e) {
    QTest::mouseMove(&menu, menu.plainPicture(e)->geometry().center());
}

void hoverBackground(MainMenu& menu) {
    QTest::mouseMove(&menu, QPoint(100, 100));
}

void clickActive(MainMenu& menu, MenuEntry e) {
    QLabel* active = menu.activePicture(e);
    QTest::mouseClick(active, Qt::LeftButton, {}, active->rect().center());
}

QList<MenuEntry> activeEntries(const MainMenu& menu) {
    QList<MenuEntry> out;
    for (MenuEntry e : gui::kMenuEntries) {
        if (menu.activePicture(e)->isVisible()) out << e;
    }
    return out;
}

// Fills the unit-information window as the user does and saves it.
void registerUnitThroughWindow(QDialog& d) {
    click(&d, "Button1");  // 编辑
    auto* names = child<QComboBox>(&d, "cbb_name");
    names->setCurrentIndex(0);
    type(&d, "Edt_Department", "教育部");
    type(&d, "Edit1", "北京市");
    type(&d, "Edit4", "颐和园路");
    type(&d, "Edt_bank", "中国工商银行");
    type(&d, "Edt_count", "0200001234567890");
    type(&d, "edt_managedepart", "科学技术研究部");
    click(&d, "Button2");  // 保存
}

}  // namespace

class MainMenuTest : public QObject {
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void hoverShowsOnlyThatEntry_data();
    void hoverShowsOnlyThatEntry();
    void unitCheck_data();
    void unitCheck();
    void unitCheckPassesAfterUnitInfoSaved();
    void entryWithoutOpenerDoesNothing();
    void exitEntryEndsProgram();
    void upgradeErrorShownAndMenuStays();
};

void MainMenuTest::layout_data() {
    QTest::addColumn<MenuEntry>("entry");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("top");
    QTest::newRow("system") << MenuEntry::System << "系统管理" << 210;
    QTest::newRow("applications") << MenuEntry::Applications << "项目申请管理" << 260;
    QTest::newRow("projects") << MenuEntry::Projects << "在研项目管理" << 310;
    QTest::newRow("final reports") << MenuEntry::FinalReports << "项目总结管理" << 360;
    QTest::newRow("experts") << MenuEntry::Experts << "专家管理" << 410;
    QTest::newRow("exit") << MenuEntry::Exit << "退出管理系统" << 460;
}

void MainMenuTest::layout() {
    QFETCH(MenuEntry, entry);
    QFETCH(QString, label);
    QFETCH(int, top);
    TestEnv env;
    MainMenu menu(env.ctx());
    QCOMPARE(menu.objectName(), QStringLiteral("frmMain"));
    QCOMPARE(menu.windowTitle(), QStringLiteral("星河署基金管理软件--主菜单"));
    QCOMPARE(menu.size(), QSize(753, 545));
    QVERIFY(menu.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(MainMenu::label(entry), label);
    const QRect place(500, top, 162, 31);
    QCOMPARE(menu.plainPicture(entry)->geometry(), place);
    QCOMPARE(menu.activePicture(entry)->geometry(), place);
    QCOMPARE(menu.activePicture(entry)->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(child<QLabel>(&menu, "Lbl_version")->pos(), QPoint(496, 520));
}

void MainMenuTest::hoverShowsOnlyThatEntry_data() {
    layout_data();
}

void MainMenuTest::hoverShowsOnlyThatEntry() {
    QFETCH(MenuEntry, entry);
    TestEnv env;
    MainMenu menu(env.ctx());
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    QVERIFY(activeEntries(menu).isEmpty());

    hover(menu, entry);
    QCOMPARE(activeEntries(menu), QList<MenuEntry>{entry});
    QVERIFY(menu.plainPicture(entry)->isVisible());  // the plain picture stays
    // Moving on over the active picture keeps it.
    QTest::mouseMove(&menu, menu.activePicture(entry)->geometry().center() + QPoint(20, 0));
    QCOMPARE(activeEntries(menu), QList<MenuEntry>{entry});

    hoverBackground(menu);
    QVERIFY(activeEntries(menu).isEmpty());
}

void MainMenuTest::unitCheck_data() {
    QTest::addColumn<MenuEntry>("entry");
    QTest::addColumn<bool>("checked");
    QTest::newRow("system") << MenuEntry::System << false;
    QTest::newRow("applications") << MenuEntry::Applications << true;
    QTest::newRow("projects") << MenuEntry::Projects << true;
    QTest::newRow("final reports") << MenuEntry::FinalReports << true;
    QTest::newRow("experts") << MenuEntry::Experts << true;
}

void MainMenuTest::unitCheck() {
    QFETCH(MenuEntry, entry);
    QFETCH(bool, checked);
    TestEnv env;  // no unit registered
    MainMenu menu(env.ctx());
    int opened = 0;
    QWidget* openedWith = nullptr;
    menu.setEntryOpener(entry, [&](QWidget* parent) {
        ++opened;
        openedWith = parent;
    });
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));

    hover(menu, entry);
    clickActive(menu, entry);
    if (checked) {
        QCOMPARE(env.prompt.texts(), QStringList{QString::fromUtf8(admin::kUnitMissing)});
        QCOMPARE(env.prompt.shown().front().kind, Prompt::Kind::Message);
        QCOMPARE(opened, 0);
        QVERIFY(menu.activePicture(entry)->isVisible());
    } else {
        QVERIFY(env.prompt.shown().empty());
        QCOMPARE(opened, 1);
        QCOMPARE(openedWith, &menu);
        QVERIFY(!menu.activePicture(entry)->isVisible());
    }
}

void MainMenuTest::unitCheckPassesAfterUnitInfoSaved() {
    TestEnv env;
    MainMenu menu(env.ctx());
    gui::plugEntryWindows(menu, env.ctx());
    int applicationsOpened = 0;
    menu.setEntryOpener(MenuEntry::Applications, [&](QWidget*) { ++applicationsOpened; });
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));

    hover(menu, MenuEntry::Applications);
    clickActive(menu, MenuEntry::Applications);
    QCOMPARE(applicationsOpened, 0);
    QCOMPARE(env.prompt.lastText(), QString::fromUtf8(admin::kUnitMissing));

    // 系统管理 → 单位信息: register the unit.
    env.modals.expect("frmSystem", [](QDialog& d) {
        click(&d, "Tbtn_UnitInfo");
        click(&d, "Tbtn_Exit");
    });
    env.modals.expect("frmcollegeinfo", registerUnitThroughWindow);
    hoverBackground(menu);
    hover(menu, MenuEntry::System);
    clickActive(menu, MenuEntry::System);
    QCOMPARE(env.modals.problems(), QStringList());
    QCOMPARE(env.modals.opened(), (QStringList{"frmSystem", "frmcollegeinfo"}));
    QCOMPARE(env.prompt.lastText(), QStringLiteral("保存成功！"));

    env.prompt.clear();
    hoverBackground(menu);
    hover(menu, MenuEntry::Applications);
    clickActive(menu, MenuEntry::Applications);
    QVERIFY(env.prompt.shown().empty());
    QCOMPARE(applicationsOpened, 1);
    QVERIFY(!menu.activePicture(MenuEntry::Applications)->isVisible());
}

void MainMenuTest::entryWithoutOpenerDoesNothing() {
    TestEnv env;
    admin::UnitRecord unit;
    unit.collegenum = "0001";
    unit.department = unit.address = unit.sheng = unit.jie = unit.bank = unit.count =
        unit.managedepart = "x";
    QVERIFY(admin::saveUnit(env.db(), unit).ok);
    MainMenu menu(env.ctx());
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    hover(menu, MenuEntry::Experts);
    clickActive(menu, MenuEntry::Experts);
    QVERIFY(env.prompt.shown().empty());
    QVERIFY(env.modals.opened().isEmpty());
    QVERIFY(menu.isVisible());
}

void MainMenuTest::exitEntryEndsProgram() {
    TestEnv env;
    gui::LoginWindow login(env.ctx());
    login.show();
    type(&login, "Edt_user", "admin");
    type(&login, "Edt_password", "admin");
    click(&login, "Btn_ok");
    MainMenu* menu = login.mainMenu();
    QVERIFY(menu);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QSignalSpy exits(&login, &gui::LoginWindow::exitRequested);

    hover(*menu, MenuEntry::Exit);
    clickActive(*menu, MenuEntry::Exit);
    QCOMPARE(exits.count(), 1);
    QVERIFY(!menu->isVisible());
    QVERIFY(env.prompt.shown().empty());  // no unit check, no question
}

void MainMenuTest::upgradeErrorShownAndMenuStays() {
    TestEnv env;
    // An older database: no ExpertArticle, but Expert exists, so the upgrade stops at
    // its first table.
    env.db().execScript("DROP TABLE ExpertArticle");
    MainMenu menu(env.ctx());
    menu.show();
    QCOMPARE(env.prompt.shown().size(), std::size_t{1});
    QCOMPARE(env.prompt.shown().front().kind, Prompt::Kind::Error);
    QVERIFY(env.prompt.lastText().contains("Expert"));
    QVERIFY(menu.isVisible());
    QVERIFY(!env.db().tableExists("ExpertArticle"));
}

QTEST_MAIN(MainMenuTest)
#include "main_menu_test.moc"
