// The unit-information window: read-only start, edit mode, the start-number unlock,
// the name list and code, the address line, saving and loading back.
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/admin/UnitInfo.h"
#include "gui/admin/UnitInfoDialog.h"
#include "support/GuiTestSupport.h"

using namespace xinghe;
using namespace xinghe::guitest;
using gui::UnitInfoDialog;

namespace {

// Boxes that become editable with 编辑.
const QStringList kEditedAfterEdit = {
    "Edt_Department", "Edt_post",  "Edit1",     "Edit2",         "Edit3",    "Edit4",    "Edit5",
    "Edt_man",        "Edt_phone", "Edt_email", "Edt_countname", "Edt_bank", "Edt_count"};
// Boxes editable from the start.
const QStringList kAlwaysEditable = {"Edt_address", "edt_managedepart"};

QString text(QObject* w, const QString& name) {
    return child<QLineEdit>(w, name)->text();
}

// One stored record with every column set.
admin::UnitRecord sampleRecord(TestEnv& env) {
    admin::UnitRecord r;
    r.name = admin::universityNames(env.db()).at(2);
    r.collegenum = *admin::universityCode(env.db(), r.name);
    r.department = "教育部";
    r.post = "100084";
    r.sheng = "北京市";
    r.shi = "海淀区";
    r.qu = "";
    r.jie = "双清路";
    r.hao = "30号";
    r.address = "北京市海淀区双清路30号（主楼）";  // differs from the joined parts
    r.man = "王老师";
    r.phone = "010-62780000";
    r.email = "kyc@example.edu.cn";
    r.countname = "某大学";
    r.bank = "中国工商银行";
    r.count = "0200004509089131550";
    r.managedepart = "科研院";
    r.code = "017";
    return r;
}

}  // namespace

class UnitInfoTest : public QObject {
    Q_OBJECT

private slots:
    void opensReadOnlyWithEmptyRecord();
    void editModeUnlocksFields();
    void notesUnlockStartNumber_data();
    void notesUnlockStartNumber();
    void nameFillsCodeWhichCannotBeTyped();
    void addressJoinsParts();
    void saveNeedsRequiredFields_data();
    void saveNeedsRequiredFields();
    void savesAndLoadsBack();
    void loadsStoredRecord();
};

void UnitInfoTest::opensReadOnlyWithEmptyRecord() {
    TestEnv env;
    UnitInfoDialog d(env.ctx());
    QCOMPARE(d.objectName(), QStringLiteral("frmcollegeinfo"));
    QCOMPARE(d.windowTitle(), QStringLiteral("本单位信息设置"));
    d.show();
    auto* names = child<QComboBox>(&d, "cbb_name");
    QCOMPARE(names->count(), int(admin::universityNames(env.db()).size()));
    QCOMPARE(names->currentIndex(), -1);
    QVERIFY(!names->isEnabled());
    for (const QString& name : kEditedAfterEdit + QStringList{"Edt_collegenum"}) {
        auto* e = child<QLineEdit>(&d, name);
        QVERIFY2(e->isReadOnly(), qPrintable(name));
        QVERIFY2(e->text().isEmpty(), qPrintable(name));
    }
    for (const QString& name : kAlwaysEditable) {
        QVERIFY2(!child<QLineEdit>(&d, name)->isReadOnly(), qPrintable(name));
    }
    auto* code = child<QLineEdit>(&d, "Edt_code");
    QCOMPARE(code->text(), QStringLiteral("001"));
    QVERIFY(!code->isEnabled());
    QVERIFY(!child<QLabel>(&d, "Lbl_codeNote")->isVisible());
    QVERIFY(!child<QLabel>(&d, "Lbl_saveNote")->isVisible());
    QVERIFY(!child<QAbstractButton>(&d, "Button2")->isEnabled());
    QVERIFY(env.prompt.shown().empty());
}

void UnitInfoTest::editModeUnlocksFields() {
    TestEnv env;
    UnitInfoDialog d(env.ctx());
    d.show();
    click(&d, "Button1");
    QCOMPARE(env.prompt.texts(), QStringList{QStringLiteral("进入可编辑状态！")});
    QVERIFY(child<QComboBox>(&d, "cbb_name")->isEnabled());
    for (const QString& name : kEditedAfterEdit) {
        QVERIFY2(!child<QLineEdit>(&d, name)->isReadOnly(), qPrintable(name));
    }
    QVERIFY(child<QAbstractButton>(&d, "Button2")->isEnabled());
    auto* codeNote = child<QLabel>(&d, "Lbl_codeNote");
    auto* saveNote = child<QLabel>(&d, "Lbl_saveNote");
    QVERIFY(codeNote->isVisible() && codeNote->isEnabled());
    QVERIFY(saveNote->isVisible() && saveNote->isEnabled());
    QCOMPARE(codeNote->text(), QStringLiteral("（本项内容未经基金处允许不得更改，后果自负）"));
    QCOMPARE(saveNote->text(),
             QStringLiteral("注意：以上内容保存以后将被提交到基金处，请认真填写！"));
    // Still locked: the unit code and the start number.
    QVERIFY(child<QLineEdit>(&d, "Edt_collegenum")->isReadOnly());
    QVERIFY(!child<QLineEdit>(&d, "Edt_code")->isEnabled());
}

void UnitInfoTest::notesUnlockStartNumber_data() {
    QTest::addColumn<QString>("note");
    QTest::newRow("beside the start number") << "Lbl_codeNote";
    QTest::newRow("under the group") << "Lbl_saveNote";
}

void UnitInfoTest::notesUnlockStartNumber() {
    QFETCH(QString, note);
    TestEnv env;
    UnitInfoDialog d(env.ctx());
    d.show();
    auto* label = child<QLabel>(&d, note);
    auto* code = child<QLineEdit>(&d, "Edt_code");
    // Hidden and disabled before 编辑: a double-click does nothing.
    QTest::mouseDClick(label, Qt::LeftButton);
    QVERIFY(!code->isEnabled());

    click(&d, "Button1");
    QTest::mouseDClick(label, Qt::LeftButton);
    QVERIFY(code->isEnabled());
    type(&d, "Edt_code", "005");
    QCOMPARE(code->text(), QStringLiteral("005"));
}

void UnitInfoTest::nameFillsCodeWhichCannotBeTyped() {
    TestEnv env;
    const auto names = admin::universityNames(env.db());
    QVERIFY(names.size() > 3);
    UnitInfoDialog d(env.ctx());
    d.show();
    click(&d, "Button1");
    auto* combo = child<QComboBox>(&d, "cbb_name");
    for (std::size_t i : {std::size_t{3}, std::size_t{1}}) {
        combo->setCurrentIndex(int(i));
        QCOMPARE(combo->currentText().toStdString(), names[i]);
        QCOMPARE(text(&d, "Edt_collegenum").toStdString(),
                 *admin::universityCode(env.db(), names[i]));
    }
    const QString before = text(&d, "Edt_collegenum");
    type(&d, "Edt_collegenum", "9999");
    QCOMPARE(text(&d, "Edt_collegenum"), before);
}

void UnitInfoTest::addressJoinsParts() {
    TestEnv env;
    UnitInfoDialog d(env.ctx());
    d.show();
    click(&d, "Button1");
    type(&d, "Edt_address", "手写地址");
    type(&d, "Edit1", "广东省");
    QCOMPARE(text(&d, "Edt_address"), QStringLiteral("广东省"));  // overwrites what it held
    type(&d, "Edit2", "广州市");
    QCOMPARE(text(&d, "Edt_address"), QStringLiteral("广东省广州市"));
    type(&d, "Edit5", "135号");
    type(&d, "Edit4", "新港西路");
    type(&d, "Edit3", "海珠区");
    QCOMPARE(text(&d, "Edt_address"), QStringLiteral("广东省广州市海珠区新港西路135号"));
}

void UnitInfoTest::saveNeedsRequiredFields_data() {
    QTest::addColumn<QString>("emptied");
    // Each required box, left empty while all others are filled.
    for (const char* name : {"Edt_collegenum", "Edt_Department", "Edt_address", "Edit1", "Edit4",
                             "Edt_bank", "Edt_count", "edt_managedepart"}) {
        QTest::newRow(name) << name;
    }
}

void UnitInfoTest::saveNeedsRequiredFields() {
    QFETCH(QString, emptied);
    TestEnv env;
    UnitInfoDialog d(env.ctx());
    d.show();
    click(&d, "Button1");
    if (emptied != "Edt_collegenum") child<QComboBox>(&d, "cbb_name")->setCurrentIndex(0);
    type(&d, "Edt_Department", "教育部");
    type(&d, "Edit1", "北京市");
    type(&d, "Edit4", "学院路");
    type(&d, "Edt_bank", "中国银行");
    type(&d, "Edt_count", "123");
    type(&d, "edt_managedepart", "科研处");
    if (emptied != "Edt_collegenum") type(&d, emptied, "");
    if (emptied == "Edit1" || emptied == "Edit4") type(&d, "Edt_address", "某地");
    QVERIFY(text(&d, emptied).isEmpty());

    env.prompt.clear();
    click(&d, "Button2");
    QCOMPARE(env.prompt.texts(), QStringList{QStringLiteral("请认真填写所有信息！")});
    QVERIFY(d.isVisible());
    QVERIFY(!admin::unitRegistered(env.db()));
}

void UnitInfoTest::savesAndLoadsBack() {
    TestEnv env;
    const admin::UnitRecord want = sampleRecord(env);
    {
        UnitInfoDialog d(env.ctx());
        d.show();
        click(&d, "Button1");
        QTest::mouseDClick(child<QLabel>(&d, "Lbl_codeNote"), Qt::LeftButton);
        auto* combo = child<QComboBox>(&d, "cbb_name");
        combo->setCurrentIndex(combo->findText(QString::fromStdString(want.name)));
        const std::pair<const char*, const std::string*> boxes[] = {
            {"Edt_Department", &want.department},
            {"Edt_post", &want.post},
            {"Edit1", &want.sheng},
            {"Edit2", &want.shi},
            {"Edit3", &want.qu},
            {"Edit4", &want.jie},
            {"Edit5", &want.hao},
            {"Edt_address", &want.address},
            {"Edt_man", &want.man},
            {"Edt_phone", &want.phone},
            {"Edt_email", &want.email},
            {"Edt_countname", &want.countname},
            {"Edt_bank", &want.bank},
            {"Edt_count", &want.count},
            {"edt_managedepart", &want.managedepart},
            {"Edt_code", &want.code}};
        for (const auto& [name, value] : boxes) type(&d, name, QString::fromStdString(*value));
        click(&d, "Button2");
        QCOMPARE(env.prompt.texts(),
                 (QStringList{QStringLiteral("进入可编辑状态！"), QStringLiteral("保存成功！")}));
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }
    const auto stored = admin::loadUnit(env.db());
    QVERIFY(stored.has_value());
    const admin::UnitRecord& got = *stored;
    QCOMPARE(got.name, want.name);
    QCOMPARE(got.collegenum, want.collegenum);
    QCOMPARE(got.address, want.address);
    QCOMPARE(got.code, want.code);
    QCOMPARE(got.qu, std::string());
    QCOMPARE(got.email, want.email);
    QCOMPARE(got.managedepart, want.managedepart);
}

void UnitInfoTest::loadsStoredRecord() {
    TestEnv env;
    const admin::UnitRecord r = sampleRecord(env);
    QVERIFY(admin::saveUnit(env.db(), r).ok);
    UnitInfoDialog d(env.ctx());
    d.show();
    QCOMPARE(child<QComboBox>(&d, "cbb_name")->currentText().toStdString(), r.name);
    const std::pair<const char*, std::string> expected[] = {
        {"Edt_collegenum", r.collegenum},
        {"Edt_Department", r.department},
        {"Edt_post", r.post},
        {"Edit1", r.sheng},
        {"Edit2", r.shi},
        {"Edit3", r.qu},
        {"Edit4", r.jie},
        {"Edit5", r.hao},
        {"Edt_address", r.address},  // the stored line wins over the joined parts
        {"Edt_man", r.man},
        {"Edt_phone", r.phone},
        {"Edt_email", r.email},
        {"Edt_countname", r.countname},
        {"Edt_bank", r.bank},
        {"Edt_count", r.count},
        {"edt_managedepart", r.managedepart},
        {"Edt_code", r.code}};
    for (const auto& [name, value] : expected) {
        QVERIFY2(text(&d, name).toStdString() == value, name);
    }
    QVERIFY(env.prompt.shown().empty());
}

QTEST_MAIN(UnitInfoTest)
#include "unit_info_test.moc"
