// The main window: main menu, category bar, the pane of the current book, status bar. It owns
// the store's two long-lived queries and the title list.
#pragma once

#include "About.h"
#include "book/TitleList.h"
#include "platform/ProgramFolder.h"
#include "store/Query.h"

#include <QColor>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class TImage;
class TsuiForm;
class TsuiMainMenu;
class TsuiMessageDialog;
class TsuiStatusBar;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm8;
class TForm12;
class TForm15;
class TForm16;
class TForm17;
class TFullTextForm;

namespace album {
class AlbumPane;
enum class WallpaperStyle;
}
namespace book {
class TextPane;
}
namespace platform {
class Clipboard;
class Desktop;
class TickClock;
}

class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 640;
    static constexpr int kClientHeight = 478;
    // The album grid's fixed-area colour when Left.bmp cannot give one.
    static inline const QColor kDefaultFixedColor{198, 211, 239};

    // The windows created after this one that its commands open.
    struct Windows {
        TForm2* addEntry = nullptr;
        TForm3* deleteEntry = nullptr;
        TForm4* searchTitles = nullptr;
        TForm5* reading = nullptr;
        TForm6* overwrite = nullptr;
        TForm8* clipboardMonitor = nullptr;
        TForm12* about = nullptr;
        TForm15* exportBook = nullptr;
        TForm16* importBook = nullptr;
        TForm17* exportAlbum = nullptr;
        TFullTextForm* fullTextSearch = nullptr;
    };

    TForm1(platform::ProgramFolder folder, platform::TickClock& clock,
           platform::Clipboard& clipboard);

    void setWindows(const Windows& windows) { windows_ = windows; }
    void setUrlOpener(app::UrlOpener opener) { openUrl_ = std::move(opener); }

    const platform::ProgramFolder& programFolder() const { return folder_; }
    book::TitleList& titles() { return titles_; }
    // The store's two long-lived queries, which the windows made after this one act on.
    store::Query& textQuery() { return ADOQuery1; }
    store::Query& pictureQuery() { return ADOQuery2; }
    book::TextPane& textPane() { return *TextPane1; }
    album::AlbumPane& albumPane() { return *AlbumPane1; }
    QWidget& categoryMarker() { return *Image2; }
    TsuiStatusBar& statusBar() { return *suiStatusBar1; }
    TsuiMainMenu& mainMenu() { return *MainMenu1; }
    QColor albumFixedColor() const { return albumFixedColor_; }

    // The wake-up from a second start: restore when minimised, else come to the front.
    void wakeUp();

    // Commands of the title list that open other windows.
    void openReadingWindow(const QString& title);
    void showAddEntryDialog();
    void showDeleteEntryDialog(int position, const QString& question);
    void showSearchTitlesDialog();

    // Main menu.
    void N25Click();  // 导入 → 资料本
    void T2Click();   // 导出 → 资料本
    void G1Click();   // 导出 → 图片册
    void M1Click();   // 压缩数据库
    void N1Click();   // 监视剪贴板
    void E1Click();   // 退出
    void S1Click();   // 类别栏
    void B1Click();   // 状态栏
    void T1Click();   // 资料本: switch to the materials book
    void G2Click();   // 图片册: switch to the picture album
    void FullTextSearchClick();  // 全文搜索
    void N9Click();   // 目录: the help file
    void X1Click();   // 墨舟主页
    void L1Click();   // 联系作者
    void A1Click();   // 关于

    // Picture actions on the album's current picture.
    void N15Click();         // 复制图片
    void MenuItem11Click();  // 图片另存为
    // 居中, 平铺, 拉伸 and 还原 of the wallpaper menus.
    void setWallpaper(album::WallpaperStyle style);
    void setDesktop(platform::Desktop* desktop) { desktop_ = desktop; }
    // Writes the current picture to path in its own format (the overwrite confirmation's writer).
    void writeCurrentPicture(const QString& path);
    void setPictureSaveChooser(std::function<QString(const QString&)> chooser)
    {
        choosePictureFile_ = std::move(chooser);
    }

    bool showingMaterialsBook() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void FormCreate();
    void buildMenu();
    QAction* addCommand(QMenu* menu, const char* name, const QString& caption, void (TForm1::*handler)());
    void buildCategoryBar();
    void fetchTitlesMeanwhile();
    void buildLayout();
    void loadThemePictures();
    void readFixedAreaColor();
    void openQueries();
    void layOutPanes();
    void titleCopied();
    void CompactAndRepair();

    platform::ProgramFolder folder_;
    platform::TickClock& clock_;
    platform::Clipboard& clipboard_;
    Windows windows_;
    app::UrlOpener openUrl_ = app::openWithDesktop;
    std::function<QString(const QString& filter)> choosePictureFile_;
    platform::Desktop* desktop_ = nullptr;
    store::Query ADOQuery1;  // text query over 文本
    store::Query ADOQuery2;  // picture query over 图片
    book::TitleList titles_;
    QColor albumFixedColor_ = kDefaultFixedColor;

    TsuiForm* suiForm1 = nullptr;
    TsuiMainMenu* MainMenu1 = nullptr;
    QWidget* CategoryBar1 = nullptr;
    TImage* Image1 = nullptr;   // category bar background, Left.bmp
    QWidget* Image2 = nullptr;  // the marker behind the current book's icon
    QLabel* Image3 = nullptr;   // materials-book icon
    QLabel* Image4 = nullptr;   // picture-album icon
    QLabel* Image5 = nullptr;   // article-collection icon, never shown
    book::TextPane* TextPane1 = nullptr;
    album::AlbumPane* AlbumPane1 = nullptr;
    TsuiStatusBar* suiStatusBar1 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;
    QAction* S1 = nullptr;
    QAction* B1 = nullptr;
    QAction* T1 = nullptr;
    QAction* G2 = nullptr;
    QAction* W1 = nullptr;
    QAction* G1 = nullptr;
};
