// Copying and saving the current picture: what they work on (the preview picture and its
// record's format), the save target's name, and the bytes a saved file receives.
#pragma once

#include "PictureCodec.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

class QWidget;

namespace platform {
class Desktop;
class FileChooser;
}

namespace album {

class PictureWalk;

struct CurrentPicture {
    QImage picture;      // the preview picture, decoded (a JPEG as shown, maybe reduced)
    PictureFormat format = PictureFormat::None;
    QByteArray jpeg;     // the stored JPEG stream of a JPEG record
};

// The picture with all its pixels, as the clipboard and the wallpaper need it: a JPEG record's
// stream decoded at full size, a BMP record's picture as it is. Throws DecodeError.
QImage fullPicture(const CurrentPicture& current);

// The picture the actions work on; nothing when the album is empty or the preview holds none
// (a Fail record never has one).
std::optional<CurrentPicture> currentPicture(const PictureWalk& album);

// The chooser's one filter for the record's format.
QString saveFilter(PictureFormat format);
// The file a save goes to: the chosen path when its name ends in .BMP, .JPG or .JPEG in any
// letter case, else the path with the filter's extension (".bmp" or ".jpg") added.
QString saveTarget(const QString& chosen, PictureFormat format);
// What a file of the picture holds: the stored JPEG stream for a JPEG record, a BMP file of the
// picture otherwise, whatever the file's name says.
QByteArray pictureFileBytes(const CurrentPicture& current);
// A BMP file of the picture, as the wallpaper needs it.
QByteArray bitmapFileBytes(const QImage& picture);
// Writes the file whole (temporary file, checked flush, rename); throws with the reason.
void writePictureFile(const QString& path, const CurrentPicture& current);

enum class WallpaperStyle { Center, Tile, Stretch, Restore };

// Makes the picture the desktop's wallpaper in the style, through a BMP file written whole at
// wallpaperFile (a JPEG decoded first); Restore (picture ignored, may be null) takes the
// wallpaper away. A file or values that cannot be written throw, with the wallpaper unchanged.
void applyWallpaper(const CurrentPicture* current, WallpaperStyle style, const QString& wallpaperFile,
                    platform::Desktop& desktop);

// Asks over owner for a file name to save a picture of the format under, with the one filter
// of that format, starting from the name chosen last; empty when cancelled.
class PictureSaveQuestion {
public:
    QString ask(platform::FileChooser& chooser, QWidget* owner, PictureFormat format);

private:
    QString lastChosen_;
};

} // namespace album
