// The main window with every window of the program: menus, the category switch, the view
// toggles, help, compaction and the close that writes the settings file.
#include "support/Commands.h"
#include "support/ProgramFolder.h"

#include "album/AlbumGrid.h"
#include "album/AlbumPane.h"
#include "album/View.h"
#include "app/HelpWindow.h"
#include "app/Main.h"
#include "app/About.h"
#include "album/OutPIC.h"
#include "exchange/OutTXT.h"
#include "exchange/InTXT.h"
#include "app/PictureCommands.h"
#include "app/ProgramWindows.h"
#include "skin/TsuiFontComboBox.h"
#include "book/Load.h"
#include "book/TextPane.h"
#include "clipmon/Show.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/FileChooser.h"
#include "platform/Viewers.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiMenus.h"
#include "skin/TsuiStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QBuffer>
#include <QImage>
#include <QProgressBar>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>

using testing_support::ProgramFolder;

namespace {

class MainMenuTest : public ::testing::Test {
protected:
    MainMenuTest()
    {
        testing_support::addEntry(folder.storePath(), "甲", {"1"});
        windows = std::make_unique<app::ProgramWindows>(folder.program(), clock, clipboard);
        main().setUrlOpener([this](const QUrl& url) { opened << url.toString(); });
        // A desktop with a viewer for the help file, which the folder holds.
        useViewers(platform::kHelpFileTypes);
        QFile help(folder.file("Help.chm"));
        EXPECT_TRUE(help.open(QIODevice::WriteOnly) && help.write("ITSF") == 4);
    }
    void useViewers(const QStringList& types)
    {
        windows->setViewers(std::make_unique<platform::FakeViewers>(types));
    }
    TForm1& main() { return windows->main(); }
    // The windows besides the main one: its dialogs and the clipboard monitor.
    QList<QWidget*> otherWindows()
    {
        windows->makeRemainingDialogs();
        QList<QWidget*> found;
        for (QDialog* dialog : main().findChildren<QDialog*>(Qt::FindDirectChildrenOnly))
            found.push_back(dialog);
        found.push_back(&windows->clipboardMonitor());
        return found;
    }
    // Reaches a command as the menu does: its action, found by its id, triggered.
    void trigger(const char* command)
    {
        QAction* action = main().findChild<QAction*>(QString::fromLatin1(command), Qt::FindDirectChildrenOnly);
        ASSERT_NE(action, nullptr) << command;
        ASSERT_TRUE(action->isEnabled()) << command;
        action->trigger();
    }
    QAction* item(const QString& menu, const QString& caption)
    {
        for (QAction* top : main().mainMenu().actions())
            if (top->text() == menu)
                for (QAction* action : top->menu()->actions())
                    if (action->text() == caption)
                        return action;
        return nullptr;
    }

    ProgramFolder folder;
    skin::RecordingSink messages;
    platform::FakeClock clock{0, 50};
    platform::FakeClipboard clipboard;
    std::unique_ptr<app::ProgramWindows> windows;
    QStringList opened;
};

// Each menu shows the commands it should, and each command opens its own window: an item or a
// command wired to another fails here.
TEST_F(MainMenuTest, EveryItemRunsItsOwnCommand)
{
    QStringList menus;
    for (QAction* top : main().mainMenu().actions())
        menus << testing_support::menuCommands(top->menu()).join(u' ');
    EXPECT_EQ(menus, (QStringList{"导入(&I)[N25] 导出(&O)[T2 G1] - M1 N1 - E1", "S1 B1 - T1 G2 W1 - FullTextSearch",
                                  "N9 - X1 L1 - A1"}));
    // Each dialog is made at the command's first run; the window shown must be the main window's
    // one dialog of that kind.
    using Finder = std::function<QWidget*()>;
    TForm1& owner = windows->main();
    const std::pair<const char*, Finder> opens[] = {
        {"N25", [&owner] { return owner.findChild<TForm16*>(); }},
        {"T2", [&owner] { return owner.findChild<TForm15*>(); }},
        {"G1", [&owner] { return owner.findChild<TForm17*>(); }},
        {"A1", [&owner] { return owner.findChild<TForm12*>(); }}};
    for (int round = 0; round < 2; ++round) {
        for (const auto& [command, find] : opens) {
            QPointer<QWidget> shown;
            QTimer::singleShot(0, &main(), [&shown] {
                shown = QApplication::activeModalWidget();
                if (shown)
                    shown->close();
            });
            trigger(command);
            QCoreApplication::processEvents();  // the timer has run, whether a window opened or not
            ASSERT_NE(find(), nullptr) << command;
            EXPECT_EQ(shown, find()) << command;
        }
    }
    trigger("N1");
    EXPECT_TRUE(windows->clipboardMonitor().isVisible());
}

// The monitor window is made when first asked for, yet shows every copy made since the start,
// and none after the main window has left the clipboard.
TEST_F(MainMenuTest, TheClipboardIsFollowedBeforeTheMonitorIsMade)
{
    clipboard.setText(QStringLiteral("先复制的"));
    clipboard.setText(QStringLiteral("后复制的"));
    const auto monitorsMade = [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<TForm8*>(w); });
    };
    EXPECT_EQ(monitorsMade(), 0);
    TForm8& monitor = windows->clipboardMonitor();
    EXPECT_EQ(monitorsMade(), 1);
    EXPECT_EQ(monitor.history().fillLevel(), 2);
    EXPECT_EQ(monitor.textView(2)->toPlainText(), QStringLiteral("先复制的"));
    main().close();
    clipboard.setText(QStringLiteral("关闭之后"));
    EXPECT_EQ(monitor.textView(1)->toPlainText(), QStringLiteral("后复制的"));
}

// The category icons switch the book on a left click only.
TEST_F(MainMenuTest, OnlyALeftClickOnACategoryIconSwitchesTheBook)
{
    QLabel* album = nullptr;
    for (QLabel* label : main().findChildren<QLabel*>())
        if (label->toolTip() == QStringLiteral("图片册"))
            album = label;
    ASSERT_NE(album, nullptr);
    QTest::mouseClick(album, Qt::RightButton);
    QTest::mouseClick(album, Qt::MiddleButton);
    EXPECT_TRUE(main().showingMaterialsBook());
    QTest::mouseClick(album, Qt::LeftButton);
    EXPECT_FALSE(main().showingMaterialsBook());
}

TEST_F(MainMenuTest, MenusCarryTheirCaptionsShortcutsAndCheckMarks)
{
    QStringList tops;
    for (QAction* top : main().mainMenu().actions())
        tops << top->text();
    EXPECT_EQ(tops, (QStringList{" 文件(&F)", " 查看(&V)", " 帮助(&H)"}));
    EXPECT_EQ(item(" 文件(&F)", "监视剪贴板(&P)")->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(item(" 查看(&V)", "资料本(&T)")->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_EQ(item(" 查看(&V)", "图片册(&G)")->shortcut(), QKeySequence("Ctrl+G"));
    EXPECT_EQ(item(" 帮助(&H)", "目录(&C)")->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(item(" 查看(&V)", "类别栏(&S)")->isChecked());
    EXPECT_TRUE(item(" 查看(&V)", "状态栏(&B)")->isChecked());
    EXPECT_TRUE(item(" 查看(&V)", "资料本(&T)")->isChecked());
    EXPECT_FALSE(item(" 查看(&V)", "图片册(&G)")->isChecked());
    EXPECT_FALSE(item(" 查看(&V)", "文章集(&W)")->isVisible());
    EXPECT_FALSE(item(" 文件(&F)", "压缩数据库(&R)")->icon().isNull());
}

TEST_F(MainMenuTest, CategorySwitchMovesMarkerChecksPaneAndStatusText)
{
    trigger("G2");
    EXPECT_EQ(main().categoryMarker().y(), 81);
    EXPECT_TRUE(item(" 查看(&V)", "图片册(&G)")->isChecked());
    EXPECT_FALSE(item(" 查看(&V)", "资料本(&T)")->isChecked());
    EXPECT_FALSE(main().showingMaterialsBook());
    EXPECT_EQ(main().statusBar().panelText(2), "图片册：适用于BMP、JPG、JPEG格式的图片");

    trigger("T1");
    EXPECT_EQ(main().categoryMarker().y(), 25);
    EXPECT_TRUE(item(" 查看(&V)", "资料本(&T)")->isChecked());
    EXPECT_FALSE(item(" 查看(&V)", "图片册(&G)")->isChecked());
    EXPECT_TRUE(main().showingMaterialsBook());
    EXPECT_EQ(main().statusBar().panelText(2), "资料本：适用于仅包含文字、字母、符号的纯文本");
}

TEST_F(MainMenuTest, ShortcutKeysReachTheirCommands)
{
    main().show();
    QApplication::setActiveWindow(&main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    QTest::keyClick(&main(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(main().showingMaterialsBook());
    QTest::keyClick(&main(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(main().showingMaterialsBook());
    QTest::keyClick(&main(), Qt::Key_F1);
    EXPECT_EQ(opened, QStringList{QUrl::fromLocalFile(folder.file("Help.chm")).toString()});
}

TEST_F(MainMenuTest, TheAlbumExportItemOpensTheAlbumExportDialogModally)
{
    QAction* albumExport = item(" 文件(&F)", "导出(&O)");
    ASSERT_NE(albumExport, nullptr);
    ASSERT_EQ(albumExport->menu()->actions().size(), 2);
    EXPECT_EQ(albumExport->menu()->actions().at(1)->text(), "图片册(&G)");
    QString shown;
    QTimer::singleShot(0, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            shown = dialog->windowTitle();
            dialog->close();
        }
    });
    trigger("G1");
    EXPECT_EQ(shown, "导出图片册");
}

// The picture menu's copy and save reach the main window's commands; without a picture each
// tells so, with one the picture lands on the clipboard or in the chosen file.
TEST_F(MainMenuTest, PictureCopyAndSaveTellWhenThereIsNoPictureAndWorkWhenThereIs)
{
    auto pictureCommand = [this](const QString& caption) {
        for (QAction* action : main().albumPane().pictureMenu()->actions())
            if (action->text() == caption)
                action->trigger();
    };
    pictureCommand("复制图片(&C)");
    pictureCommand("图片另存为(&S)");
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_EQ(messages.messages[0].text, "没有图片资源来进行复制！");
    EXPECT_EQ(messages.messages[1].text, "没有图片资源来进行保存！");
    EXPECT_EQ(messages.messages[1].kind, skin::MessageKind::Warning);

    testing_support::addPicture(folder.storePath(), "红.bmp", "", 0,
                                testing_support::plainBitmap(24, 16, Qt::red));
    testing_support::trigger(main().albumPane(), "MenuItem5");  // 刷新
    pictureCommand("复制图片(&C)");
    EXPECT_EQ(clipboard.image().size(), QSize(24, 16));
    platform::FakeFileChooser files;
    files.answers = {folder.file("saved")};
    windows->pictureCommands().setFileChooser(files);
    pictureCommand("图片另存为(&S)");
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].filter, "位图图像 (*.bmp)");
    EXPECT_EQ(QImage(folder.file("saved.bmp")).size(), QSize(24, 16));
    EXPECT_EQ(messages.messages.size(), 2u);
}

// The thumbnail window, made at the album's first request: over the album grid's rows, shown
// and closed by the album's modes, closed by the switch to the materials book; its menu reaches
// the main window's commands.
TEST_F(MainMenuTest, ThumbnailWindowFollowsTheAlbumModesAndLeavesWithTheMaterialsBook)
{
    album::AlbumPane& album = main().albumPane();
    trigger("G2");
    testing_support::trigger(album, "N31");  // 缩略图+预览
    TForm14& thumbnails = windows->thumbnails();
    EXPECT_TRUE(thumbnails.isVisible());
    EXPECT_EQ(thumbnails.grid()->model(), album.grid()->model());
    EXPECT_EQ(album.checkedMode(), album::AlbumMode::ThumbnailsPreview);
    thumbnails.popupMenu()->actions().at(0)->trigger();  // 复制图片 on an empty album
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "没有图片资源来进行复制！");

    trigger("T1");
    EXPECT_FALSE(thumbnails.isVisible());
    EXPECT_EQ(album.checkedMode(), album::AlbumMode::Preview);
    EXPECT_TRUE(album.previewLayout());  // kept for the next visit
}

TEST_F(MainMenuTest, HidingTheBarsLetsThePaneFillTheRoom)
{
    const QRect before = main().textPane().geometry();
    EXPECT_EQ(before.left(), 54);
    trigger("S1");
    EXPECT_FALSE(item(" 查看(&V)", "类别栏(&S)")->isChecked());
    EXPECT_EQ(main().textPane().geometry().left(), 0);
    EXPECT_EQ(main().textPane().width(), 634);  // the frame panel's width
    trigger("B1");
    EXPECT_EQ(main().textPane().height(), before.height() + 19);
    trigger("S1");
    trigger("B1");
    EXPECT_EQ(main().textPane().geometry(), before);
}

TEST_F(MainMenuTest, HelpItemsHandTheirTargetsToTheDesktop)
{
    trigger("N9");
    trigger("X1");
    trigger("L1");
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(folder.file("Help.chm")).toString());
    EXPECT_TRUE(opened[1].startsWith("https://"));
    EXPECT_TRUE(opened[2].startsWith("mailto:"));
}

// Without a viewer for the help file, or without the file, the help command shows the pages
// built into the program instead of handing the file over.
TEST_F(MainMenuTest, HelpWithoutAViewerShowsTheHelpWindowAtItsFirstTopic)
{
    useViewers({});
    trigger("N9");
    EXPECT_TRUE(opened.isEmpty());
    app::HelpWindow& help = windows->help();
    ASSERT_TRUE(help.isVisible());
    EXPECT_TRUE(help.windowTitle().contains("帮助"));
    EXPECT_EQ(help.currentPage(), app::helpPageUrl("html/index.htm"));
    EXPECT_TRUE(help.pageText().contains("欢迎使用墨舟札记"));
    help.close();

    // Only the alias of the type is registered: that viewer takes the file.
    useViewers({"application/x-chm"});
    trigger("N9");
    EXPECT_EQ(opened, QStringList{QUrl::fromLocalFile(folder.file("Help.chm")).toString()});
    EXPECT_FALSE(help.isVisible());

    QFile::remove(folder.file("Help.chm"));
    useViewers(platform::kHelpFileTypes);
    trigger("N9");
    EXPECT_EQ(opened.size(), 1) << "a missing help file went to the viewer";
    EXPECT_TRUE(help.isVisible());
}

TEST_F(MainMenuTest, ClosingWritesTheSettingsFileFromTheReadingWindowsPickers)
{
    windows->reading().fontSizePicker()->setFontSize(12);
    main().show();
    EXPECT_TRUE(main().close());
    EXPECT_EQ(testing_support::readBytes(folder.file("quillo.ini")),
              QByteArray("[Font]\r\nFontName=\xCB\xCE\xCC\xE5\r\nFontSize=12\r\n"));  // 宋体 in GB18030
}

// The reading window is made at its first opening; closing before that writes the font as read
// at start, in the screen's spelling of the family.
TEST_F(MainMenuTest, ClosingBeforeTheReadingWindowIsMadeWritesTheFontReadAtStart)
{
    const QByteArray written = "[Font]\r\nFontName=dejavu sans\r\nFontSize=14\r\n";
    QFile settings(folder.file("quillo.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    ASSERT_EQ(settings.write(written), written.size());
    settings.close();
    windows = std::make_unique<app::ProgramWindows>(folder.program(), clock, clipboard);
    EXPECT_EQ(main().findChild<TForm5*>(), nullptr);
    main().show();
    EXPECT_TRUE(main().close());
    EXPECT_EQ(testing_support::readBytes(folder.file("quillo.ini")),
              QByteArray("[Font]\r\nFontName=DejaVu Sans\r\nFontSize=14\r\n"));
}

TEST_F(MainMenuTest, SettingsFileThatCannotBeWrittenKeepsTheWindowOpen)
{
    QDir(folder.path()).mkdir(QStringLiteral("quillo.ini"));  // a folder in the file's place
    main().show();
    EXPECT_FALSE(main().close());
    EXPECT_TRUE(main().isVisible());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::ErrorReport);
}

TEST_F(MainMenuTest, CompactionReplacesTheStoreTellsAndCloses)
{
    main().show();
    trigger("M1");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "压缩数据库成功！请重新启动软件！");
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::Information);
    EXPECT_FALSE(main().isVisible());
    EXPECT_TRUE(QFileInfo::exists(folder.storePath()));
    EXPECT_FALSE(QFileInfo::exists(folder.file("Data/current1.mdb")));
    testing_support::addEntry(folder.storePath(), "乙", {"still a store"});
}

TEST_F(MainMenuTest, LeftoverCopyMakesCompactionFailWithTheStoreUntouched)
{
    QFile leftover(folder.file("Data/current1.mdb"));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write("left from an earlier try");
    leftover.close();
    const QByteArray before = testing_support::readBytes(folder.storePath());
    main().show();
    trigger("M1");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "压缩数据库失败！请重新启动软件！");
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::Stop);
    EXPECT_EQ(testing_support::readBytes(folder.storePath()), before);
    EXPECT_FALSE(main().isVisible());
}

} // namespace

// Each window's outer size, title bar and border strips included.
TEST_F(MainMenuTest, EveryWindowHasItsOuterSize)
{
    const std::map<QString, QSize> sizes = {
        {"TForm2", {438, 410}},  {"TForm3", {320, 160}},  {"TForm4", {288, 160}},
        {"TForm5", {536, 360}},  {"TForm6", {320, 172}},  {"TForm7", {424, 304}},
        {"TForm8", {208, 360}},  {"TForm9", {304, 160}},  {"TForm10", {280, 200}},
        {"TForm13", {320, 172}}, {"TForm15", {384, 184}}, {"TForm16", {384, 200}},
        {"TForm17", {440, 240}}};
    EXPECT_EQ(main().size(), QSize(640, 478));
    std::set<QString> seen;
    for (QWidget* window : otherWindows()) {
        const QString name = QString::fromLatin1(window->metaObject()->className());
        const auto size = sizes.find(name);
        if (size == sizes.end())
            continue;  // the About window sizes itself to its picture
        seen.insert(name);
        EXPECT_EQ(window->size(), size->second) << name.toStdString();
    }
    EXPECT_EQ(seen.size(), sizes.size());
}

// Every framed window shows its controls whole, between the title bar and the bottom border,
// and none covers another; a progress bar counts although it shows only while work runs.
TEST_F(MainMenuTest, EveryWindowsContentLiesBelowItsTitleBarAndInsideItsPanel)
{
    int checked = 0;
    for (QWidget* window : otherWindows()) {
        auto* frame = window->findChild<TsuiForm*>(QString(), Qt::FindDirectChildrenOnly);
        if (!frame)
            continue;  // the About window has no frame
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_EQ(window->size(), frame->windowSizeFor(frame->size())) << window->windowTitle().toStdString();
        const std::string name = window->metaObject()->className();
        QList<QRect> placed;
        for (QWidget* control : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const bool shown = !control->isHidden() || qobject_cast<QProgressBar*>(control);
            if (control == frame->titleBar() || !shown || control->isWindow())
                continue;
            const QRect r = control->geometry();
            EXPECT_GE(r.top(), frame->clientTop()) << name;
            EXPECT_GE(r.left(), 0) << name;
            EXPECT_LE(r.bottom(), frame->height() - 1) << name;
            EXPECT_LE(r.right(), frame->width() - 1) << name;
            for (const QRect& other : placed)
                EXPECT_FALSE(r.intersects(other)) << name << ": " << control->metaObject()->className();
            placed.push_back(r);
        }
        window->hide();
        ++checked;
    }
    EXPECT_EQ(checked, 14);  // the full-text search dialog is the fourteenth
}
