// Converting the old program's Jet Data.dat into today's books: every table,
// row, key and amount read back through the program's datasets; the summary;
// missing and extra tables and columns; damaged files refused with nothing
// changed; a conversion killed half-way; the question at start-up; the
// command-line tool.
#include "support/JetWriter.h"
#include "support/TestSupport.h"
#include "core/Error.h"
#include "app/PageTable.h"
#include "data/DataModule.h"
#include "data/DeskLock.h"
#include "transfer/JetImport.h"
#include "transfer/JetSignature.h"
#include "transfer/OldBooksQuestion.h"

#include <QDateTime>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <sqlite3.h>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace tk;
using namespace tk::test;

namespace {

qlonglong masterKey(int row) { return 3 + 4 * row; } // keys with gaps, as deletes leave them

const QString &longMemo()
{
    static const QString text = [] {
        QString t;
        while (t.size() < 100000)
            t += QStringLiteral("Ön fren balataları değişti, müşteri İŞÇİ ÖZGÜR'e bilgi verildi (%1).\r\n").arg(t.size());
        return t;
    }();
    return text;
}

// The value of column `c` in row `r` of an old table: keys with gaps, detail
// rows spread over the masters, a null in every table, Turkish letters, a long
// memo, amounts that are not round in binary.
QVariant sampleValue(const JetTable &table, int c, int r)
{
    const JetColumn &column = table.columns.at(c);
    if (column.name == QLatin1String("SiraNo"))
        return masterKey(column.autoNumber ? r : r % 3);
    if (r == 2 && c == table.columns.size() - 1)
        return {};
    switch (column.type) {
    case JetType::Text:
        if (column.name.endsWith(QLatin1String("Tarihi"))) // the damage file's dates, typed as text
            return QDate(2005, 3, 1).addDays(r).toString(QStringLiteral("dd.MM.yyyy"));
        return QStringLiteral("%1 %2 ŞĞÜİÖÇ ıi").arg(column.name).arg(r);
    case JetType::Memo:
        return r == 0 ? longMemo() : QStringLiteral("Not %1\r\nİkinci satır").arg(r);
    case JetType::Money:
        return 1000.25 + r;
    case JetType::Double:
        return (r + 1) * 0.1 + 0.2;
    case JetType::DateTime:
        return QDate(2005, 1, 1).addDays(31 * r);
    case JetType::Bool:
        return r % 2 == 1;
    case JetType::Int:
        return 2004 + r;
    default:
        return r;
    }
}

QVector<JetTable> sampleBooks(int serviceOperations)
{
    QVector<JetTable> tables = oldBooksTables();
    for (JetTable &t : tables) {
        const int rows = t.name == QLatin1String("MusTakip1") ? serviceOperations : 3;
        for (int r = 0; r < rows; ++r) {
            QVariantList row;
            for (int c = 0; c < t.columns.size(); ++c)
                row << sampleValue(t, c, r);
            t.rows << row;
        }
    }
    return tables;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString exact(double d) { return QString::number(d, 'g', 17); }

// One value of the current row, compared with what the old file held.
void compareField(Dataset *ds, const JetColumn &column, const QVariant &old)
{
    const QString &name = column.name;
    const QString where = ds->name() + QLatin1Char('.') + name;
    if (old.isNull()) {
        QVERIFY2(ds->isNull(name), qPrintable(where));
        return;
    }
    switch (column.type) {
    case JetType::Text:
    case JetType::Memo:
        // Text as typed; a date column of today shows a typed date the same way.
        QCOMPARE(ds->text(name), old.toString());
        break;
    case JetType::Money:
    case JetType::Double:
        QCOMPARE(exact(ds->value(name).toDouble()), exact(old.toDouble()));
        break;
    case JetType::DateTime:
        QCOMPARE(ds->text(name), old.toDate().toString(QStringLiteral("dd.MM.yyyy")));
        break;
    case JetType::Bool:
        QCOMPARE(ds->text(name), old.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
        break;
    default:
        QCOMPARE(ds->value(name).toLongLong(), old.toLongLong());
    }
}

void compareRow(Dataset *ds, const JetTable &table, const QVariantList &old)
{
    for (int c = 0; c < table.columns.size(); ++c) {
        compareField(ds, table.columns.at(c), old.at(c));
        if (QTest::currentTestFailed())
            return;
    }
}

// Every table through its dataset: masters and single tables row by row (found
// by their kept key), detail rows under each master in the order they were.
void compareThroughDatasets(const QString &dataFile, const QVector<JetTable> &books)
{
    DataModule data(dataFile, datasetDefs());
    for (const JetTable &table : books) {
        Dataset *ds = data.dataset(table.name);
        if (Dataset *master = ds->master()) {
            qint64 seen = 0;
            for (int m = 0; m < master->rowCount(); ++m) {
                master->moveTo(m);
                const qlonglong key = master->value(QStringLiteral("SiraNo")).toLongLong();
                QVector<QVariantList> expected;
                for (const QVariantList &r : table.rows)
                    if (r.first().toLongLong() == key)
                        expected << r;
                QCOMPARE(ds->rowCount(), int(expected.size()));
                for (int i = 0; i < expected.size(); ++i) {
                    ds->moveTo(i);
                    compareRow(ds, table, expected.at(i));
                    if (QTest::currentTestFailed())
                        return;
                }
                seen += expected.size();
            }
            QCOMPARE(seen, qint64(table.rows.size()));
            continue;
        }
        QCOMPARE(ds->rowCount(), int(table.rows.size()));
        for (int i = 0; i < ds->rowCount(); ++i) {
            ds->moveTo(i);
            const qlonglong key = ds->value(QStringLiteral("SiraNo")).toLongLong();
            const auto old = std::find_if(table.rows.begin(), table.rows.end(),
                                          [&](const QVariantList &r) { return r.first().toLongLong() == key; });
            QVERIFY2(old != table.rows.end(), qPrintable(QStringLiteral("%1 %2").arg(table.name).arg(key)));
            compareRow(ds, table, *old);
            if (QTest::currentTestFailed())
                return;
        }
    }
}

qint64 countRows(const QString &dataFile, const QString &table)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(dataFile).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *st = nullptr;
    qint64 n = -1;
    if (sqlite3_prepare_v2(db, QStringLiteral("SELECT count(*) FROM %1").arg(table).toUtf8().constData(), -1, &st,
                           nullptr) == SQLITE_OK
        && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

// The pages of a test file that belong to the table whose definition holds `column`.
QVector<int> pagesOfTableWith(const QByteArray &file, const QString &column, char pageType)
{
    QByteArray name;
    for (QChar ch : column)
        name.append(char(ch.unicode() & 0xff)).append(char(ch.unicode() >> 8));
    int definition = -1;
    for (int p = 0; p * 4096 < file.size(); ++p)
        if (file.at(p * 4096) == 0x02 && file.mid(p * 4096, 4096).contains(name))
            definition = p;
    QVector<int> pages;
    for (int p = 0; p * 4096 < file.size(); ++p) {
        const quint32 owner = qFromLittleEndian<quint32>(file.constData() + p * 4096 + 4);
        if (file.at(p * 4096) == pageType && (pageType == 0x02 ? p == definition : owner == quint32(definition)))
            pages << p;
    }
    return pages;
}

const char *const summaryOfSample =
    "Aktarılan kayıtlar: MusTakip 3, MusTakip1 1.204, HasTakip 3, FatTakip 3, FatTakip1 3, Cari 3, Cari1 3, "
    "IrsaliyeUst 3, Irsaliye 3, Kasa 3, Kasa1 3, Odeme 3, Odeme1 3, SenetVer 3, SenetAl 3, Stok 3, Maas 3, Maas1 3";

class Folder {
public:
    QString data() const { return m_dir.filePath(QStringLiteral("Data.dat")); }
    QString kept() const { return m_dir.filePath(QStringLiteral("Data-eski.dat")); }
    QString work() const { return m_dir.filePath(QStringLiteral("Data.dat.aktariliyor")); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

} // namespace

class TestJetImport : public QObject {
    Q_OBJECT
private slots:
    void convertsEveryTableThroughDatasets();
    void summaryListsWhatDidNotFit();
    void damagedFileRefused_data();
    void damagedFileRefused();
    void anotherProgramsJetFileRefused();
    void otherOldCopyIsNotOverwritten();
    void booksHeldByAnotherDeskAreRefused_data();
    void booksHeldByAnotherDeskAreRefused();
    void killedConversionLeavesOldFile_data();
    void killedConversionLeavesOldFile();
    void runStoppedAfterKeepingTheOldFile();
    void questionAtStartUp();
    void commandLine();
};

void TestJetImport::convertsEveryTableThroughDatasets()
{
    Folder folder;
    const QVector<JetTable> books = sampleBooks(1204);
    writeJet4File(folder.data(), books);
    const QByteArray old = contents(folder.data());

    const TransferReport report = importJetBooks(folder.data(), folder.data());
    QCOMPARE(report.summary(), QString::fromUtf8(summaryOfSample));
    QCOMPARE(jetVersionOf(folder.data()), JetVersion::None);
    QCOMPARE(contents(folder.kept()), old);
    QVERIFY(!QFileInfo::exists(folder.work()));

    compareThroughDatasets(folder.data(), books);
    if (QTest::currentTestFailed())
        return;

    // New masters continue after the highest kept key.
    DataModule data(folder.data(), datasetDefs());
    Dataset *cari = data.dataset(QStringLiteral("Cari"));
    cari->append();
    cari->setText(QStringLiteral("Firma"), QStringLiteral("YENİ FİRMA"));
    cari->post();
    QCOMPARE(cari->value(QStringLiteral("SiraNo")).toLongLong(), masterKey(2) + 1);
}

void TestJetImport::summaryListsWhatDidNotFit()
{
    Folder folder;
    QVector<JetTable> books = sampleBooks(3);
    books.removeIf([](const JetTable &t) { return t.name == QLatin1String("Stok"); });
    JetTable &service = jetTable(books, QStringLiteral("MusTakip"));
    const int km = int(std::find_if(service.columns.begin(), service.columns.end(),
                                    [](const JetColumn &c) { return c.name == QLatin1String("Km"); })
                       - service.columns.begin());
    service.columns.remove(km);
    for (QVariantList &r : service.rows)
        r.removeAt(km);
    // Names in another letter case still match.
    jetTable(books, QStringLiteral("Cari")).columns[1].name = QStringLiteral("FIRMA");
    JetTable &accounts = jetTable(books, QStringLiteral("Cari"));
    accounts.columns << JetColumn{QStringLiteral("Notlar"), JetType::Text};
    for (QVariantList &r : accounts.rows)
        r << QStringLiteral("eski not");
    books << JetTable{QStringLiteral("Ayarlar"), {{QStringLiteral("Ad"), JetType::Text}}, {{QStringLiteral("KDV")}}};
    // Payment amounts typed as text in this old file: one is not an amount.
    JetTable &payments = jetTable(books, QStringLiteral("Odeme1"));
    payments.columns[2].type = JetType::Text;
    payments.rows[0][2] = QStringLiteral("1.250,50");
    payments.rows[1][2] = QStringLiteral("yüz lira");
    // A cash movement whose period was deleted.
    JetTable &cash = jetTable(books, QStringLiteral("Kasa1"));
    cash.rows << cash.rows.first();
    cash.rows.last()[0] = 99;
    writeJet4File(folder.data(), books);

    const TransferReport report = importJetBooks(folder.data(), folder.data());
    QCOMPARE(report.summary(),
             QStringLiteral("Aktarılan kayıtlar: MusTakip 3, MusTakip1 3, HasTakip 3, FatTakip 3, FatTakip1 3, Cari 3, "
                            "Cari1 3, IrsaliyeUst 3, Irsaliye 3, Kasa 3, Kasa1 4, Odeme 3, Odeme1 3, SenetVer 3, "
                            "SenetAl 3, Stok 0, Maas 3, Maas1 3\n"
                            "Eski dosyada olmayan tablolar (boş kaldı): Stok\n"
                            "Eski dosyada olmayan sütunlar (boş kaldı): MusTakip.Km\n"
                            "Aktarılmayan fazla tablolar: Ayarlar\n"
                            "Aktarılmayan fazla sütunlar: Cari.Notlar\n"
                            "Sütunun türüne uymadığı için olduğu gibi aktarılan değerler: Odeme1.Tutar 1\n"
                            "Ana kaydı olmayan ayrıntı kayıtları: Kasa1 1"));

    DataModule data(folder.data(), datasetDefs());
    Dataset *companies = data.dataset(QStringLiteral("Cari"));
    QStringList names;
    for (int i = 0; i < companies->rowCount(); ++i) {
        companies->moveTo(i);
        names << companies->text(QStringLiteral("Firma"));
    }
    QVERIFY2(names.contains(QStringLiteral("Firma 0 ŞĞÜİÖÇ ıi")), qPrintable(names.join(", "))); // from FIRMA
    Dataset *plans = data.dataset(QStringLiteral("Odeme1"));
    data.dataset(QStringLiteral("Odeme"))->first();
    plans->first();
    QCOMPARE(plans->value(QStringLiteral("Tutar")).toDouble(), 1250.5);
    data.dataset(QStringLiteral("Odeme"))->next();
    plans->first();
    QCOMPARE(plans->text(QStringLiteral("Tutar")), QStringLiteral("yüz lira")); // kept, not lost
}

void TestJetImport::damagedFileRefused_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reason");
    QTest::newRow("cut short") << "cut" << "eksik ya da hasarlı";
    QTest::newRow("table list") << "catalog" << "Tablo listesi";
    QTest::newRow("table definition") << "definition" << "'MusTakip1' tablosunun";
    QTest::newRow("rows lost") << "rows" << "'MusTakip1' tablosunda 1.204 kayıt olmalı";
    QTest::newRow("long text lost") << "memo" << "uzun metin okunamadı";
}

void TestJetImport::damagedFileRefused()
{
    QFETCH(QString, damage);
    QFETCH(QString, reason);
    Folder folder;
    writeJet4File(folder.data(), sampleBooks(1204));
    QByteArray file = contents(folder.data());
    if (damage == QLatin1String("cut")) {
        file.chop(1000);
    } else if (damage == QLatin1String("catalog")) {
        file[2 * 4096] = 0x01;
    } else if (damage == QLatin1String("definition")) {
        file[pagesOfTableWith(file, QStringLiteral("Islem"), 0x02).first() * 4096] = 0x01;
    } else if (damage == QLatin1String("rows")) {
        const int page = pagesOfTableWith(file, QStringLiteral("Islem"), 0x01).at(3);
        file.replace(page * 4096 + 12, 2, QByteArray(2, '\0')); // the page says it holds no rows
    } else {
        for (int p = 0; p * 4096 < file.size(); ++p)
            if (file.mid(p * 4096 + 4, 4) == "LVAL") {
                file.replace(p * 4096, 4096, QByteArray(4096, '\0'));
                break;
            }
    }
    QFile out(folder.data());
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(file);
    out.close();

    try {
        importJetBooks(folder.data(), folder.data());
        QFAIL("a damaged file was converted");
    } catch (const Error &e) {
        QVERIFY2(e.text().contains(reason), qPrintable(e.text()));
        QVERIFY2(e.text().contains(QFileInfo(folder.data()).absoluteFilePath()), qPrintable(e.text()));
    }
    QCOMPARE(contents(folder.data()), file);
    QVERIFY(!QFileInfo::exists(folder.kept()));
    QVERIFY(!QFileInfo::exists(folder.work()));
}

void TestJetImport::anotherProgramsJetFileRefused()
{
    // A real Jet 3 file, read through the whole conversion: none of our tables.
    const QString sample = QStringLiteral(TK_FIXTURES "/jet/nwind.mdb");
    if (!QFileInfo::exists(sample))
        QSKIP("the shared Jet fixtures are not on this machine");
    Folder folder;
    QVERIFY(QFile::copy(sample, folder.data()));
    QFile::setPermissions(folder.data(), QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray old = contents(folder.data());
    try {
        importJetBooks(folder.data(), folder.data());
        QFAIL("another program's file replaced Data.dat");
    } catch (const Error &e) {
        QVERIFY2(e.text().contains(QStringLiteral("tablolarından hiçbiri yok")), qPrintable(e.text()));
        QVERIFY2(e.text().contains(QStringLiteral("Umsätze")), qPrintable(e.text()));
    }
    QCOMPARE(contents(folder.data()), old);
    QVERIFY(!QFileInfo::exists(folder.kept()));
    QVERIFY(!QFileInfo::exists(folder.work()));
}

void TestJetImport::otherOldCopyIsNotOverwritten()
{
    Folder folder;
    writeJet4File(folder.data(), sampleBooks(3));
    const QByteArray old = contents(folder.data());
    QFile other(folder.kept());
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("an earlier old file");
    other.close();
    QVERIFY_THROWS_EXCEPTION(Error, importJetBooks(folder.data(), folder.data()));
    QCOMPARE(contents(folder.data()), old);
    QCOMPARE(contents(folder.kept()), QByteArray("an earlier old file"));
}

void TestJetImport::booksHeldByAnotherDeskAreRefused_data()
{
    QTest::addColumn<bool>("converting");
    QTest::addColumn<QString>("reason");
    QTest::newRow("open there") << false << QStringLiteral("Aktarım yapılamaz: veritabanı başka bir masada açık.");
    QTest::newRow("converted there") << true << QStringLiteral("başka bir masada yenileniyor");
}

// Another desk has the old books open, or is converting them right now with
// its work file beside them: this desk's conversion is refused before it
// touches either file.
void TestJetImport::booksHeldByAnotherDeskAreRefused()
{
    QFETCH(bool, converting);
    QFETCH(QString, reason);
    Folder folder;
    writeJet4File(folder.data(), sampleBooks(3));
    const QByteArray old = contents(folder.data());
    QFile theirWork(folder.work());
    QVERIFY(theirWork.open(QIODevice::WriteOnly));
    theirWork.write("the other desk's conversion so far");
    theirWork.close();

    const auto otherDesk = converting ? DeskLock::exclusive(folder.data(), QStringLiteral("Aktarım"))
                                      : std::make_unique<DeskLock>(folder.data());
    QString refusal;
    try {
        importJetBooks(folder.data(), folder.data());
    } catch (const Error &e) {
        refusal = e.text();
    }
    QVERIFY2(refusal.contains(reason), qPrintable(refusal));
    QVERIFY2(refusal.contains(QStringLiteral("Dosyalar değiştirilmedi.")), qPrintable(refusal));
    QCOMPARE(contents(folder.data()), old);
    QCOMPARE(contents(folder.work()), QByteArray("the other desk's conversion so far"));
    QVERIFY(!QFileInfo::exists(folder.kept()));
}

void TestJetImport::killedConversionLeavesOldFile_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<qint64>("rows");
    QTest::newRow("in the middle of a table") << "MusTakip1" << qint64(3000);
    QTest::newRow("every row written, nothing moved yet") << "" << qint64(0);
}

void TestJetImport::killedConversionLeavesOldFile()
{
    QFETCH(QString, table);
    QFETCH(qint64, rows);
    Folder folder;
    writeJet4File(folder.data(), sampleBooks(5000));
    const QByteArray old = contents(folder.data());

    // A process of its own converts the file and is killed at a chosen point.
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        try {
            importJetBooks(folder.data(), folder.data(), [&](const QString &now, qint64 done, qint64) {
                if (now == table && done >= rows)
                    ::kill(::getpid(), SIGKILL);
            });
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    QVERIFY(QFileInfo::exists(folder.work())); // it was half-way
    QCOMPARE(contents(folder.data()), old);
    QVERIFY(!QFileInfo::exists(folder.kept()));

    // The next run starts afresh and finishes.
    QProcess again;
    again.setWorkingDirectory(folder.path());
    again.start(QStringLiteral(TK_TRANSFER), {QStringLiteral("Data.dat"), QStringLiteral("Data.dat")});
    QVERIFY(again.waitForFinished(120000));
    QCOMPARE(again.exitCode(), 0);
    QVERIFY(QString::fromUtf8(again.readAllStandardOutput()).contains(QStringLiteral("MusTakip1 5.000,")));
    QCOMPARE(countRows(folder.data(), QStringLiteral("MusTakip1")), 5000);
    QCOMPARE(contents(folder.kept()), old);
    QVERIFY(!QFileInfo::exists(folder.work()));
}

void TestJetImport::runStoppedAfterKeepingTheOldFile()
{
    // Stopped between keeping Data-eski.dat and renaming the new file: Data.dat
    // is still the old file, Data-eski.dat the same file; the next run goes on.
    Folder folder;
    writeJet4File(folder.data(), sampleBooks(3));
    const QByteArray old = contents(folder.data());
    QVERIFY(::link(QFile::encodeName(folder.data()).constData(), QFile::encodeName(folder.kept()).constData()) == 0);
    QFile stale(folder.work());
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.write("half a database");
    stale.close();
    importJetBooks(folder.data(), folder.data());
    QCOMPARE(jetVersionOf(folder.data()), JetVersion::None);
    QCOMPARE(contents(folder.kept()), old);
    QVERIFY(!QFileInfo::exists(folder.work()));
}

void TestJetImport::questionAtStartUp()
{
    Folder folder;
    writeJet4File(folder.data(), sampleBooks(3));
    const QByteArray old = contents(folder.data());
    const QString question = QStringLiteral(
        "Bu Data.dat eski biçimde (Jet 4.0). Yeni biçime aktarılsın mı? Eski dosya Data-eski.dat olarak saklanır.");

    {
        ScriptedUi ui;
        ui.answers = {UiSeam::Answer::No};
        try {
            convertOldBooksIfAsked(nullptr, folder.data());
            QFAIL("the program went on with an unconverted file");
        } catch (const Error &e) {
            QVERIFY2(e.text().contains(QFileInfo(folder.data()).absoluteFilePath()), qPrintable(e.text()));
        }
        QCOMPARE(ui.texts(QStringLiteral("ask")), QStringList{question});
        QCOMPARE(contents(folder.data()), old);
        QVERIFY(!QFileInfo::exists(folder.kept()));
    }
    {
        ScriptedUi ui;
        ui.answers = {UiSeam::Answer::Yes};
        convertOldBooksIfAsked(nullptr, folder.data());
        QCOMPARE(ui.texts(QStringLiteral("ask")), QStringList{question});
        const QStringList informed = ui.texts(QStringLiteral("inform"));
        QCOMPARE(informed.size(), 1);
        QVERIFY2(informed.first().startsWith(QStringLiteral("Aktarılan kayıtlar: MusTakip 3, MusTakip1 3, ")),
                 qPrintable(informed.first()));
        QCOMPARE(contents(folder.kept()), old);
        // The program then opens today's Data.dat; a second start asks nothing.
        DataModule data(folder.data(), datasetDefs());
        QCOMPARE(data.dataset(QStringLiteral("MusTakip"))->rowCount(), 3);
        convertOldBooksIfAsked(nullptr, folder.data());
        QCOMPARE(ui.shown.size(), 2);
    }
}

void TestJetImport::commandLine()
{
    Folder folder;
    const QString old = folder.path() + QStringLiteral("/eski.mdb");
    writeJet4File(old, sampleBooks(1204));
    const QByteArray before = contents(old);

    QProcess run;
    run.start(QStringLiteral(TK_TRANSFER), {old, folder.data()});
    QVERIFY(run.waitForFinished(120000));
    QCOMPARE(run.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(run.readAllStandardOutput()).trimmed(), QString::fromUtf8(summaryOfSample));
    QCOMPARE(contents(old), before); // another target leaves the source alone
    QCOMPARE(countRows(folder.data(), QStringLiteral("MusTakip1")), 1204);

    QProcess again;
    again.start(QStringLiteral(TK_TRANSFER), {old, folder.data()});
    QVERIFY(again.waitForFinished());
    QCOMPARE(again.exitCode(), 1);
    QVERIFY(QString::fromUtf8(again.readAllStandardError()).contains(QStringLiteral("zaten var")));

    QProcess notJet;
    notJet.start(QStringLiteral(TK_TRANSFER), {folder.data(), folder.path() + QStringLiteral("/x.dat")});
    QVERIFY(notJet.waitForFinished());
    QCOMPARE(notJet.exitCode(), 1);
    QVERIFY(!QFileInfo::exists(folder.path() + QStringLiteral("/x.dat")));
}

QTEST_MAIN(TestJetImport)
#include "tst_jetimport.moc"
