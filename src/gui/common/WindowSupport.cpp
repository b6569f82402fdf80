#include "gui/common/WindowSupport.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

namespace xinghe::gui {

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void setUpFonts(QApplication& app) {
    const QStringList families = QFontDatabase::families();
    const QString sans = QStringLiteral("Noto Sans CJK SC");
    const QString serif = QStringLiteral("Noto Serif CJK SC");
    if (families.contains(sans)) {
        QFont f(sans);
        f.setPointSize(10);
        app.setFont(f);
        QFont::insertSubstitution(QStringLiteral("黑体"), sans);
    }
    QFont::insertSubstitution(QStringLiteral("宋体"), families.contains(serif) ? serif : sans);
}

QToolButton* addToolbarButton(QToolBar* toolbar, const QString& name, const QString& caption,
                              const QIcon& icon, const QSize& size) {
    auto* b = new QToolButton(toolbar);
    b->setObjectName(name);
    b->setText(caption);
    b->setIcon(icon);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setAutoRaise(true);
    b->setFixedSize(size);
    toolbar->addWidget(b);
    return b;
}

}  // namespace xinghe::gui
