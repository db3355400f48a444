// The export and import dialogs wired to a real store and title list: browse, the messages,
// the progress bar, the refresh, and what closing resets.
#include "support/ProgramFolder.h"

#include "book/TitleList.h"
#include "exchange/InTXT.h"
#include "exchange/OutTXT.h"
#include "platform/FileChooser.h"
#include "text/TextFile.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <gtest/gtest.h>

using skin::MessageKind;
using testing_support::addEntry;

namespace {

const QByteArray kGoodFile = "2008-03-15 10:05:09\r\n~0~1~new\r\na\r\nb\r\n";

class DialogsTest : public ::testing::Test {
protected:
    DialogsTest() { query.setStorePath(folder.storePath()); }

    template <typename Dialog>
    void click(Dialog& dialog, const char* button)
    {
        dialog.template findChild<QPushButton*>(QString::fromLatin1(button))->click();
    }
    template <typename Dialog>
    QLineEdit* edit(Dialog& dialog, const char* name)
    {
        return dialog.template findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    template <typename Dialog>
    QProgressBar* bar(Dialog& dialog)
    {
        return dialog.template findChild<QProgressBar*>(QStringLiteral("suiProgressBar1"));
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        textfile::writeBytes(folder.file(name), bytes);
        return folder.file(name);
    }
    void expectLastMessage(MessageKind kind, const QString& text)
    {
        ASSERT_FALSE(sink.messages.empty());
        EXPECT_EQ(sink.messages.back().kind, kind);
        EXPECT_EQ(sink.messages.back().text, text);
    }
    // The title list's refresh as the main window hands it to the dialogs.
    exchange::RefreshTitles refreshTitles()
    {
        return [this] { titles.refresh(query); };
    }
    qint64 rowCount() { return store::countRows(folder.storePath()).front().rows; }

    testing_support::ProgramFolder folder;
    store::Query query;
    book::TitleList titles;
    skin::RecordingSink sink;
    platform::FakeFileChooser files;
};

} // namespace

TEST_F(DialogsTest, ExportBrowseAppliesTheExtensionRuleAndCancelChangesNothing)
{
    TForm15 dialog(refreshTitles(), query);
    dialog.setFileChooser(files);
    files.answers = {folder.file("notes.txt")};
    click(dialog, "suiButton1");
    EXPECT_EQ(edit(dialog, "suiEdit1")->text(), folder.file("notes.txt.mz"));
    click(dialog, "suiButton1");  // cancelled
    EXPECT_EQ(edit(dialog, "suiEdit1")->text(), folder.file("notes.txt.mz"));
    ASSERT_EQ(files.asked.size(), 2u);
    EXPECT_EQ(files.asked[0].kind, platform::FileQuestion::Kind::Save);
    EXPECT_EQ(files.asked[0].owner, &dialog);
    EXPECT_EQ(files.asked[0].caption, "导出资料本");
    EXPECT_EQ(files.asked[0].filter, "MZ文件 (*.mz)");
}

TEST_F(DialogsTest, ExportWritesTheBookRefreshesTheListAndKeepsThePath)
{
    addEntry(folder.storePath(), "a", {"1"});
    addEntry(folder.storePath(), "b", {"2"});
    query.setStatement(store::statements::exactTitleSearch("b"));
    query.open();
    titles.fillFrom(query);
    TForm15 dialog(refreshTitles(), query);
    click(dialog, "suiButton2");
    expectLastMessage(MessageKind::Warning, QString::fromUtf8("请选择导出的路径和文件名！"));

    dialog.setFileChooser(files);
    files.answers = {folder.file("book")};
    click(dialog, "suiButton1");
    click(dialog, "suiButton2");
    const QByteArray bytes = testing_support::readBytes(folder.file("book.mz"));
    EXPECT_EQ(bytes.mid(19), "\r\n~0~1~a\r\n1\r\n~0~1~b\r\n2\r\n");
    expectLastMessage(MessageKind::Information,
                      QString::fromLatin1(bytes.left(19)) + QString::fromUtf8(" 的资料本数据导出成功！"));
    EXPECT_EQ(titles.count(), 2);
    EXPECT_EQ(titles.selectedPosition(), 0);
    EXPECT_EQ(bar(dialog)->maximum(), 2);
    EXPECT_EQ(bar(dialog)->value(), 2);
    EXPECT_TRUE(bar(dialog)->isHidden());
    EXPECT_EQ(edit(dialog, "suiEdit1")->text(), folder.file("book.mz"));
}

TEST_F(DialogsTest, ExportToAnUnwritablePathReportsTheErrorAndCloseResets)
{
    write("plain", "x");
    TForm15 dialog(refreshTitles(), query);
    dialog.setFileChooser(files);
    files.answers = {folder.file("plain/book")};
    click(dialog, "suiButton1");
    click(dialog, "suiButton2");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages.back().kind, MessageKind::ErrorReport);
    EXPECT_FALSE(bar(dialog)->isHidden());
    click(dialog, "suiButton3");
    EXPECT_TRUE(bar(dialog)->isHidden());
    EXPECT_TRUE(edit(dialog, "suiEdit1")->text().isEmpty());
}

TEST_F(DialogsTest, ImportBrowseShowsTheStampOrRejectsAndClearsThePath)
{
    TForm16 dialog(refreshTitles(), query);
    const QString good = write("good.mz", kGoodFile);
    dialog.setFileChooser(files);
    files.answers = {good};
    click(dialog, "suiButton1");
    EXPECT_EQ(edit(dialog, "suiEdit1")->text(), good);
    ASSERT_EQ(files.asked.size(), 1u);
    EXPECT_EQ(files.asked[0].kind, platform::FileQuestion::Kind::Open);
    EXPECT_EQ(files.asked[0].caption, "导入资料本");
    EXPECT_FALSE(edit(dialog, "suiEdit2")->isHidden());
    EXPECT_EQ(edit(dialog, "suiEdit2")->text(), "2008-03-15 10:05:09");
    EXPECT_TRUE(sink.messages.empty());

    for (const QByteArray& bad : {QByteArray(), QByteArray("2008-03-15 10:05:09\r\n"),
                                  QByteArray("2008-03-15 10:05:09\r\ntext\r\n")}) {
        files.answers = {write("bad.mz", bad)};
        click(dialog, "suiButton1");
        expectLastMessage(MessageKind::Stop, QString::fromUtf8("选择的文件已损坏或格式不正确！"));
        EXPECT_TRUE(edit(dialog, "suiEdit1")->text().isEmpty());
        EXPECT_TRUE(edit(dialog, "suiEdit2")->isHidden());
    }
    files.answers = {folder.path()};
    click(dialog, "suiButton1");
    EXPECT_EQ(sink.messages.back().kind, MessageKind::ErrorReport);
    EXPECT_TRUE(edit(dialog, "suiEdit1")->text().isEmpty());
    click(dialog, "suiButton2");
    expectLastMessage(MessageKind::Warning, QString::fromUtf8("请选择一个导入的文件！"));
}

TEST_F(DialogsTest, ImportReplacesTheBookFromTheFileAsItWasWhenChosen)
{
    addEntry(folder.storePath(), "old", {"x", "y"});
    TForm16 dialog(refreshTitles(), query);
    const QString path = write("good.mz", kGoodFile);
    dialog.setFileChooser(files);
    files.answers = {path};
    click(dialog, "suiButton1");
    write("good.mz", "2000-01-01 00:00:00\r\n~0~1~changed\r\n");
    click(dialog, "suiButton2");
    expectLastMessage(MessageKind::Information,
                      QString::fromUtf8("2008-03-15 10:05:09 的资料本数据导入成功！"));
    ASSERT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.title(0), "new");
    EXPECT_EQ(rowCount(), 2);
    EXPECT_EQ(bar(dialog)->maximum(), 2 + 3);
    EXPECT_EQ(bar(dialog)->value(), 2 + 2);
    EXPECT_TRUE(bar(dialog)->isHidden());

    click(dialog, "suiButton3");
    EXPECT_TRUE(edit(dialog, "suiEdit1")->text().isEmpty());
    EXPECT_TRUE(edit(dialog, "suiEdit2")->isHidden());
}

TEST_F(DialogsTest, AFailedImportReportsTheErrorAndChangesNeitherStoreNorList)
{
    addEntry(folder.storePath(), "old", {"x"});
    titles.refresh(query);
    store::Connection(folder.storePath())
        .exec(QStringLiteral("create trigger refuse before insert on 文本 when new.内容='b' "
                             "begin select raise(abort, 'refused'); end"));
    TForm16 dialog(refreshTitles(), query);
    const QString path = write("good.mz", kGoodFile);
    dialog.setFileChooser(files);
    files.answers = {path};
    click(dialog, "suiButton1");
    click(dialog, "suiButton2");
    expectLastMessage(MessageKind::ErrorReport, "数据不符合数据表的约束（SQLite 错误 1811：refused）。");
    EXPECT_EQ(rowCount(), 1);
    ASSERT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.title(0), "old");
    EXPECT_FALSE(bar(dialog)->isHidden());
}
