// The skinned frame: the title bar's placement, buttons, menu and mouse handling, the frame
// panel's size rule, border, shape, maximising and edge resizing.
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiDialog.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleHints>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

using Type = TsuiTitleBarBtnType;

namespace {

constexpr QColor kBorder(0, 44, 200);  // 13118464
constexpr QColor kPanel(239, 235, 222);

// A window of the given outer size carrying the program's frame.
struct Framed {
    QDialog window;
    TsuiForm* form;
    explicit Framed(QSize size, std::initializer_list<Type> buttons = {Type::suiClose})
    {
        window.setWindowTitle(QStringLiteral("提示"));
        form = new TsuiForm(&window);
        form->setTitleBarButtons(buttons);
        window.resize(size);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    TsuiTitleBar* bar() const { return form->titleBar(); }
    QPoint centreOf(int button) const { return bar()->placement().buttons[size_t(button)].center(); }
};

QImage grabbed(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage titleButtonFrame(int frame)
{
    return skin::sliceStrip(skin::skinPicture(QStringLiteral("WINXP_TITLEBTN")), 18, frame);
}

} // namespace

TEST(TitleBar, CloseButtonAndCaptionOfA336WideWindow)
{
    Framed w(QSize(336, 169));
    EXPECT_EQ(w.bar()->width(), 330);
    EXPECT_EQ(w.bar()->height(), 29);
    const TsuiTitleBar::Placement placed = w.bar()->placement();
    EXPECT_EQ(placed.buttons[0], QRect(307, 5, 21, 21));
    EXPECT_EQ(placed.captionLeft, 2);
    // Pixels: the close button's normal frame at x 307 of the bar.
    const QImage bar = grabbed(w.bar());
    EXPECT_EQ(bar.copy(307, 5, 21, 21), titleButtonFrame(16).convertToFormat(QImage::Format_RGB32));
}

TEST(TitleBar, FourButtonsStandRightToLeftWithTheControlBoxBeforeTheCaption)
{
    Framed w(QSize(640, 478), {Type::suiControlBox, Type::suiClose, Type::suiMax, Type::suiMin});
    const TsuiTitleBar::Placement placed = w.bar()->placement();
    EXPECT_EQ(placed.buttons[0].topLeft(), QPoint(2, 5));
    EXPECT_EQ(placed.buttons[1].left(), 634 - 23);
    EXPECT_EQ(placed.buttons[2].left(), 634 - 45);
    EXPECT_EQ(placed.buttons[3].left(), 634 - 67);
    EXPECT_EQ(placed.captionLeft, 28);
    EXPECT_EQ(w.bar()->button(2).PicNormal, titleButtonFrame(7));
}

TEST(TitleBar, ACaptionThatDoesNotFitShowsItsFirstCharacter)
{
    Framed w(QSize(150, 100));
    w.form->setCaption(QStringLiteral("读取《一篇标题很长很长的资料》"));
    EXPECT_EQ(w.window.windowTitle(), QStringLiteral("读取《一篇标题很长很长的资料》"));
    EXPECT_EQ(w.bar()->placement().shownCaption, QStringLiteral("读..."));
    w.window.setWindowTitle(QStringLiteral("Long English caption for a narrow window"));
    EXPECT_EQ(w.bar()->placement().shownCaption, QStringLiteral("Lo..."));
    w.window.setWindowTitle(QStringLiteral("短"));
    EXPECT_EQ(w.bar()->placement().shownCaption, QStringLiteral("短"));
    EXPECT_EQ(TsuiTitleBar::shortCaption(QStringLiteral("a中")), QStringLiteral("a..."));
}

TEST(TitleBar, SecondControlBoxAndSecondClientSectionAreRefused)
{
    skin::RecordingSink sink;
    Framed w(QSize(336, 169), {Type::suiControlBox, Type::suiClose});
    EXPECT_FALSE(w.bar()->setButtonType(1, Type::suiControlBox));
    EXPECT_EQ(w.bar()->button(1).ButtonType, Type::suiClose);
    EXPECT_TRUE(w.bar()->setButtonType(0, Type::suiControlBox));  // the one it already is
    const int added = w.bar()->addSection();
    EXPECT_FALSE(w.bar()->setSectionAlign(added, TsuiTitleBarAlign::suiClient));
    EXPECT_EQ(w.bar()->section(added).Align, TsuiTitleBarAlign::suiLeft);
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[0].text, TsuiTitleBar::kOneControlBoxOnly);
    EXPECT_EQ(sink.messages[0].text,
              QStringLiteral("Sorry, only one button's ButtonType property can be \"suiControlBox\""));
    EXPECT_EQ(sink.messages[1].text, TsuiTitleBar::kOneClientSectionOnly);
}

TEST(TitleBar, WindowMenuEnablesWhatTheButtonsOffer)
{
    Framed main(QSize(640, 478), {Type::suiControlBox, Type::suiClose, Type::suiMax, Type::suiMin});
    QTest::mouseClick(main.bar(), Qt::LeftButton, {}, main.centreOf(0));
    TsuiTitleBarPopupMenu* menu = main.bar()->windowMenu();
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), main.bar()->mapToGlobal(QPoint(0, main.bar()->height())));
    EXPECT_TRUE(menu->Minimize->isEnabled());
    EXPECT_TRUE(menu->MaximizeRestore->isEnabled());
    EXPECT_TRUE(menu->Close->isEnabled());
    menu->hide();

    Framed reading(QSize(536, 360), {Type::suiClose, Type::suiMax});
    reading.bar()->prepareWindowMenu();
    EXPECT_FALSE(reading.bar()->windowMenu()->Minimize->isEnabled());
    EXPECT_TRUE(reading.bar()->windowMenu()->MaximizeRestore->isEnabled());
    reading.bar()->windowMenu()->MaximizeRestore->trigger();
    EXPECT_TRUE(reading.form->isMaximized());
}

// The first click opens the window menu; the second, within the double-click interval, reaches
// the bar as the menu closes and closes the window. A later click only opens the menu again.
TEST(TitleBar, DoubleClickOnTheControlBoxClosesTheWindow)
{
    Framed w(QSize(640, 478), {Type::suiControlBox, Type::suiClose, Type::suiMax, Type::suiMin});
    QTest::mouseClick(w.bar(), Qt::LeftButton, {}, w.centreOf(0));
    ASSERT_TRUE(w.bar()->windowMenu()->isVisible());
    w.bar()->windowMenu()->hide();
    QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
    QTest::mouseClick(w.bar(), Qt::LeftButton, {}, w.centreOf(0));
    EXPECT_TRUE(w.bar()->windowMenu()->isVisible());
    EXPECT_TRUE(w.window.isVisible());
    QTest::mouseClick(w.bar(), Qt::LeftButton, {}, w.centreOf(0));
    EXPECT_FALSE(w.bar()->windowMenu()->isVisible());
    EXPECT_FALSE(w.window.isVisible());
}

TEST(TitleBar, PressedStateIsRecomputedAtRelease)
{
    Framed w(QSize(336, 169));
    const QPoint close = w.centreOf(0);
    QTest::mouseMove(w.bar(), close);
    EXPECT_EQ(w.bar()->hotButton(), 0);
    QTest::mousePress(w.bar(), Qt::LeftButton, {}, close);
    EXPECT_TRUE(w.bar()->isPressed());
    EXPECT_EQ(grabbed(w.bar()).copy(307, 5, 21, 21), titleButtonFrame(18).convertToFormat(QImage::Format_RGB32));
    QTest::mouseMove(w.bar(), QPoint(100, 15));
    QTest::mouseRelease(w.bar(), Qt::LeftButton, {}, QPoint(100, 15));
    EXPECT_FALSE(w.bar()->isPressed());
    EXPECT_TRUE(w.window.isVisible());

    QTest::mouseClick(w.bar(), Qt::LeftButton, {}, close);
    EXPECT_FALSE(w.window.isVisible());
}

TEST(TitleBar, CloseButtonEndsAModalWindowAndCustomButtonsRaiseTheirEvent)
{
    Framed w(QSize(336, 169), {Type::suiClose, Type::suiCustom, Type::suiHelp});
    QSignalSpy custom(w.bar(), &TsuiTitleBar::CustomBtnsClick);
    QSignalSpy help(w.bar(), &TsuiTitleBar::HelpBtnClick);
    w.bar()->setButtonPictures(1, titleButtonFrame(4), titleButtonFrame(5), titleButtonFrame(6));
    QTest::mouseClick(w.bar(), Qt::LeftButton, {}, w.centreOf(1));
    QTest::mouseClick(w.bar(), Qt::LeftButton, {}, w.centreOf(2));
    ASSERT_EQ(custom.size(), 1);
    EXPECT_EQ(custom[0][0].toInt(), 1);
    ASSERT_EQ(help.size(), 1);
    EXPECT_EQ(help[0][0].toInt(), 2);
}

TEST(TitleBar, DoubleClickOnTheEmptyBarMaximisesToTheWorkAreaAndRestores)
{
    Framed w(QSize(640, 478), {Type::suiControlBox, Type::suiClose, Type::suiMax, Type::suiMin});
    w.window.setFixedSize(640, 478);
    const QRect normal = w.window.geometry();
    QTest::mouseDClick(w.bar(), Qt::LeftButton, {}, QPoint(300, 15));
    EXPECT_TRUE(w.form->isMaximized());
    EXPECT_EQ(w.window.geometry(), w.window.screen()->availableGeometry());
    EXPECT_EQ(w.bar()->button(2).PicNormal, titleButtonFrame(10));  // the restore picture
    EXPECT_FALSE(w.window.mask().contains(QPoint(0, 0)));          // top corners stay round
    QTest::mouseDClick(w.bar(), Qt::LeftButton, {}, QPoint(300, 15));
    EXPECT_FALSE(w.form->isMaximized());
    EXPECT_EQ(w.window.geometry(), normal);
    EXPECT_EQ(w.window.size(), QSize(640, 478));
    EXPECT_EQ(w.bar()->button(2).PicNormal, titleButtonFrame(7));
}

TEST(TitleBar, WindowShapeHasRoundTopAndSquareBottomCorners)
{
    const QRegion shape = skin::roundTopRegion(QSize(336, 169), 13);
    for (QPoint outside : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(335, 0), QPoint(334, 0)})
        EXPECT_FALSE(shape.contains(outside)) << outside.x() << "," << outside.y();
    for (QPoint inside : {QPoint(6, 0), QPoint(0, 7), QPoint(329, 0), QPoint(0, 168), QPoint(335, 168),
                          QPoint(168, 80)})
        EXPECT_TRUE(shape.contains(inside)) << inside.x() << "," << inside.y();
    EXPECT_EQ(skin::roundTopRegion(QSize(50, 20), 0), QRegion(0, 0, 50, 20));

    Framed w(QSize(336, 169));
    EXPECT_EQ(w.window.mask(), shape);
    w.window.resize(400, 200);
    EXPECT_EQ(w.window.mask(), skin::roundTopRegion(QSize(400, 200), 13));
}

TEST(Frame, OnlyOneFramePanelPerWindow)
{
    QWidget window;
    new TsuiForm(&window);
    try {
        new TsuiForm(&window);
        FAIL() << "a second frame panel was made";
    } catch (const std::logic_error& failure) {
        EXPECT_EQ(QString::fromUtf8(failure.what()),
                  QStringLiteral("Sorry, You can create only one TsuiForm component in one form!"));
    }
    EXPECT_EQ(window.findChildren<TsuiForm*>().size(), 1);
}

TEST(Frame, WindowIsThePanelWithBorderStripsAndTakesTheDesktopFrameAway)
{
    Framed w(QSize(640, 478));
    EXPECT_TRUE(w.window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.form->BorderWidth(), 3);
    EXPECT_EQ(w.form->windowSizeFor(QSize(634, 475)), QSize(640, 478));
    EXPECT_EQ(w.form->windowSizeFor(QSize(530, 357)), QSize(536, 360));
    EXPECT_EQ(w.form->geometry(), QRect(3, 0, 634, 475));
    EXPECT_EQ(w.window.minimumWidth(), 150);

    const QImage shown = grabbed(&w.window);
    for (QPoint border : {QPoint(0, 100), QPoint(2, 300), QPoint(639, 100), QPoint(637, 200),
                          QPoint(320, 477), QPoint(320, 475)})
        EXPECT_EQ(shown.pixelColor(border), kBorder) << border.x() << "," << border.y();
    EXPECT_EQ(shown.pixelColor(320, 300), kPanel);

    w.form->setBorderWidth(5);  // the panel keeps its size
    EXPECT_EQ(w.window.size(), QSize(644, 480));
    EXPECT_EQ(w.form->size(), QSize(634, 475));

    w.form->setTitleBarVisible(false);
    EXPECT_EQ(w.form->y(), 5);
    EXPECT_EQ(grabbed(&w.window).pixelColor(320, 2), kBorder);
}

TEST(Frame, ActivationReachesTheTitleBar)
{
    Framed first(QSize(336, 169));
    QApplication::setActiveWindow(&first.window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&first.window));
    EXPECT_TRUE(first.bar()->FormActive());
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_FALSE(first.bar()->FormActive());
    const QImage inactive = grabbed(first.bar());
    first.bar()->setFormActive(true);
    EXPECT_NE(grabbed(first.bar()), inactive);  // the caption colour follows
}

TEST(Frame, MenuBarLiesBelowTheTitleBarInTheFormsColour)
{
    Framed w(QSize(640, 478));
    EXPECT_EQ(w.form->Menu(), nullptr);
    EXPECT_EQ(w.form->clientTop(), 29) << "no menu bar until the menu is made";
    auto* menu = w.form->createMenu();
    menu->addMenu(QStringLiteral(" 文件(&F)"));
    EXPECT_EQ(w.form->Menu(), menu);
    EXPECT_EQ(w.form->createMenu(), menu) << "one menu bar per frame";
    EXPECT_EQ(menu->geometry(), QRect(0, 29, 634, 22));
    EXPECT_EQ(w.form->clientTop(), 51);
    EXPECT_EQ(menu->UIStyle(), TsuiUIStyle::WinXP);
    EXPECT_EQ(grabbed(menu).pixelColor(600, 10), kPanel);
    w.form->setMenuBarHeight(30);
    EXPECT_EQ(menu->height(), 30);
    EXPECT_EQ(menu->values().MenuBarHeight, 30);
}

TEST(Frame, SizeableWindowsResizeFromTheirEdgesOnly)
{
    EXPECT_EQ(skin::resizeEdgesAt(QSize(536, 360), QPoint(2, 100)), Qt::LeftEdge);
    EXPECT_EQ(skin::resizeEdgesAt(QSize(536, 360), QPoint(532, 357)), Qt::RightEdge | Qt::BottomEdge);
    EXPECT_EQ(skin::resizeEdgesAt(QSize(536, 360), QPoint(100, 100)), Qt::Edges());
    const QRect start(100, 100, 536, 360);
    EXPECT_EQ(skin::FrameDrag::resized(start, Qt::LeftEdge, QPoint(-20, 0), QSize(150, 50), QSize(2000, 2000)),
              QRect(80, 100, 556, 360));
    EXPECT_EQ(skin::FrameDrag::resized(start, Qt::BottomEdge, QPoint(0, -400), QSize(150, 50), QSize(2000, 2000)),
              QRect(100, 100, 536, 50));

    // Where no window manager resizes it, the frame follows the mouse itself.
    Framed reading(QSize(536, 360), {Type::suiClose, Type::suiMax});
    reading.form->setSizeable(true);
    QTest::mousePress(&reading.window, Qt::LeftButton, {}, QPoint(534, 200));
    QTest::mouseMove(&reading.window, QPoint(574, 200));
    QTest::mouseRelease(&reading.window, Qt::LeftButton, {}, QPoint(574, 200));
    EXPECT_EQ(reading.window.width(), 576);
    // The top 5 pixels of the title bar resize too.
    const QRect before = reading.window.geometry();
    QTest::mousePress(reading.bar(), Qt::LeftButton, {}, QPoint(200, 2));
    QTest::mouseMove(reading.bar(), QPoint(200, -18));
    QTest::mouseRelease(reading.bar(), Qt::LeftButton, {}, QPoint(200, -18));
    EXPECT_EQ(reading.window.geometry(), before.adjusted(0, -20, 0, 0));

    Framed fixed(QSize(336, 169));
    QTest::mousePress(&fixed.window, Qt::LeftButton, {}, QPoint(334, 100));
    QTest::mouseMove(&fixed.window, QPoint(374, 100));
    QTest::mouseRelease(&fixed.window, Qt::LeftButton, {}, QPoint(374, 100));
    EXPECT_EQ(fixed.window.width(), 336);
}

namespace {
class Dialog : public TsuiDialog {
public:
    Dialog() : TsuiDialog(nullptr, 288, 160, QStringLiteral("搜索标题"))
    {
        panelWhileBuilt = suiForm1->geometry();
        field = new QWidget(suiForm1);
        field->setGeometry(24, 50, 70, 16);
    }
    TsuiForm* panel() const { return suiForm1; }
    QRect panelWhileBuilt;
    QWidget* field;
    int closings = 0;

protected:
    void FormClose() override { ++closings; }
};
} // namespace

// The dialog's size is its outer size and its controls stay where they were placed on the panel:
// the frame adds nothing and moves nothing.
TEST(Frame, DialogKeepsItsGivenSizeAndPlacesAndEscapeDoesNothing)
{
    Dialog dialog;
    EXPECT_EQ(dialog.size(), QSize(288, 160));
    EXPECT_EQ(dialog.panelWhileBuilt, QRect(3, 0, 282, 157));  // controls can be fitted to it
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.size(), QSize(288, 160));
    EXPECT_EQ(dialog.panel()->geometry(), QRect(3, 0, 282, 157));
    EXPECT_EQ(dialog.field->pos(), QPoint(24, 50));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.closings, 0);
}

// MacOS and Protein tile their background picture over the panel; the others fill it.
TEST(Frame, MacOSAndProteinTileTheirFormBackgroundPicture)
{
    Framed w(QSize(200, 150));
    for (const TsuiUIStyle style : {TsuiUIStyle::MacOS, TsuiUIStyle::Protein, TsuiUIStyle::WinXP}) {
        w.form->setUIStyle(style);
        const QImage panel = grabbed(w.form);
        const QImage tile = skin::formBackgroundPicture(style);
        if (style == TsuiUIStyle::WinXP) {
            EXPECT_TRUE(tile.isNull());
            EXPECT_EQ(panel.pixelColor(100, 120), kPanel);
            continue;
        }
        ASSERT_FALSE(tile.isNull());
        for (const QPoint at : {QPoint(40, 80), QPoint(41, 83), QPoint(107, 126)})
            EXPECT_EQ(panel.pixel(at), tile.pixel(at.x() % tile.width(), at.y() % tile.height()))
                << int(style) << " at " << at.x() << "," << at.y();
    }
}
