#include "PictureActions.h"

#include "InsertPIC.h"
#include "MemoryBuffer.h"
#include "PictureWalk.h"
#include "platform/Desktop.h"
#include "platform/FileChooser.h"
#include "text/FileReplacement.h"

#include <QFileInfo>

namespace album {

namespace {
const QString kWallpaperValuesNotKept = QStringLiteral("无法保存墙纸的设置，桌面墙纸没有改变。");

// The desktop places the wallpaper as the values kept last say: without them it would place
// this one by the previous style, so it is not handed over at all.
void keepValuesThenSet(platform::Desktop& desktop, const platform::WallpaperValues& values)
{
    if (!desktop.writeValues(values))
        throw std::runtime_error(kWallpaperValuesNotKept.toStdString());
    desktop.setWallpaper(values.wallPaper);
}
} // namespace

std::optional<CurrentPicture> currentPicture(const PictureWalk& album)
{
    const QImage& picture = album.picture();
    if (picture.isNull())
        return std::nullopt;
    const PictureFormat format = album.jpegData().isEmpty() ? PictureFormat::Bmp : PictureFormat::Jpeg;
    return CurrentPicture{picture, format, album.jpegData()};
}

QImage fullPicture(const CurrentPicture& current)
{
    return current.format == PictureFormat::Jpeg ? decodeJpeg(current.jpeg) : current.picture;
}

QString saveFilter(PictureFormat format)
{
    return format == PictureFormat::Bmp ? QStringLiteral("位图图像 (*.bmp)")
                                        : QStringLiteral("JPG 文件 (*.jpg)");
}

QString saveTarget(const QString& chosen, PictureFormat format)
{
    const QString name = QFileInfo(chosen).fileName().toUpper();
    if (name.endsWith(QStringLiteral(".BMP")) || name.endsWith(QStringLiteral(".JPG"))
        || name.endsWith(QStringLiteral(".JPEG")))
        return chosen;
    return chosen + (format == PictureFormat::Bmp ? QStringLiteral(".bmp") : QStringLiteral(".jpg"));
}

QByteArray bitmapFileBytes(const QImage& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    openInMemory(buffer, QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP"))
        throw std::runtime_error("无法把图片转换为位图。");
    return bytes;
}

QByteArray pictureFileBytes(const CurrentPicture& current)
{
    return current.format == PictureFormat::Jpeg ? current.jpeg : bitmapFileBytes(current.picture);
}

void writePictureFile(const QString& path, const CurrentPicture& current)
{
    textfile::replaceFile(path, pictureFileBytes(current));
}

void applyWallpaper(const CurrentPicture* current, WallpaperStyle style, const QString& wallpaperFile,
                    platform::Desktop& desktop)
{
    if (style == WallpaperStyle::Restore) {
        keepValuesThenSet(desktop, {QStringLiteral("0"), QStringLiteral("0"), QString()});
        return;
    }
    Q_ASSERT(current);
    textfile::replaceFile(wallpaperFile, bitmapFileBytes(fullPicture(*current)));
    const QString tile = style == WallpaperStyle::Tile ? QStringLiteral("1") : QStringLiteral("0");
    const QString stretch = style == WallpaperStyle::Stretch ? QStringLiteral("2") : QStringLiteral("0");
    keepValuesThenSet(desktop, {tile, stretch, wallpaperFile});
}

QString PictureSaveQuestion::ask(platform::FileChooser& chooser, QWidget* owner, PictureFormat format)
{
    platform::FileQuestion question(platform::FileQuestion::Kind::Save, owner,
                                    QStringLiteral("另存为"), saveFilter(format));
    addPicturePreview(question);
    question.startPath = lastChosen_;
    const QString chosen = chooser.choose(question);
    if (!chosen.isEmpty())
        lastChosen_ = chosen;
    return chosen;
}

} // namespace album
