// The thumbnail window over an album of large photographs (made by bench_album_jpeg make).
//   bench_album_thumbnails fill FOLDER REPORT
//       A fresh start that opens the album (its first record's preview decoded, as the user sees
//       it before asking for thumbnails), shows the window and runs its event loop until every
//       cell in view has its thumbnail, then exits; bench/album/bench_album_view.py times the
//       whole process beside djpeg -scale 1/8 of each picture. REPORT receives the fill's own
//       share of the process, from the window's making to its last cell ("wall_ms processor_ms", processor
//       time of all threads), then when each cell filled and the longest time the event loop
//       did not run (what a key pressed meanwhile would wait).
//   bench_album_thumbnails repaint FOLDER [RUNS]
//       Once every thumbnail is kept: the time of a repaint of the grid and of a scroll by one
//       row, RUNS times each (at least 5), with the cache's size and the peak resident memory.
// The platform is QT_QPA_PLATFORM's (offscreen when unset).
#include "BenchSupport.h"

#include "album/AlbumGrid.h"
#include "album/AlbumPane.h"
#include "album/ThumbnailLink.h"
#include "album/View.h"
#include "platform/ProgramFolder.h"
#include "skin/Messages.h"
#include "skin/TsuiDBGrid.h"
#include "store/Query.h"
#include "store/Sqlite.h"
#include "store/Statements.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The album pane and the thumbnail window over a program folder's store, as the program makes
// them: the album opened and its first record's preview in place (as the user sees it before
// asking for thumbnails), then the window shown.
struct ThumbnailWindow {
    explicit ThumbnailWindow(const QString& folder) : program(folder), pane(nullptr, pictureQuery)
    {
        pictureQuery.setStorePath(program.store());
        pictureQuery.setStatement(store::statements::allPictures());
        pictureQuery.open();
        pane.waitForPreview();
    }
    void show()
    {
        window = album::makeThumbnailWindow(pane, program);
        window->showInFront();
    }
    int rowsInView() const
    {
        const TsuiDBGrid* grid = window->grid();
        const int last = grid->rowAt(grid->viewport()->height() - 1);
        return (last < 0 ? pictureQuery.recordCount() - 1 : last) - grid->rowAt(0) + 1;
    }
    skin::RecordingSink messages;
    platform::ProgramFolder program;
    store::Query pictureQuery;
    album::AlbumPane pane;
    std::unique_ptr<TForm14> window;
};

int fill(const QString& folder, const QString& reportPath)
{
    ThumbnailWindow shown(folder);
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = bench::ownCpuMilliseconds();
    shown.show();
    const int cells = shown.rowsInView();
    QStringList filled;
    QObject::connect(shown.window.get(), &TForm14::thumbnailReady, [&] { filled << QString::number(clock.elapsed()); });
    // A timer that wants to run every millisecond: the longest gap between its runs is the
    // longest the event loop was kept from input.
    QEventLoop loop;
    QTimer tick;
    qint64 lastTick = clock.elapsed(), longestPause = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestPause = std::max(longestPause, now - lastTick);
        lastTick = now;
        if (shown.window->cache().count() >= cells && !shown.window->fillingCells())
            loop.quit();
        if (now > 120'000)
            loop.exit(1);
    });
    tick.start(1);
    if (loop.exec() != 0)
        return 3;
    const double cpu = bench::ownCpuMilliseconds() - cpuBefore;
    const double wall = double(clock.nsecsElapsed()) / 1e6;
    QFile report(reportPath);
    if (!report.open(QIODevice::WriteOnly))
        return 4;
    report.write(QStringLiteral("%1 %2\ncells %3, filled at ms: %4; longest pause of the event loop: %5 ms\n")
                     .arg(wall).arg(cpu).arg(cells).arg(filled.join(QLatin1Char(' '))).arg(longestPause)
                     .toUtf8());
    return shown.messages.messages.empty() ? 0 : 5;
}

void print(const char* what, const std::vector<double>& values, const char* unit)
{
    std::printf("  %-42s min %8.2f %s, median %8.2f %s\n", what, bench::minimum(values), unit,
                bench::median(values), unit);
}

// Every thumbnail of the album decoded and kept, page by page.
void fillAll(ThumbnailWindow& shown)
{
    QScrollBar* bar = shown.window->grid()->verticalScrollBar();
    for (int value = 0;; ++value) {
        bar->setValue(value);
        (void)shown.window->grid()->viewport()->grab();
        shown.window->waitForThumbnails();
        if (value >= bar->maximum())
            break;
    }
    bar->setValue(0);
}

int repaint(const QString& folder, int runs)
{
    // The photographs twice over, so that the window has rows to scroll.
    QTemporaryDir copy;
    const platform::ProgramFolder source(folder);
    QDir(copy.path()).mkpath(QStringLiteral("Data"));
    const platform::ProgramFolder program(copy.path());
    if (!QFile::copy(source.store(), program.store()))
        return 3;
    {
        // Row by row, without a mapping or a large cache: a copy of the table into itself in
        // one statement would hold all of it in memory and set the peak printed for the window.
        store::Connection connection(program.store());
        connection.setMemoryMap(0);
        connection.exec(QStringLiteral("pragma cache_size=-2048"));
        std::vector<qint64> rowids;
        store::SqliteStatement rows(connection, QStringLiteral("select rowid from 图片"));
        while (rows.step())
            rowids.push_back(rows.columnInt(0));
        store::SqliteStatement copyRow(connection, QStringLiteral("insert into 图片 select * from 图片 where rowid=?"));
        for (const qint64 rowid : rowids) {
            copyRow.reset();
            copyRow.bindInteger(1, rowid);
            copyRow.step();
        }
    }
    ThumbnailWindow shown(copy.path());
    shown.show();
    QWidget* cells = shown.window->grid()->viewport();
    QScrollBar* bar = shown.window->grid()->verticalScrollBar();
    fillAll(shown);
    std::vector<double> repaints, scrolls;
    for (int run = 0; run < runs; ++run) {
        repaints.push_back(bench::millisecondsOf([&] { (void)cells->grab(); }));
        scrolls.push_back(bench::millisecondsOf([&] {
            bar->setValue(bar->value() == 0 ? 1 : 0);
            (void)cells->grab();
        }));
    }
    std::printf("thumbnail window, %d records, %d rows in view, every thumbnail kept (%d, %.1f MiB):\n",
                shown.pictureQuery.recordCount(), shown.rowsInView(), shown.window->cache().count(),
                shown.window->cache().bytes() / 1048576.0);
    print("repaint of the grid (goal: at most 20 ms)", repaints, "ms");
    print("scroll by one row and repaint (goal: 20 ms)", scrolls, "ms");
    std::printf("  cells still waiting: %s; peak resident %.1f MiB\n",
                shown.window->fillingCells() ? "yes (NOT all kept)" : "none", bench::peakResidentMiB());
    return shown.messages.messages.empty() ? 0 : 5;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 1) {  // as bench/run-all lists it: its figures come in their own section
        std::printf("measured by bench/album/bench_album_view.py (section \"album: preview and thumbnails\")\n");
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "fill") == 0)
        return fill(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc >= 3 && std::strcmp(argv[1], "repaint") == 0)
        return repaint(QString::fromLocal8Bit(argv[2]), std::max(5, argc > 3 ? std::atoi(argv[3]) : 7));
    std::fprintf(stderr, "usage: bench_album_thumbnails fill FOLDER REPORT | repaint FOLDER [RUNS]\n");
    return 2;
}
