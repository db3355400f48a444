#include "View.h"

#include "AlbumGrid.h"
#include "DecodeThread.h"
#include "PictureCodec.h"
#include "PictureReader.h"
#include "PictureRecords.h"
#include "platform/ProgramFolder.h"
#include "skin/TsuiDBGrid.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMenus.h"
#include "store/Query.h"
#include "store/Sqlite.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <thread>

namespace album {

namespace {
// The picture stretched over the whole cell, as the cell shows it.
QImage stretched(const QImage& picture, QSize cell, Qt::TransformationMode mode)
{
    if (picture.isNull() || picture.size() == cell)
        return picture;
    return picture.scaled(cell, Qt::IgnoreAspectRatio, mode);
}
} // namespace

QImage thumbnailOfDecoded(const QImage& picture, QSize cell)
{
    return stretched(picture, cell, Qt::SmoothTransformation);
}

QImage thumbnailOf(const QByteArray& data, const QVariant& flag, QSize cell,
                   const ThumbnailPictures& pictures, CancelFlag cancelled)
{
    if (data.isEmpty())
        return stretched(pictures.null, cell, Qt::FastTransformation);
    std::optional<QImage> picture = decodeRecordAtLeast(data, flag, cell, cancelled);
    if (!picture)
        return stretched(pictures.fail, cell, Qt::FastTransformation);
    return thumbnailOfDecoded(*picture, cell);
}

QImage thumbnailOf(PictureBytes& data, const QVariant& flag, QSize cell,
                   const ThumbnailPictures& pictures, CancelFlag cancelled)
{
    if (data.size() == 0)
        return stretched(pictures.null, cell, Qt::FastTransformation);
    std::optional<QImage> picture = decodeRecordAtLeast(data, flag, cell, cancelled);
    if (!picture)
        return stretched(pictures.fail, cell, Qt::FastTransformation);
    return thumbnailOfDecoded(*picture, cell);
}

} // namespace album

namespace {

const QColor kSelectedColor(255, 255, 0);
const QColor kFocusedColor(0, 128, 0);
constexpr int kIndicatorWidth = 11;

// The indicator column: the title row's colour, with an arrow at the current row.
class IndicatorColumn : public QHeaderView {
public:
    IndicatorColumn(QWidget* parent, const QColor& color) : QHeaderView(Qt::Vertical, parent), color_(color)
    {
        setSectionResizeMode(QHeaderView::Fixed);
        setSectionsClickable(false);
        setHighlightSections(false);
    }
    QSize sizeHint() const override { return QSize(kIndicatorWidth, QHeaderView::sizeHint().height()); }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        painter->fillRect(rect, color_);
        painter->setPen(color_.darker(130));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
        const QModelIndex current = selectionModel() ? selectionModel()->currentIndex() : QModelIndex();
        if (!current.isValid() || current.row() != logicalIndex)
            return;
        const QPoint centre = rect.center();
        painter->setPen(Qt::NoPen);
        painter->setBrush(Qt::black);
        painter->drawPolygon(QPolygon({centre + QPoint(-2, -4), centre + QPoint(2, 0), centre + QPoint(-2, 4)}));
    }

private:
    QColor color_;
};

// A theme picture, or an empty one when the file is missing or unreadable: the cells then show
// nothing for such records, which is all a missing theme picture can mean.
QImage themePicture(const QString& path)
{
    QImage picture;
    if (QFileInfo::exists(path) && !picture.load(path))
        return QImage();
    return picture;
}

} // namespace

TForm14::TForm14(const AlbumGridParts& album, const platform::ProgramFolder& folder)
    : skin::ToolWindow(QStringLiteral("缩略图")), model_(album.model), decodedPicture_(album.decodedPicture)
{
    frame()->setSizeable(true);
    setMinimumWidth(kMinimumWidth);
    resize(frame()->windowSizeFor(QSize(kPanelWidth, kPanelHeight)).expandedTo(QSize(kMinimumWidth, 0)));
    buildGrid(album);
    frame()->layOut();
    layOutGrid();
    PopupMenu1 = new TsuiPopupMenu(this);
    PopupMenu1->addActions({album.copyPicture, album.savePictureAs});
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, kMostDecoders);
    for (int i = 0; i < threads; ++i)
        decoders_.push_back({new album::DecodeThread(this), nullptr, 0});
    FormCreate(folder);
}

// Bound to the album grid's model and selection; the title row in the album grid's colours.
void TForm14::buildGrid(const AlbumGridParts& album)
{
    suiDBGrid1 = new TsuiDBGrid(frame());
    suiDBGrid1->setModel(&model_);
    suiDBGrid1->setSelectionModel(&album.selection);
    const QColor fixedColor = album.fixedColor;
    suiDBGrid1->setFixedBGColor(fixedColor);
    suiDBGrid1->setTitleFontColor(Qt::white);
    suiDBGrid1->setBGColor(Qt::white);
    suiDBGrid1->setSelectedColor(kSelectedColor);
    suiDBGrid1->setFocusedColor(kFocusedColor);
    // The cell above the indicator column belongs to the title row.
    suiDBGrid1->setStyleSheet(QStringLiteral("QTableCornerButton::section { background: %1; border: 0px;"
                                             " border-right: 1px solid %2; }")
                                  .arg(fixedColor.name(), fixedColor.darker(130).name()));
    auto* indicator = new IndicatorColumn(suiDBGrid1, fixedColor);
    suiDBGrid1->setVerticalHeader(indicator);
    indicator->setDefaultSectionSize(kRowHeight);
    indicator->setMinimumSectionSize(kRowHeight);
    indicator->show();
    suiDBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The grid fills each cell in its colour (yellow selected, green focused) before this.
    suiDBGrid1->setDrawColumnCell([this](QPainter& canvas, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) {
        suiDBGrid1DrawDataCell(canvas, option.rect, index.column(), index.row());
    });
    suiDBGrid1->viewport()->setCursor(Qt::PointingHandCursor);
    suiDBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(suiDBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(suiDBGrid1->viewport()->mapToGlobal(at));
    });
    // The current record shows here too: its row scrolled into view, the indicator's arrow.
    connect(suiDBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    suiDBGrid1->scrollTo(model_.index(current.row(), album::kDataColumn));
                suiDBGrid1->verticalHeader()->viewport()->update();
            });
    // A reset (the row count changed) forgets the column set-up, and the cells waiting for
    // thumbnails are no longer the cells in view.
    connect(&model_, &QAbstractItemModel::modelReset, this, &TForm14::reapplyColumns);
    connect(&model_, &QAbstractItemModel::modelReset, this, &TForm14::forgetWanted);
}

void TForm14::FormCreate(const platform::ProgramFolder& folder)
{
    pictures_.null = themePicture(folder.theme(QStringLiteral("Null.bmp")));
    pictures_.fail = themePicture(folder.theme(QStringLiteral("Fail.bmp")));
    reapplyColumns();
    placeForNextShowing();
}

void TForm14::reapplyColumns()
{
    const int columns = model_.columnCount();
    for (int column = 0; column < columns; ++column)
        suiDBGrid1->setColumnHidden(column, column != album::kDataColumn);
    suiDBGrid1->setColumnWidth(album::kDataColumn, kThumbnailWidth);
}

// At the screen's lower right: the left edge as far from the screen's right edge as the window is
// wide at the least, the bottom kBottomMargin above the screen's bottom, whatever size it has now.
void TForm14::placeForNextShowing()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect();
    move(area.left() + area.width() - kMinimumWidth, area.top() + area.height() - height() - kBottomMargin);
}

void TForm14::resizeEvent(QResizeEvent*)
{
    layOutGrid();
}

// The grid fills the panel below the title bar.
void TForm14::layOutGrid()
{
    const int top = frame()->clientTop();
    suiDBGrid1->setGeometry(0, top, frame()->width(), std::max(0, frame()->height() - top));
}

// A cell draws the thumbnail kept for its row, or asks for it and stays as the grid drew it
// until the thumbnail is ready. A failure is not reported here (the preview reports it when the
// row becomes current); the cell stays blank.
void TForm14::suiDBGrid1DrawDataCell(QPainter& canvas, const QRect& cell, int column, int row)
{
    const store::Query& query = model_.query();
    if (column != album::kDataColumn || !query.isOpen() || row < 0 || row >= query.recordCount())
        return;
    const album::ThumbnailCache::Key key{query.rowKeyAt(row), cell.size()};
    if (const std::optional<QImage> thumbnail = cache_.find(key)) {
        if (!thumbnail->isNull())
            canvas.drawImage(cell.topLeft(), *thumbnail);
        return;
    }
    if (decodedPicture_) {
        const QImage decoded = decodedPicture_(key.rowKey, cell.size());
        if (!decoded.isNull()) {
            const QImage thumbnail = album::thumbnailOfDecoded(decoded, cell.size());
            cache_.insert(key, thumbnail);
            canvas.drawImage(cell.topLeft(), thumbnail);
            return;
        }
    }
    if (asked_.insert(key).second) {
        wanted_.push_back({key, row});
        queueDecodeNextWanted();
    }
}

// Two jobs at most per thread: one decoding and the next one waiting, so that no thread waits
// between pictures while a scroll soon turns them to the cells then in view.
namespace {
constexpr int kJobsAhead = 2;
}

// The thread with the fewest jobs, or null when every thread has all it may have.
TForm14::Decoder* TForm14::freeDecoder()
{
    Decoder* least = &*std::min_element(decoders_.begin(), decoders_.end(),
                                        [](const Decoder& a, const Decoder& b) { return a.jobs < b.jobs; });
    return least->jobs < kJobsAhead ? least : nullptr;
}

void TForm14::queueDecodeNextWanted()
{
    if (feedQueued_ || !freeDecoder() || wanted_.empty())
        return;
    feedQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        feedQueued_ = false;
        decodeNextWanted();
    });
}

// The cell's row still holds its record and is still in view.
bool TForm14::stillWanted(const Wanted& cell) const
{
    const store::Query& query = model_.query();
    if (!query.isOpen() || cell.row >= query.recordCount() || query.rowKeyAt(cell.row) != cell.key.rowKey)
        return false;
    const QRect shown = suiDBGrid1->visualRect(model_.index(cell.row, album::kDataColumn));
    return shown.intersects(suiDBGrid1->viewport()->rect());
}

std::shared_ptr<album::PictureReader> TForm14::readerOf(Decoder& decoder)
{
    const QString& path = model_.query().storePath();
    if (!decoder.reader || decoder.reader->storePath() != path)
        decoder.reader = std::make_shared<album::PictureReader>(path);
    return decoder.reader;
}

void TForm14::decodeNextWanted()
{
    while (!wanted_.empty()) {
        Decoder* decoder = freeDecoder();
        if (!decoder)
            break;
        const Wanted next = wanted_.back();
        wanted_.pop_back();
        if (!stillWanted(next)) {
            asked_.erase(next.key);
            continue;
        }
        qint64 rowid = 0;
        QVariant flag;
        try {
            rowid = model_.query().rowidAt(next.row);
            flag = model_.query().valueAt(next.row, album::kFlagColumn);
        } catch (const std::exception&) {
            cache_.insert(next.key, QImage());  // unreadable: blank, as undecodable data
            asked_.erase(next.key);
            continue;
        }
        ++decoding_;
        ++decoder->jobs;
        const Job job{round_, int(decoder - decoders_.data()), next.key};
        decoder->thread->enqueue([this, job, rowid, flag, pictures = pictures_, reader = readerOf(*decoder)](
                                     const std::atomic<bool>& cancelled) -> album::DecodeThread::Delivery {
            QImage thumbnail;
            try {
                const std::unique_ptr<album::PictureBytes> data = reader->open(rowid);
                if (!data)
                    return [this, job] { dropThumbnail(job); };
                thumbnail = album::thumbnailOf(*data, flag, job.key.cell, pictures, &cancelled);
            } catch (const album::DecodeCancelled&) {
                return {};
            } catch (const store::StoreError&) {
                // Not read (the store locked by a long write, say): asked for again when drawn.
                return [this, job] { dropThumbnail(job); };
            } catch (const std::exception&) {
                // Kept empty: the cell stays blank and is not decoded again.
            }
            return [this, job, thumbnail] { takeThumbnail(job, thumbnail); };
        });
    }
    queueDecodeNextWanted();
}

// A job of the current round has ended: its thread may take another, and its cell may be asked
// for again.
void TForm14::endJob(const Job& job)
{
    if (job.round == round_) {
        --decoding_;
        --decoders_[size_t(job.decoder)].jobs;
        asked_.erase(job.key);
    }
    Q_ASSERT(decoding_ >= 0 && decoders_[size_t(job.decoder)].jobs >= 0);
}

void TForm14::takeThumbnail(const Job& job, const QImage& thumbnail)
{
    cache_.insert(job.key, thumbnail);
    endJob(job);
    suiDBGrid1->viewport()->update();
    emit thumbnailReady();
    decodeNextWanted();
}

void TForm14::dropThumbnail(const Job& job)
{
    endJob(job);
    decodeNextWanted();
}

void TForm14::forgetWanted()
{
    for (Decoder& decoder : decoders_) {
        decoder.thread->cancelAll();
        decoder.jobs = 0;
    }
    wanted_.clear();
    asked_.clear();
    decoding_ = 0;
    ++round_;
}

bool TForm14::fillingCells() const
{
    return !wanted_.empty() || decoding_ > 0;
}

void TForm14::waitForThumbnails()
{
    while (fillingCells()) {
        decodeNextWanted();
        for (Decoder& decoder : decoders_)
            decoder.thread->waitUntilIdle();
    }
}
