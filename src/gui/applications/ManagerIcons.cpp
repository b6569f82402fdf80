#include "gui/applications/ManagerIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace xinghe::gui {

QIcon managerIcon(ManagerIcon icon) {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x1d, 0x4f, 0x99);
    const QColor gold(0xf3, 0xd7, 0x8a);
    const QColor sky(0x9c, 0xbf, 0xf0);
    p.setPen(QPen(blue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (icon) {
        case ManagerIcon::Year: {  // a calendar sheet
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5, 7, 22, 20));
            p.setBrush(gold);
            p.drawRect(QRectF(5, 7, 22, 6));
            p.drawLine(QPointF(11, 4), QPointF(11, 9));
            p.drawLine(QPointF(21, 4), QPointF(21, 9));
            p.setPen(QPen(blue, 1.6));
            for (int y : {17, 22}) {
                for (int x : {10, 16, 22}) p.drawPoint(QPointF(x, y));
            }
            break;
        }
        case ManagerIcon::Add: {  // a sheet with a plus
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6, 4, 16, 22));
            p.setBrush(gold);
            p.drawEllipse(QPointF(22, 22), 7, 7);
            p.drawLine(QPointF(22, 18), QPointF(22, 26));
            p.drawLine(QPointF(18, 22), QPointF(26, 22));
            break;
        }
        case ManagerIcon::Delete: {  // a sheet with a red cross
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6, 4, 16, 22));
            p.setPen(QPen(QColor(0xc0, 0x22, 0x22), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(17, 17), QPointF(27, 27));
            p.drawLine(QPointF(27, 17), QPointF(17, 27));
            break;
        }
        case ManagerIcon::Print: {  // a printer
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 4, 14, 9));
            p.setBrush(sky);
            p.drawRoundedRect(QRectF(4, 12, 24, 11), 2, 2);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(9, 19, 14, 9));
            break;
        }
        case ManagerIcon::Refresh: {  // two arrows in a circle
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 150 * 16);
            p.drawArc(QRectF(6, 6, 20, 20), 210 * 16, 150 * 16);
            p.setBrush(blue);
            p.drawPolygon(QPolygonF({QPointF(26, 6), QPointF(26, 14), QPointF(19, 11)}));
            p.drawPolygon(QPolygonF({QPointF(6, 26), QPointF(6, 18), QPointF(13, 21)}));
            break;
        }
    }
    return QIcon(pm);
}

}  // namespace xinghe::gui
