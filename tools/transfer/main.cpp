// tekvanis-transfer [--replace] KAYNAK HEDEF
// Copies the books of KAYNAK into HEDEF and prints what was copied.
// Between a Data.dat and a database server ("postgresql://…"), either way:
// every table in one transaction, keys kept, counts and sums of both sides
// printed. Otherwise KAYNAK is the old program's Jet file (Jet 3 or Jet 4)
// and HEDEF a new database file; HEDEF the same file as KAYNAK converts it
// in place, keeping the old file beside it as <name>-eski.dat.
#include "core/Error.h"
#include "server/PgConnection.h"
#include "transfer/JetImport.h"
#include "transfer/JetSignature.h"
#include "transfer/ServerTransfer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

void print(FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
    std::fflush(to);
}

const char *const usage =
    "Kullanım: tekvanis-transfer [--replace] KAYNAK HEDEF\n"
    "  Data.dat ile sunucu arasında, iki yönde de:\n"
    "    tekvanis-transfer Data.dat postgresql://kullanici@makine/defter\n"
    "    tekvanis-transfer postgresql://kullanici@makine/defter Data.dat\n"
    "  Kayıt bulunan bir hedef ancak --replace ile değiştirilir.\n"
    "  Eski programın veritabanından (Jet 3 ya da Jet 4 biçiminde):\n"
    "    KAYNAK  eski programın veritabanı\n"
    "    HEDEF   yeni veritabanı dosyası; var olmamalı. KAYNAK ile aynı dosyaysa yerinde\n"
    "            dönüştürülür, eskisi yanında <ad>-eski.dat olarak saklanır.";

int serverTransfer(const QString &source, const QString &target, bool replace)
{
    try {
        const tk::ServerTransferResult r =
            tk::transferServerBooks(source, target, replace, [](const QString &table, qint64 rows) {
                print(stderr, QStringLiteral("Aktarıldı: %1 (%2 kayıt)").arg(table).arg(rows));
            });
        print(stdout, r.comparison);
        print(stdout, QStringLiteral("Kayıt sayıları ve tutar toplamları iki yanda aynı."));
    } catch (const tk::Error &e) {
        print(stderr, e.text());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool replace = args.removeAll(QStringLiteral("--replace")) > 0;
    if (args.size() != 2 || args.at(0).startsWith(QLatin1String("--")) || args.at(1).startsWith(QLatin1String("--"))) {
        print(stderr, QString::fromUtf8(usage));
        return 2;
    }
    const QString source = args.at(0), target = args.at(1);
    if (tk::isServerAddress(source) || tk::isServerAddress(target))
        return serverTransfer(source, target, replace);
    if (replace) {
        print(stderr, QString::fromUtf8(usage));
        return 2;
    }
    if (!QFileInfo(source).isFile()) {
        print(stderr, QStringLiteral("Kaynak dosya bulunamadı: %1").arg(QFileInfo(source).absoluteFilePath()));
        return 1;
    }
    if (tk::jetVersionOf(source) == tk::JetVersion::None) {
        print(stderr, QStringLiteral("Kaynak tanınmadı (Jet biçiminde bir veritabanı değil): %1")
                          .arg(QFileInfo(source).absoluteFilePath()));
        return 1;
    }
    try {
        QString current;
        const tk::TransferReport report =
            tk::importJetBooks(source, target, [&](const QString &table, qint64, qint64) {
                if (!table.isEmpty() && table != current)
                    print(stderr, QStringLiteral("Aktarılıyor: %1").arg(current = table));
            });
        print(stdout, report.summary());
    } catch (const tk::Error &e) {
        print(stderr, e.text());
        return 1;
    }
    return 0;
}
