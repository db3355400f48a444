// Export and import of the whole materials book through the text query, shared by the export
// and import dialogs and by the store tool.
#pragma once

#include "store/Progress.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace store {
class Query;
}

namespace exchange {

struct ExchangeFile;

using store::NoProgress;
using store::Progress;

// Every entry's title (its row with line number 0), in title order, as the title list shows them.
std::vector<QString> listTitles(store::Query& textQuery);

// Writes the exchange file's bytes to write, in pieces of about a megabyte: the stamp line, then
// for each title its marker line and its rows in line order, one statement per title. A title
// listed twice (an entry with two first lines) is written once. Each entry's rows go under its
// own title only, so that titles the store finds equal ("T" and "t", or two that differ only
// after a NUL) come back from an import as they were. Progress: one step per title.
using ByteSink = std::function<void(QByteArrayView bytes)>;
void writeBook(store::Query& textQuery, const std::vector<QString>& titles, const QString& stamp,
               Progress& progress, const ByteSink& write);
// writeBook gathered into one array.
QByteArray gatherBook(store::Query& textQuery, const std::vector<QString>& titles,
                      const QString& stamp, Progress& progress);

// listTitles and writeBook on one state of the store, streamed into a replacement of the file
// (made when the first piece is ready), which is committed only after every entry was read:
// nothing is written when a read fails, and a failed write keeps the old file. Memory stays at
// one piece, whatever the size of the book.
void exportBook(store::Query& textQuery, const QString& stamp, const QString& path,
                Progress& progress);

// Replaces every entry row by the rows of an accepted exchange file, in one transaction: a
// failure part-way leaves the store as it was. The old rows go in one statement, the new ones
// through one prepared insert, and no row is kept in memory; the query is left closed.
// Progress: maximum is the rows deleted plus the lines after line 1; one step per deleted and
// per inserted row.
void replaceBook(store::Query& textQuery, const ExchangeFile& file, Progress& progress);

} // namespace exchange
