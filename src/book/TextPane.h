// The text pane of the main window: the toolbar strip, the header strip and the title list with
// its pop-up menu. Commands that open other windows are passed on as signals.
#pragma once

#include "TitleList.h"

#include <QAction>
#include <QWidget>
#include <array>

class TImage;
class TsuiListView;
class TsuiPopupMenu;
class TsuiToolButton;
class QLabel;

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
    TsuiToolButton* toolButton(int index) const { return toolButtons_.at(size_t(index)); }
    // Scrolls the list so that item k becomes the sixteenth visible row when rows follow it.
    void scrollToNewTitle(int k);

    // The commands, as the toolbar buttons, the pop-up items and the double-click run them.
    void ToolButton1Click();  // 读取
    void ToolButton2Click();  // 添加
    void ToolButton3Click();  // 删除
    void ToolButton4Click();  // 刷新
    void ToolButton5Click();  // 搜索标题
    void ToolButton6Click();  // 复制标题
    void ListView1DblClick();

signals:
    void readRequested(const QString& title);
    void addRequested();
    // position from 0, and the question the delete-entry dialog asks
    void deleteRequested(int position, const QString& question);
    void searchRequested();
    void titleCopied();

private:
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

    TImage* ToolBarImage = nullptr;  // Top.bmp behind the toolbar strip
    TImage* Bar1Image = nullptr;     // Bar1.bmp behind "序号"
    TImage* Bar2Image = nullptr;     // Bar2.bmp behind "资料标题"
    QLabel* Label1 = nullptr;        // 序号
    QLabel* Label2 = nullptr;        // 资料标题
    std::array<TsuiToolButton*, 6> toolButtons_{};
    TsuiListView* ListView1 = nullptr;
    TsuiPopupMenu* PopupMenu1 = nullptr;
    QAction* L1 = nullptr;  // 读取(&L)
    QAction* I1 = nullptr;  // 添加(&I)
    QAction* D1 = nullptr;  // 删除(&D)
    QAction* R1 = nullptr;  // 刷新(&R)
    QAction* S1 = nullptr;  // 搜索标题(&S)
    QAction* C1 = nullptr;  // 复制标题(&C)
};

} // namespace book
