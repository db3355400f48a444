#include "AlbumIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>

namespace album {

namespace {

void arrow(QPainter& p, bool right, int x)
{
    const QPolygon head = right ? QPolygon({QPoint(x, 3), QPoint(x + 6, 8), QPoint(x, 13)})
                                : QPolygon({QPoint(x + 6, 3), QPoint(x, 8), QPoint(x + 6, 13)});
    p.drawPolygon(head);
}

} // namespace

QIcon albumIcon(int number)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(40, 90, 170), green(30, 140, 50), red(200, 40, 40), dark(60, 60, 60);
    switch (number) {
    case 1:  // add: a green plus
        p.fillRect(6, 2, 4, 12, green);
        p.fillRect(2, 6, 12, 4, green);
        break;
    case 2:  // delete: a red cross
        p.setPen(QPen(red, 3));
        p.drawLine(3, 3, 13, 13);
        p.drawLine(13, 3, 3, 13);
        break;
    case 3:  // refresh: a circular arrow
        p.setPen(QPen(green, 2));
        p.drawArc(QRect(3, 3, 10, 10), 30 * 16, 280 * 16);
        p.setBrush(green);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(10, 1), QPoint(15, 5), QPoint(9, 7)}));
        break;
    case 4:  // search: a magnifier
        p.setPen(QPen(dark, 2));
        p.drawEllipse(QRect(2, 2, 8, 8));
        p.setPen(QPen(dark, 3));
        p.drawLine(9, 9, 14, 14);
        break;
    case 5:  // sort: bars of growing length
        for (int i = 0; i < 4; ++i)
            p.fillRect(2, 2 + 3 * i, 3 + 3 * i, 2, blue);
        break;
    case 6:  // previous
        p.setBrush(blue);
        p.setPen(Qt::NoPen);
        arrow(p, false, 5);
        break;
    case 7:  // next
        p.setBrush(blue);
        p.setPen(Qt::NoPen);
        arrow(p, true, 5);
        break;
    case 8:  // first
        p.setBrush(blue);
        p.setPen(Qt::NoPen);
        p.fillRect(3, 3, 2, 10, blue);
        arrow(p, false, 6);
        break;
    case 9:  // last
        p.setBrush(blue);
        p.setPen(Qt::NoPen);
        arrow(p, true, 4);
        p.fillRect(11, 3, 2, 10, blue);
        break;
    case 10:  // wallpaper: a screen with a landscape
        p.fillRect(1, 2, 14, 10, dark);
        p.fillRect(2, 3, 12, 8, QColor(120, 180, 230));
        p.fillRect(2, 8, 12, 3, green);
        p.fillRect(6, 12, 4, 2, dark);
        break;
    case 11:  // save as: a disk
        p.fillRect(2, 2, 12, 12, blue);
        p.fillRect(4, 2, 8, 5, Qt::white);
        p.fillRect(5, 10, 6, 4, QColor(200, 200, 200));
        break;
    case 12:  // copy: two sheets
        p.setPen(dark);
        p.setBrush(Qt::white);
        p.drawRect(2, 2, 8, 9);
        p.drawRect(6, 5, 8, 9);
        break;
    case 13:  // mode: a grid of four
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                p.fillRect(2 + 7 * i, 2 + 7 * j, 5, 5, blue);
        break;
    case 15:  // thumbnails: a column of small pictures
        for (int i = 0; i < 3; ++i) {
            p.fillRect(4, 1 + 5 * i, 8, 4, QColor(120, 180, 230));
            p.fillRect(4, 3 + 5 * i, 8, 2, green);
        }
        break;
    default:
        break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace album
