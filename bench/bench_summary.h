#pragma once
// Summary window benchmarks: each tab's aggregates on the benchmark's
// database, median, fastest and slowest of five runs. Prints one table.
#include <QString>

void runSummaryBenchmarks(const QString &databasePath);
