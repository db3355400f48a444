// The album export without its window: every picture of the album written into one folder,
// named after the picture, with an optional description file beside each. It walks the album as
// the user sees it (PictureWalk): refreshed, sorted by name, every record in turn, saving the
// picture that the walk decoded.
#pragma once

#include <QString>

namespace store {
class Progress;
}

namespace album {

class PictureWalk;

// An absolute path that exists as a folder: the only place the export writes into.
bool isExportFolder(const QString& path);

// A name that stays a file inside its folder: not empty, not "." or "..", and without "/" or
// NUL. Anything else could name a file elsewhere or none at all.
bool isPlainFileName(const QString& name);

// The name with its ASCII letters a to z upper-cased; every other character unchanged.
QString upperCasedName(const QString& name);

// The file names of one exported picture and of its description.
struct ExportFileNames {
    QString picture;
    QString description;
};

// Numbers the runs of equal upper-cased names, comparing each name with the one before only:
// the first of a run is written as the upper-cased name U, the k-th as B + "(k)" + E, where E is
// U's extension from its last "." and B the rest; descriptions are B (+ "(k)") + ".TXT".
class ExportNaming {
public:
    ExportFileNames next(const QString& pictureName);

private:
    QString previous_;
    int run_ = 1;
};

struct AlbumExportResult {
    int pictures = 0;       // records in the album
    int written = 0;        // pictures written (records without a picture are skipped)
    bool finished = false;  // false: a picture failed to decode; the walk has reported it
};

// Refreshes and sorts the album by name, then writes every record's picture (a JPEG record's
// stored stream byte for byte, a BMP record as a BMP file of its bitmap) into folder, and with
// descriptions its description as one GB18030 line ended by CR LF. Each file is replaced whole.
// The walk moves through the records as the user would step; a picture is written only once a
// check on a worker thread has shown that it decodes, and one that does not ends the export
// there (the album reports it; the result is not finished). The checks of the next pictures run
// on the other cores while the last files reach the disk; the folder is flushed once, at the end.
// Throws on a name that is no plain file name, a file that cannot be written or a store error;
// files written before stay.
AlbumExportResult exportAlbum(PictureWalk& album, const QString& folder, bool descriptions,
                              store::Progress& progress);

} // namespace album
