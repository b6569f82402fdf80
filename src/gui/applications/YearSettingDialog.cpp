#include "gui/applications/YearSettingDialog.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/applications/YearSetting.h"
#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"

namespace xinghe::gui {

YearSettingDialog::YearSettingDialog(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmYearSet"));
    setWindowTitle(QStringLiteral("年份设置"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // A small window: its texts at 12 pixels so that the note fits in two lines.
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);

    auto* group = new QGroupBox(QStringLiteral("年份设置"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    year_ = new QComboBox(group);
    year_->setObjectName(QStringLiteral("ComboBox1"));
    year_->setEditable(true);
    for (const std::string& y : applications::yearChoices(QDate::currentDate().year())) {
        year_->addItem(qs(y));
    }
    year_->setCurrentIndex(-1);
    year_->setEditText(QString());
    auto* note = new QLabel(
        QStringLiteral("注意：该年份用于设定导入申请书时系统认可的申请书申请年份"), group);
    note->setObjectName(QStringLiteral("Label1"));
    note->setStyleSheet(QStringLiteral("color: red;"));
    note->setWordWrap(true);
    auto* inner = new QVBoxLayout(group);
    inner->setContentsMargins(8, 2, 8, 2);
    inner->setSpacing(2);
    inner->addWidget(year_);
    inner->addWidget(note);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setAutoDefault(false);
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("Button2"));
    back->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(16);
    buttons->addWidget(back);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setFixedSize(243, 138);

    connect(ok, &QPushButton::clicked, this, &YearSettingDialog::confirm);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    guarded(ctx_.prompt, this, [&] {
        if (auto stored = applications::acceptedYear(ctx_.db())) year_->setEditText(qs(*stored));
    });
}

void YearSettingDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void YearSettingDialog::confirm() {
    Outcome outcome;
    if (!guarded(ctx_.prompt, this,
                 [&] { outcome = applications::setYear(ctx_.db(), ss(year_->currentText())); })) {
        return;
    }
    ctx_.prompt.message(this, qs(outcome.message));
    if (outcome.ok) accept();
}

}  // namespace xinghe::gui
