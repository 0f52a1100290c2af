#include "ToolbarIcons.h"

#include "core/Error.h"

#include <QBitmap>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <zlib.h>

// Resources of a static library are registered by name, outside any namespace.
static void initReportResources() { Q_INIT_RESOURCE(reports); }

namespace tk::reports {

QByteArray gunzip(const QByteArray &packed)
{
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK)
        throw Error(QStringLiteral("zlib başlatılamadı"));
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    z.avail_in = uInt(packed.size());
    QByteArray out;
    char buffer[16384];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef *>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, qsizetype(sizeof buffer - z.avail_out));
        if (rc == Z_OK && z.avail_in == 0 && z.avail_out != 0)
            rc = Z_DATA_ERROR; // input ended before the stream did
    }
    inflateEnd(&z);
    if (rc != Z_STREAM_END)
        throw Error(QStringLiteral("Sıkıştırılmış veri bozuk"));
    return out;
}

QList<QIcon> toolbarIcons()
{
    initReportResources();
    QList<QIcon> icons;
    QFile file(QStringLiteral(":/reports/toolbar.bmp.gz"));
    QImage strip;
    if (file.open(QIODevice::ReadOnly)) {
        try {
            strip = QImage::fromData(gunzip(file.readAll()), "BMP");
        } catch (const Error &) {
            strip = QImage();
        }
    }
    constexpr int kSize = 24;
    const int count = int(ToolIcon::Close) + 1;
    for (int i = 0; i < count; ++i) {
        if (strip.width() < (i + 1) * kSize) {
            icons << QIcon();
            continue;
        }
        QPixmap picture = QPixmap::fromImage(strip.copy(i * kSize, 0, kSize, kSize));
        // Magenta is the strip's transparent colour.
        picture.setMask(picture.createMaskFromColor(QColor(255, 0, 255)));
        icons << QIcon(picture);
    }
    return icons;
}

} // namespace tk::reports
