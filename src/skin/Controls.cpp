#include "Controls.h"

#include <QFileInfo>
#include <QPainter>

TImage::TImage(QWidget* parent, QColor background) : QWidget(parent), background_(background) {}

bool TImage::loadFromFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return false;
    QPixmap loaded;
    if (!loaded.load(path))
        return false;
    picture_ = loaded;
    update();
    return true;
}

void TImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (picture_.isNull())
        painter.fillRect(rect(), background_);
    else
        painter.drawPixmap(rect(), picture_);
}

namespace skin {

QPixmap loadGlyph(const QString& path)
{
    const QImage image(path);
    if (image.isNull())
        return {};
    QPixmap glyph = QPixmap::fromImage(image);
    const QColor key = image.pixelColor(0, image.height() - 1);
    glyph.setMask(glyph.createMaskFromColor(key, Qt::MaskInColor));
    return glyph;
}

} // namespace skin
