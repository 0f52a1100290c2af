#include "Export.h"

#include "core/Error.h"
#include "reports/render/Renderer.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace tk::reports {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info)
{
    auto *err = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// Plain C data only between setjmp and longjmp. Returns nullptr or the error text.
const char *encode(FILE *out, const unsigned char *pixels, int width, int height, qsizetype stride,
                   int components, J_COLOR_SPACE space, int quality, int dpi, ErrorManager &err)
{
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onJpegError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&info);
        return err.message;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.write_JFIF_header = TRUE;
    info.density_unit = 1; // dots per inch
    info.X_density = UINT16(dpi);
    info.Y_density = UINT16(dpi);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + stride * qsizetype(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return nullptr;
}

} // namespace

void writeJpeg(const QImage &source, const QString &path, int quality, int dpi)
{
    // 32-bit pixels go to the encoder as they are (blue, green, red, unused
    // byte in memory on this byte order); anything else as 24-bit RGB.
    const bool direct = source.format() == QImage::Format_RGB32 && Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
    const QImage image = direct ? source : source.convertToFormat(QImage::Format_RGB888);
    FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        throw Error(QStringLiteral("%1 yazılamadı.").arg(path));
    ErrorManager err{};
    const char *failure = encode(out, image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                                 direct ? 4 : 3, direct ? JCS_EXT_BGRX : JCS_RGB, quality, dpi, err);
    const bool closed = std::fclose(out) == 0;
    if (failure || !closed) {
        QFile::remove(path);
        throw Error(QStringLiteral("%1 yazılamadı: %2").arg(path, failure ? QString::fromLocal8Bit(failure)
                                                                              : QStringLiteral("disk hatası")));
    }
}

QString jpegFileName(const QString &path, int pageIndex)
{
    QString base = path;
    if (base.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive))
        base.chop(4);
    else if (base.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive))
        base.chop(5);
    return QStringLiteral("%1-%2.jpg").arg(base).arg(pageIndex + 1);
}

QStringList exportJpeg(const PreparedReport &report, const std::vector<int> &pages, const QString &path,
                       const JpegOptions &options, const ExportProgress &progress)
{
    const int dpi = options.dpi;
    Renderer renderer(report);
    QStringList written;
    for (int index : pages) {
        if (progress && !progress(index + 1)) {
            for (const QString &file : written)
                QFile::remove(file);
            return {};
        }
        const PageSetup &setup = report.setup(index);
        const QSize size(qRound(setup.paperWidth / 25.4 * dpi), qRound(setup.paperHeight / 25.4 * dpi));
        const QPointF shift = options.crop ? QPointF(-setup.marginLeft / 25.4 * dpi, -setup.marginTop / 25.4 * dpi)
                                           : QPointF(0, 0);
        const QSize imageSize = options.crop
            ? QSize(qRound((setup.paperWidth - setup.marginLeft - setup.marginRight) / 25.4 * dpi),
                    qRound((setup.paperHeight - setup.marginTop - setup.marginBottom) / 25.4 * dpi))
            : size;
        // The raster engine paints fastest into its own 32-bit format.
        QImage image(imageSize, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            renderer.drawPage(painter, index, QRectF(shift, QSizeF(size)));
        }
        if (options.monochrome)
            image = image.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        const QString file = jpegFileName(path, index);
        writeJpeg(image, file, options.quality, dpi);
        written << file;
    }
    return written;
}

} // namespace tk::reports
