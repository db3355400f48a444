// Filling the title list and creating the main window with 100,000 entries in the store,
// beside the sqlite3 shell running the same title-list statement.
//   bench_titles [ENTRIES]     (runs on Qt's offscreen platform unless QT_QPA_PLATFORM is set)
#include "app/Main.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Titles as users write them: Chinese words, Latin words, digits, mixed.
QString randomTitle(QRandomGenerator& random, int serial)
{
    static const QString han = QStringLiteral("北京上海读书笔记工作计划会议纪要生活随笔旅行日记学习资料长城黄河");
    QString title;
    const int length = 2 + int(random.bounded(10));
    for (int i = 0; i < length; ++i)
        title += random.bounded(4) == 0 ? QChar(u'a' + random.bounded(26)) : han[random.bounded(han.size())];
    return title + QString::number(serial);
}

void fillStore(const QString& path, int entries)
{
    store::createStore(path);
    store::Connection connection(path);
    connection.exec(QStringLiteral("begin"));
    store::SqliteStatement insert(connection, QStringLiteral("insert into 文本 values(?,?,?)"));
    QRandomGenerator random(42);
    for (int i = 0; i < entries; ++i) {
        const QString title = randomTitle(random, i);
        for (int line = 0; line < 2; ++line) {
            insert.reset();
            insert.bindAll({title, line, QStringLiteral("第%1行的内容").arg(line)});
            insert.step();
        }
    }
    connection.exec(QStringLiteral("commit"));
}

double fillTitleList(const QString& storePath)
{
    store::Query query;
    query.setStorePath(storePath);
    book::TitleList titles;
    QElapsedTimer timer;
    timer.start();
    titles.refresh(query);
    return timer.nsecsElapsed() / 1e6;
}

// The splash wait is not counted: the clock jumps past it at the first look.
double startMainWindow()
{
    platform::FakeClock clock(0, 5000);
    platform::FakeClipboard clipboard;
    QElapsedTimer timer;
    timer.start();
    TForm1 form(platform::ProgramFolder::current(), clock, clipboard);
    form.show();
    QApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

double sqliteShell(const QString& storePath)
{
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sqlite3"),
                {storePath, QStringLiteral("select * from 文本 where 行数=0 order by 标题;")});
    shell.waitForFinished(-1);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (shell.exitCode() != 0 || shell.readAllStandardOutput().isEmpty())
        return -1;
    return ms;
}

double best(int runs, const std::function<double()>& measure)
{
    double fastest = 1e300;
    for (int i = 0; i < runs; ++i)
        fastest = std::min(fastest, measure());
    return fastest;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Data"));
    const QString storePath = folder.path() + QStringLiteral("/Data/current.mdb");
    fillStore(storePath, entries);
    QDir::setCurrent(folder.path());

    const double fill = best(5, [&] { return fillTitleList(storePath); });
    const double start = best(3, [] { return startMainWindow(); });
    const double shell = best(5, [&] { return sqliteShell(storePath); });
    std::printf("entries in the store:                 %d (2 rows each)\n", entries);
    std::printf("fill the title list (open + fill):    %8.1f ms\n", fill);
    std::printf("start-up to a shown main window:      %8.1f ms (splash wait not counted)\n", start);
    std::printf("sqlite3 shell, same statement:        %8.1f ms (process start and output included)\n", shell);
    std::printf("ratio fill / sqlite3 shell:           %8.2f\n", fill / shell);
    return 0;
}
