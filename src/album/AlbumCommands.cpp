#include "AlbumCommands.h"

#include "AlbumIcons.h"
#include "skin/Commands.h"
#include "skin/TsuiMenus.h"

#include <QToolBar>
#include <QToolButton>

namespace album::commands {

namespace {

const skin::CommandEntry kCommands[] = {
    {kAdd, "添加(&I)"},
    {kDelete, "删除(&D)"},
    {kRefresh, "刷新(&R)"},
    {kSearch, "搜索(&S)"},
    {kSortButton, "排序"},
    {kModeButton, "模式"},
    {kSortByName, "按图片名称(&N)"},
    {kSortByDescription, "按图片描述(&B)"},
    {kSortByFormat, "按图片格式(&F)"},
    {kListMode, "列表(&L)", nullptr, nullptr, true},
    {kPreviewMode, "预览(&P)", nullptr, nullptr, true},
    {kThumbnailsListMode, "缩略图+列表(&T)", nullptr, nullptr, true},
    {kThumbnailsPreviewMode, "缩略图+预览(&U)", nullptr, nullptr, true},
    {kShowThumbnails, "显示缩略图(&A)", nullptr, "显示缩略图"},
    {kWallpaperCenter, "居中(&M)"},
    {kWallpaperTile, "平铺(&T)"},
    {kWallpaperStretch, "拉伸(&E)"},
    {kWallpaperRestore, "还原(&R)"},
    {kFirst, "第一张图片(&F)", nullptr, "第一张图片"},
    {kPrior, "上一张图片(&P)", nullptr, "上一张图片"},
    {kNext, "下一张图片(&N)", nullptr, "下一张图片"},
    {kLast, "末一张图片(&L)", nullptr, "末一张图片"},
    {kCopyPicture, "复制图片(&C)", nullptr, "复制图片到剪贴板"},
    {kSavePictureAs, "图片另存为(&S)", nullptr, "图片另存为"},
};

// The icons of the album's icon list that the commands show in menus and toolbars.
struct CommandIcon {
    const char* id;
    int icon;
};
const CommandIcon kIcons[] = {
    {kAdd, 1},  {kDelete, 2},  {kRefresh, 3},  {kSearch, 4},       {kSortButton, 5},
    {kModeButton, 13}, {kShowThumbnails, 15}, {kFirst, 8}, {kPrior, 6}, {kNext, 7},
    {kLast, 9}, {kCopyPicture, 12}, {kSavePictureAs, 11},
};

const skin::StripButton kToolButtons[] = {
    {8, 56, "添加", "添加一张新的图片", kAdd},
    {64, 56, "删除", "删除选定的一张图片", kDelete},
    {120, 56, "刷新", "显示所有图片", kRefresh},
    {176, 56, "搜索", "按条件搜索图片", kSearch},
    {232, 56, "排序", "按方式排序图片", kSortButton},
    {288, 56, "模式", "按所选模式查看图片", kModeButton},
};

const char* const kSorts[] = {kSortByName, kSortByDescription, kSortByFormat};
const char* const kWallpapers[] = {kWallpaperCenter, kWallpaperTile, kWallpaperStretch,
                                   kWallpaperRestore};

void addAll(QMenu* menu, const QObject* owner, std::span<const char* const> ids)
{
    for (const char* id : ids)
        menu->addAction(skin::command(owner, id));
}

} // namespace

void make(QObject* owner)
{
    skin::makeCommands(owner, kCommands);
    for (const CommandIcon& entry : kIcons)
        skin::command(owner, entry.id)->setIcon(albumIcon(entry.icon));
}

std::span<const skin::StripButton> toolButtons()
{
    return kToolButtons;
}

Menus buildMenus(QWidget* owner)
{
    auto command = [owner](const char* id) { return skin::command(owner, id); };
    Menus menus;
    menus.grid = new TsuiPopupMenu(owner);
    addAll(menus.grid, owner, std::initializer_list<const char*>{kAdd, kDelete});
    menus.grid->addSeparator();
    addAll(menus.grid, owner, std::initializer_list<const char*>{kRefresh, kSearch});
    addAll(menus.grid->addMenu(albumIcon(5), QStringLiteral("排序(&C)")), owner, kSorts);
    menus.grid->addSeparator();
    addAll(menus.grid->addMenu(albumIcon(13), QStringLiteral("模式(&M)")), owner, kModes);

    menus.sort = new TsuiPopupMenu(owner);
    addAll(menus.sort, owner, kSorts);
    menus.mode = new TsuiPopupMenu(owner);
    addAll(menus.mode, owner, kModes);
    menus.wallpaper = new TsuiPopupMenu(owner);
    addAll(menus.wallpaper, owner, kWallpapers);

    menus.picture = new TsuiPopupMenu(owner);
    menus.picture->addAction(command(kShowThumbnails));
    addAll(menus.picture->addMenu(albumIcon(10), QStringLiteral("设为墙纸(&W)")), owner, kWallpapers);
    menus.picture->addSeparator();
    addAll(menus.picture, owner, std::initializer_list<const char*>{kFirst, kPrior, kNext, kLast});
    menus.picture->addSeparator();
    addAll(menus.picture, owner, std::initializer_list<const char*>{kCopyPicture, kSavePictureAs});
    return menus;
}

void fillPictureToolBar(QToolBar* bar, const QObject* owner, TsuiPopupMenu* wallpaperMenu)
{
    auto* gap = new QWidget(bar);
    gap->setFixedWidth(8);
    bar->addWidget(gap);
    bar->addAction(skin::command(owner, kShowThumbnails));
    auto* wallpaper = new QToolButton(bar);
    wallpaper->setIcon(albumIcon(10));
    wallpaper->setToolTip(QStringLiteral("设为墙纸"));
    wallpaper->setAutoRaise(true);
    wallpaper->setMenu(wallpaperMenu);
    wallpaper->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(wallpaper);
    bar->addSeparator();
    for (const char* id : {kFirst, kPrior, kNext, kLast})
        bar->addAction(skin::command(owner, id));
    bar->addSeparator();
    for (const char* id : {kCopyPicture, kSavePictureAs})
        bar->addAction(skin::command(owner, id));
}

} // namespace album::commands
