// An entry of 100,000 lines: adding it through the add-entry dialog, opening it in the reading
// window and saving it back, progress bar included; beside the sqlite3 shell inserting the same
// rows in one transaction.
//   bench_entry [LINES]     (runs on Qt's offscreen platform unless QT_QPA_PLATFORM is set)
#include "book/Insert.h"
#include "book/Load.h"
#include "book/TextPane.h"
#include "platform/Clipboard.h"
#include "platform/ProgramFolder.h"
#include "skin/Controls.h"
#include "skin/Messages.h"
#include "store/Query.h"
#include "store/Schema.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

QString entryText(int lines)
{
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QStringLiteral("第%1行：读书笔记的一行文字，some Latin words too.\n").arg(i);
    return text;
}

double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The same rows written by the sqlite3 shell from a script, in one transaction.
double sqliteShellInsert(const QString& folder, int lines)
{
    const QString store = folder + QStringLiteral("/shell.mdb");
    store::createStore(store);
    QFile script(folder + QStringLiteral("/insert.sql"));
    script.open(QIODevice::WriteOnly);
    script.write("begin;\n");
    for (int i = 0; i < lines; ++i)
        script.write(QStringLiteral("insert into 文本 values('长篇',%1,'第%1行：读书笔记的一行文字，some Latin words too.');\n")
                         .arg(i).toUtf8());
    script.write("commit;\n");
    script.close();
    QProcess shell;
    shell.setStandardInputFile(script.fileName());
    return millisecondsOf([&] {
        shell.start(QStringLiteral("sqlite3"), {store});
        shell.waitForFinished(-1);
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("Data"));
    const platform::ProgramFolder program(folder.path());
    const QString storePath = program.store();
    store::createStore(storePath);
    skin::RecordingSink messages;  // the save's confirmation is taken, not shown

    store::Query textQuery;
    textQuery.setStorePath(storePath);
    book::TitleList titles;
    platform::FakeClipboard clipboard;
    book::TextPane pane(nullptr, titles, textQuery, clipboard);
    TForm2 addDialog(nullptr, titles, textQuery);
    QObject::connect(&addDialog, &TForm2::entryAdded, &pane, &book::TextPane::scrollToNewTitle);
    TForm5 reading(nullptr, textQuery, program);
    const QString text = entryText(lines);

    addDialog.titleEdit()->setText(QStringLiteral("长篇"));
    addDialog.editor()->setPlainText(text);
    const double add = millisecondsOf([&] { addDialog.suiButton3Click(); });
    const double open = millisecondsOf([&] { reading.prepareEntry(QStringLiteral("长篇")); });
    reading.editor()->appendPlainText(QStringLiteral("one more line"));
    const double save = millisecondsOf([&] { reading.suiButton2Click(); });
    const double shell = sqliteShellInsert(folder.path(), lines);

    std::printf("entry of %d lines\n", lines);
    std::printf("add through the add-entry dialog:   %8.1f ms\n", add);
    std::printf("open in the reading window:         %8.1f ms\n", open);
    std::printf("save back from the reading window:  %8.1f ms (deletes %d rows, writes %d)\n", save,
                lines, lines + 1);
    std::printf("sqlite3 shell, same rows, one transaction: %8.1f ms\n", shell);
    std::printf("ratio add / sqlite3 shell:          %8.2f\n", add / shell);
    return messages.messages.size() == 1 ? 0 : 1;
}
