// The theme pictures: each at the size of the area it fills, readable text over the strips,
// and Windows bitmaps on disk.
#include "ThemePictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <map>

namespace {

std::map<QString, QImage> pictures()
{
    std::map<QString, QImage> byName;
    for (themes::ThemePicture& picture : themes::drawThemePictures())
        byName[picture.fileName] = picture.image;
    return byName;
}

double luminance(QColor colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
           + 0.0722 * linear(colour.blueF());
}

// Contrast ratio of two colours, 1 (none) to 21 (black on white).
double contrast(QColor a, QColor b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The lowest contrast of colour against any pixel of the area.
double lowestContrast(const QImage& image, const QRect& area, QColor colour)
{
    double lowest = 21;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            lowest = std::min(lowest, contrast(image.pixelColor(x, y), colour));
    return lowest;
}

TEST(ThemePicturesTest, EachPictureHasTheSizeOfItsArea)
{
    const std::map<QString, QSize> sizes = {
        {"Left.bmp", {48, 431}},   {"Top.bmp", {586, 25}},     {"Show.bmp", {400, 19}},
        {"Line.bmp", {6, 405}},    {"Bar1.bmp", {60, 18}},     {"Bar2.bmp", {526, 18}},
        {"Splash.bmp", {310, 190}}, {"Null.bmp", {96, 68}},    {"Fail.bmp", {96, 68}},
        {"About.bmp", {310, 220}}, {"Read.bmp", {16, 16}},     {"Add.bmp", {16, 16}},
        {"Delete.bmp", {16, 16}},  {"Refresh.bmp", {16, 16}},  {"Search.bmp", {16, 16}},
        {"Copy.bmp", {16, 16}}};
    const auto drawn = pictures();
    ASSERT_EQ(drawn.size(), sizes.size());
    for (const auto& [name, size] : sizes) {
        ASSERT_TRUE(drawn.count(name)) << name.toStdString();
        EXPECT_EQ(drawn.at(name).size(), size) << name.toStdString();
    }
}

// Each glyph leaves its corners to the key colour, so it stands on the strip without a box, and
// draws something of its own.
TEST(ThemePicturesTest, ToolbarGlyphsStandOnTheKeyColour)
{
    const auto drawn = pictures();
    for (const char* name : {"Read.bmp", "Add.bmp", "Delete.bmp", "Refresh.bmp", "Search.bmp", "Copy.bmp"}) {
        const QImage& glyph = drawn.at(QString::fromLatin1(name));
        EXPECT_EQ(glyph.pixelColor(0, 15), themes::kGlyphKey) << name;
        int drawnPixels = 0;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                drawnPixels += glyph.pixelColor(x, y) != themes::kGlyphKey;
        EXPECT_GE(drawnPixels, 40) << name;
    }
}

TEST(ThemePicturesTest, WhiteCaptionsStayReadableOnTheStrips)
{
    const auto drawn = pictures();
    // The captions' rows: the toolbar buttons, the header labels, the preview's position label.
    EXPECT_GE(lowestContrast(drawn.at("Top.bmp"), QRect(8, 4, 384, 17), Qt::white), 3.0);
    EXPECT_GE(lowestContrast(drawn.at("Bar1.bmp"), QRect(8, 2, 40, 14), Qt::white), 3.0);
    EXPECT_GE(lowestContrast(drawn.at("Bar2.bmp"), QRect(8, 2, 200, 14), Qt::white), 3.0);
    EXPECT_GE(lowestContrast(drawn.at("Show.bmp"), QRect(8, 3, 200, 14), Qt::white), 3.0);
}

TEST(ThemePicturesTest, TheAboutLabelsAreaIsPlainAndLight)
{
    const QImage about = pictures().at("About.bmp");
    const QRect labels(32, 134, 240, 54);
    EXPECT_GE(lowestContrast(about, labels, Qt::black), 15.0);
    EXPECT_GE(lowestContrast(about, labels, QColor(0, 0, 255)), 7.0);
}

TEST(ThemePicturesTest, TheCategoryBarGivesALightBlueFixedAreaColourUnderWhiteTitles)
{
    const QColor fixed = pictures().at("Left.bmp").pixelColor(40, 4);
    EXPECT_GT(fixed.lightness(), 120);
    EXPECT_GT(fixed.blue(), fixed.red());
    EXPECT_GE(contrast(fixed, Qt::white), 3.0);
}

TEST(ThemePicturesTest, WritesWindowsBitmapsThatReadBackUnchanged)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("Program/Themes");
    ASSERT_EQ(themes::writeThemePictures(folder), QString());
    for (const auto& [name, image] : pictures()) {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(file.read(2), "BM");
        file.close();
        QImage read(file.fileName(), "BMP");
        EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), image) << name.toStdString();
    }
}

TEST(ThemePicturesTest, AFolderThatCannotBeMadeIsReported)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(themes::writeThemePictures(dir.filePath("file/Themes")).isEmpty());
}

} // namespace
