// Drawing helpers of the skin picture generator: frames drawn with antialiasing on a clear
// canvas, then laid on an opaque backdrop, either a colour or the magenta key of pictures that
// are drawn transparently (edge pixels never blend into magenta, so no pink fringe appears).
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace skingen {

inline const QColor kKey(255, 0, 255);

// What lies behind a frame: a colour, a picture of the frame's size, or the magenta key.
struct Backdrop {
    QColor color;
    QImage picture;
    bool keyed = false;

    static Backdrop of(QColor c) { return {c, {}, false}; }
    static Backdrop key() { return {kKey, {}, true}; }
    static Backdrop behind(QImage p) { return {{}, std::move(p), false}; }
};

using FrameDrawer = std::function<void(QPainter&, const QRectF& frame, int index)>;

// A strip of count frames of the given size, each drawn by draw with its 0-based index.
QImage strip(int count, QSize frame, const Backdrop& backdrop, const FrameDrawer& draw);
QImage single(QSize size, const Backdrop& backdrop, const std::function<void(QPainter&, const QRectF&)>& draw);

QLinearGradient vertical(const QRectF& r, const QColor& top, const QColor& bottom);
QPainterPath roundedRect(const QRectF& r, qreal radius);
// Lighter or darker by percent (positive lightens).
QColor shade(const QColor& c, int percent);
QColor mix(const QColor& a, const QColor& b, qreal t);

// Symbols drawn in white or another pen on title buttons and arrows.
void drawArrow(QPainter& p, const QRectF& r, Qt::ArrowType direction, const QColor& color);
void drawTick(QPainter& p, const QRectF& box, const QColor& color, qreal width);
void drawCross(QPainter& p, const QRectF& r, const QColor& color, qreal width);

} // namespace skingen
