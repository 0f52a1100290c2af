#include "bench_summary.h"

#include "data/Connection.h"
#include "data/SqliteStore.h"
#include "summary/SummaryFigures.h"
#include "summary/SummarySheet.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

} // namespace

void runSummaryBenchmarks(const QString &databasePath)
{
    tk::Connection connection(databasePath);
    tk::SqliteStore store(connection);
    const tk::SummaryFigures figures(store);
    // The bulk rows' dates run from 2021 to 2024: twelve full months before this day.
    const QDate today(2024, 6, 15);
    std::printf("| %-30s | %-28s | %-28s |\n", "summary tab (figures, sheet)", "elapsed: median (min-max)",
                "processor: median (min-max)");
    std::printf("|%s|%s|%s|\n", QByteArray(32, '-').constData(), QByteArray(30, '-').constData(),
                QByteArray(30, '-').constData());
    for (const tk::SummaryTab &tab : tk::summaryTabs()) {
        std::vector<double> elapsed, processor;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer t;
            const double cpu = threadCpuMs();
            t.start();
            const tk::SummarySheet sheet = tab.sheet(figures, today);
            elapsed.push_back(double(t.nsecsElapsed()) / 1e6);
            processor.push_back(threadCpuMs() - cpu);
            if (sheet.empty)
                std::fprintf(stderr, "%s: no rows\n", tab.caption);
        }
        std::sort(elapsed.begin(), elapsed.end());
        std::sort(processor.begin(), processor.end());
        std::printf("| %-30s | %7.1f ms (%6.1f-%6.1f) | %7.1f ms (%6.1f-%6.1f) |\n", tab.caption, elapsed[2],
                    elapsed.front(), elapsed.back(), processor[2], processor.front(), processor.back());
    }
    std::printf("\n");
    std::fflush(stdout);
}
