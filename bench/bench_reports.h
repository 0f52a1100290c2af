#pragma once
// Report benchmarks on the rows of the benchmark database (made by the same
// code as `tekvanis-initdb --rows`): the real stock list, cash book and
// service form, laid out, shown in the preview, drawn and exported. Every
// figure is the median of several runs with their minimum and maximum.
// Prints one table to standard output.
namespace tk {
class TForm1;
}

void runReportBenchmarks(tk::TForm1 &form, int runs);
