// Reading the old program's Jet books with libmdb: real files written by the
// engine (when the shared fixtures are on this machine), the test writer's
// files read back by mdbtools' own mdb-export, and the conversion of each
// kind of old value into today's column kinds.
#include "support/JetWriter.h"
#include "transfer/JetSignature.h"
#include "transfer/JetSource.h"
#include "transfer/ValueConversion.h"
#include "core/Error.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace tk;
using namespace tk::test;

namespace {

QString fixture(const QString &name) { return QStringLiteral(TK_FIXTURES "/jet/") + name; }

// Every row of `table`, all columns.
QVector<QVariantList> allRows(JetSource &source, const QString &table)
{
    for (const SourceTable &t : source.tables()) {
        if (t.name != table)
            continue;
        QVector<int> columns;
        for (int i = 0; i < t.columns.size(); ++i)
            columns << i;
        QVector<QVariantList> rows;
        source.readRows(t, columns, [&](const QVariantList &values) { rows << values; });
        return rows;
    }
    qFatal("no table %s", qPrintable(table));
}

SourceTable tableNamed(JetSource &source, const QString &name)
{
    for (const SourceTable &t : source.tables())
        if (t.name == name)
            return t;
    qFatal("no table %s", qPrintable(name));
}

} // namespace

class TestJetReader : public QObject {
    Q_OBJECT
private slots:
    void realJet4File();
    void realJet3File();
    void writerFilesReadBackByMdbExport();
    void longMemoReadWhole();
    void signature();
    void valueConversion_data();
    void valueConversion();
};

void TestJetReader::realJet4File()
{
    const QString path = fixture(QStringLiteral("DateTestDatabase.mdb"));
    if (!QFileInfo::exists(path))
        QSKIP("the shared Jet fixtures are not on this machine");
    QCOMPARE(jetVersionOf(path), JetVersion::Jet4);
    JetSource source(path);
    QCOMPARE(source.version(), JetVersion::Jet4);
    QCOMPARE(source.tables().size(), 1);
    const SourceTable table = source.tables().first();
    QCOMPARE(table.name, QStringLiteral("DateTest"));
    QCOMPARE(table.columns, (QStringList{"IDCol", "DateTimeCol", "DateCol", "TimeCol", "LongTextCol", "ShortTextCol"}));
    QCOMPARE(table.rowCount, 6);

    const QVector<QVariantList> rows = allRows(source, QStringLiteral("DateTest"));
    QCOMPARE(rows.size(), 6);
    QCOMPARE(rows.at(0).at(0), QVariant(qlonglong(1)));
    QCOMPARE(rows.at(0).at(4), QVariant(QStringLiteral("Hello")));
    // Dates come from the stored number, beyond the years libmdb's own text covers.
    QCOMPARE(rows.at(0).at(1).toDateTime().date(), QDate(2021, 12, 2));
    QCOMPARE(rows.at(1).at(4), QVariant(QStringLiteral("Year 9999")));
    QCOMPARE(rows.at(1).at(1).toDateTime().date().year(), 9999);
    QCOMPARE(rows.at(2).at(4), QVariant(QStringLiteral("Pre-1900 years")));
    QVERIFY(rows.at(2).at(1).toDateTime().date().year() < 1900);
    QCOMPARE(rows.at(3).at(4), QVariant(QStringLiteral("Pre-1000 years")));
    QVERIFY(rows.at(3).at(1).toDateTime().date().year() < 1000);
    // A memo with a line break is read with it.
    QCOMPARE(rows.at(5).at(4).toString(), QStringLiteral("New line\r\nin field"));
}

void TestJetReader::realJet3File()
{
    const QString path = fixture(QStringLiteral("nwind.mdb"));
    if (!QFileInfo::exists(path))
        QSKIP("the shared Jet fixtures are not on this machine");
    QCOMPARE(jetVersionOf(path), JetVersion::Jet3);
    JetSource source(path);
    QStringList names;
    for (const SourceTable &t : source.tables())
        names << t.name;
    // A table name with a letter outside ASCII, decoded with the file's code page.
    QVERIFY2(names.contains(QStringLiteral("Umsätze")), qPrintable(names.join(", ")));
    QVERIFY(!names.contains(QStringLiteral("MSysObjects")));

    const SourceTable orders = tableNamed(source, QStringLiteral("Orders"));
    const QVector<QVariantList> rows = allRows(source, QStringLiteral("Orders"));
    QCOMPARE(qint64(rows.size()), orders.rowCount);
    const int id = int(orders.columns.indexOf(QStringLiteral("OrderID")));
    const int freight = int(orders.columns.indexOf(QStringLiteral("Freight")));
    const int date = int(orders.columns.indexOf(QStringLiteral("OrderDate")));
    const int shipAddress = int(orders.columns.indexOf(QStringLiteral("ShipAddress")));
    bool seen = false;
    for (const QVariantList &r : rows) {
        if (r.at(id).toLongLong() != 10330)
            continue;
        seen = true;
        QCOMPARE(r.at(freight), QVariant(12.75)); // currency, exact
        QCOMPARE(r.at(date).toDateTime(), QDateTime(QDate(1994, 11, 16), QTime(0, 0)));
        QCOMPARE(r.at(shipAddress).toString(), QStringLiteral("Carrera 52 con Ave. Bolívar #65-98 Llano Largo"));
    }
    QVERIFY(seen);

    // Memo text of Jet 3, read whole.
    const SourceTable employees = tableNamed(source, QStringLiteral("Employees"));
    const int notes = int(employees.columns.indexOf(QStringLiteral("Notes")));
    QStringList texts;
    source.readRows(employees, {notes}, [&](const QVariantList &v) { texts << v.first().toString(); });
    QCOMPARE(qint64(texts.size()), employees.rowCount);
    QVERIFY(texts.first().startsWith(QStringLiteral("Education includes a BA in psychology")));
    QVERIFY(texts.first().endsWith(QStringLiteral("of Toastmasters International.")));
    QVERIFY(std::all_of(texts.begin(), texts.end(), [](const QString &t) { return t.size() > 50 && t.endsWith(u'.'); }));
}

void TestJetReader::writerFilesReadBackByMdbExport()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("eski.mdb"));
    JetTable table{QStringLiteral("Deneme"),
                   {{QStringLiteral("SiraNo"), JetType::LongInt, true},
                    {QStringLiteral("Ad"), JetType::Text},
                    {QStringLiteral("Not"), JetType::Memo},
                    {QStringLiteral("Tutar"), JetType::Money},
                    {QStringLiteral("Oran"), JetType::Double},
                    {QStringLiteral("Tarih"), JetType::DateTime},
                    {QStringLiteral("Onay"), JetType::Bool},
                    {QStringLiteral("Yil"), JetType::Int}},
                   {}};
    table.rows << QVariantList{1, "ŞÜKRÜ ÇAĞLAR", "İlk satır", 1234.5, 0.125, QDate(2005, 3, 12), true, 2005}
               << QVariantList{5, QVariant(), QString(3000, u'ğ'), -7.25, QVariant(), QDate(1999, 12, 31), false, QVariant()};
    writeJet4File(path, {table});
    QCOMPARE(jetVersionOf(path), JetVersion::Jet4);

    QProcess tables;
    tables.start(QStringLiteral("mdb-tables"), {QStringLiteral("-1"), path});
    QVERIFY(tables.waitForFinished());
    QCOMPARE(QString::fromUtf8(tables.readAllStandardOutput()).trimmed(), QStringLiteral("Deneme"));

    QProcess exportRows;
    exportRows.start(QStringLiteral("mdb-export"), {QStringLiteral("-T"), QStringLiteral("%Y-%m-%d"), path, QStringLiteral("Deneme")});
    QVERIFY(exportRows.waitForFinished());
    QCOMPARE(exportRows.exitCode(), 0);
    const QStringList lines = QString::fromUtf8(exportRows.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("SiraNo,Ad,Not,Tutar,Oran,Tarih,Onay,Yil"));
    QCOMPARE(lines.at(1), QStringLiteral("1,\"ŞÜKRÜ ÇAĞLAR\",\"İlk satır\",1234.5000,0.125,\"2005-03-12\",1,2005"));
    QCOMPARE(lines.at(2), QStringLiteral("5,,\"%1\",-7.2500,,\"1999-12-31\",0,").arg(QString(3000, u'ğ')));
}

void TestJetReader::longMemoReadWhole()
{
    // Longer than libmdb's own 16 KiB buffer and than the reader's first one,
    // spread over a chain of long-value pages.
    QString memo;
    while (memo.size() < 100000)
        memo += QStringLiteral("Fren balataları değişti, ön düzen ayarı yapıldı; müşteri İŞÇİ ÖZGÜR. %1\r\n").arg(memo.size());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("eski.mdb"));
    JetTable table{QStringLiteral("Notlar"),
                   {{QStringLiteral("SiraNo"), JetType::LongInt, true}, {QStringLiteral("Aciklama"), JetType::Memo}},
                   {{1, memo}, {2, QStringLiteral("kısa")}, {3, memo.left(1500)}}};
    writeJet4File(path, {table});
    JetSource source(path);
    const QVector<QVariantList> rows = allRows(source, QStringLiteral("Notlar"));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).at(1).toString().size(), memo.size());
    QCOMPARE(rows.at(0).at(1).toString(), memo);
    QCOMPARE(rows.at(1).at(1).toString(), QStringLiteral("kısa"));
    QCOMPARE(rows.at(2).at(1).toString(), memo.left(1500));
}

void TestJetReader::signature()
{
    QTemporaryDir dir;
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    QByteArray jet3(64, '\0');
    jet3.replace(4, 15, "Standard Jet DB");
    write(QStringLiteral("jet3.mdb"), jet3);
    QByteArray sqlite("SQLite format 3");
    sqlite.append(QByteArray(64, '\0'));
    write(QStringLiteral("Data.dat"), sqlite);
    write(QStringLiteral("short.mdb"), QByteArray("\0\1\0\0Standard Jet", 16));
    QCOMPARE(jetVersionOf(dir.filePath(QStringLiteral("jet3.mdb"))), JetVersion::Jet3);
    QCOMPARE(jetVersionOf(dir.filePath(QStringLiteral("Data.dat"))), JetVersion::None);
    QCOMPARE(jetVersionOf(dir.filePath(QStringLiteral("short.mdb"))), JetVersion::None);
    QCOMPARE(jetVersionOf(dir.filePath(QStringLiteral("yok.mdb"))), JetVersion::None);
    QCOMPARE(jetVersionName(JetVersion::Jet4), QStringLiteral("Jet 4.0"));

    // A Jet file cut short is refused with its reason before libmdb reads it.
    try {
        JetSource source(dir.filePath(QStringLiteral("jet3.mdb")));
        QFAIL("a cut-off file was read");
    } catch (const Error &e) {
        QVERIFY2(e.text().contains(QStringLiteral("eksik ya da hasarlı")), qPrintable(e.text()));
    }
}

void TestJetReader::valueConversion_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("source");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("keptAsIs");
    const int text = int(FieldKind::Text), real = int(FieldKind::Real), date = int(FieldKind::Date),
              integer = int(FieldKind::Integer), boolean = int(FieldKind::Boolean), memo = int(FieldKind::Memo);
    const QDateTime noon(QDate(2005, 3, 12), QTime(12, 30));
    const QDateTime midnight(QDate(2005, 3, 12), QTime(0, 0));

    QTest::newRow("text stays text") << text << QVariant("1.250,50 TL") << QVariant("1.250,50 TL") << false;
    QTest::newRow("empty text is null") << text << QVariant(QString("")) << QVariant() << false;
    QTest::newRow("null stays null") << real << QVariant() << QVariant() << false;
    QTest::newRow("memo keeps line breaks") << memo << QVariant("a\r\nb") << QVariant("a\r\nb") << false;
    QTest::newRow("number into text") << text << QVariant(1500.5) << QVariant("1500,5") << false;
    QTest::newRow("whole number into text") << text << QVariant(qlonglong(120000)) << QVariant("120000") << false;
    QTest::newRow("date into text") << text << QVariant(midnight) << QVariant("12.03.2005") << false;
    QTest::newRow("date and time into text") << text << QVariant(noon) << QVariant("12.03.2005 12:30:00") << false;
    QTest::newRow("amount exact") << real << QVariant(0.1 + 0.2) << QVariant(0.1 + 0.2) << false;
    QTest::newRow("whole number into amount") << real << QVariant(qlonglong(7)) << QVariant(7.0) << false;
    QTest::newRow("typed amount Turkish") << real << QVariant("1.250,50") << QVariant(1250.5) << false;
    QTest::newRow("typed amount short") << real << QVariant("12,5") << QVariant(12.5) << false;
    QTest::newRow("typed amount with point") << real << QVariant("1250.75") << QVariant(1250.75) << false;
    QTest::newRow("amount that is not one") << real << QVariant("yüz lira") << QVariant("yüz lira") << true;
    QTest::newRow("date into ISO") << date << QVariant(midnight) << QVariant("2005-03-12") << false;
    QTest::newRow("date with a time kept") << date << QVariant(noon) << QVariant("2005-03-12 12:30:00") << true;
    QTest::newRow("typed date") << date << QVariant("12.03.2005") << QVariant("2005-03-12") << false;
    QTest::newRow("typed short date") << date << QVariant("5.3.24") << QVariant("2024-03-05") << false;
    QTest::newRow("words for a date kept") << date << QVariant("mart başı") << QVariant("mart başı") << true;
    QTest::newRow("yes") << boolean << QVariant(true) << QVariant(1) << false;
    QTest::newRow("no") << boolean << QVariant(false) << QVariant(0) << false;
    QTest::newRow("yes as -1") << boolean << QVariant(qlonglong(-1)) << QVariant(1) << false;
    QTest::newRow("yes as text") << boolean << QVariant("-1") << QVariant(1) << false;
    QTest::newRow("year") << integer << QVariant(qlonglong(2005)) << QVariant(qlonglong(2005)) << false;
    QTest::newRow("year as double") << integer << QVariant(2005.0) << QVariant(qlonglong(2005)) << false;
    QTest::newRow("year as text") << integer << QVariant("2005") << QVariant(qlonglong(2005)) << false;
    QTest::newRow("fraction is not a year") << integer << QVariant(2005.5) << QVariant(2005.5) << true;
}

void TestJetReader::valueConversion()
{
    QFETCH(int, kind);
    QFETCH(QVariant, source);
    QFETCH(QVariant, stored);
    QFETCH(bool, keptAsIs);
    const ConvertedValue v = convertForColumn(FieldKind(kind), source);
    QCOMPARE(v.keptAsIs, keptAsIs);
    QCOMPARE(v.value.isNull(), stored.isNull());
    if (!stored.isNull()) {
        if (stored.typeId() == QMetaType::Double)
            QCOMPARE(v.value.toDouble(), stored.toDouble());
        else
            QCOMPARE(v.value.toString(), stored.toString());
    }
}

QTEST_GUILESS_MAIN(TestJetReader)
#include "tst_jetreader.moc"
