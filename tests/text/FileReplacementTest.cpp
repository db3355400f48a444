// Whole-file replacement and whole-file reading from the outside: what happens to the old file
// when the write fails, links, things that are no regular file, leftovers of killed writers, and
// the messages that name the cause.
#include "support/ProgramFolder.h"

#include "text/CommitQueue.h"
#include "text/FileReplacement.h"
#include "text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <functional>
#include <vector>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace textfile;

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The message of the FileError that call throws; empty (and a failure) when it throws none.
template <typename Call>
QString errorOf(Call call)
{
    try {
        call();
    } catch (const FileError& error) {
        return QString::fromUtf8(error.what());
    }
    ADD_FAILURE() << "no FileError";
    return {};
}

int errorToReport = 0;
int failingFlush(int)
{
    errno = errorToReport;
    return -1;
}

// Makes every flush fail with the given error while it lives.
class FailingFlush {
public:
    explicit FailingFlush(int error) : previous_(setFlushCallForTesting(&failingFlush))
    {
        errorToReport = error;
    }
    ~FailingFlush() { setFlushCallForTesting(previous_); }

private:
    FlushCall previous_;
};

// Lets the first flushes through and fails every one after them with EIO, on whichever thread.
std::atomic<int> flushesLeft{0};
int flushThenFail(int descriptor)
{
    if (flushesLeft.fetch_sub(1) > 0)
        return ::fdatasync(descriptor);
    errno = EIO;
    return -1;
}

class FlushesThenFailure {
public:
    explicit FlushesThenFailure(int flushes) : previous_(setFlushCallForTesting(&flushThenFail))
    {
        flushesLeft = flushes;
    }
    ~FlushesThenFailure() { setFlushCallForTesting(previous_); }

private:
    FlushCall previous_;
};

QString numbered(const testing_support::ProgramFolder& folder, int n)
{
    return folder.file(QStringLiteral("图片%1.JPG").arg(n));
}

// A process id that no process holds any longer.
qint64 finishedProcess()
{
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForStarted();
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}

} // namespace

TEST(FileReplacement, ReplacesTheWholeFileAndKeepsItsPermissions)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.file("a.txt");
    writeFile(path, QByteArray(5000, 'x'));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    replaceFile(path, "new");
    EXPECT_EQ(testing_support::readBytes(path), "new");
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    replaceFile(folder.file("binary.bin"), QByteArrayView("\0\xFF\0", 3));
    EXPECT_EQ(testing_support::readBytes(folder.file("binary.bin")), QByteArray("\0\xFF\0", 3));
}

TEST(FileReplacement, AFailedFlushIsAFailureThatNamesTheCauseAndKeepsTheOldFile)
{
    testing_support::ProgramFolder folder;
    const QString path = folder.file("book.mz");
    writeFile(path, "old contents");
    const QStringList before = folderEntries(folder.path());
    for (const auto& [error, cause] : {std::pair{EIO, "磁盘读写出错（"}, std::pair{ENOSPC, "磁盘已满（"}}) {
        FailingFlush failing(error);
        const QString message = errorOf([&] { replaceFile(path, "new contents"); });
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(cause))) << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromLocal8Bit(std::strerror(error))))
            << message.toStdString();
        EXPECT_FALSE(message.contains(QStringLiteral("Unknown error"))) << message.toStdString();
        EXPECT_EQ(testing_support::readBytes(path), "old contents");
        EXPECT_EQ(folderEntries(folder.path()), before);
    }
}

TEST(FileReplacement, AnUnwritableFolderFailsWithTheSystemsReasonAndKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    testing_support::ProgramFolder folder;
    const QString sub = folder.file("locked");
    ASSERT_TRUE(QDir().mkdir(sub));
    writeFile(sub + "/book.mz", "old contents");
    ASSERT_EQ(::chmod(QFile::encodeName(sub).constData(), 0555), 0);
    const QString message = errorOf([&] { replaceFile(sub + "/book.mz", "new"); });
    ::chmod(QFile::encodeName(sub).constData(), 0755);
    EXPECT_TRUE(message.contains(QString::fromLocal8Bit(std::strerror(EACCES)))) << message.toStdString();
    EXPECT_EQ(testing_support::readBytes(sub + "/book.mz"), "old contents");
}

TEST(FileReplacement, ALinkKeepsPointingAtTheFileItLeadsToWhichIsReplaced)
{
    testing_support::ProgramFolder folder;
    ASSERT_TRUE(QDir().mkdir(folder.file("real")));
    writeFile(folder.file("real/settings.ini"), "old");
    ASSERT_EQ(::symlink("real/settings.ini", QFile::encodeName(folder.file("link1")).constData()), 0);
    ASSERT_EQ(::symlink("link1", QFile::encodeName(folder.file("link2")).constData()), 0);
    replaceFile(folder.file("link2"), "new");
    EXPECT_EQ(testing_support::readBytes(folder.file("real/settings.ini")), "new");
    EXPECT_TRUE(QFileInfo(folder.file("link1")).isSymLink());
    EXPECT_TRUE(QFileInfo(folder.file("link2")).isSymLink());
    // A dangling link gets its file made.
    ASSERT_EQ(::symlink("real/made.txt", QFile::encodeName(folder.file("dangling")).constData()), 0);
    replaceFile(folder.file("dangling"), "made");
    EXPECT_EQ(testing_support::readBytes(folder.file("real/made.txt")), "made");
    EXPECT_TRUE(QFileInfo(folder.file("dangling")).isSymLink());
}

TEST(FileReplacement, WhatIsNoRegularFileIsRefusedAndLeftAlone)
{
    testing_support::ProgramFolder folder;
    const QString fifo = folder.file("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, QStringLiteral("/dev/full"), QStringLiteral("/dev/null")}) {
        const QString message = errorOf([&] { replaceFile(path, "x"); });
        EXPECT_TRUE(message.contains(reason::kNotARegularFile)) << message.toStdString();
    }
    EXPECT_TRUE(errorOf([&] { replaceFile(folder.path(), "x"); }).contains(reason::kIsAFolder));
    struct stat status {};
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(folderEntries(folder.path()), (QStringList{"Data", "pipe"}));
}

// Alone, or as one of many files of a commit queue, which looks for leftovers once at the end.
TEST(FileReplacement, LeftoversOfKilledWritersAreRemovedByTheNextWriteOfTheSameTarget)
{
    const std::vector<std::function<void(const QString&)>> writers = {
        [](const QString& path) { replaceFile(path, "whole"); },
        [](const QString& path) {
            CommitQueue queue(2);
            for (const char* other : {"/a.JPG", "/b.JPG", "/c.JPG"})
                queueReplacement(queue, QFileInfo(path).path() + other, "other");
            queueReplacement(queue, path, "whole");
            queue.finish();
        }};
    for (const QString& name : {QStringLiteral("book.mz"), QStringLiteral("照片.v2.JPG")}) {
        for (size_t writer = 0; writer < writers.size(); ++writer) {
            SCOPED_TRACE(testing::Message() << name.toStdString() << ", writer " << writer);
            testing_support::ProgramFolder folder;
            const QByteArray target = QFile::encodeName(folder.file(name));
            const QString killed = QFile::decodeName(temporaryNameFor(target, finishedProcess(), 3));
            const QString journal = killed + "-journal";
            const QString running = QFile::decodeName(temporaryNameFor(target, ::getppid(), 1));
            const QString otherTarget = QFile::decodeName(
                temporaryNameFor(QFile::encodeName(folder.file("other.mz")), finishedProcess(), 1));
            for (const QString& leftover : {killed, journal, running, otherTarget})
                writeFile(leftover, "half");
            writers[writer](folder.file(name));
            EXPECT_EQ(testing_support::readBytes(folder.file(name)), "whole");
            EXPECT_FALSE(QFile::exists(killed));
            EXPECT_FALSE(QFile::exists(journal));
            EXPECT_TRUE(QFile::exists(running));      // its writer may still be at work
            EXPECT_TRUE(QFile::exists(otherTarget));  // another file's business
        }
    }
}

TEST(FileReplacement, MakingANewFileRefusesAnythingThatExists)
{
    testing_support::ProgramFolder folder;
    writeFile(folder.file("taken"), "keep");
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(folder.file("dangling")).constData()), 0);
    for (const char* name : {"taken", "dangling"}) {
        const QString message = errorOf([&] {
            FileReplacement file(folder.file(name), FileReplacement::Target::MakeNew);
        });
        EXPECT_TRUE(message.contains(kAlreadyExists)) << message.toStdString();
    }
    EXPECT_EQ(testing_support::readBytes(folder.file("taken")), "keep");
    EXPECT_FALSE(QFile::exists(folder.file("nowhere")));

    FileReplacement file(folder.file("new"), FileReplacement::Target::MakeNew);
    file.write("made");
    writeFile(folder.file("new"), "came first");  // another process was quicker
    EXPECT_TRUE(errorOf([&] { file.commit(); }).contains(kAlreadyExists));
    EXPECT_EQ(testing_support::readBytes(folder.file("new")), "came first");
}

TEST(FileRead, RefusesWhatIsNoRegularFileAtOnceAndWhatIsTooLargeWithAMessage)
{
    testing_support::ProgramFolder folder;
    const QString fifo = folder.file("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_TRUE(errorOf([&] { readBytes(fifo); }).contains(reason::kNotARegularFile));
    EXPECT_TRUE(errorOf([&] { readBytes(QStringLiteral("/dev/zero")); }).contains(reason::kNotARegularFile));
    EXPECT_TRUE(errorOf([&] { readBytes(folder.path()); }).contains(reason::kIsAFolder));
    const QString missing = errorOf([&] { readBytes(folder.file("missing")); });
    EXPECT_TRUE(missing.contains(QString::fromLocal8Bit(std::strerror(ENOENT)))) << missing.toStdString();

    const QString large = folder.file("large");
    writeFile(large, "");
    ASSERT_EQ(::truncate(QFile::encodeName(large).constData(), kLargestReadableFile + 1), 0);
    EXPECT_TRUE(errorOf([&] { readBytes(large); }).contains(reason::kTooLarge));
}

TEST(CommitQueue, CommitsEveryFileWholeBeforeFinishReturnsAndGoesOnAfterIt)
{
    testing_support::ProgramFolder folder;
    const qsizetype before = folderEntries(folder.path()).size();
    writeFile(numbered(folder, 0), "old");
    {
        CommitQueue queue(3);
        for (int n = 0; n < 40; ++n)
            queueReplacement(queue, numbered(folder, n), QByteArray(n * 1000 + 1, char('a' + n % 26)));
        queue.finish();
        for (int n = 0; n < 40; ++n)
            EXPECT_EQ(testing_support::readBytes(numbered(folder, n)),
                      QByteArray(n * 1000 + 1, char('a' + n % 26)));
        EXPECT_EQ(folderEntries(folder.path()).size(), before + 40);  // no temporary file left
        queueReplacement(queue, folder.file("after.txt"), "later");  // the queue goes on after finish
    }
    EXPECT_EQ(testing_support::readBytes(folder.file("after.txt")), "later");
}

TEST(CommitQueue, AFailedFlushStopsTheQueueKeepsEarlierFilesAndLeavesLaterTargetsAsTheyWere)
{
    testing_support::ProgramFolder folder;
    const qsizetype before = folderEntries(folder.path()).size();
    for (int n = 0; n < 12; ++n)
        writeFile(numbered(folder, n), "old");
    FlushesThenFailure failing(5);
    CommitQueue queue(2);
    QString message;
    try {
        for (int n = 0; n < 12; ++n)
            queueReplacement(queue, numbered(folder, n), "new");
        queue.finish();
        ADD_FAILURE() << "the failed flush went unreported";
    } catch (const FileError& error) {
        message = QString::fromUtf8(error.what());
    }
    EXPECT_TRUE(message.contains(numbered(folder, 5))) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromLocal8Bit(std::strerror(EIO)))) << message.toStdString();
    for (int n = 0; n < 12; ++n)
        EXPECT_EQ(testing_support::readBytes(numbered(folder, n)), n < 5 ? "new" : "old") << n;
    EXPECT_THROW(queue.finish(), FileError);  // a failure stays reported
    EXPECT_EQ(folderEntries(folder.path()).size(), before + 12);  // no temporary file left
}

TEST(CommitQueue, AWriterThatStopsWithoutFinishingKeepsWhatItHandedOver)
{
    testing_support::ProgramFolder folder;
    const qsizetype before = folderEntries(folder.path()).size();
    {
        CommitQueue queue(8);
        for (int n = 0; n < 6; ++n)
            queueReplacement(queue, numbered(folder, n), "done");
        auto unfinished = std::make_unique<FileReplacement>(numbered(folder, 6));
        unfinished->write("half");
    }
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(testing_support::readBytes(numbered(folder, n)), "done");
    EXPECT_FALSE(QFileInfo::exists(numbered(folder, 6)));
    EXPECT_EQ(folderEntries(folder.path()).size(), before + 6);
}
