// Feeds arbitrary bytes to the exchange file reader. Whatever it accepts is imported into a
// store; exporting that book and importing the export must give the same rows again: no row lost,
// none added, no line moved to another entry. Only a title that the file opens twice may come
// back with its lines numbered afresh, and a second round trip must then change nothing. Titles
// whose bytes differ but read alike are never merged: such a file is refused and the store left
// as it was; and no title has two rows of one line number unless the file opens it twice.
#include "exchange/BookTransfer.h"
#include "exchange/ExchangeFile.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr size_t kLargestInput = 1 << 16;
const QString kStamp = QStringLiteral("2008-03-15 10:05:09");

struct Row {
    QString title;
    qint64 line;
    QString text;
    bool operator<(const Row& other) const
    {
        return std::tie(title, line, text) < std::tie(other.title, other.line, other.text);
    }
    bool operator==(const Row&) const = default;
};

// The store lives in memory-backed storage where there is some, so that commits cost little.
const QString& storePath()
{
    static QTemporaryDir folder(QFileInfo::exists(QStringLiteral("/dev/shm"))
                                    ? QStringLiteral("/dev/shm/mozhou-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/mozhou-fuzz-XXXXXX"));
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("current.mdb"));
        store::createStore(file);
        return file;
    }();
    return path;
}

std::vector<Row> storedRows(const store::Connection& connection)
{
    store::SqliteStatement select(connection, QStringLiteral("select 标题, 行数, 内容 from 文本"));
    std::vector<Row> rows;
    while (select.step())
        rows.push_back({select.column(0).toString(), select.columnInt(1), select.column(2).toString()});
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Rows without their line numbers, for books whose numbering an export may redo.
std::vector<Row> unnumbered(std::vector<Row> rows)
{
    for (Row& row : rows)
        row.line = 0;
    std::sort(rows.begin(), rows.end());
    return rows;
}

bool opensATitleTwice(const exchange::ExchangeFile& file)
{
    QSet<QByteArray> titles;
    for (qsizetype i = 1; i < file.lineCount(); ++i) {
        const QByteArrayView line = file.rawLine(i);
        if (!exchange::isTitleMarkerLine(line))
            continue;
        const QByteArray title = line.toByteArray();
        if (titles.contains(title))
            return true;
        titles.insert(title);
    }
    return false;
}

// Two marker lines with different bytes whose titles read as the same text.
bool hasTitlesThatReadAlike(const exchange::ExchangeFile& file)
{
    QHash<QString, QByteArray> bytesOfTitle;
    for (qsizetype i = 1; i < file.lineCount(); ++i) {
        const QByteArrayView line = file.rawLine(i);
        if (!exchange::isTitleMarkerLine(line))
            continue;
        const QByteArray bytes = line.sliced(exchange::kTitleMarkerBytes.size()).toByteArray();
        const QString title = textfile::decode(bytes, file.encoding);
        const auto seen = bytesOfTitle.constFind(title);
        if (seen != bytesOfTitle.cend() && *seen != bytes)
            return true;
        bytesOfTitle.insert(title, bytes);
    }
    return false;
}

bool numbersALineTwice(const std::vector<Row>& sortedRows)
{
    return std::adjacent_find(sortedRows.begin(), sortedRows.end(), [](const Row& a, const Row& b) {
               return a.title == b.title && a.line == b.line;
           }) != sortedRows.end();
}

std::vector<Row> roundTrip(store::Query& query, const store::Connection& reader)
{
    exchange::NoProgress none;
    const QByteArray exported =
        exchange::gatherBook(query, exchange::listTitles(query), kStamp, none);
    const exchange::ExchangeFile again = exchange::parseExchangeFile(exported);
    if (again.lineCount() < 2)
        return storedRows(reader);  // an empty book exports as the stamp alone
    if (!again.accepted)
        std::abort();
    exchange::replaceBook(query, again, none);
    return storedRows(reader);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kLargestInput)
        return 0;
    const exchange::ExchangeFile file = exchange::parseExchangeFile(
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!file.accepted)
        return 0;
    store::Query query;
    query.setStorePath(storePath());
    const store::Connection reader(storePath());
    exchange::NoProgress none;
    if (hasTitlesThatReadAlike(file)) {
        const std::vector<Row> before = storedRows(reader);
        try {
            exchange::replaceBook(query, file, none);
            std::abort();
        } catch (const exchange::ImportRefused&) {
        }
        if (storedRows(reader) != before)
            std::abort();
        return 0;
    }
    exchange::replaceBook(query, file, none);
    const std::vector<Row> imported = storedRows(reader);
    if (!opensATitleTwice(file) && numbersALineTwice(imported))
        std::abort();
    const std::vector<Row> once = roundTrip(query, reader);
    if (opensATitleTwice(file)) {
        if (unnumbered(once) != unnumbered(imported) || roundTrip(query, reader) != once)
            std::abort();
    } else if (once != imported) {
        std::abort();
    }
    return 0;
}
