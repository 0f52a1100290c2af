#include "bench_search.h"

#include "data/Connection.h"
#include "data/Schema.h"
#include "data/SearchBoxes.h"
#include "data/SqliteStore.h"
#include "data/TurkishOrder.h"
#include "initdb/DemoData.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVariantList>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

int rawScan(sqlite3 *db, const QString &sql, const QVariantList &params)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        return -1;
    }
    for (int i = 0; i < params.size(); ++i)
        sqlite3_bind_text(stmt, i + 1, params[i].toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
    int rows = 0;
    const int columns = sqlite3_column_count(stmt);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c)
            sqlite3_column_text(stmt, c);
        ++rows;
    }
    sqlite3_finalize(stmt);
    return rows;
}

namespace {

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Wall time (median, min, max) and the median CPU time of the thread: on a
// shared machine the wall time mostly measures the wait for a core.
struct Figure {
    double median, min, max, cpu;
    int rows;
};

Figure measure(sqlite3 *db, const QString &sql, const QVariantList &params)
{
    std::vector<double> ms, cpu;
    int rows = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        const double c = cpuMs();
        rows = rawScan(db, sql, params);
        cpu.push_back(cpuMs() - c);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    return {ms[2], ms.front(), ms.back(), cpu[2], rows};
}

void print(const char *what, const Figure &before, const Figure &after)
{
    std::printf("| %-40s | %6d | %7.1f (%.1f–%.1f) | %6.1f | %6d | %7.1f (%.1f–%.1f) | %6.1f | %6.1fx |\n", what,
                before.rows, before.median, before.min, before.max, before.cpu, after.rows, after.median, after.min,
                after.max, after.cpu, before.cpu / after.cpu);
}

} // namespace

void runSearchBenchmarks(int rows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Data.dat"));
    tk::createDatabaseFile(path);
    tk::fillRows(path, rows);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    tk::registerStatementFunctions(db);
    rawScan(db, QStringLiteral("SELECT * FROM MusTakip")); // warm the file cache
    tk::Connection connection(path);
    const tk::SqliteStore store(connection); // the dialect of the search statements

    std::printf("\nSearches and order at %d rows, raw C API: wall ms median of 5 (min–max), CPU ms median\n\n", rows);
    std::printf("| %-40s | %6s | %24s | %6s | %6s | %24s | %6s | %7s |\n", "statement: before → after", "rows",
                "before wall", "CPU", "rows", "after wall", "CPU", "CPU x");
    std::printf("|%s|%s|%s|%s|%s|%s|%s|%s|\n", QByteArray(42, '-').constData(), QByteArray(8, '-').constData(),
                QByteArray(26, '-').constData(), QByteArray(8, '-').constData(), QByteArray(8, '-').constData(),
                QByteArray(26, '-').constData(), QByteArray(8, '-').constData(), QByteArray(9, '-').constData());

    // Before: the statements of version 1, on a file without the key indexes.
    const QStringList typed = {QStringLiteral("Ç"), QStringLiteral("ÇAĞRI GÜ"), QStringLiteral("ÇAĞRI GÜNEŞ 12")};
    std::vector<Figure> before;
    for (const tk::KeyedColumn &c : tk::keyedColumns())
        sqlite3_exec(db, ("DROP INDEX " + tk::keyIndexName(c)).toUtf8().constData(), nullptr, nullptr, nullptr);
    for (const QString &t : typed)
        before.push_back(measure(db, QStringLiteral("SELECT * FROM MusTakip WHERE AracPlaka Like ?"), {t + '%'}));
    const Figure orderBefore = measure(db, QStringLiteral("Select * From Cari Order By Firma"), {});
    const QString turkishOrder = QStringLiteral("Select * From Cari Order By ") + tk::turkishKey(QStringLiteral("Firma"));
    const Figure sortedByKey = measure(db, turkishOrder, {});
    // What a dataset that reads the keys first asks for.
    const QString keysOnly = QStringLiteral("Select rowid From Cari Order By ");
    const Figure keysBefore = measure(db, keysOnly + QStringLiteral("Firma"), {});
    const tk::SearchStatement first = tk::searchStatement(store, QStringLiteral("MusTakip"), QStringLiteral("AracPlaka"), typed[0]);
    const Figure keyWithoutIndex = measure(db, first.sql, first.params);

    for (const QString &statement : tk::createKeyIndexStatements())
        sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr);
    for (int i = 0; i < typed.size(); ++i) {
        const tk::SearchStatement s = tk::searchStatement(store, QStringLiteral("MusTakip"), QStringLiteral("AracPlaka"), typed[i]);
        print(qPrintable(QStringLiteral("AracPlaka \"%1\": LIKE → key range").arg(typed[i])), before[size_t(i)],
              measure(db, s.sql, s.params));
    }
    print("AracPlaka \"Ç\": LIKE → key range, no index", before[0], keyWithoutIndex);
    const Figure orderedByIndex = measure(db, turkishOrder, {});
    print("Cari: byte order → Turkish key, index", orderBefore, orderedByIndex);
    print("Cari: Turkish key sorted → key, index", sortedByKey, orderedByIndex);
    print("Cari keys only: byte order → key, index", keysBefore,
          measure(db, keysOnly + tk::turkishKey(QStringLiteral("Firma")), {}));
    sqlite3_close(db);
}
