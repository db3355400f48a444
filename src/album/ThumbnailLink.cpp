#include "ThumbnailLink.h"

#include "AlbumCommands.h"
#include "AlbumPane.h"
#include "View.h"
#include "skin/Commands.h"
#include "skin/TsuiDBGrid.h"

namespace album {

std::unique_ptr<TForm14> makeThumbnailWindow(AlbumPane& pane, const platform::ProgramFolder& folder)
{
    auto window = std::make_unique<TForm14>(
        TForm14::AlbumGridParts{*pane.gridModel(), *pane.grid()->selectionModel(),
                                pane.grid()->FixedBGColor(),
                                skin::command(&pane, commands::kCopyPicture),
                                skin::command(&pane, commands::kSavePictureAs)},
        folder);
    TForm14* thumbnails = window.get();
    QObject::connect(&pane, &AlbumPane::thumbnailsShowRequested, thumbnails, &TForm14::showInFront);
    QObject::connect(&pane, &AlbumPane::thumbnailsCloseRequested, thumbnails, &TForm14::closeWindow);
    QObject::connect(&pane, &AlbumPane::reloaded, thumbnails, &TForm14::reapplyColumns);
    QObject::connect(thumbnails, &TForm14::closed, &pane, &AlbumPane::thumbnailWindowClosed);
    return window;
}

} // namespace album
