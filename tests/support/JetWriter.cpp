#include "JetWriter.h"

#include <QDateTime>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <memory>
#include <vector>
#include <stdexcept>

namespace tk::test {

namespace {

constexpr int pageSize = 4096;
constexpr int dataPageHeader = 14; // type, flag, free space, owner, unknown, row count
constexpr int inlineMemoLimit = 64;
constexpr int longValueChunk = 4000;

int fixedSize(JetType type)
{
    switch (type) {
    case JetType::Byte: return 1;
    case JetType::Int: return 2;
    case JetType::LongInt:
    case JetType::Float: return 4;
    case JetType::Money:
    case JetType::Double:
    case JetType::DateTime: return 8;
    case JetType::Bool: return 0; // the value is the row's null bit
    default: return -1;           // variable length
    }
}

bool isFixed(JetType type) { return fixedSize(type) >= 0; }

void put16(QByteArray &b, int at, quint16 v) { qToLittleEndian(v, b.data() + at); }
void put32(QByteArray &b, int at, quint32 v) { qToLittleEndian(v, b.data() + at); }
void append16(QByteArray &b, quint16 v) { b.append(char(v & 0xff)).append(char(v >> 8)); }
void append32(QByteArray &b, quint32 v) { append16(b, quint16(v & 0xffff)); append16(b, quint16(v >> 16)); }

QByteArray ucs2(const QString &text)
{
    QByteArray out;
    for (QChar c : text)
        append16(out, c.unicode());
    return out;
}

// Jet's date: days since 30.12.1899, the fraction the time of day, counting
// back for the whole part only before that day.
double jetDate(const QVariant &v)
{
    const QDateTime t = v.typeId() == QMetaType::QDate ? QDateTime(v.toDate(), QTime(0, 0)) : v.toDateTime();
    const double days = double(QDate(1899, 12, 30).daysTo(t.date()));
    const double fraction = QTime(0, 0).secsTo(t.time()) / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

void rc4(const QByteArray &key, char *data, int size)
{
    quint8 s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = quint8(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + quint8(key.at(i % key.size()))) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < size; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        data[n] = char(quint8(data[n]) ^ s[(s[i] + s[j]) & 0xff]);
    }
}

class File {
public:
    QVector<QByteArray> pages;

    int newPage()
    {
        pages << QByteArray(pageSize, '\0');
        return int(pages.size() - 1);
    }

    // Rows of one owner (a table's definition page, or long values) go on its
    // pages from the end of the page down; returns the row's page and number.
    class RowPages {
    public:
        RowPages(File &file, quint32 owner) : m_file(file), m_owner(owner) {}
        QVector<int> used;

        quint32 add(const QByteArray &row)
        {
            if (row.size() > pageSize - dataPageHeader - 2)
                throw std::runtime_error("row too long for a page");
            if (m_page < 0 || m_rows == 255 || m_end - row.size() < dataPageHeader + 2 * (m_rows + 1))
                open();
            QByteArray &page = m_file.pages[m_page];
            m_end -= int(row.size());
            std::copy(row.begin(), row.end(), page.begin() + m_end);
            put16(page, dataPageHeader + 2 * m_rows, quint16(m_end));
            ++m_rows;
            put16(page, 12, quint16(m_rows));
            put16(page, 2, quint16(m_end - dataPageHeader - 2 * m_rows));
            return quint32(m_page) << 8 | quint32(m_rows - 1);
        }

    private:
        void open()
        {
            m_page = m_file.newPage();
            used << m_page;
            QByteArray &page = m_file.pages[m_page];
            page[0] = 0x01;
            page[1] = 0x01;
            put32(page, 4, m_owner);
            m_rows = 0;
            m_end = pageSize;
        }

        File &m_file;
        quint32 m_owner;
        int m_page = -1;
        int m_rows = 0;
        int m_end = pageSize;
    };
};

const quint32 longValueOwner = qFromLittleEndian<quint32>("LVAL");

class RowWriter {
public:
    RowWriter(const JetTable &table, File::RowPages &longValues) : m_table(table), m_longValues(longValues)
    {
        for (const JetColumn &c : table.columns) {
            m_fixedOffset << m_fixedSize;
            if (isFixed(c.type))
                m_fixedSize += fixedSize(c.type);
            else
                ++m_varColumns;
        }
    }

    int varColumns() const { return m_varColumns; }
    int fixedOffset(int column) const { return m_fixedOffset.at(column); }

    QByteArray row(const QVariantList &values)
    {
        const int n = int(m_table.columns.size());
        if (values.size() != n)
            throw std::runtime_error("row has the wrong number of values");
        QByteArray row;
        append16(row, quint16(n));
        QByteArray fixed(m_fixedSize, '\0');
        QByteArray nullMask((n + 7) / 8, '\0');
        QVector<quint16> varOffsets;
        QByteArray var;
        for (int i = 0; i < n; ++i) {
            const JetColumn &c = m_table.columns.at(i);
            const QVariant &v = values.at(i);
            const bool present = v.isValid() && !v.isNull();
            const bool bit = c.type == JetType::Bool ? present && v.toBool() : present;
            if (bit)
                nullMask[i / 8] = char(quint8(nullMask.at(i / 8)) | (1 << (i % 8)));
            if (isFixed(c.type)) {
                if (present)
                    putFixed(fixed, m_fixedOffset.at(i), c.type, v);
                continue;
            }
            varOffsets << quint16(2 + m_fixedSize + var.size());
            if (present)
                var += c.type == JetType::Memo ? memo(v.toString()) : ucs2(v.toString());
        }
        row += fixed;
        if (m_varColumns > 0) {
            row += var;
            append16(row, quint16(row.size())); // end of the variable data
            for (int i = int(varOffsets.size()) - 1; i >= 0; --i)
                append16(row, varOffsets.at(i));
            append16(row, quint16(m_varColumns));
        }
        row += nullMask;
        return row;
    }

private:
    static void putFixed(QByteArray &b, int at, JetType type, const QVariant &v)
    {
        switch (type) {
        case JetType::Byte: b[at] = char(v.toInt()); break;
        case JetType::Int: put16(b, at, quint16(qint16(v.toInt()))); break;
        case JetType::LongInt: put32(b, at, quint32(qint32(v.toLongLong()))); break;
        case JetType::Money: qToLittleEndian(qint64(std::llround(v.toDouble() * 10000)), b.data() + at); break;
        case JetType::Float: qToLittleEndian(float(v.toDouble()), b.data() + at); break;
        case JetType::Double: qToLittleEndian(v.toDouble(), b.data() + at); break;
        case JetType::DateTime: qToLittleEndian(jetDate(v), b.data() + at); break;
        default: break;
        }
    }

    // The 12-byte memo field: length with flags, the long-value row, and the
    // text itself when short. Longer text goes to long-value pages: one row
    // when it fits, else a chain whose rows start with the next row's address.
    QByteArray memo(const QString &text)
    {
        const QByteArray data = ucs2(text);
        QByteArray field;
        if (data.size() <= inlineMemoLimit) {
            append32(field, quint32(data.size()) | 0x80000000u);
            append32(field, 0);
            append32(field, 0);
            return field + data;
        }
        if (data.size() <= longValueChunk) {
            append32(field, quint32(data.size()) | 0x40000000u);
            append32(field, m_longValues.add(data));
            append32(field, 0);
            return field;
        }
        quint32 next = 0;
        const qsizetype chunks = (data.size() + longValueChunk - 1) / longValueChunk;
        for (qsizetype i = chunks - 1; i >= 0; --i) {
            QByteArray row;
            append32(row, next);
            row += data.mid(i * longValueChunk, longValueChunk);
            next = m_longValues.add(row);
        }
        append32(field, quint32(data.size()));
        append32(field, next);
        append32(field, 0);
        return field;
    }

    const JetTable &m_table;
    File::RowPages &m_longValues;
    QVector<int> m_fixedOffset;
    int m_fixedSize = 0;
    int m_varColumns = 0;
};

void writeHeader(QByteArray &page)
{
    page[1] = 0x01;
    const QByteArray signature("Standard Jet DB");
    std::copy(signature.begin(), signature.end(), page.begin() + 4);
    page[0x14] = 0x01; // Jet 4
    put16(page, 0x3c, 1254); // code page
    put32(page, 0x3e, 0);    // no page encryption
    put16(page, 0x6e, 0x041f); // Turkish
    rc4(QByteArray("\xC7\xDA\x39\x6B", 4), page.data() + 0x18, 128);
}

// The definition page: counts, the usage map's address, one 25-byte entry per
// column, then the column names.
void writeDefinition(QByteArray &page, const JetTable &table, const RowWriter &rows, bool system, quint32 usageMap)
{
    page[0] = 0x02;
    page[1] = 0x01;
    page[2] = 'V';
    page[3] = 'C';
    qint64 nextNumber = 1;
    for (int c = 0; c < table.columns.size(); ++c)
        if (table.columns.at(c).autoNumber)
            for (const QVariantList &r : table.rows)
                nextNumber = qMax(nextNumber, r.at(c).toLongLong() + 1);
    put32(page, 16, quint32(table.rows.size()));
    put32(page, 20, quint32(nextNumber));
    page[40] = system ? 0x53 : 0x4e;
    put16(page, 41, quint16(table.columns.size()));
    put16(page, 43, quint16(rows.varColumns()));
    put16(page, 45, quint16(table.columns.size()));
    put32(page, 47, 0);
    put32(page, 51, 0);
    put32(page, 55, usageMap);
    put32(page, 59, usageMap);
    int at = 63;
    int varNumber = 0;
    for (int i = 0; i < table.columns.size(); ++i, at += 25) {
        const JetColumn &c = table.columns.at(i);
        page[at] = char(c.type);
        put16(page, at + 5, quint16(i));
        put16(page, at + 7, quint16(isFixed(c.type) ? 0 : varNumber++));
        put16(page, at + 9, quint16(i));
        if (c.type == JetType::Text || c.type == JetType::Memo)
            put16(page, at + 11, 0x0409); // sort order
        page[at + 15] = char((isFixed(c.type) ? 0x01 : 0) | 0x02 | (c.autoNumber ? 0x04 : 0));
        put16(page, at + 21, quint16(rows.fixedOffset(i)));
        put16(page, at + 23, quint16(c.type == JetType::Text ? 2 * c.length : qMax(0, fixedSize(c.type))));
    }
    for (const JetColumn &c : table.columns) {
        const QByteArray name = ucs2(c.name);
        put16(page, at, quint16(name.size()));
        std::copy(name.begin(), name.end(), page.begin() + at + 2);
        at += 2 + int(name.size());
    }
    if (at > pageSize)
        throw std::runtime_error("table definition longer than a page");
    put32(page, 8, quint32(at));
}

} // namespace

QByteArray jet4File(const QVector<JetTable> &tables)
{
    File file;
    writeHeader(file.pages[file.newPage()]);
    file.newPage(); // page 1: the engine's free-space map, not needed for reading

    JetTable catalog{QStringLiteral("MSysObjects"),
                     {{QStringLiteral("Id"), JetType::LongInt},
                      {QStringLiteral("ParentId"), JetType::LongInt},
                      {QStringLiteral("Name"), JetType::Text, false, 128},
                      {QStringLiteral("Type"), JetType::Int},
                      {QStringLiteral("Flags"), JetType::LongInt},
                      {QStringLiteral("LvProp"), JetType::Ole}},
                     {}};
    QVector<JetTable> all{catalog};
    all += tables;
    QVector<int> definitionPages;
    for (int i = 0; i < all.size(); ++i)
        definitionPages << file.newPage(); // the catalog's is page 2, where readers look for it
    const quint32 tableType = 1, parentOfTables = 0x0F000000;
    all[0].rows << QVariantList{2, parentOfTables, all[0].name, tableType, qint64(0x80000002), QVariant()};
    for (int i = 1; i < all.size(); ++i)
        all[0].rows << QVariantList{definitionPages.at(i), parentOfTables, all.at(i).name, tableType, 0, QVariant()};

    File::RowPages longValues(file, longValueOwner);
    QVector<QVector<int>> dataPages;
    std::vector<std::unique_ptr<RowWriter>> writers;
    for (int i = 0; i < all.size(); ++i) {
        File::RowPages data(file, quint32(definitionPages.at(i)));
        writers.push_back(std::make_unique<RowWriter>(all.at(i), longValues));
        for (const QVariantList &r : all.at(i).rows)
            data.add(writers.back()->row(r));
        dataPages << data.used;
    }

    // Usage maps, kind 0: a start page and one bit per page from there.
    File::RowPages maps(file, 0);
    for (int i = 0; i < all.size(); ++i) {
        int last = 0;
        for (int p : dataPages.at(i))
            last = qMax(last, p);
        QByteArray map(5 + last / 8 + 1, '\0');
        for (int p : dataPages.at(i))
            map[5 + p / 8] = char(quint8(map.at(5 + p / 8)) | (1 << (p % 8)));
        writeDefinition(file.pages[definitionPages.at(i)], all.at(i), *writers.at(size_t(i)), i == 0, maps.add(map));
    }

    QByteArray out;
    for (const QByteArray &p : file.pages)
        out += p;
    return out;
}

void writeJet4File(const QString &path, const QVector<JetTable> &tables)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(jet4File(tables)) < 0)
        throw std::runtime_error("cannot write the Jet test file");
}

QVector<JetTable> oldBooksTables()
{
    // A autonumber, L long integer, I integer, T text, M memo, C currency,
    // F double, D date/time, B yes/no.
    static const char *const definitions[] = {
        "MusTakip SiraNo:A MusteriKodu:T AdiSoyadi:T AracPlaka:T AracCinsi:T Model:T Km:T Tarih:D "
        "TelefonCep:T TelefonEv:T TelefonIs:T Sikayet:M Aciklama:M",
        "MusTakip1 SiraNo:L Islem:T Tutar:C",
        "HasTakip SiraNo:A DosyaNo:T Plaka:T AracTipi:T AracModeli:T AracSahibi:T AracSahibiTC:T KazaTarihi:T "
        "SigortaFirma:T PoliceNo:T KazaNedeni:T KarsiAracPlaka:T KarsiAracTipi:T Kusur:T Exper:T ExperTel:T "
        "Vekalet:T OdemeTarihi:T Odeme:T FatNo:T TahminiHasar:T Aciklama:M",
        "FatTakip SiraNo:A Yil:I Aylar:T",
        "FatTakip1 SiraNo:L FaturaNo:T FaturaTarihi:D IrsaliyeNo:T IrsaliyeTarihi:D Firma:T Tutar:C Iskonto:C "
        "Kdv_Onay:B Kdv:C Toplam:C",
        "Cari SiraNo:A Firma:T",
        "Cari1 SiraNo:L FatNo:T FatTarihi:D Tipi:T Tutar:F Iskonto:F KdvOnay:B Kdv:F Toplam:F Odenen:F Kalan:F",
        "IrsaliyeUst SiraNo:A Yil:I Aylar:T",
        "Irsaliye SiraNo:L FaturaNo:T FatTarihi:D FirmaAdi:T MalzemeKodu:T MalzemeAdi:T IrsNo:T MalAdet:F "
        "MalFiyat:C Tutar:C",
        "Kasa SiraNo:A Aylar:T",
        "Kasa1 SiraNo:L Tarih:D KKTahsis:C KKTediye:C Tahsilat:C Tediye:C Cari:T Aciklama:T",
        "Odeme SiraNo:A Aylar:T",
        "Odeme1 SiraNo:L Tarih:D Tutar:F Aciklama:T",
        "SenetVer SiraNo:A SenetNo:T VadeTarihi:D Banka:T V_Firma:T Tutar:C",
        "SenetAl SiraNo:A SenetNo:T VadeTarihi:D Banka:T A_Firma:T Tutar:C",
        "Stok SiraNo:A StokKodu:T StokAdi:T Adet:F Raf:T Alis:C Satis:C",
        "Maas SiraNo:A Aylar:T",
        "Maas1 SiraNo:L Personel:T Maas:F Yol:F Mesai:F Toplam:F Avans:F Kesinti:F K_Toplam:F O_Tutar:F "
        "O_Tutari:F Kalan:F",
    };
    QVector<JetTable> tables;
    for (const char *definition : definitions) {
        const QStringList words = QString::fromLatin1(definition).split(QLatin1Char(' '));
        JetTable table{words.first(), {}, {}};
        for (const QString &word : words.mid(1)) {
            const QString name = word.section(QLatin1Char(':'), 0, 0);
            switch (word.section(QLatin1Char(':'), 1).at(0).toLatin1()) {
            case 'A': table.columns << JetColumn{name, JetType::LongInt, true}; break;
            case 'L': table.columns << JetColumn{name, JetType::LongInt}; break;
            case 'I': table.columns << JetColumn{name, JetType::Int}; break;
            case 'T': table.columns << JetColumn{name, JetType::Text}; break;
            case 'M': table.columns << JetColumn{name, JetType::Memo}; break;
            case 'C': table.columns << JetColumn{name, JetType::Money}; break;
            case 'F': table.columns << JetColumn{name, JetType::Double}; break;
            case 'D': table.columns << JetColumn{name, JetType::DateTime}; break;
            case 'B': table.columns << JetColumn{name, JetType::Bool}; break;
            }
        }
        tables << table;
    }
    return tables;
}

JetTable &jetTable(QVector<JetTable> &tables, const QString &name)
{
    for (JetTable &t : tables)
        if (t.name == name)
            return t;
    throw std::runtime_error("no such Jet table");
}

} // namespace tk::test
