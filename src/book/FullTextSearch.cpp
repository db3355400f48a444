#include "FullTextSearch.h"

#include "Load.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "skin/TsuiMessageDialog.h"
#include "store/FullText.h"
#include "store/Query.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPoint>
#include <QStyledItemDelegate>
#include <QTimer>

namespace book {

namespace {

enum Column { kTitleColumn, kLineColumn, kTextColumn, kColumns };
// Characters of a line shown before its match, and at most in all.
constexpr qsizetype kLeadBeforeMatch = 12;
constexpr qsizetype kShownLength = 160;
constexpr size_t kHitsKept = 4096;
constexpr int kHitsRead = 64;
constexpr int kTypingPauseMs = 200;

// Draws the line column with its match on a highlight of its own.
class MatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const QPoint match = index.data(FullTextModel::kMatchRole).toPoint();
        if (index.column() != kTextColumn || match.y() <= 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                               .adjusted(2, 0, -2, 0);
        const QFontMetrics metrics(item.font);
        const QString before = text.left(match.x());
        const QString found = text.mid(match.x(), match.y());
        const bool selected = option.state & QStyle::State_Selected;
        const QColor ink = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        painter->save();
        painter->setClipRect(area);
        painter->setFont(item.font);
        int x = area.left();
        const int baseline = area.top() + (area.height() + metrics.ascent() - metrics.descent()) / 2;
        painter->setPen(ink);
        painter->drawText(x, baseline, before);
        x += metrics.horizontalAdvance(before);
        const int width = metrics.horizontalAdvance(found);
        painter->fillRect(QRect(x, area.top() + 1, width, area.height() - 2), QColor(255, 230, 80));
        painter->setPen(Qt::black);
        painter->drawText(x, baseline, found);
        painter->setPen(ink);
        painter->drawText(x + width, baseline, text.mid(match.x() + match.y()));
        painter->restore();
    }
};

} // namespace

FullTextModel::FullTextModel() = default;
FullTextModel::~FullTextModel() = default;

int FullTextModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !result_ ? 0 : int(std::min<qsizetype>(result_->count(), INT_MAX));
}

int FullTextModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

store::fulltext::Hit FullTextModel::hit(int row) const
{
    const auto kept = shown_.find(row);
    if (kept != shown_.end())
        return kept->second;
    if (shown_.size() >= kHitsKept)
        shown_.clear();
    // A page of rows at a time: the view asks for the rows around this one next.
    const int from = row - row % kHitsRead;
    const int count = std::min(kHitsRead, rowCount() - from);
    std::vector<store::fulltext::Hit> hits = result_->hits(from, count);
    for (int i = 0; i < count; ++i)
        shown_.insert_or_assign(from + i, std::move(hits[size_t(i)]));
    return shown_.at(row);
}

QVariant FullTextModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !result_ || (role != Qt::DisplayRole && role != kMatchRole))
        return {};
    store::fulltext::Hit found;
    if (!skin::guarded([&] { found = hit(index.row()); }))
        return {};
    switch (index.column()) {
    case kTitleColumn:
        return role == Qt::DisplayRole ? QVariant(found.title) : QVariant();
    case kLineColumn:
        return role == Qt::DisplayRole ? QVariant(QString::number(found.lineNumber + 1)) : QVariant();
    default: {
        // The line from a little before its match, so that the match is in sight.
        const qsizetype from = std::max<qsizetype>(0, found.matchStart - kLeadBeforeMatch);
        const QString lead = from > 0 ? QStringLiteral("…") : QString();
        if (role == kMatchRole)
            return QPoint(int(lead.size() + found.matchStart - from), int(found.matchLength));
        return QVariant(lead + found.line.mid(from, kShownLength));
    }
    }
}

QVariant FullTextModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const QString headers[kColumns] = {QStringLiteral("资料标题"), QStringLiteral("行"),
                                              QStringLiteral("内容")};
    return section >= 0 && section < kColumns ? headers[section] : QString();
}

void FullTextModel::setResult(store::fulltext::Result result)
{
    beginResetModel();
    shown_.clear();
    result_ = std::make_unique<store::fulltext::Result>(std::move(result));
    endResetModel();
}

void FullTextModel::clear()
{
    beginResetModel();
    shown_.clear();
    result_.reset();
    endResetModel();
}

} // namespace book

TFullTextForm::TFullTextForm(QWidget* owner, store::Query& textQuery, TForm5& reading)
    : TsuiDialog(owner, 600, 420, QStringLiteral("全文搜索")), textQuery_(textQuery),
      reading_(reading)
{
    Label1 = new QLabel(QStringLiteral("搜索内容："), suiForm1);
    Label1->setGeometry(16, 46, 70, 16);
    suiEdit1 = new TsuiEdit(suiForm1);
    suiEdit1->setGeometry(86, 43, 330, 21);
    Label2 = new QLabel(book::kFullTextCount.arg(0), suiForm1);
    Label2->setGeometry(430, 46, 150, 16);
    suiListView1 = new TsuiListView(suiForm1);
    suiListView1->setGeometry(16, 74, 568, 290);
    suiListView1->setModel(&model_);
    suiListView1->setColumnWidths({120, 44, 400});
    suiListView1->setItemDelegateForColumn(2, new book::MatchDelegate(suiListView1));
    suiButton1 = new TsuiButton(QStringLiteral("关闭"), suiForm1);
    suiButton1->setGeometry(512, 378, 72, 25);
    suiButton1->setCancel(true);
    suiButton1->setAutoDefault(false);
    suiMessageDialog1 = new TsuiMessageDialog(this, TsuiIconType::suiWarning);
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(book::kTypingPauseMs);

    connect(suiEdit1, &QLineEdit::textEdited, this, &TFullTextForm::textEdited);
    connect(Timer1, &QTimer::timeout, this, [this] { search(IfEmpty::Clear); });
    connect(suiEdit1, &QLineEdit::returnPressed, this, [this] {
        if (suiEdit1->text() != searched_ || suiEdit1->text().isEmpty())
            search(IfEmpty::Refuse);
        openCurrent();
    });
    connect(suiListView1, &QAbstractItemView::activated, this, [this] { openCurrent(); });
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    connect(suiButton1, &QPushButton::clicked, this, &TFullTextForm::suiButton1Click);
}

TFullTextForm::~TFullTextForm() = default;

store::fulltext::Searcher& TFullTextForm::searcher()
{
    if (!searcher_)
        searcher_ = std::make_unique<store::fulltext::Searcher>(textQuery_.storePath());
    return *searcher_;
}

// Rows changed since the last catch-up are folded into the index while the dialog opens, and
// the text of the last opening is searched again in the store as it is now.
void TFullTextForm::showEvent(QShowEvent* event)
{
    TsuiDialog::showEvent(event);
    skin::guarded([this] { searcher().catchUpIfBehind(); });
    if (!suiEdit1->text().isEmpty())
        search(IfEmpty::Clear);
    suiEdit1->setFocus();
    suiEdit1->selectAll();
}

void TFullTextForm::textEdited()
{
    Timer1->start();
}

void TFullTextForm::search(IfEmpty ifEmpty)
{
    Timer1->stop();
    const QString text = suiEdit1->text();
    searched_ = text;
    if (store::fulltext::checkQuery(text) != store::fulltext::QueryProblem::None) {
        model_.clear();
        Label2->setText(book::kFullTextCount.arg(0));
        if (ifEmpty == IfEmpty::Refuse)
            suiMessageDialog1->ShowModal(TsuiIconType::suiWarning, book::kEmptyFullTextQuery);
        return;
    }
    skin::guarded([&] {
        store::fulltext::Result found = searcher().search(text);
        Label2->setText(book::kFullTextCount.arg(found.count()));
        model_.setResult(std::move(found));
        if (model_.rowCount() > 0)
            suiListView1->setCurrentIndex(model_.index(0, 0));
    });
}

void TFullTextForm::openCurrent()
{
    const QModelIndex current = suiListView1->currentIndex();
    if (!current.isValid())
        return;
    store::fulltext::Hit hit;
    if (!skin::guarded([&] { hit = model_.hit(current.row()); }))
        return;
    reading_.openEntryAt(hit.title, hit.lineNumber, hit.matchStart, hit.matchLength);
    searchAgainKeepingRow();
}

// The reading window may have changed the entry: the list shows the store as it is now.
void TFullTextForm::searchAgainKeepingRow()
{
    if (searched_.isEmpty())
        return;
    const int row = suiListView1->currentIndex().row();
    search(IfEmpty::Clear);
    if (row >= 0 && row < model_.rowCount())
        suiListView1->setCurrentIndex(model_.index(row, 0));
}

void TFullTextForm::suiButton1Click()
{
    reject();
}

// The text stays for the next opening; the store is let go (a compaction may replace it).
void TFullTextForm::FormClose()
{
    Timer1->stop();
    model_.clear();
    Label2->setText(book::kFullTextCount.arg(0));
    searcher_.reset();
}
