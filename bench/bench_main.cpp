// tekvanis-bench: makes its databases with N rows per table and prints tables
// of figures (see usage()). It reports; it asserts nothing.
#include "app/TForm1.h"
#include "core/UiSeam.h"
#include "bench_desks.h"
#include "bench_reports.h"
#include "bench_search.h"
#include "bench_server.h"
#include "bench_startup.h"
#include "bench_summary.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "initdb/DemoData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Message boxes would wait for a person: the benchmark notes them instead.
class QuietUi : public tk::UiSeam {
public:
    Answer ask(QWidget *, const QString &, const QString &t, bool) override { return note(t, Answer::No); }
    Answer confirm(QWidget *, const QString &, const QString &t) override { return note(t, Answer::Cancel); }
    void inform(QWidget *, const QString &, const QString &t) override { note(t, Answer::Ok); }
    void warn(QWidget *, const QString &, const QString &t) override { note(t, Answer::Ok); }
    void error(QWidget *, const QString &, const QString &t) override { note(t, Answer::Ok); }
    bool restartProgram(const QString &, const QStringList &) override { return false; }
    bool openUrl(const QString &) override { return false; }
    QString chooseSaveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(QWidget *, const QString &, const QString &) override { return {}; }

private:
    Answer note(const QString &text, Answer a)
    {
        std::fprintf(stderr, "message: %s\n", text.toUtf8().constData());
        return a;
    }
};

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

void row(const char *what, double ours, double raw, const char *unit = "ms")
{
    if (raw > 0)
        std::printf("| %-52s | %10.1f %s | %10.1f %s | %6.2fx |\n", what, ours, unit, raw, unit, ours / raw);
    else
        std::printf("| %-52s | %10.1f %s | %13s | %7s |\n", what, ours, unit, "", "");
}

const char *const kUsage =
    "Usage: tekvanis-bench [options]\n"
    "Makes a Data.dat of N rows per table for each size and prints what a user sees:\n"
    "start-up until the window shows and the memory it holds (in a child process),\n"
    "opening the datasets, a search, paging; each beside a raw baseline, the median\n"
    "of the runs with min and max. Then the summary, report and search tables at the\n"
    "last size.\n"
    "\n"
    "  --rows N      a size, rows per table (may be repeated; default 10000 and 100000)\n"
    "  --million     add 1000000 rows per table (making that file takes minutes)\n"
    "  --runs N      runs per figure, at least 5 (default 5)\n"
    "  --dir DIR     keep the databases in DIR/<rows>/Data.dat and reuse them\n"
    "  --file PATH   use (or make) PATH for the one size given\n"
    "  --startup     only the start-up, opening, search and paging figures\n"
    "  --searches    only the raw search figures (at the last size)\n"
    "  --reports     only the report figures (at the last size)\n"
    "  --server      only the same books on a private PostgreSQL server beside the file\n"
    "  --desks       only the two-desk figures (at the last size): a save showing at\n"
    "                another desk, and the check a save makes, on a Data.dat and on\n"
    "                a private PostgreSQL server\n"
    "  --help        this text\n";

QString loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll().trimmed()) : QString();
}

QString databaseFor(int rows, const QString &file, const QString &dir, const QTemporaryDir &temp)
{
    if (!file.isEmpty())
        return QFileInfo(file).absoluteFilePath();
    const QString folder = (dir.isEmpty() ? temp.path() : dir) + QStringLiteral("/%1").arg(rows);
    QDir().mkpath(folder);
    const QString path = QFileInfo(folder + QStringLiteral("/Data.dat")).absoluteFilePath();
    if (!QFile::exists(path)) {
        QElapsedTimer t;
        t.start();
        tk::createDatabaseFile(path);
        tk::fillRows(path, rows);
        std::printf("made %s in %.0f s\n", qPrintable(path), msSince(t) / 1000);
    }
    return path;
}

} // namespace

int main(int argc, char **argv)
{
    // The child of the start-up figures: before anything else starts.
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0)
        return runStartupChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), argc, argv);

    QList<int> sizes;
    int runs = 5;
    bool million = false, startupOnly = false, searchesOnly = false, serverOnly = false, reportsOnly = false, desksOnly = false;
    QString file, dir;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a = argv[i];
        const bool hasValue = i + 1 < argc;
        bool ok = true;
        if (a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--rows" && hasValue) {
            sizes << QByteArray(argv[++i]).toInt(&ok);
            ok = ok && sizes.last() > 0;
        } else if (a == "--runs" && hasValue) {
            runs = QByteArray(argv[++i]).toInt(&ok);
            ok = ok && runs >= 5;
        } else if (a == "--file" && hasValue) {
            file = QString::fromLocal8Bit(argv[++i]);
        } else if (a == "--dir" && hasValue) {
            dir = QString::fromLocal8Bit(argv[++i]);
        } else if (a == "--million") {
            million = true;
        } else if (a == "--startup") {
            startupOnly = true;
        } else if (a == "--searches") {
            searchesOnly = true;
        } else if (a == "--reports") {
            reportsOnly = true;
        } else if (a == "--server") {
            serverOnly = true;
        } else if (a == "--desks") {
            desksOnly = true;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "tekvanis-bench: wrong argument: %s\n\n%s", argv[i], kUsage);
            return 2;
        }
    }
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    if (million)
        sizes << 1000000;
    if (!file.isEmpty() && sizes.size() != 1) {
        std::fprintf(stderr, "tekvanis-bench: --file needs exactly one size\n\n%s", kUsage);
        return 2;
    }

    // Measured offscreen, as the child is: no display needed, none drawn on.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietUi quiet;
    tk::UiSeam::install(&quiet);
    if (desksOnly) {
        std::printf("load average %s\n", qPrintable(loadAverage()));
        runDeskBenchmarks(sizes.last(), runs);
        std::printf("load average %s\n", qPrintable(loadAverage()));
        return 0;
    }
    if (searchesOnly) {
        runSearchBenchmarks(sizes.last());
        return 0;
    }

    QTemporaryDir temp;
    QString path;
    for (int rows : std::as_const(sizes)) {
        path = databaseFor(rows, file, dir, temp);
        if (reportsOnly)
            continue;
        std::printf("\n%d rows per table, %.0f MB, %d runs; load average %s\n\n", rows,
                    double(QFile(path).size()) / 1e6, runs, qPrintable(loadAverage()));
        if (serverOnly) {
            runServerBenchmarks(path, runs);
            std::printf("\nload average after: %s\n", qPrintable(loadAverage()));
            continue;
        }
        runStartupBenchmarks({path, QCoreApplication::applicationFilePath(), runs});
    }
    if (startupOnly || serverOnly)
        return 0;

    // The rest at the last size, on the main window as the program builds it.
    const QString folder = QFileInfo(path).absolutePath();
    QDir::setCurrent(folder);
    tk::AppPaths paths;
    paths.programFolder = folder;
    paths.configFolder = temp.path();
    tk::TForm1 form(paths);
    form.show();
    QApplication::processEvents();
    if (reportsOnly) {
        runReportBenchmarks(form, runs);
        return 0;
    }

    std::printf("\n");
    // Saving a detail row with its page total.
    tk::Dataset *ops = form.data()->dataset(QStringLiteral("MusTakip1"));
    QElapsedTimer p;
    p.start();
    const int saves = 50;
    for (int i = 0; i < saves; ++i) {
        ops->append();
        ops->setText(QStringLiteral("Islem"), QStringLiteral("Yağ Değişimi"));
        ops->setText(QStringLiteral("Tutar"), QStringLiteral("150,25"));
        ops->post();
    }
    row("save one operation row with its total (mean of 50)", msSince(p) / saves, 0);
    std::fflush(stdout);

    runSummaryBenchmarks(path);
    runReportBenchmarks(form, runs);
    runSearchBenchmarks(sizes.last());
    return 0;
}
