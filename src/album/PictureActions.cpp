#include "PictureActions.h"

#include "PictureWalk.h"
#include "platform/Desktop.h"
#include "text/FileReplacement.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <memory>

namespace album {

std::optional<CurrentPicture> currentPicture(const PictureWalk& album)
{
    const QImage& picture = album.picture();
    if (picture.isNull())
        return std::nullopt;
    const PictureFormat format = album.jpegData().isEmpty() ? PictureFormat::Bmp : PictureFormat::Jpeg;
    return CurrentPicture{picture, format, album.jpegData()};
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
    buffer.open(QIODevice::WriteOnly);
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
        desktop.writeValues({QStringLiteral("0"), QStringLiteral("0"), QString()});
        desktop.setWallpaper(QString());
        return;
    }
    Q_ASSERT(current);
    textfile::replaceFile(wallpaperFile, bitmapFileBytes(current->picture));
    const QString tile = style == WallpaperStyle::Tile ? QStringLiteral("1") : QStringLiteral("0");
    const QString stretch = style == WallpaperStyle::Stretch ? QStringLiteral("2") : QStringLiteral("0");
    desktop.writeValues({tile, stretch, wallpaperFile});
    desktop.setWallpaper(wallpaperFile);
}

PictureSaveChooser savePictureFileChooser(QWidget* parent)
{
    auto lastChosen = std::make_shared<QString>();
    return [parent, lastChosen](const QString& filter) {
        QFileDialog dialog(parent, QStringLiteral("另存为"), *lastChosen, filter);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        *lastChosen = dialog.selectedFiles().constFirst();
        return *lastChosen;
    };
}

} // namespace album
