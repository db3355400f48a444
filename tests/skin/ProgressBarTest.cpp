// Skinned progress bars: the fixed thickness, the caption and the filled length, in pixels.
#include "SkinnedWindow.h"
#include "skin/Controls.h"

#include <QTest>
#include <gtest/gtest.h>

using testing_support::grabbed;
using Window = testing_support::SkinnedWindow;

namespace {

const QColor kBeige(239, 235, 222);
const QColor kFrame(104, 104, 104);

// The WinXP segment picture stretched over the filled part is green throughout.
bool isSegmentGreen(const QColor& c)
{
    return c.green() > c.red() + 40 && c.green() > c.blue() + 40;
}

} // namespace

TEST(ProgressBar, StaysTwelvePixelsThick)
{
    Window w;
    auto* bar = new TsuiProgressBar(w.form);
    EXPECT_EQ(bar->size(), QSize(150, 12));
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_TRUE(bar->isHidden()) << "hidden until used";
    bar->resize(200, 20);
    EXPECT_EQ(bar->size(), QSize(200, 12));
    bar->setGeometry(5, 5, 90, 30);
    EXPECT_EQ(bar->geometry(), QRect(5, 5, 90, 12));

    bar->setOrientation(suiVertical);
    EXPECT_EQ(bar->size(), QSize(12, 90)) << "the long side turns with the bar";
    bar->resize(40, 120);
    EXPECT_EQ(bar->size(), QSize(12, 120));
    bar->setOrientation(suiHorizontal);
    EXPECT_EQ(bar->size(), QSize(120, 12));
}

TEST(ProgressBar, CaptionIsThePercentageOfTheRange)
{
    EXPECT_EQ(TsuiProgressBar::captionFor(0, 100, 0), "0%");
    EXPECT_EQ(TsuiProgressBar::captionFor(0, 100, 100), "100%");
    EXPECT_EQ(TsuiProgressBar::captionFor(0, 3, 2), "66%") << "whole percent, rounded down";
    EXPECT_EQ(TsuiProgressBar::captionFor(10, 20, 15), "50%");
    EXPECT_EQ(TsuiProgressBar::captionFor(7, 7, 7), "0%") << "an empty range divides by nothing";
    EXPECT_EQ(TsuiProgressBar::captionFor(0, 2'000'000'000, 2'000'000'000), "100%") << "no overflow";

    Window w;
    auto* bar = new TsuiProgressBar(w.form);
    bar->setMax(4);
    bar->setPosition(1);
    EXPECT_EQ(bar->text(), "25%");
    bar->setMin(1);
    EXPECT_EQ(bar->text(), "0%");
}

TEST(ProgressBar, FilledLengthRules)
{
    EXPECT_EQ(TsuiProgressBar::filledLength(150, 0, 100, 0), 1) << "nothing filled still shows one pixel";
    EXPECT_EQ(TsuiProgressBar::filledLength(150, 0, 100, -5), 1);
    EXPECT_EQ(TsuiProgressBar::filledLength(150, 0, 100, 100), 149);
    EXPECT_EQ(TsuiProgressBar::filledLength(150, 0, 100, 101), 149);
    EXPECT_EQ(TsuiProgressBar::filledLength(150, 0, 100, 50), 74);
    EXPECT_EQ(TsuiProgressBar::filledLength(150, 5, 5, 5), 1);
    EXPECT_EQ(TsuiProgressBar::filledLength(150, 9, 5, 7), 1) << "an inverted range fills nothing";
    EXPECT_EQ(TsuiProgressBar::filledLength(101, 0, 1'000'000'000, 999'999'999), 99) << "no overflow";
}

TEST(ProgressBar, EmptyBarShowsOnePixelOfSegmentAndZeroPercent)
{
    Window w;
    auto* bar = new TsuiProgressBar(w.form);
    bar->setGeometry(10, 10, 150, 12);
    bar->setRange(0, 100);
    bar->setValue(0);
    EXPECT_EQ(bar->text(), "0%");
    bar->setShowCaption(false);  // the caption's pixels aside
    const QImage shot = grabbed(bar);
    EXPECT_EQ(shot.pixelColor(0, 6), kFrame);
    EXPECT_EQ(shot.pixelColor(149, 6), kFrame);
    EXPECT_EQ(shot.pixelColor(75, 0), kFrame);
    EXPECT_EQ(shot.pixelColor(75, 11), kFrame);
    EXPECT_TRUE(isSegmentGreen(shot.pixelColor(1, 6)));
    EXPECT_EQ(shot.pixelColor(2, 6), kBeige);
    EXPECT_EQ(shot.pixelColor(148, 6), kBeige);
}

TEST(ProgressBar, FullBarFillsTheInsideAndShowsHundredPercent)
{
    Window w;
    auto* bar = new TsuiProgressBar(w.form);
    bar->setGeometry(10, 10, 150, 12);
    bar->setValue(100);
    EXPECT_EQ(bar->text(), "100%");
    bar->setShowCaption(false);
    const QImage plain = grabbed(bar);
    for (int x = 1; x <= 148; ++x)
        ASSERT_TRUE(isSegmentGreen(plain.pixelColor(x, 6))) << x;
    EXPECT_EQ(plain.pixelColor(149, 6), kFrame);

    bar->setShowCaption(true);
    bar->setCaptionColor(QColor(255, 0, 255));
    const QImage captioned = grabbed(bar);
    int captionPixels = 0;
    for (int x = 1; x < 149; ++x)
        for (int y = 1; y < 11; ++y)
            if (captioned.pixelColor(x, y) != plain.pixelColor(x, y)) {
                ++captionPixels;
                EXPECT_GT(x, 40);
                EXPECT_LT(x, 110);
            }
    EXPECT_GT(captionPixels, 10) << "the caption is drawn, centred";
}

TEST(ProgressBar, SmartCaptionWaitsForTheFirstStep)
{
    Window w;
    auto* bar = new TsuiProgressBar(w.form);
    bar->setValue(0);
    bar->setShowCaption(false);
    const QImage none = grabbed(bar);
    bar->setShowCaption(true);
    bar->setSmartShowCaption(true);
    EXPECT_EQ(grabbed(bar), none);
    bar->setSmartShowCaption(false);
    EXPECT_NE(grabbed(bar), none);
}

TEST(ProgressBar, VerticalBarFillsFromTheBottomWithoutCaption)
{
    Window w;
    auto* bar = new TsuiProgressBar(w.form);
    bar->setOrientation(suiVertical);
    bar->resize(12, 101);
    bar->setValue(50);
    const QImage shot = grabbed(bar);
    EXPECT_TRUE(isSegmentGreen(shot.pixelColor(6, 99)));
    EXPECT_TRUE(isSegmentGreen(shot.pixelColor(6, 50)));
    EXPECT_EQ(shot.pixelColor(6, 48), kBeige);
    EXPECT_EQ(shot.pixelColor(6, 0), kFrame);
    bar->setShowCaption(false);
    EXPECT_EQ(grabbed(bar), shot) << "a vertical bar shows no caption";
}

TEST(ProgressBar, StyleAndThemeFallBack)
{
    Window w;
    auto* bar = new TsuiProgressBar(w.form);
    EXPECT_EQ(bar->UIStyle(), TsuiUIStyle::WinXP);
    EXPECT_EQ(bar->Color(), kBeige);
    EXPECT_EQ(bar->Picture().size(), QSize(6, 10));
    bar->setUIStyle(TsuiUIStyle::DeepBlue);
    EXPECT_EQ(bar->BorderColor(), QColor(0, 0, 0));
    EXPECT_EQ(bar->Color(), QColor(232, 232, 232));
    EXPECT_EQ(bar->Picture().size(), QSize(1, 10));
    bar->setUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(bar->Color(), QColor(232, 232, 232)) << "no theme: DeepBlue's values";
}
