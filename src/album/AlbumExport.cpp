#include "AlbumExport.h"

#include "CodecErrors.h"
#include "MemoryBuffer.h"
#include "PictureCodec.h"
#include "PictureRecords.h"
#include "PictureWalk.h"
#include "store/Progress.h"
#include "text/CommitQueue.h"
#include "text/FileReplacement.h"
#include "text/FileErrors.h"
#include "text/TextFile.h"

#include <QFileInfo>
#include <QImageWriter>
#include <algorithm>
#include <chrono>
#include <deque>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace album {

namespace {

const QString kNoPlainFileName =
    QStringLiteral("图片名称不能用作文件名（为空、是“.”或“..”，或含有“/”或空字符）");
const QString kBmpNotWritten = QStringLiteral("无法生成BMP图片（%1）");
const QString kDescriptionExtension = QStringLiteral(".TXT");
// How often a window answers input while the export waits for a picture's check.
constexpr std::chrono::milliseconds kIdleInterval{20};

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

// One record's files, to be made on a worker thread: where they go and what goes in them.
struct RecordFiles {
    WalkRecord record;
    PictureFormat format = PictureFormat::None;
    QString picturePath;
    QString descriptionPath;  // empty: no description file
};

using MadeFiles = std::vector<std::unique_ptr<textfile::FileReplacement>>;

// The picture in its own format, written into a temporary file beside its target, and the
// description likewise: a JPEG record's stored stream once a check has shown that it decodes
// as the preview would decode it, a BMP record as a BMP file of its decoded bitmap. Throws
// DecodeError for a picture that does not decode, FileError for a file that cannot be written.
// Nothing is renamed here: the files replace their targets when they are committed in order.
MadeFiles makeFiles(const RecordFiles& files)
{
    MadeFiles made;
    const auto add = [&](const QString& path, QByteArrayView bytes) {
        made.push_back(std::make_unique<textfile::FileReplacement>(path));
        made.back()->write(bytes);
    };
    if (files.format == PictureFormat::Jpeg) {
        checkJpeg(files.record.data);
        add(files.picturePath, files.record.data);
    } else {
        add(files.picturePath, bmpFileOf(decodeBmp(files.record.data), files.picturePath));
    }
    if (!files.descriptionPath.isEmpty())
        add(files.descriptionPath, textfile::joinLines({files.record.description}));
    return made;
}

// How many records are read ahead of the one being committed: enough to keep every core
// checking pictures, few enough that memory holds only a few pictures at a time.
size_t lookAhead()
{
    return std::max(2u, std::thread::hardware_concurrency()) + 1;
}

// The files of the records ahead, made on worker threads and taken in record order. Records
// without a picture make no files and take no thread.
class FilesAhead {
public:
    FilesAhead(PictureWalk& album, const QString& folder, bool descriptions)
        : album_(album), folder_(folder), descriptions_(descriptions)
    {
    }
    // Waits for the files of the next record, reading more records ahead meanwhile; a window
    // answers input while it waits. Throws what making them threw.
    MadeFiles take(store::Progress& progress);
    // Whether the record just taken had a picture.
    bool hadPicture() const { return hadPicture_; }

private:
    // The files of a record, and the memory its picture was read into, for the next one.
    struct Made {
        MadeFiles files;
        QByteArray spare;
    };
    struct Ahead {
        bool picture = false;
        std::future<Made> made;
    };
    void readAhead();
    RecordFiles filesOf(WalkRecord record);

    PictureWalk& album_;
    const QString folder_;
    const bool descriptions_;
    ExportNaming naming_;
    int read_ = 0;
    bool hadPicture_ = false;
    std::deque<Ahead> ahead_;
    // Memory of pictures whose files are made: a picture read into it costs no memory touched
    // for the first time, which costs more than the read itself on some machines.
    std::vector<QByteArray> spare_;
};

// The names follow the records in order, as if each record with a picture is written: one that
// does not decode ends the export, so no later name is ever used.
RecordFiles FilesAhead::filesOf(WalkRecord record)
{
    RecordFiles files;
    files.format = formatOfFlag(record.flag);
    if (files.format != PictureFormat::None) {
        // The name itself, too: an empty first name would otherwise continue the empty run.
        requirePlainFileName(folder_, record.name);
        const ExportFileNames names = naming_.next(record.name);
        requirePlainFileName(folder_, names.picture);
        files.picturePath = inFolder(folder_, names.picture);
        if (descriptions_) {
            requirePlainFileName(folder_, names.description);
            files.descriptionPath = inFolder(folder_, names.description);
        }
    }
    files.record = std::move(record);
    return files;
}

// A record that cannot be read or named fails when its turn comes, not before: the records
// before it are written first.
void FilesAhead::readAhead()
{
    while (ahead_.size() < lookAhead() && read_ < album_.count()) {
        Ahead next;
        std::promise<Made> ready;
        try {
            QByteArray reuse;
            if (!spare_.empty()) {
                reuse = std::move(spare_.back());
                spare_.pop_back();
            }
            RecordFiles files = filesOf(album_.recordAt(read_++, std::move(reuse)));
            next.picture = files.format != PictureFormat::None;
            if (next.picture)
                next.made = std::async(std::launch::async, [files = std::move(files)]() mutable {
                    Made made{makeFiles(files), std::move(files.record.data)};
                    return made;
                });
            else
                ready.set_value({});
        } catch (...) {
            ready.set_exception(std::current_exception());
        }
        if (!next.made.valid())
            next.made = ready.get_future();
        ahead_.push_back(std::move(next));
    }
}

MadeFiles FilesAhead::take(store::Progress& progress)
{
    readAhead();
    Q_ASSERT(!ahead_.empty());
    Ahead next = std::move(ahead_.front());
    ahead_.pop_front();
    readAhead();
    while (next.made.wait_for(kIdleInterval) != std::future_status::ready)
        progress.idle();
    hadPicture_ = next.picture;
    Made made = next.made.get();
    if (!made.spare.isEmpty())
        spare_.push_back(std::move(made.spare));
    return std::move(made.files);
}

// However the export ends, the album shows its current record again.
class WalkInProgress {
public:
    explicit WalkInProgress(PictureWalk& album) : album_(album) {}
    ~WalkInProgress()
    {
        if (!ended_)
            album_.endWalk();
    }
    WalkInProgress(const WalkInProgress&) = delete;
    WalkInProgress& operator=(const WalkInProgress&) = delete;
    // Ends the walk; false when the current record's picture did not decode (reported).
    bool end()
    {
        ended_ = true;
        album_.endWalk();
        return !album_.failed();
    }

private:
    PictureWalk& album_;
    bool ended_ = false;
};

bool isDecodeError(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const DecodeError&) {
        return true;
    } catch (...) {
        return false;
    }
}

// The walk stands on a record whose files could not be made. A picture that did not decode is
// reported by the record's refresh, as a move onto it always reports it; should the picture
// decode there after all, the check's error is. Any other failure goes to the caller.
AlbumExportResult endedAt(WalkInProgress& walk, const std::exception_ptr& failure,
                          AlbumExportResult result)
{
    try {
        std::rethrow_exception(failure);
    } catch (const DecodeError&) {
        if (walk.end())
            throw;
    }
    result.finished = false;
    return result;
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
    WalkInProgress walk(album);
    album.restartByName();
    result.pictures = album.count();
    FilesAhead ahead(album, folder, descriptions);
    // Record by record as the walk moves: the files of a record are made while the last ones
    // are committed, and the walk moves on to a record once its files are made (its picture
    // decoded).
    const auto takeFiles = [&](MadeFiles& files) -> std::exception_ptr {
        try {
            files = ahead.take(progress);
            return nullptr;
        } catch (...) {
            return std::current_exception();
        }
    };
    MadeFiles files;
    // The bar shows even when the first picture fails, and stays until the dialog closes.
    progress.begin(result.pictures);
    const std::exception_ptr firstFailure = result.pictures > 0 ? takeFiles(files) : nullptr;
    if (firstFailure && isDecodeError(firstFailure))
        return endedAt(walk, firstFailure, result);
    if (firstFailure)
        std::rethrow_exception(firstFailure);
    // Each file is committed while the next ones are made; the export ends only when all are.
    textfile::CommitQueue commits;
    for (int record = 0; record < result.pictures; ++record) {
        const bool picture = ahead.hadPicture();
        for (std::unique_ptr<textfile::FileReplacement>& file : files)
            commits.add(std::move(file));
        if (picture)
            ++result.written;
        if (record + 1 < result.pictures) {
            const std::exception_ptr failure = takeFiles(files);
            album.moveTo(record + 1);
            if (failure) {
                commits.finish();
                return endedAt(walk, failure, result);
            }
        }
        progress.step();
    }
    commits.finish();
    result.finished = walk.end();
    return result;
}

} // namespace album
