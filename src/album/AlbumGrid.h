// The album grid: a read-only table bound to the picture query. Model/view over the
// query's own result (valueAt), two columns, never a widget item per row, and never a read of
// Myimage: only names and descriptions, which the query fetched when it opened.
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

    // Follows the query after its rows may have changed: a new row count resets the model,
    // otherwise every cell is marked changed (a sort keeps the count). Cheap: nothing is read.
    void sync();
    // The text of a cell as the grid shows it.
    QString text(int row, int column) const;

private:
    store::Query& query_;
    int rows_ = 0;
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
