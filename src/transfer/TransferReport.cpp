#include "TransferReport.h"

#include <QLocale>

namespace tk {

namespace {

QString counted(const QVector<TableCount> &counts)
{
    QStringList parts;
    for (const TableCount &c : counts)
        parts << QStringLiteral("%1 %2").arg(c.name, countText(c.count));
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString countText(qint64 count) { return QLocale(QLocale::Turkish, QLocale::Turkey).toString(count); }

QString TransferReport::summary() const
{
    QStringList lines{QStringLiteral("Aktarılan kayıtlar: ") + counted(transferred)};
    const auto list = [&](const QString &title, const QString &items) {
        if (!items.isEmpty())
            lines << title + QStringLiteral(": ") + items;
    };
    list(QStringLiteral("Eski dosyada olmayan tablolar (boş kaldı)"), missingTables.join(QStringLiteral(", ")));
    list(QStringLiteral("Eski dosyada olmayan sütunlar (boş kaldı)"), missingColumns.join(QStringLiteral(", ")));
    list(QStringLiteral("Aktarılmayan fazla tablolar"), extraTables.join(QStringLiteral(", ")));
    list(QStringLiteral("Aktarılmayan fazla sütunlar"), extraColumns.join(QStringLiteral(", ")));
    list(QStringLiteral("Sütunun türüne uymadığı için olduğu gibi aktarılan değerler"), counted(keptAsIs));
    list(QStringLiteral("Ana kaydı olmayan ayrıntı kayıtları"), counted(withoutMaster));
    return lines.join(QLatin1Char('\n'));
}

} // namespace tk
