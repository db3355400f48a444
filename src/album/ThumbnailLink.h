// How the thumbnail window and the album pane work together: the window shows the pane's grid
// rows and runs its copy and save commands; the pane asks for the window by signals, and the
// window's close sets the pane's mode marks.
#pragma once

#include "platform/ProgramFolder.h"

#include <QObject>
#include <memory>

class TForm14;

namespace album {

class AlbumPane;

// The thumbnail window over the pane's grid, linked to the pane both ways.
std::unique_ptr<TForm14> makeThumbnailWindow(AlbumPane& pane, const platform::ProgramFolder& folder);

// The same link with the window made at the pane's first request to show it: most sessions never
// show it, so start-up does not wait for it. Until then a close or a reload has nothing to act on.
class ThumbnailLink : public QObject {
public:
    ThumbnailLink(AlbumPane& pane, const platform::ProgramFolder& folder);
    ~ThumbnailLink() override;

    TForm14& window();  // made at the first call
    TForm14* madeWindow() const { return window_.get(); }

private:
    AlbumPane& pane_;
    const platform::ProgramFolder folder_;
    std::unique_ptr<TForm14> window_;  // stays on top on its own: no owner
};

} // namespace album
