#include "gui/admin/UserEditDialogs.h"

#include "core/admin/Users.h"
#include "gui/admin/FormParts.h"
#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"

namespace xinghe::gui {

UserAddDialog::UserAddDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmUserAdd"));
    setWindowTitle(QStringLiteral("用户添加"));
    form::Builder b(this);
    uid_ = b.field(QStringLiteral("用户名："), QStringLiteral("Edt_uid"));
    name_ = b.field(QStringLiteral("真实姓名："), QStringLiteral("Edt_name"));
    describe_ = b.field(QStringLiteral("简单描述："), QStringLiteral("Edt_describe"));
    password_ = b.field(QStringLiteral("密码："), QStringLiteral("Edt_password"), true);
    confirm_ = b.field(QStringLiteral("确认密码："), QStringLiteral("Edt_confirm"), true);
    auto* add = b.button(QStringLiteral("添加"), QStringLiteral("Btn_add"));
    auto* back = b.button(QStringLiteral("返回"), QStringLiteral("Btn_return"));
    b.finish();
    connect(add, &QPushButton::clicked, this, &UserAddDialog::add);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
}

void UserAddDialog::add() {
    admin::NewUser u;
    u.uid = ss(uid_->text());
    u.name = ss(name_->text());
    u.describe = ss(describe_->text());
    u.password = ss(password_->text());
    u.confirm = ss(confirm_->text());
    guarded(ctx_.prompt, this, [&] {
        const Outcome done = admin::addUser(ctx_.db(), u);
        if (!done.ok) {
            ctx_.prompt.message(this, qs(done.message));
            return;
        }
        accept();
    });
}

UserModifyDialog::UserModifyDialog(AppContext& ctx, const QString& uid, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmUserModify"));
    setWindowTitle(QStringLiteral("用户修改"));
    form::Builder b(this);
    uid_ = b.field(QStringLiteral("用户名："), QStringLiteral("Edt_uid"));
    uid_->setReadOnly(true);
    name_ = b.field(QStringLiteral("真实姓名："), QStringLiteral("Edt_name"));
    describe_ = b.field(QStringLiteral("简单描述："), QStringLiteral("Edt_describe"));
    auto* modify = b.button(QStringLiteral("修改"), QStringLiteral("Btn_modify"));
    auto* back = b.button(QStringLiteral("返回"), QStringLiteral("Btn_return"));
    b.finish();
    connect(modify, &QPushButton::clicked, this, &UserModifyDialog::modify);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    uid_->setText(uid);
    guarded(ctx_.prompt, this, [&] {
        if (auto user = admin::findUser(ctx_.db(), ss(uid))) {
            name_->setText(qs(user->name));
            describe_->setText(qs(user->describe));
        }
    });
}

void UserModifyDialog::modify() {
    guarded(ctx_.prompt, this, [&] {
        const Outcome done = admin::modifyUser(ctx_.db(), ss(uid_->text()), ss(name_->text()),
                                               ss(describe_->text()));
        if (!done.ok) {
            ctx_.prompt.message(this, qs(done.message));
            return;
        }
        accept();
    });
}

}  // namespace xinghe::gui
