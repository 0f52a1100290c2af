#include "bench_desks.h"

#include "bench_figures.h"

#include "app/PageTable.h"
#include "data/DataModule.h"
#include "data/OtherDesks.h"
#include "data/PackedRow.h"
#include "data/Schema.h"
#include "data/SqliteStore.h"
#include "initdb/DemoData.h"
#include "server/PgStore.h"
#include "server/ServerCopy.h"
#include "server/ServerSchema.h"
#include "support/PgCluster.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

using Connect = std::function<std::unique_ptr<tk::Store>()>;

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

void line(const char *engine, const char *what, const Figure &f)
{
    std::printf("| %-15s | %-56s | %9.2f ms | %9.2f ms | %9.2f ms |\n", engine, what, f.median, f.min, f.max);
}

// A save at desk B until desk A, idle in its event loop, shows it.
Figure showsAtTheOtherDesk(const Connect &connect, int runs)
{
    tk::DataModule a(connect(), tk::datasetDefs()), b(connect(), tk::datasetDefs());
    tk::OtherDesks watch(&a);
    tk::Dataset *carsA = a.dataset(QStringLiteral("MusTakip"));
    tk::Dataset *carsB = b.dataset(QStringLiteral("MusTakip"));
    const QString field = QStringLiteral("Model");
    int serial = 0;
    return sample(runs, [&] {
        const QString value = QStringLiteral("masa-%1").arg(++serial);
        // Let a poll or two pass first, as at a desk nobody touches.
        QEventLoop settle;
        QTimer::singleShot(int(tk::OtherDesks::kPollMs * 1.3), &settle, &QEventLoop::quit);
        settle.exec();
        carsB->setText(field, value);
        QElapsedTimer t;
        t.start();
        carsB->post();
        QEventLoop wait;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &wait, [&] {
            if (carsA->text(field) == value)
                wait.quit();
        });
        poll.start(1);
        QTimer::singleShot(5000, &wait, &QEventLoop::quit);
        wait.exec();
        return carsA->text(field) == value ? msSince(t) : 5000.0;
    });
}

// One store-level save of a row's every column, read back, as a dataset's save does it.
struct SaveCost {
    Figure unchecked, checked;
};

SaveCost saveCost(const Connect &connect, int runs)
{
    tk::DataModule data(connect(), tk::datasetDefs());
    tk::Dataset *cars = data.dataset(QStringLiteral("MusTakip"));
    tk::Store &store = *data.store();
    constexpr int saves = 50;
    const QVector<tk::FieldDef> fields = cars->fields();
    // The first `saves` rows, each written with its own values again but one
    // column; expected are the values as read.
    struct Row {
        qint64 key;
        QVector<tk::ExpectedValue> expected;
    };
    std::vector<Row> rows;
    for (int r = 0; r < saves && r < cars->rowCount(); ++r) {
        cars->moveTo(r);
        Row row{cars->currentKey(), {}};
        for (const tk::FieldDef &f : fields)
            row.expected.append({f.name, cars->value(f.name)});
        rows.push_back(row);
    }
    const QStringList columns{QStringLiteral("Model")};
    int serial = 0;
    const auto save = [&](Row &row, bool check) {
        const QString model = QStringLiteral("m%1").arg(++serial);
        QElapsedTimer t;
        t.start();
        if (!store.updateRow(QStringLiteral("MusTakip"), row.key, columns, {model}, check ? &row.expected : nullptr))
            std::fprintf(stderr, "a save was refused\n");
        const std::vector<QByteArray> back = store.readRows(QStringLiteral("MusTakip"), fields, &row.key, 1);
        const double ms = msSince(t);
        Q_UNUSED(back);
        for (tk::ExpectedValue &e : row.expected)
            if (e.column == QLatin1String("Model"))
                e.value = model;
        return ms;
    };
    // Each run: every row saved both ways, the two alternating, so that both
    // meet the same disk, the same caches and the same load; a run's figure
    // is the median of its saves.
    std::vector<double> plain, checked;
    for (int i = 0; i < runs; ++i) {
        std::vector<double> p, c;
        for (size_t r = 0; r < rows.size(); ++r) {
            const bool checkFirst = (r + size_t(i)) % 2 == 0;
            const double first = save(rows[r], checkFirst);
            const double second = save(rows[r], !checkFirst);
            (checkFirst ? c : p).push_back(first);
            (checkFirst ? p : c).push_back(second);
        }
        plain.push_back(figureOf(p).median);
        checked.push_back(figureOf(c).median);
    }
    return {figureOf(plain), figureOf(checked)};
}

void report(const char *engine, const Connect &connect, int runs, bool latency = true)
{
    if (latency)
        line(engine, "save at one desk until another idle desk shows it", showsAtTheOtherDesk(connect, runs));
    const SaveCost cost = saveCost(connect, runs);
    line(engine, "save without the check (median of 50)", cost.unchecked);
    line(engine, "save with the check against other desks (median of 50)", cost.checked);
    std::printf("| %-15s | %-56s | %+11.1f %% | %12s | %12s |\n", engine, "the check adds (medians)",
                100.0 * (cost.checked.median / cost.unchecked.median - 1.0), "", "");
    std::fflush(stdout);
}

} // namespace

void runDeskBenchmarks(int rows, int runs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Data.dat"));
    tk::createDatabaseFile(path);
    tk::fillRows(path, rows);
    std::printf("\nTwo desks, %d rows per table, %d runs (a poll every %d ms)\n\n", rows, runs, tk::OtherDesks::kPollMs);
    std::printf("| %-15s | %-56s | %12s | %12s | %12s |\n", "engine", "", "median", "min", "max");
    std::printf("|-----------------|----------------------------------------------------------|--------------|--------------|--------------|\n");
    report("Data.dat", [&] { return std::make_unique<tk::SqliteStore>(std::make_unique<tk::Connection>(path)); }, runs);
    // The same without waiting for the disk: the check's own cost, not hidden in a sync.
    report("Data.dat/nosync", [&] {
        auto connection = std::make_unique<tk::Connection>(path);
        connection->exec(QStringLiteral("PRAGMA synchronous=OFF"));
        return std::make_unique<tk::SqliteStore>(std::move(connection));
    }, runs, false);

    if (tk::test::PgCluster::serverPrograms().isEmpty()) {
        std::printf("(no PostgreSQL server installed: the server's figures are left out)\n");
        return;
    }
    tk::test::PgCluster server(true); // the server's own durability, as a garage runs it
    const QString address = server.createDatabase(QStringLiteral("masalar"));
    {
        tk::PgConnection db(address);
        tk::createServerSchema(db);
        tk::copyDataFileToServer(path, db);
    }
    report("PostgreSQL", [&] { return std::make_unique<tk::PgStore>(address); }, runs);
    // The same without waiting for the server's commit to reach the disk: the check's own cost.
    report("PostgreSQL/nosync", [&] {
        auto store = std::make_unique<tk::PgStore>(address);
        store->connection().run(QStringLiteral("SET synchronous_commit = off"));
        return store;
    }, runs, false);
}
