// An entry of 100,000 lines: adding it through the add-entry dialog, opening it in the reading
// window and saving it back, progress bar included; beside the sqlite3 shell importing the same
// rows, selecting them and replacing them in one transaction.
//   bench_entry [LINES [RUNS]]     (runs on Qt's offscreen platform unless QT_QPA_PLATFORM is set)
#include "book/Insert.h"
#include "book/Load.h"
#include "book/TextPane.h"
#include "platform/Clipboard.h"
#include "platform/ProgramFolder.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "support/Measure.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

// Clicks the window's button of that object name, as the user does.
void clickButton(QWidget& window, const char* button)
{
    window.findChild<QAbstractButton*>(QLatin1String(button))->click();
}

QString lineText(int i)
{
    return QStringLiteral("第%1行：读书笔记的一行文字，some Latin words too.").arg(i);
}

QString entryText(int lines)
{
    QString text;
    for (int i = 0; i < lines; ++i)
        text += lineText(i) + u'\n';
    return text;
}

// The same rows as a CSV file for the shell's .import, its fastest way in.
QString writeRowsCsv(const QString& folder, int lines)
{
    const QString path = folder + QStringLiteral("/rows.csv");
    QFile csv(path);
    if (!csv.open(QIODevice::WriteOnly))
        std::exit(1);
    for (int i = 0; i < lines; ++i)
        csv.write(QStringLiteral("长篇,%1,%2\n").arg(i).arg(lineText(i)).toUtf8());
    return path;
}

double sqliteShell(const QString& store, const QString& script)
{
    QProcess shell;
    shell.setStandardOutputFile(QProcess::nullDevice());
    const double ms = bench::millisecondsOf([&] {
        shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), store});
        shell.write(script.toUtf8());
        shell.closeWriteChannel();
        shell.waitForFinished(-1);
    });
    if (shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        std::exit(1);
    return ms;
}

struct Figures {
    std::vector<double> add, open, save;
};

// Adds the entry through the add-entry dialog, opens it in the reading window and saves it back
// with one line more, in a fresh program folder.
void runOurs(const QString& root, int run, const QString& text, Figures& figures)
{
    const QString path = QStringLiteral("%1/ours%2").arg(root).arg(run);
    QDir(path).mkpath(QStringLiteral("Data"));
    const platform::ProgramFolder program(path);
    store::createStore(program.store());
    store::Query textQuery;
    textQuery.setStorePath(program.store());
    book::TitleList titles;
    platform::FakeClipboard clipboard;
    book::TextPane pane(nullptr, titles, textQuery, clipboard);
    TForm2 addDialog(nullptr, titles, textQuery);
    QObject::connect(&addDialog, &TForm2::entryAdded, &pane, &book::TextPane::scrollToNewTitle);
    TForm5 reading(nullptr, textQuery, program);
    addDialog.titleEdit()->setText(QStringLiteral("长篇"));
    addDialog.editor()->setPlainText(text);
    figures.add.push_back(bench::millisecondsOf([&] { clickButton(addDialog, "suiButton3"); }));
    figures.open.push_back(bench::millisecondsOf([&] { reading.prepareEntry(QStringLiteral("长篇")); }));
    reading.editor()->appendPlainText(QStringLiteral("one more line"));
    figures.save.push_back(bench::millisecondsOf([&] { clickButton(reading, "suiButton2"); }));
}

// The shell doing the same store work: import the rows, read them in order, delete and import
// them again in one transaction.
void runShell(const QString& root, int run, const QString& csv, Figures& figures)
{
    const QString store = QStringLiteral("%1/shell%2.mdb").arg(root).arg(run);
    store::createStore(store);
    const QString import = QStringLiteral(".import --csv %1 文本\n").arg(csv);
    figures.add.push_back(sqliteShell(store, import));
    figures.open.push_back(sqliteShell(store, QStringLiteral("select 内容 from 文本 where 标题='长篇' order by 行数;\n")));
    figures.save.push_back(sqliteShell(store, QStringLiteral("begin;\ndelete from 文本 where 标题='长篇';\n")
                                                  + import + QStringLiteral("commit;\n")));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = std::max(5, argc > 2 ? std::atoi(argv[2]) : 5);
    QTemporaryDir folder;
    skin::RecordingSink messages;  // the save's confirmations are taken, not shown
    const QString text = entryText(lines);
    const QString csv = writeRowsCsv(folder.path(), lines);

    Figures ours, shell;
    for (int run = 0; run < runs; ++run) {
        // Which side goes first alternates, so that neither always finds the caches warm.
        if (run % 2 == 0)
            runOurs(folder.path(), run, text, ours);
        runShell(folder.path(), run, csv, shell);
        if (run % 2 == 1)
            runOurs(folder.path(), run, text, ours);
    }
    std::printf("entry of %d lines; %d runs of each side, alternating\n", lines, runs);
    bench::printTableHeader();
    bench::printFigure("add (dialog) / shell .import (ms)", ours.add, shell.add);
    bench::printFigure("open in the reading window / select (ms)", ours.open, shell.open);
    bench::printFigure("save back / delete + .import (ms)", ours.save, shell.save);
    const QString store = QStringLiteral("%1/shell0.mdb").arg(folder.path());
    const QByteArray replace = QStringLiteral("begin;\ndelete from 文本;\n.import --csv %1 文本\ncommit;\n").arg(csv).toUtf8();
    std::printf("peak resident: ours %.1f MiB, sqlite3 shell %.1f MiB (replacing the rows)\n",
                bench::peakResidentMiB(),
                bench::peakResidentOfRunMiB(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), store}, replace));
    return messages.messages.size() == size_t(runs) ? 0 : 1;
}
