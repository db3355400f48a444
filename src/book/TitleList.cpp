#include "TitleList.h"

#include <algorithm>

#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"
#include "store/TitleOrder.h"
#include "skin/Messages.h"

namespace book {

namespace {
// Rows read at once: the first page fills a window; later ones grow with the list, so that
// reaching the end of a long list takes a few dozen pages, not thousands.
constexpr int kFirstPage = 256;
constexpr int kLargestPage = 32768;
} // namespace

TitleModel::TitleModel(QObject* parent) : QAbstractTableModel(parent) {}
TitleModel::~TitleModel() = default;

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

bool TitleModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && reader_ && !reader_->atEnd();
}

// Called by views while they lay out or paint: a failure is reported here, never passed on.
void TitleModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        skin::guarded([this] { fetchPage(); });
}

void TitleModel::reset(std::vector<QString> titles, std::unique_ptr<store::titleorder::TitleReader> reader)
{
    beginResetModel();
    titles_ = std::move(titles);
    reader_ = std::move(reader);
    endResetModel();
}

bool TitleModel::fetchPage()
{
    if (!reader_ || reader_->atEnd())
        return false;
    std::vector<QString> page;
    try {
        page = reader_->next(std::clamp(int(titles_.size()), kFirstPage, kLargestPage));
    } catch (const store::StoreError&) {
        reader_.reset();
        throw;
    }
    if (page.empty())
        return false;
    const int first = int(titles_.size());
    beginInsertRows({}, first, first + int(page.size()) - 1);
    titles_.insert(titles_.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
    endInsertRows();
    return true;
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

void TitleList::fillInOrder(store::Query& textQuery)
{
    textQuery.setStatement(store::statements::allTitles());
    std::unique_ptr<store::titleorder::TitleReader> reader;
    try {
        reader = std::make_unique<store::titleorder::TitleReader>(textQuery.storePath());
    } catch (const store::StoreError&) {
        // A store that cannot be written (or has no text table): the query reads it, and reports
        // what is wrong with it.
        textQuery.open();
        fillFrom(textQuery);
        return;
    }
    selection_.clear();
    model_.reset({}, std::move(reader));
    model_.fetchPage();
    if (count() == 0)
        setCommandsEnabled(false);
}

void TitleList::refresh(store::Query& textQuery)
{
    fillInOrder(textQuery);
    if (count() > 0)
        select(0);
}

// Equal titles have equal keys, so they stand together: the search ends after the last of them.
int TitleList::showNewTitle(store::Query& textQuery, const QString& t)
{
    fillInOrder(textQuery);
    int k = -1;
    for (int i = 0; i < count() || model_.fetchPage(); ++i) {
        if (title(i) == t)
            k = i;
        else if (k >= 0)
            break;
    }
    k = std::max(k, 0);
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
    if (position == count())
        model_.fetchPage();  // the successor may not have been fetched yet
    if (count() == 0)
        setCommandsEnabled(false);
    else if (position == count())
        select(position - 1);
    else
        select(position);
    Q_ASSERT(count() == 0 || selectedPosition() >= 0);
}

} // namespace book
