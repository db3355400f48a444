// The store tool: makes an empty store, reports what a store holds, and exports or imports the
// materials book as an exchange file, by the same code as the program's export and import.
//   mozhou-store create PATH         new empty store; refuses to touch an existing file. The store
//                                    is made under a temporary name and renamed when complete.
//   mozhou-store check PATH          the engine's integrity check and each table's columns, then
//                                    each table with its row count; exits 1 naming the damage, a
//                                    file that is no store of this program, or the store's error
//   mozhou-store export STORE FILE   writes the whole materials book to FILE (replacing it)
//   mozhou-store import STORE FILE   replaces the whole materials book by the entries of FILE
//   mozhou-store search STORE TEXT   every entry line holding TEXT, one per output line: title,
//                                    tab, line number, tab, line; exits 1 when none holds it
#include "exchange/BookTransfer.h"
#include "exchange/ExchangeFile.h"
#include "text/FileReplacement.h"
#include "text/TextFile.h"
#include "store/FullText.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/StoreCheck.h"

#include <QCoreApplication>
#include <QString>
#include <cstdio>
#include <optional>

namespace {

constexpr char kUsage[] = "usage: mozhou-store create PATH\n"
                         "       mozhou-store check PATH\n"
                         "       mozhou-store export STORE FILE\n"
                         "       mozhou-store import STORE FILE\n"
                         "       mozhou-store search STORE TEXT\n"
                         "       mozhou-store --help | --version\n";

int usage()
{
    std::fputs(kUsage, stderr);
    return 2;
}

// The usage on request, with what each command does; on the standard output, exit status 0.
int help()
{
    std::fputs(kUsage, stdout);
    std::fputs("\n"
               "  create  makes an empty store at PATH; an existing file is refused\n"
               "  check   runs the store's integrity check, then lists each table with its row count\n"
               "  export  writes the whole materials book of STORE to the exchange file FILE\n"
               "  import  replaces the whole materials book of STORE by the entries of FILE\n"
               "\n"
               "Close the program before changing its store. See mozhou-store(1).\n",
               stdout);
    return 0;
}

int create(const QString& path)
{
    textfile::FileReplacement file(path, textfile::FileReplacement::Target::MakeNew);
    store::fillEmptyFile(file.temporaryPath());
    file.commit();
    std::printf("created an empty store: %s\n", qPrintable(path));
    return 0;
}

// A file that is no store of this program (empty, foreign, without the tables) is named so. A
// check that the engine cannot finish is damage too, in the engine's words; so is a table that
// lacks a column the program uses.
int check(const QString& path)
{
    if (const std::optional<QString> why = store::whyNotAStore(path)) {
        std::fprintf(stderr, "mozhou-store: %s\n",
                     QStringLiteral("%1 不是本程序的数据文件：%2").arg(path, *why).toUtf8().constData());
        return 1;
    }
    {
        const store::Connection connection(path);
        store::SqliteStatement schema(connection, QStringLiteral("select count(*) from sqlite_master"));
        schema.step();
    }
    QStringList problems;
    try {
        problems = store::integrityProblems(path);
    } catch (const store::StoreError& error) {
        problems.append(QString::fromUtf8(error.what()));
    }
    if (problems.isEmpty())
        problems = store::missingColumns(path);
    if (!problems.isEmpty()) {
        std::fprintf(stderr, "mozhou-store: %s is damaged:\n%s\n", qPrintable(path),
                     problems.join(u'\n').toUtf8().constData());
        return 1;
    }
    for (const store::TableCount& count : store::countRows(path))
        std::printf("%s\t%lld rows\n", count.table.toUtf8().constData(),
                    static_cast<long long>(count.rows));
    return 0;
}

int exportBook(const QString& storePath, const QString& file)
{
    store::Query textQuery;
    textQuery.setStorePath(storePath);
    const QString stamp = exchange::currentStamp();
    exchange::NoProgress progress;
    exchange::exportBook(textQuery, stamp, file, progress);
    std::printf("%s\n", (stamp + QStringLiteral(" 的资料本数据导出成功！")).toUtf8().constData());
    return 0;
}

int importBook(const QString& storePath, const QString& file)
{
    const exchange::ExchangeFile chosen = exchange::streamExchangeFile(file);
    if (!chosen.accepted) {
        std::fprintf(stderr, "%s\n", QStringLiteral("选择的文件已损坏或格式不正确！").toUtf8().constData());
        return 1;
    }
    store::Query textQuery;
    textQuery.setStorePath(storePath);
    exchange::NoProgress progress;
    exchange::replaceBook(textQuery, chosen, progress);
    std::printf("%s\n",
                (chosen.stamp() + QStringLiteral(" 的资料本数据导入成功！")).toUtf8().constData());
    return 0;
}

// The store is only read: rows not yet in the index are read directly.
int search(const QString& storePath, const QString& text)
{
    if (store::fulltext::checkQuery(text) != store::fulltext::QueryProblem::None) {
        std::fputs("mozhou-store: the search text is empty\n", stderr);
        return 2;
    }
    store::fulltext::Searcher searcher(storePath);
    const store::fulltext::Result found = searcher.search(text);
    constexpr qsizetype kPiece = 4096;
    for (qsizetype from = 0; from < found.count(); from += kPiece) {
        QByteArray out;
        for (const store::fulltext::Hit& hit : found.hits(from, std::min(kPiece, found.count() - from))) {
            out += hit.title.toUtf8();
            out += '\t';
            out += QByteArray::number(hit.lineNumber);
            out += '\t';
            out += hit.line.toUtf8();
            out += '\n';
        }
        if (std::fwrite(out.constData(), 1, size_t(out.size()), stdout) != size_t(out.size()))
            throw std::runtime_error("the results could not be written");
    }
    if (std::fflush(stdout) != 0)
        throw std::runtime_error("the results could not be written");
    return found.count() > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 2 && args[1] == QStringLiteral("--help"))
        return help();
    if (args.size() == 2 && args[1] == QStringLiteral("--version")) {
        std::printf("mozhou-store %s\n", MOZHOU_VERSION);
        return 0;
    }
    if (args.size() < 3)
        return usage();
    const QString& command = args[1];
    try {
        if (args.size() == 3 && command == QStringLiteral("create"))
            return create(args[2]);
        if (args.size() == 3 && command == QStringLiteral("check"))
            return check(args[2]);
        if (args.size() == 4 && command == QStringLiteral("export"))
            return exportBook(args[2], args[3]);
        if (args.size() == 4 && command == QStringLiteral("import"))
            return importBook(args[2], args[3]);
        if (args.size() == 4 && command == QStringLiteral("search"))
            return search(args[2], args[3]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mozhou-store: %s\n", error.what());
        return 1;
    }
    return usage();
}
