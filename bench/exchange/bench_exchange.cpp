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
#include "exchange/TextFile.h"
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

double runMs(const QString& program, const QStringList& arguments, const QString& input = {})
{
    QProcess process;
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    const double ms = timer.nsecsElapsed() / 1e6;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        std::exit(1);
    }
    return ms;
}

QString freshStore(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile::remove(path);
    store::createStore(path);
    return path;
}

double dialogImportMs(const QString& storePath, const QString& file)
{
    store::Query query;
    query.setStorePath(storePath);
    book::TitleList titles;
    skin::RecordingSink sink;
    TForm16 dialog(titles, query);
    dialog.askForFile = [&] { return file; };
    QElapsedTimer timer;
    timer.start();
    dialog.findChild<QPushButton*>(QStringLiteral("suiButton1"))->click();
    dialog.findChild<QPushButton*>(QStringLiteral("suiButton2"))->click();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (sink.messages.size() != 1 || sink.messages.front().kind != skin::MessageKind::Information) {
        std::fprintf(stderr, "dialog import failed: %s\n",
                     sink.messages.empty() ? "" : qPrintable(sink.messages.back().text));
        std::exit(1);
    }
    return ms;
}

qint64 textRows(const QString& storePath)
{
    return store::countRows(storePath).front().rows;
}

void line(const char* what, double ms, double referenceMs, const char* bound)
{
    std::printf("%-44s %9.0f ms   ratio %.2f (%s)\n", what, ms, ms / referenceMs, bound);
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

    const double shellInsert = runMs(shell, {freshStore(dir, QStringLiteral("shell.mdb"))},
                                     dir.filePath(QStringLiteral("insert.sql")));
    const QString toolStore = freshStore(dir, QStringLiteral("tool.mdb"));
    const double toolImport = runMs(tool, {QStringLiteral("import"), toolStore, bookFile});
    if (textRows(toolStore) != qint64(entries) * linesPerEntry)
        return 1;
    std::printf("%-44s %9.0f ms\n", "sqlite3 shell: insert in one transaction", shellInsert);
    line("store tool: import into an empty store", toolImport, shellInsert, "at most 1.0");

    const double shellSelect = runMs(shell, {toolStore, QStringLiteral(".output ") + dir.filePath("shell.txt"),
                                             QStringLiteral("select 内容 from 文本 order by 标题, 行数")});
    const double toolExport = runMs(tool, {QStringLiteral("export"), toolStore, dir.filePath("out.mz")});
    std::printf("%-44s %9.0f ms\n", "sqlite3 shell: select rows into a file", shellSelect);
    line("store tool: export", toolExport, shellSelect, "at most 2.0");

    const double dialogImport = dialogImportMs(freshStore(dir, QStringLiteral("dialog.mdb")), bookFile);
    line("import dialog (offscreen), empty store", dialogImport, toolImport, "vs. tool, at most 1.5");

    const double overFull = runMs(tool, {QStringLiteral("import"), toolStore, bookFile});
    line("store tool: import over the full store", overFull, shellInsert, "for the record");

    const QString longFile = dir.filePath(QStringLiteral("long.mz"));
    textfile::writeLines(longFile, {QStringLiteral("2008-03-15 10:05:09"), QStringLiteral("~0~1~long"),
                                    QString(longLineMb * 1024 * 1024, u'x')});
    const double longImport = runMs(tool, {QStringLiteral("import"), toolStore, longFile});
    std::printf("%-44s %9.0f ms (%d MB line kept whole)\n", "store tool: import of one long line",
                longImport, longLineMb);
    return 0;
}
