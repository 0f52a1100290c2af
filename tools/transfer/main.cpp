// tekvanis-transfer KAYNAK HEDEF
// Copies the books of KAYNAK into HEDEF, a database made with today's tables,
// and prints what was copied. KAYNAK is recognised by its contents; today the
// old program's Jet file (Jet 3 or Jet 4). HEDEF the same file as KAYNAK
// converts it in place, keeping the old file beside it as <name>-eski.dat.
#include "core/Error.h"
#include "transfer/JetImport.h"
#include "transfer/JetSignature.h"

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
    "Kullanım: tekvanis-transfer KAYNAK HEDEF\n"
    "  KAYNAK  eski programın veritabanı (Jet 3 ya da Jet 4 biçiminde)\n"
    "  HEDEF   yeni veritabanı dosyası; var olmamalı. KAYNAK ile aynı dosyaysa yerinde\n"
    "          dönüştürülür, eskisi yanında <ad>-eski.dat olarak saklanır.";

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || args.at(1).startsWith(QLatin1String("--")) || args.at(2).startsWith(QLatin1String("--"))) {
        print(stderr, QString::fromUtf8(usage));
        return 2;
    }
    const QString source = args.at(1), target = args.at(2);
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
