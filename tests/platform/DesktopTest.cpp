// The desktop stand-in: the kept values, and the calls that reach a GNOME-family desktop, made
// here against a stand-in settings tool on PATH that records its arguments.
#include "platform/Desktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SystemDesktopTest : public ::testing::Test {
protected:
    SystemDesktopTest() : desktop(folder.filePath("desktop.ini")), oldPath(qgetenv("PATH"))
    {
        const QString tool = folder.filePath("gsettings");
        QFile script(tool);
        script.open(QIODevice::WriteOnly);
        script.write(QStringLiteral("#!/bin/sh\necho \"$*\" >> '%1'\n").arg(log()).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", folder.path().toUtf8() + ':' + oldPath);
    }
    ~SystemDesktopTest() override { qputenv("PATH", oldPath); }
    QString log() const { return folder.filePath("calls.log"); }
    QStringList calls() const
    {
        QFile file(log());
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir folder;
    platform::SystemDesktop desktop;
    QByteArray oldPath;
};

TEST_F(SystemDesktopTest, TheValuesAreKeptAndReadBack)
{
    const platform::WallpaperValues tiled{"1", "0", "/home/用户/Temp/mozhou.bmp"};
    ASSERT_TRUE(desktop.writeValues(tiled));
    EXPECT_EQ(platform::SystemDesktop(folder.filePath("desktop.ini")).values(), tiled);
    EXPECT_FALSE(platform::SystemDesktop(folder.filePath("no/such/folder/desktop.ini"))
                     .writeValues(tiled));
}

TEST_F(SystemDesktopTest, TheWallpaperReachesTheDesktopsSettingsInTheKeptStyle)
{
    desktop.writeValues({"0", "2", "/p/mozhou.bmp"});
    desktop.setWallpaper("/p/mozhou.bmp");
    desktop.writeValues({"1", "0", "/p/mozhou.bmp"});
    desktop.setWallpaper("/p/mozhou.bmp");
    desktop.writeValues({"0", "0", ""});
    desktop.setWallpaper("");
    EXPECT_EQ(calls(), (QStringList{
                           "set org.gnome.desktop.background picture-uri file:///p/mozhou.bmp",
                           "set org.gnome.desktop.background picture-uri-dark file:///p/mozhou.bmp",
                           "set org.gnome.desktop.background picture-options stretched",
                           "set org.gnome.desktop.background picture-uri file:///p/mozhou.bmp",
                           "set org.gnome.desktop.background picture-uri-dark file:///p/mozhou.bmp",
                           "set org.gnome.desktop.background picture-options wallpaper",
                           "set org.gnome.desktop.background picture-uri ",
                           "set org.gnome.desktop.background picture-uri-dark ",
                           "set org.gnome.desktop.background picture-options none"}));
}

} // namespace
