// Export and import of the whole materials book through the text query, shared by the export
// and import dialogs and by the store tool.
#pragma once

#include "platform/Progress.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace store {
class Query;
}

namespace exchange {

struct ExchangeFile;

using platform::NoProgress;
using platform::Progress;

// Every entry's title (its row with line number 0), in title order, as the title list shows them.
std::vector<QString> listTitles(store::Query& textQuery);

// The exchange file's bytes: the stamp line, then for each title its marker line and its rows in
// line order, one statement per title. A title listed twice (an entry with two first lines) is
// written once. Each entry's rows go under its own title only, so that titles the store finds
// equal ("T" and "t", or two that differ only after a NUL) come back from an import as they were.
// Progress: one step per title.
QByteArray gatherBook(store::Query& textQuery, const std::vector<QString>& titles,
                      const QString& stamp, Progress& progress);

// listTitles and gatherBook on one state of the store, then the file is replaced whole; nothing
// is written when a read fails, and a failed write keeps the old file.
void exportBook(store::Query& textQuery, const QString& stamp, const QString& path,
                Progress& progress);

// Replaces every entry row by the rows of an accepted exchange file, in one transaction: a failure part-way leaves the store as it was. Progress: maximum is the rows
// deleted plus the lines after line 1; one step per deleted and per inserted row.
void replaceBook(store::Query& textQuery, const ExchangeFile& file, Progress& progress);

} // namespace exchange
