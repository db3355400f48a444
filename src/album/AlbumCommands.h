// The album's commands, made once as actions of the album pane under their ids, and the menus,
// tool buttons and picture toolbar that show them. The pane runs the commands that act on the
// album itself; the rest (add, delete, search, copy, save, wallpaper) are run by whoever the
// program connects to their actions.
#pragma once

#include "skin/ToolbarStrip.h"

class QObject;
class QToolBar;
class QWidget;
class TsuiPopupMenu;

namespace album::commands {

inline constexpr char kAdd[] = "MenuItem2";
inline constexpr char kDelete[] = "MenuItem3";
inline constexpr char kRefresh[] = "MenuItem5";
inline constexpr char kSearch[] = "MenuItem6";
inline constexpr char kSortButton[] = "ToolButton5";  // pops up the sort menu
inline constexpr char kModeButton[] = "ToolButton6";  // pops up the mode menu
inline constexpr char kSortByName[] = "N18";
inline constexpr char kSortByDescription[] = "N19";
inline constexpr char kSortByFormat[] = "B2";
inline constexpr char kListMode[] = "N28";
inline constexpr char kPreviewMode[] = "N29";
inline constexpr char kThumbnailsListMode[] = "N30";
inline constexpr char kThumbnailsPreviewMode[] = "N31";
inline constexpr char kShowThumbnails[] = "N27";
inline constexpr char kWallpaperCenter[] = "N21";
inline constexpr char kWallpaperTile[] = "N22";
inline constexpr char kWallpaperStretch[] = "N23";
inline constexpr char kWallpaperRestore[] = "R2";
inline constexpr char kFirst[] = "MenuItem7";
inline constexpr char kPrior[] = "MenuItem8";
inline constexpr char kNext[] = "MenuItem9";
inline constexpr char kLast[] = "L3";
inline constexpr char kCopyPicture[] = "N15";
inline constexpr char kSavePictureAs[] = "MenuItem11";

// The four modes' commands, in the order of AlbumMode.
inline constexpr const char* kModes[] = {kListMode, kPreviewMode, kThumbnailsListMode,
                                         kThumbnailsPreviewMode};

// Makes every album command as an action of owner.
void make(QObject* owner);

// The six captioned buttons of the album's toolbar strip.
std::span<const skin::StripButton> toolButtons();

struct Menus {
    TsuiPopupMenu* grid = nullptr;       // the grid's pop-up menu
    TsuiPopupMenu* picture = nullptr;    // the preview picture's pop-up menu
    TsuiPopupMenu* sort = nullptr;       // the 排序 button's menu
    TsuiPopupMenu* mode = nullptr;       // the 模式 button's menu
    TsuiPopupMenu* wallpaper = nullptr;  // the wallpaper button's menu
};

// The menus, children of owner, showing owner's commands.
Menus buildMenus(QWidget* owner);

// The picture toolbar: thumbnails, the wallpaper button with its menu, stepping, copy and save.
void fillPictureToolBar(QToolBar* bar, const QObject* owner, TsuiPopupMenu* wallpaperMenu);

} // namespace album::commands
