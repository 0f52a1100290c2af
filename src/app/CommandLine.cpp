#include "CommandLine.h"

namespace tk {

CommandLine parseCommandLine(const QStringList &args, bool toolkitDone)
{
    CommandLine cl;
    const auto wrong = [&cl](const QString &problem) {
        cl.action = CommandLine::Action::Wrong;
        cl.problem = problem;
        return cl;
    };
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            cl.action = CommandLine::Action::Help;
            return cl;
        }
        if (a == QLatin1String("--version") || a == QLatin1String("-v")) {
            cl.action = CommandLine::Action::Version;
            return cl;
        }
        QString folder;
        if (a == QLatin1String("--folder")) {
            if (i + 1 >= args.size())
                return wrong(QStringLiteral("--folder bir klasör adı bekliyor."));
            folder = args.at(++i);
        } else if (a.startsWith(QLatin1String("--folder="))) {
            folder = a.mid(9);
        } else if (toolkitDone) {
            return wrong(QStringLiteral("Bilinmeyen seçenek: %1").arg(a));
        } else {
            continue; // the toolkit's own options
        }
        if (folder.isEmpty())
            return wrong(QStringLiteral("--folder bir klasör adı bekliyor."));
        if (!cl.folder.isEmpty())
            return wrong(QStringLiteral("--folder bir kez verilebilir."));
        cl.folder = folder;
        cl.ownArguments = {QStringLiteral("--folder"), folder};
    }
    return cl;
}

QString versionText() { return QStringLiteral("tekvanis 1.0"); }

QString helpText()
{
    return QStringLiteral(
        "Kullanım: tekvanis [--folder KLASÖR]\n"
        "Küçük bir oto servisinin kayıt programı: servis işleri, hasar dosyaları, faturalar,\n"
        "cari hesaplar, irsaliyeler, kasa, ödeme planı, senetler, stok ve maaşlar.\n"
        "\n"
        "Seçenekler:\n"
        "  --folder KLASÖR  program klasörü: Data.dat ve S-Veri.ini bu klasörde tutulur\n"
        "  -h, --help       bu yardımı gösterir\n"
        "  -v, --version    sürümü gösterir\n"
        "\n"
        "Program klasörü, --folder verilmezse:\n"
        "  TEKVANIS_HOME ortam değişkeninin klasörü; o da yoksa programın kendi klasörü,\n"
        "  oraya yazılamıyorsa $XDG_DATA_HOME/tekvanis (~/.local/share/tekvanis).\n"
        "Programın kendi klasörü dışındaki bir klasörde Data.dat yoksa boş bir veritabanı\n"
        "oluşturulup oluşturulmayacağını sorar.\n"
        "Parola ayarı ~/.config/tekvanis/win.ini dosyasındadır.\n"
        "\n"
        "Boş bir veritabanı dosyası yapmak için: tekvanis-initdb DOSYA");
}

} // namespace tk
