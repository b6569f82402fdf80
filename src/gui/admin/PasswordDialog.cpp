#include "gui/admin/PasswordDialog.h"

#include "core/admin/Users.h"
#include "gui/admin/FormParts.h"
#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"

namespace xinghe::gui {

PasswordDialog::PasswordDialog(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmPasswordModify"));
    setWindowTitle(QStringLiteral("用户个人密码修改"));
    form::Builder b(this);
    old_ = b.field(QStringLiteral("原密码："), QStringLiteral("Edt_oldpassword"), true);
    new_ = b.field(QStringLiteral("新密码："), QStringLiteral("Edt_newpassword"), true);
    confirm_ = b.field(QStringLiteral("确认密码："), QStringLiteral("Edt_confirm"), true);
    auto* modify = b.button(QStringLiteral("修改"), QStringLiteral("Btn_modify"));
    auto* back = b.button(QStringLiteral("返回"), QStringLiteral("Btn_return"));
    b.finish();
    connect(modify, &QPushButton::clicked, this, &PasswordDialog::change);
    connect(back, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordDialog::change() {
    guarded(ctx_.prompt, this, [&] {
        // The window stays open whatever the outcome; the message says it.
        const Outcome done = admin::changeOwnPassword(
            ctx_.db(), ctx_.loggedInUser, ss(old_->text()), ss(new_->text()), ss(confirm_->text()));
        ctx_.prompt.message(this, qs(done.message));
    });
}

}  // namespace xinghe::gui
