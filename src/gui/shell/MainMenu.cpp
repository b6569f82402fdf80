#include "gui/shell/MainMenu.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "core/admin/UnitInfo.h"
#include "core/store/Schema.h"
#include "gui/common/Artwork.h"
#include "gui/common/Guarded.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"

namespace xinghe::gui {

namespace {

constexpr QSize kClientSize(753, 545);
constexpr QSize kEntrySize(162, 31);
constexpr int kEntryLeft = 500;

int entryTop(MenuEntry e) {
    return 210 + 50 * static_cast<int>(e);
}

QString entryName(MenuEntry e) {
    switch (e) {
        case MenuEntry::System:
            return QStringLiteral("System");
        case MenuEntry::Applications:
            return QStringLiteral("Apply");
        case MenuEntry::Projects:
            return QStringLiteral("Project");
        case MenuEntry::FinalReports:
            return QStringLiteral("Summary");
        case MenuEntry::Experts:
            return QStringLiteral("Expert");
        case MenuEntry::Exit:
            return QStringLiteral("Exit");
    }
    return {};
}

}  // namespace

QString MainMenu::label(MenuEntry e) {
    switch (e) {
        case MenuEntry::System:
            return QStringLiteral("系统管理");
        case MenuEntry::Applications:
            return QStringLiteral("项目申请管理");
        case MenuEntry::Projects:
            return QStringLiteral("在研项目管理");
        case MenuEntry::FinalReports:
            return QStringLiteral("项目总结管理");
        case MenuEntry::Experts:
            return QStringLiteral("专家管理");
        case MenuEntry::Exit:
            return QStringLiteral("退出管理系统");
    }
    return {};
}

bool MainMenu::needsUnit(MenuEntry e) {
    return e != MenuEntry::System && e != MenuEntry::Exit;
}

MainMenu::MainMenu(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ctx_(ctx) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(productTitle() + QStringLiteral("--主菜单"));
    setFixedSize(kClientSize);
    setMouseTracking(true);
    background_ = artwork::menuBackground(kClientSize);

    for (MenuEntry e : kMenuEntries) {
        Slot& s = slot(e);
        const QRect place(QPoint(kEntryLeft, entryTop(e)), kEntrySize);
        s.plain = new QLabel(this);
        s.plain->setObjectName(QStringLiteral("Img_") + entryName(e));
        s.plain->setPixmap(artwork::menuEntry(label(e), false, kEntrySize));
        s.plain->setGeometry(place);
        s.plain->setMouseTracking(true);
        s.plain->installEventFilter(this);

        s.active = new QLabel(this);
        s.active->setObjectName(QStringLiteral("Img_") + entryName(e) + QStringLiteral("Active"));
        s.active->setPixmap(artwork::menuEntry(label(e), true, kEntrySize));
        s.active->setGeometry(place);
        s.active->setCursor(Qt::PointingHandCursor);
        s.active->setMouseTracking(true);
        s.active->installEventFilter(this);
        s.active->hide();
    }

    auto* version = new QLabel(QStringLiteral("版本:") + QStringLiteral(XINGHE_VERSION), this);
    version->setObjectName(QStringLiteral("Lbl_version"));
    QFont f(QStringLiteral("黑体"));
    f.setPixelSize(16);
    version->setFont(f);
    version->setStyleSheet(QStringLiteral("color: #ff00ff; background: transparent;"));
    version->setAttribute(Qt::WA_TranslucentBackground);
    version->move(496, 520);
    version->adjustSize();
}

void MainMenu::setEntryOpener(MenuEntry entry, Opener opener) {
    slot(entry).opener = std::move(opener);
}

bool MainMenu::eventFilter(QObject* watched, QEvent* event) {
    for (MenuEntry e : kMenuEntries) {
        Slot& s = slot(e);
        if (watched == s.plain && event->type() == QEvent::MouseMove) {
            s.active->show();
            s.active->raise();
            return true;
        }
        if (watched == s.active) {
            if (event->type() == QEvent::MouseMove) return true;  // stays active
            if (event->type() == QEvent::MouseButtonRelease) {
                auto* me = static_cast<QMouseEvent*>(event);
                if (me->button() == Qt::LeftButton &&
                    s.active->rect().contains(me->position().toPoint())) {
                    choose(e);
                }
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainMenu::mouseMoveEvent(QMouseEvent* event) {
    // Over the background: no entry is active.
    for (MenuEntry e : kMenuEntries) slot(e).active->hide();
    QWidget::mouseMoveEvent(event);
}

void MainMenu::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(rect(), background_);
}

void MainMenu::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    centreOnScreen(this);
    upgradeSchema();
}

void MainMenu::upgradeSchema() {
    guarded(ctx_.prompt, this, [&] {
        const auto result = schema::upgradeSchema(ctx_.db());
        if (!result.error.empty()) ctx_.prompt.error(this, qs(result.error));
    });
}

bool MainMenu::unitCheck() {
    bool registered = false;
    if (!guarded(ctx_.prompt, this, [&] { registered = admin::unitRegistered(ctx_.db()); })) {
        return false;
    }
    if (!registered) ctx_.prompt.message(this, QString::fromUtf8(admin::kUnitMissing));
    return registered;
}

void MainMenu::choose(MenuEntry entry) {
    if (needsUnit(entry) && !unitCheck()) return;
    slot(entry).active->hide();
    if (entry == MenuEntry::Exit) {
        emit exitRequested();
        close();
        return;
    }
    // A copy: the opener may run for long and must not be swapped under its feet.
    if (Opener open = slot(entry).opener) open(this);
}

}  // namespace xinghe::gui
