#include "gui/shell/SystemWindow.h"

#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/admin/PasswordDialog.h"
#include "gui/admin/UnitInfoDialog.h"
#include "gui/admin/UserListDialog.h"
#include "gui/common/Artwork.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"

namespace xinghe::gui {

namespace {

constexpr QSize kClientSize(651, 540);
constexpr QSize kButtonSize(79, 36);

}  // namespace

SystemWindow::SystemWindow(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSystem"));
    setWindowTitle(productTitle() + QStringLiteral("--系统管理"));
    setFixedSize(kClientSize);

    toolbar_ = new QToolBar(this);
    toolbar_->setObjectName(QStringLiteral("ToolBar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 16));

    // Left to right, as the office knows them.
    using artwork::Icon;
    auto* unit = addButton(QStringLiteral("Tbtn_UnitInfo"), QStringLiteral("单位信息"),
                           artwork::toolIcon(Icon::Unit));
    auto* users = addButton(QStringLiteral("Tbtn_UserM"), QStringLiteral("用户管理"),
                            artwork::toolIcon(Icon::Users));
    auto* password = addButton(QStringLiteral("Tbtn_ChangePWD"), QStringLiteral("个人密码修改"),
                               artwork::toolIcon(Icon::Password));
    auto* help = addButton(QStringLiteral("Tbtn_Help"), QStringLiteral("帮助"),
                           artwork::toolIcon(Icon::Help));
    help->setEnabled(false);
    auto* back = addButton(QStringLiteral("Tbtn_Exit"), QStringLiteral("返回"),
                           artwork::toolIcon(Icon::Back));

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setScaledContents(true);
    picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    picture->setPixmap(artwork::systemBackground(kClientSize));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar_);
    layout->addWidget(picture, 1);

    connect(unit, &QToolButton::clicked, this, &SystemWindow::openUnitInfo);
    connect(users, &QToolButton::clicked, this, &SystemWindow::openUsers);
    connect(password, &QToolButton::clicked, this, &SystemWindow::openPassword);
    connect(back, &QToolButton::clicked, this, &QDialog::reject);
}

QToolButton* SystemWindow::addButton(const QString& name, const QString& caption,
                                     const QIcon& icon) {
    QToolButton* b = addToolbarButton(toolbar_, name, caption, icon, kButtonSize);
    // Six characters must fit the fixed width.
    QFont f = b->font();
    f.setPixelSize(12);
    b->setFont(f);
    return b;
}

void SystemWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

void SystemWindow::openUnitInfo() {
    UnitInfoDialog dialog(ctx_, this);
    ctx_.showModal(dialog);
}

void SystemWindow::openUsers() {
    UserListDialog dialog(ctx_, this);
    ctx_.showModal(dialog);
}

void SystemWindow::openPassword() {
    PasswordDialog dialog(ctx_, this);
    ctx_.showModal(dialog);
}

}  // namespace xinghe::gui
