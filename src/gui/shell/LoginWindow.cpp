#include "gui/shell/LoginWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/admin/Users.h"
#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"
#include "gui/shell/EntryWindows.h"
#include "gui/shell/MainMenu.h"

namespace xinghe::gui {

LoginWindow::LoginWindow(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      ctx_(ctx) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("登录"));

    auto* group = new QGroupBox(QStringLiteral("登 录"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    user_ = new QLineEdit(group);
    user_->setObjectName(QStringLiteral("Edt_user"));
    password_ = new QLineEdit(group);
    password_->setObjectName(QStringLiteral("Edt_password"));
    password_->setEchoMode(QLineEdit::Password);
    fund_ = new QComboBox(group);
    fund_->setObjectName(QStringLiteral("Cbb_fund"));
    fund_->setEditable(true);
    fund_->addItems({QString::fromUtf8(admin::kServedFund), QString::fromUtf8(admin::kOtherFund)});
    fund_->setInsertPolicy(QComboBox::NoInsert);
    fund_->setEditText(QString::fromUtf8(admin::kServedFund));

    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(24, 18, 24, 18);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(12);
    grid->addWidget(new QLabel(QStringLiteral("用户名："), group), 0, 0);
    grid->addWidget(user_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("密  码："), group), 1, 0);
    grid->addWidget(password_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("基金类别："), group), 2, 0);
    grid->addWidget(fund_, 2, 1);
    grid->setColumnMinimumWidth(1, 180);

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("Btn_ok"));
    ok->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    auto* quit = new QPushButton(QStringLiteral("退出"), this);
    quit->setObjectName(QStringLiteral("Btn_exit"));
    quit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    // Enter in the fields is handled below; the buttons must not take it as well.
    ok->setAutoDefault(false);
    quit->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(24);
    buttons->addWidget(quit);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 14);
    layout->addWidget(group);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(user_, &QLineEdit::returnPressed, password_, [this] { password_->setFocus(); });
    connect(password_, &QLineEdit::returnPressed, this, &LoginWindow::logIn);
    connect(ok, &QPushButton::clicked, this, &LoginWindow::logIn);
    connect(quit, &QPushButton::clicked, this, &LoginWindow::askExit);
    user_->setFocus();
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placed_) {
        placed_ = true;
        centreOnScreen(this);
    }
}

void LoginWindow::logIn() {
    const std::string uid = ss(user_->text());
    guarded(ctx_.prompt, this, [&] {
        const auto result =
            admin::checkLogin(ctx_.db(), uid, ss(password_->text()), ss(fund_->currentText()));
        if (result != admin::LoginResult::Ok) {
            ctx_.prompt.message(this, qs(admin::loginMessage(result)));
            return;
        }
        ctx_.loggedInUser = uid;
        hide();
        openMainMenu();
    });
}

void LoginWindow::openMainMenu() {
    menu_ = std::make_unique<MainMenu>(ctx_);
    plugEntryWindows(*menu_, ctx_);
    connect(menu_.get(), &MainMenu::exitRequested, this, &QWidget::close);
    menu_->show();
}

void LoginWindow::askExit() {
    if (ctx_.prompt.confirm(this, QStringLiteral("要退出本系统吗？"))) {
        close();
        return;
    }
    user_->clear();
    password_->clear();
    user_->setFocus();
}

void LoginWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!exitSignalled_) {
        exitSignalled_ = true;
        emit exitRequested();
    }
}

}  // namespace xinghe::gui
