#include "Cp1254.h"

#include <array>

namespace tk::cp1254 {

namespace {

// 0x80..0x9F; the unassigned positions keep their own code (C1 control).
constexpr std::array<char16_t, 32> kHigh80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x008E, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178,
};

char16_t toUnicode(unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    if (byte < 0xA0)
        return kHigh80[byte - 0x80];
    // 0xA0..0xFF is Latin-1 except the six Turkish letters.
    switch (byte) {
    case 0xD0: return 0x011E; // Ğ
    case 0xDD: return 0x0130; // İ
    case 0xDE: return 0x015E; // Ş
    case 0xF0: return 0x011F; // ğ
    case 0xFD: return 0x0131; // ı
    case 0xFE: return 0x015F; // ş
    default: return byte;
    }
}

// Reverse table built once from the forward one, so the two cannot disagree.
struct ReverseTable {
    std::array<unsigned char, 0x10000> bytes{}; // 0 = not representable (NUL handled apart)
    ReverseTable()
    {
        for (int b = 1; b < 256; ++b)
            bytes[toUnicode(static_cast<unsigned char>(b))] = static_cast<unsigned char>(b);
    }
};

const ReverseTable &reverse()
{
    static const ReverseTable table;
    return table;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(toUnicode(static_cast<unsigned char>(bytes[i])));
    return text;
}

QByteArray encode(QStringView text)
{
    const auto &table = reverse();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == 0) {
            bytes.append('\0');
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
            ++i; // one character beyond the BMP: one substitute
        const unsigned char b = table.bytes[c];
        bytes.append(b ? static_cast<char>(b) : '?');
    }
    return bytes;
}

bool canEncode(QStringView text)
{
    const auto &table = reverse();
    for (QChar c : text)
        if (c.unicode() != 0 && table.bytes[c.unicode()] == 0)
            return false;
    return true;
}

} // namespace tk::cp1254
