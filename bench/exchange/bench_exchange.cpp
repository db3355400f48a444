// Export and import of a large materials book, beside the sqlite3 shell doing the same store work
// in the same run:
//   - import through the store tool   vs. the shell inserting the same rows in one transaction
//   - export through the store tool   vs. the shell selecting the rows into a file
//   - import through the dialog (offscreen) vs. the store tool's import
// and, for the record, an import over a full store and a file of one very long line.
//   bench_exchange [ENTRIES [LINES_PER_ENTRY [LONG_LINE_MB]]]   (default 10000 100 50)
#include "book/TitleList.h"
#include "exchange/ExchangeFile.h"
#include "exchange/InTXT.h"
#include "text/TextFile.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Schema.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

QString contentLine(int entry, int line)
{
    if (line % 17 == 16)
        return {};
    return QStringLiteral("第%1篇第%2行：今天的会议讨论了项目进度 it's 100%% done, 下一步计划").arg(entry).arg(line);
}

QStringList bookLines(int entries, int linesPerEntry)
{
    QStringList lines{QStringLiteral("2008-03-15 10:05:09")};
    for (int e = 0; e < entries; ++e) {
        lines << exchange::titleMarkerLine(QStringLiteral("资料%1").arg(e, 5, 10, QChar(u'0')));
        for (int l = 0; l < linesPerEntry; ++l)
            lines << contentLine(e, l);
    }
    return lines;
}

QString sqlText(const QString& text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\'';
}

// The same rows as the exchange file, as the shell would be given them.
void writeInsertScript(const QString& path, int entries, int linesPerEntry)
{
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        std::exit(1);
    script.write("begin;\n");
    for (int e = 0; e < entries; ++e) {
        const QString title = sqlText(QStringLiteral("资料%1").arg(e, 5, 10, QChar(u'0')));
        for (int l = 0; l < linesPerEntry; ++l)
            script.write(QStringLiteral("insert into 文本 values(%1,%2,%3);\n")
                             .arg(title).arg(l).arg(sqlText(contentLine(e, l))).toUtf8());
    }
    script.write("commit;\n");
}

// Wall-clock time and processor time (user + system) of one run. The machine may be shared, so
// processor time is the steadier of the two.
struct Timing {
    double wallMs;
    double cpuMs;
};

double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

double ownCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

Timing run(const QString& program, const QStringList& arguments, const QString& input = {})
{
    QProcess process;
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    const double cpuBefore = childrenCpuMs();
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    const Timing timing{timer.nsecsElapsed() / 1e6, childrenCpuMs() - cpuBefore};
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        std::exit(1);
    }
    return timing;
}

QString freshStore(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile::remove(path);
    store::createStore(path);
    return path;
}

Timing dialogImport(const QString& storePath, const QString& file)
{
    store::Query query;
    query.setStorePath(storePath);
    book::TitleList titles;
    skin::RecordingSink sink;
    TForm16 dialog(
        [&] { titles.refresh(query); },
        query);
    dialog.askForFile = [&] { return file; };
    const double cpuBefore = ownCpuMs();
    QElapsedTimer timer;
    timer.start();
    dialog.findChild<QPushButton*>(QStringLiteral("suiButton1"))->click();
    dialog.findChild<QPushButton*>(QStringLiteral("suiButton2"))->click();
    const Timing timing{timer.nsecsElapsed() / 1e6, ownCpuMs() - cpuBefore};
    if (sink.messages.size() != 1 || sink.messages.front().kind != skin::MessageKind::Information) {
        std::fprintf(stderr, "dialog import failed: %s\n",
                     sink.messages.empty() ? "" : qPrintable(sink.messages.back().text));
        std::exit(1);
    }
    return timing;
}

qint64 textRows(const QString& storePath)
{
    return store::countRows(storePath).front().rows;
}

void reference(const char* what, Timing timing)
{
    std::printf("%-42s wall %7.0f ms  cpu %7.0f ms\n", what, timing.wallMs, timing.cpuMs);
}

void compared(const char* what, Timing timing, Timing against, const char* bound)
{
    std::printf("%-42s wall %7.0f ms  cpu %7.0f ms  ratio wall %.2f cpu %.2f (%s)\n", what,
                timing.wallMs, timing.cpuMs, timing.wallMs / against.wallMs,
                timing.cpuMs / against.cpuMs, bound);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int linesPerEntry = argc > 2 ? std::atoi(argv[2]) : 100;
    const int longLineMb = argc > 3 ? std::atoi(argv[3]) : 50;
    const QString tool = QStringLiteral(MOZHOU_STORE_TOOL);
    const QString shell = QStringLiteral("sqlite3");
    QTemporaryDir dir;

    const QString bookFile = dir.filePath(QStringLiteral("book.mz"));
    textfile::writeLines(bookFile, bookLines(entries, linesPerEntry));
    writeInsertScript(dir.filePath(QStringLiteral("insert.sql")), entries, linesPerEntry);
    std::printf("book: %d entries, %d content lines, file %.1f MB\n", entries,
                entries * linesPerEntry, QFile(bookFile).size() / 1e6);

    const Timing shellInsert = run(shell, {freshStore(dir, QStringLiteral("shell.mdb"))},
                                   dir.filePath(QStringLiteral("insert.sql")));
    const QString toolStore = freshStore(dir, QStringLiteral("tool.mdb"));
    const Timing toolImport = run(tool, {QStringLiteral("import"), toolStore, bookFile});
    if (textRows(toolStore) != qint64(entries) * linesPerEntry)
        return 1;
    reference("sqlite3 shell: insert in one transaction", shellInsert);
    compared("store tool: import into an empty store", toolImport, shellInsert, "at most 1.0");

    const Timing shellSelect =
        run(shell, {toolStore, QStringLiteral(".output ") + dir.filePath(QStringLiteral("shell.txt")),
                    QStringLiteral("select 内容 from 文本 order by 标题, 行数")});
    const Timing toolExport =
        run(tool, {QStringLiteral("export"), toolStore, dir.filePath(QStringLiteral("out.mz"))});
    reference("sqlite3 shell: select rows into a file", shellSelect);
    compared("store tool: export", toolExport, shellSelect, "at most 2.0");

    const Timing dialog = dialogImport(freshStore(dir, QStringLiteral("dialog.mdb")), bookFile);
    compared("import dialog (offscreen), empty store", dialog, toolImport, "vs. the tool, at most 1.5");

    const Timing overFull = run(tool, {QStringLiteral("import"), toolStore, bookFile});
    compared("store tool: import over the full store", overFull, shellInsert, "for the record");

    const QString longFile = dir.filePath(QStringLiteral("long.mz"));
    textfile::writeLines(longFile, {QStringLiteral("2008-03-15 10:05:09"), QStringLiteral("~0~1~long"),
                                    QString(longLineMb * 1024 * 1024, u'x')});
    const Timing longImport =
        run(tool, {QStringLiteral("import"), freshStore(dir, QStringLiteral("long.mdb")), longFile});
    std::printf("%-42s wall %7.0f ms  cpu %7.0f ms (a %d MB line, kept whole)\n",
                "store tool: import of one long line", longImport.wallMs, longImport.cpuMs, longLineMb);
    return 0;
}
