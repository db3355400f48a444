// The 全文搜索 command of the main window: its place in the 查看 menu, its short-cut, the dialog
// it opens, and the catch-up of the index when the program starts.
#include "support/Commands.h"
#include "support/ProgramFolder.h"

#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "book/FullTextSearch.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "skin/TsuiMenus.h"
#include "store/Sqlite.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

qint64 pendingRows(const QString& storePath)
{
    store::Connection connection(storePath);
    store::SqliteStatement count(connection, QStringLiteral("select count(*) from 全文待办"));
    return count.step() ? count.columnInt(0) : -1;
}

class FullTextCommandTest : public ::testing::Test {
protected:
    FullTextCommandTest()
    {
        testing_support::addEntry(folder.storePath(), "甲", {"第一行", "会议纪要"});
        EXPECT_GT(pendingRows(folder.storePath()), 0);
        windows = std::make_unique<app::ProgramWindows>(folder.program(), clock, clipboard);
    }
    TForm1& main() { return windows->main(); }

    testing_support::ProgramFolder folder;
    platform::FakeClock clock{0, 50};
    platform::FakeClipboard clipboard;
    std::unique_ptr<app::ProgramWindows> windows;
};

TEST_F(FullTextCommandTest, TheStartFoldsRowsWrittenSinceIntoTheIndex)
{
    EXPECT_EQ(pendingRows(folder.storePath()), 0);
}

TEST_F(FullTextCommandTest, TheViewMenuOffersItBelowTheAlbumAfterASeparator)
{
    QMenu* view = nullptr;
    for (QAction* top : main().mainMenu().actions())
        if (top->text() == " 查看(&V)")
            view = top->menu();
    ASSERT_NE(view, nullptr);
    QList<QAction*> shown;
    for (QAction* action : view->actions())
        if (action->isVisible())
            shown << action;
    ASSERT_GE(shown.size(), 3);
    EXPECT_EQ(shown[shown.size() - 3]->text(), "图片册(&G)");
    EXPECT_TRUE(shown[shown.size() - 2]->isSeparator());
    QAction* command = shown.last();
    EXPECT_EQ(command->text(), "全文搜索(&F)...");
    EXPECT_EQ(command->objectName(), "FullTextSearch");
    EXPECT_EQ(command->shortcut(), QKeySequence("Ctrl+F"));
}

TEST_F(FullTextCommandTest, TriggeringItOpensTheSearchDialog)
{
    QString opened;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<TFullTextForm*>(QApplication::activeModalWidget())) {
            opened = dialog->windowTitle();
            testing_support::click(*dialog, "suiButton1");
        }
    });
    main().findChild<QAction*>("FullTextSearch")->trigger();
    EXPECT_EQ(opened, "全文搜索");
}

} // namespace
