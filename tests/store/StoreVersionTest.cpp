// The store's mark and version: new stores carry them, unmarked ones open as before, a newer one
// is refused unchanged wherever it is opened; and what the tool's check says of files that are no
// store or whose tables lack columns.
#include "support/ProgramFolder.h"

#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"
#include "store/StoreCheck.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using testing_support::ProgramFolder;

void setStamp(const QString& path, int applicationId, int version)
{
    store::Connection(path).exec(QStringLiteral("pragma application_id=%1; pragma user_version=%2")
                                     .arg(applicationId).arg(version));
}

QString failureOf(const std::function<void()>& body)
{
    try {
        body();
    } catch (const store::StoreError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

QString fileWith(const ProgramFolder& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = folder.file(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

} // namespace

TEST(StoreVersion, NewStoresAreMarkedAndUnmarkedStoresOpenAsBefore)
{
    ProgramFolder folder;
    const store::Connection::Stamp stamp = store::Connection(folder.storePath()).stamp();
    EXPECT_EQ(stamp.applicationId, store::kStoreApplicationId);
    EXPECT_EQ(stamp.version, store::kStoreVersion);

    setStamp(folder.storePath(), 0, 0);
    testing_support::addEntry(folder.storePath(), "t", {"x"});
    store::Query query;
    query.setStorePath(folder.storePath());
    query.setStatement(store::statements::allTitles());
    query.open();
    EXPECT_EQ(query.recordCount(), 1);
    EXPECT_FALSE(store::whyNotAStore(folder.storePath()).has_value());
    EXPECT_TRUE(store::missingColumns(folder.storePath()).isEmpty());
}

TEST(StoreVersion, ANewerStoreIsRefusedUnchangedWhereverItIsOpened)
{
    ProgramFolder folder;
    // Another program's database that happens to carry a higher version is not taken for ours.
    setStamp(folder.storePath(), 0x12345678, 9);
    EXPECT_EQ(failureOf([&] { store::Connection connection(folder.storePath()); }), QString());
    EXPECT_EQ(store::whyNotAStore(folder.storePath()),
              QStringLiteral("这是别的程序的数据库（程序标记 0x12345678）"));

    testing_support::addEntry(folder.storePath(), "t", {"x"});
    setStamp(folder.storePath(), store::kStoreApplicationId, store::kStoreVersion + 1);
    const QByteArray before = testing_support::readBytes(folder.storePath());
    const QString refusal = QStringLiteral("数据文件 %1 是较新版本的墨舟札记建立的（数据格式第 2 版），"
                                           "本程序只能打开第 1 版及以前的数据文件；文件没有改动")
                                .arg(folder.storePath());
    EXPECT_EQ(failureOf([&] { store::Connection connection(folder.storePath()); }), refusal);
    EXPECT_EQ(failureOf([&] { store::addTitleListIndex(folder.storePath()); }), refusal);
    EXPECT_EQ(failureOf([&] { store::countRows(folder.storePath()); }), refusal);
    EXPECT_EQ(failureOf([&] {
                  store::Query query;
                  query.setStorePath(folder.storePath());
                  query.setStatement(store::statements::allTitles());
                  query.open();
              }),
              refusal);
    EXPECT_EQ(testing_support::readBytes(folder.storePath()), before);

}

TEST(StoreCheck, FilesThatAreNoStoreOfThisProgramAreNamed)
{
    ProgramFolder folder(ProgramFolder::Store::None);
    EXPECT_EQ(store::whyNotAStore(fileWith(folder, "empty.mdb", {})), QStringLiteral("文件是空的"));
    EXPECT_EQ(store::whyNotAStore(fileWith(folder, "text.mdb", QByteArray(4096, 'x'))),
              QStringLiteral("这不是数据库文件"));
    const QString other = folder.file("other.mdb");
    store::Connection(other, store::Connection::Mode::CreateNew).exec(QStringLiteral("create table t(x)"));
    EXPECT_EQ(store::whyNotAStore(other), QStringLiteral("其中没有“文本”表，也没有“图片”表"));
    EXPECT_EQ(failureOf([&] { store::whyNotAStore(folder.file("missing.mdb")); }),
              QStringLiteral("%1：无法打开数据文件（SQLite 错误 14：unable to open database file）").arg(folder.file("missing.mdb")));
}

TEST(StoreCheck, ColumnsAreCheckedByTableAndPlace)
{
    ProgramFolder folder(ProgramFolder::Store::None);
    const QString path = folder.file("thin.mdb");
    store::Connection(path, store::Connection::Mode::CreateNew)
        .exec(QStringLiteral("create table 文本(标题 TEXT); create table 图片(图片名称, 说明, isbmp, Myimage, 备注)"));
    EXPECT_FALSE(store::whyNotAStore(path).has_value());
    EXPECT_EQ(store::missingColumns(path),
              (QStringList{"“文本”表缺少第 2 列“行数”", "“文本”表缺少第 3 列“内容”",
                           "“图片”表的第 2 列应为“图片描述”，却是“说明”"}));
    store::Connection(path).exec(QStringLiteral("drop table 图片"));
    EXPECT_EQ(store::missingColumns(path).last(), QStringLiteral("缺少“图片”表"));
}
