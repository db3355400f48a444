// The icon list shared by the album's menus and toolbars: equal numbers mean the same
// picture. Drawn by the program, 16 × 16.
#pragma once

#include <QIcon>

namespace album {

// 1 add, 2 delete, 3 refresh, 4 search, 5 sort, 6 previous, 7 next, 8 first, 9 last,
// 10 wallpaper, 11 save as, 12 copy, 13 mode, 15 thumbnails; any other number an empty icon.
QIcon albumIcon(int number);

} // namespace album
