// Main window creation: program folder, theme pictures, both queries, the title list, and a
// store that cannot be opened.
#include "support/ProgramFolder.h"

#include "album/AlbumPane.h"
#include "app/Main.h"
#include "app/ProgramWindows.h"
#include "book/TextPane.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "skin/Messages.h"
#include "skin/Controls.h"
#include "skin/TsuiStatusBar.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPushButton>
#include <QAction>
#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>
#include <memory>

using testing_support::ProgramFolder;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    // The program's windows made as at start-up; the main window is what the tests look at.
    struct Program {
        std::unique_ptr<app::ProgramWindows> windows;
        TForm1* operator->() const { return &windows->main(); }
        TForm1* get() const { return &windows->main(); }
        TForm1& operator*() const { return windows->main(); }
        void reset() { windows.reset(); }
    };
    Program create()
    {
        return {std::make_unique<app::ProgramWindows>(platform::ProgramFolder::current(), clock, clipboard)};
    }
    void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static bool readCommandsEnabled(TForm1& form)
    {
        return form.textPane().toolButton(0)->isEnabled();
    }

    skin::RecordingSink messages;
    platform::FakeClock clock{123456};
    platform::FakeClipboard clipboard;
};

TEST_F(MainWindowTest, WearsTheSkinnedFrameWithItsFourButtonsAndTheMenuBar)
{
    ProgramFolder folder;
    auto form = create();
    auto* frame = form->findChild<TsuiForm*>();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frame->geometry(), QRect(3, 0, 634, 475));
    EXPECT_EQ(frame->Caption(), QStringLiteral("墨舟札记"));
    EXPECT_FALSE(frame->Sizeable());
    const TsuiTitleBar* bar = frame->titleBar();
    ASSERT_EQ(bar->buttonCount(), 4);
    EXPECT_EQ(bar->button(0).ButtonType, TsuiTitleBarBtnType::suiControlBox);
    EXPECT_EQ(bar->button(3).ButtonType, TsuiTitleBarBtnType::suiMin);
    EXPECT_EQ(frame->Menu(), &form->mainMenu());
    EXPECT_EQ(form->mainMenu().geometry(), QRect(0, 29, 634, 22));
    EXPECT_EQ(form->textPane().y(), 29 + 22 + 6);
}

TEST_F(MainWindowTest, OpensTheStoreAndListsTheTitlesWithTheFirstSelected)
{
    ProgramFolder folder;
    testing_support::addEntry(folder.storePath(), "乙", {"1", "2"});
    testing_support::addEntry(folder.storePath(), "甲", {"1"});
    auto form = create();
    EXPECT_EQ(form->programFolder().path(), folder.path());
    EXPECT_EQ(form->size(), QSize(640, 478));
    EXPECT_EQ(form->windowTitle(), "墨舟札记");
    ASSERT_EQ(form.windows->titles().count(), 2);
    EXPECT_EQ(form.windows->titles().title(0), "甲");
    EXPECT_EQ(form.windows->titles().selectedPosition(), 0);
    EXPECT_TRUE(readCommandsEnabled(*form));
    EXPECT_TRUE(form.windows->pictureQuery().isOpen());
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_GE(clock.sleeps(), 1000u);  // the splash wait ran on the injected clock
}

TEST_F(MainWindowTest, EmptyBookDisablesReadDeleteAndCopy)
{
    ProgramFolder folder;
    auto form = create();
    EXPECT_EQ(form.windows->titles().count(), 0);
    EXPECT_FALSE(readCommandsEnabled(*form));
    EXPECT_TRUE(form->textPane().toolButton(1)->isEnabled());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindowTest, StatusBarShowsTheProgramAndTheMaterialsBook)
{
    ProgramFolder folder;
    auto form = create();
    EXPECT_EQ(form->statusBar().panelText(0), "墨舟札记  v2.0");
    EXPECT_EQ(form->statusBar().panelText(2), "资料本：适用于仅包含文字、字母、符号的纯文本");
    EXPECT_EQ(form->statusBar().height(), 19);
}

struct BrokenStore {
    const char* name;
    QByteArray bytes;       // file content; empty name of content means no file at all
    bool exists;
    const char* message;    // the message after the store's path
};

class BrokenStoreTest : public MainWindowTest, public ::testing::WithParamInterface<BrokenStore> {};

TEST_P(BrokenStoreTest, IsReportedAndLeftExactlyAsItWas)
{
    ProgramFolder folder(ProgramFolder::Store::None);
    const BrokenStore& broken = GetParam();
    if (broken.exists)
        writeFile(folder.storePath(), broken.bytes);

    auto form = create();

    ASSERT_EQ(messages.messages.size(), 1u);
    const skin::ShownMessage& report = messages.messages[0];
    EXPECT_EQ(report.kind, skin::MessageKind::ErrorReport);
    EXPECT_EQ(report.caption, "墨舟札记");
    EXPECT_EQ(report.text, folder.storePath() + QString::fromUtf8(broken.message));
    EXPECT_EQ(form.windows->titles().count(), 0);
    EXPECT_FALSE(readCommandsEnabled(*form));
    EXPECT_EQ(QFileInfo::exists(folder.storePath()), broken.exists);
    if (broken.exists) {
        EXPECT_EQ(testing_support::readBytes(folder.storePath()), broken.bytes);
    }
    EXPECT_EQ(QDir(folder.file("Data")).entryList(QDir::Files | QDir::Hidden).size(),
              broken.exists ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, BrokenStoreTest,
    ::testing::Values(BrokenStore{"missing", {}, false, "：无法打开数据文件（SQLite 错误 14：unable to open database file）。"},
                      BrokenStore{"empty", {}, true, " 不是本程序的数据文件：文件是空的。"},
                      BrokenStore{"notADatabase", QByteArray(2048, 'z'), true, " 不是本程序的数据文件：这不是数据库文件。"}),
    [](const auto& info) { return std::string(info.param.name); });

// A store whose pages were overwritten on disk: reported in the engine's words, left as it is.
TEST_F(MainWindowTest, ADamagedStoreIsReportedAndLeftAsItIs)
{
    ProgramFolder folder;
    for (int i = 0; i < 200; ++i)
        testing_support::addEntry(folder.storePath(), QStringLiteral("标题%1").arg(i), {"一", "二"});
    QFile store(folder.storePath());
    ASSERT_TRUE(store.open(QIODevice::ReadWrite));
    ASSERT_GT(store.size(), 4 * 4096);
    store.seek(4096);
    store.write(QByteArray(int(store.size()) - 4096, '\x55'));
    store.close();
    const QByteArray damaged = testing_support::readBytes(folder.storePath());

    auto form = create();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].kind, skin::MessageKind::ErrorReport);
    EXPECT_TRUE(messages.messages[0].text.contains("数据文件已损坏（SQLite 错误 ")) << messages.messages[0].text.toStdString();
    EXPECT_EQ(form.windows->titles().count(), 0);
    form.reset();
    EXPECT_EQ(testing_support::readBytes(folder.storePath()), damaged);
}

TEST_F(MainWindowTest, StoreLockedByAnotherProcessIsReportedNotWaitedOnForever)
{
    ProgramFolder folder;
    testing_support::addEntry(folder.storePath(), "t", {"x"});
    store::Connection other(folder.storePath());
    other.exec(QStringLiteral("begin exclusive"));
    auto form = create();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_TRUE(messages.messages[0].text.startsWith("数据文件正被另一个程序使用，请稍后再试（SQLite 错误 5：database is locked）"))
        << messages.messages[0].text.toStdString();
    other.exec(QStringLiteral("rollback"));
}

// The album pane stands in the main window over the picture query, which opened on the album.
TEST_F(MainWindowTest, TheAlbumPaneShowsTheStoredPicturesWhenTheAlbumIsChosen)
{
    ProgramFolder folder;
    testing_support::addPicture(folder.storePath(), "绿.bmp", "一张", 0,
                                testing_support::plainBitmap(40, 30, Qt::darkGreen));
    testing_support::addPicture(folder.storePath(), "Fail", "", -1, "x");
    auto form = create();
    EXPECT_TRUE(messages.messages.empty());
    form->albumPane().waitForPreview();
    EXPECT_EQ(form->albumPane().positionText(), "1/2  40x30");
    form->findChild<QAction*>(QStringLiteral("G2"))->trigger();
    EXPECT_TRUE(form->albumPane().isVisibleTo(form.get()));
    EXPECT_EQ(form->albumPane().geometry(), form->textPane().geometry());
    form->findChild<QAction*>(QStringLiteral("T1"))->trigger();
    EXPECT_FALSE(form->albumPane().isVisibleTo(form.get()));
}

TEST_F(MainWindowTest, AlbumFixedAreaColourComesFromTheCategoryBarPicture)
{
    ProgramFolder folder;
    QDir(folder.path()).mkpath(QStringLiteral("Themes"));
    QImage left(48, 400, QImage::Format_RGB32);
    left.fill(QColor(10, 20, 30));
    left.setPixelColor(40, 4, QColor(200, 220, 240));
    ASSERT_TRUE(left.save(folder.file("Themes/Left.bmp"), "BMP"));
    EXPECT_EQ(create()->albumFixedColor(), QColor(200, 220, 240));

    QImage tiny(20, 3, QImage::Format_RGB32);
    tiny.fill(Qt::black);
    ASSERT_TRUE(tiny.save(folder.file("Themes/Left.bmp"), "BMP"));
    EXPECT_EQ(create()->albumFixedColor(), TForm1::kDefaultFixedColor);

    QFile::remove(folder.file("Themes/Left.bmp"));
    EXPECT_EQ(create()->albumFixedColor(), TForm1::kDefaultFixedColor);
}

} // namespace
