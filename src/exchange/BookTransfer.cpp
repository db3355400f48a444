#include "BookTransfer.h"

#include "ExchangeFile.h"
#include "text/TextFile.h"
#include "store/FullText.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"
#include "store/TitleOrder.h"
#include "text/FileReplacement.h"

#include <QSet>
#include <optional>

namespace exchange {

namespace {

// How much of the exchange file is gathered before it is written on.
constexpr qsizetype kPieceSize = qsizetype(1) << 20;

// The store's memory map stays off while the book is rewritten: the pages it writes would
// otherwise stay mapped and count towards the import's memory beside the whole exchange file.
class NoMemoryMap {
public:
    explicit NoMemoryMap(store::Connection& connection) : connection_(connection)
    {
        connection_.setMemoryMap(0);
    }
    ~NoMemoryMap()
    {
        try {
            connection_.setMemoryMap(store::kMemoryMapBytes);
        } catch (const store::StoreError&) {
            // Reads then go through the page cache, as they do without a map.
        }
    }
    NoMemoryMap(const NoMemoryMap&) = delete;
    NoMemoryMap& operator=(const NoMemoryMap&) = delete;

private:
    store::Connection& connection_;
};

} // namespace

std::vector<QString> listTitles(store::Query& textQuery)
{
    textQuery.setStatement(store::statements::allTitles());
    textQuery.open();
    std::vector<QString> titles;
    titles.reserve(size_t(textQuery.recordCount()));
    for (int i = 0; i < textQuery.recordCount(); ++i)
        titles.push_back(textQuery.valueAt(i, store::kTitleColumn).toString());
    return titles;
}

void writeBook(store::Query& textQuery, const std::vector<QString>& titles, const QString& stamp,
               Progress& progress, const ByteSink& write)
{
    progress.begin(int(titles.size()));
    textfile::LineEncoder file;
    const auto passOn = [&] {
        write(file.gathered());
        file.clear();
    };
    file.append(stamp);
    QSet<QString> gathered;
    for (const QString& title : titles) {
        if (!gathered.contains(title)) {
            gathered.insert(title);
            file.append(titleMarkerLine(title));
            const QByteArray titleUtf8 = title.toUtf8();
            // The store's comparison also matches titles that differ in the case of a Latin
            // letter or anywhere after a NUL; those rows belong to entries with markers of
            // their own, and written here they would move to this title. Text is taken as
            // UTF-8 as the store keeps it; bytes that are no UTF-8 go the way of UTF-16.
            textQuery.forEachRow(store::statements::entryTextsInOrder(title),
                                 [&](const store::Query::RowView& row) {
                                     if (row.utf8(0) != titleUtf8 && row.text(0) != title)
                                         return;
                                     if (!file.appendUtf8(row.utf8(1)))
                                         file.append(row.text(1));
                                     if (file.gathered().size() >= kPieceSize)
                                         passOn();
                                 });
        }
        progress.step();
    }
    passOn();
}

QByteArray gatherBook(store::Query& textQuery, const std::vector<QString>& titles,
                      const QString& stamp, Progress& progress)
{
    QByteArray book;
    writeBook(textQuery, titles, stamp, progress, [&](QByteArrayView piece) { book += piece; });
    return book;
}

void exportBook(store::Query& textQuery, const QString& stamp, const QString& path,
                Progress& progress)
{
    std::optional<textfile::FileReplacement> file;
    // Each page is read about once, in title order.
    const store::Connection::OnePassReads pages(textQuery.connection());
    // The titles and every entry are read from one state of the store, without the write lock,
    // so readers elsewhere neither stop the export nor are stopped by it.
    store::Query::Transaction snapshot(textQuery, store::Query::Transaction::Kind::Read);
    writeBook(textQuery, listTitles(textQuery), stamp, progress, [&](QByteArrayView piece) {
        if (!file)
            file.emplace(path);
        file->write(piece);
    });
    snapshot.commit();
    Q_ASSERT(file);  // the stamp line at least was written
    file->commit();
}

void replaceBook(store::Query& textQuery, const ExchangeFile& file, Progress& progress)
{
    const NoMemoryMap noMap(textQuery.connection());
    store::Query::Transaction transaction(textQuery);
    // The full-text index of the new rows is made as they are written, and takes the place of
    // the old one in the same transaction.
    store::fulltext::BookRewrite index(textQuery.connection());
    store::titleorder::BookRewrite order(textQuery.connection());
    // One statement removes the old rows; the store then holds what deleting them one by one
    // would leave.
    const qint64 deleted = textQuery.deleteRows(store::statements::allEntryRows());
    progress.begin(int(deleted + std::max<qsizetype>(0, file.lineCount() - 1)));
    for (qint64 i = 0; i < deleted; ++i)
        progress.step();
    store::Query::RowWriter rows(textQuery, store::kTextTable);
    walkEntryRows(file, [&](QByteArrayView title, int lineNumber, QByteArrayView text) {
        rows.setUtf8(store::kTitleColumn, title);
        rows.setInteger(store::kLineNumberColumn, lineNumber);
        rows.setUtf8(store::kContentColumn, text);
        rows.write();
        index.addInsertedRow(title, lineNumber, text);
        progress.step();
    });
    index.finish();
    order.finish();
    transaction.commit();
}

} // namespace exchange
