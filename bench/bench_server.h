#pragma once
// The same books in a Data.dat and on a PostgreSQL server (a private one,
// started here, on its Unix socket, with the server's durable defaults):
// the main window until it shows, a search keystroke, saves; each the median
// of `runs` runs with min and max, the file beside the server.
#include <QString>

void runServerBenchmarks(const QString &path, int runs);
