#include "gui/common/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cmath>

#include "gui/common/Texts.h"

namespace xinghe::gui::artwork {

namespace {

const QColor kGoldLight(0xf7, 0xdf, 0x94);
const QColor kGold(0xd9, 0xae, 0x4a);
const QColor kGoldDeep(0xa8, 0x7a, 0x22);

QFont cjkFont(int pixelSize, bool serif, int weight = QFont::Bold) {
    QFont f(serif ? QStringLiteral("Noto Serif CJK SC") : QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(pixelSize);
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

// Scattered stars; the generator is seeded so the picture is the same at every start.
void drawStars(QPainter& p, const QRectF& area, int count, quint32 seed, int maxAlpha) {
    QRandomGenerator rng(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const qreal x = area.left() + rng.bounded(area.width());
        const qreal y = area.top() + rng.bounded(area.height());
        const qreal r = 0.4 + rng.bounded(1.2);
        const int alpha = 60 + rng.bounded(maxAlpha - 59);
        const bool golden = rng.bounded(5) == 0;
        QColor c = golden ? kGoldLight : QColor(220, 232, 255);
        c.setAlpha(alpha);
        p.setBrush(c);
        p.drawEllipse(QPointF(x, y), r, r);
    }
}

// A four-pointed sparkle.
void drawSparkle(QPainter& p, QPointF c, qreal size, const QColor& color) {
    QPainterPath path;
    path.moveTo(c.x(), c.y() - size);
    path.quadTo(c, QPointF(c.x() + size, c.y()));
    path.quadTo(c, QPointF(c.x(), c.y() + size));
    path.quadTo(c, QPointF(c.x() - size, c.y()));
    path.quadTo(c, QPointF(c.x(), c.y() - size));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path);
}

// The galaxy: a tilted band of soft golden light with a bright core.
void drawGalaxy(QPainter& p, QPointF centre, qreal length, qreal angle) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    for (int i = 0; i < 6; ++i) {
        const qreal w = length * (1.0 - i * 0.12);
        const qreal h = length * (0.22 - i * 0.03);
        QRadialGradient g(QPointF(0, 0), w / 2);
        QColor inner = i < 3 ? QColor(120, 160, 235) : kGoldLight;
        inner.setAlpha(28 + i * 8);
        g.setColorAt(0, inner);
        g.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QRectF(-w / 2, -h / 2, w, h));
    }
    QRadialGradient core(QPointF(0, 0), length * 0.09);
    core.setColorAt(0, QColor(255, 246, 214, 230));
    core.setColorAt(0.4, QColor(247, 223, 148, 120));
    core.setColorAt(1, QColor(0, 0, 0, 0));
    p.setBrush(core);
    p.drawEllipse(QPointF(0, 0), length * 0.09, length * 0.09);
    // Dust of the band.
    QRandomGenerator rng(7);
    for (int i = 0; i < 260; ++i) {
        const qreal t = rng.bounded(2.0) - 1.0;
        const qreal spread = (1.0 - std::abs(t)) * length * 0.09 + 2;
        const qreal x = t * length * 0.5;
        const qreal y = (rng.bounded(2.0) - 1.0) * spread;
        QColor c = rng.bounded(3) == 0 ? kGoldLight : QColor(230, 238, 255);
        c.setAlpha(70 + rng.bounded(150));
        p.setBrush(c);
        const qreal r = 0.4 + rng.bounded(1.0);
        p.drawEllipse(QPointF(x, y), r, r);
    }
    p.restore();
}

void drawGoldText(QPainter& p, const QRectF& box, const QString& text, const QFont& font) {
    p.setFont(font);
    // Shadow, then the gradient-filled glyphs.
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(box.translated(2, 2), Qt::AlignCenter, text);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0.0, QColor(0xff, 0xf1, 0xc4));
    g.setColorAt(0.5, kGold);
    g.setColorAt(1.0, kGoldDeep);
    p.setPen(QPen(QBrush(g), 1));
    p.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

QPixmap menuBackground(QSize size) {
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(QPointF(0, 0), QSizeF(size));

    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0.0, QColor(0x06, 0x14, 0x38));
    sky.setColorAt(0.55, QColor(0x0f, 0x2f, 0x6b));
    sky.setColorAt(1.0, QColor(0x07, 0x18, 0x40));
    p.fillRect(r, sky);

    drawStars(p, r, 320, 20240301u, 220);
    drawGalaxy(p, QPointF(r.width() * 0.30, r.height() * 0.62), r.width() * 0.62, -24);
    drawSparkle(p, QPointF(r.width() * 0.12, r.height() * 0.80), 9, QColor(247, 223, 148, 220));
    drawSparkle(p, QPointF(r.width() * 0.52, r.height() * 0.40), 6, QColor(235, 240, 255, 200));
    drawSparkle(p, QPointF(r.width() * 0.08, r.height() * 0.35), 5, QColor(235, 240, 255, 180));

    // Title and the golden rule below it.
    const qreal titleTop = r.height() * 0.09;
    drawGoldText(p, QRectF(0, titleTop, r.width(), 64), productTitle(), cjkFont(44, true, 900));
    p.setFont(cjkFont(15, false, QFont::Normal));
    p.setPen(QColor(0xc8, 0xd6, 0xf2));
    p.drawText(QRectF(0, titleTop + 66, r.width(), 24), Qt::AlignCenter,
               QStringLiteral("科研基金项目申请 · 立项 · 结题 · 专家管理"));
    QLinearGradient rule(QPointF(r.width() * 0.15, 0), QPointF(r.width() * 0.85, 0));
    rule.setColorAt(0.0, QColor(0, 0, 0, 0));
    rule.setColorAt(0.5, kGold);
    rule.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(QPen(QBrush(rule), 1.5));
    p.drawLine(QPointF(r.width() * 0.15, titleTop + 62), QPointF(r.width() * 0.85, titleTop + 62));

    // The panel behind the menu entries (entries at x 500, y 210..491).
    const QRectF panel(484, 196, 194, 310);
    p.setPen(QPen(QColor(217, 174, 74, 150), 1));
    p.setBrush(QColor(4, 14, 40, 120));
    p.drawRoundedRect(panel, 10, 10);

    // A thin golden frame round the whole picture.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(217, 174, 74, 200), 2));
    p.drawRect(r.adjusted(3, 3, -3, -3));
    return pm;
}

QPixmap menuEntry(const QString& label, bool active, QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);

    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    if (active) {
        fill.setColorAt(0, QColor(0x3a, 0x7b, 0xd5));
        fill.setColorAt(1, QColor(0x1a, 0x4a, 0x96));
        p.setPen(QPen(kGoldLight, 2));
    } else {
        fill.setColorAt(0, QColor(0x1d, 0x44, 0x86));
        fill.setColorAt(1, QColor(0x10, 0x2b, 0x5c));
        p.setPen(QPen(QColor(217, 174, 74, 130), 1));
    }
    p.setBrush(fill);
    p.drawRoundedRect(r, 6, 6);

    // A golden star mark on the left.
    drawSparkle(p, QPointF(16, r.center().y()), active ? 7 : 5,
                active ? kGoldLight : QColor(217, 174, 74, 200));

    p.setFont(cjkFont(15, false, active ? QFont::Bold : QFont::Medium));
    p.setPen(active ? QColor(Qt::white) : QColor(0xf3, 0xe3, 0xb0));
    p.drawText(r.adjusted(18, 0, 0, 0), Qt::AlignCenter, label);
    return pm;
}

QPixmap systemBackground(QSize size) {
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF r(QPointF(0, 0), QSizeF(size));
    QLinearGradient sky(r.topLeft(), r.bottomRight());
    sky.setColorAt(0.0, QColor(0x12, 0x33, 0x70));
    sky.setColorAt(1.0, QColor(0x08, 0x1a, 0x42));
    p.fillRect(r, sky);
    drawStars(p, r, 160, 1999u, 180);
    drawGalaxy(p, QPointF(r.width() * 0.55, r.height() * 0.55), r.width() * 0.8, -18);
    drawGoldText(p, QRectF(0, r.height() - 90, r.width(), 40), productTitle(),
                 cjkFont(26, true, 900));
    p.setFont(cjkFont(14, false, QFont::Normal));
    p.setPen(QColor(0xc8, 0xd6, 0xf2));
    p.drawText(QRectF(0, r.height() - 50, r.width(), 24), Qt::AlignCenter,
               QStringLiteral("系统管理"));
    return pm;
}

QIcon toolIcon(Icon icon) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x1d, 0x4f, 0x99);
    p.setPen(QPen(blue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (icon) {
        case Icon::Unit: {  // a building with columns
            p.setBrush(kGoldLight);
            QPolygonF roof({QPointF(4, 12), QPointF(16, 4), QPointF(28, 12)});
            p.drawPolygon(roof);
            p.setBrush(Qt::NoBrush);
            for (int x : {8, 14, 20, 26}) p.drawLine(QPointF(x - 1, 14), QPointF(x - 1, 25));
            p.drawLine(QPointF(4, 27), QPointF(28, 27));
            break;
        }
        case Icon::Users: {  // two people
            p.setBrush(kGoldLight);
            p.drawEllipse(QPointF(11, 10), 4.5, 4.5);
            p.drawEllipse(QPointF(22, 11), 4, 4);
            p.setBrush(QColor(0x9c, 0xbf, 0xf0));
            p.drawChord(QRectF(3, 17, 16, 16), 0, 180 * 16);
            p.drawChord(QRectF(15, 18, 14, 14), 0, 180 * 16);
            break;
        }
        case Icon::Password: {  // a key
            p.setBrush(kGoldLight);
            p.drawEllipse(QPointF(10, 16), 6, 6);
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(16, 16), QPointF(29, 16));
            p.drawLine(QPointF(24, 16), QPointF(24, 21));
            p.drawLine(QPointF(28, 16), QPointF(28, 20));
            break;
        }
        case Icon::Help: {  // a question mark in a circle
            p.setBrush(QColor(0x9c, 0xbf, 0xf0));
            p.drawEllipse(QPointF(16, 16), 12, 12);
            p.setFont(cjkFont(18, false));
            p.drawText(QRectF(4, 3, 24, 26), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case Icon::Back: {  // an arrow turning back
            QPainterPath path;
            path.moveTo(26, 24);
            path.cubicTo(26, 12, 18, 10, 8, 10);
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            p.setBrush(blue);
            p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(10, 4), QPointF(10, 16)}));
            break;
        }
    }
    return QIcon(pm);
}

}  // namespace xinghe::gui::artwork
