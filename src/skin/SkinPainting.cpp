#include "SkinPainting.h"

#include "Style.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QPainter>
#include <QWidget>

namespace skin {

QFont windowFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}

QFont captionFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(kCaptionPixelSize);
    font.setBold(true);
    return font;
}

int textHeight(const QFont& font)
{
    return QFontInfo(font).pixelSize();
}

int captionWidth(const QFont& font, const QString& caption)
{
    return QFontMetrics(font).size(Qt::TextShowMnemonic | Qt::TextSingleLine, caption).width();
}

QColor parentColor(const QWidget* control)
{
    const QWidget* parent = control->parentWidget();
    if (!parent)
        return control->palette().color(QPalette::Window);
    const QVariant color = parent->property("Color");
    if (color.canConvert<QColor>() && color.value<QColor>().isValid())
        return color.value<QColor>();
    return parent->palette().color(parent->backgroundRole());
}

void paintBackground(QPainter& painter, QWidget* control, bool transparent)
{
    QWidget* parent = control->parentWidget();
    if (transparent && parent) {
        // The parent's background and painting, shifted by the control's position and clipped
        // to the parent.
        const QRect area = control->geometry().intersected(parent->rect());
        QImage behind(control->size(), QImage::Format_RGB32);
        behind.fill(parentColor(control));
        parent->render(&behind, area.topLeft() - control->pos(), QRegion(area),
                       QWidget::DrawWindowBackground);
        painter.drawImage(0, 0, behind);
        return;
    }
    painter.fillRect(control->rect(), parentColor(control));
}

QImage withTransparentColor(const QImage& picture, QColor transparent)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparent.rgb() & 0xFFFFFF;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key)
                line[x] = 0;
    }
    return result;
}

QImage greyed(const QImage& picture)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const int grey = 128 + qGray(line[x]) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return result;
}

void paintNineSlice(QPainter& painter, const QRect& target, const QImage& frame, bool transparentCorners)
{
    if (frame.isNull() || target.isEmpty())
        return;
    const QImage keyed = withTransparentColor(frame, kMagenta);
    const QImage& cornerSource = transparentCorners ? keyed : frame;
    const int W = frame.width(), H = frame.height();
    const int w = target.width(), h = target.height();
    // Source grid: left [0, W div 2), right [W - W div 2 + 1, W); rows likewise.
    const int leftW = W / 2, rightW = W - (W - W / 2 + 1);
    const int topH = H / 2, bottomH = H - (H - H / 2 + 1);
    const int midX = W / 2, midY = H / 2;
    // Corners keep their outer part and take at most half the button each way.
    const int l = qMin(leftW, w / 2), r = qMin(rightW, w / 2);
    const int t = qMin(topH, h / 2), b = qMin(bottomH, h / 2);
    const int x0 = target.left(), y0 = target.top();
    const int x1 = target.left() + w, y1 = target.top() + h;

    painter.drawImage(QRect(x0, y0, l, t), cornerSource, QRect(0, 0, l, t));
    painter.drawImage(QRect(x1 - r, y0, r, t), cornerSource, QRect(W - r, 0, r, t));
    painter.drawImage(QRect(x0, y1 - b, l, b), cornerSource, QRect(0, H - b, l, b));
    painter.drawImage(QRect(x1 - r, y1 - b, r, b), cornerSource, QRect(W - r, H - b, r, b));

    const int gapW = w - l - r, gapH = h - t - b;
    if (gapW > 0) {
        painter.drawImage(QRect(x0 + l, y0, gapW, t), keyed, QRect(midX, 0, 1, t));
        painter.drawImage(QRect(x0 + l, y1 - b, gapW, b), keyed, QRect(midX, H - b, 1, b));
    }
    if (gapH > 0) {
        painter.drawImage(QRect(x0, y0 + t, l, gapH), keyed, QRect(0, midY, l, 1));
        painter.drawImage(QRect(x1 - r, y0 + t, r, gapH), keyed, QRect(W - r, midY, r, 1));
    }
    if (gapW > 0 && gapH > 0)
        painter.drawImage(QRect(x0 + l, y0 + t, gapW, gapH), keyed, QRect(midX, midY, 1, 1));
}

void paintTwoColourFrame(QPainter& painter, const QRect& area, const QColor& border, const QColor& inner)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setPen(border);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.setPen(inner);
    painter.drawRect(area.adjusted(1, 1, -2, -2));
    painter.restore();
}

void reserveFrame(QFrame* area, int width)
{
    area->setFrameStyle(QFrame::Box | QFrame::Plain);
    area->setLineWidth(width);
}

void paintFrameOver(QFrame* area, const QColor& border)
{
    if (area->frameShape() == QFrame::NoFrame)
        return;
    QPainter painter(area);
    paintTwoColourFrame(painter, area->rect(), border, area->palette().color(QPalette::Base));
}

void setPaletteColor(QWidget* control, QPalette::ColorRole role, const QColor& color)
{
    QPalette colours = control->palette();
    colours.setColor(role, color);
    control->setPalette(colours);
}

void drawFocusRect(QPainter& painter, const QRect& rect, const QColor& color)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    const int right = rect.left() + rect.width() - 1, bottom = rect.top() + rect.height() - 1;
    for (int x = rect.left(); x <= right; x += 2) {
        painter.fillRect(x, rect.top(), 1, 1, color);
        painter.fillRect(x, bottom, 1, 1, color);
    }
    for (int y = rect.top(); y <= bottom; y += 2) {
        painter.fillRect(rect.left(), y, 1, 1, color);
        painter.fillRect(right, y, 1, 1, color);
    }
    painter.restore();
}

} // namespace skin
