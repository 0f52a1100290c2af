#pragma once
// A saved row kept compact: one byte buffer per row, a cell decoded only when
// something reads it. Layout: a table of `columns` uint32 end offsets
// (relative to the data area), then per cell a tag byte and its payload.
// Every store writes rows in this layout, so the datasets never see an engine.
#include <QByteArray>
#include <QVariant>

namespace tk {

class PackedRowWriter {
public:
    explicit PackedRowWriter(int columns, qsizetype payloadHint = 0);
    void addNull();
    void addInt(qint64 v);
    void addReal(double v);
    void addText(const char *utf8, qsizetype size);
    void addBlob(const char *data, qsizetype size);
    // The finished row; the writer is empty afterwards.
    QByteArray take();

private:
    void endCell();
    QByteArray m_row;
    int m_columns;
    int m_cell = 0;
};

// The value of one cell: null, qlonglong, double, QString or QByteArray.
QVariant packedCell(const QByteArray &row, int columns, int column);
// A row of `columns` null cells (the stand-in of a new row until it is saved).
QByteArray packedNullRow(int columns);

} // namespace tk
