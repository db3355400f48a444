#include "Controls.h"

#include <QImage>
#include <QPainter>

TsuiGroupBox::TsuiGroupBox(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption)
{
}

// The frame line runs through the middle of the caption's height; the caption is drawn over the
// gap left for it, in grey when the box is disabled.
void TsuiGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int lineY = metrics.height() / 2 + 1;
    const int right = width() - 1;
    const int bottom = height() - 1;
    const int gapEnd = caption_.isEmpty() ? 0 : metrics.horizontalAdvance(caption_) + 6;
    painter.setPen(BorderColor);
    painter.drawPolyline(QPolygon({QPoint(2, lineY), QPoint(0, lineY), QPoint(0, bottom),
                                   QPoint(right, bottom), QPoint(right, lineY),
                                   QPoint(gapEnd, lineY)}));
    painter.setPen(isEnabled() ? CaptionColor : QColor(128, 128, 128));
    painter.drawText(QPoint(5, metrics.ascent()), caption_);
}

namespace clipmon {

ScaledImage::ScaledImage(QWidget* parent) : QWidget(parent) {}

void ScaledImage::setPicture(const QImage& picture)
{
    setScaledPicture(stretchedCopy(picture, size()));
}

void ScaledImage::setScaledPicture(const QPixmap& scaled)
{
    scaled_ = scaled;
    update();
}

void ScaledImage::paintEvent(QPaintEvent*)
{
    if (!scaled_.isNull())
        QPainter(this).drawPixmap(rect(), scaled_);
}

QPixmap stretchedCopy(const QImage& picture, QSize size)
{
    if (picture.isNull() || size.isEmpty())
        return {};
    // Smooth scaling reads every source pixel; sampling down to a few times the target first
    // keeps its cost bounded while the result still looks smooth.
    constexpr int kSmoothingFactor = 4;
    const QSize sampled = size * kSmoothingFactor;
    QImage source = picture;
    if (source.width() > sampled.width() || source.height() > sampled.height())
        source = source.scaled(sampled.boundedTo(source.size()), Qt::IgnoreAspectRatio,
                               Qt::FastTransformation);
    return QPixmap::fromImage(
        source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

} // namespace clipmon
