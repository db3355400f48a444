#include "PictureRecords.h"

#include "CodecErrors.h"

#include "MemoryBuffer.h"
#include "PictureCodec.h"
#include "store/Query.h"
#include "text/TextFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace album {

namespace {

// Letters compared without case only in the ASCII range: the extensions are single-byte text,
// so this is exactly the byte-wise test of the last four (or five) characters.
bool endsWithAscii(const QString& text, QLatin1StringView tail)
{
    if (text.size() < tail.size())
        return false;
    const QStringView end = QStringView(text).right(tail.size());
    for (qsizetype i = 0; i < tail.size(); ++i) {
        const char16_t c = end[i].unicode();
        const char t = tail[i].toLatin1();
        const char16_t lower = c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        if (lower != char16_t(t >= 'A' && t <= 'Z' ? t + 32 : t))
            return false;
    }
    return true;
}

bool equalsAscii(const QString& text, QLatin1StringView other)
{
    return text.size() == other.size() && endsWithAscii(text, other);
}

} // namespace

QString fileExtension(const QString& path)
{
    const QString fileName = QFileInfo(path).fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? QString() : fileName.mid(dot);
}

StoredName storedName(const QString& filePath, const QString& typedName)
{
    const QString extension = fileExtension(filePath);
    if (equalsAscii(extension, QLatin1StringView(".bmp"))) {
        if (endsWithAscii(typedName, QLatin1StringView(".bmp")))
            return {typedName, 0};
        return {typedName + QStringLiteral(".bmp"), 0};
    }
    const bool jpg = equalsAscii(extension, QLatin1StringView(".jpg"));
    if (jpg || equalsAscii(extension, QLatin1StringView(".jpeg"))) {
        if (endsWithAscii(typedName, QLatin1StringView(".jpg"))
            || endsWithAscii(typedName, QLatin1StringView(".jpeg")))
            return {typedName, 1};
        return {typedName + (jpg ? QStringLiteral(".jpg") : QStringLiteral(".jpeg")), 1};
    }
    return {store::kFailName, std::nullopt};
}

LoadedPicture loadPictureFile(const QString& path)
{
    const QString extension = fileExtension(path);
    LoadedPicture picture;
    // Read whole like any file the user chooses: a folder, a device or a FIFO is refused at once,
    // before anything waits on it.
    const QByteArray bytes = textfile::readBytes(path);
    if (equalsAscii(extension, QLatin1StringView(".bmp"))) {
        picture.kind = LoadedKind::Bitmap;
        picture.image = decodeBmp(bytes);
        QBuffer buffer(&picture.data);
        openInMemory(buffer, QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "bmp");
        if (!writer.write(picture.image))
            throw DecodeError(QStringLiteral("无法把图片写成 BMP 格式（%1）").arg(writeFailure(writer)));
    } else if (equalsAscii(extension, QLatin1StringView(".jpg"))
               || equalsAscii(extension, QLatin1StringView(".jpeg"))) {
        picture.kind = LoadedKind::Jpeg;
        picture.image = decodeJpeg(bytes);
        picture.data = bytes;
    } else {
        picture.kind = LoadedKind::Other;
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        openInMemory(buffer, QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels)
            throw DecodeError(QStringLiteral("图片过大：%1×%2 像素，超过了一亿像素的上限")
                                  .arg(size.width()).arg(size.height()));
        if (!reader.read(&picture.image))
            throw DecodeError(QStringLiteral("无法读取图片文件 %1（%2）").arg(path, readFailure(reader)));
        picture.data = bytes;
    }
    return picture;
}

void storePicture(store::Query& pictureQuery, const QString& filePath, const LoadedPicture& picture,
                  const QString& name, const QString& description)
{
    const StoredName stored = storedName(filePath, name);
    pictureQuery.append();
    try {
        pictureQuery.setField(kDataColumn, picture.data);
        pictureQuery.setField(kDescriptionColumn, description);
        pictureQuery.setField(kFlagColumn, stored.flag ? QVariant(*stored.flag) : QVariant());
        pictureQuery.setField(kNameColumn, stored.name);
        pictureQuery.post();
    } catch (...) {
        pictureQuery.cancel();
        throw;
    }
}

} // namespace album
