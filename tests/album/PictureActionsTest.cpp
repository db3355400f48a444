// Copying and saving the current picture: the save target's name, the bytes a saved file gets.
#include "Fixtures.h"
#include "HostilePictures.h"
#include "support/ProgramFolder.h"

#include "album/AlbumPane.h"
#include "album/PictureActions.h"
#include "platform/Desktop.h"
#include "platform/FileChooser.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using album::PictureFormat;
using namespace album_fixtures;

namespace {

TEST(PictureActions, TheSaveTargetKeepsAPictureExtensionAndAddsTheFiltersOtherwise)
{
    EXPECT_EQ(album::saveTarget("/d/pic", PictureFormat::Jpeg), "/d/pic.jpg");
    EXPECT_EQ(album::saveTarget("/d/pic", PictureFormat::Bmp), "/d/pic.bmp");
    EXPECT_EQ(album::saveTarget("/d/pic.jpeg", PictureFormat::Bmp), "/d/pic.jpeg");
    EXPECT_EQ(album::saveTarget("/d/pic.JPG", PictureFormat::Bmp), "/d/pic.JPG");
    EXPECT_EQ(album::saveTarget("/d/pic.Bmp", PictureFormat::Jpeg), "/d/pic.Bmp");
    EXPECT_EQ(album::saveTarget("/d/pic.png", PictureFormat::Jpeg), "/d/pic.png.jpg");
    EXPECT_EQ(album::saveTarget("/d.jpg/pic", PictureFormat::Jpeg), "/d.jpg/pic.jpg");
    EXPECT_EQ(album::saveFilter(PictureFormat::Bmp), "位图图像 (*.bmp)");
    EXPECT_EQ(album::saveFilter(PictureFormat::Jpeg), "JPG 文件 (*.jpg)");
}

// Each question starts from the name chosen last; a cancel keeps that name.
TEST(PictureActions, TheSaveQuestionStartsFromTheNameChosenLast)
{
    platform::FakeFileChooser files;
    files.answers = {"/d/first.jpg", "", "/d/second"};
    album::PictureSaveQuestion question;
    EXPECT_EQ(question.ask(files, nullptr, PictureFormat::Jpeg), "/d/first.jpg");
    EXPECT_EQ(question.ask(files, nullptr, PictureFormat::Bmp), "");
    EXPECT_EQ(question.ask(files, nullptr, PictureFormat::Bmp), "/d/second");
    ASSERT_EQ(files.asked.size(), 3u);
    EXPECT_EQ(files.asked[0].kind, platform::FileQuestion::Kind::Save);
    EXPECT_EQ(files.asked[0].startPath, "");
    EXPECT_EQ(files.asked[0].filter, "JPG 文件 (*.jpg)");
    EXPECT_EQ(files.asked[1].startPath, "/d/first.jpg");
    EXPECT_EQ(files.asked[2].startPath, "/d/first.jpg");
    EXPECT_EQ(files.asked[2].filter, "位图图像 (*.bmp)");
    // The chooser previews the highlighted picture, as the add dialog's chooser does.
    EXPECT_EQ(files.asked[0].previewSide, 136);
    ASSERT_TRUE(files.asked[0].preview);
}

class CurrentPictureTest : public ::testing::Test {
protected:
    CurrentPictureTest() : pane(nullptr, query) { query.setStorePath(folder.storePath()); }
    void open()
    {
        query.setStatement(store::statements::allPictures());
        query.open();
    }
    testing_support::ProgramFolder folder;
    skin::RecordingSink messages;
    store::Query query;
    album::AlbumPane pane;
};

TEST_F(CurrentPictureTest, AJpegRecordIsSavedAsItsStoredStreamAndABmpAsABitmap)
{
    const QByteArray jpeg = jpegBytes(48, 32);
    testing_support::addPicture(folder.storePath(), "a.jpg", "", 1, jpeg);
    testing_support::addPicture(folder.storePath(), "b.bmp", "", 0, bmpBytes(20, 10));
    open();
    auto current = album::currentPicture(pane);
    ASSERT_TRUE(current);
    album::writePictureFile(folder.file("out.bmp"), *current);  // the name does not change the format
    EXPECT_EQ(testing_support::readBytes(folder.file("out.bmp")), jpeg);

    query.next();
    current = album::currentPicture(pane);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->format, PictureFormat::Bmp);
    album::writePictureFile(folder.file("out.jpg"), *current);
    const QImage back = QImage::fromData(testing_support::readBytes(folder.file("out.jpg")), "BMP");
    EXPECT_EQ(back.size(), QSize(20, 10));

    // A bitmap stored top-down is saved with its pixels the right way up.
    testing_support::addPicture(folder.storePath(), "c.bmp", "", 0,
                                hostile_pictures::topDownBmp(pattern(20, 10)));
    open();
    query.last();
    current = album::currentPicture(pane);
    ASSERT_TRUE(current);
    album::writePictureFile(folder.file("top.bmp"), *current);
    const QImage top = QImage::fromData(testing_support::readBytes(folder.file("top.bmp")), "BMP");
    EXPECT_EQ(top.convertToFormat(QImage::Format_RGB32), pattern(20, 10));
}

TEST_F(CurrentPictureTest, AnEmptyAlbumOrAFailRecordHasNoPicture)
{
    open();
    EXPECT_FALSE(album::currentPicture(pane));
    testing_support::addPicture(folder.storePath(), "Fail", "", -1, bmpBytes(4, 4));
    open();
    EXPECT_FALSE(album::currentPicture(pane));
}

// The stored stream of the JPEG shown is read when an action first needs it. A record deleted
// by another program meanwhile is reported, never saved as a bitmap of the reduced preview.
TEST_F(CurrentPictureTest, AJpegGoneFromTheStoreSinceItWasShownIsAnError)
{
    testing_support::addPicture(folder.storePath(), "a.jpg", "", 1, jpegBytes(48, 32));
    open();
    ASSERT_FALSE(pane.picture().isNull());
    store::Connection(folder.storePath()).exec(QStringLiteral("delete from 图片"));
    EXPECT_THROW(album::currentPicture(pane), store::StoreError);
}

// The wallpaper file is a BMP whatever the record's format, with all the picture's pixels even
// where the preview holds it reduced; the values follow the command.
TEST_F(CurrentPictureTest, WallpaperCommandsWriteABitmapThenReachTheDesktop)
{
    testing_support::addPicture(folder.storePath(), "a.jpg", "", 1, jpegBytes(800, 600));
    open();
    const auto current = album::currentPicture(pane);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->picture.size(), QSize(120, 90));  // as the preview shows it
    EXPECT_EQ(album::fullPicture(*current).size(), QSize(800, 600));
    platform::FakeDesktop desktop;
    const QString wallpaper = folder.file("Temp/mozhou.bmp");
    QDir(folder.path()).mkdir("Temp");
    album::applyWallpaper(&*current, album::WallpaperStyle::Tile, wallpaper, desktop);
    EXPECT_EQ(QImage(wallpaper, "BMP").size(), QSize(800, 600));
    EXPECT_EQ(desktop.values(), (platform::WallpaperValues{"1", "0", wallpaper}));
    album::applyWallpaper(&*current, album::WallpaperStyle::Stretch, wallpaper, desktop);
    EXPECT_EQ(desktop.values(), (platform::WallpaperValues{"0", "2", wallpaper}));
    album::applyWallpaper(nullptr, album::WallpaperStyle::Restore, wallpaper, desktop);
    EXPECT_EQ(desktop.values(), (platform::WallpaperValues{"0", "0", ""}));
    EXPECT_EQ(desktop.wallpapers, (std::vector<QString>{wallpaper, wallpaper, ""}));
}

TEST_F(CurrentPictureTest, AWallpaperFileThatCannotBeWrittenLeavesTheDesktopAlone)
{
    testing_support::addPicture(folder.storePath(), "b.bmp", "", 0, bmpBytes(8, 8));
    open();
    const auto current = album::currentPicture(pane);
    ASSERT_TRUE(current);
    platform::FakeDesktop desktop;
    EXPECT_THROW(album::applyWallpaper(&*current, album::WallpaperStyle::Center,
                                       folder.file("Temp/mozhou.bmp"), desktop),
                 std::runtime_error);  // no Temp folder
    EXPECT_TRUE(desktop.wallpapers.empty());
    EXPECT_EQ(desktop.values(), platform::WallpaperValues{});
}

// Without its values the desktop would place the picture by the style kept before.
TEST_F(CurrentPictureTest, ValuesThatCannotBeKeptLeaveTheWallpaperAsItWas)
{
    testing_support::addPicture(folder.storePath(), "b.bmp", "", 0, bmpBytes(8, 8));
    open();
    const auto current = album::currentPicture(pane);
    ASSERT_TRUE(current);
    QDir(folder.path()).mkdir("Temp");
    platform::FakeDesktop desktop;
    desktop.canWrite = false;
    for (const auto style : {album::WallpaperStyle::Tile, album::WallpaperStyle::Restore}) {
        try {
            album::applyWallpaper(&*current, style, folder.file("Temp/mozhou.bmp"), desktop);
            ADD_FAILURE() << "values that were not kept counted as kept";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "无法保存墙纸的设置，桌面墙纸没有改变。");
        }
    }
    EXPECT_TRUE(desktop.wallpapers.empty());
}

} // namespace
