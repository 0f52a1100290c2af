#include "bench_startup.h"

#include "bench_figures.h"
#include "bench_search.h"
#include "bench_window.h"
#include "app/PageTable.h"
#include "app/TForm1.h"
#include "data/DataModule.h"
#include "data/SearchBoxes.h"
#include "data/SqliteStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <ctime>

namespace {

double processCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Wall and CPU time of the runs of one figure: on a shared machine the wall
// time mostly measures the wait for a core.
struct Timed {
    std::vector<double> wall, cpu;
    template <typename F> void run(F &&f)
    {
        QElapsedTimer t;
        t.start();
        const double c = threadCpuMs();
        f();
        cpu.push_back(threadCpuMs() - c);
        wall.push_back(ms(t));
    }
};

// A change made in two steps: each step timed, and the two together.
struct TwoSteps {
    Timed first, second, whole;
    template <typename F, typename G> void run(F &&f, G &&g)
    {
        whole.run([&] {
            first.run(f);
            second.run(g);
        });
    }
};

long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').first().toLong();
    return -1;
}

// The statement of each dataset as it first runs (a detail on the key 1).
struct Opened {
    QString sql;
    QVariantList params;
};
QVector<Opened> startStatements(const QVector<tk::DatasetDef> &defs)
{
    QVector<Opened> out;
    for (const tk::DatasetDef &def : defs)
        out.append({def.sql, def.master ? QVariantList{1} : QVariantList{}});
    return out;
}

// What the raw child reads: one key statement a line, a detail's parameter after a tab.
QByteArray keyLines(tk::SqliteStore &dialect, const QVector<Opened> &statements)
{
    QByteArray keys;
    for (const Opened &s : statements) {
        keys += dialect.keyStatement(s.sql).toUtf8();
        if (!s.params.isEmpty())
            keys += '\t' + s.params.first().toString().toUtf8();
        keys += '\n';
    }
    return keys;
}

// Steps the keys of `sql` as the dataset's key statement reads them.
qint64 scanKeys(sqlite3 *db, const QString &sql, const QVariantList &params)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        return -1;
    }
    for (int i = 0; i < params.size(); ++i) {
        const QByteArray text = params[i].toString().toUtf8();
        sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    qint64 sum = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        sum += sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return sum;
}

// printf pads bytes, not characters: the cells are padded as text.
QString cell(const Figure &f, const char *unit)
{
    if (f.median <= 0)
        return {};
    return QStringLiteral("%1 (%2–%3) %4")
        .arg(f.median, 0, 'f', 1)
        .arg(f.min, 0, 'f', 1)
        .arg(f.max, 0, 'f', 1)
        .arg(QLatin1String(unit));
}

void line(const QString &what, const Figure &ours, const Figure &raw, const char *unit)
{
    const QString ratio = raw.median > 0 ? QStringLiteral("%1x").arg(ours.median / raw.median, 0, 'f', 2) : QString();
    std::printf("| %s | %s | %s | %s |\n", qPrintable(what.leftJustified(40)), qPrintable(cell(ours, unit).rightJustified(30)),
                qPrintable(cell(raw, unit).rightJustified(30)), qPrintable(ratio.rightJustified(6)));
    std::fflush(stdout);
}

struct ChildRun {
    double wall = 0, cpu = 0, rss = 0, hwm = 0;
};

// `keys`: for the raw child, the key statements it scans, one a line, with
// the parameter of a detail after a tab.
ChildRun startChild(const StartupOptions &o, const char *mode, const QByteArray &keys = {})
{
    QProcess child;
    QStringList env = QProcess::systemEnvironment();
    env << QStringLiteral("QT_QPA_PLATFORM=offscreen");
    child.setEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer t;
    t.start();
    child.start(o.self, {QStringLiteral("--child"), QLatin1String(mode), o.path});
    child.write(keys);
    child.closeWriteChannel();
    ChildRun run;
    // The child's line comes when its window shows; the wall time ends there.
    while (child.state() != QProcess::NotRunning && !child.canReadLine())
        child.waitForReadyRead(100);
    run.wall = ms(t);
    const QList<QByteArray> f = child.readLine().simplified().split(' ');
    if (f.size() == 3) {
        run.cpu = f[0].toDouble();
        run.rss = f[1].toDouble() / 1024;
        run.hwm = f[2].toDouble() / 1024;
    } else {
        std::fprintf(stderr, "child %s gave no figures\n", mode);
    }
    child.waitForFinished(-1);
    return run;
}

} // namespace

int runStartupChild(const QString &mode, const QString &path, int argc, char **argv)
{
    if (mode == QLatin1String("raw")) {
        // The plainest start that reads the same keys: the engine alone.
        sqlite3 *db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        QFile in;
        in.open(stdin, QIODevice::ReadOnly);
        qint64 sum = 0;
        for (const QByteArray &l : in.readAll().split('\n')) {
            const QList<QByteArray> f = l.split('\t');
            if (!f.first().isEmpty())
                sum += scanKeys(db, QString::fromUtf8(f.first()),
                                f.size() > 1 ? QVariantList{QString::fromUtf8(f[1])} : QVariantList{});
        }
        sqlite3_close(db);
        std::printf("%.1f %ld %ld\n", processCpuMs(), statusKb("VmRSS:"), statusKb("VmHWM:"));
        return sum < 0 ? 1 : 0;
    }
    QApplication app(argc, argv);
    const QString folder = QFileInfo(path).absolutePath();
    QDir::setCurrent(folder);
    QTemporaryDir config;
    tk::AppPaths paths;
    paths.programFolder = folder;
    paths.configFolder = config.path();
    tk::TForm1 form(paths);
    form.show();
    QApplication::processEvents();
    if (mode == QLatin1String("page")) {
        form.showPage(0);
        QApplication::processEvents();
    }
    std::printf("%.1f %ld %ld\n", processCpuMs(), statusKb("VmRSS:"), statusKb("VmHWM:"));
    std::fflush(stdout);
    return 0;
}

void runStartupBenchmarks(const StartupOptions &o)
{
    std::printf("| %-40s | %30s | %30s | %6s |\n", "measure: median (min-max)", "Tekvanis", "raw baseline", "ratio");
    std::printf("|%s|%s|%s|%s|\n", QByteArray(42, '-').constData(), QByteArray(32, '-').constData(),
                QByteArray(32, '-').constData(), QByteArray(8, '-').constData());

    sqlite3 *db = nullptr;
    sqlite3_open_v2(o.path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    tk::registerStatementFunctions(db);
    tk::Connection connection(o.path);
    tk::SqliteStore dialect(connection);
    const QVector<Opened> statements = startStatements(tk::datasetDefs());
    const QByteArray keys = keyLines(dialect, statements);
    const QByteArray firstPageKeys = keyLines(dialect, startStatements(tk::pageDefs().first()->datasets));

    // Start-up in a child process: the program until its window shows,
    // beside a process that only scans the keys of the same statements.
    // The datasets read their keys as their pages are first shown: the first
    // page shown too, beside a process that scans that page's keys only.
    std::vector<ChildRun> ours, raw, ourPage, rawPage;
    for (int i = 0; i < o.runs; ++i) {
        ours.push_back(startChild(o, "program"));
        raw.push_back(startChild(o, "raw", keys));
        ourPage.push_back(startChild(o, "page"));
        rawPage.push_back(startChild(o, "raw", firstPageKeys));
    }
    const auto of = [](const std::vector<ChildRun> &runs, double ChildRun::*field) {
        std::vector<double> v;
        for (const ChildRun &r : runs)
            v.push_back(r.*field);
        return figureOf(v);
    };
    line(QStringLiteral("start to window shown, CPU"), of(ours, &ChildRun::cpu), of(raw, &ChildRun::cpu), "ms");
    line(QStringLiteral("start to window shown, wall"), of(ours, &ChildRun::wall), of(raw, &ChildRun::wall), "ms");
    line(QStringLiteral("resident after start, VmRSS"), of(ours, &ChildRun::rss), of(raw, &ChildRun::rss), "MB");
    line(QStringLiteral("resident peak after start, VmHWM"), of(ours, &ChildRun::hwm), of(raw, &ChildRun::hwm), "MB");
    line(QStringLiteral("start to first page shown, CPU"), of(ourPage, &ChildRun::cpu), of(rawPage, &ChildRun::cpu), "ms");
    line(QStringLiteral("start to first page shown, wall"), of(ourPage, &ChildRun::wall), of(rawPage, &ChildRun::wall), "ms");
    line(QStringLiteral("first page shown, VmRSS"), of(ourPage, &ChildRun::rss), of(rawPage, &ChildRun::rss), "MB");
    line(QStringLiteral("first page shown, VmHWM"), of(ourPage, &ChildRun::hwm), of(rawPage, &ChildRun::hwm), "MB");

    // Opening every dataset beside scanning their keys raw, in this process:
    // the datasets made (the connection and their columns, once at start)
    // and then their keys read, as each page is first shown.
    Timed rawOpen;
    TwoSteps ourOpen;
    for (int i = 0; i < o.runs; ++i) {
        rawOpen.run([&] {
            for (const Opened &s : statements)
                scanKeys(db, dialect.keyStatement(s.sql), s.params);
        });
        std::unique_ptr<tk::DataModule> data;
        ourOpen.run([&] { data = std::make_unique<tk::DataModule>(o.path, tk::datasetDefs()); },
                    [&] {
                        for (const tk::Dataset *ds : data->datasets())
                            ds->readKeys();
                    });
    }
    const auto both = [](const QString &what, const Timed &ours, const Timed &raw) {
        line(what + QStringLiteral(", CPU"), figureOf(ours.cpu), figureOf(raw.cpu), "ms");
        line(what + QStringLiteral(", wall"), figureOf(ours.wall), figureOf(raw.wall), "ms");
    };
    both(QStringLiteral("open all datasets"), ourOpen.whole, rawOpen);
    both(QStringLiteral("  made: connection, columns"), ourOpen.first, {});
    both(QStringLiteral("  keys read"), ourOpen.second, rawOpen);

    // A search keystroke on the first page's list, and emptying the search,
    // beside the key statement of the same matching.
    QTemporaryDir config;
    tk::AppPaths paths;
    paths.programFolder = QFileInfo(o.path).absolutePath();
    paths.databasePath = o.path;
    paths.configFolder = config.path();
    tk::TForm1 form(paths);
    form.show();
    form.showPage(0);
    settle();
    auto *box = form.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    const QString typed = QStringLiteral("Ç");
    // The box's handler returns when the list and the boxes hold the new
    // rows; the event loop then paints what changed.
    const auto paint = [] { processUntilIdle(); };
    TwoSteps keystroke, emptied;
    // Two baselines: the keys of the same matching scanned, as the list
    // reads them, and the plain query with the same matching, its rows read.
    Timed rawKeystroke, rawEmptied, queryKeystroke, queryEmptied;
    for (int i = 0; i < o.runs; ++i) {
        keystroke.run([&] { box->setText(typed); }, paint);
        emptied.run([&] { box->setText(QString()); }, paint);
        for (const QString &text : {typed, QString()}) {
            const tk::SearchStatement s =
                tk::searchStatement(dialect, QStringLiteral("MusTakip"), QStringLiteral("AracPlaka"), text);
            (text.isEmpty() ? rawEmptied : rawKeystroke).run([&] { scanKeys(db, dialect.keyStatement(s.sql), s.params); });
            (text.isEmpty() ? queryEmptied : queryKeystroke).run([&] { rawScan(db, s.sql, s.params); });
        }
    }
    both(QStringLiteral("search keystroke \"Ç\" on MusTakip"), keystroke.whole, rawKeystroke);
    both(QStringLiteral("  beside the raw query, rows read"), keystroke.whole, queryKeystroke);
    both(QStringLiteral("  rows in the list and boxes"), keystroke.first, rawKeystroke);
    both(QStringLiteral("  painting what changed"), keystroke.second, {});
    both(QStringLiteral("search emptied: every row back"), emptied.whole, rawEmptied);
    both(QStringLiteral("  beside the raw query, rows read"), emptied.whole, queryEmptied);
    both(QStringLiteral("  rows in the list and boxes"), emptied.first, rawEmptied);
    both(QStringLiteral("  painting what changed"), emptied.second, {});

    // Paging: the list's current row a page further, the grid painted.
    tk::Dataset *list = form.data()->dataset(QStringLiteral("MusTakip"));
    Timed steps;
    list->moveTo(list->rowCount() / 3);
    for (int i = 0; i < 20 * o.runs; ++i)
        steps.run([&] {
            list->moveBy(25);
            form.repaint();
            QApplication::processEvents();
        });
    both(QStringLiteral("paging the list, one page a step"), steps, {});
    sqlite3_close(db);
}
