// tekvanis-initdb FILE [--demo] [--rows N]
// Makes a new database file with the program's tables; never touches an
// existing one. --demo adds sample records on every page, --rows N adds N rows
// to every master and single table (with detail rows) for measurements.
#include "DemoData.h"
#include "core/Error.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

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
    "Kullanım: tekvanis-initdb DOSYA [--demo] [--rows N]\n"
    "  DOSYA      oluşturulacak veritabanı dosyası (var olan dosyaya dokunulmaz)\n"
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::optional<Options> options = parse(app.arguments());
    if (!options) {
        print(stderr, QString::fromUtf8(usage));
        return 2;
    }
    if (QFileInfo::exists(options->file) || QFileInfo(options->file).isSymLink()) {
        print(stderr, QStringLiteral("tekvanis-initdb: '%1' zaten var; var olan dosyaya dokunulmadı.")
                          .arg(QFileInfo(options->file).absoluteFilePath()));
        return 1;
    }
    try {
        QElapsedTimer timer;
        timer.start();
        tk::createDatabaseFile(options->file);
        try {
            if (options->demo)
                tk::fillDemoData(options->file);
            if (options->rows)
                tk::fillRows(options->file, *options->rows);
        } catch (...) {
            // A half-filled file is worth nothing; the next run should start afresh.
            QFile::remove(options->file);
            throw;
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
