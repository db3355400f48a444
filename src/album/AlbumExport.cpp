#include "AlbumExport.h"

#include "CodecErrors.h"

#include "MemoryBuffer.h"
#include "PictureRecords.h"
#include "PictureWalk.h"
#include "store/Progress.h"
#include "text/CommitQueue.h"
#include "text/FileErrors.h"
#include "text/TextFile.h"

#include <QFileInfo>
#include <QImageWriter>

namespace album {

namespace {

const QString kNoPlainFileName =
    QStringLiteral("图片名称不能用作文件名（为空、是“.”或“..”，或含有“/”或空字符）");
const QString kBmpNotWritten = QStringLiteral("无法生成BMP图片（%1）");
const QString kDescriptionExtension = QStringLiteral(".TXT");

QString inFolder(const QString& folder, const QString& name)
{
    return folder + u'/' + name;
}

void requirePlainFileName(const QString& folder, const QString& name)
{
    if (!isPlainFileName(name))
        throw textfile::writeFailure(inFolder(folder, name), kNoPlainFileName);
}

QByteArray bmpFileOf(const QImage& picture, const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    openInMemory(buffer, QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(picture))
        throw textfile::writeFailure(path, kBmpNotWritten.arg(writeFailure(writer)));
    return bytes;
}

// The preview picture in its own format: the stored JPEG stream, or a BMP file.
void writePicture(const PictureWalk& album, const QString& path, textfile::CommitQueue& commits)
{
    const QByteArray& jpeg = album.jpegData();
    if (!jpeg.isEmpty())
        textfile::queueReplacement(commits, path, jpeg);
    else
        textfile::queueReplacement(commits, path, bmpFileOf(album.picture(), path));
}

} // namespace

bool isExportFolder(const QString& path)
{
    const QFileInfo folder(path);
    return !path.isEmpty() && folder.isAbsolute() && folder.isDir();
}

bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(u'/') && !name.contains(QChar(u'\0'));
}

QString upperCasedName(const QString& name)
{
    QString upper = name;
    for (QChar& c : upper)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    return upper;
}

ExportFileNames ExportNaming::next(const QString& pictureName)
{
    const QString upper = upperCasedName(pictureName);
    const qsizetype dot = upper.lastIndexOf(u'.');
    const QString base = dot < 0 ? upper : upper.left(dot);
    const QString extension = dot < 0 ? QString() : upper.mid(dot);
    if (upper != previous_) {
        previous_ = upper;
        run_ = 1;
        return {upper, base + kDescriptionExtension};
    }
    ++run_;
    const QString numbered = base + u'(' + QString::number(run_) + u')';
    return {numbered + extension, numbered + kDescriptionExtension};
}

AlbumExportResult exportAlbum(PictureWalk& album, const QString& folder, bool descriptions,
                              store::Progress& progress)
{
    Q_ASSERT(isExportFolder(folder));
    AlbumExportResult result;
    album.restartByName();
    result.pictures = album.count();
    // The bar shows even when the first picture fails, and stays until the dialog closes.
    progress.begin(result.pictures);
    if (album.failed())
        return result;
    ExportNaming naming;
    // Each file is committed while the next picture is decoded; the export ends only when all are.
    textfile::CommitQueue commits;
    for (int record = 0; record < result.pictures; ++record) {
        if (!album.picture().isNull()) {
            const QString name = album.name();
            // The name itself, too: an empty first name would otherwise continue the empty run.
            requirePlainFileName(folder, name);
            const ExportFileNames names = naming.next(name);
            requirePlainFileName(folder, names.picture);
            writePicture(album, inFolder(folder, names.picture), commits);
            if (descriptions) {
                requirePlainFileName(folder, names.description);
                textfile::queueReplacement(
                    commits, inFolder(folder, names.description),
                    textfile::joinLines({album.description()}));
            }
            ++result.written;
        }
        album.next();
        if (album.failed())
            break;
        progress.step();
    }
    commits.finish();
    result.finished = !album.failed();
    return result;
}

} // namespace album
