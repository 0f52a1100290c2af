#pragma once
// Report benchmarks: a stock list of `rows` rows laid out, drawn and exported.
// Prints one table of figures to standard output.
void runReportBenchmarks(int rows);
