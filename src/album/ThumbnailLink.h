// How the thumbnail window and the album pane work together: the window shows the pane's grid
// rows and runs its copy and save commands; the pane asks for the window by signals, and the
// window's close sets the pane's mode marks.
#pragma once

#include <memory>

class TForm14;

namespace platform {
class ProgramFolder;
}

namespace album {

class AlbumPane;

// The thumbnail window over the pane's grid, linked to the pane both ways.
std::unique_ptr<TForm14> makeThumbnailWindow(AlbumPane& pane, const platform::ProgramFolder& folder);

} // namespace album
