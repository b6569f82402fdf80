// Adding applications: the year and submission checks, the document selection and the
// import batch with its progress list.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fstream>

#include "ApplicationFixtures.h"
#include "core/applications/Applications.h"
#include "core/applications/DocumentChoice.h"
#include "gui/applications/ApplicationManager.h"
#include "gui/applications/DocumentSelectionDialog.h"
#include "gui/applications/ImportProgressDialog.h"

using namespace xinghe;
using namespace xinghe::guitest;
using namespace xinghe::apptest;
namespace fs = std::filesystem;

namespace {

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

QListWidgetItem* listed(QListWidget* list, const QString& name) {
    const auto found = list->findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) throw std::runtime_error("not listed: " + name.toStdString());
    return found.front();
}

QString row(QTreeWidget* list, int index, int column) {
    return list->topLevelItem(index)->text(column);
}

}  // namespace

class ApplicationImportTest : public QObject {
    Q_OBJECT

private slots:
    void batchShowsEachOutcomeAndRefreshesTheYears();
    void selectionRules();
    void finalReportsAreNotImportedYet();
    void addNeedsAYearAndAfterASubmissionTheYearWindow();
};

void ApplicationImportTest::batchShowsEachOutcomeAndRefreshesTheYears() {
    TestEnv env;
    registerUnit(env, "2025");
    QTemporaryDir forms;
    // An application of an earlier year is listed before the batch starts.
    importForm(env, writeForm(pathOf(forms) / "earlier" / "2025.docx", sample(10, "2025")));
    setYear(env, "2026");

    const fs::path folder = pathOf(forms) / "batch";
    writeForm(folder / "1成功.docx", sample(0));
    writeForm(folder / "2重复.docx", sample(0));
    auto unlocked = sample(1);
    unlocked.status = "0";
    writeForm(folder / "3未加锁.docx", unlocked);
    writeForm(folder / "4年份.docx", sample(2, "2025"));
    auto otherUnit = sample(3);
    otherUnit.bookmarks["ffd_university"] = "别的大学";
    writeForm(folder / "5单位.docx", otherUnit);
    writeBytes(folder / "6坏文件.docx", "这不是一个Word文档");
    writeForm(folder / "7成功.docx", sample(4));

    struct Outcome {
        const char* status;
        const char* hint;
    };
    const std::vector<Outcome> expected = {
        {"处理成功", "文档总编号为20260999001"},
        {"处理失败", "该申请者信息在本年度申请中已经存在"},
        {"处理失败", "文档未加锁"},
        {"处理失败", "申请书中的申请日期与系统认可的申请日期不一致"},
        {"处理失败", "申请书中的学校名称与系统注册的使用单位名称不一致"},
        {"处理失败", "未知错误，请检查导入的Word文档是否正确，文档内容是否符合要求"},
        {"处理成功", "文档总编号为20260999002"},
    };

    gui::ApplicationManager manager(env.ctx());
    manager.show();
    auto* years = child<QTreeWidget>(&manager, "TreeView1");
    auto* list = child<QTreeWidget>(&manager, "ListView_look");
    QCOMPARE(topLevelTexts(years), QStringList{"2025"});
    manager.showYear("2025");
    QCOMPARE(list->topLevelItemCount(), 1);

    env.modals.expect("frmsortapply", [&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("选择要增加的申请书"));
        auto& selection = static_cast<gui::DocumentSelectionDialog&>(d);
        QCOMPARE(selection.kind(), 1);
        selection.setFolder(QString::fromStdString(folder.string()));
        QCOMPARE(child<QListWidget>(&d, "FileList")->count(), 7);
        click(&d, "SelectAll");
        click(&d, "Btn_ok");
        QVERIFY(!d.isVisible());  // hidden while the batch runs
    });
    env.modals.expect("frmdoc", [&](QDialog& d) {
        QCOMPARE(d.windowTitle(), QStringLiteral("正在处理文档列表"));
        QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
        auto* rows = child<QTreeWidget>(&d, "ListView1");
        QCOMPARE(rows->columnCount(), 5);
        QCOMPARE(rows->headerItem()->text(1), QStringLiteral("ID"));
        QCOMPARE(rows->headerItem()->text(4), QStringLiteral("提示"));
        QCOMPARE(rows->columnWidth(0), 1);
        QCOMPARE(rows->topLevelItemCount(), 7);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(row(rows, i, 1), QString::number(i + 1));
            QCOMPARE(row(rows, i, 3), QStringLiteral("等待处理"));
        }
        QCOMPARE(row(rows, 0, 2), QString::fromStdString((folder / "1成功.docx").string()));
        auto* batchBar = child<QProgressBar>(&d, "ProgressBar2");
        QCOMPARE(batchBar->maximum(), 7 * 120);
        QCOMPARE(child<QProgressBar>(&d, "ProgressBar1")->maximum(), 120);

        click(&d, "Btn_start");
        auto* start = child<QPushButton>(&d, "Btn_start");
        auto* back = child<QPushButton>(&d, "Btn_return");
        QVERIFY(!start->isEnabled());
        QVERIFY(!back->isEnabled());
        QCOMPARE(row(rows, 0, 3), QStringLiteral("正在处理···"));
        d.reject();  // Escape while running: refused
        QVERIFY(d.isVisible());

        QTRY_VERIFY_WITH_TIMEOUT(back->isEnabled(), 120000);
        QVERIFY(!start->isEnabled());
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(row(rows, i, 3), QString::fromUtf8(expected[i].status));
            QCOMPARE(row(rows, i, 4), QString::fromUtf8(expected[i].hint));
        }
        // The last result fills the batch bar (stopping at its maximum).
        QCOMPARE(batchBar->value(), batchBar->maximum());
        QCOMPARE(env.prompt.lastText(), QStringLiteral("所有文档处理完毕！"));
        // The manager was refreshed before 返回 came back.
        QCOMPARE(topLevelTexts(years), (QStringList{"2026", "2025"}));
        QCOMPARE(list->topLevelItemCount(), 0);
        click(&d, "Btn_return");
    });
    click(&manager, "Tbtn_add");

    QCOMPARE(env.modals.problems().join(";"), QString());
    QCOMPARE(env.modals.opened(), (QStringList{"frmsortapply", "frmdoc"}));
    QCOMPARE(env.prompt.texts(), QStringList{"所有文档处理完毕！"});
    const auto stored = applications::listApplications(env.db(), "2026");
    QCOMPARE(stored.size(), std::size_t{2});
    QCOMPARE(stored[0].projectId, std::string("20260999001"));
    QCOMPARE(stored[1].projectId, std::string("20260999002"));
}

void ApplicationImportTest::selectionRules() {
    TestEnv env;
    QTemporaryDir empty, forms;
    const fs::path folder = pathOf(forms);
    writeForm(folder / "a.docx", sample(0));
    writeBytes(folder / "b.doc", "x");
    writeBytes(folder / "c.txt", "x");
    writeBytes(folder / "~$a.docx", "x");

    gui::DocumentSelectionDialog d(env.ctx());
    d.show();
    auto* files = child<QListWidget>(&d, "FileList");
    auto* name = child<QLineEdit>(&d, "FileNameEdit");
    auto* filter = child<QComboBox>(&d, "FilterCombo");
    QCOMPARE(name->text(), QStringLiteral("*.doc"));
    QCOMPARE(filter->count(), 1);
    QCOMPARE(filter->itemText(0), QStringLiteral("申请书 (*.doc *.docx)"));

    // 全选 in an empty folder: refused, the dialog stays.
    d.setFolder(empty.path());
    QCOMPARE(files->count(), 0);
    click(&d, "SelectAll");
    click(&d, "Btn_ok");
    QCOMPARE(env.prompt.texts(), QStringList{applications::kNoDocumentChosen});
    QVERIFY(d.isVisible());
    click(&d, "SelectAll");

    // Without 全选 and with the field still "*.doc" nothing happens.
    // A folder typed into the field is opened.
    env.prompt.clear();
    type(&d, "FileNameEdit", forms.path());
    click(&d, "Btn_ok");
    QCOMPARE(d.folder(), forms.path());
    QCOMPARE(name->text(), QStringLiteral("*.doc"));
    QStringList shown;
    for (int i = 0; i < files->count(); ++i) shown << files->item(i)->text();
    QCOMPARE(shown, (QStringList{"a.docx", "b.doc"}));
    click(&d, "Btn_ok");
    QVERIFY(env.prompt.shown().empty());
    QVERIFY(env.modals.opened().isEmpty());
    QVERIFY(d.isVisible());

    // A click puts the full path into the field.
    QListWidgetItem* b = listed(files, "b.doc");
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(b).center());
    QCOMPARE(name->text(), QDir(forms.path()).filePath("b.doc"));

    // A double-click is 确定 for that file.
    env.modals.expect("frmdoc", [&](QDialog& progress) {
        auto* rows = child<QTreeWidget>(&progress, "ListView1");
        QCOMPARE(rows->topLevelItemCount(), 1);
        QCOMPARE(row(rows, 0, 2), QDir(forms.path()).filePath("a.docx"));
        click(&progress, "Btn_return");
    });
    QListWidgetItem* a = listed(files, "a.docx");
    doubleClick(files, files->visualItemRect(a));
    QCOMPARE(env.modals.problems().join(";"), QString());
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Accepted));
}

void ApplicationImportTest::finalReportsAreNotImportedYet() {
    TestEnv env;
    registerUnit(env);
    QTemporaryDir forms;
    writeForm(pathOf(forms) / "a.docx", sample(0));

    gui::DocumentSelectionDialog d(env.ctx());
    d.setKind(2);
    d.setFolder(forms.path());
    d.show();
    env.modals.expect("frmdoc", [&](QDialog& progress) {
        QCOMPARE(static_cast<gui::ImportProgressDialog&>(progress).kind(), 2);
        click(&progress, "Btn_start");
        QCOMPARE(env.prompt.texts(), QStringList{"文档类型不支持"});
        auto* rows = child<QTreeWidget>(&progress, "ListView1");
        QCOMPARE(row(rows, 0, 3), QStringLiteral("等待处理"));
        click(&progress, "Btn_return");
    });
    click(&d, "SelectAll");
    click(&d, "Btn_ok");
    QCOMPARE(env.modals.problems().join(";"), QString());
    QVERIFY(applications::applicationYears(env.db()).empty());
}

void ApplicationImportTest::addNeedsAYearAndAfterASubmissionTheYearWindow() {
    TestEnv env;
    registerUnit(env, "");
    gui::ApplicationManager manager(env.ctx());
    manager.show();
    const QString noYear = QStringLiteral("请先进行【年份设置】操作，设定当前系统认可的申请书年份");
    const QString reminder = QStringLiteral(
        "您刚刚完成一次数据提交，如果要进行下一年的申请录入工作，请进行 "
        "1:【年份设置】操作重新设置年份！2:【学校信息】的更新");

    // Without a year nothing opens, even right after a submission.
    env.ctx().submissionMade = true;
    click(&manager, "Tbtn_add");
    QCOMPARE(env.prompt.texts(), QStringList{noYear});
    QVERIFY(env.modals.opened().isEmpty());
    QVERIFY(env.ctx().submissionMade);

    // With a year, the first press after a submission sends the user to the year window.
    setYear(env, "2026");
    env.prompt.clear();
    env.modals.expect("frmYearSet", [](QDialog& d) { click(&d, "Button2"); });
    click(&manager, "Tbtn_add");
    QCOMPARE(env.prompt.texts(), QStringList{reminder});
    QVERIFY(!env.ctx().submissionMade);

    // The next press goes on to the selection.
    env.prompt.clear();
    env.modals.expect("frmsortapply", [](QDialog& d) { click(&d, "Btn_return"); });
    click(&manager, "Tbtn_add");
    QVERIFY(env.prompt.shown().empty());
    QCOMPARE(env.modals.problems().join(";"), QString());
    QCOMPARE(env.modals.opened(), (QStringList{"frmYearSet", "frmsortapply"}));
}

QTEST_MAIN(ApplicationImportTest)
#include "application_import_test.moc"
