// The materials book's title list: the titles in memory, numbered from 1, with at most one
// selected item and the enabling of the read, delete and copy-title commands. The whole book is
// read in the order the store keeps, a page at a time as the list scrolls (so the list opens at
// once however many titles there are); a search's result is read whole. Windows show it through
// model() and selection(); the logic needs no window.
#pragma once

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <QString>
#include <memory>
#include <vector>

namespace store {
class Query;
namespace titleorder {
class TitleReader;
}
}

namespace book {

class TitleModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TitleModel(QObject* parent = nullptr);
    ~TitleModel() override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Views ask for the next page when they scroll to the last row fetched.
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The rows become titles; more follow from reader, when given, page by page.
    void reset(std::vector<QString> titles,
               std::unique_ptr<store::titleorder::TitleReader> reader = {});
    // Appends the next page from the reader; false when none came (the end, or no reader).
    // Throws StoreError; the reader is then dropped and the list ends where it was.
    bool fetchPage();
    void removeAt(int position);
    const std::vector<QString>& titles() const { return titles_; }

private:
    std::vector<QString> titles_;
    std::unique_ptr<store::titleorder::TitleReader> reader_;
};

class TitleList : public QObject {
    Q_OBJECT
public:
    explicit TitleList(QObject* parent = nullptr);

    QAbstractItemModel* model() { return &model_; }
    QItemSelectionModel* selection() { return &selection_; }

    // The items fetched so far: all of them after a search, the first pages of the whole book.
    int count() const { return int(model_.titles().size()); }
    const QString& title(int position) const { return model_.titles().at(size_t(position)); }
    // Position of the selected item, or -1.
    int selectedPosition() const;
    void select(int position);

    // Rebuilds the list from the rows of the open text query, in their order. Returns the
    // position of the last item whose title equals match exactly (letter case counting), 0 if none.
    int fillFrom(store::Query& textQuery, const QString& match = {});
    // Lists every title in the order the store keeps, its first page fetched, and closes the
    // query. A store whose order cannot be brought up to date (it cannot be written) has every
    // title read and ordered here through the query, as fillFrom does.
    void fillInOrder(store::Query& textQuery);
    // fillInOrder, then selects the first item (or disables the commands on an empty list).
    void refresh(store::Query& textQuery);
    // Refills the list with every title and selects new title t, fetching up to it; returns its
    // position k (that of the last item equal to t, 0 if none).
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
