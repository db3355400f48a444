// The album grid's rows: a read-only table bound to the picture query. Model/view over the
// query's own result (valueAt), two columns, never a widget item per row, and never a read of
// Myimage: only names and descriptions, which the query fetched when it opened.
#pragma once

#include <QAbstractTableModel>

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

} // namespace album
