// One running copy: a second start reaches the first, a name left by a killed copy is taken over,
// and lock and socket live in the user's runtime folder when there is one.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QUuid>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

QString uniqueKey()
{
    return QStringLiteral("墨舟札记2.0-test-") + QUuid::createUuid().toString();
}

TEST(SingleInstance, SecondStartWakesTheRunningCopy)
{
    const QString key = uniqueKey();
    platform::SingleInstance first(key);
    EXPECT_FALSE(first.wakeRunningCopy(200));
    ASSERT_TRUE(first.listen());
    QSignalSpy woken(&first, &platform::SingleInstance::wakeUpReceived);

    platform::SingleInstance second(key);
    EXPECT_TRUE(second.wakeRunningCopy());
    EXPECT_TRUE(woken.wait(3000));
    EXPECT_EQ(woken.count(), 1);
}

// Connects to the running copy's socket and sends bytes as a caller would.
void sendRaw(const QString& serverName, const QByteArray& bytes)
{
    const QByteArray path = QFile::encodeName(serverName);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    if (!bytes.isEmpty()) {
        ASSERT_EQ(write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
    }
    close(fd);
}

TEST(SingleInstance, OnlyAWholeWakeUpMessageFromThisUserWakes)
{
    const QString key = uniqueKey();
    platform::SingleInstance running(key);
    ASSERT_TRUE(running.listen());
    EXPECT_EQ(QFileInfo(running.serverName()).permissions() & (QFile::ReadGroup | QFile::WriteGroup
                                                                | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
    QSignalSpy woken(&running, &platform::SingleInstance::wakeUpReceived);
    sendRaw(running.serverName(), {});                               // goes away at once
    sendRaw(running.serverName(), QByteArray::fromHex("000014"));    // a message cut short
    sendRaw(running.serverName(), QByteArray::fromHex("000000070000000000000000"));  // another number
    EXPECT_FALSE(woken.wait(300));
    sendRaw(running.serverName(), QByteArray::fromHex("000014000000000000000000"));
    EXPECT_TRUE(woken.wait(3000));
    EXPECT_EQ(woken.count(), 1);
}

// Process time of the whole test process, in milliseconds.
double processMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Every descriptor number below a low limit taken, until released (also when a test fails).
class AllDescriptorsTaken {
public:
    AllDescriptorsTaken()
    {
        getrlimit(RLIMIT_NOFILE, &saved_);
        rlimit low = saved_;
        low.rlim_cur = 64;
        setrlimit(RLIMIT_NOFILE, &low);
        for (int fd; (fd = dup(STDIN_FILENO)) >= 0;)
            taken_.push_back(fd);
    }
    ~AllDescriptorsTaken() { release(); }
    // One free for a moment, for what the test itself opens and closes.
    template <typename Use>
    void withOneFree(Use use)
    {
        close(taken_.back());
        taken_.pop_back();
        use();
        taken_.push_back(dup(STDIN_FILENO));
    }
    bool full() const
    {
        const int fd = dup(STDIN_FILENO);
        if (fd >= 0)
            close(fd);
        return fd < 0 && errno == EMFILE;
    }
    void release()
    {
        for (const int fd : taken_)
            close(fd);
        taken_.clear();
        setrlimit(RLIMIT_NOFILE, &saved_);
    }

private:
    rlimit saved_{};
    std::vector<int> taken_;
};

// With no file descriptor left to take a caller with, the running copy rests instead of spinning
// on the socket, and wakes to the caller once a descriptor is free again.
TEST(SingleInstance, ACallerThatCannotBeTakenYetIsTakenLaterWithoutSpinning)
{
    platform::SingleInstance running(uniqueKey());
    ASSERT_TRUE(running.listen());
    QSignalSpy woken(&running, &platform::SingleInstance::wakeUpReceived);
    AllDescriptorsTaken descriptors;
    descriptors.withOneFree([&] { sendRaw(running.serverName(), QByteArray::fromHex("000014000000000000000000")); });
    ASSERT_TRUE(descriptors.full());
    const double before = processMilliseconds();
    EXPECT_FALSE(woken.wait(400));
    EXPECT_LT(processMilliseconds() - before, 100.0);
    descriptors.release();
    EXPECT_TRUE(woken.wait(3000));
}

TEST(SingleInstance, TheSocketGoesWithTheCopyThatEnds)
{
    QString serverName;
    {
        platform::SingleInstance running(uniqueKey());
        ASSERT_TRUE(running.listen());
        serverName = running.serverName();
        EXPECT_TRUE(QFileInfo::exists(serverName));
    }
    EXPECT_FALSE(QFileInfo::exists(serverName));
}

TEST(SingleInstance, NameLeftByAKilledCopyIsTakenOver)
{
    const QString key = uniqueKey();
    platform::SingleInstance instance(key);
    // A socket file nobody listens on, as a copy that was killed leaves it.
    const QByteArray path = QFile::encodeName(instance.serverName());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    close(fd);

    EXPECT_FALSE(instance.wakeRunningCopy(200));
    EXPECT_TRUE(instance.listen());
    platform::SingleInstance next(key);
    EXPECT_TRUE(next.wakeRunningCopy());
}

TEST(SingleInstance, OnlyOneOfTwoStartsRunsAndAnUnreachableCopyStillCounts)
{
    const QString key = uniqueKey();
    platform::SingleInstance first(key), second(key);
    // The first takes the lock but never listens, as when listening fails.
    EXPECT_FALSE(first.wakeRunningCopy(200));
    EXPECT_TRUE(second.wakeRunningCopy(200));
    EXPECT_FALSE(second.listen());
}

TEST(SingleInstance, DifferentUsersOrKeysDoNotMeet)
{
    platform::SingleInstance a(uniqueKey()), b(uniqueKey());
    EXPECT_NE(a.serverName(), b.serverName());
    ASSERT_TRUE(a.listen());
    EXPECT_FALSE(b.wakeRunningCopy(200));
}

TEST(SingleInstance, LockAndSocketLiveInTheRuntimeFolderWhenThereIsOne)
{
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QString key = uniqueKey();
    {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        platform::SingleInstance first(key);
        EXPECT_EQ(QFileInfo(first.serverName()).path(), runtime.path());
        ASSERT_TRUE(first.listen());
        EXPECT_TRUE(QFileInfo::exists(first.serverName()));
        EXPECT_TRUE(QFileInfo::exists(first.serverName() + QStringLiteral(".lock")));
        platform::SingleInstance second(key);
        EXPECT_TRUE(second.wakeRunningCopy());
    }
    for (const QByteArray& unusable : {QByteArray(), QByteArray("relative/folder"),
                                       QFile::encodeName(runtime.filePath("missing"))}) {
        qputenv("XDG_RUNTIME_DIR", unusable);
        EXPECT_EQ(QFileInfo(platform::SingleInstance(key).serverName()).path(), QDir::tempPath())
            << unusable.constData();
    }
    if (saved.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
}

} // namespace
