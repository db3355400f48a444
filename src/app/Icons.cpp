#include "Icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace app::icons {

namespace {

QPixmap blank(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

const QColor kInk(40, 70, 120);

} // namespace

QPixmap materialsBook()
{
    QPixmap pixmap = blank(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(255, 252, 240));
    p.drawRoundedRect(QRectF(3, 6, 13, 21), 1.5, 1.5);
    p.drawRoundedRect(QRectF(16, 6, 13, 21), 1.5, 1.5);
    p.setPen(QPen(QColor(120, 140, 170), 1));
    for (int y = 11; y <= 23; y += 4) {
        p.drawLine(QPointF(6, y), QPointF(13, y));
        p.drawLine(QPointF(19, y), QPointF(26, y));
    }
    p.setPen(QPen(QColor(200, 80, 60), 2));
    p.drawLine(QPointF(16, 4), QPointF(16, 29));
    return pixmap;
}

QPixmap pictureAlbum()
{
    QPixmap pixmap = blank(32);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(220, 235, 250));
    p.drawRoundedRect(QRectF(3, 6, 26, 20), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 200, 70));
    p.drawEllipse(QPointF(22, 12), 3, 3);
    QPainterPath hills;
    hills.moveTo(4.5, 24.5);
    hills.lineTo(12, 14);
    hills.lineTo(18, 21);
    hills.lineTo(21, 18);
    hills.lineTo(27.5, 24.5);
    hills.closeSubpath();
    p.setBrush(QColor(90, 150, 100));
    p.drawPath(hills);
    return pixmap;
}

QPixmap articleCollection()
{
    QPixmap pixmap = blank(32);
    QPainter p(&pixmap);
    p.setPen(QPen(kInk, 1));
    for (int i = 2; i >= 0; --i) {
        p.setBrush(i == 0 ? QColor(255, 255, 255) : QColor(235, 235, 235));
        p.drawRect(6 + 3 * i, 4 + 3 * i, 16, 20);
    }
    return pixmap;
}

QPixmap compactStore()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(120, 170, 220));
    p.drawRect(QRectF(3.5, 5.5, 9, 7));
    p.drawEllipse(QRectF(3.5, 3.5, 9, 4));
    p.setPen(QPen(QColor(200, 80, 60), 1.5));
    p.drawLine(QPointF(8, 0.5), QPointF(8, 3));
    p.drawLine(QPointF(8, 13), QPointF(8, 15.5));
    return pixmap;
}

QPixmap helpContents()
{
    QPixmap pixmap = blank(16);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(70, 120, 200));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.drawText(QRectF(2.5, 1.5, 11, 13), Qt::AlignCenter, QStringLiteral("?"));
    return pixmap;
}

namespace {

class DrawnOnFirstUse : public QIconEngine {
public:
    explicit DrawnOnFirstUse(QPixmap (*draw)()) : draw_(draw) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        drawn().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return drawn().actualSize(size, mode, state);
    }
    QIconEngine* clone() const override { return new DrawnOnFirstUse(*this); }

private:
    const QIcon& drawn()
    {
        if (icon_.isNull())
            icon_ = QIcon(draw_());
        return icon_;
    }

    QPixmap (*draw_)();
    QIcon icon_;
};

} // namespace

QIcon drawnOnFirstUse(QPixmap (*draw)())
{
    return QIcon(new DrawnOnFirstUse(draw));
}

} // namespace app::icons
