#include "AlbumGrid.h"

#include "PictureRecords.h"
#include "store/Query.h"

#include "skin/TsuiDBGrid.h"

namespace album {

namespace {
// The columns the album addresses by position, titled as the table names them: what the grids
// show until the query knows the table's own columns (before it first opens, or when the store
// could not be opened).
QStringList positionedColumns()
{
    QStringList names;
    for (int column = kNameColumn; column <= kDataColumn; ++column)
        names << store::columnName(store::PictureTableColumn(column));
    return names;
}
} // namespace

PictureTableModel::PictureTableModel(store::Query& pictureQuery, QObject* parent)
    : QAbstractTableModel(parent), query_(pictureQuery), columns_(positionedColumns())
{
}

int PictureTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int PictureTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QString PictureTableModel::text(int row, int column) const
{
    if (!query_.isOpen() || row < 0 || row >= query_.recordCount() || column < 0
        || column >= columns_.size() || column == kDataColumn)
        return {};
    try {
        const QVariant value = query_.valueAt(row, column);
        return value.isNull() ? QString() : value.toString();
    } catch (const std::exception&) {
        return {};
    }
}

QVariant PictureTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::FontRole)
        return TsuiDBGrid::gridFont();
    return {};
}

namespace {
constexpr int kDefaultSectionWidth = 100;  // the header's own default
}

QVariant PictureTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    // The widths are set by the windows; the height is the skin's, so that nothing is measured
    // (the header would otherwise load a bold font for it while the main window is built).
    if (role == Qt::SizeHintRole)
        return QSize(kDefaultSectionWidth, TsuiDBGrid::kTitleRowHeight);
    if (role != Qt::DisplayRole)
        return {};
    return columns_.value(section);
}

Qt::ItemFlags PictureTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void PictureTableModel::sync()
{
    const int rows = query_.isOpen() ? query_.recordCount() : 0;
    QStringList columns = query_.fieldNames();
    if (columns.isEmpty())
        columns = positionedColumns();
    if (rows != rows_ || columns != columns_) {
        beginResetModel();
        rows_ = rows;
        columns_ = columns;
        endResetModel();
    } else if (rows_ > 0 && !columns_.isEmpty()) {
        emit dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1), {Qt::DisplayRole});
    }
}

} // namespace album
