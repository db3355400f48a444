// How long a write waits behind another connection's lock: the busy time is for the whole
// transaction, however often the engine asks for the lock again while it spills pages.
#include "support/ProgramFolder.h"

#include "store/Sqlite.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using store::Connection;
using store::SqliteStatement;

namespace {

qint64 rowCount(const Connection& connection)
{
    SqliteStatement count(connection, QStringLiteral("select count(*) from 文本"));
    count.step();
    return count.columnInt(0);
}

} // namespace

TEST(LockWait, AWriteBehindAReaderWaitsTheBusyTimeOnceInAllThenFailsWithTheStoreIntact)
{
    testing_support::ProgramFolder folder;
    Connection reader(folder.storePath());
    reader.exec(QStringLiteral("insert into 文本 values ('kept', 0, 'x')"));
    reader.begin(Connection::TransactionKind::Read);
    SqliteStatement reading(reader, QStringLiteral("select * from 文本"));
    ASSERT_TRUE(reading.step());  // holds the shared lock while it stays on the row

    constexpr int kBusyTime = 200;
    Connection writer(folder.storePath());
    writer.setBusyTime(kBusyTime);
    writer.exec(QStringLiteral("pragma cache_size=4"));  // spills after a few pages
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_THROW(
        {
            writer.begin(Connection::TransactionKind::Write);
            SqliteStatement insert(writer, QStringLiteral("insert into 文本 values (?, ?, ?)"));
            for (int i = 0; i < 2000; ++i) {
                insert.bindAll({QStringLiteral("T"), i, QString(500, u'字')});
                insert.step();
                insert.reset();
            }
            writer.commit();
        },
        store::StoreError);
    writer.rollback();
    // Each spill used to wait the whole busy time again: 2000 rows of 1.5 kB spill dozens of times.
    EXPECT_LT(elapsed.elapsed(), 8 * kBusyTime);
    EXPECT_GE(elapsed.elapsed(), kBusyTime);

    reading.reset();
    reader.commit();
    EXPECT_EQ(rowCount(reader), 1);
}
