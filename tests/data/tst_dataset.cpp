// The dataset against a real Data.dat: cursor flags, editing, master/detail,
// refused values and the Turkish LIKE.
#include "app/PageTable.h"
#include "support/TestSupport.h"

#include "core/Error.h"
#include "data/BoundControls.h"
#include "data/SearchBoxes.h"

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <limits>

using namespace tk;
using tk::test::TempDatabase;

class DatasetTest : public QObject {
    Q_OBJECT
private slots:
    void flagsFollowTheClassicRules();
    void editingPostsCancelsAndDeletes();
    void leavingAChangedRowPostsIt();
    void detailFollowsAndStampsItsMaster();
    void newRowsTellTheBoxesOnce();
    void detailAddNeedsASavedMaster();
    void refusedValuesStayAsTyped();
    void displayAndStorageForms();
    void turkishLikeIgnoresCase();
    void engineErrorsCarryTheEngineText();
    void infinityAndNanAreNoAmounts();
};

void DatasetTest::flagsFollowTheClassicRules()
{
    TempDatabase db;
    DataModule data(db.path(), datasetDefs());
    Dataset *stok = data.dataset(QStringLiteral("Stok"));
    QVERIFY(stok->bof() && stok->eof());
    QCOMPARE(stok->recNo(), 0);

    db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('A1')"));
    stok->refresh();
    QVERIFY(stok->bof());
    QVERIFY(!stok->eof()); // one row: "next" stays possible until tried once
    stok->next();
    QVERIFY(stok->eof());
    QCOMPARE(stok->currentRow(), 0);

    db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('A2'), ('A3')"));
    stok->refresh();
    stok->last();
    QVERIFY(stok->eof() && !stok->bof());
    QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("A3"));
    stok->prior();
    QVERIFY(!stok->eof() && !stok->bof());
    stok->first();
    QVERIFY(stok->bof());
    QCOMPARE(stok->moveBy(5), 2);
    QVERIFY(stok->eof());
    QCOMPARE(stok->moveBy(-1), -1);
    QCOMPARE(stok->moveBy(0), 0);
}

void DatasetTest::editingPostsCancelsAndDeletes()
{
    TempDatabase db;
    DataModule data(db.path(), datasetDefs());
    Dataset *stok = data.dataset(QStringLiteral("Stok"));

    stok->append();
    QCOMPARE(stok->state(), Dataset::State::Insert);
    QVERIFY(!stok->isModified());
    stok->setText(QStringLiteral("StokKodu"), QStringLiteral("FR-01"));
    stok->setText(QStringLiteral("Adet"), QStringLiteral("3"));
    stok->setText(QStringLiteral("Alis"), QStringLiteral("12,5"));
    stok->post();
    QCOMPARE(stok->state(), Dataset::State::Browse);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Alis FROM Stok WHERE StokKodu='FR-01'")).toDouble(), 12.5);
    QVERIFY(!stok->isNull(QStringLiteral("SiraNo"))); // the assigned key is read back

    stok->setText(QStringLiteral("StokKodu"), QStringLiteral("FR-02"));
    QCOMPARE(stok->state(), Dataset::State::Edit);
    stok->cancel();
    QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("FR-01"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok WHERE StokKodu='FR-02'")).toInt(), 0);

    // add twice without typing leaves one new row, never saved
    stok->append();
    stok->append();
    QCOMPARE(stok->rowCount(), 2);
    stok->cancel();
    QCOMPARE(stok->rowCount(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt(), 1);

    // delete on a new row only drops it
    stok->append();
    stok->setText(QStringLiteral("StokKodu"), QStringLiteral("NEW"));
    stok->remove();
    QCOMPARE(stok->rowCount(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt(), 1);

    stok->remove();
    QCOMPARE(stok->rowCount(), 0);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt(), 0);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, stok->remove());
}

void DatasetTest::leavingAChangedRowPostsIt()
{
    TempDatabase db;
    db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('A1'), ('A2')"));
    DataModule data(db.path(), datasetDefs());
    Dataset *stok = data.dataset(QStringLiteral("Stok"));
    stok->setText(QStringLiteral("StokAdi"), QStringLiteral("FREN BALATASI"));
    stok->next();
    QCOMPARE(db.scalar(QStringLiteral("SELECT StokAdi FROM Stok WHERE StokKodu='A1'")).toString(),
             QStringLiteral("FREN BALATASI"));
    // an unchanged edit is simply dropped
    stok->edit();
    stok->first();
    QCOMPARE(stok->state(), Dataset::State::Browse);
}

void DatasetTest::detailFollowsAndStampsItsMaster()
{
    TempDatabase db;
    db.exec(QStringLiteral("INSERT INTO Maas (Aylar) VALUES ('OCAK'), ('ŞUBAT');"
                           "INSERT INTO Maas1 (SiraNo, Personel) VALUES (1, 'ALİ'), (1, 'VELİ'), (2, 'AYŞE')"));
    {
        DataModule data(db.path(), datasetDefs());
        Dataset *maas = data.dataset(QStringLiteral("Maas"));
        Dataset *lines = data.dataset(QStringLiteral("DSMaas1"));
        QCOMPARE(lines->rowCount(), 2);
        maas->next();
        QCOMPARE(lines->rowCount(), 1);
        QCOMPARE(lines->text(QStringLiteral("Personel")), QStringLiteral("AYŞE"));
        lines->append();
        QCOMPARE(lines->value(QStringLiteral("SiraNo")).toLongLong(), 2);
        lines->setText(QStringLiteral("Personel"), QStringLiteral("ÇAĞRI"));
        // moving the master saves the detail row first, then follows
        maas->first();
        QCOMPARE(lines->rowCount(), 2);
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT SiraNo FROM Maas1 WHERE Personel='ÇAĞRI'")).toInt(), 2);
    DataModule reopened(db.path(), datasetDefs());
    Dataset *maas = reopened.dataset(QStringLiteral("Maas"));
    maas->last();
    QCOMPARE(reopened.dataset(QStringLiteral("Maas1"))->rowCount(), 2);

    // a new master row has no key yet: its detail is empty
    maas->append();
    QCOMPARE(reopened.dataset(QStringLiteral("Maas1"))->rowCount(), 0);
}

void DatasetTest::newRowsTellTheBoxesOnce()
{
    TempDatabase db;
    db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('A1'), ('A2'), ('B1')"));
    DataModule data(db.path(), datasetDefs());
    Dataset *stok = data.dataset(QStringLiteral("Stok"));
    DBEdit box(stok, QStringLiteral("StokKodu"));
    QCOMPARE(box.text(), QString()); // not read yet: shown empty
    QCOMPARE(stok->rowCount(), 3);
    QCOMPARE(box.text(), QStringLiteral("A1"));

    // A search on a browsing dataset: new rows and a current row, no state told.
    QSignalSpy states(stok, &Dataset::stateChanged);
    QSignalSpy moved(stok, &Dataset::currentChanged);
    stok->setSql(QStringLiteral("SELECT * FROM Stok WHERE StokKodu LIKE ?"), {QStringLiteral("B%")});
    QCOMPARE(box.text(), QStringLiteral("B1"));
    QCOMPARE(states.count(), 0);
    QCOMPARE(moved.count(), 1);

    // A changed row saved by the next search: the states it went through are
    // told, and the box shows the new first row.
    box.setFocus();
    box.selectAll();
    QTest::keyClicks(&box, QStringLiteral("B2"));
    QCOMPARE(stok->state(), Dataset::State::Edit);
    stok->setSql(QStringLiteral("SELECT * FROM Stok WHERE StokKodu LIKE ?"), {QStringLiteral("A%")});
    QCOMPARE(box.text(), QStringLiteral("A1"));
    QCOMPARE(states.count(), 2);
    QCOMPARE(states.last().first().value<Dataset::State>(), Dataset::State::Browse);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok WHERE StokKodu = 'B2'")).toInt(), 1);

    // Closed and read again: Inactive and back, both told.
    states.clear();
    stok->close();
    QCOMPARE(box.text(), QString());
    stok->open();
    QCOMPARE(box.text(), QStringLiteral("A1"));
    QCOMPARE(states.count(), 2);
}

void DatasetTest::detailAddNeedsASavedMaster()
{
    TempDatabase db;
    DataModule data(db.path(), datasetDefs());
    Dataset *kasa1 = data.dataset(QStringLiteral("Kasa1"));
    try {
        kasa1->append();
        QFAIL("a detail row without a master must be refused");
    } catch (const Error &e) {
        QCOMPARE(e.text(), QStringLiteral("Önce ana kaydı kaydedin."));
    }
    QCOMPARE(kasa1->rowCount(), 0);
}

void DatasetTest::refusedValuesStayAsTyped()
{
    TempDatabase db;
    DataModule data(db.path(), datasetDefs());
    Dataset *stok = data.dataset(QStringLiteral("Stok"));
    stok->append();
    stok->setText(QStringLiteral("Alis"), QStringLiteral("12a"));
    try {
        stok->post();
        QFAIL("a letter in an amount must be refused");
    } catch (const Error &e) {
        QVERIFY(e.text().contains(QStringLiteral("'12a'")));
    }
    QCOMPARE(stok->state(), Dataset::State::Insert);
    QCOMPARE(stok->text(QStringLiteral("Alis")), QStringLiteral("12a"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt(), 0);

    Dataset *kasa = data.dataset(QStringLiteral("Kasa"));
    kasa->append();
    kasa->setText(QStringLiteral("Aylar"), QStringLiteral("ŞUBAT"));
    kasa->post();
    Dataset *kasa1 = data.dataset(QStringLiteral("Kasa1"));
    kasa1->append();
    kasa1->setText(QStringLiteral("Tarih"), QStringLiteral("31.02.2024"));
    QVERIFY_THROWS_EXCEPTION(Error, kasa1->post());
    QCOMPARE(kasa1->text(QStringLiteral("Tarih")), QStringLiteral("31.02.2024"));
    kasa1->setText(QStringLiteral("Tarih"), QStringLiteral("29.02.2024"));
    kasa1->post();
    QCOMPARE(db.scalar(QStringLiteral("SELECT Tarih FROM Kasa1")).toString(), QStringLiteral("2024-02-29"));
    QCOMPARE(kasa1->text(QStringLiteral("Tarih")), QStringLiteral("29.02.2024"));
}

void DatasetTest::displayAndStorageForms()
{
    QCOMPARE(fieldDisplayText(FieldKind::Real, 1500.5), QStringLiteral("1500,5"));
    QCOMPARE(fieldDisplayText(FieldKind::Real, 0.1 + 0.2), QStringLiteral("0,3"));
    QCOMPARE(fieldDisplayText(FieldKind::Real, -1234.5), QStringLiteral("-1234,5"));
    QCOMPARE(fieldDisplayText(FieldKind::Real, 1e20), QStringLiteral("100000000000000000000"));
    QCOMPARE(fieldDisplayText(FieldKind::Real, 1e6), QStringLiteral("1000000"));
    // a zero left by sums shows unsigned; a small amount typed stays as it is
    QCOMPARE(fieldDisplayText(FieldKind::Real, 0.3 - (0.1 + 0.2)), QStringLiteral("0"));
    QCOMPARE(fieldDisplayText(FieldKind::Real, -0.0), QStringLiteral("0"));
    QCOMPARE(fieldDisplayText(FieldKind::Real, 0.00001), QStringLiteral("0,00001"));
    QCOMPARE(fieldDisplayText(FieldKind::Real, -0.5), QStringLiteral("-0,5"));
    QCOMPARE(fieldDisplayText(FieldKind::Boolean, 1), QStringLiteral("True"));
    QCOMPARE(parseFieldText(FieldKind::Real, QStringLiteral("1.500,25")).toDouble(), 1500.25);
    QCOMPARE(parseFieldText(FieldKind::Real, QStringLiteral("-0,5")).toDouble(), -0.5);
    QVERIFY(parseFieldText(FieldKind::Real, QStringLiteral("  ")).isNull());
    QVERIFY_THROWS_EXCEPTION(Error, parseFieldText(FieldKind::Integer, QStringLiteral("1,5")));
    QVERIFY_THROWS_EXCEPTION(Error, parseFieldText(FieldKind::Date, QStringLiteral("32.01.2024")));
    QCOMPARE(fieldKindFromDeclaredType(QStringLiteral("MEMO TEXT")), FieldKind::Memo);
}

void DatasetTest::turkishLikeIgnoresCase()
{
    TempDatabase db;
    db.exec(QStringLiteral("INSERT INTO Stok (StokAdi) VALUES ('ŞAFT'), ('İĞNE'), ('IŞIK'), ('DİSK\"X'), ('S_T')"));
    DataModule data(db.path(), datasetDefs());
    Dataset *stok = data.dataset(QStringLiteral("Stok"));
    const auto search = [&](const QString &text) {
        stok->setSql(QStringLiteral("SELECT * FROM Stok WHERE StokAdi LIKE ?"), {text + QLatin1Char('%')});
        return stok->rowCount();
    };
    QCOMPARE(search(QStringLiteral("ş")), 1);
    QCOMPARE(search(QStringLiteral("i")), 1);  // İĞNE, not IŞIK
    QCOMPARE(search(QStringLiteral("ı")), 1);  // IŞIK
    QCOMPARE(search(QStringLiteral("disk\"")), 1);
    QCOMPARE(search(QStringLiteral("%K")), 2); // wildcard kept: IŞIK, DİSK"X
    QCOMPARE(search(QStringLiteral("S_")), 1); // S_T; Ş is not S

    // Emptied, the search box's statement lists the rows LIKE '%' lists:
    // every name, an empty one too, but no row without a name.
    db.exec(QStringLiteral("INSERT INTO Stok (StokAdi) VALUES (NULL), ('')"));
    QCOMPARE(search(QString()), 6);
    const SearchStatement emptied = searchStatement(*stok->store(), QStringLiteral("Stok"), QStringLiteral("StokAdi"), {});
    stok->setSql(emptied.sql, emptied.params);
    QCOMPARE(stok->rowCount(), 6);
}

void DatasetTest::engineErrorsCarryTheEngineText()
{
    TempDatabase db;
    DataModule data(db.path(), datasetDefs());
    Dataset *stok = data.dataset(QStringLiteral("Stok"));
    try {
        stok->setSql(QStringLiteral("SELECT * FROM Stok WHERE NoSuchColumn LIKE 'a'"));
        QFAIL("expected an engine error");
    } catch (const DatabaseError &e) {
        QVERIFY(e.text().contains(QStringLiteral("no such column")));
    }
    QVERIFY(!stok->isOpen());
    QVERIFY_THROWS_EXCEPTION(DatabaseError, Connection(db.folder() + QStringLiteral("/missing.dat")));
}


void DatasetTest::infinityAndNanAreNoAmounts()
{
    TempDatabase db;
    DataModule data(db.path(), datasetDefs());
    Dataset *stok = data.dataset(QStringLiteral("Stok"));
    const auto refused = [&](const std::function<void()> &set) {
        stok->append();
        stok->setText(QStringLiteral("StokKodu"), QStringLiteral("X"));
        set();
        QVERIFY_THROWS_EXCEPTION(Error, stok->post());
        QVERIFY(stok->isEditing());
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt(), 0);
        stok->cancel();
    };
    for (const char *typed : {"inf", "-inf", "nan", "Infinity", "NaN"})
        refused([&] { stok->setText(QStringLiteral("Alis"), QString::fromLatin1(typed)); });
    refused([&] { stok->setValue(QStringLiteral("Alis"), std::numeric_limits<double>::infinity()); });
    refused([&] { stok->setValue(QStringLiteral("Satis"), std::numeric_limits<double>::quiet_NaN()); });
    refused([&] { stok->setValue(QStringLiteral("Adet"), QStringLiteral("nan")); });
}

QTEST_MAIN(DatasetTest)
#include "tst_dataset.moc"
