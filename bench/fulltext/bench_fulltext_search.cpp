// Full-text search in one process: the time to the full count and the first 100 matches of
// each query, the queries taken by turns. bench_fulltext.py makes the store and runs it.
//   bench_fulltext_search STORE RUNS QUERY...
// Prints one line per query: the query, its count, then min and median of the wall and the
// processor milliseconds; before them the first search, which also loads the index's title runs.
#include "store/FullText.h"
#include "support/Measure.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fputs("usage: bench_fulltext_search STORE RUNS QUERY...\n", stderr);
        return 2;
    }
    const int runs = std::max(5, args[2].toInt());
    const QStringList queries = args.mid(3);
    store::fulltext::Searcher searcher(args[1]);
    const auto searchOnce = [&](const QString& query) {
        const store::fulltext::Result result = searcher.search(query);
        result.hits(0, std::min<qsizetype>(100, result.count()));
        return result.count();
    };
    QElapsedTimer clock;
    clock.start();
    searchOnce(queries.first());
    std::printf("first search (loads the title runs)\t%.1f ms\n", double(clock.nsecsElapsed()) / 1e6);
    std::vector<std::vector<double>> wall(size_t(queries.size())), cpu(size_t(queries.size()));
    std::vector<qsizetype> counts(size_t(queries.size()));
    for (int run = 0; run < runs; ++run) {
        for (qsizetype q = 0; q < queries.size(); ++q) {
            const double cpuBefore = bench::ownCpuMilliseconds();
            clock.restart();
            counts[size_t(q)] = searchOnce(queries[q]);
            wall[size_t(q)].push_back(double(clock.nsecsElapsed()) / 1e6);
            cpu[size_t(q)].push_back(bench::ownCpuMilliseconds() - cpuBefore);
        }
    }
    for (qsizetype q = 0; q < queries.size(); ++q)
        std::printf("%s\t%lld\t%.2f\t%.2f\t%.2f\t%.2f\n", queries[q].toUtf8().constData(),
                    static_cast<long long>(counts[size_t(q)]), bench::minimum(wall[size_t(q)]),
                    bench::median(wall[size_t(q)]), bench::minimum(cpu[size_t(q)]),
                    bench::median(cpu[size_t(q)]));
    std::printf("peak resident\t%.1f MiB\n", bench::peakResidentMiB());
    return 0;
}
