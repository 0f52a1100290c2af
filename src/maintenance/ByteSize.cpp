#include "ByteSize.h"

#include <QFile>
#include <QLocale>

namespace tk {

namespace {

struct Unit {
    const char *name;
    quint64 size;
};

constexpr Unit units[] = {
    {"KB", 1ull << 10},
    {"MB", 1ull << 20},
    {"GB", 1ull << 30},
};

int digitCount(quint64 value)
{
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

} // namespace

QString formatByteSize(quint64 bytes)
{
    if (bytes < units[0].size)
        return QString::number(bytes) + QStringLiteral(" bayt");

    // The smallest unit that keeps the whole part below 1000; the last one takes any size.
    const Unit *unit = std::begin(units);
    while (unit + 1 != std::end(units) && bytes / unit->size >= 1000)
        ++unit;

    const int decimals = qMax(0, 3 - digitCount(bytes / unit->size));
    unsigned __int128 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    // Integer arithmetic, so the cut is exact at every boundary.
    const auto cut = static_cast<quint64>(static_cast<unsigned __int128>(bytes) * scale / unit->size);

    QLocale plain(QLocale::Turkish, QLocale::Turkey);
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const double figure = static_cast<double>(cut) / static_cast<double>(scale);
    return plain.toString(figure, 'f', decimals) + QLatin1Char(' ') + QLatin1String(unit->name);
}

QString fileSizeText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("*.mbd dosyası bulunamadı!");
    const qint64 size = file.size();
    file.close();
    return formatByteSize(static_cast<quint64>(qMax<qint64>(0, size)));
}

} // namespace tk
