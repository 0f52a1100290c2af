// MÜŞTERİ TAKİP: the running total on its own, and the page on a real
// Data.dat: jobs and operations reaching the file, the total after each
// saved operation, its errors, its survival across a restart, searches and
// delete questions.
#include "pages/RunningTotal.h"
#include "support/PagesFormKit.h"

#include "core/Error.h"

#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <limits>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kPage = 0;
const QString kNullError = QStringLiteral("Could not convert variant of type (Null) into type (Integer)");

int runningTotal(std::initializer_list<double> amounts)
{
    int total = 0;
    for (double a : amounts)
        total = addToRunningTotal(total, a);
    return total;
}

QString errorOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

void newJob(PageForm &f, const QString &code, const QString &plate, const QString &make = QStringLiteral("FORD"))
{
    f.click("ToolButton1");
    f.type("DBEdit1", code);
    f.type("DBEdit12", QStringLiteral("ali veli"));
    f.type("DBEdit2", plate);
    f.type("DBEdit3", make);
    f.type("DBEdit4", QStringLiteral("2015"));
    f.type("DBEdit5", QStringLiteral("120000"));
    f.type("DBEdit6", QStringLiteral("15.03.2024"));
    f.type("DBEdit7", QStringLiteral("05321234567"));
    f.trigger("MusPost");
}

void newOperation(PageForm &f, const QString &operation, const QString &amount)
{
    f.click("ToolButton10");
    f.type("DBEdit10", operation);
    if (!amount.isEmpty())
        f.type("DBEdit11", amount);
    f.trigger("MusPost1");
}

QString total(const PageForm &f) { return f.box("Edit2")->text(); }

} // namespace

class MusTakipTest : public QObject {
    Q_OBJECT
private slots:
    void runningTotalRoundsEachSumHalvesToEven();
    void runningTotalErrors();
    void jobAndOperationsReachTheFile();
    void totalAfterEachSave_data();
    void totalAfterEachSave();
    void anEmptyAmountStopsTheTotal();
    void totalAndOperationsSurviveARestart();
    void searchesByEachSelectorEntry();
    void clearingASearchOverASortedListSavesATypedOperation();
    void deleteQuestions();
    void tabWalksBothPanelsInTheirOrder();
    void screenshot();
};

void MusTakipTest::runningTotalRoundsEachSumHalvesToEven()
{
    QCOMPARE(runningTotal({10.5}), 10);
    QCOMPARE(runningTotal({10.5, 10.5}), 20);
    QCOMPARE(runningTotal({0.5, 0.5}), 0);
    QCOMPARE(runningTotal({1.5, 1.5}), 4);
    QCOMPARE(runningTotal({100.0, 250.4}), 350);
    QCOMPARE(runningTotal({2.5000001}), 3);
    QCOMPARE(runningTotal({-1.5}), -2);
    QCOMPARE(runningTotal({-0.5, 10.4, 0.4}), 10);
    QCOMPARE(runningTotal({}), 0);
}

void MusTakipTest::runningTotalErrors()
{
    QCOMPARE(errorOf([] { addToRunningTotal(5, QVariant()); }), kNullError);
    QCOMPARE(errorOf([] { addToRunningTotal(std::numeric_limits<int>::max(), 1.0); }), QStringLiteral("Range check error"));
    QCOMPARE(errorOf([] { addToRunningTotal(std::numeric_limits<int>::min(), -1.0); }), QStringLiteral("Range check error"));
    QCOMPARE(addToRunningTotal(std::numeric_limits<int>::max() - 1, 1.4), std::numeric_limits<int>::max());
    QVERIFY(!errorOf([] { addToRunningTotal(0, QStringLiteral("abc")); }).isEmpty());
}

void MusTakipTest::jobAndOperationsReachTheFile()
{
    PageForm f(kPage);
    newJob(f, QStringLiteral("m001"), QStringLiteral("34 abc 12"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM MusTakip")).toInt(), 1);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT MusteriKodu || '|' || AdiSoyadi || '|' || AracPlaka || '|' || Tarih FROM MusTakip")).toString(),
             QStringLiteral("M001|ALİ VELİ|34 ABC 12|2024-03-15"));

    // The operation box capitalises words, not the whole text.
    newOperation(f, QStringLiteral("yağ değişimi. filtre quiz"), QStringLiteral("150,75"));
    const qint64 job = f.db.scalar(QStringLiteral("SELECT SiraNo FROM MusTakip")).toLongLong();
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT SiraNo FROM MusTakip1")).toLongLong(), job);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Islem FROM MusTakip1")).toString(), QStringLiteral("Yağ Değişimi. Filtre Quiz"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Tutar FROM MusTakip1")).toDouble(), 150.75);
    QCOMPARE(total(f), QStringLiteral("151,00"));
    QVERIFY(f.errors().isEmpty());
}

void MusTakipTest::totalAfterEachSave_data()
{
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QStringList>("totals");
    QTest::newRow("10,50 + 10,50") << QStringList{"10,50", "10,50"} << QStringList{"10,00", "20,00"};
    QTest::newRow("0,50 + 0,50") << QStringList{"0,50", "0,50"} << QStringList{"0,00", "0,00"};
    QTest::newRow("1,50 + 1,50") << QStringList{"1,50", "1,50"} << QStringList{"2,00", "4,00"};
    QTest::newRow("100,00 + 250,40") << QStringList{"100,00", "250,40"} << QStringList{"100,00", "350,00"};
    QTest::newRow("thousands") << QStringList{"1234", "1000000"} << QStringList{"1.234,00", "1.001.234,00"};
}

void MusTakipTest::totalAfterEachSave()
{
    QFETCH(QStringList, amounts);
    QFETCH(QStringList, totals);
    PageForm f(kPage);
    newJob(f, QStringLiteral("M1"), QStringLiteral("06 XY 1"));
    for (int i = 0; i < amounts.size(); ++i) {
        newOperation(f, QStringLiteral("işlem %1").arg(i + 1), amounts[i]);
        QCOMPARE(total(f), totals[i]);
        QCOMPARE(f.dataset("MusTakip1")->currentRow(), 0); // back on the first operation
    }
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM MusTakip1")).toInt(), amounts.size());
    QVERIFY(f.errors().isEmpty());

    // Another job without operations: moving there leaves the total alone.
    newJob(f, QStringLiteral("M2"), QStringLiteral("06 XY 2"));
    QCOMPARE(total(f), totals.last());
    newOperation(f, QStringLiteral("balans"), QStringLiteral("7"));
    QCOMPARE(total(f), QStringLiteral("7,00"));
}

void MusTakipTest::anEmptyAmountStopsTheTotal()
{
    PageForm f(kPage);
    newJob(f, QStringLiteral("M1"), QStringLiteral("34 E 1"));
    newOperation(f, QStringLiteral("yıkama"), QStringLiteral("40"));
    QCOMPARE(total(f), QStringLiteral("40,00"));
    newOperation(f, QStringLiteral("kontrol"), QString());
    // The row is saved, the error shown, the box unchanged, the list on the failing row.
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM MusTakip1 WHERE Tutar IS NULL")).toInt(), 1);
    QCOMPARE(f.errors(), QStringList{kNullError});
    QCOMPARE(total(f), QStringLiteral("40,00"));
    QCOMPARE(f.dataset("MusTakip1")->currentRow(), 1);
    QCOMPARE(f.box("DBEdit10")->text(), QStringLiteral("Kontrol"));
}

void MusTakipTest::totalAndOperationsSurviveARestart()
{
    PageForm f(kPage);
    newJob(f, QStringLiteral("M1"), QStringLiteral("35 K 9"));
    newOperation(f, QStringLiteral("fren"), QStringLiteral("100,00"));
    newOperation(f, QStringLiteral("lastik"), QStringLiteral("250,40"));
    QCOMPARE(total(f), QStringLiteral("350,00"));
    f.closeWithYes();

    QFile ini(f.db.folder() + QStringLiteral("/S-Veri.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    QVERIFY(text.contains("[MusTakipToplam]"));
    QVERIFY(text.contains("--=350,00"));

    f.open();
    QCOMPARE(total(f), QStringLiteral("350,00"));
    QCOMPARE(f.box("DBEdit2")->text(), QStringLiteral("35 K 9"));
    Dataset *ops = f.dataset("MusTakip1");
    QCOMPARE(ops->rowCount(), 2);
    QCOMPARE(f.box("DBEdit10")->text(), QStringLiteral("Fren"));
    QCOMPARE(f.box("DBEdit11")->text(), QStringLiteral("100"));
    ops->next();
    QCOMPARE(f.box("DBEdit10")->text(), QStringLiteral("Lastik"));
    QCOMPARE(f.box("DBEdit11")->text(), QStringLiteral("250,4"));
}

void MusTakipTest::clearingASearchOverASortedListSavesATypedOperation()
{
    PageForm f(kPage);
    newJob(f, QStringLiteral("A10"), QStringLiteral("34 AB 1"));
    newJob(f, QStringLiteral("B20"), QStringLiteral("06 CD 2"));
    // The plates' title clicked: the list has an order of its own, which an emptied search drops.
    QHeaderView *header = f.child<QTableView>("SrDBGrid1")->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(header->sectionViewportPosition(0) + header->sectionSize(0) / 2, header->height() / 2));
    QVERIFY(!f.dataset("MusTakip")->sortOrder().isEmpty());
    f.type("Edit1", QStringLiteral("34"));
    QCOMPARE(f.box("DBEdit2")->text(), QStringLiteral("34 AB 1"));

    // An operation typed and not saved yet, then the search cleared: saved, as leaving the job would.
    f.click("ToolButton10");
    f.type("DBEdit10", QStringLiteral("balata"));
    f.type("DBEdit11", QStringLiteral("40"));
    f.click("SpeedButton1");
    QVERIFY(f.errors().isEmpty());
    QVERIFY(f.dataset("MusTakip")->sortOrder().isEmpty());
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT m.AracPlaka || '|' || o.Islem || '|' || o.Tutar FROM MusTakip1 o "
                                        "JOIN MusTakip m ON m.SiraNo = o.SiraNo")).toString(),
             QStringLiteral("34 AB 1|Balata|40.0"));
    QCOMPARE(total(f), QStringLiteral("40,00"));
}

void MusTakipTest::searchesByEachSelectorEntry()
{
    PageForm f(kPage);
    newJob(f, QStringLiteral("A10"), QStringLiteral("34 AB 1"), QStringLiteral("FORD"));
    newJob(f, QStringLiteral("B20"), QStringLiteral("06 CD 2"), QStringLiteral("FİAT"));
    newJob(f, QStringLiteral("A30"), QStringLiteral("34 EF 3"), QStringLiteral("FİAT"));
    auto *selector = f.child<QComboBox>("ComboBox2");
    Dataset *jobs = f.dataset("MusTakip");
    const auto plates = [jobs] {
        QStringList out;
        for (int i = 0; i < jobs->rowCount(); ++i)
            out << jobs->textAt(i, jobs->fieldIndex(QStringLiteral("AracPlaka")));
        out.sort();
        return out;
    };

    f.type("Edit1", QStringLiteral("34"));
    QCOMPARE(plates(), (QStringList{"34 AB 1", "34 EF 3"}));

    // Choosing another entry does not search; the next keystroke does.
    selector->setCurrentIndex(1);
    QCOMPARE(plates(), (QStringList{"34 AB 1", "34 EF 3"}));
    f.type("Edit1", QStringLiteral("fi"));
    QCOMPARE(plates(), (QStringList{"06 CD 2", "34 EF 3"}));

    selector->setCurrentIndex(2);
    f.type("Edit1", QStringLiteral("a"));
    QCOMPARE(plates(), (QStringList{"34 AB 1", "34 EF 3"}));
    QCOMPARE(f.box("DBEdit1")->text().left(1), QStringLiteral("A"));

    // Nothing found: the message, the box emptied, every job with a code listed.
    f.type("Edit1", QStringLiteral("Z"));
    QCOMPARE(f.ui.texts(QStringLiteral("inform")), QStringList{QStringLiteral("Aradığınız kriterlere uygun birim kaydı bulunamadı.")});
    QCOMPARE(f.box("Edit1")->text(), QString());
    QCOMPARE(jobs->rowCount(), 3);
}

void MusTakipTest::deleteQuestions()
{
    PageForm f(kPage);
    newJob(f, QStringLiteral("M1"), QStringLiteral("34 O'K 12"));
    newOperation(f, QStringLiteral("yağ"), QStringLiteral("10"));

    f.ui.answers.push_back(UiSeam::Answer::No);
    f.click("ToolButton11");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), QStringLiteral("'Yağ' işlemi silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM MusTakip1")).toInt(), 1);

    f.ui.answers.push_back(UiSeam::Answer::Yes);
    f.click("ToolButton2");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(),
             QStringLiteral("'34 O''K 12' plaka/isim içeren tüm bilgiler silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM MusTakip")).toInt(), 0);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM MusTakip1")).toInt(), 0);
    QVERIFY(f.errors().isEmpty());
}

// The boxes Tab reaches from `first`, pressing the key on whatever has the focus.
QStringList tabWalk(PageForm &f, const char *first, int steps)
{
    QWidget *w = f.child(first);
    w->setFocus();
    QStringList order{w->objectName()};
    for (int i = 1; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    return order;
}

void MusTakipTest::tabWalksBothPanelsInTheirOrder()
{
    PageForm f(kPage);
    newJob(f, QStringLiteral("M1"), QStringLiteral("34 TAB 01"));
    QCOMPARE(tabWalk(f, "DBEdit1", 11),
             (QStringList{"DBEdit1", "DBEdit12", "DBEdit2", "DBEdit3", "DBEdit4", "DBEdit5", "DBEdit6", "DBEdit7",
                          "DBEdit8", "DBEdit9", "DBMemo1"}));
    QCOMPARE(tabWalk(f, "DBEdit10", 2), (QStringList{"DBEdit10", "DBEdit11"}));

    // Typed as a user would: the operation, Tab, the amount, then save.
    f.click("ToolButton10");
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("DBEdit10"));
    PageForm::typeInto(QApplication::focusWidget(), QStringLiteral("balata"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    PageForm::typeInto(QApplication::focusWidget(), QStringLiteral("250"));
    f.trigger("MusPost1");
    QVERIFY(f.errors().isEmpty());
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Islem || '|' || Tutar FROM MusTakip1")).toString(),
             QStringLiteral("Balata|250.0"));
}

void MusTakipTest::screenshot()
{
    PageForm f(kPage, TempDatabase::Demo);
    f.dataset("MusTakip")->first();
    f.screenshot(QStringLiteral("mustakip"));
}

QTEST_MAIN(MusTakipTest)
#include "tst_mustakip.moc"
