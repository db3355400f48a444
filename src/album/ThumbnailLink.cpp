#include "ThumbnailLink.h"

#include "AlbumCommands.h"
#include "AlbumPane.h"
#include "View.h"
#include "skin/Commands.h"
#include "skin/TsuiDBGrid.h"

namespace album {

namespace {

// The window over the pane's grid, whose close sets the pane's mode marks.
std::unique_ptr<TForm14> newThumbnailWindow(AlbumPane& pane, const platform::ProgramFolder& folder)
{
    auto window = std::make_unique<TForm14>(
        TForm14::AlbumGridParts{*pane.gridModel(), *pane.grid()->selectionModel(),
                                pane.grid()->FixedBGColor(),
                                skin::command(&pane, commands::kCopyPicture),
                                skin::command(&pane, commands::kSavePictureAs),
                                [&pane](quint64 rowKey, QSize cell) { return pane.pictureForThumbnail(rowKey, cell); }},
        folder);
    QObject::connect(window.get(), &TForm14::closed, &pane, &AlbumPane::thumbnailWindowClosed);
    return window;
}

} // namespace

std::unique_ptr<TForm14> makeThumbnailWindow(AlbumPane& pane, const platform::ProgramFolder& folder)
{
    std::unique_ptr<TForm14> window = newThumbnailWindow(pane, folder);
    TForm14* thumbnails = window.get();
    QObject::connect(&pane, &AlbumPane::thumbnailsShowRequested, thumbnails, &TForm14::showInFront);
    QObject::connect(&pane, &AlbumPane::thumbnailsCloseRequested, thumbnails, &TForm14::closeWindow);
    QObject::connect(&pane, &AlbumPane::reloaded, thumbnails, &TForm14::reapplyColumns);
    return window;
}

ThumbnailLink::ThumbnailLink(AlbumPane& pane, const platform::ProgramFolder& folder)
    : pane_(pane), folder_(folder)
{
    connect(&pane, &AlbumPane::thumbnailsShowRequested, this, [this] { window().showInFront(); });
    connect(&pane, &AlbumPane::thumbnailsCloseRequested, this, [this] {
        if (window_)
            window_->closeWindow();
    });
    connect(&pane, &AlbumPane::reloaded, this, [this] {
        if (window_)
            window_->reapplyColumns();
    });
}

ThumbnailLink::~ThumbnailLink() = default;

TForm14& ThumbnailLink::window()
{
    if (!window_)
        window_ = newThumbnailWindow(pane_, folder_);
    return *window_;
}

} // namespace album
