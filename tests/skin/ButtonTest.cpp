// Skinned push buttons: what they paint and how mouse and keys click them.
#include "skin/Controls.h"
#include "skin/SkinPainting.h"

#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr QColor kGrey(128, 128, 128);

// A window with the program's frame panel; controls go on the panel.
struct Window {
    QDialog dialog;
    TsuiForm* form = new TsuiForm(&dialog);

    Window()
    {
        dialog.resize(300, 200);
        form->setGeometry(0, 0, 300, 200);
    }
    void showActive()
    {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
};

QImage grabbed(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage region(const QImage& image, QRect rect)
{
    return image.copy(rect).convertToFormat(QImage::Format_RGB32);
}

int countColor(const QImage& image, QColor color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == color ? 1 : 0;
    return count;
}

// The bounding box of pixels darker than the face, where the caption is.
QRect darkBox(const QImage& image, QRect within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (image.pixelColor(x, y).lightness() < 100)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(ButtonPainting, NineSliceKeepsTheWinXPCornersUnscaled)
{
    Window window;
    auto* button = new TsuiButton(QString(), window.form);
    button->setGeometry(10, 10, 72, 25);
    const QImage shot = grabbed(button);
    const QImage frame = skin::sliceStrip(skin::skinPicture("WINXP_BUTTON"), 3, 1);
    EXPECT_EQ(region(shot, {0, 0, 9, 10}), region(frame, {0, 0, 9, 10}));
    EXPECT_EQ(region(shot, {64, 0, 8, 10}), region(frame, {10, 0, 8, 10}));
    EXPECT_EQ(region(shot, {0, 16, 9, 9}), region(frame, {0, 12, 9, 9}));
    EXPECT_EQ(region(shot, {64, 16, 8, 9}), region(frame, {10, 12, 8, 9}));
    // Edges repeat the middle bands: the left edge in the gap is the frame's middle row.
    EXPECT_EQ(region(shot, {0, 12, 9, 1}), region(frame, {0, 10, 9, 1}));
    EXPECT_EQ(shot.pixelColor(36, 12), frame.pixelColor(9, 10)) << "the centre is the middle pixel";
}

TEST(ButtonPainting, CornersOfKeyedStylesShowTheParentWhereTheFrameIsMagenta)
{
    Window window;
    auto* button = new TsuiButton(QString(), window.form);
    button->setUIStyle(TsuiUIStyle::MacOS);
    button->setGeometry(10, 10, 90, 23);
    EXPECT_TRUE(button->Transparent());
    const QImage shot = grabbed(button);
    EXPECT_EQ(countColor(shot, skin::kMagenta), 0);
    EXPECT_EQ(shot.pixelColor(0, 0), window.form->Color);
}

TEST(ButtonPainting, CaptionIsCentredAndMovesWhenPressed)
{
    Window window;
    auto* button = new TsuiButton(QStringLiteral("确定"), window.form);
    button->setGeometry(10, 10, 72, 25);
    const QRect caption = darkBox(grabbed(button), QRect(3, 3, 66, 19));
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_NEAR(caption.center().x(), 36, 1.5);
    EXPECT_NEAR(caption.center().y(), 12, 2.5);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(30, 12));
    const QRect pressed = darkBox(grabbed(button), QRect(3, 3, 66, 19));
    EXPECT_EQ(pressed.topLeft(), caption.topLeft() + QPoint(1, 1));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(30, 12));
}

TEST(ButtonPainting, DisabledButtonShowsTheNormalFrameAndAnEmbossedGreyCaption)
{
    Window window;
    auto* button = new TsuiButton(QStringLiteral("确定"), window.form);
    button->setGeometry(10, 10, 72, 25);
    button->setEnabled(false);
    const QImage shot = grabbed(button);
    const QImage frame = skin::sliceStrip(skin::skinPicture("WINXP_BUTTON"), 3, 1);
    EXPECT_EQ(region(shot, {0, 0, 9, 10}), region(frame, {0, 0, 9, 10}));
    EXPECT_GT(countColor(shot, kGrey), 5);
    EXPECT_TRUE(darkBox(shot, QRect(3, 3, 66, 19)).isEmpty()) << "no dark caption pixels";
    // The white copy lies one pixel right and down of the grey one.
    int embossed = 0;
    for (int y = 3; y < 22; ++y)
        for (int x = 3; x < 68; ++x)
            if (shot.pixelColor(x, y) == kGrey && shot.pixelColor(x + 1, y + 1) == QColor(Qt::white))
                ++embossed;
    EXPECT_GT(embossed, 2);
}

TEST(ButtonPainting, DisabledButtonShowsTheSecondFrameOfATwoFrameGlyph)
{
    Window window;
    auto* button = new TsuiButton(QStringLiteral("图"), window.form);
    button->setGeometry(10, 10, 80, 27);
    QImage glyph(32, 16, QImage::Format_RGB32);
    glyph.fill(QColor(0, 128, 128));  // the top-left colour is transparent
    glyph.setPixelColor(0, 0, QColor(0, 128, 128));
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x) {
            glyph.setPixelColor(x, y, QColor(220, 0, 0));
            glyph.setPixelColor(16 + x, y, QColor(0, 200, 0));
        }
    button->setGlyph(glyph);
    EXPECT_GT(countColor(grabbed(button), QColor(220, 0, 0)), 100);
    EXPECT_EQ(countColor(grabbed(button), QColor(0, 128, 128)), 0);
    button->setEnabled(false);
    const QImage shot = grabbed(button);
    EXPECT_EQ(countColor(shot, QColor(220, 0, 0)), 0);
    EXPECT_GT(countColor(shot, QColor(0, 200, 0)), 100);
}

TEST(ButtonPainting, HotButtonShowsTheMouseOnFrame)
{
    Window window;
    auto* button = new TsuiButton(QString(), window.form);
    button->setGeometry(10, 10, 72, 25);
    QSignalSpy entered(button, &TsuiButton::MouseEnter);
    QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
    QApplication::sendEvent(button, &enter);
    EXPECT_TRUE(button->isHot());
    EXPECT_EQ(entered.count(), 1);
    const QImage hot = skin::sliceStrip(skin::skinPicture("WINXP_BUTTON"), 3, 2);
    EXPECT_EQ(region(grabbed(button), {0, 0, 9, 10}), region(hot, {0, 0, 9, 10}));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->isHot());
}

TEST(ButtonPainting, GlyphLayoutsPlaceGlyphAndCaption)
{
    // A 72 × 25 button, a 16 × 16 glyph, a 24 × 12 caption, spacing 4.
    const QSize button(72, 25), glyph(16, 16), text(24, 12);
    auto left = TsuiButton::place(blGlyphLeft, button, glyph, text, 4);
    EXPECT_EQ(left.glyph, QPoint(14, 4));
    EXPECT_EQ(left.caption, QPoint(34, 6));
    auto right = TsuiButton::place(blGlyphRight, button, glyph, text, 4);
    EXPECT_EQ(right.glyph, QPoint(42, 4));
    EXPECT_EQ(right.caption, QPoint(14, 6));
    auto top = TsuiButton::place(blGlyphTop, QSize(72, 40), glyph, text, 4);
    EXPECT_EQ(top.glyph, QPoint(28, 4));
    EXPECT_EQ(top.caption, QPoint(24, 24));
    auto bottom = TsuiButton::place(blGlyphBottom, QSize(72, 40), glyph, text, 4);
    EXPECT_EQ(bottom.glyph, QPoint(28, 20));
    EXPECT_EQ(bottom.caption, QPoint(24, 4));
}

TEST(ButtonBehaviour, ReleaseOverTheButtonClicksAndReleaseOutsideDoesNot)
{
    Window window;
    auto* button = new TsuiButton(QStringLiteral("确定"), window.form);
    button->setGeometry(10, 10, 72, 25);
    QSignalSpy clicked(button, &QPushButton::clicked);

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(button->isPressed());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_FALSE(button->isPressed());

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicked.count(), 1);

    button->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(ButtonBehaviour, FocusComesWithTheClickNotWithThePress)
{
    Window window;
    window.showActive();
    auto* edit = new QLineEdit(window.form);
    edit->setGeometry(10, 80, 100, 21);
    edit->show();
    auto* button = new TsuiButton(QStringLiteral("确定"), window.form);
    button->setGeometry(10, 40, 72, 25);
    button->show();
    edit->setFocus();
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseMove(button, QPoint(200, 10));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_TRUE(edit->hasFocus());
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_TRUE(button->hasFocus());
}

TEST(ButtonBehaviour, MovingOutWhileHeldReleasesThePressedLook)
{
    Window window;
    auto* button = new TsuiButton(QStringLiteral("确定"), window.form);
    button->setGeometry(10, 10, 72, 25);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(90, 10), QPointF(100, 20), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(button, &move);
    EXPECT_FALSE(button->isPressed());
    EXPECT_FALSE(button->isHot());
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(90, 10));
}

// The repeat runs on a timer of the button's interval while the button is held down; the test
// waits for the events themselves, so a slow machine only makes it wait longer.
TEST(ButtonBehaviour, HoldingRaisesTheRepeatEventOnItsIntervalUntilRelease)
{
    Window window;
    auto* button = new TsuiButton(QStringLiteral("+"), window.form);
    button->setGeometry(10, 10, 72, 25);
    EXPECT_EQ(button->MouseContinuouslyDownInterval(), 100);
    QSignalSpy repeats(button, &TsuiButton::MouseContinuouslyDown);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 10));
    const auto* timer = button->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 100);
    EXPECT_TRUE(timer->isActive());
    QElapsedTimer waited;
    waited.start();
    while (repeats.count() < 3 && waited.elapsed() < 30000)
        QTest::qWait(20);
    ASSERT_GE(repeats.count(), 3);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(button->findChild<QTimer*>(), nullptr) << "the timer stops on release";
    const int held = repeats.count();
    QCoreApplication::processEvents();
    EXPECT_EQ(repeats.count(), held);
}

TEST(ButtonBehaviour, SpaceAndEnterClickTheFocusedButton)
{
    Window window;
    auto* button = new TsuiButton(QStringLiteral("确定"), window.form);
    button->setGeometry(10, 10, 72, 25);
    window.showActive();
    button->setFocus();
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_TRUE(button->isPressed());
    EXPECT_EQ(clicked.count(), 0);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 1);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 2) << "no Default button: Enter clicks the focused one";
}

TEST(ButtonBehaviour, EnterClicksTheDefaultButtonWhateverHasTheFocus)
{
    Window window;
    auto* edit = new QLineEdit(window.form);
    auto* box = new TsuiCheckBox(QStringLiteral("模糊搜索"), window.form);
    auto* other = new TsuiButton(QStringLiteral("取消"), window.form);
    auto* ok = new TsuiButton(QStringLiteral("确定(&O)"), window.form);
    auto* memo = new QPlainTextEdit(window.form);
    box->move(0, 30);
    other->move(0, 60);
    ok->move(100, 60);
    memo->setGeometry(0, 100, 200, 60);
    ok->setDefault(true);
    other->setCancel(true);
    window.showActive();
    QSignalSpy okClicked(ok, &QPushButton::clicked), otherClicked(other, &QPushButton::clicked);

    for (QWidget* focused : std::initializer_list<QWidget*>{edit, box, other, ok}) {
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_Return);
    }
    EXPECT_EQ(okClicked.count(), 4);
    EXPECT_EQ(otherClicked.count(), 0);
    EXPECT_FALSE(box->isChecked());

    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(otherClicked.count(), 1) << "Escape clicks the Cancel button";

    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_EQ(okClicked.count(), 4) << "a multi-line editor keeps Enter";
    EXPECT_EQ(memo->toPlainText(), "\n");
}

TEST(ButtonBehaviour, ModalResultEndsAModalWindowAfterOnClick)
{
    Window window;
    auto* ok = new TsuiButton(QStringLiteral("确定(&O)"), window.form);
    ok->setModalResult(1);
    bool visibleDuringClick = false;
    QObject::connect(ok, &QPushButton::clicked, [&] { visibleDuringClick = window.dialog.isVisible(); });
    QTimer::singleShot(0, ok, [ok] { ok->Click(); });
    EXPECT_EQ(window.dialog.exec(), 1);
    EXPECT_TRUE(visibleDuringClick);

    window.dialog.show();  // not modal: the click has no further effect
    ok->Click();
    EXPECT_TRUE(window.dialog.isVisible());
}

TEST(ButtonBehaviour, AccessKeyClicksAnEnabledButton)
{
    Window window;
    auto* ok = new TsuiButton(QStringLiteral("确定(&O)"), window.form);
    auto* edit = new QLineEdit(window.form);
    edit->move(0, 40);
    window.showActive();
    edit->setFocus();
    QSignalSpy clicked(ok, &QPushButton::clicked);
    QTest::keyClick(edit, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(ok->hasFocus());
    ok->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(ButtonBehaviour, AutoSizeTakesOneFrameOfTheStrip)
{
    TsuiButton button;
    EXPECT_EQ(button.size(), QSize(80, 27));
    button.setUIStyle(TsuiUIStyle::WinXP);
    button.setAutoSize(true);
    EXPECT_EQ(button.size(), QSize(18, 21));
    button.setUIStyle(TsuiUIStyle::BlueGlass);
    EXPECT_EQ(button.size(), QSize(77, 27));
}

namespace {
int lightest(const QImage& image)
{
    int most = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            most = std::max(most, image.pixelColor(x, y).lightness());
    return most;
}
} // namespace

// A tool button lies on its strip's picture: it draws only its white caption until a press
// darkens it, and a disabled one dims its caption.
TEST(ToolButtonPainting, ClearOnTheStripDarkerWhenPressedDimWhenDisabled)
{
    const QColor stripColour(40, 60, 120);
    QWidget strip;
    strip.resize(120, 30);
    strip.setAutoFillBackground(true);
    QPalette colours = strip.palette();
    colours.setColor(QPalette::Window, stripColour);
    strip.setPalette(colours);
    auto* button = new TsuiToolButton(QStringLiteral("刷新"), &strip);
    button->setGeometry(10, 3, 60, 22);
    const auto shot = [&] { return grabbed(&strip).copy(button->geometry()); };

    const QImage normal = shot();
    EXPECT_EQ(normal.pixelColor(1, 1), stripColour);
    EXPECT_GT(lightest(normal), 230) << "a white caption";
    button->setDown(true);
    EXPECT_LT(shot().pixelColor(1, 1).lightness(), stripColour.lightness());
    button->setDown(false);
    button->setEnabled(false);
    const QImage disabled = shot();
    EXPECT_EQ(disabled.pixelColor(1, 1), stripColour);
    EXPECT_GT(lightest(disabled), stripColour.lightness() + 20);
    EXPECT_LT(lightest(disabled), 200);
}
