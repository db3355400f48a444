// The album pane of the main window: the toolbar strip, the album grid over the picture query,
// the preview pane (PictureView) and the album's menus. A panel, not a window: the main window
// places it beside the category bar and shows it when the album category is chosen.
//
// The pane owns the album's commands (see AlbumCommands.h) and runs those that act on the album:
// refresh, sorting, stepping, the four modes. It follows every move of the picture query with the
// after-scroll refresh. It asks for the thumbnail window by signals.
#pragma once

#include "PictureWalk.h"

#include <QWidget>
#include <memory>

class QLabel;
class QModelIndex;
class QStyleOptionViewItem;
class QToolBar;
class TsuiDBGrid;
class TsuiPopupMenu;
class TsuiToolButton;

namespace skin {
class ToolbarStrip;
}
namespace store {
class Query;
}

namespace album {

class PictureReader;
class PictureTableModel;
class PictureView;

enum class AlbumMode { List, Preview, ThumbnailsList, ThumbnailsPreview };

class AlbumPane : public QWidget, public PictureWalk {
    Q_OBJECT
public:
    AlbumPane(QWidget* parent, store::Query& pictureQuery);
    ~AlbumPane() override;

    // Loads Top.bmp, Line.bmp and Show.bmp from the Themes folder where they exist.
    void loadThemePictures(const QString& themesFolder);
    // The album grid's title-row colour, read by the main window from the category bar's bitmap.
    void setFixedAreaColor(const QColor& color);

    // The main window's category switch: true when the album is shown (the grid takes the
    // focus), false when the materials book is (the thumbnail window closes; the layout stays).
    void categoryChanged(bool albumShown);
    // The thumbnail window has closed, by any path: the marks follow the layout.
    void thumbnailWindowClosed();
    // A picture was just stored through the picture query: the next record becomes current.
    void pictureStored();
    // Makes the grid follow the query after it was reopened or changed without a move (a search
    // with no result, say). The after-scroll refresh does this itself.
    void syncGrid();
    // The refresh command without its error guard: the picture query again over all pictures.
    // Throws on a store error.
    void reloadAll();
    // Whether the last after-scroll refresh failed (its error has been reported); a reload
    // clears it. A picture still decoding has not failed yet.
    bool previewFailed() const { return previewFailed_; }
    // Whether the preview's picture is still being decoded, and the wait for it to be in place
    // (or its failure reported).
    bool previewDecoding() const;
    void waitForPreview();

    // The walk of the album export and the picture actions' current picture. The walk's steps
    // wait for the picture to decode.
    void restartByName() override;
    int count() const override;
    WalkRecord recordAt(int index, QByteArray reuse = {}) const override;
    void moveTo(int index) override;
    void endWalk() override;
    bool failed() const override { return previewFailed_; }
    QString name() const override;
    QString description() const override;
    const QImage& picture() const override;
    const QByteArray& jpegData() const override;

    // What the preview shows.
    const QImage& previewPicture() const { return picture(); }
    // The preview's picture when a thumbnail of the row can be made from it; see PictureView.
    QImage pictureForThumbnail(quint64 rowKey, QSize cell) const;
    const QByteArray& previewJpegData() const { return jpegData(); }
    QString previewHint() const;
    QSize previewSize() const;  // the fitted size of the preview picture
    QString positionText() const;
    AlbumMode checkedMode() const;
    bool previewLayout() const { return previewLayout_; }
    bool firstPreviewDone() const { return firstPreviewDone_; }

    // The controls, for the main window and the tests.
    TsuiDBGrid* grid() const { return suiDBGrid1; }
    PictureTableModel* gridModel() const { return model_; }
    QWidget* previewPane() const;
    QWidget* pictureArea() const;
    QLabel* positionLabel() const;
    TsuiToolButton* toolButton(int index) const;
    QToolBar* pictureToolBar() const;
    TsuiPopupMenu* gridMenu() const { return PopupMenu1; }
    TsuiPopupMenu* pictureMenu() const { return PopupMenu2; }
    TsuiPopupMenu* sortMenu() const { return PopupMenu3; }
    TsuiPopupMenu* modeMenu() const { return PopupMenu4; }
    TsuiPopupMenu* wallpaperMenu() const { return PopupMenu5; }
    // Where the 排序 (index 4) or 模式 (index 5) button pops up its menu, in screen coordinates.
    QPoint menuPosition(int buttonIndex) const;

signals:
    void thumbnailsShowRequested();
    void thumbnailsCloseRequested();
    // After a reload: the thumbnail window sets its grid's columns up again.
    void reloaded();
    // The modes with thumbnails leave the main window in front of them.
    void mainWindowFrontRequested();

private:
    void readStoredPicture(int index, QByteArray& bytes) const;
    void buildCommands();
    void buildToolbar();
    void buildGrid();
    void applyGridColumns();
    void buildPreviewPane();
    void layOut();
    void resizeEvent(QResizeEvent*) override;
    void ADOQuery2AfterScroll();
    void suiDBGrid1DrawColumnCell(QPainter& canvas, const QStyleOptionViewItem& option,
                                  const QModelIndex& index);
    void refresh();
    void sortBy(const QString& column);
    void step(void (store::Query::*move)());
    void setMarks(AlbumMode mode);
    void showList();
    void showPreview();
    void firstPreviewRefresh();
    void closeThumbnails();
    void selectCurrentRow();
    void switchTo(AlbumMode mode);
    void showThumbnailsHere();

    store::Query& query_;
    bool previewLayout_ = false;
    bool firstPreviewDone_ = false;
    bool followingQuery_ = false;  // the grid's selection is being set from the query
    bool previewFailed_ = false;
    bool walking_ = false;  // a walk moves the query: the preview waits for its end

    skin::ToolbarStrip* ToolBar = nullptr;  // Top.bmp and the six buttons
    QWidget* ToolBarLine = nullptr;         // the 1-pixel line under it
    TsuiDBGrid* suiDBGrid1 = nullptr;
    PictureTableModel* model_ = nullptr;
    PictureView* view_ = nullptr;
    mutable std::unique_ptr<PictureReader> walkReader_;  // while a walk reads the records
    TsuiPopupMenu* PopupMenu1 = nullptr;  // grid menu
    TsuiPopupMenu* PopupMenu2 = nullptr;  // picture menu
    TsuiPopupMenu* PopupMenu3 = nullptr;  // sort menu
    TsuiPopupMenu* PopupMenu4 = nullptr;  // mode menu
    TsuiPopupMenu* PopupMenu5 = nullptr;  // wallpaper menu
};

} // namespace album
