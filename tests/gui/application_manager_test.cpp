// The application manager: its year tree and list, deleting, printing, the banner, the
// year window and its place behind the main menu.
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <fstream>
#include <sstream>

#include "ApplicationFixtures.h"
#include "core/applications/Applications.h"
#include "core/applications/Banner.h"
#include "core/text/Gbk.h"
#include "gui/applications/ApplicationManager.h"
#include "gui/common/Texts.h"
#include "gui/shell/EntryWindows.h"
#include "gui/shell/MainMenu.h"

using namespace xinghe;
using namespace xinghe::guitest;
using namespace xinghe::apptest;
namespace fs = std::filesystem;
using gui::qs;

namespace {

void clickItem(QTreeWidget* tree, QTreeWidgetItem* item) {
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

QTreeWidgetItem* yearNode(QTreeWidget* years, const QString& year) {
    const auto found = years->findItems(year, Qt::MatchExactly);
    if (found.isEmpty()) throw std::runtime_error("no year node " + year.toStdString());
    return found.front();
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A stand-in for LibreOffice: a script that writes its arguments to a file after a
// moment, then ends with `exitCode` after printing `output`.
fs::path fakeOffice(const fs::path& folder, const fs::path& argsFile, int exitCode = 0,
                    const std::string& output = {}) {
    fs::path script = folder / ("soffice" + std::to_string(exitCode));
    std::ofstream(script) << "#!/bin/sh\nsleep 1\nprintf '%s\\n' \"$@\" > '" << argsFile.string()
                          << "'\necho '" << output << "'\nexit " << exitCode << "\n";
    fs::permissions(script, fs::perms::owner_all);
    return script;
}

class ScopedSoffice {
public:
    explicit ScopedSoffice(const fs::path& program) {
        qputenv("XINGHE_SOFFICE", QByteArray::fromStdString(program.string()));
    }
    ~ScopedSoffice() { qunsetenv("XINGHE_SOFFICE"); }
};

}  // namespace

class ApplicationManagerTest : public QObject {
    Q_OBJECT

private slots:
    void toolbarAndList();
    void yearClickListsTheYearAndDeleteRemovesEverything();
    void printHandsTheFiledFormToLibreOffice();
    void bannerStartsAgainAfterItsWidth();
    void yearWindow();
    void oneManagerBehindTheMenu();
};

void ApplicationManagerTest::toolbarAndList() {
    TestEnv env;
    gui::ApplicationManager manager(env.ctx());
    QCOMPARE(manager.objectName(), QStringLiteral("frmYanFaChu"));
    QCOMPARE(manager.windowTitle(), QStringLiteral("星河署基金管理软件--项目申请管理"));

    QStringList captions, names;
    for (auto* b : child<QToolBar>(&manager, "ToolBar1")->findChildren<QToolButton*>()) {
        if (b->objectName().startsWith("Tbtn_")) {
            names << b->objectName();
            captions << b->text();
        }
    }
    QCOMPARE(names, (QStringList{"Tbtn_SetYear", "Tbtn_add", "Tbtn_delete", "Tbtn_print",
                                 "Tbtn_fresh", "Tbtn_help", "Tbtn_exit"}));
    QCOMPARE(captions,
             (QStringList{"年份设置", "添加申请", "删除申请", "申请打印", "刷新", "帮助", "返回"}));
    QVERIFY(!child<QToolButton>(&manager, "Tbtn_help")->isEnabled());

    auto* list = child<QTreeWidget>(&manager, "ListView_look");
    const QStringList headings{"",         "序号",     "申请年度", "申请人",
                               "项目名称", "所在单位", "所在院系", "学科名称"};
    const QList<int> widths{1, 80, 60, 60, 80, 100, 100, 100};
    for (int c = 0; c < headings.size(); ++c) {
        QCOMPARE(list->headerItem()->text(c), headings[c]);
        QCOMPARE(list->columnWidth(c), widths[c]);
    }
    // An empty store gives an empty tree.
    QCOMPARE(child<QTreeWidget>(&manager, "TreeView1")->topLevelItemCount(), 0);
}

void ApplicationManagerTest::yearClickListsTheYearAndDeleteRemovesEverything() {
    TestEnv env;
    registerUnit(env, "2025");
    QTemporaryDir forms;
    const std::string only2025 =
        importForm(env, writeForm(pathOf(forms) / "a.docx", sample(0, "2025")));
    setYear(env, "2026");
    auto withoutCollege = sample(1);
    withoutCollege.bookmarks["ffd_department"] = "";
    const std::string first = importForm(env, writeForm(pathOf(forms) / "b.docx", withoutCollege));
    const std::string second = importForm(env, writeForm(pathOf(forms) / "c.docx", sample(2)));

    gui::ApplicationManager manager(env.ctx());
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    auto* years = child<QTreeWidget>(&manager, "TreeView1");
    auto* list = child<QTreeWidget>(&manager, "ListView_look");
    QCOMPARE(topLevelTexts(years), (QStringList{"2026", "2025"}));

    clickItem(years, yearNode(years, "2026"));
    QCOMPARE(topLevelTexts(list, 1), (QStringList{qs(first), qs(second)}));
    QTreeWidgetItem* r = list->topLevelItem(0);
    const forms::FormData d = sample(1);
    QCOMPARE(r->text(0), QString());
    QCOMPARE(r->text(2), QStringLiteral("2026"));
    QCOMPARE(r->text(3), qs(d.cells.at({2, 20, 1})));
    QCOMPARE(r->text(4), qs(d.bookmarks.at("ffd_subjectname")));
    QCOMPARE(r->text(5), QString::fromUtf8(kUniversity));
    QCOMPARE(r->text(6), QString());  // no college
    QCOMPARE(r->text(7), qs(d.cells.at({2, 2, 3})));

    // Nothing selected: only the information box.
    click(&manager, "Tbtn_delete");
    QCOMPARE(env.prompt.shown().size(), std::size_t{1});
    QCOMPARE(env.prompt.shown()[0].kind, Prompt::Kind::Information);
    QCOMPARE(env.prompt.lastText(), QStringLiteral("请选定要删除的申请！"));

    // Answered No: nothing goes.
    clickItem(years, yearNode(years, "2025"));
    list->setCurrentItem(list->topLevelItem(0));
    env.prompt.clear();
    env.prompt.answerNo();
    click(&manager, "Tbtn_delete");
    QCOMPARE(env.prompt.texts(), QStringList{"确实要删除该申请吗？"});
    QCOMPARE(rowsWithNumber(env, "ApplyInfo", only2025), 1);
    QCOMPARE(list->topLevelItemCount(), 1);

    // Answered Yes: every row of the number and the filed form go, and so does the
    // emptied year's node.
    const auto form = applications::findFiledForm(env.store().home(), "2025", only2025,
                                                  sample(0, "2025").cells.at({2, 20, 1}));
    QVERIFY(form && fs::exists(*form));
    env.prompt.answerYes();
    click(&manager, "Tbtn_delete");
    for (const char* table :
         {"ApplyInfo", "AttenDeeInfo", "MachineInfo", "ProductionInfo", "ProjectInfo"}) {
        QCOMPARE(rowsWithNumber(env, table, only2025), 0);
    }
    QVERIFY(!fs::exists(*form));
    QCOMPARE(topLevelTexts(years), QStringList{"2026"});
    QCOMPARE(list->topLevelItemCount(), 0);
    QCOMPARE(rowsWithNumber(env, "ApplyInfo", first), 1);
}

void ApplicationManagerTest::printHandsTheFiledFormToLibreOffice() {
    TestEnv env;
    registerUnit(env);
    QTemporaryDir work;
    const std::string id = importForm(env, writeForm(pathOf(work) / "a.docx", sample(0)));
    const auto form =
        applications::findFiledForm(env.store().home(), "2026", id, sample(0).cells.at({2, 20, 1}));
    QVERIFY(form);
    const fs::path args = pathOf(work) / "args.txt";

    gui::ApplicationManager manager(env.ctx());
    manager.show();
    auto* list = child<QTreeWidget>(&manager, "ListView_look");

    click(&manager, "Tbtn_print");
    QCOMPARE(env.prompt.shown().size(), std::size_t{1});
    QCOMPARE(env.prompt.shown()[0].kind, Prompt::Kind::Information);
    QCOMPARE(env.prompt.lastText(), QStringLiteral("请选定要打印的申请！"));

    manager.showYear("2026");
    list->setCurrentItem(list->topLevelItem(0));
    {
        ScopedSoffice office(fakeOffice(pathOf(work), args));
        env.prompt.clear();
        env.prompt.answerNo();
        click(&manager, "Tbtn_print");
        QCOMPARE(env.prompt.texts(), QStringList{"确实要打印该申请吗？"});
        QVERIFY(manager.findChildren<QProcess*>().isEmpty());

        // The window is back at once; LibreOffice prints on its own.
        env.prompt.clear();
        env.prompt.answerYes();
        click(&manager, "Tbtn_print");
        QVERIFY(!fs::exists(args));
        QTRY_VERIFY_WITH_TIMEOUT(fs::exists(args) && !readAll(args).empty(), 10000);
        QCOMPARE(readAll(args), "--headless\n-p\n" + form->string() + "\n");
        QTRY_VERIFY(manager.findChildren<QProcess*>().isEmpty());
        QCOMPARE(env.prompt.texts(), QStringList{"确实要打印该申请吗？"});
    }
    {
        // A failed print is reported with what LibreOffice said.
        ScopedSoffice office(fakeOffice(pathOf(work), args, 1, "no printer"));
        env.prompt.clear();
        env.prompt.answerYes();
        click(&manager, "Tbtn_print");
        QTRY_COMPARE_WITH_TIMEOUT(env.prompt.shown().size(), std::size_t{2}, 10000);
        QCOMPARE(env.prompt.lastText(), QStringLiteral("申请书打印失败：no printer"));
    }
    {
        ScopedSoffice office(pathOf(work) / "no-such-office");
        env.prompt.clear();
        env.prompt.answerYes();
        click(&manager, "Tbtn_print");
        QVERIFY(env.prompt.lastText().startsWith(QStringLiteral("没有找到 LibreOffice")));
    }
    {
        ScopedSoffice office(fakeOffice(pathOf(work), args));
        fs::remove(*form);
        env.prompt.clear();
        env.prompt.answerYes();
        click(&manager, "Tbtn_print");
        QVERIFY(env.prompt.lastText().startsWith(QStringLiteral("找不到该申请的申请书文件")));
        QVERIFY(manager.findChildren<QProcess*>().isEmpty());
    }
}

void ApplicationManagerTest::bannerStartsAgainAfterItsWidth() {
    TestEnv env;
    gui::ApplicationManager manager(env.ctx());
    auto* timer = child<QTimer>(&manager, "Timer1");
    auto* label = child<QLabel>(&manager, "Label1");
    QCOMPARE(timer->interval(), 300);
    QVERIFY(timer->isActive());  // shown or not

    // Connected after the window's own handler: sees the text after each tick.
    QStringList seen;
    connect(timer, &QTimer::timeout, this, [&] { seen << label->text(); });
    timer->setInterval(1);
    const QString banner = QString::fromUtf8(applications::kBannerText);
    const int width = int(applications::kBannerWidth - text::gbkLength(applications::kBannerText));
    QTRY_VERIFY_WITH_TIMEOUT(seen.size() > 2 * width + 2, 20000);

    QCOMPARE(seen.front(), " " + banner);
    const int start = int(seen.indexOf(banner));
    QVERIFY(start > 0);
    QCOMPARE(seen.indexOf(banner, start + 1), start + width);
    for (int i = 1; i < width; ++i) QCOMPARE(seen[start + i], QString(i, ' ') + banner);
}

void ApplicationManagerTest::yearWindow() {
    TestEnv env;
    gui::ApplicationManager manager(env.ctx());
    const int thisYear = QDate::currentDate().year();

    // No year yet: the box opens empty; a year typed beyond the list is stored.
    env.modals.expect("frmYearSet", [&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("年份设置"));
        QCOMPARE(d.size(), QSize(243, 138));
        auto* box = child<QComboBox>(&d, "ComboBox1");
        QVERIFY(box->isEditable());
        QCOMPARE(box->count(), 14);
        QCOMPARE(box->itemText(0), QString::number(thisYear + 1));
        QCOMPARE(box->itemText(13), QString::number(thisYear - 12));
        QCOMPARE(box->currentText(), QString());
        box->setEditText(QString::number(thisYear + 5));
        click(&d, "Button1");
        QVERIFY(!d.isVisible());
    });
    click(&manager, "Tbtn_SetYear");
    QCOMPARE(env.prompt.texts(),
             QStringList{"你已经将本系统年份设置为" + QString::number(thisYear + 5)});
    QCOMPARE(applications::acceptedYear(env.db()).value_or(""), std::to_string(thisYear + 5));

    // The stored year is shown; a text that is no year is refused and the window stays.
    env.prompt.clear();
    env.modals.expect("frmYearSet", [&](QDialog& d) {
        auto* box = child<QComboBox>(&d, "ComboBox1");
        QCOMPARE(box->currentText(), QString::number(thisYear + 5));
        box->setEditText("20x6");
        click(&d, "Button1");
        QVERIFY(d.isVisible());
        QCOMPARE(env.prompt.shown().size(), std::size_t{1});
        box->setCurrentIndex(2);
        click(&d, "Button1");
        QVERIFY(!d.isVisible());
    });
    click(&manager, "Tbtn_SetYear");
    QCOMPARE(env.prompt.lastText(), "你已经将本系统年份设置为" + QString::number(thisYear - 1));
    QCOMPARE(applications::acceptedYear(env.db()).value_or(""), std::to_string(thisYear - 1));
    QCOMPARE(env.modals.problems().join(";"), QString());
}

void ApplicationManagerTest::oneManagerBehindTheMenu() {
    TestEnv env;
    registerUnit(env);
    QTemporaryDir forms;
    importForm(env, writeForm(pathOf(forms) / "a.docx", sample(0)));

    gui::MainMenu menu(env.ctx());
    gui::plugEntryWindows(menu, env.ctx());
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    auto open = [&] {
        QTest::mouseMove(&menu, QPoint(5, 5));
        QTest::mouseMove(&menu,
                         menu.plainPicture(gui::MenuEntry::Applications)->geometry().center());
        QLabel* active = menu.activePicture(gui::MenuEntry::Applications);
        QTest::mouseClick(active, Qt::LeftButton, {}, active->rect().center());
    };

    QDialog* first = nullptr;
    env.modals.expect("frmYanFaChu", [&](QDialog& d) {
        first = &d;
        auto* years = child<QTreeWidget>(&d, "TreeView1");
        QCOMPARE(topLevelTexts(years), QStringList{"2026"});
        clickItem(years, yearNode(years, "2026"));
        click(&d, "Tbtn_exit");
        QVERIFY(!d.isVisible());
    });
    open();

    // Another year arrives behind the window's back: the tree keeps what it had until
    // 刷新.
    setYear(env, "2025");
    importForm(env, writeForm(pathOf(forms) / "b.docx", sample(1, "2025")));
    env.modals.expect("frmYanFaChu", [&](QDialog& d) {
        QCOMPARE(&d, first);
        auto* years = child<QTreeWidget>(&d, "TreeView1");
        QCOMPARE(topLevelTexts(years), QStringList{"2026"});
        QCOMPARE(child<QTreeWidget>(&d, "ListView_look")->topLevelItemCount(), 1);
        click(&d, "Tbtn_fresh");
        QCOMPARE(topLevelTexts(years), (QStringList{"2026", "2025"}));
        QCOMPARE(child<QTreeWidget>(&d, "ListView_look")->topLevelItemCount(), 0);
        d.close();
    });
    open();
    QCOMPARE(env.modals.problems().join(";"), QString());
    QCOMPARE(menu.findChildren<gui::ApplicationManager*>().size(), 1);
}

QTEST_MAIN(ApplicationManagerTest)
#include "application_manager_test.moc"
