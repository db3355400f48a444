// The main window: main menu, category bar, the pane of the current book, status bar. It owns
// the store's two long-lived queries and the title list.
#pragma once

#include "book/TitleList.h"
#include "store/Query.h"

#include <QColor>
#include <QWidget>

class QAction;
class TForm8;
class TImage;
class TsuiForm;
class TsuiMainMenu;
class TsuiStatusBar;

namespace book {
class TextPane;
}
namespace platform {
class Clipboard;
class TickClock;
}

class TForm1 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 640;
    static constexpr int kClientHeight = 478;
    // The album grid's fixed-area colour when Left.bmp cannot give one.
    static inline const QColor kDefaultFixedColor{198, 211, 239};

    TForm1(platform::TickClock& clock, platform::Clipboard& clipboard);

    const QString& programFolder() const { return programFolder_; }
    QString storePath() const;
    book::TitleList& titles() { return titles_; }
    book::TextPane& textPane() { return *TextPane1; }
    TsuiStatusBar& statusBar() { return *suiStatusBar1; }
    QColor albumFixedColor() const { return albumFixedColor_; }

    store::Query ADOQuery1;  // text query over 文本
    store::Query ADOQuery2;  // picture query over 图片

    // The wake-up from a second start: restore when minimised, else come to the front.
    void wakeUp();

    // Entry points of the windows that the title list's commands open.
    void openReadingWindow(const QString& title);
    void showAddEntryDialog();
    void showDeleteEntryDialog(int position, const QString& question);
    void showSearchTitlesDialog();
    void N1Click();  // 监视剪贴板(&P): shows the clipboard monitor
    // The clipboard monitor, created right after this window.
    void setClipboardMonitor(TForm8* monitor) { clipboardMonitor_ = monitor; }

private:
    void FormCreate();
    void buildMenu();
    void buildLayout();
    void loadThemePictures();
    void readFixedAreaColor();
    void openQueries();
    void layOutPanes();
    void resizeEvent(QResizeEvent*) override;
    void titleCopied();

    platform::TickClock& clock_;
    platform::Clipboard& clipboard_;
    QString programFolder_;
    book::TitleList titles_;
    QColor albumFixedColor_ = kDefaultFixedColor;
    TForm8* clipboardMonitor_ = nullptr;

    TsuiForm* suiForm1 = nullptr;
    TsuiMainMenu* MainMenu1 = nullptr;
    TImage* Image1 = nullptr;  // category bar background, Left.bmp
    book::TextPane* TextPane1 = nullptr;
    TsuiStatusBar* suiStatusBar1 = nullptr;
};
