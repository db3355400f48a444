// The store tool's export and import from the outside: the same file as the program writes, the
// same refusal of a bad file, and a non-zero exit with the store untouched on any failure.
#include "support/ProgramFolder.h"

#include "text/TextFile.h"
#include "store/Schema.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(MOZHOU_STORE_TOOL), arguments);
    tool.waitForFinished(60000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

qint64 rowCount(const QString& store)
{
    return store::countRows(store).front().rows;
}

} // namespace

TEST(StoreTool, ExportAndImportRoundTripTheBook)
{
    testing_support::ProgramFolder folder;
    testing_support::addEntry(folder.storePath(), QString::fromUtf8("会议"), {"a", ""});
    const ToolRun exported = runTool({"export", folder.storePath(), folder.file("out.mz")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QByteArray bytes = testing_support::readBytes(folder.file("out.mz"));
    EXPECT_EQ(bytes.mid(19), textfile::encode(QString::fromUtf8("\r\n~0~1~会议\r\na\r\n\r\n")));
    EXPECT_EQ(exported.out.trimmed(),
              QString::fromLatin1(bytes.left(19)) + QString::fromUtf8(" 的资料本数据导出成功！"));

    textfile::writeBytes(folder.file("in.mz"), "2008-03-15 10:05:09\r\n~0~1~x\r\n1\r\n2\r\n3\r\n");
    const ToolRun imported = runTool({"import", folder.storePath(), folder.file("in.mz")});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out.trimmed(), QString::fromUtf8("2008-03-15 10:05:09 的资料本数据导入成功！"));
    EXPECT_EQ(rowCount(folder.storePath()), 3);
}

TEST(StoreTool, RefusedFilesAndMissingStoresExitNonZeroAndChangeNothing)
{
    testing_support::ProgramFolder folder;
    testing_support::addEntry(folder.storePath(), "kept", {"a"});
    textfile::writeBytes(folder.file("bad.mz"), "2008-03-15 10:05:09\r\ncontent\r\n");
    const ToolRun rejected = runTool({"import", folder.storePath(), folder.file("bad.mz")});
    EXPECT_NE(rejected.exitCode, 0);
    EXPECT_EQ(rejected.err.trimmed(), QString::fromUtf8("选择的文件已损坏或格式不正确！"));

    EXPECT_NE(runTool({"import", folder.storePath(), folder.path()}).exitCode, 0);
    EXPECT_NE(runTool({"import", folder.file("none.mdb"), folder.file("bad.mz")}).exitCode, 0);
    EXPECT_NE(runTool({"export", folder.file("none.mdb"), folder.file("x.mz")}).exitCode, 0);
    EXPECT_NE(runTool({"export", folder.storePath(), folder.file("bad.mz/x.mz")}).exitCode, 0);
    EXPECT_EQ(rowCount(folder.storePath()), 1);
}
