// Pages read in blocks are the file's own: the same rows as read page by page (the file's last,
// partial block included), and after another connection's write the rows it wrote, never those
// of a block read before it.
#include "store/Sqlite.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using store::Connection;
using store::SqliteStatement;

// Every row, fetched by rowid one at a time as a search fetches them, in one text.
QByteArray everyRowByRowid(const Connection& connection, qint64 rows)
{
    SqliteStatement row(connection, QStringLiteral("select x from t where rowid=?"));
    QByteArray all;
    for (qint64 rowid = 1; rowid <= rows; ++rowid) {
        row.reset();
        row.bindInteger(1, rowid);
        if (row.step())
            all += row.columnUtf8(0);
        all += '\n';
    }
    return all;
}

TEST(BlockReads, RowsReadInBlocksAreTheFilesRowsBeforeAndAfterAnotherConnectionWrites)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("blocks.mdb"));
    constexpr qint64 kRows = 3000;
    Connection writer(path, Connection::Mode::CreateNew);
    // Rows of a few bytes to 5,000, some spilling onto overflow pages: a file of about 1.1 MB,
    // whose last block of pages is a partial one.
    writer.exec(QStringLiteral(
        "create table t(x text); insert into t select printf('%d-%s', x, lower(hex(randomblob("
        "case when x % 97 = 0 then 2500 else x % 300 end)))) from (with recursive c(x) as "
        "(select 1 union all select x + 1 from c where x < 3000) select x from c)"));

    Connection reader(path, Connection::Mode::ReadOnly, Connection::Reads::InBlocksWhenAsked);
    reader.setMemoryMap(0);
    reader.setPageCache(64);  // most pages are read from the file again each time
    reader.readInBlocks(true);
    const QByteArray before = everyRowByRowid(writer, kRows);
    ASSERT_EQ(before.count('\n'), kRows);
    EXPECT_EQ(everyRowByRowid(reader, kRows), before);

    // The same pages, changed by another connection (same lengths: every row stays on its page).
    writer.exec(QStringLiteral("update t set x = upper(x)"));
    const QByteArray after = everyRowByRowid(writer, kRows);
    ASSERT_NE(after, before);
    EXPECT_EQ(everyRowByRowid(reader, kRows), after);

    reader.readInBlocks(false);
    EXPECT_EQ(everyRowByRowid(reader, kRows), after);
}

} // namespace
