// The four-slot history against an in-process clipboard.
#include "clipmon/ClipboardHistory.h"
#include "platform/Clipboard.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

using clipmon::ClipboardHistory;
using clipmon::HistorySlot;
using Kind = HistorySlot::Kind;

class ClipboardHistoryTest : public testing::Test {
protected:
    ClipboardHistoryTest()
    {
        QObject::connect(&clipboard, &platform::Clipboard::changed,
                         [this] { history.clipboardChanged(); });
    }

    void copyTexts(const QStringList& texts)
    {
        for (const QString& text : texts)
            clipboard.setText(text);
    }

    // The texts of slots 1 to the fill level; pictures show as "<picture>".
    QStringList shown() const
    {
        QStringList result;
        for (int slot = 1; slot <= history.fillLevel(); ++slot) {
            const HistorySlot& content = history.slot(slot);
            result << (content.kind == Kind::Picture ? QStringLiteral("<picture>") : content.text);
        }
        return result;
    }

    static QImage picture(int width, int height, QColor colour)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        return image;
    }

    platform::FakeClipboard clipboard;
    ClipboardHistory history{clipboard};
};

TEST_F(ClipboardHistoryTest, FillsUpToFourAndDropsTheOldest)
{
    EXPECT_EQ(history.fillLevel(), 0);
    clipboard.setText(QStringLiteral("A"));
    EXPECT_EQ(history.fillLevel(), 1);
    EXPECT_EQ(history.slot(2).kind, Kind::Empty);
    copyTexts({"B", "C", "D", "E"});
    EXPECT_EQ(history.fillLevel(), 4);
    EXPECT_EQ(shown(), QStringList({"E", "D", "C", "B"}));
}

TEST_F(ClipboardHistoryTest, RestoredContentBecomesCurrentAndStaysInItsShiftedPlace)
{
    copyTexts({"D", "C", "B", "A"});
    history.restore(3);
    EXPECT_EQ(clipboard.text(), QStringLiteral("C"));
    EXPECT_EQ(shown(), QStringList({"C", "A", "B", "C"}));
}

TEST_F(ClipboardHistoryTest, RestoresAPictureAsAPicture)
{
    const QImage red = picture(3, 2, Qt::red);
    clipboard.setImage(red);
    clipboard.setText(QStringLiteral("after"));
    history.restore(2);
    EXPECT_TRUE(clipboard.hasImage());
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.image(), red);
    EXPECT_EQ(shown(), QStringList({"<picture>", "after", "<picture>"}));
}

TEST_F(ClipboardHistoryTest, OtherContentChangesNothing)
{
    clipboard.setOtherContent();
    EXPECT_EQ(history.fillLevel(), 0);
    copyTexts({"A", "B"});
    clipboard.setOtherContent();
    EXPECT_EQ(history.fillLevel(), 2);
    EXPECT_EQ(shown(), QStringList({"B", "A"}));
}

TEST_F(ClipboardHistoryTest, TextWithAPictureBecomesAPictureSlot)
{
    clipboard.setTextAndImage(QStringLiteral("caption"), picture(4, 4, Qt::blue));
    EXPECT_EQ(history.slot(1).kind, Kind::Picture);
    EXPECT_EQ(history.slot(1).picture.size(), QSize(4, 4));
    EXPECT_TRUE(history.slot(1).text.isEmpty());
}

TEST_F(ClipboardHistoryTest, ClearEmptiesClipboardAndSlotsAndStartsAgainAtSlotOne)
{
    copyTexts({"A", "B", "C"});
    history.clear();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_FALSE(clipboard.hasImage());
    EXPECT_EQ(history.fillLevel(), 0);
    for (int slot = 1; slot <= ClipboardHistory::kSlotCount; ++slot)
        EXPECT_EQ(history.slot(slot).kind, Kind::Empty) << slot;
    clipboard.setText(QStringLiteral("D"));
    EXPECT_EQ(history.fillLevel(), 1);
    EXPECT_EQ(shown(), QStringList({"D"}));
    EXPECT_EQ(history.slot(2).kind, Kind::Empty);
}

TEST_F(ClipboardHistoryTest, FailedReadChangesNothingAndTheNextChangeWorks)
{
    clipboard.setReadsFail(true);
    EXPECT_THROW(clipboard.setText(QStringLiteral("A")), platform::ClipboardError);
    EXPECT_EQ(history.fillLevel(), 0);
    clipboard.setReadsFail(false);
    copyTexts({"A", "B"});
    clipboard.setReadsFail(true);
    EXPECT_THROW(clipboard.setText(QStringLiteral("C")), platform::ClipboardError);
    EXPECT_EQ(shown(), QStringList({"B", "A"}));
    clipboard.setReadsFail(false);
    clipboard.setText(QStringLiteral("D"));
    EXPECT_EQ(shown(), QStringList({"D", "B", "A"}));
}

TEST_F(ClipboardHistoryTest, EmptyTextIsContentAndComesBackEmpty)
{
    copyTexts({"", "A"});
    EXPECT_EQ(history.fillLevel(), 2);
    EXPECT_EQ(history.slot(2).kind, Kind::Text);
    history.restore(2);
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), QString());
    EXPECT_EQ(shown(), QStringList({"", "A", ""}));
}

TEST_F(ClipboardHistoryTest, EmptySlotRestoresNothing)
{
    clipboard.setText(QStringLiteral("A"));
    history.restore(4);
    EXPECT_EQ(shown(), QStringList({"A"}));
}

TEST_F(ClipboardHistoryTest, HundredChangesInARowKeepTheLastFour)
{
    for (int i = 0; i < 100; ++i)
        clipboard.setText(QString::number(i));
    EXPECT_EQ(shown(), QStringList({"99", "98", "97", "96"}));
}

TEST_F(ClipboardHistoryTest, TenMegabyteTextIsKeptAndRestoredWhole)
{
    QString big(10 * 1024 * 1024, u'墨');
    big[big.size() - 1] = u'尾';
    clipboard.setText(big);
    copyTexts({"A", "B"});
    ASSERT_EQ(history.slot(3).text.size(), big.size());
    history.restore(3);
    EXPECT_EQ(clipboard.text(), big);
}

TEST_F(ClipboardHistoryTest, HugePictureIsSharedNotCopiedAsItMoves)
{
    const QImage huge = picture(10000, 10000, Qt::green);
    clipboard.setImage(huge);
    copyTexts({"A", "B", "C"});
    ASSERT_EQ(history.slot(4).kind, Kind::Picture);
    EXPECT_EQ(history.slot(4).picture.constBits(), huge.constBits());
    history.restore(4);
    EXPECT_EQ(clipboard.image().constBits(), huge.constBits());
    EXPECT_EQ(history.slot(1).picture.constBits(), huge.constBits());
}

// On X11 every notice is a copy, so the same text copied twice is kept twice.
TEST_F(ClipboardHistoryTest, SameTextCopiedAgainIsKeptTwiceWhereNoticesDoNotRepeat)
{
    copyTexts({"A", "A"});
    EXPECT_EQ(shown(), QStringList({"A", "A"}));
}

// On Wayland focus changes and the echo of the program's own copies announce the unchanged
// clipboard again; none of them may push the older contents out.
TEST_F(ClipboardHistoryTest, RepeatedNoticesOfTheCurrentContentKeepTheHistory)
{
    clipboard.setRepeatsUnchangedContent(true);
    copyTexts({"C", "B", "A"});
    clipboard.announceAgain();
    clipboard.announceAgain();
    EXPECT_EQ(shown(), QStringList({"A", "B", "C"}));

    history.restore(3);
    clipboard.announceAgain();  // the compositor's echo of the program's own copy
    EXPECT_EQ(clipboard.text(), QStringLiteral("C"));
    EXPECT_EQ(shown(), QStringList({"C", "A", "B", "C"}));

    clipboard.setText(QStringLiteral("D"));
    EXPECT_EQ(shown(), QStringList({"D", "C", "A", "B"}));
}

TEST_F(ClipboardHistoryTest, RepeatedPictureIsComparedByItsPixels)
{
    clipboard.setRepeatsUnchangedContent(true);
    clipboard.setImage(picture(40, 30, Qt::red));
    clipboard.setImage(picture(40, 30, Qt::red));  // another object, the same pixels
    EXPECT_EQ(history.fillLevel(), 1);
    clipboard.setImage(picture(40, 30, Qt::blue));
    clipboard.setText(QString());
    EXPECT_EQ(shown(), QStringList({"", "<picture>", "<picture>"}));
    EXPECT_EQ(history.slot(2).picture.pixelColor(0, 0), QColor(Qt::blue));
}

} // namespace
