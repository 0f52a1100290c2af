#include "PackedRow.h"

#include <cstring>

namespace tk {

namespace {

enum Tag : char { TagNull = 0, TagInt = 1, TagReal = 2, TagText = 3, TagBlob = 4 };

quint32 endOffset(const char *row, int column)
{
    quint32 v;
    std::memcpy(&v, row + sizeof(quint32) * column, sizeof v);
    return v;
}

} // namespace

PackedRowWriter::PackedRowWriter(int columns, qsizetype payloadHint) : m_columns(columns)
{
    m_row.reserve(qsizetype(sizeof(quint32)) * columns + (payloadHint > 0 ? payloadHint : columns * 9));
    m_row.resize(qsizetype(sizeof(quint32)) * columns);
}

void PackedRowWriter::endCell()
{
    const quint32 end = quint32(m_row.size() - qsizetype(sizeof(quint32)) * m_columns);
    std::memcpy(m_row.data() + sizeof(quint32) * m_cell, &end, sizeof end);
    ++m_cell;
}

void PackedRowWriter::addNull()
{
    m_row.append(char(TagNull));
    endCell();
}

void PackedRowWriter::addInt(qint64 v)
{
    m_row.append(char(TagInt));
    m_row.append(reinterpret_cast<const char *>(&v), sizeof v);
    endCell();
}

void PackedRowWriter::addReal(double v)
{
    m_row.append(char(TagReal));
    m_row.append(reinterpret_cast<const char *>(&v), sizeof v);
    endCell();
}

void PackedRowWriter::addText(const char *utf8, qsizetype size)
{
    m_row.append(char(TagText));
    if (size)
        m_row.append(utf8, size);
    endCell();
}

void PackedRowWriter::addBlob(const char *data, qsizetype size)
{
    m_row.append(char(TagBlob));
    if (size)
        m_row.append(data, size);
    endCell();
}

QByteArray PackedRowWriter::take()
{
    while (m_cell < m_columns)
        addNull();
    QByteArray row = std::move(m_row);
    row.squeeze();
    // ready for the next row of the same shape
    m_row = QByteArray();
    m_row.reserve(row.size());
    m_row.resize(qsizetype(sizeof(quint32)) * m_columns);
    m_cell = 0;
    return row;
}

QVariant packedCell(const QByteArray &row, int columns, int column)
{
    const char *data = row.constData();
    const qsizetype base = qsizetype(sizeof(quint32)) * columns;
    const quint32 start = column == 0 ? 0 : endOffset(data, column - 1);
    const quint32 end = endOffset(data, column);
    const char *p = data + base + start;
    const qsizetype len = qsizetype(end - start) - 1;
    switch (p[0]) {
    case TagInt: {
        qint64 v;
        std::memcpy(&v, p + 1, sizeof v);
        return QVariant(qlonglong(v));
    }
    case TagReal: {
        double v;
        std::memcpy(&v, p + 1, sizeof v);
        return QVariant(v);
    }
    case TagText:
        return QVariant(QString::fromUtf8(p + 1, len));
    case TagBlob:
        return QVariant(QByteArray(p + 1, len));
    default:
        return {};
    }
}

QByteArray packedNullRow(int columns)
{
    PackedRowWriter w(columns, columns);
    return w.take();
}

} // namespace tk
