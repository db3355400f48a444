// The main window: main menu, category bar, the pane of the current book, status bar. It opens
// the store's two long-lived queries at its creation and fills the title list. Its commands are
// actions made once under their ids (see the table in Main.cpp); those that open other windows
// are connected by the composition root (ProgramWindows).
#pragma once

#include "About.h"
#include "platform/ProgramFolder.h"

#include <QColor>
#include <QWidget>

class QLabel;
class TImage;
class TsuiForm;
class TsuiMainMenu;
class TsuiMessageDialog;
class TsuiStatusBar;

namespace album {
class AlbumPane;
}
namespace book {
class TextPane;
class TitleList;
}
namespace platform {
class TickClock;
}
namespace store {
class Query;
}

namespace app::commands {
inline constexpr char kImportBook[] = "N25";
inline constexpr char kExportBook[] = "T2";
inline constexpr char kExportAlbum[] = "G1";
inline constexpr char kCompactStore[] = "M1";
inline constexpr char kClipboardMonitor[] = "N1";
inline constexpr char kExit[] = "E1";
inline constexpr char kCategoryBar[] = "S1";
inline constexpr char kStatusBar[] = "B1";
inline constexpr char kMaterialsBook[] = "T1";
inline constexpr char kPictureAlbum[] = "G2";
inline constexpr char kArticleCollection[] = "W1";  // never shown
inline constexpr char kFullTextSearch[] = "FullTextSearch";
inline constexpr char kHelpContents[] = "N9";
inline constexpr char kHomepage[] = "X1";
inline constexpr char kContactAuthor[] = "L1";
inline constexpr char kAbout[] = "A1";
} // namespace app::commands

class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 640;
    static constexpr int kClientHeight = 478;
    // The album grid's fixed-area colour when Left.bmp cannot give one.
    static inline const QColor kDefaultFixedColor{198, 211, 239};

    // What the window shows and opens, made by the composition root. The panes become children
    // of the window's frame panel.
    struct Parts {
        platform::ProgramFolder folder;
        platform::TickClock& clock;
        store::Query& textQuery;
        store::Query& pictureQuery;
        book::TitleList& titles;
        book::TextPane& textPane;
        album::AlbumPane& albumPane;
    };

    // What closing the program does besides closing this window.
    class Closing {
    public:
        virtual ~Closing() = default;
        // Writes the settings file; throws when it cannot, and the window then stays open.
        virtual void writeSettings() = 0;
        // The clipboard is no longer followed.
        virtual void leaveClipboard() = 0;
    };

    TForm1(const Parts& parts, Closing& closing);

    void setUrlOpener(app::UrlOpener opener) { openUrl_ = std::move(opener); }
    // The help command asks this first: it shows the program's own help (true) or leaves the
    // help file to be handed to the desktop (false).
    void setOwnHelp(std::function<bool(const QString& helpFile)> show) { showOwnHelp_ = std::move(show); }

    const platform::ProgramFolder& programFolder() const { return folder_; }
    book::TextPane& textPane() const { return textPane_; }
    album::AlbumPane& albumPane() const { return albumPane_; }
    QWidget& categoryMarker() const { return *Image2; }
    TsuiStatusBar& statusBar() const { return *suiStatusBar1; }
    TsuiMainMenu& mainMenu() const { return *MainMenu1; }
    QColor albumFixedColor() const { return albumFixedColor_; }
    bool showingMaterialsBook() const;

    // The wake-up from a second start: restore when minimised, else come to the front.
    void wakeUp();
    // Comes to the front after another window took it (the clipboard monitor, say).
    void comeToFront();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void buildCommands();
    void buildMenu();
    void buildCategoryBar();
    void buildLayout();
    void FormCreate();
    void loadThemePictures();
    void readFixedAreaColor();
    void openQueries();
    void layOutPanes();
    void S1Click();  // 类别栏
    void B1Click();  // 状态栏
    void T1Click();  // 资料本: switch to the materials book
    void G2Click();  // 图片册: switch to the picture album
    void M1Click();  // 压缩数据库
    void compactStore();

    platform::ProgramFolder folder_;
    platform::TickClock& clock_;
    store::Query& ADOQuery1;  // text query over 文本
    store::Query& ADOQuery2;  // picture query over 图片
    book::TitleList& titles_;
    book::TextPane& textPane_;
    album::AlbumPane& albumPane_;
    Closing& closing_;
    app::UrlOpener openUrl_ = app::openWithDesktop;
    std::function<bool(const QString&)> showOwnHelp_;
    QColor albumFixedColor_ = kDefaultFixedColor;

    TsuiForm* suiForm1 = nullptr;
    TsuiMainMenu* MainMenu1 = nullptr;
    QWidget* CategoryBar1 = nullptr;
    TImage* Image1 = nullptr;   // category bar background, Left.bmp
    QWidget* Image2 = nullptr;  // the marker behind the current book's icon
    QLabel* Image3 = nullptr;   // materials-book icon
    QLabel* Image4 = nullptr;   // picture-album icon
    QLabel* Image5 = nullptr;   // article-collection icon, never shown
    TsuiStatusBar* suiStatusBar1 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;
};
