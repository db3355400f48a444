// Skinned menus: item sizes, the style values and what an item draws.
#include "ThemeFileBuilder.h"
#include "skin/Controls.h"
#include "skin/FileTheme.h"
#include "skin/SkinPainting.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace skin;

namespace {

struct Window {
    QWidget window;
    TsuiForm* form = new TsuiForm(&window);
};

QImage grabbed(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int countColor(const QImage& image, QRect within, QColor color)
{
    int count = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            count += image.pixelColor(x, y) == color ? 1 : 0;
    return count;
}

} // namespace

TEST(Menus, StyleSetsTheMenuValues)
{
    Window w;
    TsuiPopupMenu menu(w.form);
    const MenuValues& v = menu.values();
    EXPECT_EQ(v.MenuItemHeight, 21);
    EXPECT_EQ(v.SeparatorHeight, 5);
    EXPECT_EQ(v.BarWidth, 26);
    EXPECT_EQ(v.BarColor, 13554646);
    EXPECT_EQ(v.Color, 16777215);
    EXPECT_EQ(v.SeparatorColor, 8684164);
    EXPECT_EQ(v.SelectedBorderColor, 13003057);
    EXPECT_EQ(v.SelectedColor, 15717318);
    EXPECT_EQ(v.SelectedFontColor, 0);
    EXPECT_EQ(v.FontColor, 0);

    menu.setUIStyle(TsuiUIStyle::MacOS);
    EXPECT_EQ(v.MenuItemHeight, 20);
    EXPECT_EQ(v.SeparatorHeight, 12);
    EXPECT_EQ(v.SeparatorColor, 0);
    EXPECT_EQ(v.SelectedFontColor, 16777215);
    menu.setMenuItemHeight(30);
    EXPECT_EQ(v.MenuItemHeight, 20) << "fixed while the style is MacOS";
    menu.setUIStyle(TsuiUIStyle::DeepBlue);
    menu.setMenuItemHeight(30);
    EXPECT_EQ(v.MenuItemHeight, 30);
    EXPECT_EQ(v.SelectedColor, 10504772);
}

TEST(Menus, SeparatorsAreFivePixelsHighAndItemsTwentyOne)
{
    Window w;
    TsuiPopupMenu menu(w.form);
    QAction* open = menu.addAction(QStringLiteral("读取(&L)"));
    QAction* separator = menu.addSeparator();
    QAction* dash = menu.addAction(QStringLiteral("-"));
    QAction* dashText = menu.addAction(QStringLiteral("-x"));
    EXPECT_EQ(menu.actionGeometry(open).height(), 21);
    EXPECT_EQ(menu.actionGeometry(separator).height(), 5);
    EXPECT_EQ(menu.actionGeometry(dash).height(), 5);
    EXPECT_EQ(menu.actionGeometry(dashText).height(), 21);
}

TEST(Menus, ItemWidthIsTextBarAndForty)
{
    Window w;
    TsuiPopupMenu menu(w.form);
    QAction* item = menu.addAction(QStringLiteral("刷新(&R)"));
    EXPECT_EQ(menu.actionGeometry(item).width(),
              captionWidth(menu.font(), QStringLiteral("刷新(&R)")) + 26 + 40);
}

TEST(Menus, HighlightedItemIsFilledAndFramed)
{
    Window w;
    TsuiPopupMenu menu(w.form);
    QAction* first = menu.addAction(QStringLiteral("读取(&L)"));
    QAction* disabled = menu.addAction(QStringLiteral("删除(&D)"));
    disabled->setEnabled(false);
    menu.adjustSize();
    menu.setActiveAction(first);
    QImage shot = grabbed(&menu);
    const QRect r = menu.actionGeometry(first);
    EXPECT_EQ(shot.pixelColor(r.left(), r.top() + 10), QColor(49, 105, 198)) << "the frame covers the bar";
    EXPECT_EQ(shot.pixelColor(r.left() + 10, r.top() + 1), QColor(198, 211, 239));
    EXPECT_GT(countColor(shot, r.adjusted(30, 2, -2, -2), Qt::black), 5);

    // A disabled item is never highlighted and its text is grey.
    menu.setActiveAction(disabled);
    shot = grabbed(&menu);
    const QRect d = menu.actionGeometry(disabled);
    EXPECT_EQ(shot.pixelColor(d.left() + 10, d.top() + 1), QColor(214, 211, 206)) << "the bar strip";
    EXPECT_EQ(shot.pixelColor(d.right() - 3, d.top() + 1), QColor(Qt::white));
    EXPECT_GT(countColor(shot, d.adjusted(30, 2, -2, -2), QColor(128, 128, 128)), 5);
    EXPECT_EQ(countColor(shot, d.adjusted(30, 2, -2, -2), Qt::black), 0);
}

TEST(Menus, CheckedItemsShowTheMarkOrAFramedIcon)
{
    Window w;
    TsuiPopupMenu menu(w.form);
    QAction* plain = menu.addAction(QStringLiteral("资料本"));
    plain->setCheckable(true);
    plain->setChecked(true);
    QPixmap icon(16, 16);
    icon.fill(QColor(200, 30, 30));
    QAction* withIcon = menu.addAction(QIcon(icon), QStringLiteral("图片册"));
    withIcon->setCheckable(true);
    withIcon->setChecked(true);
    menu.adjustSize();
    const QImage shot = grabbed(&menu);

    const QRect p = menu.actionGeometry(plain);
    const QImage mark = skinPicture("MENU_CHECKED");
    int blackInMark = 0, blackDrawn = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (mark.pixelColor(x, y) == Qt::black) {
                ++blackInMark;
                blackDrawn += shot.pixelColor(p.left() + 4 + x, p.top() + 3 + y) == Qt::black ? 1 : 0;
            }
    EXPECT_GT(blackInMark, 10);
    EXPECT_EQ(blackDrawn, blackInMark);

    const QRect i = menu.actionGeometry(withIcon);
    EXPECT_EQ(shot.pixelColor(i.left() + 2, i.top() + 1), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(i.left() + 20, i.top() + 19), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(i.left() + 3, i.top() + 2), QColor(198, 211, 239));
    EXPECT_EQ(shot.pixelColor(i.left() + 10, i.top() + 10), QColor(200, 30, 30));
}

TEST(Menus, MainMenuDrawsItsDropDownsItself)
{
    Window w;
    auto* bar = w.form->createMenu();
    QMenu* file = bar->addMenu(QStringLiteral(" 文件(&F)"));
    QAction* quit = file->addAction(QStringLiteral("退出(&E)"));
    file->addSeparator();
    EXPECT_EQ(file->style(), bar->style());
    EXPECT_EQ(file->actionGeometry(quit).height(), 21);
    QMenu* sub = file->addMenu(QStringLiteral("更多"));
    QMetaObject::invokeMethod(file, "aboutToShow");
    EXPECT_EQ(sub->style(), bar->style());
    EXPECT_EQ(bar->sizeHint().height(), 22);
}

TEST(Menus, UnderAThemeTheBarAndTheFramesTakeTheThemesColours)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("green.thm"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(testing_support::ThemeFileBuilder()
                   .integer("FormBackgroundColor", rgbColor(20, 160, 40))
                   .integer("ControlBorderColor", rgbColor(200, 10, 10))
                   .integer("MenuSelectedFontColor", 0)
                   .build());
    file.close();
    TsuiFileTheme theme;
    theme.setThemeFile(path);
    ASSERT_TRUE(theme.isOpened());

    Window w;
    w.window.resize(400, 300);
    auto* bar = w.form->createMenu();
    QMenu* file1 = bar->addMenu(QStringLiteral(" 文件(&F)"));
    file1->addAction(QStringLiteral("退出(&E)"));
    w.form->setFileTheme(&theme);
    w.form->setUIStyle(TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(bar->UIStyle(), TsuiUIStyle::FromThemeFile);
    EXPECT_EQ(bar->FileTheme(), &theme);
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    EXPECT_EQ(grabbed(bar).pixelColor(bar->width() - 5, 10), QColor(20, 160, 40));
    const QImage menu = grabbed(file1);
    EXPECT_EQ(menu.pixelColor(0, menu.height() / 2), QColor(200, 10, 10));
}

TEST(Menus, MainMenuOwnsItsCheckMarkListAndPopupsShareOne)
{
    Window w;
    TsuiMainMenu bar(w.form);
    TsuiPopupMenu first(w.form), second(w.form);
    EXPECT_EQ(bar.Images(), nullptr);
    EXPECT_EQ(first.checkMark(), second.checkMark());
    const QImage mark = bar.checkMark();
    EXPECT_EQ(mark.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(mark.pixel(0, 0)), 0);  // white is transparent
    skin::ImageList icons;
    bar.setImages(&icons);
    EXPECT_EQ(bar.Images(), &icons);
    bar.setImages(nullptr);
    EXPECT_EQ(bar.Images(), nullptr);
}

TEST(Menus, CaptionAndShortcutStandOnOneBaselineWellInsideTheItem)
{
    Window w;
    TsuiPopupMenu menu(w.form);
    QAction* item = menu.addAction(QStringLiteral("监视剪贴板(&P)"));
    item->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    menu.popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    const QRect r = menu.actionGeometry(item);
    const QImage shown = grabbed(&menu);
    // The lowest dark pixel of the caption (its access-key underline or glyph bottoms) and of
    // the short-cut text.
    auto lowestDark = [&](int left, int right) {
        int lowest = -1;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = left; x < right; ++x)
                if (shown.pixelColor(x, y).lightness() < 100)
                    lowest = y;
        return lowest;
    };
    const int caption = lowestDark(r.left() + 30, r.left() + 30 + 80);
    const int shortcut = lowestDark(r.right() - 60, r.right() - 10);
    ASSERT_GT(caption, 0);
    ASSERT_GT(shortcut, 0);
    EXPECT_LE(caption, r.bottom() - 3);
    EXPECT_LE(std::abs(caption - shortcut), 2);
    menu.hide();
}
