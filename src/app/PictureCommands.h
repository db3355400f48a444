// The album's commands that reach beyond the album: copying the current picture to the
// clipboard, saving it as a file, and making it the desktop's wallpaper. Each checks first that
// there is a picture and says so in a warning when there is none.
#pragma once

#include "album/PictureActions.h"
#include "platform/FileChooser.h"

#include <QObject>

class TsuiMessageDialog;

namespace album {
class PictureWalk;
}
namespace platform {
class Clipboard;
class Desktop;
}

namespace app {

class PictureCommands : public QObject {
    Q_OBJECT
public:
    struct Parts {
        const album::PictureWalk& album;
        platform::Clipboard& clipboard;
        platform::Desktop& desktop;
        QString wallpaperFile;
    };
    // Messages show in front of owner, which also owns the save question.
    PictureCommands(QWidget* owner, const Parts& parts);

    void setFileChooser(platform::FileChooser& chooser) { fileChooser_ = &chooser; }

    void copy();
    void saveAs();
    void setWallpaper(album::WallpaperStyle style);
    // Writes the current picture to path in its own format: the overwrite confirmation's writer.
    void writeCurrentPicture(const QString& path);

signals:
    // The picture is on the clipboard.
    void copied();
    // The chosen file exists: the user confirms before writeCurrentPicture replaces it.
    void overwriteConfirmationNeeded(const QString& path);

private:
    QWidget* owner_;
    const album::PictureWalk& album_;
    platform::Clipboard& clipboard_;
    platform::Desktop& desktop_;
    QString wallpaperFile_;
    platform::FileChooser* fileChooser_ = &platform::dialogFileChooser();
    album::PictureSaveQuestion pictureSaveQuestion_;
    TsuiMessageDialog* suiMessageDialog1;
};

} // namespace app
