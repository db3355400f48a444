// The small pictures of the main window, drawn by the program: the category icons and the
// pictures of two menu items.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace app::icons {

// An icon that calls draw when it is first shown: a menu item's picture costs start-up nothing
// (the question mark's bold font would otherwise be loaded before the main window shows).
QIcon drawnOnFirstUse(QPixmap (*draw)());

QPixmap materialsBook();      // 32 × 32: an open book with lines of text
QPixmap pictureAlbum();       // 32 × 32: a framed landscape
QPixmap articleCollection();  // 32 × 32: a stack of pages
QPixmap compactStore();       // 16 × 16: a squeezed cylinder
QPixmap helpContents();       // 16 × 16: a question mark on a blue book

} // namespace app::icons
