// The text pane of the main window: the toolbar strip, the header strip and the title list with
// its pop-up menu. Its commands (ids L1 读取, I1 添加, D1 删除, R1 刷新, S1 搜索标题, C1 复制标题)
// are actions of the pane, shared by the toolbar and the pop-up menu; those that open other
// windows are passed on as signals.
#pragma once

#include "TitleList.h"

#include <QAction>
#include <QWidget>

class TImage;
class TsuiListView;
class TsuiPopupMenu;
class TsuiToolButton;
class QLabel;

namespace skin {
class ToolbarStrip;
}
namespace platform {
class Clipboard;
}
namespace store {
class Query;
}

namespace book {

class TextPane : public QWidget {
    Q_OBJECT
public:
    TextPane(QWidget* parent, TitleList& titles, store::Query& textQuery,
             platform::Clipboard& clipboard);

    // Loads Top.bmp, Bar1.bmp and Bar2.bmp from the Themes folder where they exist.
    void loadThemePictures(const QString& themesFolder);
    TsuiListView* listView() const { return ListView1; }
    TsuiPopupMenu* popupMenu() const { return PopupMenu1; }
    TsuiToolButton* toolButton(int index) const;
    // Scrolls the list so that item k becomes the sixteenth visible row when rows follow it.
    void scrollToNewTitle(int k);

signals:
    void readRequested(const QString& title);
    void addRequested();
    // position from 0, and the question the delete-entry dialog asks
    void deleteRequested(int position, const QString& question);
    void searchRequested();
    void titleCopied();

private:
    void buildCommands();
    void readChosen();
    void deleteChosen();
    void refresh();
    void copyChosenTitle();
    void ListView1DblClick();
    void buildToolbar();
    void buildHeader();
    void buildList();
    void buildPopupMenu();
    void setCommandsEnabled(bool enabled);
    void layOut();
    void resizeEvent(QResizeEvent*) override;

    TitleList& titles_;
    store::Query& textQuery_;
    platform::Clipboard& clipboard_;

    skin::ToolbarStrip* ToolBar = nullptr;  // Top.bmp and the buttons
    TImage* Bar1Image = nullptr;     // Bar1.bmp behind "序号"
    TImage* Bar2Image = nullptr;     // Bar2.bmp behind "资料标题"
    QLabel* Label1 = nullptr;        // 序号
    QLabel* Label2 = nullptr;        // 资料标题
    TsuiListView* ListView1 = nullptr;
    TsuiPopupMenu* PopupMenu1 = nullptr;
};

} // namespace book
