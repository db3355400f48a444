// An entry of the materials book as rows of the table 文本: one row per hard line, numbered
// from 0. Every write of an entry runs in one transaction: it changes all its rows or none.
#pragma once

#include "store/Progress.h"

#include <QString>
#include <QStringList>

namespace store {
class Query;
}

namespace book {

using store::NoProgress;
using store::Progress;

// The hard lines of an editor's text. A final line break adds no line, so "" has 0 lines,
// "\n" has one empty line and "a\n\n" has "a" and one empty line. CR LF, CR and LF all break.
QStringList linesOfText(const QString& text);

// The editor text for lines: each line followed by a line break ("\n").
QString textOfLines(const QStringList& lines);

// Text read from a file, its line breaks (CR LF, CR or LF) made the editor's own.
QString editorTextOfFile(const QString& path);

// The typed title without leading and trailing characters whose code is at most the space's.
QString prepareTitle(const QString& typed);

// True when the store holds rows under title ("=" of the store: Latin letters without case).
bool titleExists(store::Query& textQuery, const QString& title);

// Writes lines as the rows 0..n-1 of a new entry. Progress runs from 0 to n.
void addEntry(store::Query& textQuery, const QString& title, const QStringList& lines,
              Progress& progress);

// The entry's lines in line order (several runs of one title are merged by line number).
QStringList readEntry(store::Query& textQuery, const QString& title);

// Deletes every row of title, then writes lines as rows 0..n-1. Progress runs from 0 to the
// old row count plus n.
void replaceEntry(store::Query& textQuery, const QString& title, const QStringList& lines,
                  Progress& progress);

// Deletes every row of title. Progress runs from 0 to the row count.
void deleteEntry(store::Query& textQuery, const QString& title, Progress& progress);

} // namespace book
