#include "PictureCommands.h"

#include "album/PictureWalk.h"
#include "platform/Clipboard.h"
#include "skin/Messages.h"
#include "skin/TsuiMessageDialog.h"

#include <QFileInfo>

namespace app {

namespace {
const QString kNothingToCopy = QStringLiteral("没有图片资源来进行复制！");
const QString kNothingToSave = QStringLiteral("没有图片资源来进行保存！");
const QString kNothingForWallpaper = QStringLiteral("没有用来设为墙纸的图片资源！");
} // namespace

PictureCommands::PictureCommands(QWidget* owner, const Parts& parts)
    : QObject(owner), owner_(owner), album_(parts.album), clipboard_(parts.clipboard),
      desktop_(parts.desktop), wallpaperFile_(parts.wallpaperFile),
      suiMessageDialog1(new TsuiMessageDialog(owner, TsuiIconType::suiWarning))
{
}

void PictureCommands::copy()
{
    const std::optional<album::CurrentPicture> current = album::currentPicture(album_);
    if (!current) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNothingToCopy);
        return;
    }
    skin::guarded([&] { clipboard_.setImage(album::fullPicture(*current)); });
    emit copied();
}

void PictureCommands::saveAs()
{
    const std::optional<album::CurrentPicture> current = album::currentPicture(album_);
    if (!current) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNothingToSave);
        return;
    }
    const QString chosen = pictureSaveQuestion_.ask(*fileChooser_, owner_, current->format);
    if (chosen.isEmpty())
        return;
    const QString target = album::saveTarget(chosen, current->format);
    if (QFileInfo::exists(target))
        emit overwriteConfirmationNeeded(target);
    else
        skin::guarded([&] { album::writePictureFile(target, *current); });
}

// The picture is checked first (还原 needs none); the desktop is reached only once the
// wallpaper file is written.
void PictureCommands::setWallpaper(album::WallpaperStyle style)
{
    const std::optional<album::CurrentPicture> current = album::currentPicture(album_);
    if (style != album::WallpaperStyle::Restore && !current) {
        suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, kNothingForWallpaper);
        return;
    }
    skin::guarded([&] {
        album::applyWallpaper(current ? &*current : nullptr, style, wallpaperFile_, desktop_);
    });
}

void PictureCommands::writeCurrentPicture(const QString& path)
{
    const std::optional<album::CurrentPicture> current = album::currentPicture(album_);
    if (current)
        album::writePictureFile(path, *current);
}

} // namespace app
