#include "View.h"

#include "AlbumGrid.h"
#include "PictureCodec.h"
#include "PictureRecords.h"
#include "platform/ProgramFolder.h"
#include "skin/TsuiDBGrid.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiMenus.h"
#include "store/Query.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <functional>

namespace album {

QImage thumbnailOf(const store::Query& pictureQuery, int row, QSize cell,
                   const ThumbnailPictures& pictures)
{
    const QByteArray data = pictureQuery.bytesAt(row, kDataColumn);
    if (data.isEmpty())
        return pictures.null;
    const std::optional<QImage> picture =
        decodeRecordAtLeast(data, pictureQuery.valueAt(row, kFlagColumn), cell);
    return picture ? *picture : pictures.fail;
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
    : skin::ToolWindow(QStringLiteral("缩略图")), model_(album.model)
{
    frame()->setSizeable(true);
    setMinimumWidth(kMinimumWidth);
    resize(frame()->windowSizeFor(QSize(kPanelWidth, kPanelHeight)).expandedTo(QSize(kMinimumWidth, 0)));
    buildGrid(album);
    frame()->layOut();
    layOutGrid();
    PopupMenu1 = new TsuiPopupMenu(this);
    PopupMenu1->addActions({album.copyPicture, album.savePictureAs});
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
    // A reset (the row count changed) forgets the column set-up.
    connect(&model_, &QAbstractItemModel::modelReset, this, &TForm14::reapplyColumns);
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

// Nothing is kept between paints: each cell reads and decodes its row again. A failure while
// painting is not reported here (the next paint would report it again, without end); the
// preview reports it when the row becomes current.
void TForm14::suiDBGrid1DrawDataCell(QPainter& canvas, const QRect& cell, int column, int row)
{
    if (column != album::kDataColumn)
        return;
    try {
        const QImage picture = album::thumbnailOf(model_.query(), row, QSize(kThumbnailWidth, kRowHeight),
                                                  pictures_);
        if (!picture.isNull())
            canvas.drawImage(cell, picture);
    } catch (const std::exception&) {
    }
}
