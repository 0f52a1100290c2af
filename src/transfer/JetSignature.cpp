#include "JetSignature.h"

#include <QFile>

namespace tk {

JetVersion jetVersionOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return JetVersion::None;
    const QByteArray head = file.read(0x15);
    if (head.size() < 0x15 || head.mid(4, 15) != QByteArrayLiteral("Standard Jet DB"))
        return JetVersion::None;
    switch (quint8(head.at(0x14))) {
    case 0:
        return JetVersion::Jet3;
    case 1:
        return JetVersion::Jet4;
    default:
        return JetVersion::Other;
    }
}

QString jetVersionName(JetVersion version)
{
    switch (version) {
    case JetVersion::Jet3:
        return QStringLiteral("Jet 3.0");
    case JetVersion::Jet4:
        return QStringLiteral("Jet 4.0");
    case JetVersion::Other:
        return QStringLiteral("Jet");
    case JetVersion::None:
        break;
    }
    return {};
}

} // namespace tk
