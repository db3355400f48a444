// The delete-picture and search-pictures dialogs over an album pane and its picture query.
#include "Fixtures.h"
#include "support/Commands.h"
#include "support/ProgramFolder.h"

#include "album/AlbumPane.h"
#include "album/DeletePIC.h"
#include "album/InsertPIC.h"
#include "album/SearchPIC.h"
#include "platform/FileChooser.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
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
        testing_support::click(search, "suiButton1");
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
    EXPECT_EQ(settled(pane).positionText().left(4), "2/2 ");  // the row before became current
}

// A name wider than the question's line is shortened in its middle: its end stays visible.
TEST_F(AlbumWindowsTest, DeleteShowsTheEndOfALongName)
{
    const QString name = QStringLiteral("很长的图片名称").repeated(8) + QStringLiteral("_结尾.jpg");
    testing_support::addPicture(folder.storePath(), name, "", 1, jpegBytes(8, 8));
    query.open();
    query.last();
    answerWith(remove.noButton());
    remove.deleteCurrentPicture();
    EXPECT_EQ(remove.question(), "- " + name);
    const QString shown = remove.shownQuestion();
    EXPECT_TRUE(shown.startsWith("- 很长")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("结尾.jpg")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
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
    EXPECT_EQ(settled(pane).positionText(), "-1/0  0x0");
}

TEST_F(AlbumWindowsTest, SearchMatchesNamesOrDescriptionsContainingOrEqualToTheTypedText)
{
    searchFor(0, 1, QStringLiteral("sea"));
    EXPECT_EQ(query.recordCount(), 0);  // names carry their extension
    EXPECT_EQ(settled(pane).positionText(), "-1/0  0x0");
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

// A search the store refuses is reported; the album keeps the pictures it showed, and its
// current picture is still read from the store.
TEST_F(AlbumWindowsTest, ASearchTheStoreRefusesLeavesTheAlbumAsItWas)
{
    query.last();
    pane.waitForPreview();
    const QString shown = pane.positionText();
    store::Connection other(folder.storePath());
    other.exec(QStringLiteral("alter table 图片 rename to 别处"));
    searchFor(0, 0, QStringLiteral("海"));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.contains("no such table")) << messages.messages[0].text.toStdString();
    other.exec(QStringLiteral("alter table 别处 rename to 图片"));
    EXPECT_TRUE(query.isOpen());
    EXPECT_EQ(query.recordCount(), 3);
    EXPECT_EQ(query.recNo(), 3);
    EXPECT_EQ(query.fieldText(0), "it's 100%.jpg");
    EXPECT_EQ(query.fieldBytes(3), jpegBytes(32, 24));
    pane.waitForPreview();
    EXPECT_EQ(pane.positionText(), shown);
    searchFor(0, 0, QStringLiteral("海"));
    EXPECT_EQ(query.recordCount(), 1);
}

TEST_F(AlbumWindowsTest, SearchKeepsItsTextAndChoicesAcrossOpenings)
{
    // Typing right after the first opening goes to the text field.
    EXPECT_EQ(search.focusWidget(), search.findChild<TsuiEdit*>("suiEdit1"));
    searchFor(1, 1, QStringLiteral("描述 sea.jpg"));
    EXPECT_EQ(query.recordCount(), 1);
    QTimer::singleShot(0, &search, [this] { testing_support::click(search, "suiButton2"); });
    search.exec();
    EXPECT_EQ(search.findChild<TsuiEdit*>("suiEdit1")->text(), "描述 sea.jpg");
    EXPECT_EQ(search.findChild<QComboBox*>("suiComboBox1")->currentIndex(), 1);
    EXPECT_EQ(search.findChild<QComboBox*>("suiComboBox2")->currentIndex(), 1);
}

TEST(AddPictureDialog, ThePreviewsLongerSideIs136)
{
    EXPECT_EQ(album::dialogPreviewSize({40, 30}), QSize(136, 102));
    EXPECT_EQ(album::dialogPreviewSize({30, 40}), QSize(102, 136));
    EXPECT_EQ(album::dialogPreviewSize({100, 100}), QSize(136, 136));
    EXPECT_EQ(album::dialogPreviewSize({2000, 1000}), QSize(136, 68));
    EXPECT_TRUE(album::dialogPreviewSize({0, 0}).isEmpty());
    EXPECT_TRUE(album::dialogPreviewSize({50, 0}).isEmpty());
}

class AddPictureTest : public AlbumWindowsTest {
protected:
    // The pane shows a stored picture, as the program connects them.
    AddPictureTest() : add(nullptr, query)
    {
        add.setFileChooser(files);
        QObject::connect(&add, &TForm7::pictureStored, &pane, &album::AlbumPane::pictureStored);
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.file(name);
        writeFile(path, bytes);
        return path;
    }
    void browse(const QString& path)
    {
        files.answers = {path};
        testing_support::click(add, "suiButton1");
        add.waitForLoading();
    }
    platform::FakeFileChooser files;
    TForm7 add;
};

TEST_F(AddPictureTest, BrowsingFillsPathNameAndPreviewAndEmptiesTheDescription)
{
    browse(file("Sea.JPG", jpegBytes(40, 30)));
    EXPECT_EQ(add.pathEdit()->text(), folder.file("Sea.JPG"));
    EXPECT_EQ(add.nameEdit()->text(), "Sea.JPG");
    EXPECT_EQ(add.previewSize(), QSize(136, 102));
    add.descriptionEdit()->setText("typed");
    browse(file("tall.bmp", bmpBytes(30, 40)));
    EXPECT_EQ(add.nameEdit()->text(), "tall.bmp");
    EXPECT_TRUE(add.descriptionEdit()->text().isEmpty());
    EXPECT_EQ(add.previewSize(), QSize(102, 136));
    testing_support::click(add, "suiButton1");  // cancelled: everything stays
    EXPECT_EQ(add.nameEdit()->text(), "tall.bmp");
    ASSERT_EQ(files.asked.size(), 3u);
    const platform::FileQuestion& asked = files.asked[0];
    EXPECT_EQ(asked.kind, platform::FileQuestion::Kind::Open);
    EXPECT_EQ(asked.owner, &add);
    EXPECT_EQ(asked.filter, "所有图像文件 (*.bmp;*.jpg;*.jpeg);;位图图像 (*.bmp);;JPG 文件 (*.jpg;*.jpeg)");
    EXPECT_EQ(asked.previewSide, 136);
    EXPECT_EQ(asked.preview(folder.file("tall.bmp")).size(), QSize(102, 136));
    EXPECT_TRUE(asked.preview(folder.file("none.bmp")).isNull());
}

// The file is read and decoded while the dialog answers; a file chosen again, or a dialog closed
// meanwhile, drops the result of the one before.
TEST_F(AddPictureTest, OnlyTheFileChosenLastIsShown)
{
    files.answers = {file("a.jpg", jpegBytes(40, 30)), file("b.bmp", bmpBytes(30, 40))};
    testing_support::click(add, "suiButton1");
    EXPECT_TRUE(add.loading());
    EXPECT_TRUE(add.pathEdit()->text().isEmpty());
    testing_support::click(add, "suiButton1");
    add.waitForLoading();
    QCoreApplication::processEvents();
    EXPECT_FALSE(add.loading());
    EXPECT_EQ(add.nameEdit()->text(), "b.bmp");
    EXPECT_EQ(add.previewSize(), QSize(102, 136));

    files.answers = {file("c.jpg", jpegBytes(40, 30))};
    testing_support::click(add, "suiButton1");
    testing_support::click(add, "suiButton3");  // 取消 while it loads
    add.waitForLoading();
    QCoreApplication::processEvents();
    EXPECT_TRUE(add.pathEdit()->text().isEmpty());
    EXPECT_TRUE(add.previewSize().isEmpty());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(AddPictureTest, ChecksComeInOrderAndAStoredPictureBecomesCurrent)
{
    testing_support::click(add, "suiButton2");
    browse(file("海.jpg", jpegBytes(64, 48)));
    add.nameEdit()->setText("   ");
    testing_support::click(add, "suiButton2");
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "没有选择图像文件或图像格式不正确！");
    EXPECT_EQ(messages.messages[1].text, "请为该图片输入一个名称！");
    EXPECT_EQ(messages.messages[1].kind, skin::MessageKind::Warning);

    add.nameEdit()->setText(" 海边 ");
    add.descriptionEdit()->setText("夏天");
    testing_support::click(add, "suiButton2");
    EXPECT_EQ(storedPictures(), 4);
    EXPECT_EQ(query.fieldText(0), " 海边 .jpg");
    EXPECT_EQ(query.fieldText(1), "夏天");
    EXPECT_EQ(settled(pane).positionText(), "4/4  64x48");
    EXPECT_TRUE(add.pathEdit()->text().isEmpty());  // closing empties the dialog
    EXPECT_TRUE(add.previewSize().isEmpty());
}

TEST_F(AddPictureTest, UnreadableOrEmptyFilesStoreNothing)
{
    browse(file("empty.jpg", QByteArray()));
    browse(file("png.jpg", [] {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        pattern(8, 8).save(&buffer, "PNG");
        return png;
    }()));
    ASSERT_EQ(messages.messages.size(), 2u);
    for (const skin::ShownMessage& message : messages.messages)
        EXPECT_EQ(message.kind, skin::MessageKind::ErrorReport);
    EXPECT_TRUE(add.pathEdit()->text().isEmpty());
    testing_support::click(add, "suiButton2");
    EXPECT_EQ(messages.messages.back().text, "没有选择图像文件或图像格式不正确！");
    testing_support::click(add, "suiButton3");
    EXPECT_EQ(storedPictures(), 3);
}

} // namespace
