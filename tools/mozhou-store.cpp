// The store tool: makes an empty store and reports what a store holds.
//   mozhou-store create PATH   new empty store; refuses to touch an existing file
//   mozhou-store check PATH    each table with its row count, or the store's own error
#include "store/Schema.h"
#include "store/Sqlite.h"

#include <QCoreApplication>
#include <QString>
#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: mozhou-store create PATH\n"
               "       mozhou-store check PATH\n", stderr);
    return 2;
}

int create(const QString& path)
{
    store::createStore(path);
    std::printf("created an empty store: %s\n", qPrintable(path));
    return 0;
}

int check(const QString& path)
{
    for (const store::TableCount& count : store::countRows(path))
        std::printf("%s\t%lld rows\n", count.table.toUtf8().constData(),
                    static_cast<long long>(count.rows));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return usage();
    const QString& command = args[1];
    const QString& path = args[2];
    try {
        if (command == QStringLiteral("create"))
            return create(path);
        if (command == QStringLiteral("check"))
            return check(path);
    } catch (const store::StoreError& error) {
        std::fprintf(stderr, "mozhou-store: %s\n", error.what());
        return 1;
    }
    return usage();
}
