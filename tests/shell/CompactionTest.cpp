// Store compaction: the copy through VACUUM INTO, the refusal of a leftover copy, locked and
// unwritable stores, and a rename that fails, with the store's data always under one name.
#include "support/ProgramFolder.h"

#include "app/StoreCompaction.h"
#include "platform/ProgramFolder.h"
#include "store/Compaction.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using store::CompactionResult;
using testing_support::ProgramFolder;
using testing_support::readBytes;

namespace {

using Rows = std::vector<QVariantList>;

// Every row of a table, in a fixed order, so that two stores can be compared whatever their
// row ids are after a rewrite.
Rows tableRows(const QString& storePath, const QString& table)
{
    store::Connection connection(storePath);
    store::SqliteStatement select(connection, QStringLiteral("select * from \"%1\"").arg(table));
    Rows rows;
    while (select.step()) {
        QVariantList row;
        for (int column = 0; column < select.columnCount(); ++column)
            row << select.column(column);
        rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end(), [](const QVariantList& a, const QVariantList& b) {
        for (int i = 0; i < a.size(); ++i) {
            const QString left = a[i].toString(), right = b[i].toString();
            if (left != right)
                return left < right;
        }
        return false;
    });
    return rows;
}

QStringList schema(const QString& storePath)
{
    store::Connection connection(storePath);
    store::SqliteStatement select(connection,
                                  QStringLiteral("select sql from sqlite_master order by name"));
    QStringList statements;
    while (select.step())
        statements << select.column(0).toString();
    return statements;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class CompactionTest : public ::testing::Test {
protected:
    void fillStore()
    {
        for (int i = 0; i < 40; ++i)
            testing_support::addEntry(folder.storePath(), QStringLiteral("标题 %1 '%_").arg(i),
                                      {QStringLiteral("第一行"), QString(), QString(300, u'字')});
        testing_support::addPicture(folder.storePath(), "海边.jpg", "夏天", 1, QByteArray(5000, '\xff'));
        testing_support::addPicture(folder.storePath(), "Fail", "", 0, QByteArray());
    }
    void expectStoreAsBefore(const QByteArray& before)
    {
        EXPECT_EQ(readBytes(folder.storePath()), before);
    }

    ProgramFolder folder;
    QString copyPath = platform::ProgramFolder(folder.path()).compactionCopy();
};

TEST_F(CompactionTest, ALeftoverCopyMakesEveryCompactionFailAndIsLeftAlone)
{
    fillStore();
    const QByteArray before = readBytes(folder.storePath());
    // An empty file too: the engine would write into one, but it may be a user's file.
    for (const QByteArray& leftover : {QByteArray("left from an earlier run"), QByteArray()}) {
        writeFile(copyPath, leftover);
        const CompactionResult result = app::compactProgramStore(platform::ProgramFolder(folder.path()));
        EXPECT_EQ(result.outcome, CompactionResult::Outcome::Failed);
        EXPECT_FALSE(result.succeeded());
        expectStoreAsBefore(before);
        EXPECT_EQ(readBytes(copyPath), leftover);
        ASSERT_TRUE(QFile::remove(copyPath));
    }
}

TEST_F(CompactionTest, KeepsEveryRowAndTheIndexAndShrinksTheFileAfterDeletions)
{
    fillStore();
    {
        store::Connection connection(folder.storePath());
        connection.exec(QStringLiteral("delete from 文本 where 标题 like '标题 1%'"));
    }
    const Rows texts = tableRows(folder.storePath(), "文本");
    const Rows pictures = tableRows(folder.storePath(), "图片");
    const QStringList tables = schema(folder.storePath());
    const qint64 sizeBefore = QFileInfo(folder.storePath()).size();

    const CompactionResult result = app::compactProgramStore(platform::ProgramFolder(folder.path()));

    ASSERT_TRUE(result.succeeded()) << result.reason.toStdString();
    EXPECT_EQ(result.dataPath, folder.storePath());
    EXPECT_TRUE(result.reason.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(copyPath));
    EXPECT_LT(QFileInfo(folder.storePath()).size(), sizeBefore);
    EXPECT_EQ(tableRows(folder.storePath(), "文本"), texts);
    EXPECT_EQ(tableRows(folder.storePath(), "图片"), pictures);
    EXPECT_EQ(schema(folder.storePath()), tables);
    EXPECT_EQ(texts.size(), size_t(29 * 3));
}

TEST_F(CompactionTest, AStoreThatAnotherConnectionIsWritingToIsLeftAloneAndKeepsThatWrite)
{
    fillStore();
    const QByteArray before = readBytes(folder.storePath());
    store::Connection writer(folder.storePath());
    writer.exec(QStringLiteral("begin immediate; insert into 文本 values('新', 0, '正在写')"));

    const CompactionResult result = app::compactProgramStore(platform::ProgramFolder(folder.path()));

    EXPECT_EQ(result.outcome, CompactionResult::Outcome::Failed);
    EXPECT_FALSE(result.reason.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(copyPath));
    expectStoreAsBefore(before);
    writer.exec(QStringLiteral("commit"));
    EXPECT_EQ(tableRows(folder.storePath(), "文本").size(), size_t(40 * 3 + 1));
}

TEST_F(CompactionTest, AMissingStoreFailsWithoutMakingACopy)
{
    ASSERT_TRUE(QFile::remove(folder.storePath()));
    const CompactionResult result = app::compactProgramStore(platform::ProgramFolder(folder.path()));
    EXPECT_EQ(result.outcome, CompactionResult::Outcome::Failed);
    EXPECT_FALSE(QFileInfo::exists(copyPath));
    EXPECT_FALSE(QFileInfo::exists(folder.storePath()));
}

TEST_F(CompactionTest, ACopyThatCannotBeWrittenFailsWithTheStoreIntact)
{
    fillStore();
    const QByteArray before = readBytes(folder.storePath());
    // A folder that is a regular file can hold nothing, whoever runs the test.
    writeFile(folder.file("NotAFolder"), "x");
    const CompactionResult result =
        store::compactStore(folder.storePath(), folder.file("NotAFolder/current1.mdb"));
    EXPECT_EQ(result.outcome, CompactionResult::Outcome::Failed);
    EXPECT_FALSE(result.reason.isEmpty());
    expectStoreAsBefore(before);
}

TEST_F(CompactionTest, AReadOnlyDataFolderFailsWithTheStoreIntact)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    fillStore();
    const QByteArray before = readBytes(folder.storePath());
    const QString data = folder.file("Data");
    ASSERT_EQ(chmod(data.toLocal8Bit().constData(), 0555), 0);
    const CompactionResult result = app::compactProgramStore(platform::ProgramFolder(folder.path()));
    chmod(data.toLocal8Bit().constData(), 0755);
    EXPECT_EQ(result.outcome, CompactionResult::Outcome::Failed);
    EXPECT_FALSE(QFileInfo::exists(copyPath));
    expectStoreAsBefore(before);
}

TEST_F(CompactionTest, ARenameThatFailsRemovesTheCopyAndKeepsTheStore)
{
    fillStore();
    const QByteArray before = readBytes(folder.storePath());
    const auto refuse = [](const QString&, const QString&, QString& reason) {
        reason = QStringLiteral("refused");
        return false;
    };
    const CompactionResult result = store::compactStore(folder.storePath(), copyPath, refuse);
    EXPECT_EQ(result.outcome, CompactionResult::Outcome::Failed);
    EXPECT_EQ(result.reason, "refused");
    EXPECT_FALSE(QFileInfo::exists(copyPath));
    expectStoreAsBefore(before);
}

TEST_F(CompactionTest, ACopyThatCannotBeRemovedAfterAFailureIsNamedInTheReason)
{
    fillStore();
    const QByteArray before = readBytes(folder.storePath());
    // A folder full of something in the copy's place: no one can remove it as a file.
    const auto blockTheCopyThenRefuse = [](const QString& from, const QString&, QString& reason) {
        QFile::remove(from);
        QDir().mkpath(from + QStringLiteral("/inside"));
        reason = QStringLiteral("refused");
        return false;
    };
    const CompactionResult result =
        store::compactStore(folder.storePath(), copyPath, blockTheCopyThenRefuse);
    EXPECT_EQ(result.outcome, CompactionResult::Outcome::Failed);
    EXPECT_TRUE(result.reason.startsWith(QStringLiteral("refused; ") + copyPath + " could not be removed: "))
        << result.reason.toStdString();
    expectStoreAsBefore(before);
    ASSERT_TRUE(QDir(copyPath).removeRecursively());
}

TEST_F(CompactionTest, WhenTheStoreIsGoneAndTheRenameFailsTheDataStaysUnderTheCopyName)
{
    fillStore();
    const Rows texts = tableRows(folder.storePath(), "文本");
    const auto loseStoreThenRefuse = [](const QString&, const QString& to, QString& reason) {
        QFile::remove(to);
        reason = QStringLiteral("refused");
        return false;
    };
    const CompactionResult result =
        store::compactStore(folder.storePath(), copyPath, loseStoreThenRefuse);
    EXPECT_EQ(result.outcome, CompactionResult::Outcome::LeftUnderCopyName);
    EXPECT_EQ(result.dataPath, copyPath);
    EXPECT_FALSE(result.succeeded());
    ASSERT_TRUE(QFileInfo::exists(copyPath));
    EXPECT_EQ(tableRows(copyPath, "文本"), texts);
}

} // namespace
