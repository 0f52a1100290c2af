#include "bench_search.h"

#include "data/Connection.h"
#include "data/Schema.h"
#include "data/SearchBoxes.h"
#include "data/TurkishOrder.h"
#include "initdb/DemoData.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QVariantList>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
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

struct Figure {
    double median, min, max;
    int rows;
};

Figure measure(sqlite3 *db, const QString &sql, const QVariantList &params)
{
    std::vector<double> ms;
    int rows = 0;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer t;
        t.start();
        rows = rawScan(db, sql, params);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[2], ms.front(), ms.back(), rows};
}

void print(const char *what, const Figure &before, const Figure &after)
{
    std::printf("| %-34s | %6d | %8.2f (%.2f–%.2f) | %6d | %8.2f (%.2f–%.2f) | %7.1fx |\n", what, before.rows,
                before.median, before.min, before.max, after.rows, after.median, after.min, after.max,
                before.median / after.median);
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

    std::printf("\nSearches at %d rows, raw C API, ms: median of 5 (min–max)\n\n", rows);
    std::printf("| %-34s | %6s | %24s | %6s | %24s | %8s |\n", "statement", "rows", "before: LIKE, no index",
                "rows", "after: key range + LIKE", "speed-up");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", QByteArray(36, '-').constData(), QByteArray(8, '-').constData(),
                QByteArray(26, '-').constData(), QByteArray(8, '-').constData(), QByteArray(26, '-').constData(),
                QByteArray(10, '-').constData());

    // Before: the statements of version 1, on a file without the key indexes.
    const QStringList typed = {QStringLiteral("Ç"), QStringLiteral("ÇAĞRI GÜ"), QStringLiteral("ÇAĞRI GÜNEŞ 12")};
    std::vector<Figure> before;
    for (const tk::KeyedColumn &c : tk::keyedColumns())
        sqlite3_exec(db, ("DROP INDEX " + tk::keyIndexName(c)).toUtf8().constData(), nullptr, nullptr, nullptr);
    for (const QString &t : typed)
        before.push_back(measure(db, QStringLiteral("SELECT * FROM MusTakip WHERE AracPlaka Like ?"), {t + '%'}));
    const Figure orderBefore = measure(db, QStringLiteral("Select * From Cari Order By Firma"), {});
    const tk::SearchStatement first = tk::searchStatement(QStringLiteral("MusTakip"), QStringLiteral("AracPlaka"), typed[0]);
    const Figure keyWithoutIndex = measure(db, first.sql, first.params);

    for (const QString &statement : tk::createKeyIndexStatements())
        sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr);
    for (int i = 0; i < typed.size(); ++i) {
        const tk::SearchStatement s = tk::searchStatement(QStringLiteral("MusTakip"), QStringLiteral("AracPlaka"), typed[i]);
        print(qPrintable(QStringLiteral("MusTakip.AracPlaka \"%1\"").arg(typed[i])), before[size_t(i)],
              measure(db, s.sql, s.params));
    }
    print("MusTakip.AracPlaka \"Ç\", key, no index", before[0], keyWithoutIndex);
    print("Cari Order By Firma", orderBefore,
          measure(db, QStringLiteral("Select * From Cari Order By ") + tk::turkishKey(QStringLiteral("Firma")), {}));
    sqlite3_close(db);
}
