#include "TitleList.h"

#include "store/Query.h"
#include "store/Schema.h"
#include "store/Statements.h"

namespace book {

int TitleModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(titles_.size());
}

int TitleModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

// An item's number is always its position plus 1, so a removal renumbers the items after it.
QVariant TitleModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(titles_.size()))
        return {};
    if (index.column() == 0)
        return QString::number(index.row() + 1);
    return titles_[size_t(index.row())];
}

void TitleModel::reset(std::vector<QString> titles)
{
    beginResetModel();
    titles_ = std::move(titles);
    endResetModel();
}

void TitleModel::removeAt(int position)
{
    Q_ASSERT(position >= 0 && position < int(titles_.size()));
    beginRemoveRows({}, position, position);
    titles_.erase(titles_.begin() + position);
    endRemoveRows();
    if (position < int(titles_.size()))
        emit dataChanged(index(position, 0), index(int(titles_.size()) - 1, 0));
}

TitleList::TitleList(QObject* parent) : QObject(parent), selection_(&model_)
{
    connect(&selection_, &QItemSelectionModel::selectionChanged, this,
            [this] { setCommandsEnabled(true); });
}

void TitleList::setCommandsEnabled(bool enabled)
{
    if (enabled == commandsEnabled_)
        return;
    commandsEnabled_ = enabled;
    emit commandsEnabledChanged(enabled);
}

int TitleList::selectedPosition() const
{
    const QModelIndexList rows = selection_.selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TitleList::select(int position)
{
    Q_ASSERT(position >= 0 && position < count());
    const QModelIndex index = model_.index(position, 0);
    selection_.setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int TitleList::fillFrom(store::Query& textQuery, const QString& match)
{
    std::vector<QString> titles;
    const int n = textQuery.recordCount();
    titles.reserve(size_t(n));
    int matched = 0;
    for (int i = 0; i < n; ++i) {
        titles.push_back(textQuery.valueAt(i, store::kTitleColumn).toString());
        if (!match.isNull() && titles.back() == match)
            matched = i;
    }
    // The query ends where stepping through every row would leave it: on the last row, at its end.
    textQuery.last();
    selection_.clear();
    model_.reset(std::move(titles));
    Q_ASSERT(count() == n && matched >= 0 && (n == 0 || matched < n));
    if (n == 0)
        setCommandsEnabled(false);
    return matched;
}

void TitleList::refresh(store::Query& textQuery)
{
    textQuery.setStatement(store::statements::allTitles());
    textQuery.open();
    fillFrom(textQuery);
    if (count() > 0)
        select(0);
}

int TitleList::showNewTitle(store::Query& textQuery, const QString& t)
{
    textQuery.setStatement(store::statements::allTitles());
    textQuery.open();
    const int k = fillFrom(textQuery, t);
    if (count() > 0)
        select(k);
    return k;
}

int TitleList::chooseItem()
{
    if (count() == 0)
        return -1;
    int position = selectedPosition();
    if (position < 0)
        position = 0;
    select(position);
    return position;
}

void TitleList::clear()
{
    selection_.clear();
    model_.reset({});
    setCommandsEnabled(false);
}

void TitleList::removeItem(int position)
{
    model_.removeAt(position);
    if (count() == 0)
        setCommandsEnabled(false);
    else if (position == count())
        select(position - 1);
    else
        select(position);
    Q_ASSERT(count() == 0 || selectedPosition() >= 0);
}

} // namespace book
