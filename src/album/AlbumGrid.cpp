#include "AlbumGrid.h"

#include "PictureRecords.h"
#include "store/Query.h"

#include <QHeaderView>
#include <QPainter>

namespace album {

namespace {
// The columns the album addresses by position, titled as the table names them: what the grids
// show until the query knows the table's own columns (before it first opens, or when the store
// could not be opened).
QStringList positionedColumns()
{
    return {QStringLiteral("图片名称"), QStringLiteral("图片描述"), QStringLiteral("Isbmp"),
            QStringLiteral("Myimage")};
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

QVariant PictureTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
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

AlbumGridDelegate::AlbumGridDelegate(QObject* parent, DrawCell drawCell)
    : QStyledItemDelegate(parent), drawCell_(std::move(drawCell))
{
}

void AlbumGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    if (option.state & QStyle::State_HasFocus) {
        // The focused cell: green, its text white.
        painter->fillRect(option.rect, QColor(0, 128, 0));
        painter->setPen(Qt::white);
        painter->setFont(TsuiDBGrid::gridFont());
        painter->drawText(option.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data().toString());
    } else {
        QStyleOptionViewItem plain = option;
        plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, plain, index);
    }
    if (drawCell_) {
        painter->save();
        drawCell_(*painter, option, index);
        painter->restore();
    }
}

QFont TsuiDBGrid::gridFont()
{
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    return font;
}

TsuiDBGrid::TsuiDBGrid(QWidget* parent) : QTableView(parent)
{
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setWordWrap(false);
    setFont(gridFont());
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::white);
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Highlight, QColor(0, 0, 128));
    colours.setColor(QPalette::HighlightedText, Qt::white);
    colours.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0, 0, 128));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::white);
    setPalette(colours);
    setFixedColor(QColor(58, 110, 165));
}

void TsuiDBGrid::setFixedColor(const QColor& color)
{
    fixedColor_ = color;
    horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background: %1; color: white; border: 0px;"
                       " border-right: 1px solid %2; padding-left: 2px; font-family: \"宋体\";"
                       " font-size: 12px; }")
            .arg(color.name(), color.darker(130).name()));
}

} // namespace album
