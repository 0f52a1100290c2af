#pragma once
// Test files in the old program's Jet 4 format, since the reader only reads.
// Written as far as a reader needs them: the header page, the table list
// (MSysObjects), each table's definition page, usage map and data pages, and
// long memo text on long-value pages. No indexes, relationships, free-space
// maps or properties; text is stored without Unicode compression.
#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <QVector>

namespace tk::test {

enum class JetType : quint8 {
    Bool = 0x01,
    Byte = 0x02,
    Int = 0x03,
    LongInt = 0x04,
    Money = 0x05,
    Float = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Text = 0x0a,
    Ole = 0x0b, // only null values
    Memo = 0x0c,
};

struct JetColumn {
    QString name;
    JetType type;
    bool autoNumber = false;
    int length = 50; // characters, for Text
};

struct JetTable {
    QString name;
    QVector<JetColumn> columns;
    // Values: null, bool, whole numbers, double, QDate/QDateTime, QString.
    QVector<QVariantList> rows;
};

QByteArray jet4File(const QVector<JetTable> &tables);
void writeJet4File(const QString &path, const QVector<JetTable> &tables);

// The eighteen tables as the old program's Data.dat holds them (AutoNumber
// SiraNo in the masters, currency and double amounts, date/time columns, the
// damage file's dates and amounts typed as text), without rows.
QVector<JetTable> oldBooksTables();

// The table named `name` in `tables`.
JetTable &jetTable(QVector<JetTable> &tables, const QString &name);

} // namespace tk::test
