// The full-text search dialog: finds a text in the lines of every entry and opens the entry in
// the reading window at the line of a match.
#pragma once

#include "skin/TsuiDialog.h"

#include <QAbstractTableModel>
#include <QString>
#include <memory>
#include <unordered_map>

class QLabel;
class QTimer;
class TForm5;
class TsuiButton;
class TsuiEdit;
class TsuiListView;
class TsuiMessageDialog;

namespace store {
class Query;
namespace fulltext {
class Result;
class Searcher;
struct Hit;
}
}

namespace book {

inline const QString kEmptyFullTextQuery = QStringLiteral("请输入要搜索的内容！");
inline const QString kFullTextCount = QStringLiteral("共找到 %1 处");

// The matches of one search as rows: title, line number (counted from 1, as a reader counts the
// lines of the reading window; the store numbers them from 0) and the line around the match.
// Lines are read from the store when a row is shown.
class FullTextModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Where the match stands in the shown line: a QPoint(start, length).
    static constexpr int kMatchRole = Qt::UserRole + 1;

    FullTextModel();
    ~FullTextModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setResult(store::fulltext::Result result);
    void clear();
    store::fulltext::Hit hit(int row) const;

private:
    std::unique_ptr<store::fulltext::Result> result_;
    mutable std::unordered_map<int, store::fulltext::Hit> shown_;  // hits read, by row
};

} // namespace book

class TFullTextForm : public TsuiDialog {
    Q_OBJECT
public:
    TFullTextForm(QWidget* owner, store::Query& textQuery, TForm5& reading);
    ~TFullTextForm() override;

    // Searches the text of the field now; an empty field is refused with a message when asked.
    enum class IfEmpty { Clear, Refuse };
    void search(IfEmpty ifEmpty);
    // Opens the entry of the current match in the reading window at its line.
    void openCurrent();

    TsuiEdit* searchEdit() const { return suiEdit1; }
    TsuiListView* resultList() const { return suiListView1; }
    QLabel* countLabel() const { return Label2; }
    const book::FullTextModel& results() const { return model_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void suiButton1Click();  // 关闭
    void FormClose() override;
    void textEdited();
    void searchAgainKeepingRow();
    store::fulltext::Searcher& searcher();

    store::Query& textQuery_;
    TForm5& reading_;
    std::unique_ptr<store::fulltext::Searcher> searcher_;
    book::FullTextModel model_;
    QString searched_;

    QLabel* Label1;
    TsuiEdit* suiEdit1;
    QLabel* Label2;
    TsuiListView* suiListView1;
    TsuiButton* suiButton1;
    TsuiMessageDialog* suiMessageDialog1;
    QTimer* Timer1;  // a search starts when typing pauses
};
