#include "gui/admin/UnitInfoDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"

namespace xinghe::gui {

void NoteLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

namespace {

QLabel* caption(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

// A row of small labelled boxes (the address parts).
QHBoxLayout* partsRow(std::initializer_list<std::pair<QString, QLineEdit*>> parts,
                      QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (const auto& [label, edit] : parts) {
        row->addWidget(new QLabel(label, parent));
        row->addWidget(edit, 1);
    }
    return row;
}

}  // namespace

QLineEdit* UnitInfoDialog::addEdit(const QString& name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setReadOnly(true);  // editable after 编辑
    return e;
}

UnitInfoDialog::UnitInfoDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmcollegeinfo"));
    setWindowTitle(QStringLiteral("本单位信息设置"));
    QFont songti(QStringLiteral("宋体"));
    songti.setPointSize(10);
    setFont(songti);
    // Locked boxes look locked.
    setStyleSheet(QStringLiteral("QLineEdit[readOnly=\"true\"] { background: palette(window); }"));

    name_ = new QComboBox(this);
    name_->setObjectName(QStringLiteral("cbb_name"));
    name_->setEditable(false);
    name_->setEnabled(false);
    name_->setMaxVisibleItems(20);
    collegenum_ = addEdit(QStringLiteral("Edt_collegenum"));
    department_ = addEdit(QStringLiteral("Edt_Department"));
    post_ = addEdit(QStringLiteral("Edt_post"));
    sheng_ = addEdit(QStringLiteral("Edit1"));
    shi_ = addEdit(QStringLiteral("Edit2"));
    qu_ = addEdit(QStringLiteral("Edit3"));
    jie_ = addEdit(QStringLiteral("Edit4"));
    hao_ = addEdit(QStringLiteral("Edit5"));
    address_ = addEdit(QStringLiteral("Edt_address"));
    address_->setReadOnly(false);
    managedepart_ = addEdit(QStringLiteral("edt_managedepart"));
    managedepart_->setReadOnly(false);
    man_ = addEdit(QStringLiteral("Edt_man"));
    phone_ = addEdit(QStringLiteral("Edt_phone"));
    email_ = addEdit(QStringLiteral("Edt_email"));
    countname_ = addEdit(QStringLiteral("Edt_countname"));
    bank_ = addEdit(QStringLiteral("Edt_bank"));
    count_ = addEdit(QStringLiteral("Edt_count"));
    code_ = addEdit(QStringLiteral("Edt_code"));
    code_->setReadOnly(false);
    code_->setEnabled(false);
    code_->setText(QString::fromUtf8(admin::kDefaultStartNumber));
    code_->setMaximumWidth(80);

    codeNote_ = new NoteLabel(QStringLiteral("（本项内容未经基金处允许不得更改，后果自负）"), this);
    codeNote_->setObjectName(QStringLiteral("Lbl_codeNote"));
    saveNote_ =
        new NoteLabel(QStringLiteral("注意：以上内容保存以后将被提交到基金处，请认真填写！"), this);
    saveNote_->setObjectName(QStringLiteral("Lbl_saveNote"));
    for (NoteLabel* note : {codeNote_, saveNote_}) {
        note->setStyleSheet(QStringLiteral("color: red;"));
        note->hide();
        note->setEnabled(false);
        connect(note, &NoteLabel::doubleClicked, this, &UnitInfoDialog::unlockStartNumber);
    }

    auto* group = new QGroupBox(QStringLiteral("单位信息"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    int row = 0;
    grid->addWidget(caption(QStringLiteral("单位全称："), group), row, 0);
    grid->addWidget(name_, row, 1, 1, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("单位代码："), group), row, 0);
    grid->addWidget(collegenum_, row, 1);
    grid->addWidget(caption(QStringLiteral("学校隶属部门："), group), row, 2);
    grid->addWidget(department_, row, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("邮政编码："), group), row, 0);
    grid->addWidget(post_, row, 1);
    ++row;
    grid->addWidget(caption(QStringLiteral("联系地址："), group), row, 0);
    grid->addLayout(partsRow({{QStringLiteral("省（直辖市）："), sheng_},
                              {QStringLiteral("市（地区）："), shi_},
                              {QStringLiteral("县（区）："), qu_}},
                             group),
                    row, 1, 1, 3);
    ++row;
    grid->addLayout(
        partsRow({{QStringLiteral("街（路）："), jie_}, {QStringLiteral("号："), hao_}}, group),
        row, 1, 1, 3);
    ++row;
    grid->addWidget(address_, row, 1, 1, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("基金管理部门："), group), row, 0);
    grid->addWidget(managedepart_, row, 1, 1, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("联系人："), group), row, 0);
    grid->addWidget(man_, row, 1);
    grid->addWidget(caption(QStringLiteral("联系电话："), group), row, 2);
    grid->addWidget(phone_, row, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("电子邮件："), group), row, 0);
    grid->addWidget(email_, row, 1, 1, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("开户单位："), group), row, 0);
    grid->addWidget(countname_, row, 1, 1, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("开户银行："), group), row, 0);
    grid->addWidget(bank_, row, 1);
    grid->addWidget(caption(QStringLiteral("账号："), group), row, 2);
    grid->addWidget(count_, row, 3);
    ++row;
    grid->addWidget(caption(QStringLiteral("申请书起始编号："), group), row, 0);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(code_);
    codeRow->addWidget(codeNote_);
    codeRow->addStretch();
    grid->addLayout(codeRow, row, 1, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    edit_ = new QPushButton(QStringLiteral("编辑"), this);
    edit_->setObjectName(QStringLiteral("Button1"));
    save_ = new QPushButton(QStringLiteral("保存"), this);
    save_->setObjectName(QStringLiteral("Button2"));
    save_->setEnabled(false);
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("Button3"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {edit_, save_, back}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
        buttons->addSpacing(16);
    }
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    // Keeps its place while hidden, so the window does not jump at 编辑.
    QSizePolicy notePolicy = saveNote_->sizePolicy();
    notePolicy.setRetainSizeWhenHidden(true);
    saveNote_->setSizePolicy(notePolicy);
    codeNote_->setSizePolicy(notePolicy);
    layout->addWidget(saveNote_);
    layout->addLayout(buttons);
    resize(620, sizeHint().height());
    setFixedSize(size());

    connect(edit_, &QPushButton::clicked, this, &UnitInfoDialog::startEditing);
    connect(save_, &QPushButton::clicked, this, &UnitInfoDialog::save);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
    for (QLineEdit* part : {sheng_, shi_, qu_, jie_, hao_}) {
        connect(part, &QLineEdit::textChanged, this, &UnitInfoDialog::joinAddress);
    }

    edit_->setFocus();
    load();
    connect(name_, &QComboBox::currentTextChanged, this, &UnitInfoDialog::nameChosen);
}

void UnitInfoDialog::load() {
    guarded(ctx_.prompt, this, [&] {
        for (const std::string& n : admin::universityNames(ctx_.db())) name_->addItem(qs(n));
        name_->setCurrentIndex(-1);
        const auto unit = admin::loadUnit(ctx_.db());
        if (!unit) return;
        const admin::UnitRecord& r = *unit;
        collegenum_->setText(qs(r.collegenum));
        department_->setText(qs(r.department));
        post_->setText(qs(r.post));
        sheng_->setText(qs(r.sheng));
        shi_->setText(qs(r.shi));
        qu_->setText(qs(r.qu));
        jie_->setText(qs(r.jie));
        hao_->setText(qs(r.hao));
        address_->setText(qs(r.address));  // after the parts: the stored line wins
        man_->setText(qs(r.man));
        phone_->setText(qs(r.phone));
        email_->setText(qs(r.email));
        countname_->setText(qs(r.countname));
        bank_->setText(qs(r.bank));
        count_->setText(qs(r.count));
        managedepart_->setText(qs(r.managedepart));
        code_->setText(qs(r.code));
        name_->setCurrentIndex(name_->findText(qs(r.name), Qt::MatchExactly));
    });
}

void UnitInfoDialog::nameChosen(const QString& name) {
    if (name.isEmpty()) return;
    guarded(ctx_.prompt, this, [&] {
        if (auto code = admin::universityCode(ctx_.db(), ss(name))) collegenum_->setText(qs(*code));
    });
}

void UnitInfoDialog::joinAddress() {
    admin::UnitRecord parts;
    parts.sheng = ss(sheng_->text());
    parts.shi = ss(shi_->text());
    parts.qu = ss(qu_->text());
    parts.jie = ss(jie_->text());
    parts.hao = ss(hao_->text());
    address_->setText(qs(admin::joinAddress(parts)));
}

void UnitInfoDialog::startEditing() {
    name_->setEnabled(true);
    for (QLineEdit* e : {department_, post_, sheng_, shi_, qu_, jie_, hao_, address_, man_, phone_,
                         email_, countname_, bank_, count_}) {
        e->setReadOnly(false);
        e->style()->unpolish(e);  // the style sheet follows the read-only state
        e->style()->polish(e);
    }
    save_->setEnabled(true);
    for (NoteLabel* note : {codeNote_, saveNote_}) {
        note->show();
        note->setEnabled(true);
    }
    ctx_.prompt.message(this, QStringLiteral("进入可编辑状态！"));
}

void UnitInfoDialog::unlockStartNumber() {
    code_->setEnabled(true);
}

admin::UnitRecord UnitInfoDialog::gather() const {
    admin::UnitRecord r;
    r.collegenum = ss(collegenum_->text());
    r.name = ss(name_->currentText());
    r.department = ss(department_->text());
    r.post = ss(post_->text());
    r.sheng = ss(sheng_->text());
    r.shi = ss(shi_->text());
    r.qu = ss(qu_->text());
    r.jie = ss(jie_->text());
    r.hao = ss(hao_->text());
    r.address = ss(address_->text());
    r.man = ss(man_->text());
    r.phone = ss(phone_->text());
    r.email = ss(email_->text());
    r.countname = ss(countname_->text());
    r.bank = ss(bank_->text());
    r.count = ss(count_->text());
    r.managedepart = ss(managedepart_->text());
    r.code = ss(code_->text());
    return r;
}

void UnitInfoDialog::save() {
    const admin::UnitRecord record = gather();
    guarded(ctx_.prompt, this, [&] {
        const Outcome done = admin::saveUnit(ctx_.db(), record);
        ctx_.prompt.message(this, qs(done.message));
        if (done.ok) accept();
    });
}

}  // namespace xinghe::gui
