// The album pane of the main window: the toolbar strip, the album grid over the
// picture query, the preview pane with its position label, picture and picture toolbar, and the
// grid, picture, sort, mode and wallpaper menus. A panel, not a window: the main window (TForm1)
// places it beside the category bar and shows it when the album category is chosen.
//
// The pane owns the picture query's after-scroll notification (ADOQuery2AfterScroll). Commands
// that open other windows are passed on as signals; the thumbnail window is
// reached through the hooks of ThumbnailWindowHooks.
#pragma once

#include <QAction>
#include <QByteArray>
#include <QImage>
#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QToolBar;
class QToolButton;
class QStyleOptionViewItem;
class QModelIndex;
class TImage;
class TsuiPopupMenu;
class TsuiToolButton;

namespace store {
class Query;
}

namespace album {

class PictureTableModel;
class TsuiDBGrid;
class PreviewPicture;

enum class AlbumMode { List, Preview, ThumbnailsList, ThumbnailsPreview };
enum class WallpaperStyle { Center, Tile, Stretch, Restore };

// What the pane needs of the thumbnail window (TForm14) and of the main window. Any
// hook left empty does nothing.
struct ThumbnailWindowHooks {
    std::function<void()> show;             // show the thumbnail window (it stays in front)
    std::function<void()> close;            // close (hide) it
    std::function<void()> reapplyColumns;   // its grid's column set-up, after a refresh
    std::function<void()> bringMainWindowToFront;
};

class AlbumPane : public QWidget {
    Q_OBJECT
public:
    AlbumPane(QWidget* parent, store::Query& pictureQuery);
    ~AlbumPane() override;

    // Loads Top.bmp, Line.bmp and Show.bmp from the Themes folder where they exist.
    void loadThemePictures(const QString& themesFolder);
    // The album grid's title-row colour, read by the main window from the category bar's bitmap.
    void setFixedAreaColor(const QColor& color);
    void setThumbnailWindowHooks(ThumbnailWindowHooks hooks) { hooks_ = std::move(hooks); }
    const ThumbnailWindowHooks& thumbnailWindowHooks() const { return hooks_; }

    // The main window's category switch: true when the album is shown (the grid takes the
    // focus), false when the materials book is (the thumbnail window closes; the layout stays).
    void categoryChanged(bool albumShown);
    // The thumbnail window has closed, by any path: the marks follow the layout.
    void thumbnailWindowClosed();
    // Makes the grid follow the query after it was reopened or changed without a move (a search
    // with no result, say). The after-scroll refresh does this itself.
    void syncGrid();
    // The refresh command without its error guard: the picture query again over all pictures.
    // Throws on a store error. The album export runs it inside its own guard.
    void reloadAll();
    // Whether the last after-scroll refresh failed (its error has been reported); a reload
    // clears it.
    bool previewFailed() const { return previewFailed_; }

    // The handlers, as the buttons and menu items run them.
    void ADOQuery2AfterScroll();
    void MenuItem2Click();   // 添加
    void MenuItem3Click();   // 删除
    void MenuItem5Click();   // 刷新
    void MenuItem6Click();   // 搜索
    void ToolButton5Click(); // 排序: pops up the sort menu
    void ToolButton6Click(); // 模式: pops up the mode menu
    void N18Click();         // sort by 图片名称
    void N19Click();         // sort by 图片描述
    void B2Click();          // sort by Isbmp
    void N28Click();         // 列表
    void N29Click();         // 预览
    void N30Click();         // 缩略图+列表
    void N31Click();         // 缩略图+预览
    void N27Click();         // 显示缩略图
    void N21Click();         // wallpaper: 居中
    void N22Click();         // 平铺
    void N23Click();         // 拉伸
    void R2Click();          // 还原
    void MenuItem7Click();   // first picture
    void MenuItem8Click();   // previous picture
    void MenuItem9Click();   // next picture
    void L3Click();          // last picture
    void N15Click();         // copy picture
    void MenuItem11Click();  // save picture as
    // Row painting: called for every data cell the album grid draws.
    void suiDBGrid1DrawColumnCell(QPainter& canvas, const QStyleOptionViewItem& option,
                                  const QModelIndex& index);

    // The preview picture (the picture actions and the album export work from it): empty when there is none.
    const QImage& previewPicture() const;
    // The stored bytes behind the preview picture when it is a JPEG picture (saved byte for
    // byte), empty otherwise.
    const QByteArray& previewJpegData() const { return previewJpeg_; }
    QString previewHint() const;
    QSize previewSize() const;  // the fitted size of the preview picture
    QString positionText() const;
    AlbumMode checkedMode() const;
    bool previewLayout() const { return previewLayout_; }
    bool firstPreviewDone() const { return firstPreviewDone_; }

    // The controls, for the main window and the tests.
    TsuiDBGrid* grid() const { return suiDBGrid1; }
    PictureTableModel* gridModel() const { return model_; }
    QWidget* previewPane() const { return PreviewPanel; }
    QWidget* pictureArea() const { return PictureArea; }
    QLabel* positionLabel() const { return Label3; }
    TsuiToolButton* toolButton(int index) const { return toolButtons_.at(size_t(index)); }
    QToolBar* pictureToolBar() const { return ToolBar1; }
    TsuiPopupMenu* gridMenu() const { return PopupMenu1; }
    TsuiPopupMenu* pictureMenu() const { return PopupMenu2; }
    TsuiPopupMenu* sortMenu() const { return PopupMenu3; }
    TsuiPopupMenu* modeMenu() const { return PopupMenu4; }
    TsuiPopupMenu* wallpaperMenu() const { return PopupMenu5; }
    // Where the 排序 (index 4) or 模式 (index 5) button pops up its menu, in screen coordinates.
    QPoint menuPosition(int buttonIndex) const;

signals:
    void addRequested();
    void deleteRequested();
    void searchRequested();
    void copyRequested();
    void saveAsRequested();
    void wallpaperRequested(album::WallpaperStyle style);

private:
    void buildToolbar();
    void buildGrid();
    void applyGridColumns();
    void buildPreviewPane();
    void buildMenus();
    void layOut();
    void layOutPreviewPane();
    void resizeEvent(QResizeEvent*) override;
    void refreshPreview();
    void fitPreview(int width, int height);
    void sortBy(const QString& column);
    void setMarks(AlbumMode mode);
    void showList();
    void showPreview();
    void firstPreviewRefresh();
    void closeThumbnails();
    void showThumbnails();
    void step(void (store::Query::*move)());
    void selectCurrentRow();

    store::Query& query_;
    ThumbnailWindowHooks hooks_;
    bool previewLayout_ = false;
    bool firstPreviewDone_ = false;
    bool followingQuery_ = false;  // the grid's selection is being set from the query
    bool previewFailed_ = false;
    QByteArray previewJpeg_;

    TImage* ToolBarImage = nullptr;  // Top.bmp behind the toolbar strip
    QWidget* ToolBarLine = nullptr;  // the 1-pixel line under it
    std::array<TsuiToolButton*, 6> toolButtons_{};
    TsuiDBGrid* suiDBGrid1 = nullptr;
    PictureTableModel* model_ = nullptr;
    QWidget* PreviewPanel = nullptr;
    TImage* LineImage = nullptr;     // Line.bmp strip at the left edge
    TImage* ShowImage = nullptr;     // Show.bmp title strip
    QLabel* Label3 = nullptr;        // the position label
    QWidget* PictureArea = nullptr;
    PreviewPicture* Image3 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QToolButton* WallpaperButton = nullptr;
    TsuiPopupMenu* PopupMenu1 = nullptr;  // grid menu
    TsuiPopupMenu* PopupMenu2 = nullptr;  // picture menu
    TsuiPopupMenu* PopupMenu3 = nullptr;  // sort menu
    TsuiPopupMenu* PopupMenu4 = nullptr;  // mode menu
    TsuiPopupMenu* PopupMenu5 = nullptr;  // wallpaper menu
    std::array<QAction*, 4> gridModeItems_{};  // N28..N31
    std::array<QAction*, 4> modeMenuItems_{};
};

} // namespace album
