#include "PictureActions.h"

#include "AlbumPane.h"
#include "text/FileReplacement.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <memory>

namespace album {

std::optional<CurrentPicture> currentPicture(const AlbumPane& pane)
{
    const QImage& picture = pane.previewPicture();
    if (picture.isNull())
        return std::nullopt;
    const PictureFormat format = pane.previewJpegData().isEmpty() ? PictureFormat::Bmp
                                                                  : PictureFormat::Jpeg;
    return CurrentPicture{picture, format, pane.previewJpegData()};
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
