#pragma once
// What a user sees at a size of the books: the program started in a child
// process until its window shows (CPU, wall, resident memory), opening the
// datasets, a search keystroke and emptying the search, paging through the
// largest list; each beside a raw baseline of the same keys in the same run.
// Every figure is the median of `runs` runs with min and max.
#include <QString>

struct StartupOptions {
    QString path; // the Data.dat to use
    QString self; // this program, started as the child
    int runs = 5;
};
void runStartupBenchmarks(const StartupOptions &options);

// The child's side: `mode` "program" builds and shows the main window on
// `path`, "page" shows its first page as well, "raw" scans the keys of the statements read from standard input
// (as the dataset reads them) on the raw C API;
// either prints one line "cpu-ms rss-kb hwm-kb" and ends.
int runStartupChild(const QString &mode, const QString &path, int argc, char **argv);
