// The materials book's title list: the only copy of the titles in memory, numbered from 1, with
// at most one selected item and the enabling of the read, delete and copy-title commands.
// Windows show it through model() and selection(); the logic needs no window.
#pragma once

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QString>
#include <vector>

namespace store {
class Query;
}

namespace book {

class TitleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void reset(std::vector<QString> titles);
    void removeAt(int position);
    const std::vector<QString>& titles() const { return titles_; }

private:
    std::vector<QString> titles_;
};

class TitleList : public QObject {
    Q_OBJECT
public:
    explicit TitleList(QObject* parent = nullptr);

    QAbstractItemModel* model() { return &model_; }
    QItemSelectionModel* selection() { return &selection_; }

    int count() const { return int(model_.titles().size()); }
    const QString& title(int position) const { return model_.titles().at(size_t(position)); }
    // Position of the selected item, or -1.
    int selectedPosition() const;
    void select(int position);

    // Rebuilds the list from the rows of the open text query, in their order. Returns the
    // position of the last item whose title equals match exactly (letter case counting), 0 if none.
    int fillFrom(store::Query& textQuery, const QString& match = {});
    // Lists every title, then selects the first item (or disables the commands on an empty list).
    void refresh(store::Query& textQuery);
    // Refills the list with every title and selects new title t; returns its position k.
    int showNewTitle(store::Query& textQuery, const QString& t);
    // The item a command acts on: the selected one, else the first, which it selects. -1 when empty.
    int chooseItem();
    // Empties the list and disables the commands (the store could not be read).
    void clear();
    // Takes the item at position out after its entry was deleted; renumbers and selects.
    void removeItem(int position);

    bool commandsEnabled() const { return commandsEnabled_; }

signals:
    // The read, delete and copy-title commands become enabled (true) or disabled (false).
    void commandsEnabledChanged(bool enabled);

private:
    void setCommandsEnabled(bool enabled);

    TitleModel model_;
    QItemSelectionModel selection_;
    bool commandsEnabled_ = true;
};

} // namespace book
