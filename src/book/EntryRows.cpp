#include "EntryRows.h"

#include "text/TextFile.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Statements.h"

namespace book {

namespace {

QString normalizedBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

void appendRows(store::Query& textQuery, const QString& title, const QStringList& lines,
                Progress& progress)
{
    for (int i = 0; i < lines.size(); ++i) {
        textQuery.append();
        textQuery.setField(store::kTitleColumn, title);
        textQuery.setField(store::kLineNumberColumn, i);
        textQuery.setField(store::kContentColumn, lines[i]);
        textQuery.post();
        progress.step();
    }
}

int openEntryRows(store::Query& textQuery, const QString& title)
{
    textQuery.setStatement(store::statements::entryRows(title));
    textQuery.open();
    return textQuery.recordCount();
}

void deleteOpenRows(store::Query& textQuery, int count, Progress& progress)
{
    for (int i = 0; i < count; ++i) {
        textQuery.deleteCurrent();
        progress.step();
    }
    Q_ASSERT(textQuery.isEmpty());  // every row of the entry is gone
}

} // namespace

QStringList linesOfText(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = normalizedBreaks(text).split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString textOfLines(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += u'\n';
    }
    return text;
}

QString editorTextOfFile(const QString& path)
{
    return normalizedBreaks(textfile::decodeUserFile(textfile::readBytes(path)));
}

QString prepareTitle(const QString& typed)
{
    qsizetype begin = 0, end = typed.size();
    while (begin < end && typed[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && typed[end - 1].unicode() <= u' ')
        --end;
    return typed.mid(begin, end - begin);
}

bool titleExists(store::Query& textQuery, const QString& title)
{
    return openEntryRows(textQuery, title) != 0;
}

void addEntry(store::Query& textQuery, const QString& title, const QStringList& lines,
              Progress& progress)
{
    openEntryRows(textQuery, title);
    store::Query::Transaction transaction(textQuery);
    progress.begin(int(lines.size()));
    appendRows(textQuery, title, lines, progress);
    transaction.commit();
}

QStringList readEntry(store::Query& textQuery, const QString& title)
{
    textQuery.setStatement(store::statements::entryLinesInOrder(title));
    textQuery.open();
    QStringList lines;
    const int n = textQuery.recordCount();
    lines.reserve(n);
    for (int i = 0; i < n; ++i)
        lines << textQuery.valueAt(i, store::kContentColumn).toString();
    return lines;
}

void replaceEntry(store::Query& textQuery, const QString& title, const QStringList& lines,
                  Progress& progress)
{
    const int oldRows = openEntryRows(textQuery, title);
    store::Query::Transaction transaction(textQuery);
    progress.begin(oldRows + int(lines.size()));
    deleteOpenRows(textQuery, oldRows, progress);
    appendRows(textQuery, title, lines, progress);
    transaction.commit();
}

void deleteEntry(store::Query& textQuery, const QString& title, Progress& progress)
{
    const int rows = openEntryRows(textQuery, title);
    store::Query::Transaction transaction(textQuery);
    progress.begin(rows);
    deleteOpenRows(textQuery, rows, progress);
    transaction.commit();
}

} // namespace book
