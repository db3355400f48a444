// Picture records (write side): how a picture chosen from a file becomes a row of 图片.
// Plain functions over the picture query; the add-picture dialog calls them.
#pragma once

#include "store/Schema.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVariant>
#include <optional>

namespace store {
class Query;
}

namespace album {

// The columns of 图片 the album addresses by position, under the album's own short names.
inline constexpr int kNameColumn = store::kPictureNameColumn;
inline constexpr int kDescriptionColumn = store::kPictureDescriptionColumn;
inline constexpr int kFlagColumn = store::kPictureFlagColumn;
inline constexpr int kDataColumn = store::kPictureDataColumn;

// The kind of picture the picture loader made of a file, which decides its serialisation.
enum class LoadedKind { Bitmap, Jpeg, Other };

// A picture loaded from a file: what the add-picture dialog shows and what is stored.
struct LoadedPicture {
    LoadedKind kind = LoadedKind::Other;
    QImage image;     // for showing; a JPEG is decoded at full size like any record
    QByteArray data;  // the serialisation stored in Myimage
};

// Loads a picture file the way the picture loader does: by its extension (ignoring case) a
// bitmap (".bmp"), a JPEG stream (".jpg", ".jpeg") or any other format Qt reads. Throws
// std::runtime_error (DecodeError or a file error) with a Chinese message when it cannot.
//   - a bitmap is serialised as a BMP file of the loaded picture;
//   - a JPEG stream is kept byte for byte as read;
//   - any other picture keeps the file's own bytes (its format's own serialisation).
// The file is read whole as every chosen file is: a folder, a device or a FIFO is refused at once.
LoadedPicture loadPictureFile(const QString& path);

// The extension of a path's file name, dot included: the text from the last dot of the file
// name, empty when it has none.
QString fileExtension(const QString& path);

// What the extension test makes of a typed name for a file: the stored name and the flag (0 BMP,
// 1 JPEG, none for a Fail record named "Fail").
struct StoredName {
    QString name;
    std::optional<int> flag;
};
StoredName storedName(const QString& filePath, const QString& typedName);

// Appends one record through the picture query: the picture's bytes, the description, the
// flag and the stored name, then posts it. The query must be open. A refused post is rethrown after the new row has been cancelled. The caller
// moves the current record afterwards.
void storePicture(store::Query& pictureQuery, const QString& filePath, const LoadedPicture& picture,
                  const QString& name, const QString& description);

} // namespace album
