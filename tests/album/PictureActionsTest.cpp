// Copying and saving the current picture: the save target's name, the bytes a saved file gets.
#include "Fixtures.h"
#include "HostilePictures.h"
#include "support/ProgramFolder.h"

#include "album/AlbumPane.h"
#include "album/PictureActions.h"
#include "platform/Desktop.h"
#include "skin/Messages.h"
#include "store/Query.h"
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

// The wallpaper file is a BMP whatever the record's format; the values follow the command.
TEST_F(CurrentPictureTest, WallpaperCommandsWriteABitmapThenReachTheDesktop)
{
    testing_support::addPicture(folder.storePath(), "a.jpg", "", 1, jpegBytes(48, 32));
    open();
    const auto current = album::currentPicture(pane);
    ASSERT_TRUE(current);
    platform::FakeDesktop desktop;
    const QString wallpaper = folder.file("Temp/mozhou.bmp");
    QDir(folder.path()).mkdir("Temp");
    album::applyWallpaper(&*current, album::WallpaperStyle::Tile, wallpaper, desktop);
    EXPECT_EQ(QImage(wallpaper, "BMP").size(), QSize(48, 32));
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

} // namespace
