// The thumbnail window: the album as one column of small pictures in a narrow stay-on-top window
// at the lower right of the screen. Its grid shares the album grid's model and selection, so
// both show the same rows and the same current record: choosing a thumbnail moves the picture
// query, and the album pane's after-scroll refresh follows. Never modal; closing only hides it.
#pragma once

#include <QImage>
#include <QWidget>

class TsuiForm;
class TsuiPopupMenu;

namespace platform {
class ProgramFolder;
}
namespace store {
class Query;
}

namespace album {

class AlbumPane;
class TsuiDBGrid;

// The two theme pictures a thumbnail cell may show; an empty one draws nothing.
struct ThumbnailPictures {
    QImage null;  // a record without picture data
    QImage fail;  // a record of no known format
};

// What the thumbnail cell of a row shows: the Null picture for no picture data, the decoded
// picture of a BMP or JPEG record (a JPEG decoded only as large as the cell needs), the Fail
// picture for any other record. Reads and decodes the row's data every time. Throws
// DecodeError when the data does not decode under its flag.
QImage thumbnailOf(const store::Query& pictureQuery, int row, QSize cell,
                   const ThumbnailPictures& pictures);

} // namespace album

class TForm14 : public QWidget {
    Q_OBJECT
public:
    // The skin panel's own size; the window is at least kMinimumWidth wide.
    static constexpr int kPanelWidth = 136;
    static constexpr int kPanelHeight = 480;
    static constexpr int kMinimumWidth = 150;
    // Between the window's bottom and the screen's bottom edge, at every placement.
    static constexpr int kBottomMargin = 49;
    static constexpr int kThumbnailWidth = 96;
    // A 64-pixel cell font plus 3, plus the row line.
    static constexpr int kRowHeight = 68;

    // Loads Null.bmp and Fail.bmp from the program folder's Themes; binds the grid to the album
    // grid's model and selection.
    TForm14(album::AlbumPane& pane, const platform::ProgramFolder& folder);

    // Shows the window where it was last placed and brings it to the front.
    void showWindow();
    // Hides the window and runs the close handling, also when it is not shown.
    void closeWindow();
    // The column set-up: only the picture data, kThumbnailWidth wide.
    void reapplyColumns();

    // Cell drawing: a thumbnail stretched over the cell of the picture column; other cells are
    // left alone. Data that does not decode leaves the cell as the grid drew it.
    void suiDBGrid1DrawDataCell(QPainter& canvas, const QRect& cell, int column, int row);
    void N1Click();  // 复制图片(&C): the main window's copy picture
    void N2Click();  // 图片另存为(&S): the main window's save picture as

    album::TsuiDBGrid* grid() const { return suiDBGrid1; }
    TsuiPopupMenu* popupMenu() const { return PopupMenu1; }
    const album::ThumbnailPictures& pictures() const { return pictures_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void FormCreate(const platform::ProgramFolder& folder);
    void FormClose();
    void buildGrid();
    void layOutGrid();
    void placeAtLowerRight();

    album::AlbumPane& pane_;
    album::ThumbnailPictures pictures_;
    TsuiForm* suiForm1 = nullptr;
    album::TsuiDBGrid* suiDBGrid1 = nullptr;
    TsuiPopupMenu* PopupMenu1 = nullptr;
};
