// tekvanis-bench [--rows N] [--runs N] [--file PATH] [--searches | --reports]: makes its own database
// with N rows per table (or reuses PATH, a file named Data.dat, when it
// exists, making it there otherwise) and prints tables of figures. It reports; it asserts nothing.
#include "app/TForm1.h"
#include "core/UiSeam.h"
#include "bench_reports.h"
#include "bench_search.h"
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
#include <sqlite3.h>

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

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void row(const char *what, double ours, double raw, const char *unit = "ms")
{
    if (raw > 0)
        std::printf("| %-52s | %10.1f %s | %10.1f %s | %6.2fx |\n", what, ours, unit, raw, unit, ours / raw);
    else
        std::printf("| %-52s | %10.1f %s | %13s | %7s |\n", what, ours, unit, "", "");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QuietUi quiet;
    tk::UiSeam::install(&quiet);
    const QStringList args = app.arguments();
    const auto option = [&](const char *name, const QString &fallback) {
        const qsizetype at = args.indexOf(QLatin1String(name));
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : fallback;
    };
    const int rows = option("--rows", QStringLiteral("100000")).toInt();
    const int runs = std::max(1, option("--runs", QStringLiteral("5")).toInt());
    if (args.contains(QStringLiteral("--searches"))) { // the search figures alone
        runSearchBenchmarks(rows);
        return 0;
    }

    QTemporaryDir dir;
    const QString path = QFileInfo(option("--file", dir.filePath(QStringLiteral("Data.dat")))).absoluteFilePath();
    QElapsedTimer t;
    t.start();
    if (QFile::exists(path)) {
        std::printf("Database: %s, %.1f MB, reused\n\n", qPrintable(path), double(QFile(path).size()) / 1e6);
    } else {
        tk::createDatabaseFile(path);
        tk::fillRows(path, rows);
        std::printf("Database: %d rows per master and single table, %.1f MB, made in %.0f ms\n\n", rows,
                    double(QFile(path).size()) / 1e6, msSince(t));
    }
    if (args.contains(QStringLiteral("--reports"))) { // the report figures alone
        const QString folder = QFileInfo(path).absolutePath();
        QDir::setCurrent(folder);
        tk::AppPaths paths;
        paths.programFolder = folder;
        paths.configFolder = dir.path();
        tk::TForm1 form(paths);
        form.show();
        QApplication::processEvents();
        runReportBenchmarks(form, runs);
        return 0;
    }
    std::printf("| %-52s | %13s | %13s | %7s |\n", "measure", "Tekvanis", "raw C API", "ratio");
    std::printf("|%s|%s|%s|%s|\n", QByteArray(54, '-').constData(), QByteArray(15, '-').constData(),
                QByteArray(15, '-').constData(), QByteArray(9, '-').constData());

    // Opening the eighteen datasets beside stepping the same statements raw.
    sqlite3 *raw = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    rawScan(raw, QStringLiteral("SELECT * FROM Stok")); // warm the file cache for both sides
    double rawOpen = 0;
    {
        QElapsedTimer r;
        r.start();
        for (const tk::DatasetDef &def : tk::datasetDefs()) {
            const QByteArray sql = def.sql.toUtf8().replace(":SiraNo", "?");
            rawScan(raw, QString::fromUtf8(sql), def.master ? QVariantList{1} : QVariantList{});
        }
        rawOpen = msSince(r);
    }
    double ourOpen = 0;
    {
        QElapsedTimer o;
        o.start();
        tk::DataModule data(path, tk::datasetDefs());
        ourOpen = msSince(o);
    }
    row("open all 18 datasets", ourOpen, rawOpen);

    // Start-up: the main window built on the database and shown.
    const long before = residentKb();
    // The program opens "Data.dat" in its folder: the file's own folder here.
    const QString folder = QFileInfo(path).absolutePath();
    QDir::setCurrent(folder);
    tk::AppPaths paths;
    paths.programFolder = folder;
    paths.configFolder = dir.path();
    QElapsedTimer shown;
    shown.start();
    tk::TForm1 form(paths);
    form.show();
    QApplication::processEvents();
    row("main window built and shown", msSince(shown), 0);
    std::printf("| %-52s | %10ld MB | %13s | %7s |\n", "resident memory with the window shown", residentKb() / 1024,
                "", "");
    Q_UNUSED(before);

    // One search keystroke on the largest master: re-query, grid reset, detail follow.
    form.showPage(0);
    auto *search = form.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    QElapsedTimer s;
    s.start();
    search->setText(QStringLiteral("ç"));
    QApplication::processEvents();
    const double ourSearch = msSince(s);
    QElapsedTimer rs;
    rs.start();
    {
        sqlite3 *db = form.data()->connection()->handle();
        rawScan(db, QStringLiteral("SELECT * FROM MusTakip WHERE AracPlaka Like ?"), {QStringLiteral("ç%")});
    }
    row("search keystroke on MusTakip (Turkish LIKE)", ourSearch, msSince(rs));
    s.restart();
    search->setText(QString());
    QApplication::processEvents();
    rs.restart();
    rawScan(form.data()->connection()->handle(), QStringLiteral("SELECT * FROM MusTakip WHERE AracPlaka Like ?"), {QStringLiteral("%")});
    row("search emptied: every row back", msSince(s), msSince(rs));

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
    sqlite3_close(raw);
    std::printf("\n");
    std::fflush(stdout);

    runSummaryBenchmarks(path);

    runReportBenchmarks(form, runs);
    runSearchBenchmarks(rows);
    return 0;
}
