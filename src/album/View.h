// The thumbnail window: the album as one column of small pictures in a narrow stay-on-top window
// at the lower right of the screen. Its grid shares the album grid's model and selection, so
// both show the same rows and the same current record: choosing a thumbnail moves the picture
// query, and the album pane's after-scroll refresh follows. Never modal; closing only hides it.
#pragma once

#include "PictureCodec.h"
#include "ThumbnailCache.h"
#include "skin/ToolWindow.h"

#include <QImage>
#include <deque>
#include <functional>
#include <memory>
#include <vector>
#include <unordered_set>

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

class DecodeThread;
class PictureReader;
class PictureTableModel;

// The two theme pictures a thumbnail cell may show; an empty one draws nothing.
struct ThumbnailPictures {
    QImage null;  // a record without picture data
    QImage fail;  // a record of no known format
};

// What a thumbnail cell of a record shows, scaled to the cell: the Null picture for no picture
// data, the decoded picture of a BMP or JPEG record (a JPEG decoded only as large as the cell
// needs), the Fail picture for any other record; empty for an empty theme picture. Safe on any
// thread. Throws DecodeError when the data does not decode under its flag, DecodeCancelled when
// cancelled is set meanwhile.
QImage thumbnailOf(const QByteArray& data, const QVariant& flag, QSize cell,
                   const ThumbnailPictures& pictures, CancelFlag cancelled = nullptr);
// The same, reading the data piece by piece as the decoder goes.
QImage thumbnailOf(PictureBytes& data, const QVariant& flag, QSize cell,
                   const ThumbnailPictures& pictures, CancelFlag cancelled = nullptr);

// The thumbnail of a picture decoded already: stretched over the cell.
QImage thumbnailOfDecoded(const QImage& picture, QSize cell);

// The most bytes of thumbnails the window keeps.
inline constexpr qint64 kThumbnailCacheBytes = qint64(64) << 20;

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
        // A picture already decoded for a row (the preview's), from which the row's thumbnail
        // for a cell is made without decoding it again; null when there is none.
        std::function<QImage(quint64 rowKey, QSize cell)> decodedPicture;
    };

    // Loads Null.bmp and Fail.bmp from the program folder's Themes.
    TForm14(const AlbumGridParts& album, const platform::ProgramFolder& folder);

    // The column set-up: only the picture data, kThumbnailWidth wide.
    void reapplyColumns();

    TsuiDBGrid* grid() const { return suiDBGrid1; }
    TsuiPopupMenu* popupMenu() const { return PopupMenu1; }
    const album::ThumbnailPictures& pictures() const { return pictures_; }
    const album::ThumbnailCache& cache() const { return cache_; }
    // Whether cells wait for their thumbnails, and the wait until every cell drawn so far has
    // its thumbnail (decoded, or found not to decode).
    bool fillingCells() const;
    void waitForThumbnails();

signals:
    // A cell's thumbnail was decoded and kept; the cell is repainted.
    void thumbnailReady();

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    void FormCreate(const platform::ProgramFolder& folder);
    // Back to the lower right for the next showing.
    void placeForNextShowing() override;
    void buildGrid(const AlbumGridParts& album);
    void layOutGrid();
    // Cell drawing: a thumbnail stretched over the cell of the picture column; other cells are
    // left alone. Data that does not decode leaves the cell as the grid drew it. A thumbnail not
    // kept yet is asked for, and the cell is drawn again when it is ready.
    void suiDBGrid1DrawDataCell(QPainter& canvas, const QRect& cell, int column, int row);
    // Hands the newest cells still waiting and still in view to the decoding threads, which read
    // their pictures themselves; again after each thumbnail, so that no more than two jobs wait
    // at each thread and a scroll soon turns them to the cells then in view.
    struct Wanted {
        album::ThumbnailCache::Key key;
        int row;
    };
    void decodeNextWanted();
    void queueDecodeNextWanted();
    bool stillWanted(const Wanted& cell) const;
    // A decoding thread with the reader its jobs read through and the jobs handed to it.
    struct Decoder {
        album::DecodeThread* thread = nullptr;
        std::shared_ptr<album::PictureReader> reader;  // shared with the jobs, which may outlive the window
        int jobs = 0;
    };
    // A cell's thumbnail asked of a thread, in a round of wanted cells.
    struct Job {
        quint64 round = 0;
        int decoder = 0;
        album::ThumbnailCache::Key key;
    };
    Decoder* freeDecoder();
    void endJob(const Job& job);
    void takeThumbnail(const Job& job, const QImage& thumbnail);
    // The row was not found in the store (not committed yet, or deleted), or the store could not
    // be read: nothing is kept, and the cell asks again when it is next drawn.
    void dropThumbnail(const Job& job);
    // The thread's reader of the query's store, made again when the query moves to another store.
    std::shared_ptr<album::PictureReader> readerOf(Decoder& decoder);
    void forgetWanted();

    album::PictureTableModel& model_;
    std::function<QImage(quint64 rowKey, QSize cell)> decodedPicture_;
    album::ThumbnailPictures pictures_;
    album::ThumbnailCache cache_{album::kThumbnailCacheBytes};
    // The cells' pictures decode on up to kMostDecoders threads, as many as the machine has cores.
    static constexpr int kMostDecoders = 2;
    std::vector<Decoder> decoders_;
    std::deque<Wanted> wanted_;   // cells drawn without their thumbnail, the newest last
    std::unordered_set<album::ThumbnailCache::Key, album::ThumbnailCache::KeyHash> asked_;  // wanted or decoding
    int decoding_ = 0;            // jobs handed to the decoding threads and not yet delivered
    quint64 round_ = 0;           // counts the times the wanted cells were forgotten
    bool feedQueued_ = false;
    TsuiDBGrid* suiDBGrid1 = nullptr;
    TsuiPopupMenu* PopupMenu1 = nullptr;
};
