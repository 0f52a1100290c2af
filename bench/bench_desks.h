#pragma once
// Two desks on one set of books, on a Data.dat and on a private PostgreSQL
// server over its Unix socket: how long a save at one desk takes to show at
// another idle desk, and what the check against another desk's change adds
// to a save. Median, fastest and slowest of the runs.
void runDeskBenchmarks(int rows, int runs);
