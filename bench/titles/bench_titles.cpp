// Filling the title list with 100,000 entries in the store, beside the sqlite3 shell reading the
// same column of the same rows.
//   bench_titles [ENTRIES [RUNS]]     (runs on Qt's offscreen platform unless QT_QPA_PLATFORM is set)
#include "book/TitleList.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "support/Measure.h"

#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

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

// Titles that all begin alike ("标题" and a number), as the start-up benchmark makes them: the
// first bytes of their sort keys say little, so most of them are compared by their full keys.
QString alikeTitle(QRandomGenerator&, int serial)
{
    return QStringLiteral("标题%1号").arg(serial);
}

void fillStore(const QString& path, int entries, QString (*titleOf)(QRandomGenerator&, int))
{
    store::createStore(path);
    store::Connection connection(path);
    connection.exec(QStringLiteral("begin"));
    store::SqliteStatement insert(connection, QStringLiteral("insert into 文本 values(?,?,?)"));
    QRandomGenerator random(42);
    for (int i = 0; i < entries; ++i) {
        const QString title = titleOf(random, i);
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
    return bench::millisecondsOf([&] { titles.refresh(query); });
}

constexpr char kShellSelect[] = "select 标题 from 文本 where 行数=0 order by 标题;";

// The shell reading the same column of the same rows, in its own order (it has no Chinese
// collation; the title index gives it its order for free), output included.
double sqliteShell(const QString& storePath)
{
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    const double ms = bench::millisecondsOf([&] {
        shell.start(QStringLiteral("sqlite3"), {storePath, QString::fromUtf8(kShellSelect)});
        shell.waitForFinished(-1);
    });
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        std::exit(1);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = std::max(5, argc > 2 ? std::atoi(argv[2]) : 5);
    std::printf("%d entries of 2 rows; %d runs of each side, alternating\n", entries, runs);
    bench::printTableHeader();
    double peak = 0;
    for (const auto& [label, titleOf] :
         {std::pair{"title list fill, mixed titles (ms; goal 60)", &randomTitle},
          std::pair{"title list fill, titles alike at the start (ms)", &alikeTitle}}) {
        QTemporaryDir folder;
        const QString storePath = folder.path() + QStringLiteral("/current.mdb");
        fillStore(storePath, entries, titleOf);
        std::vector<double> fills, shells;
        for (int run = 0; run < runs; ++run) {
            fills.push_back(fillTitleList(storePath));
            shells.push_back(sqliteShell(storePath));
        }
        bench::printFigure(label, fills, shells);
        // The shell's peak, on the last store.
        peak = bench::peakResidentOfRunMiB(QStringLiteral("sqlite3"), {storePath, QString::fromUtf8(kShellSelect)});
    }
    std::printf("peak resident: ours %.1f MiB, sqlite3 shell %.1f MiB\n", bench::peakResidentMiB(), peak);
    return 0;
}
