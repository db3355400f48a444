#include "ProgramIcon.h"
#include "Palette.h"

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

namespace icon {

namespace {

using namespace themes;  // the palette

// Everything is drawn on a 64 × 64 grid and scaled; the smallest sizes leave out the details
// that would only blur.
constexpr qreal kGrid = 64;

void drawPaper(QPainter& painter)
{
    const QRectF square(2, 2, 60, 60);
    QLinearGradient paper(square.topLeft(), square.bottomLeft());
    paper.setColorAt(0, kPaper);
    paper.setColorAt(1, kPaperDeep);
    painter.setPen(QPen(kEdge, 1.5));
    painter.setBrush(paper);
    painter.drawRoundedRect(square, 11, 11);
}

void drawWater(QPainter& painter, bool ripples)
{
    QPainterPath water(QPointF(2.75, 40));
    water.cubicTo(QPointF(16, 37), QPointF(26, 43), QPointF(38, 40));
    water.cubicTo(QPointF(48, 37.5), QPointF(56, 41), QPointF(61.25, 39));
    water.lineTo(61.25, 50);
    water.quadTo(61.25, 61.25, 50, 61.25);
    water.lineTo(14, 61.25);
    water.quadTo(2.75, 61.25, 2.75, 50);
    water.closeSubpath();
    QLinearGradient depth(QPointF(0, 38), QPointF(0, 62));
    depth.setColorAt(0, kBlue);
    depth.setColorAt(1, kBlueDeep);
    painter.setPen(Qt::NoPen);
    painter.setBrush(depth);
    painter.drawPath(water);
    if (!ripples)
        return;
    painter.setPen(QPen(QColor(255, 255, 255, 150), 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12, 49), QPointF(22, 49));
    painter.drawLine(QPointF(40, 53), QPointF(52, 53));
    painter.drawLine(QPointF(24, 56), QPointF(32, 56));
}

// A covered boat with its pole, the hull's middle at (32, 40).
void drawBoat(QPainter& painter, bool pole)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kInk);
    QPainterPath hull(QPointF(8, 33));
    hull.quadTo(QPointF(22, 43), QPointF(32, 43));
    hull.quadTo(QPointF(42, 43), QPointF(56, 32));
    hull.quadTo(QPointF(44, 37), QPointF(32, 37));
    hull.quadTo(QPointF(20, 37), QPointF(8, 33));
    painter.drawPath(hull);
    QPainterPath cover(QPointF(18, 37.5));
    cover.cubicTo(QPointF(20, 25), QPointF(42, 25), QPointF(45, 37));
    cover.closeSubpath();
    painter.setBrush(QColor(kInk.red(), kInk.green(), kInk.blue(), 205));
    painter.drawPath(cover);
    if (!pole)
        return;
    painter.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(49, 34), QPointF(58, 14));
}

// The red seal in the upper left corner, with two white strokes standing for its carving.
void drawSeal(QPainter& painter, bool carving)
{
    const QRectF seal(9, 8, 13, 13);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSeal);
    painter.drawRoundedRect(seal, 1.5, 1.5);
    if (!carving)
        return;
    painter.setPen(QPen(kPaper, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(12.5, 12), QPointF(18.5, 12));
    painter.drawLine(QPointF(15.5, 12), QPointF(15.5, 18));
    painter.drawLine(QPointF(12.5, 17.5), QPointF(18.5, 17.5));
}

QString saveWhole(const QImage& image, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace

QImage drawProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kGrid, size / kGrid);
    const bool detailed = size >= 32;
    drawPaper(painter);
    drawWater(painter, detailed);
    drawBoat(painter, size >= 22);
    drawSeal(painter, detailed);
    painter.end();
    return image;
}

QString writeIconTheme(const QString& folder, const QString& name, const std::vector<int>& sizes)
{
    for (const int size : sizes) {
        const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(sizeFolder))
            return QStringLiteral("cannot make the folder %1").arg(sizeFolder);
        const QString error = saveWhole(drawProgramIcon(size),
                                        sizeFolder + u'/' + name + QStringLiteral(".png"));
        if (!error.isEmpty())
            return error;
    }
    return {};
}

} // namespace icon
