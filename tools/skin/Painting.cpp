#include "Painting.h"

namespace skingen {

namespace {

// Lays a drawn frame (with alpha) on the backdrop and returns it opaque.
void flatten(QImage& drawn, const QImage& behind, bool keyed)
{
    for (int y = 0; y < drawn.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(drawn.scanLine(y));
        const auto* back = reinterpret_cast<const QRgb*>(behind.constScanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb pixel = line[x];  // premultiplied
            const int alpha = qAlpha(pixel);
            if (keyed && alpha < 110) {
                line[x] = kKey.rgb();
                continue;
            }
            // Keyed pictures lay their soft edges on a neutral grey instead of the key.
            const QRgb under = keyed ? qRgb(200, 200, 200) : back[x];
            const int inverse = 255 - alpha;
            int r = qRed(pixel) + qRed(under) * inverse / 255;
            int g = qGreen(pixel) + qGreen(under) * inverse / 255;
            int b = qBlue(pixel) + qBlue(under) * inverse / 255;
            if (keyed && r == 255 && g == 0 && b == 255)
                g = 1;
            line[x] = qRgb(qMin(r, 255), qMin(g, 255), qMin(b, 255));
        }
    }
}

QImage backdropImage(QSize size, const Backdrop& backdrop)
{
    if (!backdrop.picture.isNull())
        return backdrop.picture.convertToFormat(QImage::Format_RGB32).scaled(size);
    QImage image(size, QImage::Format_RGB32);
    image.fill(backdrop.color);
    return image;
}

} // namespace

QImage strip(int count, QSize frame, const Backdrop& backdrop, const FrameDrawer& draw)
{
    QImage result(frame.width() * count, frame.height(), QImage::Format_RGB32);
    const QImage behind = backdropImage(frame, backdrop);
    QPainter out(&result);
    for (int i = 0; i < count; ++i) {
        QImage canvas(frame, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        {
            QPainter p(&canvas);
            p.setRenderHint(QPainter::Antialiasing);
            draw(p, QRectF(QPointF(0, 0), QSizeF(frame)), i);
        }
        flatten(canvas, behind, backdrop.keyed);
        out.drawImage(frame.width() * i, 0, canvas);
    }
    return result;
}

QImage single(QSize size, const Backdrop& backdrop, const std::function<void(QPainter&, const QRectF&)>& draw)
{
    return strip(1, size, backdrop, [&](QPainter& p, const QRectF& r, int) { draw(p, r); });
}

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QPainterPath roundedRect(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QColor shade(const QColor& c, int percent)
{
    const QColor target = percent >= 0 ? QColor(255, 255, 255) : QColor(0, 0, 0);
    return mix(c, target, qAbs(percent) / 100.0);
}

QColor mix(const QColor& a, const QColor& b, qreal t)
{
    return QColor(int(a.red() + (b.red() - a.red()) * t + 0.5), int(a.green() + (b.green() - a.green()) * t + 0.5),
                  int(a.blue() + (b.blue() - a.blue()) * t + 0.5));
}

void drawArrow(QPainter& p, const QRectF& r, Qt::ArrowType direction, const QColor& color)
{
    const QPointF c = r.center();
    const qreal s = qMin(r.width(), r.height()) / 2;
    QPolygonF triangle;
    switch (direction) {
    case Qt::UpArrow: triangle << QPointF(c.x() - s, c.y() + s / 2) << QPointF(c.x() + s, c.y() + s / 2) << QPointF(c.x(), c.y() - s / 2); break;
    case Qt::DownArrow: triangle << QPointF(c.x() - s, c.y() - s / 2) << QPointF(c.x() + s, c.y() - s / 2) << QPointF(c.x(), c.y() + s / 2); break;
    case Qt::LeftArrow: triangle << QPointF(c.x() + s / 2, c.y() - s) << QPointF(c.x() + s / 2, c.y() + s) << QPointF(c.x() - s / 2, c.y()); break;
    default: triangle << QPointF(c.x() - s / 2, c.y() - s) << QPointF(c.x() - s / 2, c.y() + s) << QPointF(c.x() + s / 2, c.y()); break;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(triangle);
}

void drawTick(QPainter& p, const QRectF& box, const QColor& color, qreal width)
{
    QPainterPath tick;
    tick.moveTo(box.left() + box.width() * 0.22, box.top() + box.height() * 0.50);
    tick.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.72);
    tick.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.28);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(tick);
}

void drawCross(QPainter& p, const QRectF& r, const QColor& color, qreal width)
{
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

} // namespace skingen
