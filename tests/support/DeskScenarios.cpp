#include "DeskScenarios.h"

#include "TestSupport.h"
#include "app/PageTable.h"
#include "data/DataModule.h"
#include "data/OtherDesks.h"
#include "data/RecordActions.h"
#include "data/SaveConflict.h"

#include <QDate>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace tk::test {

namespace {

const QString plate = QStringLiteral("AracPlaka");
const QString name = QStringLiteral("AdiSoyadi");

struct Desk {
    DataModule data;
    RecordActions actions{&data, toolBarDefs(), nullptr};
    Dataset *cars = data.dataset(QStringLiteral("MusTakip"));
    Dataset *jobs = data.dataset(QStringLiteral("MusTakip1"));
    explicit Desk(const DeskConnector &connect) : data(connect(), datasetDefs()) {}
    // The save button of the cars' tool bar, pressed.
    void pressSave()
    {
        actions.updateEnabled(); // as at the idle moment before the click
        actions.action(QStringLiteral("MusPost"))->trigger();
    }
    void moveToPlate(const QString &wanted)
    {
        for (int r = 0; r < cars->rowCount(); ++r)
            if (cars->textAt(r, cars->fieldIndex(plate)) == wanted) {
                cars->moveTo(r);
                return;
            }
        QFAIL(qPrintable(QStringLiteral("no car %1").arg(wanted)));
    }
};

void addCar(Dataset *cars, const QString &carPlate, const QString &owner, const QString &date = QStringLiteral("01.03.2024"))
{
    cars->append();
    cars->setText(plate, carPlate);
    cars->setText(name, owner);
    cars->setText(QStringLiteral("Tarih"), date);
    cars->post();
}

// `column` of every row of `table`, in key order, as the books hold them now.
QStringList stored(const DeskConnector &connect, const QString &table, const QString &column)
{
    const std::unique_ptr<Store> store = connect();
    Dataset rows(store.get(), QStringLiteral("check"), table, QStringLiteral("SELECT * FROM %1 ORDER BY SiraNo").arg(table));
    rows.open();
    QStringList out;
    for (int r = 0; r < rows.rowCount(); ++r)
        out << rows.textAt(r, rows.fieldIndex(column));
    return out;
}

// What a save threw, or empty.
QString refusal(Dataset *ds)
{
    try {
        ds->post();
    } catch (const SaveConflict &e) {
        return e.text();
    }
    return {};
}

} // namespace

void bothEditOneRow(const DeskConnector &connect)
{
    ScriptedUi ui;
    Desk a(connect), b(connect);
    addCar(a.cars, QStringLiteral("34 AB 100"), QStringLiteral("Ali Yılmaz"));
    b.cars->reload();
    QCOMPARE(b.cars->text(plate), QStringLiteral("34 AB 100"));

    a.cars->setText(plate, QStringLiteral("34 AB 111")); // desk A starts typing
    b.cars->setText(name, QStringLiteral("Veli Şahin")); // desk B saves first
    b.cars->post();

    a.pressSave();
    QCOMPARE(ui.texts(QStringLiteral("error")), QStringList{changedElsewhereText()});
    QCOMPARE(changedElsewhereText(),
             QStringLiteral("Bu kayıt siz düzenlerken başka bir yerde değiştirildi. Değişiklikleriniz kaydedilmedi."));
    QVERIFY(a.cars->isEditing());
    QCOMPARE(a.cars->conflict(), Dataset::Conflict::Changed);
    QCOMPARE(a.cars->text(plate), QStringLiteral("34 AB 111"));      // typed, kept
    QCOMPARE(a.cars->text(name), QStringLiteral("Veli Şahin"));       // the other desk's, shown
    QCOMPARE(a.cars->fieldsChangedElsewhere(), QStringList{name});
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), plate), QStringList{QStringLiteral("34 AB 100")});

    // A bare post (no user behind it to ask) stays refused.
    QCOMPARE(refusal(a.cars), changedElsewhereText());

    // Saving again asks; No writes nothing.
    ui.answers = {UiSeam::Answer::No};
    a.pressSave();
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 1);
    const QString question = ui.texts(QStringLiteral("ask")).constFirst();
    QVERIFY2(question.contains(QStringLiteral("Veli Şahin")), qPrintable(question));
    QVERIFY(a.cars->isEditing());
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), plate), QStringList{QStringLiteral("34 AB 100")});

    // A third desk changes the row before the overwrite: refused again.
    {
        Desk c(connect);
        c.cars->setText(QStringLiteral("Model"), QStringLiteral("2019"));
        c.cars->post();
    }
    ui.answers = {UiSeam::Answer::Yes};
    a.pressSave();
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 2);
    QVERIFY(a.cars->isEditing());
    QCOMPARE(a.cars->valueElsewhere(QStringLiteral("Model")).toString(), QStringLiteral("2019"));

    // Yes writes the typed value over the row; what the others saved elsewhere stays.
    ui.answers = {UiSeam::Answer::Yes};
    a.pressSave();
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 2);
    QVERIFY(!a.cars->isEditing());
    QCOMPARE(a.cars->conflict(), Dataset::Conflict::None);
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), plate), QStringList{QStringLiteral("34 AB 111")});
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), name), QStringList{QStringLiteral("Veli Şahin")});
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), QStringLiteral("Model")), QStringList{QStringLiteral("2019")});

    // An edit that starts afresh saves without a question.
    a.cars->setText(name, QStringLiteral("Ali Veli"));
    a.pressSave();
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 3);
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), name), QStringList{QStringLiteral("Ali Veli")});
}

void everyKindReadsBackUnchanged(const DeskConnector &connect)
{
    DataModule data(connect(), datasetDefs());
    QSet<QString> tables;
    // Masters come first: each detail goes under the row its master just got.
    for (Dataset *ds : data.datasets()) {
        if (tables.contains(ds->table()) || !ds->isOpen())
            continue;
        tables.insert(ds->table());
        ds->append();
        QString firstText;
        for (const FieldDef &f : ds->fields()) {
            if (f.name.compare(QLatin1String("SiraNo"), Qt::CaseInsensitive) == 0)
                continue;
            switch (f.kind) {
            case FieldKind::Text:
            case FieldKind::Memo:
                ds->setValue(f.name, QStringLiteral("Değer İı 'x' %_\\"));
                if (firstText.isEmpty())
                    firstText = f.name;
                break;
            case FieldKind::Integer: ds->setValue(f.name, 7); break;
            case FieldKind::Real: ds->setValue(f.name, 1234.1 / 3); break;
            case FieldKind::Date: ds->setValue(f.name, QDate(2024, 2, 29)); break;
            case FieldKind::Boolean: ds->setValue(f.name, true); break;
            }
        }
        ds->post();
        QVERIFY2(!firstText.isEmpty(), qPrintable(ds->table()));
        ds->setValue(firstText, QStringLiteral("yeniden"));
        QCOMPARE(refusal(ds), QString());
        QVERIFY2(!ds->isEditing(), qPrintable(ds->table()));
    }
    QCOMPARE(tables.size(), 18); // every table of the books
}

void bothInsertAtOnce(const DeskConnector &connect)
{
    Desk a(connect), b(connect);
    a.cars->append();
    a.cars->setText(plate, QStringLiteral("06 A 1"));
    b.cars->append();
    b.cars->setText(plate, QStringLiteral("06 B 2"));
    a.cars->post();
    b.cars->post();
    QVERIFY(a.cars->currentKey() != b.cars->currentKey());
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), plate), (QStringList{QStringLiteral("06 A 1"), QStringLiteral("06 B 2")}));
    // Each desk's details go under its own row.
    a.jobs->append();
    a.jobs->setText(QStringLiteral("Islem"), QStringLiteral("Fren"));
    b.jobs->append();
    b.jobs->setText(QStringLiteral("Islem"), QStringLiteral("Debriyaj"));
    b.jobs->post();
    a.jobs->post();
    QCOMPARE(stored(connect, QStringLiteral("MusTakip1"), QStringLiteral("SiraNo")),
             (QStringList{QString::number(a.cars->currentKey()), QString::number(b.cars->currentKey())}));
    a.cars->reload();
    QCOMPARE(a.cars->rowCount(), 2);
}

void deleteUnderEdit(const DeskConnector &connect)
{
    Desk a(connect), b(connect);
    addCar(a.cars, QStringLiteral("35 C 3"), QStringLiteral("Ayşe"));
    b.cars->reload();
    a.cars->setText(name, QStringLiteral("Ayşe Kaya"));
    b.cars->remove();

    QCOMPARE(refusal(a.cars), deletedElsewhereText());
    QCOMPARE(a.cars->conflict(), Dataset::Conflict::Deleted);
    QVERIFY(a.cars->isEditing());
    QCOMPARE(a.cars->text(name), QStringLiteral("Ayşe Kaya"));
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), plate), QStringList{});
    // The question of an overwrite is not asked of a row that is gone.
    ScriptedUi ui;
    a.pressSave();
    QCOMPARE(ui.texts(QStringLiteral("ask")), QStringList{});
    QCOMPARE(ui.texts(QStringLiteral("error")), QStringList{deletedElsewhereText()});
    QCOMPARE(stored(connect, QStringLiteral("MusTakip"), plate), QStringList{});
}

void detailUnderDeletedMaster(const DeskConnector &connect)
{
    Desk a(connect), b(connect);
    addCar(a.cars, QStringLiteral("16 D 4"), QStringLiteral("Can"));
    b.cars->reload();
    b.cars->remove();

    a.jobs->append();
    a.jobs->setText(QStringLiteral("Islem"), QStringLiteral("Yağ değişimi"));
    a.jobs->setText(QStringLiteral("Tutar"), QStringLiteral("450"));
    QCOMPARE(refusal(a.jobs), masterDeletedElsewhereText());
    QVERIFY(a.jobs->isEditing());
    QCOMPARE(a.jobs->text(QStringLiteral("Islem")), QStringLiteral("Yağ değişimi"));
    QCOMPARE(stored(connect, QStringLiteral("MusTakip1"), QStringLiteral("Islem")), QStringList{});
}

void refreshKeepsCurrentRow(const DeskConnector &connect)
{
    Desk a(connect), b(connect);
    OtherDesks watch(&a.data);
    QSignalSpy reloaded(&watch, &OtherDesks::reloaded);
    addCar(a.cars, QStringLiteral("01 E 1"), QStringLiteral("Bir"), QStringLiteral("01.01.2024"));
    addCar(a.cars, QStringLiteral("01 E 2"), QStringLiteral("İki"), QStringLiteral("02.01.2024"));
    addCar(a.cars, QStringLiteral("01 E 3"), QStringLiteral("Üç"), QStringLiteral("03.01.2024"));
    a.moveToPlate(QStringLiteral("01 E 2"));
    a.jobs->append();
    a.jobs->setText(QStringLiteral("Islem"), QStringLiteral("Lastik"));
    a.jobs->post();
    a.jobs->append();
    a.jobs->setText(QStringLiteral("Islem"), QStringLiteral("Balans"));
    a.jobs->post();
    a.jobs->first();
    const qint64 car = a.cars->currentKey();
    const qint64 job = a.jobs->currentKey();
    QVERIFY(!watch.check()); // this desk's own saves are no news
    reloaded.clear();

    // Another desk adds a car that sorts before it.
    b.cars->reload();
    addCar(b.cars, QStringLiteral("01 E 0"), QStringLiteral("Sıfır"), QStringLiteral("01.12.2023"));
    QTRY_VERIFY_WITH_TIMEOUT(reloaded.count() > 0, 5000);
    QCOMPARE(a.cars->rowCount(), 4);
    QCOMPARE(a.cars->currentKey(), car);
    QCOMPARE(a.cars->text(plate), QStringLiteral("01 E 2"));
    QCOMPARE(a.jobs->currentKey(), job);

    // While desk A types, another desk's save waits for A's cancel.
    a.cars->setText(name, QStringLiteral("İki Yazılan"));
    reloaded.clear();
    b.moveToPlate(QStringLiteral("01 E 3"));
    b.cars->setText(name, QStringLiteral("Üç Değişti"));
    b.cars->post();
    QTRY_COMPARE_WITH_TIMEOUT(watch.waiting(), 1, 5000); // the cars; the idle detail list reloaded
    QTest::qWait(2 * OtherDesks::kPollMs);
    QCOMPARE(watch.waiting(), 1);
    QCOMPARE(a.cars->text(name), QStringLiteral("İki Yazılan"));
    QCOMPARE(a.cars->currentKey(), car);
    a.cars->cancel();
    QTRY_COMPARE_WITH_TIMEOUT(watch.waiting(), 0, 5000);
    QCOMPARE(a.cars->currentKey(), car);
    a.moveToPlate(QStringLiteral("01 E 3"));
    QCOMPARE(a.cars->text(name), QStringLiteral("Üç Değişti"));
}

} // namespace tk::test
