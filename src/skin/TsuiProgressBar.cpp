#include "TsuiProgressBar.h"

#include "SkinPainting.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>

TsuiProgressBar::TsuiProgressBar(QWidget* parent)
    : QProgressBar(parent), skin::BorderedControl(this, [this] { readStyle(); })
{
    setRange(0, 100);
    setValue(50);
    setTextVisible(true);
    resize(150, kThickness);
    fixThickness();
    readStyle();
    hide();
}

// The picture and the colour of the empty part; the border is read before.
void TsuiProgressBar::readStyle()
{
    picture_ = style_.bitmap(StyleEntry::ProgressBarImage);
    color_ = skin::toQColor(style_.color(StyleEntry::ControlBackgroundColor));
}

void TsuiProgressBar::fixThickness()
{
    if (orientation_ == suiHorizontal) {
        setMinimumWidth(0);
        setMaximumWidth(QWIDGETSIZE_MAX);
        setFixedHeight(kThickness);
    } else {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        setFixedWidth(kThickness);
    }
}

void TsuiProgressBar::setOrientation(TsuiProgressBarOrientation orientation)
{
    if (orientation == orientation_)
        return;
    orientation_ = orientation;
    const QSize turned = size().transposed();
    QProgressBar::setOrientation(orientation == suiHorizontal ? Qt::Horizontal : Qt::Vertical);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(turned);
    fixThickness();
    update();
}

void TsuiProgressBar::setSmartShowCaption(bool smart)
{
    smartShowCaption_ = smart;
    update();
}

void TsuiProgressBar::setCaptionColor(const QColor& color)
{
    captionColor_ = color;
    update();
}

void TsuiProgressBar::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void TsuiProgressBar::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

QString TsuiProgressBar::captionFor(qint64 min, qint64 max, qint64 position)
{
    if (min == max)
        return QStringLiteral("0%");
    return QString::number((position - min) * 100 / (max - min)) + u'%';
}

int TsuiProgressBar::filledLength(int length, qint64 min, qint64 max, qint64 position)
{
    qint64 filled = 0;
    if (min >= max || position <= min)
        filled = 0;
    else if (position > max)
        filled = length - 1;
    else
        filled = qint64(length - 1) * (position - min) / (max - min);
    return int(std::max<qint64>(filled, 1));
}

QString TsuiProgressBar::text() const
{
    return captionFor(minimum(), maximum(), value());
}

void TsuiProgressBar::frame(QPainter& painter, const QRect& area) const
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(borderColor_);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

bool TsuiProgressBar::captionShown() const
{
    return isTextVisible() && (!smartShowCaption_ || value() != minimum());
}

// The filled part starts inside the frame at x = 1 and is as long as filledLength says, at
// most up to the frame on the right.
QImage TsuiProgressBar::paintHorizontal() const
{
    const int w = width(), h = height();
    QImage canvas(size(), QImage::Format_RGB32);
    QPainter painter(&canvas);
    const int fillEnd = std::min(1 + filledLength(w, minimum(), maximum(), value()), w - 1);
    if (!picture_.isNull())
        painter.drawImage(QRect(1, 1, fillEnd - 1, h - 2), picture_);
    else
        painter.fillRect(QRect(1, 1, fillEnd - 1, h - 2), color_);
    painter.fillRect(QRect(fillEnd, 1, w - 1 - fillEnd, h - 2), color_);
    if (captionShown()) {
        painter.setFont(skin::windowFont());
        painter.setPen(captionColor_);
        painter.drawText(QRect(0, 0, w, h), Qt::AlignCenter | Qt::TextSingleLine, text());
    }
    frame(painter, canvas.rect());
    return canvas;
}

// A vertical bar fills from the bottom with the picture turned a quarter, and shows no caption.
QImage TsuiProgressBar::paintVertical() const
{
    const int w = width(), h = height();
    QImage canvas(size(), QImage::Format_RGB32);
    QPainter painter(&canvas);
    const int fillTop = std::max(h - 1 - filledLength(h, minimum(), maximum(), value()), 1);
    const QImage turned = picture_.isNull() ? picture_ : picture_.transformed(QTransform().rotate(90));
    if (!turned.isNull())
        painter.drawImage(QRect(1, fillTop, w - 2, h - 1 - fillTop), turned);
    else
        painter.fillRect(QRect(1, fillTop, w - 2, h - 1 - fillTop), color_);
    painter.fillRect(QRect(1, 1, w - 2, fillTop - 1), color_);
    frame(painter, canvas.rect());
    return canvas;
}

void TsuiProgressBar::paintEvent(QPaintEvent*)
{
    if (width() < 2 || height() < 2)
        return;
    QPainter(this).drawImage(0, 0, orientation_ == suiHorizontal ? paintHorizontal() : paintVertical());
}
