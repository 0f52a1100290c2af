// Stand-in entry point so that the benchmark program links while the report
// benchmarks are its only part. Weak: the program's own main() replaces it.
#include "bench_reports.h"

#include <QApplication>

__attribute__((weak)) int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    int rows = 100000;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--rows")));
    if (at >= 0 && at + 1 < args.size())
        rows = args.at(at + 1).toInt();
    runReportBenchmarks(rows);
    return 0;
}
