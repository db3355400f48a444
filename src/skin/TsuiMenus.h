// Skinned menus: the main menu's bar with its drop-down menus, and pop-up menus. Every item is
// measured and drawn by the skin from the menu's values, which a style change sets.
#pragma once

#include "ControlStyle.h"

#include <QMenu>
#include <QMenuBar>
#include <memory>
#include <vector>

namespace skin {

class MenuStyle;

// The pictures a menu draws its items' marks and icons from.
struct ImageList {
    std::vector<QImage> pictures;
};
// A list holding the check mark "MENU_CHECKED", white made transparent.
std::unique_ptr<ImageList> makeCheckMarkList();
// The one such list all pop-up menus share, made on first use.
const ImageList& sharedCheckMarkList();

// What a skinned menu draws with. A new menu starts with these; the style it is created in
// then sets most of them.
struct MenuValues {
    int MenuItemHeight = 21;
    int SeparatorHeight = 21;
    int BarWidth = 0;
    TColor BarColor = clBtnFace;
    TColor Color = clWhite;
    TColor SeparatorColor = 8421504;
    TColor SelectedBorderColor = clHighlight;
    TColor SelectedColor = clHighlight;
    TColor SelectedFontColor = clWhite;
    TColor FontColor = clWhite;
    // The bar of a main menu: its colour and height come from the frame that shows it.
    TColor MenuBarColor = 14609391;
    int MenuBarHeight = 22;
};

// The values, the style and the drawing shared by TsuiMainMenu and TsuiPopupMenu.
class SkinnedMenu : public StyledControl {
public:
    SkinnedMenu(const SkinnedMenu&) = delete;
    SkinnedMenu& operator=(const SkinnedMenu&) = delete;

    // The effective style after resolving FromThemeFile.
    TsuiUIStyle drawingStyle() const { return style_.resolved().style; }

    const MenuValues& values() const { return values_; }
    // Fixed while the style is MacOS.
    void setMenuItemHeight(int height);

    // Colour and height of the bar a main menu shows in; the frame sets them.
    void setMenuBar(TColor color, int height)
    {
        change([&] {
            values_.MenuBarColor = color;
            values_.MenuBarHeight = height;
        });
    }
    // A value of the menu's style, from the theme when the style is FromThemeFile.
    TColor styleColor(StyleEntry entry) const { return style_.color(entry); }

    // The item icons' list: empty while the menu's own check-mark list is in use; assigning
    // no list puts that one back.
    const ImageList* Images() const { return images_ == checkMarks_ ? nullptr : images_; }
    void setImages(const ImageList* list) { images_ = list ? list : checkMarks_; }
    // The check mark drawn beside checked items without an icon.
    QImage checkMark() const { return checkMarks_->pictures.front(); }

    // The font items are drawn with: the menu's own font.
    static QFont itemFont(const QWidget* menu) { return menu ? menu->font() : QFont(); }

protected:
    // checkMarks: the list holding the check mark, which outlives the menu.
    SkinnedMenu(QWidget* menu, const ImageList* checkMarks);
    // Gives a drop-down menu (and, when it opens, its own submenus) this menu's drawing.
    void adopt(QMenu* menu);

private:
    void applyStyle();
    template <typename Change>
    void change(Change&& set)
    {
        set();
        relayout();
    }
    void relayout();

    QWidget* menu_;
    const ImageList* checkMarks_;
    const ImageList* images_;
    MenuValues values_;
    MenuStyle* menuStyle_;
};

} // namespace skin

class TsuiPopupMenu : public QMenu, public skin::SkinnedMenu {
    Q_OBJECT
public:
    explicit TsuiPopupMenu(QWidget* parent);

protected:
    void actionEvent(QActionEvent*) override;
};

// The main menu, shown by the frame panel that makes it in its menu bar.
class TsuiMainMenu : public QMenuBar, public skin::SkinnedMenu {
    Q_OBJECT
public:
    explicit TsuiMainMenu(QWidget* parent);

protected:
    void actionEvent(QActionEvent*) override;

private:
    TsuiMainMenu(QWidget* parent, std::unique_ptr<skin::ImageList> checkMarks);
    std::unique_ptr<skin::ImageList> ownCheckMarks_;
};
