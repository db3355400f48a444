// The grids bound to the picture query. Model/view over the query's own result (valueAt),
// never a widget item per row. The model has one column per column of the query, in table
// order; each grid shows the columns it needs (the album grid the name and the description, the
// thumbnail window the picture data). The model itself never reads Myimage: the texts are what
// the query fetched when it opened, and the picture column is drawn by its grid's delegate.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

namespace store {
class Query;
}

namespace album {

class PictureTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PictureTableModel(store::Query& pictureQuery, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Follows the query after its rows may have changed: a new row count or new columns reset
    // the model, otherwise every cell is marked changed (a sort keeps the count). Cheap: nothing
    // is read.
    void sync();
    // The text of a cell as the grid shows it; empty for the picture data.
    QString text(int row, int column) const;
    store::Query& query() const { return query_; }

private:
    store::Query& query_;
    int rows_ = 0;
    QStringList columns_;  // the query's column names
};

// Draws a cell the grid's own way (focused cell green, selected row navy), then hands it to the
// pane's row-painting handler.
class AlbumGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using DrawCell = std::function<void(QPainter&, const QStyleOptionViewItem&, const QModelIndex&)>;
    AlbumGridDelegate(QObject* parent, DrawCell drawCell);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    DrawCell drawCell_;
};

// The data grid of the album: no border, read-only, whole-row selection of one row, titles in
// the fixed-area colour.
class TsuiDBGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 18;
    explicit TsuiDBGrid(QWidget* parent);
    // The colour of the title row.
    void setFixedColor(const QColor& color);
    QColor fixedColor() const { return fixedColor_; }
    static QFont gridFont();  // 宋体, 12 pixels

private:
    QColor fixedColor_;
};

} // namespace album
