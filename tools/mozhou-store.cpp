// The store tool: makes an empty store, reports what a store holds, and exports or imports the
// materials book as an exchange file, by the same code as the program's export and import.
//   mozhou-store create PATH         new empty store; refuses to touch an existing file. The store
//                                    is made under a temporary name and renamed when complete.
//   mozhou-store check PATH          the engine's integrity check, each table's columns and the
//                                    full-text index against the rows, then
//                                    each table with its row count; exits 1 naming the damage, a
//                                    file that is no store of this program, or the store's error
//   mozhou-store reindex STORE       builds the full-text index anew from the rows
//   mozhou-store export STORE FILE   writes the whole materials book to FILE (replacing it)
//   mozhou-store import STORE FILE   replaces the whole materials book by the entries of FILE
//   mozhou-store search STORE TEXT   every entry line holding TEXT, one per output line: title,
//                                    tab, line number, tab, line (a tab, line break or backslash
//                                    in them escaped); exits 1 when none holds it, 2 on failure
#include "exchange/BookTransfer.h"
#include "exchange/ExchangeFile.h"
#include "text/FileReplacement.h"
#include "text/TextFile.h"
#include "store/FullText.h"
#include "store/Query.h"
#include "store/Schema.h"
#include "store/Sqlite.h"
#include "store/StoreCheck.h"

#include <QString>
#include <QStringList>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <optional>

namespace {

constexpr char kUsage[] = "usage: mozhou-store create PATH\n"
                         "       mozhou-store check PATH\n"
                         "       mozhou-store export STORE FILE\n"
                         "       mozhou-store import STORE FILE\n"
                         "       mozhou-store search STORE TEXT\n"
                         "       mozhou-store reindex STORE\n"
                         "       mozhou-store --help | --version\n";

constexpr char kResultsNotWritten[] = "无法写出查找结果";
const QString kReindexHint =
    QStringLiteral("关闭程序后运行 mozhou-store reindex %1 即可重建全文索引，资料不受影响");

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
               "  search  prints every entry line holding TEXT: title, tab, line number, tab, line\n"
               "  reindex builds the full-text index of STORE anew from its entries\n"
               "\n"
               "Close the program before changing its store. See mozhou-store(1).\n",
               stdout);
    return 0;
}

// Names a file that is no store of this program (empty, foreign, without the tables) so.
bool refusedAsNoStore(const QString& path)
{
    const std::optional<QString> why = store::whyNotAStore(path);
    if (why)
        std::fprintf(stderr, "mozhou-store: %s\n", store::notAStoreMessage(path, *why).toUtf8().constData());
    return why.has_value();
}

int create(const QString& path)
{
    textfile::FileReplacement file(path, textfile::FileReplacement::Target::MakeNew);
    store::fillEmptyFile(file.temporaryPath());
    file.commit();
    std::printf("%s\n", QStringLiteral("已建立空的数据文件：%1").arg(path).toUtf8().constData());
    return 0;
}

// A file that is no store of this program (empty, foreign, without the tables) is named so. A
// check that the engine cannot finish is damage too, in the engine's words; so is a table that
// lacks a column the program uses.
int check(const QString& path)
{
    if (refusedAsNoStore(path))
        return 1;
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
    if (problems.isEmpty()) {
        problems = store::fulltext::indexProblems(path);
        if (!problems.isEmpty())
            problems << kReindexHint.arg(path);
    }
    if (!problems.isEmpty()) {
        std::fprintf(stderr, "mozhou-store: %s\n%s\n",
                     QStringLiteral("数据文件 %1 已损坏：").arg(path).toUtf8().constData(),
                     problems.join(u'\n').toUtf8().constData());
        return 1;
    }
    for (const store::TableCount& count : store::countRows(path))
        std::printf("%s\t%lld 行\n", count.table.toUtf8().constData(),
                    static_cast<long long>(count.rows));
    return 0;
}

// Builds the full-text index anew, for a store whose check found it out of step with the rows.
int reindex(const QString& path)
{
    if (refusedAsNoStore(path))
        return 1;
    store::fulltext::reinstall(path);
    std::printf("%s\n", QStringLiteral("已重建全文索引：%1").arg(path).toUtf8().constData());
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

// Appends text so that a line of the output stays one line of three fields: a backslash, tab,
// line feed, carriage return and NUL become \\, \t, \n, \r and \0.
// Runs of ordinary bytes are appended whole; eight bytes at a time are passed over while none of
// them is a control character or a backslash.
void appendEscaped(std::string& out, QByteArrayView text)
{
    constexpr quint64 kOnes = 0x0101010101010101;
    constexpr quint64 kHighBits = 0x8080808080808080;
    const char* plain = text.data();
    const char* const end = text.data() + text.size();
    for (const char* p = plain; p != end; ++p) {
        while (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            const quint64 backslashes = word ^ (kOnes * '\\');
            const bool controlOrBackslash = ((word - kOnes * 0x20) & ~word & kHighBits)
                                            || ((backslashes - kOnes) & ~backslashes & kHighBits);
            if (controlOrBackslash)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const char* escape;
        switch (*p) {
        case '\\': escape = "\\\\"; break;
        case '\t': escape = "\\t"; break;
        case '\n': escape = "\\n"; break;
        case '\r': escape = "\\r"; break;
        case '\0': escape = "\\0"; break;
        default: continue;
        }
        out.append(plain, size_t(p - plain));
        out += escape;
        plain = p + 1;
    }
    out.append(plain, size_t(end - plain));
}

void writeOut(const std::string& bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        throw std::runtime_error(kResultsNotWritten);
}

// The store is only read: rows not yet in the index are read directly. Exits 1 when nothing
// matches, 2 when the search could not be made, so that a failure never reads as "no match".
int search(const QString& storePath, const QString& text)
{
    if (store::fulltext::checkQuery(text) != store::fulltext::QueryProblem::None) {
        std::fprintf(stderr, "mozhou-store: %s\n", QStringLiteral("要查找的文字是空的").toUtf8().constData());
        return 2;
    }
    // Every page of a search is read once: see the function.
    (void)store::givePageCacheRoomInHugePages();
    try {
        store::fulltext::Searcher searcher(storePath);
        constexpr size_t kOutputBuffer = size_t(1) << 16;
        std::string out;
        out.reserve(2 * kOutputBuffer);
        const qsizetype count =
            searcher.visitAll(text, [&](QByteArrayView title, qint64 lineNumber, QByteArrayView line) {
                appendEscaped(out, title);
                char number[24];
                const auto written = std::to_chars(number, number + sizeof number, lineNumber);
                Q_ASSERT(written.ec == std::errc());
                out += '\t';
                out.append(number, written.ptr);
                out += '\t';
                appendEscaped(out, line);
                out += '\n';
                if (out.size() >= kOutputBuffer) {
                    writeOut(out);
                    out.clear();
                }
            });
        writeOut(out);
        if (std::fflush(stdout) != 0)
            throw std::runtime_error(kResultsNotWritten);
        return count > 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mozhou-store: %s\n", error.what());
        return 2;
    }
}

// The command line as text. No application object is made: no command needs what it sets up,
// and making one costs a search run from a script more than a millisecond.
QStringList argumentsOf(int argc, char** argv)
{
    QStringList args;
    args.reserve(argc);
    for (int i = 0; i < argc; ++i)
        args.push_back(QString::fromLocal8Bit(argv[i]));
    return args;
}

} // namespace

int main(int argc, char** argv)
{
    const QStringList args = argumentsOf(argc, argv);
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
        if (args.size() == 3 && command == QStringLiteral("reindex"))
            return reindex(args[2]);
        if (args.size() == 4 && command == QStringLiteral("search"))
            return search(args[2], args[3]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mozhou-store: %s\n", error.what());
        return 1;
    }
    return usage();
}
