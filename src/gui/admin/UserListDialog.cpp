#include "gui/admin/UserListDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/admin/Users.h"
#include "gui/admin/UserEditDialogs.h"
#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"

namespace xinghe::gui {

namespace {
constexpr int kUidColumn = 1;
}

UserListDialog::UserListDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmUserManage"));
    setWindowTitle(QStringLiteral("用户管理"));

    auto* frame = new QGroupBox(QStringLiteral("用户列表"), this);
    frame->setObjectName(QStringLiteral("GroupBox1"));
    list_ = new QTreeWidget(frame);
    list_->setObjectName(QStringLiteral("ListView1"));
    list_->setColumnCount(4);
    list_->setHeaderLabels({QStringLiteral("ID"), QStringLiteral("用户名"),
                            QStringLiteral("真实姓名"), QStringLiteral("描述")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->header()->setStretchLastSection(true);
    list_->header()->setMinimumSectionSize(1);
    list_->setColumnWidth(0, 1);
    list_->setColumnWidth(1, 110);
    list_->setColumnWidth(2, 110);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(list_);

    auto* add = new QPushButton(QStringLiteral("添加"), this);
    add->setObjectName(QStringLiteral("Btn_add"));
    auto* del = new QPushButton(QStringLiteral("删除"), this);
    del->setObjectName(QStringLiteral("Btn_delete"));
    auto* modify = new QPushButton(QStringLiteral("修改"), this);
    modify->setObjectName(QStringLiteral("Btn_modify"));
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("Btn_return"));
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {add, del, modify, back}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    resize(460, 340);
    setFixedSize(size());

    connect(add, &QPushButton::clicked, this, &UserListDialog::addUser);
    connect(del, &QPushButton::clicked, this, &UserListDialog::deleteUser);
    connect(modify, &QPushButton::clicked, this, &UserListDialog::modifyUser);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    refill();
}

void UserListDialog::refill() {
    list_->clear();
    guarded(ctx_.prompt, this, [&] {
        for (const admin::User& u : admin::listUsers(ctx_.db())) {
            new QTreeWidgetItem(list_, {QString(), qs(u.uid), qs(u.name), qs(u.describe)});
        }
    });
}

QString UserListDialog::selectedUser() const {
    const auto rows = list_->selectedItems();
    return rows.isEmpty() ? QString() : rows.first()->text(kUidColumn);
}

void UserListDialog::addUser() {
    UserAddDialog dialog(ctx_, this);
    ctx_.showModal(dialog);
    refill();
}

void UserListDialog::deleteUser() {
    if (list_->selectedItems().isEmpty()) {
        ctx_.prompt.information(this, QStringLiteral("请选定要删除的用户！"));
        return;
    }
    if (!ctx_.prompt.confirm(this, QStringLiteral("确实要删除该用户吗？"))) return;
    guarded(ctx_.prompt, this, [&] {
        const Outcome done = admin::deleteUser(ctx_.db(), ss(selectedUser()));
        if (!done.ok) {
            ctx_.prompt.message(this, qs(done.message));
            return;
        }
        refill();
    });
}

void UserListDialog::modifyUser() {
    if (list_->selectedItems().isEmpty()) {
        ctx_.prompt.information(this, QStringLiteral("请选定要修改的用户！"));
        return;
    }
    const QString uid = selectedUser();
    const Outcome allowed = admin::canModify(ss(uid));
    if (!allowed.ok) {
        ctx_.prompt.message(this, qs(allowed.message));
        return;
    }
    UserModifyDialog dialog(ctx_, uid, this);
    ctx_.showModal(dialog);
    refill();
}

}  // namespace xinghe::gui
