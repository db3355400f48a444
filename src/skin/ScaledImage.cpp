#include "ScaledImage.h"

#include <QImage>
#include <QPainter>

namespace skin {

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

} // namespace skin
