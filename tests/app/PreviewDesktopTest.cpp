// On a real X display (run by preview_desktop_test.sh under Xvfb): while the preview decodes a
// 100-megapixel picture, a key pressed at the main window is handled at once. The key goes
// through the X server (xdotool's XTEST), so it is taken only when the window's event loop runs.
#include "support/ProgramFolder.h"

#include "album/AlbumPane.h"
#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "skin/Commands.h"
#include "skin/Messages.h"

#include <QAction>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>
#include <atomic>
#include <chrono>
#include <optional>
#include <gtest/gtest.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// 10,000 × 10,000 grey pixels of noise: a stream of some megabytes that takes the decoder a
// good part of a second even at its smallest scale.
QByteArray hundredMegapixelJpeg()
{
    QImage image(10'000, 10'000, QImage::Format_Grayscale8);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width() / 4; ++x)
            line[x] = random.generate();
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 50);
    return bytes;
}

// Notes when the first key press reaches any widget of the program, and whether the preview
// was still decoding then.
class KeyProbe : public QObject {
public:
    explicit KeyProbe(const album::AlbumPane& pane) : pane_(pane) {}
    std::optional<Clock::time_point> handledAt;
    bool decodingThen = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && !handledAt) {
            handledAt = Clock::now();
            decodingThen = pane_.previewDecoding();
        }
        return false;
    }

private:
    const album::AlbumPane& pane_;
};

TEST(PreviewDesktop, TheMainWindowAnswersAKeyWhileAHundredMegapixelPictureDecodes)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X display (run by preview_desktop_test.sh)";
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    if (xdotool.isEmpty())
        GTEST_SKIP() << "xdotool is not installed";

    testing_support::ProgramFolder folder;
    testing_support::addPicture(folder.storePath(), "小.bmp", "", 0,
                                testing_support::plainBitmap(40, 30, Qt::darkGreen));
    testing_support::addPicture(folder.storePath(), "一亿像素.jpg", "", 1, hundredMegapixelJpeg());
    skin::RecordingSink messages;
    platform::FakeClock clock{1};
    platform::FakeClipboard clipboard;
    app::ProgramWindows windows(folder.program(), clock, clipboard);
    TForm1& main = windows.main();
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    album::AlbumPane& pane = main.albumPane();
    main.findChild<QAction*>(QStringLiteral("G2"))->trigger();  // the album
    skin::command(&pane, "N29")->trigger();                       // its preview layout
    pane.waitForPreview();
    ASSERT_EQ(pane.positionText(), QStringLiteral("1/2  40x30"));
    ASSERT_EQ(QProcess::execute(xdotool, {QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                                          QString::number(main.winId())}),
              0);
    QCoreApplication::processEvents();

    KeyProbe probe(pane);
    qApp->installEventFilter(&probe);
    skin::command(&pane, "MenuItem9")->trigger();  // the next picture: the large one
    ASSERT_TRUE(pane.previewDecoding());
    // The key is at the X server when xdotool returns; from then on only the program counts.
    std::atomic<bool> sent = false;
    Clock::time_point sentAt;
    std::thread sender([&] {
        QProcess::execute(xdotool, {QStringLiteral("key"), QStringLiteral("shift")});
        sentAt = Clock::now();
        sent = true;
    });
    QElapsedTimer waited;
    waited.start();
    while ((!sent || !probe.handledAt) && waited.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    sender.join();
    qApp->removeEventFilter(&probe);

    ASSERT_TRUE(probe.handledAt) << "the key never arrived";
    const auto late = std::chrono::duration_cast<std::chrono::milliseconds>(*probe.handledAt - sentAt);
    std::printf("key handled %lld ms after it was sent; the picture still decoding: %s\n",
                static_cast<long long>(late.count()), probe.decodingThen ? "yes" : "no");
    EXPECT_LE(late.count(), 100);
    EXPECT_TRUE(probe.decodingThen) << "the picture decoded before the key came: nothing was measured";
    pane.waitForPreview();
    EXPECT_EQ(pane.positionText(), QStringLiteral("2/2  10000x10000"));
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
