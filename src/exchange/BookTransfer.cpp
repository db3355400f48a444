#include "BookTransfer.h"

#include "ExchangeFile.h"
#include "text/TextFile.h"
#include "store/Query.h"
#include "store/Statements.h"

#include <QSet>

namespace exchange {

namespace {

constexpr int kTitleColumn = 0;
constexpr int kLineNumberColumn = 1;
constexpr int kTextColumn = 2;

} // namespace

std::vector<QString> listTitles(store::Query& textQuery)
{
    textQuery.setStatement(store::statements::allTitles());
    textQuery.open();
    std::vector<QString> titles;
    titles.reserve(size_t(textQuery.recordCount()));
    for (int i = 0; i < textQuery.recordCount(); ++i)
        titles.push_back(textQuery.valueAt(i, kTitleColumn).toString());
    return titles;
}

QByteArray gatherBook(store::Query& textQuery, const std::vector<QString>& titles,
                      const QString& stamp, Progress& progress)
{
    progress.begin(int(titles.size()));
    textfile::LineEncoder file;
    file.append(stamp);
    QSet<QString> gathered;
    for (const QString& title : titles) {
        if (!gathered.contains(title)) {
            gathered.insert(title);
            file.append(titleMarkerLine(title));
            textQuery.setStatement(store::statements::entryLinesInOrder(title));
            textQuery.open();
            // The store's comparison also matches titles that differ in the case of a Latin
            // letter or anywhere after a NUL; those rows belong to entries with markers of
            // their own, and written here they would move to this title.
            for (int i = 0; i < textQuery.recordCount(); ++i)
                if (textQuery.valueAt(i, kTitleColumn).toString() == title)
                    file.append(textQuery.valueAt(i, kTextColumn).toString());
        }
        progress.step();
    }
    return file.take();
}

void exportBook(store::Query& textQuery, const QString& stamp, const QString& path,
                Progress& progress)
{
    QByteArray file;
    {
        // The titles and every entry are read from one state of the store, without the write
        // lock, so readers elsewhere neither stop the export nor are stopped by it.
        store::Query::Transaction snapshot(textQuery, store::Query::Transaction::Kind::Read);
        file = gatherBook(textQuery, listTitles(textQuery), stamp, progress);
        snapshot.commit();
    }
    textfile::writeBytes(path, file);
}

void replaceBook(store::Query& textQuery, const ExchangeFile& file, Progress& progress)
{
    store::Query::Transaction transaction(textQuery);
    textQuery.setStatement(store::statements::allEntryRows());
    textQuery.open();
    const int existing = textQuery.recordCount();
    progress.begin(existing + std::max(0, int(file.lineCount()) - 1));
    for (int i = 0; i < existing; ++i) {
        textQuery.deleteCurrent();
        progress.step();
    }
    walkEntryRows(file, [&](const QString& title, int lineNumber, const QString& text) {
        textQuery.append();
        textQuery.setField(kTitleColumn, title);
        textQuery.setField(kLineNumberColumn, lineNumber);
        textQuery.setField(kTextColumn, text);
        textQuery.post();
        progress.step();
    });
    transaction.commit();
}

} // namespace exchange
