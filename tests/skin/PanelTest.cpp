// Captioned panels and group boxes: drawing, collapsing in steps, and what reaches their children.
#include "ThemeFileBuilder.h"
#include "SkinnedWindow.h"
#include "skin/Controls.h"
#include "skin/FileTheme.h"
#include "skin/SkinPainting.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using testing_support::grabbed;
using Window = testing_support::SkinnedWindow;

namespace {

// Every height a widget takes, in order.
class HeightLog : public QObject {
public:
    explicit HeightLog(QWidget* watched) { watched->installEventFilter(this); }
    std::vector<int> heights;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Resize)
            heights.push_back(static_cast<QWidget*>(watched)->height());
        return false;
    }
};

const QColor kBorder(104, 104, 104);

} // namespace

TEST(Panel, DrawsBarCaptionBorderAndButton)
{
    Window w;
    auto* panel = new TsuiPanel(w.form, QStringLiteral("选择导出文件夹"));
    panel->setGeometry(10, 10, 222, 192);
    EXPECT_EQ(panel->barHeight(), 21);
    EXPECT_EQ(panel->Color(), QColor(Qt::white));
    EXPECT_EQ(panel->buttonRect(), QRect(205, 6, 13, 12));
    EXPECT_EQ(panel->clientArea(), QRect(3, 24, 216, 165));

    const QImage shot = grabbed(panel);
    EXPECT_EQ(shot.pixelColor(0, 100), kBorder);
    EXPECT_EQ(shot.pixelColor(221, 100), kBorder);
    EXPECT_EQ(shot.pixelColor(100, 191), kBorder);
    EXPECT_EQ(shot.pixelColor(100, 100), QColor(Qt::white));
    const QImage bar = skin::skinPicture("WINXP_SIDECHENNEL_BAR");
    EXPECT_EQ(shot.pixelColor(150, 3), bar.pixelColor(0, 3)) << "the bar picture stretched across";
    const QImage expanded = skin::sliceStrip(skin::skinPicture("PANEL_BUTTON"), 4, 1);
    EXPECT_EQ(shot.copy(panel->buttonRect()), expanded);
    bool captionInk = false;
    for (int x = 10; x < 60; ++x)
        for (int y = 2; y < 19; ++y)
            captionInk |= shot.pixelColor(x, y) == QColor(Qt::black);
    EXPECT_TRUE(captionInk) << "the caption in black from x = 10";

    panel->setShowButton(false);
    EXPECT_NE(grabbed(panel).copy(panel->buttonRect()), expanded);
}

TEST(Panel, CollapsesAndExpandsInFifteenPixelSteps)
{
    Window w;
    auto* panel = new TsuiPanel(w.form, QStringLiteral("选择导出文件夹"));
    panel->setGeometry(10, 10, 222, 192);
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    QSignalSpy pushed(panel, &TsuiPanel::OnPush), popped(panel, &TsuiPanel::OnPop);
    HeightLog log(panel);
    const QPoint button = panel->buttonRect().center();

    QTest::mouseMove(panel, button);
    QTest::mouseClick(panel, Qt::LeftButton, {}, button);
    std::vector<int> down;
    for (int h = 192 - 15; h > 21; h -= 15)
        down.push_back(h);
    down.push_back(21);
    EXPECT_EQ(log.heights, down);
    EXPECT_TRUE(panel->isCollapsed());
    EXPECT_EQ(pushed.count(), 1);
    EXPECT_EQ(popped.count(), 0);
    EXPECT_EQ(grabbed(panel).copy(panel->buttonRect()),
              skin::sliceStrip(skin::skinPicture("PANEL_BUTTON"), 4, 4)) << "collapsed and hot";

    log.heights.clear();
    QTest::mouseClick(panel, Qt::LeftButton, {}, button);
    EXPECT_EQ(log.heights.front(), 36);
    EXPECT_EQ(log.heights.back(), 192);
    EXPECT_EQ(log.heights.size(), down.size());
    EXPECT_EQ(popped.count(), 1);

    QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(100, 10));
    EXPECT_FALSE(panel->isCollapsed()) << "the caption is not the button";
    QTest::mouseClick(panel, Qt::RightButton, {}, button);
    EXPECT_FALSE(panel->isCollapsed());
}

TEST(Panel, RemembersTheHeightItHadWhileExpanded)
{
    Window w;
    auto* panel = new TsuiPanel(w.form, QStringLiteral("面板"));
    auto* child = new QWidget(panel);
    panel->setGeometry(0, 0, 200, 100);
    panel->alignClient(child);
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    EXPECT_EQ(child->geometry(), panel->clientArea());
    panel->resize(200, 140);
    EXPECT_EQ(panel->rememberedHeight(), 140);
    EXPECT_EQ(child->geometry(), QRect(3, 24, 194, 113));
    panel->toggle();
    EXPECT_EQ(panel->height(), 21);
    EXPECT_EQ(panel->rememberedHeight(), 140) << "collapsing keeps the height to return to";
    panel->toggle();
    EXPECT_EQ(panel->height(), 140);
}

TEST(Panel, PassesItsStyleToItsChildrenAndFallsBackWhenTheThemeGoes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("red.thm"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testing_support::ThemeFileBuilder().integer("ControlBorderColor", skin::rgbColor(200, 10, 10)).build());
    file.close();

    Window w;
    auto* panel = new TsuiPanel(w.form, QStringLiteral("面板"));
    auto* edit = new TsuiEdit(panel);
    auto* theme = new TsuiFileTheme;
    theme->setThemeFile(path);
    ASSERT_TRUE(theme->isOpened());
    panel->setFileTheme(theme);
    panel->setUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(panel->BorderColor(), QColor(200, 10, 10));
    EXPECT_EQ(panel->barHeight(), TsuiPanel::kBarlessHeight) << "the theme carries no bar picture";
    EXPECT_EQ(edit->FileTheme(), theme);
    EXPECT_EQ(edit->UIStyle(), TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(edit->BorderColor(), QColor(200, 10, 10));

    panel->setColor(Qt::red);
    delete theme;
    EXPECT_EQ(panel->UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(panel->BorderColor(), QColor(0, 0, 0));
    EXPECT_EQ(panel->Color(), QColor(Qt::white)) << "every style change makes the panel white";
    EXPECT_EQ(edit->FileTheme(), nullptr);
    EXPECT_EQ(edit->UIStyle(), TsuiUIStyle::DeepBlue);
    EXPECT_EQ(edit->BorderColor(), QColor(0, 0, 0));
}

TEST(GroupBox, DrawsAnOutlineWithAGapForTheCaption)
{
    Window w;
    auto* box = new TsuiGroupBox(w.form, QStringLiteral("当前内容"));
    EXPECT_EQ(box->size(), QSize(185, 105));
    EXPECT_EQ(box->Color(), w.form->Color) << "the parent's colour";
    EXPECT_EQ(box->FontColor(), QColor(2, 70, 207));
    EXPECT_EQ(box->lineRow(), 7);
    EXPECT_EQ(box->clientArea(), QRect(3, 17, 179, 85));

    const QImage shot = grabbed(box);
    const int gapEnd = skin::captionWidth(box->font(), box->Caption()) + 6;
    EXPECT_EQ(shot.pixelColor(0, 7), kBorder);
    EXPECT_EQ(shot.pixelColor(2, 7), kBorder);
    EXPECT_EQ(shot.pixelColor(0, 60), kBorder);
    EXPECT_EQ(shot.pixelColor(184, 60), kBorder);
    EXPECT_EQ(shot.pixelColor(90, 104), kBorder);
    EXPECT_EQ(shot.pixelColor(gapEnd, 7), kBorder);
    EXPECT_EQ(shot.pixelColor(gapEnd + 40, 7), kBorder);
    EXPECT_NE(shot.pixelColor(3, 7), kBorder) << "the gap starts after the stub";
    EXPECT_EQ(shot.pixelColor(90, 50), w.form->Color);
    EXPECT_EQ(shot.pixelColor(0, 3), w.form->Color) << "nothing above the line at the edge";

    box->setCaption(QString());
    const QImage plain = grabbed(box);
    for (int x = 0; x < 185; ++x)
        ASSERT_EQ(plain.pixelColor(x, 7), kBorder) << "no caption, no gap: " << x;
}

TEST(GroupBox, DisablingGreysTheCaptionAndDisablesEachChild)
{
    Window w;
    auto* box = new TsuiGroupBox(w.form, QStringLiteral("选择图片"));
    auto* edit = new TsuiEdit(box);
    auto* button = new TsuiButton(QStringLiteral("浏览..."), box);
    edit->move(10, 40);
    button->move(10, 70);
    edit->setEnabled(false);
    // Caption ink: bluish while enabled, grey (equal channels) while disabled.
    auto captionInk = [&](auto isInk) {
        const QImage shot = grabbed(box);
        for (int x = 5; x < 50; ++x)  // the caption, short of the line beyond its gap
            for (int y = 0; y < 14; ++y)
                if (isInk(shot.pixelColor(x, y)))
                    return true;
        return false;
    };
    auto bluish = [](const QColor& c) { return c.blue() > c.red() + 80; };
    auto grey = [](const QColor& c) { return c.red() == c.green() && c.green() == c.blue() && c.red() < 200; };
    EXPECT_TRUE(captionInk(bluish));
    EXPECT_FALSE(captionInk(grey));
    box->setEnabled(false);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(captionInk(grey));
    EXPECT_FALSE(captionInk(bluish));
    box->setEnabled(true);
    EXPECT_TRUE(edit->isEnabled()) << "enabling the box enables every child";
    EXPECT_TRUE(button->isEnabled());
}

TEST(GroupBox, StyleChangeReachesTheChildren)
{
    Window w;
    auto* box = new TsuiGroupBox(w.form, QStringLiteral("属性"));
    auto* edit = new TsuiEdit(box);
    auto* inner = new TsuiGroupBox(box, QStringLiteral("内"));
    auto* grandchild = new TsuiEdit(inner);
    box->setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(box->BorderColor(), QColor(127, 127, 127));
    EXPECT_EQ(box->FontColor(), QColor(0, 0, 0));
    EXPECT_EQ(edit->UIStyle(), TsuiUIStyle::MacOS);
    EXPECT_EQ(inner->UIStyle(), TsuiUIStyle::MacOS);
    EXPECT_EQ(grandchild->UIStyle(), TsuiUIStyle::MacOS) << "through the inner box";
}
