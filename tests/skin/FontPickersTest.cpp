// The font pickers: the family list with its markers, and the size list's rules.
#include "skin/Controls.h"

#include <QFontDatabase>
#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(FontComboBox, ListsEachFamilyOnceInOrder)
{
    QWidget window;
    TsuiFontComboBox fonts(&window);
    QStringList listed;
    for (int i = 0; i < fonts.count(); ++i)
        listed << fonts.itemText(i);
    QStringList sorted = listed;
    sorted.removeDuplicates();
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(listed, sorted);
    EXPECT_TRUE(listed.contains(QStringLiteral("宋体")));
    EXPECT_TRUE(listed.contains(QStringLiteral("DejaVu Sans")));
    EXPECT_EQ(fonts.currentIndex(), -1);

    QSignalSpy changes(&fonts, &QComboBox::currentIndexChanged);
    fonts.setFontName(QStringLiteral("dejavu sans"));
    EXPECT_EQ(fonts.fontName(), "DejaVu Sans") << "letter case ignored";
    EXPECT_EQ(changes.count(), 1);
    fonts.setFontName(QStringLiteral("No Such Family"));
    EXPECT_EQ(fonts.currentIndex(), -1);
    EXPECT_EQ(fonts.fontName(), "");
}

TEST(FontComboBox, ScalableFamiliesCarryTheTrueTypeMarker)
{
    QWidget window;
    TsuiFontComboBox fonts(&window);
    const QImage marker = skin::skinPicture("FONTCOMBO_TRUETYPE_FNT");
    ASSERT_EQ(marker.size(), QSize(20, 12));
    EXPECT_EQ(TsuiFontDrawComboBox::markerFor(QStringLiteral("DejaVu Sans")), marker);
    EXPECT_EQ(TsuiFontDrawComboBox::markerFor(QStringLiteral("宋体")), marker);
    EXPECT_EQ(fonts.itemHeight(), 13) << "the 12-pixel font + 1, above the marker's 11";

    // The item: marker at (2, centred), the name from x = 26.
    QImage item(200, 13, QImage::Format_RGB32);
    item.fill(Qt::white);
    {
        QPainter painter(&item);
        painter.setPen(Qt::black);
        fonts.paintItem(painter, item.rect(), QStringLiteral("DejaVu Sans"));
    }
    int leftmostInk = 200;
    for (int x = 22; x < 200; ++x)
        for (int y = 0; y < 13; ++y)
            if (item.pixelColor(x, y) != QColor(Qt::white))
                leftmostInk = std::min(leftmostInk, x);
    EXPECT_GE(leftmostInk, TsuiFontDrawComboBox::kNameOffset);
    EXPECT_LE(leftmostInk, TsuiFontDrawComboBox::kNameOffset + 2);
    bool markerInk = false;
    for (int x = 2; x < 22; ++x)
        markerInk |= item.pixelColor(x, 6) != QColor(Qt::white);
    EXPECT_TRUE(markerInk);
}

TEST(FontSizeComboBox, ScalableFamilyListsTheSixteenSizes)
{
    QWidget window;
    TsuiFontSizeComboBox sizes(&window);
    sizes.setFontName(QStringLiteral("宋体"));
    QStringList listed;
    for (int i = 0; i < sizes.count(); ++i)
        listed << sizes.itemText(i);
    EXPECT_EQ(listed, QStringList({"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28",
                                   "36", "48", "72"}));
    sizes.setFontSize(9);
    EXPECT_EQ(sizes.currentText(), "9");
    EXPECT_EQ(sizes.fontSize(), 9);
    sizes.setFontSize(13);
    EXPECT_EQ(sizes.currentIndex(), -1);
    EXPECT_EQ(sizes.fontSize(), 0);

    sizes.setFontSize(72);
    QSignalSpy changes(&sizes, &QComboBox::currentIndexChanged);
    sizes.setFontName(QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(sizes.fontSize(), 72) << "the size survives a change of family";
    EXPECT_EQ(changes.count(), 0) << "no change is raised while the list is rebuilt";
}
