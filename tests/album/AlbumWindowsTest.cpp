// The delete-picture and search-pictures dialogs over an album pane and its picture query.
#include "Fixtures.h"
#include "support/ProgramFolder.h"

#include "album/AlbumPane.h"
#include "album/DeletePIC.h"
#include "album/SearchPIC.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Statements.h"

#include <QComboBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace album_fixtures;

namespace {

class AlbumWindowsTest : public ::testing::Test {
protected:
    AlbumWindowsTest() : pane(nullptr, query), remove(nullptr, query), search(nullptr, query)
    {
        for (const char* name : {"sea.jpg", "海边.jpg", "it's 100%.jpg"})
            testing_support::addPicture(folder.storePath(), QString::fromUtf8(name),
                                        QStringLiteral("描述 ") + QString::fromUtf8(name), 1,
                                        jpegBytes(32, 24));
        query.setStorePath(folder.storePath());
        query.setStatement(store::statements::allPictures());
        query.open();
        search.setAfterSearch([this] { pane.syncGrid(); });
    }
    // Answers the modal dialog as a user would, once it is up.
    void answerWith(TsuiButton* button)
    {
        QTimer::singleShot(0, button, [button] { button->click(); });
    }
    void searchFor(int column, int mode, const QString& text)
    {
        search.findChild<QComboBox*>("suiComboBox1")->setCurrentIndex(column);
        search.findChild<QComboBox*>("suiComboBox2")->setCurrentIndex(mode);
        search.findChild<TsuiEdit*>("suiEdit1")->setText(text);
        search.suiButton1Click();
    }
    qint64 storedPictures() { return store::countRows(folder.storePath()).back().rows; }

    testing_support::ProgramFolder folder;
    skin::RecordingSink messages;
    store::Query query;
    album::AlbumPane pane;
    TForm9 remove;
    TForm10 search;
};

TEST_F(AlbumWindowsTest, DeleteAsksAboutTheCurrentPictureAndYesDeletesIt)
{
    query.last();
    answerWith(remove.yesButton());
    remove.deleteCurrentPicture();
    EXPECT_EQ(remove.question(), "- it's 100%.jpg");
    EXPECT_EQ(storedPictures(), 2);
    EXPECT_EQ(query.recordCount(), 2);
    EXPECT_EQ(pane.positionText().left(4), "2/2 ");  // the row before became current
}

TEST_F(AlbumWindowsTest, DeleteDoesNothingOnAnEmptyAlbumAndNoKeepsThePicture)
{
    answerWith(remove.noButton());
    remove.deleteCurrentPicture();
    EXPECT_EQ(storedPictures(), 3);

    searchFor(0, 1, QStringLiteral("nothing"));
    ASSERT_TRUE(query.isEmpty());
    remove.deleteCurrentPicture();  // would block if it opened
    EXPECT_EQ(storedPictures(), 3);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(AlbumWindowsTest, DeletingEveryPictureLeavesAnEmptyAlbumLabel)
{
    for (int i = 0; i < 3; ++i) {
        answerWith(remove.yesButton());
        remove.deleteCurrentPicture();
    }
    EXPECT_EQ(storedPictures(), 0);
    EXPECT_EQ(pane.positionText(), "-1/0  0x0");
}

TEST_F(AlbumWindowsTest, SearchMatchesNamesOrDescriptionsContainingOrEqualToTheTypedText)
{
    searchFor(0, 1, QStringLiteral("sea"));
    EXPECT_EQ(query.recordCount(), 0);  // names carry their extension
    EXPECT_EQ(pane.positionText(), "-1/0  0x0");
    searchFor(0, 0, QStringLiteral("sea"));
    EXPECT_EQ(query.recordCount(), 1);
    searchFor(1, 0, QStringLiteral("海边"));
    ASSERT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.fieldText(0), "海边.jpg");
    searchFor(0, 1, QStringLiteral("it's 100%.jpg"));  // a quote and a % as typed
    EXPECT_EQ(query.recordCount(), 1);
    searchFor(0, 0, QStringLiteral(" sea"));  // not trimmed
    EXPECT_EQ(query.recordCount(), 0);
    searchFor(0, 0, QString());  // an empty text contains every name
    EXPECT_EQ(query.recordCount(), 3);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(AlbumWindowsTest, SearchKeepsItsTextAndChoicesAcrossOpenings)
{
    searchFor(1, 1, QStringLiteral("描述 sea.jpg"));
    EXPECT_EQ(query.recordCount(), 1);
    QTimer::singleShot(0, &search, [this] { search.suiButton2Click(); });
    search.exec();
    EXPECT_EQ(search.findChild<TsuiEdit*>("suiEdit1")->text(), "描述 sea.jpg");
    EXPECT_EQ(search.findChild<QComboBox*>("suiComboBox1")->currentIndex(), 1);
    EXPECT_EQ(search.findChild<QComboBox*>("suiComboBox2")->currentIndex(), 1);
}

} // namespace
