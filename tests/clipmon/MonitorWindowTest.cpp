// The monitor window's wiring: what its slots show, its buttons, its place on the screen.
#include "skin/ScaledImage.h"
#include "skin/TsuiGroupBox.h"
#include "clipmon/Show.h"
#include "platform/Clipboard.h"
#include "skin/Controls.h"
#include "skin/Messages.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QPoint startPlace()
{
    return {0, QGuiApplication::primaryScreen()->geometry().height() - 409};
}

class MonitorWindowTest : public testing::Test {
protected:
    platform::FakeClipboard clipboard;
    skin::RecordingSink messages;
};

TEST_F(MonitorWindowTest, StartsEmptyHiddenAtTheBottomLeft)
{
    TForm8 monitor(clipboard);
    EXPECT_FALSE(monitor.isVisible());
    EXPECT_EQ(monitor.windowTitle(), QStringLiteral("监视剪贴板"));
    EXPECT_TRUE(monitor.windowFlags() & Qt::WindowStaysOnTopHint);
    // The frame's title bar and border strips lie within the window's 208 x 360.
    EXPECT_EQ(monitor.size(), QSize(208, 360));
    EXPECT_EQ(monitor.pos(), startPlace());
    const QStringList captions = {"当前内容", "前1条内容", "前2条内容", "前3条内容"};
    for (int slot = 1; slot <= 4; ++slot) {
        EXPECT_EQ(monitor.groupBox(slot)->Caption(), captions[slot - 1]);
        EXPECT_EQ(monitor.groupBox(slot)->size(), QSize(186, 72));
        EXPECT_EQ(monitor.groupBox(slot)->x(), monitor.groupBox(1)->x());
        EXPECT_EQ(monitor.textView(slot)->geometry(), monitor.pictureView(slot)->geometry());
        EXPECT_EQ(monitor.textView(slot)->size(), QSize(80, 52));
        EXPECT_TRUE(monitor.textView(slot)->isHidden());
        EXPECT_TRUE(monitor.pictureView(slot)->isHidden());
        EXPECT_EQ(monitor.button(slot)->text(),
                  slot == 1 ? QStringLiteral("清空剪贴板") : QStringLiteral("设置为当前"));
        EXPECT_EQ(monitor.button(slot)->isHidden(), slot > 1) << slot;
    }
    EXPECT_FALSE(monitor.button(1)->isEnabled());
}

TEST_F(MonitorWindowTest, TakesWhatTheClipboardHoldsAtCreation)
{
    clipboard.setText(QStringLiteral("已在剪贴板上"));
    TForm8 monitor(clipboard);
    EXPECT_EQ(monitor.history().fillLevel(), 1);
    EXPECT_TRUE(monitor.button(1)->isEnabled());
    EXPECT_FALSE(monitor.textView(1)->isHidden());
    EXPECT_EQ(monitor.textView(1)->toPlainText(), QStringLiteral("已在剪贴板上"));
}

TEST_F(MonitorWindowTest, ViewsAndButtonsFollowTheFillLevelWhileHidden)
{
    TForm8 monitor(clipboard);
    QImage blue(30, 20, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    clipboard.setText(QStringLiteral("甲"));
    clipboard.setImage(blue);
    clipboard.setText(QStringLiteral("丙"));
    EXPECT_TRUE(monitor.button(2)->isVisibleTo(&monitor));
    EXPECT_TRUE(monitor.button(3)->isVisibleTo(&monitor));
    EXPECT_FALSE(monitor.button(4)->isVisibleTo(&monitor));
    EXPECT_EQ(monitor.textView(1)->toPlainText(), QStringLiteral("丙"));
    EXPECT_TRUE(monitor.textView(2)->isHidden());
    EXPECT_FALSE(monitor.pictureView(2)->isHidden());
    EXPECT_EQ(monitor.pictureView(2)->scaledPicture().size(), QSize(80, 52));
    EXPECT_EQ(monitor.pictureView(2)->scaledPicture().toImage().pixelColor(40, 26), QColor(Qt::blue));
    EXPECT_EQ(monitor.textView(3)->toPlainText(), QStringLiteral("甲"));
    EXPECT_TRUE(monitor.pictureView(3)->isHidden());
    EXPECT_TRUE(monitor.textView(4)->isHidden());
}

TEST_F(MonitorWindowTest, SetAsCurrentPutsTheSlotBackAndItBecomesCurrent)
{
    TForm8 monitor(clipboard);
    for (const char* text : {"D", "C", "B", "A"})
        clipboard.setText(QString::fromUtf8(text));
    monitor.button(3)->click();
    EXPECT_EQ(clipboard.text(), QStringLiteral("C"));
    const QStringList expected = {"C", "A", "B", "C"};
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(monitor.textView(slot)->toPlainText(), expected[slot - 1]) << slot;
}

TEST_F(MonitorWindowTest, ClearEmptiesClipboardAndEverySlot)
{
    TForm8 monitor(clipboard);
    clipboard.setText(QStringLiteral("A"));
    clipboard.setText(QStringLiteral("B"));
    monitor.button(1)->click();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_FALSE(monitor.button(1)->isEnabled());
    for (int slot = 1; slot <= 4; ++slot) {
        EXPECT_TRUE(monitor.textView(slot)->isHidden()) << slot;
        EXPECT_TRUE(monitor.pictureView(slot)->isHidden()) << slot;
        EXPECT_EQ(monitor.button(slot)->isHidden(), slot > 1) << slot;
    }
}

TEST_F(MonitorWindowTest, UnreadableClipboardGoesToTheErrorReport)
{
    TForm8 monitor(clipboard);
    clipboard.setText(QStringLiteral("A"));
    clipboard.setReadsFail(true);
    clipboard.setText(QStringLiteral("B"));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::ErrorReport);
    EXPECT_EQ(messages.messages[0].text, QStringLiteral("无法打开剪贴板。"));
    EXPECT_EQ(monitor.history().fillLevel(), 1);
    EXPECT_EQ(monitor.textView(1)->toPlainText(), QStringLiteral("A"));
    EXPECT_TRUE(monitor.button(2)->isHidden());
}

TEST_F(MonitorWindowTest, LongTextShowsItsStartAndIsKeptWhole)
{
    TForm8 monitor(clipboard);
    QString big(10 * 1024 * 1024, u'a');
    big[TForm8::kShownTextLength - 1] = QChar(0xD83D);  // a pair cut by the shown part
    big[TForm8::kShownTextLength] = QChar(0xDE00);
    clipboard.setText(big);
    EXPECT_EQ(monitor.history().slot(1).text.size(), big.size());
    EXPECT_EQ(monitor.textView(1)->toPlainText(), big.left(TForm8::kShownTextLength - 1));
}

TEST_F(MonitorWindowTest, HugePictureShowsAsAScaledCopy)
{
    TForm8 monitor(clipboard);
    QImage huge(10000, 10000, QImage::Format_RGB32);
    huge.fill(Qt::red);
    clipboard.setImage(huge);
    huge = QImage();
    clipboard.setText(QStringLiteral("A"));
    EXPECT_EQ(monitor.pictureView(2)->scaledPicture().size(), QSize(80, 52));
    EXPECT_EQ(monitor.pictureView(2)->scaledPicture().toImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(monitor.history().slot(2).picture.size(), QSize(10000, 10000));
}

TEST_F(MonitorWindowTest, CloseHidesAndPlacesItBackShowingAgainOnlyRaises)
{
    TForm8 monitor(clipboard);
    monitor.showInFront();
    ASSERT_TRUE(monitor.isVisible());
    monitor.move(300, 200);
    monitor.showInFront();
    EXPECT_EQ(monitor.pos(), QPoint(300, 200));
    monitor.close();
    EXPECT_FALSE(monitor.isVisible());
    EXPECT_EQ(monitor.pos(), startPlace());
    clipboard.setText(QStringLiteral("hidden"));
    EXPECT_EQ(monitor.textView(1)->toPlainText(), QStringLiteral("hidden"));
}

TEST_F(MonitorWindowTest, ShownMonitorDoesNotKeepTheProgramAlive)
{
    QWidget mainWindow;
    TForm8 monitor(clipboard);
    mainWindow.show();
    monitor.showInFront();
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, &mainWindow, &QWidget::close);
    QTimer stuck;
    stuck.setSingleShot(true);
    QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stuck.start(2000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(lastClosed.count(), 1);
}

TEST_F(MonitorWindowTest, LeavingTheChainStopsFollowing)
{
    TForm8 monitor(clipboard);
    clipboard.setText(QStringLiteral("A"));
    monitor.leaveClipboardChain();
    clipboard.setText(QStringLiteral("B"));
    EXPECT_EQ(monitor.history().fillLevel(), 1);
    EXPECT_EQ(monitor.textView(1)->toPlainText(), QStringLiteral("A"));
}

} // namespace
