#include "ReportFile.h"

#include "core/Error.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <zlib.h>

namespace tk::reports {

namespace {

constexpr char kMagic[8] = {'T', 'K', 'R', 'A', 'P', 'O', 'R', '1'};
constexpr quint32 kVersion = 1;

class Writer {
public:
    QByteArray bytes;
    template <typename T> void put(T v)
    {
        T le = qToLittleEndian(v);
        bytes.append(reinterpret_cast<const char *>(&le), sizeof le);
    }
    void putF(float f) { quint32 u; std::memcpy(&u, &f, 4); put(u); }
    void putD(double d) { quint64 u; std::memcpy(&u, &d, 8); put(u); }
    void putText(const QString &s)
    {
        put(quint32(s.size()));
        for (QChar c : s)
            put(quint16(c.unicode()));
    }
};

struct BadFile {};

class Reader {
public:
    explicit Reader(const QByteArray &b) : m_data(b.constData()), m_size(size_t(b.size())) {}
    template <typename T> T get()
    {
        need(sizeof(T));
        T v;
        std::memcpy(&v, m_data + m_pos, sizeof v);
        m_pos += sizeof v;
        return qFromLittleEndian(v);
    }
    float getF()
    {
        const quint32 u = get<quint32>();
        float f;
        std::memcpy(&f, &u, 4);
        if (!std::isfinite(f))
            throw BadFile{};
        return f;
    }
    double getD()
    {
        const quint64 u = get<quint64>();
        double d;
        std::memcpy(&d, &u, 8);
        if (!std::isfinite(d))
            throw BadFile{};
        return d;
    }
    // A count of records of at least `recordSize` bytes each: never more than fit in the rest.
    quint32 count(size_t recordSize)
    {
        const quint32 n = get<quint32>();
        if (recordSize && n > (m_size - m_pos) / recordSize)
            throw BadFile{};
        return n;
    }
    QString text()
    {
        const quint32 n = count(2);
        QString s(qsizetype(n), Qt::Uninitialized);
        for (quint32 i = 0; i < n; ++i)
            s[qsizetype(i)] = QChar(get<quint16>());
        return s;
    }
    void need(size_t n) const
    {
        if (n > m_size - m_pos)
            throw BadFile{};
    }
    size_t pos() const { return m_pos; }
    void expectEnd() const
    {
        if (m_pos != m_size)
            throw BadFile{};
    }

private:
    const char *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

quint32 checksum(const char *data, size_t size)
{
    return quint32(crc32(crc32(0L, nullptr, 0), reinterpret_cast<const Bytef *>(data), uInt(size)));
}

} // namespace

QByteArray serializeReport(const PreparedReport &r)
{
    Writer w;
    w.bytes.append(kMagic, sizeof kMagic);
    w.put(kVersion);
    w.put(quint32(r.setups().size()));
    for (const PageSetup &s : r.setups()) {
        w.putD(s.paperWidth);
        w.putD(s.paperHeight);
        w.put(quint8(s.landscape));
        w.putD(s.marginLeft);
        w.putD(s.marginRight);
        w.putD(s.marginTop);
        w.putD(s.marginBottom);
    }
    w.put(quint32(r.styles().size()));
    for (const ItemStyle &s : r.styles()) {
        w.putText(s.family);
        w.put(qint16(s.sizeUnits));
        w.put(quint8(s.bold));
        w.put(quint8(s.underline));
        w.put(quint32(s.color));
        w.put(quint8(s.align));
        w.put(quint8(s.frame));
        w.putF(s.gapX);
        w.putF(s.gapY);
        w.put(quint8(s.wordWrap));
        w.put(quint8(s.clip));
    }
    w.put(quint32(r.pages().size()));
    for (const PreparedPage &p : r.pages()) {
        w.put(quint32(p.setup));
        w.put(quint32(p.firstItem));
        w.put(quint32(p.itemCount));
    }
    w.put(quint32(r.items().size()));
    for (const PreparedItem &i : r.items()) {
        w.putF(i.x);
        w.putF(i.y);
        w.putF(i.w);
        w.putF(i.h);
        w.put(quint32(i.textOffset));
        w.put(quint32(i.textLength));
        w.put(quint16(i.style));
        w.put(quint8(i.kind));
        w.put(quint8(i.band));
        w.put(quint8(i.flags));
    }
    w.putText(r.textBuffer());
    w.put(checksum(w.bytes.constData(), size_t(w.bytes.size())));
    return w.bytes;
}

void deserializeReport(const QByteArray &bytes, PreparedReport &report)
{
    try {
        if (bytes.size() < qsizetype(sizeof kMagic + 8) || std::memcmp(bytes.constData(), kMagic, sizeof kMagic) != 0)
            throw BadFile{};
        const size_t body = size_t(bytes.size()) - 4;
        if (checksum(bytes.constData(), body) != qFromLittleEndian<quint32>(bytes.constData() + body))
            throw BadFile{};
        const QByteArray content = bytes.left(qsizetype(body));
        Reader in(content);
        in.need(sizeof kMagic);
        for (size_t i = 0; i < sizeof kMagic; ++i)
            in.get<quint8>();
        if (in.get<quint32>() != kVersion)
            throw BadFile{};

        std::vector<PageSetup> setups(in.count(49));
        for (PageSetup &s : setups) {
            s.paperWidth = in.getD();
            s.paperHeight = in.getD();
            s.landscape = in.get<quint8>() != 0;
            s.marginLeft = in.getD();
            s.marginRight = in.getD();
            s.marginTop = in.getD();
            s.marginBottom = in.getD();
            const auto within = [](double v, double lo, double hi) { return v >= lo && v <= hi; };
            if (!within(s.paperWidth, 10, 5000) || !within(s.paperHeight, 10, 5000)
                || !within(s.marginLeft, 0, s.paperWidth) || !within(s.marginRight, 0, s.paperWidth - s.marginLeft)
                || !within(s.marginTop, 0, s.paperHeight) || !within(s.marginBottom, 0, s.paperHeight - s.marginTop))
                throw BadFile{};
        }
        std::vector<ItemStyle> styles(in.count(24));
        for (ItemStyle &s : styles) {
            s.family = in.text();
            s.sizeUnits = in.get<qint16>();
            s.bold = in.get<quint8>() != 0;
            s.underline = in.get<quint8>() != 0;
            s.color = in.get<quint32>();
            const quint8 align = in.get<quint8>();
            s.frame = in.get<quint8>();
            s.gapX = in.getF();
            s.gapY = in.getF();
            s.wordWrap = in.get<quint8>() != 0;
            s.clip = in.get<quint8>() != 0;
            if (align > quint8(Align::Center) || s.frame > FrameBox || s.sizeUnits < 1 || s.sizeUnits > 2000
                || std::fabs(s.gapX) > 1000 || std::fabs(s.gapY) > 1000)
                throw BadFile{};
            s.align = Align(align);
        }
        std::vector<PreparedPage> pages(in.count(12));
        for (PreparedPage &p : pages) {
            p.setup = in.get<quint32>();
            p.firstItem = in.get<quint32>();
            p.itemCount = in.get<quint32>();
            if (p.setup >= setups.size())
                throw BadFile{};
        }
        std::vector<PreparedItem> items(in.count(29));
        for (PreparedItem &i : items) {
            i.x = in.getF();
            i.y = in.getF();
            i.w = in.getF();
            i.h = in.getF();
            i.textOffset = in.get<quint32>();
            i.textLength = in.get<quint32>();
            i.style = in.get<quint16>();
            const quint8 kind = in.get<quint8>();
            const quint8 band = in.get<quint8>();
            i.flags = in.get<quint8>();
            if (kind > quint8(CellKind::Rectangle) || band > quint8(BandKind::ReportSummary) || i.style >= styles.size()
                || std::fabs(i.x) > 1e5 || std::fabs(i.y) > 1e5 || std::fabs(i.w) > 1e5 || std::fabs(i.h) > 1e5)
                throw BadFile{};
            i.kind = CellKind(kind);
            i.band = BandKind(band);
        }
        QString text = in.text();
        in.expectEnd();
        for (const PreparedPage &p : pages)
            if (quint64(p.firstItem) + p.itemCount > items.size())
                throw BadFile{};
        for (const PreparedItem &i : items)
            if (quint64(i.textOffset) + i.textLength > quint64(text.size()))
                throw BadFile{};
        report.assign(std::move(setups), std::move(styles), std::move(pages), std::move(items), std::move(text));
    } catch (const BadFile &) {
        throw Error(QStringLiteral("Dosya geçerli bir rapor dosyası değil ya da bozuk."));
    } catch (const std::bad_alloc &) {
        throw Error(QStringLiteral("Dosya geçerli bir rapor dosyası değil ya da bozuk."));
    }
}

void saveReportFile(const PreparedReport &report, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("%1 yazılamadı: %2").arg(path, file.errorString()));
    file.write(serializeReport(report));
    if (!file.commit())
        throw Error(QStringLiteral("%1 yazılamadı: %2").arg(path, file.errorString()));
}

void loadReportFile(const QString &path, PreparedReport &report)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1 açılamadı: %2").arg(path, file.errorString()));
    if (file.size() > (qint64(1) << 31))
        throw Error(QStringLiteral("Dosya geçerli bir rapor dosyası değil ya da bozuk."));
    deserializeReport(file.readAll(), report);
}

} // namespace tk::reports
