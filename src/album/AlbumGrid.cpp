#include "AlbumGrid.h"

#include "PictureRecords.h"
#include "store/Query.h"

#include "skin/TsuiDBGrid.h"

namespace album {

PictureTableModel::PictureTableModel(store::Query& pictureQuery, QObject* parent)
    : QAbstractTableModel(parent), query_(pictureQuery)
{
}

int PictureTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int PictureTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QString PictureTableModel::text(int row, int column) const
{
    if (!query_.isOpen() || row < 0 || row >= query_.recordCount())
        return {};
    try {
        const QVariant value = query_.valueAt(row, column == 0 ? kNameColumn : kDescriptionColumn);
        return value.isNull() ? QString() : value.toString();
    } catch (const std::exception&) {
        return {};
    }
}

QVariant PictureTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.column() > 1)
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::FontRole)
        return TsuiDBGrid::gridFont();
    return {};
}

QVariant PictureTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    if (section == 0)
        return QStringLiteral("图片名称");
    if (section == 1)
        return QStringLiteral("图片描述");
    return {};
}

Qt::ItemFlags PictureTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void PictureTableModel::sync()
{
    const int rows = query_.isOpen() ? query_.recordCount() : 0;
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (rows_ > 0) {
        emit dataChanged(index(0, 0), index(rows_ - 1, 1), {Qt::DisplayRole});
    }
}

} // namespace album
