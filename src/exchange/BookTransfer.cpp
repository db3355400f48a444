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

// The store compares titles without case for ASCII letters only. Its comparison ends at a NUL, so
// it finds "a\0b" equal to "a\0c"; this key keeps the whole title.
QString storeComparable(const QString& title)
{
    QString key = title;
    for (QChar& c : key)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    return key;
}

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
        const QString key = storeComparable(title);
        if (!gathered.contains(key)) {
            gathered.insert(key);
            file.append(titleMarkerLine(title));
            textQuery.setStatement(store::statements::entryLinesInOrder(title));
            textQuery.open();
            // Rows the store matched although their title differs after a NUL belong to
            // another entry, which gets its own marker.
            for (int i = 0; i < textQuery.recordCount(); ++i)
                if (storeComparable(textQuery.valueAt(i, kTitleColumn).toString()) == key)
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
