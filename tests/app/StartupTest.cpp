// The splash wait: up to the second whole-second boundary of the tick count, never over 2 s.
#include "app/Icons.h"
#include "app/Startup.h"
#include "platform/Clock.h"

#include <QFont>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

std::uint32_t waitFrom(std::uint32_t start)
{
    platform::FakeClock clock(start);
    return app::waitOutSplash(clock);
}

TEST(SplashWait, EndsAtTheSecondWholeSecondBoundary)
{
    EXPECT_EQ(waitFrom(5000), 2000u);   // just on a boundary: nearly two seconds
    EXPECT_EQ(waitFrom(5001), 1999u);
    EXPECT_EQ(waitFrom(5999), 1001u);   // just before one: a little over one second
    EXPECT_EQ(waitFrom(0), 2000u);
}

TEST(SplashWait, NeverLastsLongerThanTwoSecondsAcrossTheCountersWrap)
{
    for (std::uint32_t before = 1; before <= 3000; before += 7) {
        const std::uint32_t start = std::uint32_t(0) - before;
        const std::uint32_t waited = waitFrom(start);
        EXPECT_GT(waited, 1000u) << before;
        EXPECT_LE(waited, 2000u) << before;
    }
}

TEST(SplashWait, CopesWithAClockThatJumps)
{
    platform::FakeClock clock(4294967000u, 700);  // coarse ticks that step over the wrap
    EXPECT_LE(app::waitOutSplash(clock), 2100u);
    EXPECT_LE(clock.sleeps(), 3u);
}

} // namespace

namespace {

// The glyphs that text is drawn with in font, by the toolkit's own layout and font fallback;
// glyph 0 of a font is its "missing glyph" box.
std::vector<quint32> glyphsDrawnFor(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    std::vector<quint32> glyphs;
    for (const QGlyphRun& run : layout.glyphRuns())
        for (quint32 glyph : run.glyphIndexes())
            glyphs.push_back(glyph);
    return glyphs;
}

TEST(Fonts, EveryNameTheWindowsUseAndTheApplicationFontDrawInOneFamily)
{
    app::installFontSubstitutes();
    const QString family = app::programFamily();
    ASSERT_FALSE(family.isEmpty()) << "no Chinese or Latin family installed";
    for (const QString& name : app::kWindowFontNames)
        EXPECT_EQ(QFontInfo(QFont(name, 9)).family(), family) << name.toStdString();
    EXPECT_EQ(QFontInfo(QGuiApplication::font()).family(), family);
    QFont boldCaption(QStringLiteral("Tahoma"));
    boldCaption.setPixelSize(11);
    boldCaption.setBold(true);
    EXPECT_EQ(QFontInfo(boldCaption).family(), family);
}

// Qt's own dialogs speak Chinese: its translations come with the package's dependencies.
TEST(ToolkitTexts, TheFileDialogsButtonsAreInChinese)
{
    ASSERT_TRUE(app::installToolkitTexts());
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
}

TEST(Fonts, RareCharactersOfTheExtensionPlanesDrawWithoutBoxes)
{
    app::installFontSubstitutes();
    // 僻 and 字 of the basic block, 㐀 of extension A, 𠀀 and 𪜀 of extension B.
    const QString title = QStringLiteral("生僻㐀𠀀𪜀字");
    for (const QString& family : {QStringLiteral("宋体"), QStringLiteral("Tahoma")}) {
        const std::vector<quint32> glyphs = glyphsDrawnFor(title, QFont(family, 9));
        EXPECT_EQ(glyphs.size(), 6u) << family.toStdString();
        for (quint32 glyph : glyphs)
            EXPECT_NE(glyph, 0u) << family.toStdString();
    }
}

} // namespace

namespace {
int drawings = 0;
QPixmap countedPicture()
{
    ++drawings;
    QPixmap picture(16, 16);
    picture.fill(Qt::red);
    return picture;
}
} // namespace

// A menu item's drawn icon costs start-up nothing: it is drawn when first shown, once, and
// shows what the drawing gives, disabled look included.
TEST(DrawnIcons, AreDrawnOnceWhenFirstShown)
{
    drawings = 0;
    const QIcon icon = app::icons::drawnOnFirstUse(&countedPicture);
    const QIcon copy = icon;
    EXPECT_EQ(drawings, 0);
    EXPECT_EQ(icon.pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(icon.actualSize(QSize(32, 32)), QSize(16, 16));
    EXPECT_NE(icon.pixmap(16, QIcon::Disabled).toImage().pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(drawings, 1);
    EXPECT_FALSE(copy.isNull());
}
