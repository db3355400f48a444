#include "ThemePictures.h"
#include "Palette.h"

#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace themes {

namespace {

// Sizes of the areas the pictures fill in the 640 × 478 main window and its panes.
constexpr QSize kLeftSize(48, 431);     // category bar: below menu (22) and strip (6), above status (19)
constexpr QSize kTopSize(586, 25);      // toolbar strip of a pane beside the 54-wide category bar
constexpr QSize kShowSize(400, 19);     // preview title strip: pane minus the 180-wide grid and the edge
constexpr QSize kLineSize(6, 405);      // preview edge: pane height below the toolbar and its line
constexpr QSize kBar1Size(60, 18);
constexpr QSize kBar2Size(526, 18);
constexpr QSize kThumbnailSize(96, 68);  // one thumbnail cell
constexpr QSize kSplashSize(310, 190);
constexpr QSize kAboutSize(310, 220);

QImage blank(QSize size, const QColor& fill)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QFont font(const QString& family, int pixelSize, QFont::Weight weight = QFont::Normal)
{
    QFont result(family);
    result.setFamilies({family, QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    result.setPixelSize(pixelSize);
    result.setWeight(weight);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

QFont serif(int pixelSize, QFont::Weight weight = QFont::Normal)
{
    return font(QStringLiteral("Noto Serif CJK SC"), pixelSize, weight);
}

QFont sans(int pixelSize)
{
    return font(QStringLiteral("Noto Sans CJK SC"), pixelSize);
}

void fillVertical(QPainter& painter, const QRectF& area, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(area.topLeft(), area.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(area, gradient);
}

// A strip with white text on it: a blue gradient, a light line on top and a dark one below.
QImage strip(QSize size, const QColor& top, const QColor& bottom)
{
    QImage image = blank(size, top);
    QPainter painter(&image);
    fillVertical(painter, QRectF(0, 0, size.width(), size.height()), top, bottom);
    painter.fillRect(QRectF(0, 0, size.width(), size.height() / 2.0), QColor(255, 255, 255, 16));
    painter.fillRect(0, 0, size.width(), 1, top.lighter(118));
    painter.fillRect(0, size.height() - 1, size.width(), 1, bottom.darker(125));
    return image;
}

// A range of soft hills along a baseline, as a closed path down to the bottom of the area.
QPainterPath hills(qreal left, qreal right, qreal baseline, qreal bottom,
                   const std::vector<QPointF>& peaks)
{
    QPainterPath path(QPointF(left, baseline));
    QPointF from(left, baseline);
    for (const QPointF& peak : peaks) {
        const qreal halfway = (from.x() + peak.x()) / 2;
        path.cubicTo(QPointF(halfway, from.y()), QPointF(halfway, peak.y()), peak);
        from = peak;
    }
    const qreal halfway = (from.x() + right) / 2;
    path.cubicTo(QPointF(halfway, from.y()), QPointF(halfway, baseline), QPointF(right, baseline));
    path.lineTo(right, bottom);
    path.lineTo(left, bottom);
    path.closeSubpath();
    return path;
}

// A small covered boat (the ink boat of the name), its hull centred on (x, waterline).
void drawBoat(QPainter& painter, qreal x, qreal waterline, qreal scale, const QColor& ink)
{
    painter.save();
    painter.translate(x, waterline);
    painter.scale(scale, scale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    QPainterPath hull(QPointF(-22, -6));
    hull.quadTo(QPointF(-8, 2), QPointF(0, 2));
    hull.quadTo(QPointF(8, 2), QPointF(22, -7));
    hull.quadTo(QPointF(10, -2), QPointF(0, -2));
    hull.quadTo(QPointF(-10, -2), QPointF(-22, -6));
    painter.drawPath(hull);
    QPainterPath cover(QPointF(-12, -3));
    cover.cubicTo(QPointF(-10, -10), QPointF(8, -10), QPointF(10, -3));
    cover.closeSubpath();
    QColor coverInk = ink;
    coverInk.setAlphaF(ink.alphaF() * 0.8);
    painter.setBrush(coverInk);
    painter.drawPath(cover);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(ink, 0.9));
    painter.drawLine(QPointF(14, -6), QPointF(26, -20));  // the pole
    painter.restore();
}

void drawRipples(QPainter& painter, const std::vector<QLineF>& lines, const QColor& colour)
{
    painter.setPen(QPen(colour, 1, Qt::SolidLine, Qt::RoundCap));
    for (const QLineF& line : lines)
        painter.drawLine(line);
}

// The landscape shared by the splash and About pictures: far and near hills, water, the boat.
void drawLandscape(QPainter& painter, qreal width, qreal horizon, qreal waterline, qreal bottom)
{
    painter.save();
    painter.setClipRect(QRectF(0, 0, width, bottom));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(198, 211, 239, 150));
    painter.drawPath(hills(0, width, horizon, waterline,
                           {{40, horizon - 22}, {95, horizon - 8}, {170, horizon - 34},
                            {235, horizon - 12}, {285, horizon - 26}}));
    painter.setBrush(QColor(112, 148, 194, 120));
    painter.drawPath(hills(0, width, horizon + 10, waterline,
                           {{60, horizon - 4}, {130, horizon + 6}, {205, horizon - 10},
                            {270, horizon + 4}}));
    QLinearGradient water(0, waterline, 0, bottom);
    water.setColorAt(0, QColor(222, 229, 238));
    water.setColorAt(1, QColor(238, 236, 228));
    painter.fillRect(QRectF(0, waterline, width, bottom - waterline), water);
    drawRipples(painter,
                {QLineF(30, waterline + 6, 70, waterline + 6), QLineF(120, waterline + 10, 150, waterline + 10),
                 QLineF(232, waterline + 7, 280, waterline + 7), QLineF(60, waterline + 14, 84, waterline + 14)},
                QColor(112, 148, 194, 110));
    drawBoat(painter, width * 0.66, waterline + 1, 1.0, QColor(38, 62, 98, 220));
    painter.restore();
}

// A red seal with one character, as a Chinese painting carries next to its title.
void drawSeal(QPainter& painter, const QRectF& box, const QString& character)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSeal);
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(QPen(QColor(255, 244, 236), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box.adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);
    painter.setFont(serif(int(box.height() * 0.62), QFont::Bold));
    painter.drawText(box, Qt::AlignCenter, character);
}

void drawTitle(QPainter& painter, QPointF baseline, int pixelSize)
{
    const QString name = QStringLiteral("墨舟札记");
    const QFont title = serif(pixelSize, QFont::Bold);
    painter.setFont(title);
    painter.setPen(kInk);
    painter.drawText(baseline, name);
    const qreal after = baseline.x() + QFontMetricsF(title).horizontalAdvance(name) + 8;
    painter.setFont(font(QStringLiteral("DejaVu Sans"), 13));
    painter.setPen(kMuted);
    painter.drawText(QPointF(after, baseline.y()), QStringLiteral("v2.0"));
}

void drawFrame(QPainter& painter, QSize size)
{
    painter.setPen(QPen(kEdge, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
}

QImage drawLeft()
{
    QImage image = blank(kLeftSize, kBlueSoft);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = kLeftSize.width(), h = kLeftSize.height();
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0, kBlueSoft);
    body.setColorAt(0.04, kBlueSoft);
    body.setColorAt(1, QColor(80, 116, 164));
    painter.fillRect(QRectF(0, 0, w, h), body);
    // Hills and the boat at the foot of the bar, well below the category icons.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 26));
    painter.drawPath(hills(0, w, h - 70, h, {{12, h - 92}, {30, h - 78}, {42, h - 98}}));
    painter.setBrush(QColor(30, 56, 96, 46));
    painter.drawPath(hills(0, w, h - 44, h, {{18, h - 60}, {36, h - 50}}));
    drawBoat(painter, 24, h - 26, 0.7, QColor(34, 58, 94, 150));
    drawRipples(painter, {QLineF(6, h - 18, 18, h - 18), QLineF(28, h - 14, 42, h - 14),
                          QLineF(12, h - 9, 22, h - 9)},
                QColor(255, 255, 255, 60));
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(w - 2, 0, 1, h), QColor(92, 128, 176));
    painter.fillRect(QRectF(w - 1, 0, 1, h), QColor(150, 178, 214));
    return image;
}

QImage drawTop()
{
    QImage image = strip(kTopSize, QColor(98, 138, 188), QColor(58, 98, 148));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A faint line of hills at the right end, clear of the toolbar buttons.
    const qreal w = kTopSize.width(), h = kTopSize.height();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 22));
    painter.drawPath(hills(w - 170, w, h - 1, h - 1,
                           {{w - 140, h - 12}, {w - 100, h - 6}, {w - 60, h - 16}, {w - 25, h - 8}}));
    return image;
}

QImage drawHeader(QSize size)
{
    return strip(size, QColor(106, 142, 190), QColor(80, 116, 164));
}

QImage drawBar1()
{
    QImage image = drawHeader(kBar1Size);
    QPainter painter(&image);
    const int w = kBar1Size.width(), h = kBar1Size.height();
    painter.fillRect(w - 2, 3, 1, h - 6, QColor(70, 104, 150));
    painter.fillRect(w - 1, 3, 1, h - 6, QColor(156, 184, 218));
    return image;
}

QImage drawLine()
{
    const QColor columns[] = {kBlue, QColor(112, 146, 191), QColor(150, 176, 210),
                              QColor(192, 204, 220), QColor(224, 224, 218), kPanel};
    QImage image = blank(kLineSize, kPanel);
    QPainter painter(&image);
    for (int x = 0; x < kLineSize.width(); ++x)
        painter.fillRect(x, 0, 1, kLineSize.height(), columns[x]);
    return image;
}

// The frame and caption shared by the two thumbnail stand-ins.
QImage thumbnailCard(const QString& caption, const QColor& captionColour)
{
    QImage image = blank(kThumbnailSize, kPaper);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = kThumbnailSize.width(), h = kThumbnailSize.height();
    fillVertical(painter, QRectF(0, 0, w, h), kPaper, QColor(242, 237, 224));
    drawFrame(painter, kThumbnailSize);
    painter.setFont(sans(11));
    painter.setPen(captionColour);
    painter.drawText(QRectF(0, h - 22, w, 16), Qt::AlignCenter, caption);
    return image;
}

// A small landscape picture icon, the usual sign for "a picture goes here".
QRectF drawPictureIcon(QPainter& painter, const QColor& outline)
{
    const QRectF box(33, 10, 30, 24);
    painter.setPen(QPen(outline, 1.5));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(226, 200, 150));
    painter.drawEllipse(QPointF(55, 17), 3, 3);
    painter.setBrush(kBluePale);
    QPainterPath hill(QPointF(35, 32));
    hill.lineTo(44, 21);
    hill.lineTo(50, 27);
    hill.lineTo(54, 23);
    hill.lineTo(61, 32);
    hill.closeSubpath();
    painter.drawPath(hill);
    return box;
}

QImage drawNull()
{
    QImage image = thumbnailCard(QStringLiteral("无图片"), kMuted);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawPictureIcon(painter, kBlueSoft);
    return image;
}

QImage drawFail()
{
    QImage image = thumbnailCard(QStringLiteral("无法显示"), QColor(150, 78, 66));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = drawPictureIcon(painter, QColor(176, 150, 140));
    // A crack across the picture.
    painter.setPen(QPen(kSeal, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal top = box.top() - 2, bottom = box.bottom() + 2, mid = box.center().x();
    painter.drawPolyline(QPolygonF({QPointF(mid + 2, top), QPointF(mid - 3, top + 8),
                                    QPointF(mid + 3, top + 15), QPointF(mid - 2, bottom)}));
    return image;
}

// The picture on which the splash and About windows are built: warm paper, the landscape at the
// foot of the scene, the name with its version, and the seal at the top right.
struct TitleCard {
    QSize size;
    qreal sceneBottom;  // the landscape ends here; below it the paper stays plain
    qreal horizon;
    qreal waterline;
    QPointF titleBaseline;
    int titleSize;
    QRectF seal;
};

QImage drawTitleCard(const TitleCard& card)
{
    QImage image = blank(card.size, kPaper);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const qreal w = card.size.width();
    fillVertical(painter, QRectF(0, 0, w, card.sceneBottom), QColor(246, 242, 230), kPaperDeep);
    drawLandscape(painter, w, card.horizon, card.waterline, card.sceneBottom);
    drawTitle(painter, card.titleBaseline, card.titleSize);
    drawSeal(painter, card.seal, QStringLiteral("舟"));
    drawFrame(painter, card.size);
    return image;
}

QImage drawSplash()
{
    QImage image = drawTitleCard({kSplashSize, 190, 132, 150, {32, 68}, 36, {252, 32, 26, 26}});
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(sans(12));
    painter.setPen(kMuted);
    painter.drawText(QPointF(34, 94), QStringLiteral("资料本 · 图片册 · 剪贴板"));
    return image;
}

// The About window's labels stand on the plain lower part (from y 128 on), under a divider.
QImage drawAbout()
{
    QImage image = drawTitleCard({kAboutSize, 124, 96, 112, {32, 50}, 30, {256, 24, 24, 24}});
    QPainter painter(&image);
    const qreal w = kAboutSize.width(), h = kAboutSize.height();
    painter.setPen(QPen(kEdge, 1));
    painter.drawLine(QPointF(24, 124.5), QPointF(w - 24, 124.5));
    fillVertical(painter, QRectF(1, h - 7, w - 2, 6), kBlueSoft, kBlue);
    return image;
}

// ---- Toolbar glyphs: 16 × 16 on the key colour, drawn like the category icons -----------------
// No antialiasing here: a pixel blended with the key colour would show as a coloured fringe.

constexpr int kGlyphSize = 16;
const QColor kGlyphInk(40, 70, 120);
const QColor kGlyphGreen(60, 140, 80);
const QColor kGlyphRed(200, 70, 60);

QImage glyphCanvas()
{
    return blank(QSize(kGlyphSize, kGlyphSize), kGlyphKey);
}

// A sheet of paper with ruled lines, its top-left corner at (x, y).
void drawSheet(QPainter& painter, qreal x, qreal y, qreal width, qreal height)
{
    painter.setPen(QPen(kGlyphInk, 1));
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(x + 0.5, y + 0.5, width - 1, height - 1));
    painter.setPen(QPen(QColor(120, 140, 170), 1));
    for (qreal line = y + 4.5; line < y + height - 2; line += 3)
        painter.drawLine(QPointF(x + 2.5, line), QPointF(x + width - 3, line));
}

QImage drawReadGlyph()
{
    QImage image = glyphCanvas();
    QPainter painter(&image);
    drawSheet(painter, 1, 3, 7, 11);
    drawSheet(painter, 8, 3, 7, 11);
    painter.setPen(QPen(kGlyphRed, 1));
    painter.drawLine(QPointF(8, 2), QPointF(8, 14));
    return image;
}

// A sheet with a small sign in its lower right corner.
QImage sheetWithSign(const QColor& ink, bool plus)
{
    QImage image = glyphCanvas();
    QPainter painter(&image);
    drawSheet(painter, 1, 1, 10, 13);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawEllipse(QRectF(8, 8, 8, 8));
    painter.setPen(QPen(Qt::white, 1.4));
    if (plus) {
        painter.drawLine(QPointF(12, 9.8), QPointF(12, 14.2));
        painter.drawLine(QPointF(9.8, 12), QPointF(14.2, 12));
    } else {
        painter.drawLine(QPointF(10.4, 10.4), QPointF(13.6, 13.6));
        painter.drawLine(QPointF(13.6, 10.4), QPointF(10.4, 13.6));
    }
    return image;
}

QImage drawRefreshGlyph()
{
    QImage image = glyphCanvas();
    QPainter painter(&image);
    painter.setPen(QPen(kGlyphGreen, 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 280 * 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlyphGreen);
    painter.drawPolygon(QPolygonF({QPointF(6, 0.5), QPointF(11, 3), QPointF(6, 5.5)}));
    return image;
}

QImage drawSearchGlyph()
{
    QImage image = glyphCanvas();
    QPainter painter(&image);
    painter.setPen(QPen(kGlyphInk, 1.5));
    painter.setBrush(QColor(220, 235, 250));
    painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    painter.setPen(QPen(QColor(150, 110, 60), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(14, 14));
    return image;
}

QImage drawCopyGlyph()
{
    QImage image = glyphCanvas();
    QPainter painter(&image);
    drawSheet(painter, 1, 1, 9, 11);
    drawSheet(painter, 6, 4, 9, 11);
    return image;
}

} // namespace

std::vector<ThemePicture> drawThemePictures()
{
    return {
        {QStringLiteral("Left.bmp"), drawLeft()},
        {QStringLiteral("Top.bmp"), drawTop()},
        {QStringLiteral("Show.bmp"), drawHeader(kShowSize)},
        {QStringLiteral("Line.bmp"), drawLine()},
        {QStringLiteral("Bar1.bmp"), drawBar1()},
        {QStringLiteral("Bar2.bmp"), drawHeader(kBar2Size)},
        {QStringLiteral("Splash.bmp"), drawSplash()},
        {QStringLiteral("Null.bmp"), drawNull()},
        {QStringLiteral("Fail.bmp"), drawFail()},
        {QStringLiteral("About.bmp"), drawAbout()},
        {QStringLiteral("Read.bmp"), drawReadGlyph()},
        {QStringLiteral("Add.bmp"), sheetWithSign(kGlyphGreen, true)},
        {QStringLiteral("Delete.bmp"), sheetWithSign(kGlyphRed, false)},
        {QStringLiteral("Refresh.bmp"), drawRefreshGlyph()},
        {QStringLiteral("Search.bmp"), drawSearchGlyph()},
        {QStringLiteral("Copy.bmp"), drawCopyGlyph()},
    };
}

QString writeThemePictures(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return QStringLiteral("cannot make the folder %1").arg(folder);
    for (const ThemePicture& picture : drawThemePictures()) {
        const QString path = QDir(folder).filePath(picture.fileName);
        if (!picture.image.save(path, "BMP"))
            return QStringLiteral("cannot write %1").arg(path);
    }
    return {};
}

} // namespace themes
