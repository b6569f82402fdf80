#include "gui/applications/ProjectNumberDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/applications/Applications.h"
#include "gui/common/Texts.h"

namespace xinghe::gui {

ProjectNumberDialog::ProjectNumberDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmProjectCode"));
    setWindowTitle(QStringLiteral("项目编号"));

    auto* hint = new QLabel(QStringLiteral("只需输入本项目在学校内的编号"), this);
    hint->setObjectName(QStringLiteral("Label1"));
    auto* label = new QLabel(QStringLiteral("编号："), this);
    label->setObjectName(QStringLiteral("Label2"));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("Edit1"));
    edit_->setMaxLength(3);
    edit_->setFixedWidth(80);
    auto* ok = new QPushButton(QStringLiteral("确认"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setAutoDefault(false);

    auto* field = new QHBoxLayout;
    field->addStretch();
    field->addWidget(label);
    field->addWidget(edit_);
    field->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(20);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 14);
    layout->addWidget(hint, 0, Qt::AlignHCenter);
    layout->addSpacing(8);
    layout->addLayout(field);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(ok, &QPushButton::clicked, this, &ProjectNumberDialog::confirm);
    connect(cancel, &QPushButton::clicked, this, &ProjectNumberDialog::reject);
}

void ProjectNumberDialog::setNumber(const QString& number) {
    edit_->setText(number);
}

QString ProjectNumberDialog::number() const {
    return edit_->text();
}

void ProjectNumberDialog::confirm() {
    const applications::SchoolNumber n = applications::checkSchoolNumber(ss(edit_->text()));
    edit_->setText(qs(n.padded));
    if (!n.accepted) {
        ctx_.prompt.captioned(this, QStringLiteral("错误"),
                              QString::fromUtf8(applications::kNumberInvalid));
        return;
    }
    accept();
}

void ProjectNumberDialog::reject() {
    // However the dialog is left without 确认, it hands back no number.
    edit_->clear();
    QDialog::reject();
}

}  // namespace xinghe::gui
