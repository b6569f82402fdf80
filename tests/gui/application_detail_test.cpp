// The detail view of one application, its renumbering and the project-number dialog.
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QLineEdit>
#include <QPieSeries>
#include <QPieSlice>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "ApplicationFixtures.h"
#include "core/applications/Applications.h"
#include "gui/applications/ApplicationDetailView.h"
#include "gui/applications/ApplicationManager.h"
#include "gui/applications/ProjectNumberDialog.h"
#include "gui/common/Texts.h"

using namespace xinghe;
using namespace xinghe::guitest;
using namespace xinghe::apptest;
namespace fs = std::filesystem;
using gui::qs;

namespace {

QString boxText(QWidget* view, const QString& name) {
    return child<QLineEdit>(view, name)->text();
}

QStringList rowTexts(QTreeWidget* list, int row) {
    QStringList out;
    for (int c = 0; c < list->columnCount(); ++c) out << list->topLevelItem(row)->text(c);
    return out;
}

const char* const kTables[] = {"ApplyInfo",      "AttenDeeInfo", "MachineInfo",
                               "ProductionInfo", "ProjectInfo",  "ProjectControl"};

}  // namespace

class ApplicationDetailTest : public QObject {
    Q_OBJECT

private slots:
    void sheetsShowTheApplication();
    void renumbering();
    void projectNumberDialog_data();
    void projectNumberDialog();
};

void ApplicationDetailTest::sheetsShowTheApplication() {
    TestEnv env;
    registerUnit(env);
    QTemporaryDir forms;
    auto data = sample(0);
    data.cells[{2, 5, 10}] = "1234.5678";  // 申请经费, shown twice
    data.cells[{8, 3, 2}] = "12.3456";     // 设备费
    data.cells[{8, 3, 3}] = "4.56789";     // 材料费
    data.cells[{8, 3, 4}] = "3";           // 计算费
    data.cells[{8, 3, 5}] = "0.1234567";   // 资料费
    data.cells[{8, 3, 6}] = "1234567";     // 差旅费
    data.cells[{8, 3, 7}] = "12.3456";     // 其它: shown whole
    // Professors, associate professors, lecturers, doctoral, master's students, others.
    const char* counts[] = {"6", "5", "1", "2", "3", "4"};
    for (int c = 0; c < 6; ++c) data.cells[{7, 16, c + 2}] = counts[c];
    const std::string id = importForm(env, writeForm(pathOf(forms) / "a.docx", data));

    gui::ApplicationManager manager(env.ctx());
    manager.show();
    QVERIFY(QTest::qWaitForWindowExposed(&manager));
    manager.showYear("2026");
    auto* list = child<QTreeWidget>(&manager, "ListView_look");

    env.modals.expect("frmProInfo", [&](QDialog& d) {
        QCOMPARE(static_cast<gui::ApplicationDetailView&>(d).projectId(), qs(id));
        QCOMPARE(d.windowTitle(), QStringLiteral("项目信息"));
        QCOMPARE(d.size(), QSize(755, 704));
        auto* pages = child<QTabWidget>(&d, "PageControl1");
        QCOMPARE(pages->count(), 4);
        QCOMPARE(pages->tabText(3), QStringLiteral("简表四"));

        struct Box {
            const char* name;
            QString shown;
        };
        for (const Box& b : std::vector<Box>{
                 {"DBEdit_PrimaryProj_BeginYear", "1234.5"},
                 {"DBEdit_Total", "1234.5"},
                 {"DBEdit_Machine_Fee", "12.345"},
                 {"DBEdit_Stuff_Fee", "4.5678"},
                 {"DBEdit_Count_Fee", "3"},
                 {"DBEdit_Information_Fee", "0.1234"},
                 {"DBEdit_Travel_Fee", "123456"},
                 {"DBEdit_Other_Fee", "12.3456"},
                 {"DBEdit_Applyer_Name", qs(data.cells.at({2, 20, 1}))},
                 {"DBEdit_Project_Name", qs(data.bookmarks.at("ffd_subjectname"))},
                 {"DBEdit_Applyer_Telephone", qs(data.cells.at({2, 7, 6}))},
                 {"DBEdit_Professor_Num", "6"},
             }) {
            QCOMPARE(boxText(&d, b.name), b.shown);
            QVERIFY(child<QLineEdit>(&d, b.name)->isReadOnly());
        }
        QCOMPARE(child<QPlainTextEdit>(&d, "DBMemo_Cooperator_Info")->toPlainText(),
                 qs(data.cells.at({7, 18, 1})));

        auto* members = child<QTreeWidget>(&d, "ListView1");
        QCOMPARE(members->topLevelItemCount(), 2);
        QCOMPARE(members->topLevelItem(0)->text(1), qs(data.cells.at({7, 3, 2})));
        auto* machines = child<QTreeWidget>(&d, "ListView2");
        QCOMPARE(machines->topLevelItemCount(), 2);
        QCOMPARE(rowTexts(machines, 0), (QStringList{"", "服务器", "2", "3.2"}));
        auto* works = child<QTreeWidget>(&d, "ListView3");
        QCOMPARE(works->topLevelItemCount(), 3);
        QCOMPARE(works->columnWidth(0), 1);
        // Newest first.
        QCOMPARE(works->topLevelItem(0)->text(2), QStringLiteral("2022-03"));
        QCOMPARE(works->topLevelItem(2)->text(2), QStringLiteral("2020-01"));
        QCOMPARE(works->topLevelItem(0)->text(0), QString());

        QChart* chart = child<QChartView>(&d, "DBChart1")->chart();
        QCOMPARE(chart->title(), QStringLiteral("参加人员知识结构"));
        QCOMPARE(chart->titleBrush().color(), QColor(Qt::blue));
        QVERIFY(chart->titleFont().bold());
        QVERIFY(!chart->legend()->isVisible());
        QCOMPARE(chart->series().size(), 1);
        auto* pie = qobject_cast<QPieSeries*>(chart->series().front());
        QVERIFY(pie);
        struct Slice {
            double value;
            QColor colour;
        };
        const std::vector<Slice> slices = {
            {1, QColor(0xff, 0, 0)}, {2, QColor(0, 0x80, 0)},       {3, QColor(0xff, 0xff, 0)},
            {4, QColor(0, 0, 0xff)}, {5, QColor(0xff, 0xff, 0xff)}, {6, QColor(0xc0, 0xc0, 0xc0)}};
        QCOMPARE(pie->count(), 6);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(pie->slices()[i]->value(), slices[i].value);
            QCOMPARE(pie->slices()[i]->color(), slices[i].colour);
            QVERIFY(pie->slices()[i]->isLabelVisible());
        }
        QCOMPARE(pie->slices()[0]->label(), QStringLiteral("4.76%"));
        QCOMPARE(pie->slices()[5]->label(), QStringLiteral("28.57%"));
        click(&d, "Button1");
    });
    QTreeWidgetItem* row = list->topLevelItem(0);
    doubleClick(list, list->visualItemRect(row));
    QCOMPARE(env.modals.problems().join(";"), QString());
    QCOMPARE(env.modals.opened(), QStringList{"frmProInfo"});
    // The number may have changed: the list is emptied.
    QCOMPARE(list->topLevelItemCount(), 0);
}

void ApplicationDetailTest::renumbering() {
    TestEnv env;
    registerUnit(env);
    QTemporaryDir forms;
    const std::string id = importForm(env, writeForm(pathOf(forms) / "a.docx", sample(0)));
    const std::string other = importForm(env, writeForm(pathOf(forms) / "b.docx", sample(1)));
    QCOMPARE(id, std::string("20260999001"));
    QCOMPARE(other, std::string("20260999002"));
    env.db()
        .prepare(
            "INSERT INTO ProjectControl (ProjectID, PDate, PMoney) VALUES (?1, '2026-05-01', 2)")
        .bind(1, id)
        .exec();
    const std::string applicant = sample(0).cells.at({2, 20, 1});
    std::map<std::string, int> before;
    for (const char* t : kTables) before[t] = rowsWithNumber(env, t, id);

    gui::ApplicationDetailView view(env.ctx(), qs(id));
    view.show();
    auto answer = [&](const QString& typed, const QString& button) {
        env.modals.expect("frmProjectCode", [&view, typed, button](QDialog& d) {
            QCOMPARE(d.windowTitle(), QStringLiteral("项目编号"));
            QCOMPARE(child<QLineEdit>(&d, "Edit1")->text(), view.projectId().mid(8));
            if (!typed.isNull()) type(&d, "Edit1", typed);
            click(&d, button);
        });
    };

    // Taken numbers, its own included, are refused; nothing moves.
    for (const QString& taken : {QStringLiteral("2"), QStringLiteral("001")}) {
        env.prompt.clear();
        answer(taken, "Button1");
        click(&view, "Button2");
        QCOMPARE(env.prompt.shown().size(), std::size_t{1});
        QCOMPARE(env.prompt.shown()[0].kind, Prompt::Kind::Captioned);
        QCOMPARE(env.prompt.shown()[0].caption, QStringLiteral("错误"));
        QCOMPARE(env.prompt.lastText(), QStringLiteral("编号重复"));
        QCOMPARE(view.projectId(), qs(id));
    }

    // Cancelled: nothing happens.
    env.prompt.clear();
    answer(QString(), "Button2");
    click(&view, "Button2");
    QVERIFY(env.prompt.shown().empty());
    QCOMPARE(view.projectId(), qs(id));

    // 7 becomes 007: every row and the filed form follow.
    answer("7", "Button1");
    click(&view, "Button2");
    QVERIFY(env.prompt.shown().empty());
    const std::string renumbered = "20260999007";
    QCOMPARE(view.projectId(), qs(renumbered));
    for (const char* t : kTables) {
        QCOMPARE(rowsWithNumber(env, t, id), 0);
        QCOMPARE(rowsWithNumber(env, t, renumbered), before[t]);
    }
    const fs::path year = env.store().home().newDocDir() / "2026";
    QVERIFY(!fs::exists(year / (id + applicant + ".docx")));
    QVERIFY(fs::exists(year / (renumbered + applicant + ".docx")));
    QCOMPARE(env.modals.problems().join(";"), QString());

    // Without its filed form the application is still renumbered, with a warning.
    gui::ApplicationDetailView second(env.ctx(), qs(other));
    second.show();
    fs::remove(year / (other + sample(1).cells.at({2, 20, 1}) + ".docx"));
    env.modals.expect("frmProjectCode", [](QDialog& d) {
        type(&d, "Edit1", "8");
        click(&d, "Button1");
    });
    click(&second, "Button2");
    QCOMPARE(env.prompt.texts(), QStringList{"复制文件错误，请与系统管理员联系！"});
    QCOMPARE(second.projectId(), QStringLiteral("20260999008"));
    QCOMPARE(rowsWithNumber(env, "ApplyInfo", "20260999008"), 1);
}

void ApplicationDetailTest::projectNumberDialog_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("action");  // a button's objectName, or "Escape"
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("refused");

    QTest::newRow("5 padded and accepted") << "5"
                                           << "Button1" << true << "005" << false;
    QTest::newRow("42 padded and accepted") << "42"
                                            << "Button1" << true << "042" << false;
    QTest::newRow("999 accepted") << "999"
                                  << "Button1" << true << "999" << false;
    QTest::newRow("0 refused") << "0"
                               << "Button1" << false << "000" << true;
    QTest::newRow("000 refused") << "000"
                                 << "Button1" << false << "000" << true;
    QTest::newRow("a1 refused") << "a1"
                                << "Button1" << false << "0a1" << true;
    QTest::newRow("empty refused") << ""
                                   << "Button1" << false << "000" << true;
    QTest::newRow("取消 empties") << "12"
                                  << "Button2" << true << "" << false;
    QTest::newRow("Escape empties") << "12"
                                    << "Escape" << true << "" << false;
}

void ApplicationDetailTest::projectNumberDialog() {
    QFETCH(QString, typed);
    QFETCH(QString, action);
    QFETCH(bool, closed);
    QFETCH(QString, field);
    QFETCH(bool, refused);

    TestEnv env;
    gui::ProjectNumberDialog d(env.ctx());
    d.setNumber("001");
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(child<QLineEdit>(&d, "Edit1")->maxLength(), 3);
    type(&d, "Edit1", typed);
    if (action == "Escape") {
        QTest::keyClick(&d, Qt::Key_Escape);
    } else {
        click(&d, action);
    }
    QCOMPARE(!d.isVisible(), closed);
    QCOMPARE(d.number(), field);
    if (refused) {
        QCOMPARE(env.prompt.shown().size(), std::size_t{1});
        QCOMPARE(env.prompt.shown()[0].caption, QStringLiteral("错误"));
        QCOMPARE(env.prompt.lastText(), QStringLiteral("输入错误"));
    } else {
        QVERIFY(env.prompt.shown().empty());
    }
}

QTEST_MAIN(ApplicationDetailTest)
#include "application_detail_test.moc"
