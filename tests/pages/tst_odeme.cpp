// ÖDEME PLANI: the grand total on its own, and the page on a real Data.dat:
// the total after each save, its errors, and its survival across a restart.
#include "pages/odeme/PlanTotal.h"
#include "support/PagesLedgerKit.h"

#include <QFile>
#include <QTableView>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kOdemePage = 6;
const QString kNullError = QStringLiteral("Could not convert variant of type (Null) into type (Integer)");

void newPeriod(LedgerFixture &f, const QString &name)
{
    f.click("ToolButton100");
    f.type("DBEdit79", name);
    f.trigger("OdemePost");
}

void enterPayment(LedgerFixture &f, const QString &amount, const QString &note = QStringLiteral("TAKSİT"))
{
    f.click("ToolButton109");
    f.type("DBEdit80", QStringLiteral("15.03.2024"));
    if (!amount.isEmpty())
        f.type("DBEdit81", amount);
    f.type("DBEdit84", note);
    f.trigger("OdemePost1");
}

QString total(const LedgerFixture &f) { return f.box("Edit15")->text(); }

} // namespace

class OdemeTest : public QObject {
    Q_OBJECT
private slots:
    void runningSumRoundsHalvesToEven();
    void totalErrors();
    void totalAfterEachSave();
    void totalSurvivesARestart();
    void anEmptyAmountStopsTheTotal();
    void deletingLeavesTheTotalAndQuotesEmptyValues();
    void screenshot();
};

void OdemeTest::runningSumRoundsHalvesToEven()
{
    QCOMPARE(PlanTotal::roundHalfEven(0.5), 0);
    QCOMPARE(PlanTotal::roundHalfEven(1.5), 2);
    QCOMPARE(PlanTotal::roundHalfEven(2.5), 2);
    QCOMPARE(PlanTotal::roundHalfEven(2.5000001), 3);
    QCOMPARE(PlanTotal::roundHalfEven(-0.5), 0);
    QCOMPARE(PlanTotal::roundHalfEven(-1.5), -2);
    QCOMPARE(PlanTotal::roundHalfEven(-2.7), -3);

    PlanTotal plan;
    plan.add(100.25);
    QCOMPARE(plan.value(), 100);
    plan.add(0.75);
    QCOMPARE(plan.value(), 101);

    PlanTotal halves; // each partial sum is rounded, not the exact sum
    halves.add(10.5);
    QCOMPARE(halves.value(), 10);
    halves.add(10.5);
    QCOMPARE(halves.value(), 20);
    halves.add(QVariant(qlonglong(7)));
    QCOMPARE(halves.value(), 27);
}

void OdemeTest::totalErrors()
{
    PlanTotal plan;
    plan.add(5.0);
    try {
        plan.add(QVariant());
        QFAIL("an empty amount must stop the total");
    } catch (const Error &e) {
        QCOMPARE(e.text(), kNullError);
    }
    QCOMPARE(plan.value(), 5);

    plan.add(2147483640.0);
    QCOMPARE(plan.value(), 2147483645);
    QVERIFY_THROWS_EXCEPTION(Error, plan.add(3.0));
    QCOMPARE(plan.value(), 2147483645);
    QVERIFY_THROWS_EXCEPTION(Error, PlanTotal::roundHalfEven(-2147483649.0));
    QCOMPARE(PlanTotal::roundHalfEven(-2147483648.0), qint32(-2147483647 - 1));
    QVERIFY_THROWS_EXCEPTION(Error, plan.add(QStringLiteral("on iki")));
}

void OdemeTest::totalAfterEachSave()
{
    LedgerFixture f(kOdemePage);
    newPeriod(f, QStringLiteral("2024 / MART"));
    enterPayment(f, QStringLiteral("100,25"), QStringLiteral("BİRİNCİ"));
    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(total(f), QStringLiteral("100,00"));
    enterPayment(f, QStringLiteral("0,75"), QStringLiteral("İKİNCİ"));
    QCOMPARE(total(f), QStringLiteral("101,00"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT sum(Tutar) FROM Odeme1")).toDouble(), 101.0);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Tarih FROM Odeme1 LIMIT 1")).toString(), QStringLiteral("2024-03-15"));
    // the list stands on the first entry after a save, not on the one saved
    QCOMPARE(f.dataset("Odeme1")->currentRow(), 0);
    QCOMPARE(f.dataset("Odeme1")->text(QStringLiteral("Aciklama")), QStringLiteral("BİRİNCİ"));

    newPeriod(f, QStringLiteral("2024 / NİSAN"));
    QCOMPARE(total(f), QStringLiteral("101,00")); // another period: unchanged until a save
    enterPayment(f, QStringLiteral("10,50"));
    QCOMPARE(total(f), QStringLiteral("10,00"));
    enterPayment(f, QStringLiteral("10,50"));
    QCOMPARE(total(f), QStringLiteral("20,00"));
    enterPayment(f, QStringLiteral("1234"));
    QCOMPARE(total(f), QStringLiteral("1.254,00"));
}

void OdemeTest::totalSurvivesARestart()
{
    LedgerFixture f(kOdemePage);
    newPeriod(f, QStringLiteral("2024 / MART"));
    enterPayment(f, QStringLiteral("100,25"));
    enterPayment(f, QStringLiteral("0,75"));
    QCOMPARE(total(f), QStringLiteral("101,00"));
    f.ui.answers = {UiSeam::Answer::Yes};
    QVERIFY(f.form->close());
    QFile ini(f.db.folder() + QStringLiteral("/S-Veri.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("[Odeme]\r\n--T=101,00\r\n"));
    f.form.reset();
    f.open(kOdemePage); // the program started again on the same folder
    QCOMPARE(total(f), QStringLiteral("101,00"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Odeme1")).toInt(), 2);
}

void OdemeTest::anEmptyAmountStopsTheTotal()
{
    LedgerFixture f(kOdemePage);
    newPeriod(f, QStringLiteral("2024 / MAYIS"));
    enterPayment(f, QStringLiteral("40"), QStringLiteral("A"));
    enterPayment(f, QString(), QStringLiteral("TUTARSIZ"));
    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList{kNullError});
    QCOMPARE(total(f), QStringLiteral("40,00")); // the previous text stays
    // the entry is saved; the list stays where the total stopped
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Odeme1 WHERE Tutar IS NULL")).toInt(), 1);
    QCOMPARE(f.dataset("Odeme1")->text(QStringLiteral("Aciklama")), QStringLiteral("TUTARSIZ"));
    QCOMPARE(f.dataset("Odeme1")->state(), Dataset::State::Browse);

    // giving it an amount makes the total whole again
    f.type("DBEdit81", QStringLiteral("2,5"));
    f.trigger("OdemePost1");
    QCOMPARE(total(f), QStringLiteral("42,00"));
}

void OdemeTest::deletingLeavesTheTotalAndQuotesEmptyValues()
{
    LedgerFixture f(kOdemePage);
    newPeriod(f, QString());
    enterPayment(f, QStringLiteral("70"));
    f.click("ToolButton109");
    f.type("DBEdit81", QStringLiteral("30")); // no date
    f.trigger("OdemePost1");
    QCOMPARE(total(f), QStringLiteral("100,00"));
    f.dataset("Odeme1")->last();

    f.ui.answers = {UiSeam::Answer::Yes};
    f.click("ToolButton110");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(),
             QStringLiteral("'' tarihli kayıt bilgiler silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Odeme1")).toInt(), 1);
    QCOMPARE(total(f), QStringLiteral("100,00"));

    f.ui.answers = {UiSeam::Answer::No};
    f.click("ToolButton101");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(),
             QStringLiteral("'' ay kayıtları silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Odeme")).toInt(), 1);
}

void OdemeTest::screenshot()
{
    LedgerFixture f(kOdemePage, TempDatabase::Demo);
    QVERIFY(f.dataset("Odeme1")->rowCount() > 0);
    QVERIFY(f.box("Edit15")->isReadOnly());
    auto *list = f.form->findChild<QTableView *>(QStringLiteral("SrDBGrid15"));
    QVERIFY(list->columnWidth(0) > list->fontMetrics().horizontalAdvance(QStringLiteral("01.04.2024"))); // whole dates
    f.screenshot(QStringLiteral("odeme"));
}

QTEST_MAIN(OdemeTest)
#include "tst_odeme.moc"
