// The thumbnail window: the album as one column of small pictures in a narrow stay-on-top window
// at the lower right of the screen. Its grid shares the album grid's model and selection, so
// both show the same rows and the same current record: choosing a thumbnail moves the picture
// query, and the album pane's after-scroll refresh follows. Never modal; closing only hides it.
#pragma once

#include "skin/ToolWindow.h"

#include <QImage>

class QAction;
class QItemSelectionModel;
class TsuiPopupMenu;

namespace platform {
class ProgramFolder;
}
class TsuiDBGrid;

namespace store {
class Query;
}

namespace album {

class PictureTableModel;

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

class TForm14 : public skin::ToolWindow {
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

    // What the window shows: the album grid's rows and current row, in the grid's title colour,
    // and the album's copy and save commands in its pop-up menu.
    struct AlbumGridParts {
        album::PictureTableModel& model;
        QItemSelectionModel& selection;
        QColor fixedColor;
        QAction* copyPicture;
        QAction* savePictureAs;
    };

    // Loads Null.bmp and Fail.bmp from the program folder's Themes.
    TForm14(const AlbumGridParts& album, const platform::ProgramFolder& folder);

    // The column set-up: only the picture data, kThumbnailWidth wide.
    void reapplyColumns();

    TsuiDBGrid* grid() const { return suiDBGrid1; }
    TsuiPopupMenu* popupMenu() const { return PopupMenu1; }
    const album::ThumbnailPictures& pictures() const { return pictures_; }

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void FormCreate(const platform::ProgramFolder& folder);
    // Back to the lower right for the next showing.
    void placeForNextShowing() override;
    void buildGrid(const AlbumGridParts& album);
    void layOutGrid();
    // Cell drawing: a thumbnail stretched over the cell of the picture column; other cells are
    // left alone. Data that does not decode leaves the cell as the grid drew it.
    void suiDBGrid1DrawDataCell(QPainter& canvas, const QRect& cell, int column, int row);

    album::PictureTableModel& model_;
    album::ThumbnailPictures pictures_;
    TsuiDBGrid* suiDBGrid1 = nullptr;
    TsuiPopupMenu* PopupMenu1 = nullptr;
};
