// tekvanis-initdb FILE|postgresql://… [--demo] [--rows N]
// Makes a new database file, or the program's tables in an empty database on
// a PostgreSQL server; never touches existing books. --demo adds sample records on every page, --rows N adds N rows
// to every master and single table (with detail rows) for measurements.
#include "DemoData.h"
#include "core/Error.h"
#include "data/Schema.h"
#include "server/PgConnection.h"
#include "server/ServerCopy.h"
#include "server/ServerSchema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace {

struct Options {
    QString file;
    bool demo = false;
    std::optional<int> rows;
};

void print(FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
}

const char *const usage =
    "Kullanım: tekvanis-initdb DOSYA|postgresql://… [--demo] [--rows N]\n"
    "  DOSYA      oluşturulacak veritabanı dosyası (var olan dosyaya dokunulmaz)\n"
    "  postgresql://sunucu/veritabanı\n"
    "             programın tablolarının kurulacağı boş sunucu veritabanı\n"
    "  --demo     her sayfaya örnek kayıtlar ekler\n"
    "  --rows N   her ana ve tekil tabloya N satır, her ana satıra 2-3 ayrıntı satırı ekler";

// Empty when the arguments do not make sense.
std::optional<Options> parse(const QStringList &args)
{
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--demo") && !o.demo) {
            o.demo = true;
        } else if (a == QLatin1String("--rows") && !o.rows && i + 1 < args.size()) {
            bool ok = false;
            const int n = args.at(++i).toInt(&ok);
            if (!ok || n < 0)
                return std::nullopt;
            o.rows = n;
        } else if (!a.startsWith(QLatin1String("--")) && o.file.isEmpty() && !a.isEmpty()) {
            o.file = a;
        } else {
            return std::nullopt;
        }
    }
    if (o.file.isEmpty())
        return std::nullopt;
    return o;
}

// Fills a made file with what the options ask for.
void fill(const Options &o, const QString &file)
{
    if (o.demo)
        tk::fillDemoData(file);
    if (o.rows)
        tk::fillRows(file, *o.rows);
}

// The tables on a server, filled (through a file made beside, then copied)
// in the same transaction: books are made whole or not at all.
void createOnServer(const Options &o)
{
    tk::PgConnection db(o.file);
    db.inTransaction([&] {
        tk::createServerSchema(db);
        if (!o.demo && !o.rows)
            return;
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Data.dat"));
        tk::createDatabaseFile(file);
        fill(o, file);
        tk::copyDataFileToServer(file, db);
    });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::optional<Options> options = parse(app.arguments());
    if (!options) {
        print(stderr, QString::fromUtf8(usage));
        return 2;
    }
    const bool server = tk::isServerAddress(options->file);
    if (!server && (QFileInfo::exists(options->file) || QFileInfo(options->file).isSymLink())) {
        print(stderr, QStringLiteral("tekvanis-initdb: '%1' zaten var; var olan dosyaya dokunulmadı.")
                          .arg(QFileInfo(options->file).absoluteFilePath()));
        return 1;
    }
    try {
        QElapsedTimer timer;
        timer.start();
        if (server) {
            createOnServer(*options);
        } else {
            tk::createDatabaseFile(options->file);
            try {
                fill(*options, options->file);
            } catch (...) {
                // A half-filled file is worth nothing; the next run should start afresh.
                QFile::remove(options->file);
                throw;
            }
        }
        QString what = options->demo ? QStringLiteral("örnek kayıtlarla") : QString();
        if (options->rows)
            what += (what.isEmpty() ? QString() : QStringLiteral(", "))
                    + QStringLiteral("tablo başına %1 satırla").arg(*options->rows);
        print(stdout, QStringLiteral("%1 oluşturuldu%2 (%3 ms).")
                          .arg(options->file, what.isEmpty() ? QString() : QLatin1Char(' ') + what)
                          .arg(timer.elapsed()));
        return 0;
    } catch (const tk::Error &e) {
        print(stderr, QStringLiteral("tekvanis-initdb: ") + e.text());
        return 1;
    }
}
