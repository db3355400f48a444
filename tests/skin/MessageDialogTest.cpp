// The skinned message window: its size by the text, icon and buttons, and how it answers.
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/SkinPainting.h"
#include "skin/TsuiMessageDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QtMath>
#include <gtest/gtest.h>

namespace {

QString chinese(int characters)
{
    return QString(characters, QChar(0x5B57));  // 字
}

// How far apart lines of Chinese text in the message font stand as drawn, and the window
// height a text of some lines gives: the label's bottom or the icon's, whichever is lower, then
// the button row.
int lineHeight()
{
    QTextLayout layout(QStringLiteral("字"), skin::windowFont());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1000);
    const qreal drawn = line.height();
    layout.endLayout();
    return qCeil(qMax(drawn, QFontMetricsF(skin::windowFont()).lineSpacing()));
}
int windowHeightFor(int lines)
{
    return std::max(104, 64 + lines * lineHeight()) + 65;
}

// Every line the label draws of its text lies inside the label, and the label inside the
// window, above the buttons.
void expectEveryLineVisible(const TfrmMsg& window)
{
    const QLabel* label = window.lbl;
    QTextLayout layout(label->text(), label->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->width());
        line.setPosition(QPointF(0, y));
        y += line.height();
        ++lines;
    }
    layout.endLayout();
    EXPECT_LE(qCeil(y), label->height()) << lines << " lines";
    EXPECT_LE(label->heightForWidth(label->width()), label->height()) << lines << " lines as the label lays them out";
    const QRect inWindow(label->mapTo(&window, QPoint(0, 0)), label->size());
    EXPECT_TRUE(QRect(QPoint(0, 0), window.size()).contains(inWindow)) << lines << " lines";
    EXPECT_LT(inWindow.bottom(), window.buttons.front()->mapTo(&window, QPoint(0, 0)).y());
}

// Runs action on the message window once it is shown modally.
void whenShown(std::function<void(TfrmMsg*)> action)
{
    QTimer::singleShot(0, [action] {
        auto* window = qobject_cast<TfrmMsg*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        action(window);
    });
}

} // namespace

TEST(MessageWindow, UpToThreeLinesGiveTheStandardWindow)
{
    for (const QString& text : {QString(), QStringLiteral("请输入资料的标题！"), chinese(30), chinese(54)}) {
        TsuiMessageDialog message(nullptr, TsuiIconType::suiWarning);
        message.Text = text;
        const auto window = message.buildWindow();
        EXPECT_EQ(window->size(), QSize(336, windowHeightFor(std::max(1, int(text.size() + 17) / 18)))) << text.size();
        ASSERT_EQ(window->buttons.size(), 1u);
        EXPECT_EQ(window->buttons[0]->geometry(), QRect(239, window->height() - 45, 73, 25));
        EXPECT_EQ(window->buttons[0]->text(), QStringLiteral("确定"));
        EXPECT_EQ(window->lbl->geometry().topLeft(), QPoint(88, 64));
        EXPECT_EQ(window->lbl->width(), 225);
        EXPECT_EQ(window->Image1->geometry(), QRect(24, 64, 42, 42));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("提示"));
        EXPECT_EQ(window->suiForm1->titleBar()->buttonCount(), 1);
    }
}

TEST(MessageWindow, LongerTextsGrowTheWindowByTheirLines)
{
    TsuiMessageDialog message(nullptr, TsuiIconType::suiInformation);
    message.Text = chinese(55);  // four lines of eighteen
    auto window = message.buildWindow();
    EXPECT_EQ(window->lbl->height(), 4 * lineHeight());
    EXPECT_EQ(window->size(), QSize(336, windowHeightFor(4)));
    EXPECT_EQ(window->buttons[0]->y(), window->height() - 45);
    message.Text = QStringLiteral("一\n二\n三\n四\n五");
    window = message.buildWindow();
    EXPECT_EQ(window->size(), QSize(336, 64 + 5 * lineHeight() + 65));
}

TEST(MessageWindow, EveryLineOfOneToFourLinesIsVisible)
{
    const QString texts[] = {QStringLiteral("请输入资料的标题！"),
                             QStringLiteral("“日记”的资料本数据导出成功！\n数据库中共有图片4张，本次成功导出4张！"),
                             chinese(40), chinese(20) + u'\n' + chinese(30)};
    for (TsuiIconType icon : {TsuiIconType::suiInformation, TsuiIconType::suiNone})
        for (const QString& text : texts) {
            TsuiMessageDialog message(nullptr, icon);
            message.Text = text;
            const auto window = message.buildWindow();
            expectEveryLineVisible(*window);
        }
}

// The runs of rows with ink in the window's label column, between the title bar and the
// buttons: each run is a line of text as drawn. Ink is any pixel unlike the panel beside it.
std::vector<std::pair<int, int>> inkRuns(TfrmMsg& window)
{
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect label(window.lbl->mapTo(&window, QPoint(0, 0)), window.lbl->size());
    const QRgb panel = shot.pixel(label.left() - 1, label.top());
    const int bottom = window.buttons.front()->mapTo(&window, QPoint(0, 0)).y();
    std::vector<std::pair<int, int>> runs;
    for (int y = 30; y < bottom; ++y) {
        bool ink = false;
        for (int x = label.left(); x <= label.right() && !ink; ++x)
            ink = shot.pixel(x, y) != panel;
        if (ink && !runs.empty() && runs.back().second == y - 1)
            runs.back().second = y;
        else if (ink)
            runs.emplace_back(y, y);
    }
    return runs;
}

// On the display the program runs on: every line of a message of one to four lines leaves its
// glyphs inside the label, none cut at the label's bottom edge.
TEST(MessageWindow, EveryLinesGlyphsLieInsideTheLabelOnTheDisplay)
{
    for (int lines = 1; lines <= 4; ++lines) {
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << chinese(6 + i);
        TsuiMessageDialog message(nullptr, TsuiIconType::suiNone);
        message.Text = text.join(u'\n');
        const auto window = message.buildWindow();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        const auto runs = inkRuns(*window);
        ASSERT_EQ(int(runs.size()), lines) << "lines drawn apart";
        const QRect label(window->lbl->mapTo(window.get(), QPoint(0, 0)), window->lbl->size());
        for (const auto& [top, bottom] : runs) {
            EXPECT_GE(top, label.top()) << lines << " lines";
            EXPECT_LT(bottom, label.bottom()) << lines << " lines: the last row of ink is no cut";
        }
    }
}

TEST(MessageWindow, StandsInTheMiddleOfTheScreen)
{
    TsuiMessageDialog message(nullptr, TsuiIconType::suiWarning);
    message.Text = QStringLiteral("请输入资料的标题！");
    const auto window = message.buildWindow();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // As many pixels to the left as to the right, the odd one to the right.
    EXPECT_EQ(window->x() - area.x(), (area.width() - window->width()) / 2);
    EXPECT_EQ(window->y() - area.y(), (area.height() - window->height()) / 2);
}

TEST(MessageWindow, IconComesFromItsFrameOfTheSharedPicture)
{
    TsuiMessageDialog message(nullptr, TsuiIconType::suiStop);
    message.Text = QStringLiteral("x");
    const auto window = message.buildWindow();
    const QImage stop = skin::sliceStrip(skin::skinPicture(QStringLiteral("MSGDLG")), 4, 2);
    EXPECT_EQ(window->Image1->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              stop.convertToFormat(QImage::Format_RGB32));
}

TEST(MessageWindow, WithoutIconTheWindowNarrowsUnlessItHasThreeButtons)
{
    TsuiMessageDialog message(nullptr, TsuiIconType::suiNone);
    message.Text = QStringLiteral("没有图标");
    message.ButtonCount = 2;
    auto window = message.buildWindow();
    EXPECT_EQ(window->width(), 272);
    EXPECT_EQ(window->lbl->x(), 24);
    EXPECT_TRUE(window->Image1->isHidden());

    message.ButtonCount = 3;
    message.Button1Caption = QStringLiteral("是");
    message.Button2Caption = QStringLiteral("否");
    message.Button3Caption = QStringLiteral("取消");
    message.Button2ModalResult = 7;
    window = message.buildWindow();
    EXPECT_EQ(window->width(), 336);
    ASSERT_EQ(window->buttons.size(), 3u);
    const int lefts[] = {53, 146, 239};
    const char* captions[] = {"是", "否", "取消"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window->buttons[size_t(i)]->x(), lefts[i]);
        EXPECT_EQ(window->buttons[size_t(i)]->text(), QString::fromUtf8(captions[i]));
    }
    EXPECT_EQ(window->buttons[1]->ModalResult(), 7);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(window->buttons[0]->hasFocus());
}

TEST(MessageWindow, EscapeDoesNothingAndTheButtonAnswers)
{
    TsuiMessageDialog message(nullptr, TsuiIconType::suiWarning);
    QSize shown;
    whenShown([&shown](TfrmMsg* window) {
        shown = window->size();
        QTest::keyClick(window, Qt::Key_Escape);
        EXPECT_TRUE(window->isVisible());
        QTest::mouseClick(window->buttons[0], Qt::LeftButton);
    });
    EXPECT_EQ(message.ShowModal(TsuiIconType::suiWarning, QStringLiteral("请输入资料的内容！")), 1);
    EXPECT_EQ(shown, QSize(336, windowHeightFor(1)));
}

TEST(MessageWindow, TheTitleBarsCloseButtonAnswersTwo)
{
    TsuiMessageDialog message(nullptr, TsuiIconType::suiInformation);
    message.Button1ModalResult = 6;
    whenShown([](TfrmMsg* window) {
        TsuiTitleBar* bar = window->suiForm1->titleBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->placement().buttons[0].center());
    });
    EXPECT_EQ(message.ShowModal(TsuiIconType::suiInformation, QStringLiteral("已成功保存！")), 2);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TfrmMsg*>(top), nullptr);  // destroyed after closing
}

TEST(MessageWindow, AnInstalledSinkTakesTheMessageInsteadOfAWindow)
{
    skin::RecordingSink sink(1);
    TsuiMessageDialog message(nullptr, TsuiIconType::suiWarning);
    EXPECT_EQ(message.ShowModal(TsuiIconType::suiStop, QStringLiteral("数据库打不开")), 1);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(sink.messages[0].kind, skin::MessageKind::Stop);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The generic report closes a sentence in the language it ends in, and never twice.
TEST(ErrorReport, EndsWithTheFullStopOfItsLanguage)
{
    EXPECT_EQ(skin::errorReportText(QStringLiteral("磁盘已满")), QStringLiteral("磁盘已满。"));
    EXPECT_EQ(skin::errorReportText(QStringLiteral("数据文件已损坏（SQLite 错误 11：malformed）")),
              QStringLiteral("数据文件已损坏（SQLite 错误 11：malformed）。"));
    EXPECT_EQ(skin::errorReportText(QStringLiteral("disk full")), QStringLiteral("disk full."));
    for (const QString& closed : {QStringLiteral("已保存。"), QStringLiteral("完成！"), QStringLiteral("done.")})
        EXPECT_EQ(skin::errorReportText(closed), closed);
}
