// MAAŞ ÖDEME: the salary arithmetic on its own, and the page on a real
// Data.dat: what a saved line stores, cancel, refused amounts, deletes.
#include "pages/maas/SalaryLine.h"
#include "support/PagesLedgerKit.h"

#include <QMap>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kMaasPage = 9;

// A line held in a map; every write is recorded in order.
struct MapLine {
    QMap<QString, double> fields;
    QStringList writes;
    void compute()
    {
        computeSalaryLine([this](const QString &f) { return fields.value(f, 0.0); },
                          [this](const QString &f, double v) {
                              fields[f] = v;
                              writes << f;
                          });
    }
};

QVariant stored(const LedgerFixture &f, const char *column, const QString &person)
{
    return f.db.scalar(QStringLiteral("SELECT %1 FROM Maas1 WHERE Personel='%2'").arg(QLatin1String(column), person));
}

// A new period named `period` with one line typed into the boxes (empty texts are skipped), saved.
void enterLine(LedgerFixture &f, const QString &person, const QStringList &amounts)
{
    // Maas, Yol, Mesai, Avans, Kesinti, O_Tutari
    const char *boxes[] = {"DBEdit93", "DBEdit94", "DBEdit95", "DBEdit97", "DBEdit98", "DBEdit101"};
    f.click("ToolButton145");
    f.type("DBEdit92", person);
    for (int i = 0; i < amounts.size(); ++i)
        if (!amounts[i].isEmpty())
            f.type(boxes[i], amounts[i]);
    f.trigger("MaasPost1");
}

void newPeriod(LedgerFixture &f, const QString &name)
{
    f.click("ToolButton136");
    f.type("DBEdit91", name);
    f.trigger("MaasPost");
}

} // namespace

class MaasTest : public QObject {
    Q_OBJECT
private slots:
    void arithmeticRunsInOrderOnWrittenResults();
    void savedLineStoresTheFourResults();
    void missingAndNegativeAmounts();
    void changingThePaidAmountRecomputes();
    void cancelKeepsTheStoredResults();
    void aBadAmountStopsTheSave();
    void anOverflowingResultStopsTheSave();
    void computedBoxesAndTabOrder();
    void deleteQuestionsQuoteEmptyNames();
    void screenshot();
};

void MaasTest::arithmeticRunsInOrderOnWrittenResults()
{
    MapLine line;
    line.fields = {{"Maas", 900}, {"Yol", 50}, {"Mesai", 25}, {"Avans", 100}, {"Kesinti", 15}, {"O_Tutari", 800},
                   // stale results are overwritten, never read as inputs
                   {"Toplam", 1e6}, {"K_Toplam", -7}, {"O_Tutar", 3}, {"Kalan", 4}};
    line.compute();
    QCOMPARE(line.writes, (QStringList{"Toplam", "K_Toplam", "O_Tutar", "Kalan"}));
    QCOMPARE(line.fields["Toplam"], 975.0);
    QCOMPARE(line.fields["K_Toplam"], 115.0);
    QCOMPARE(line.fields["O_Tutar"], 860.0);
    QCOMPARE(line.fields["Kalan"], 60.0);

    MapLine unrounded;
    unrounded.fields = {{"Maas", 0.1}, {"Yol", 0.2}};
    unrounded.compute();
    QCOMPARE(unrounded.fields["Toplam"], 0.1 + 0.2); // no rounding on the way
}

void MaasTest::savedLineStoresTheFourResults()
{
    LedgerFixture f(kMaasPage);
    newPeriod(f, QStringLiteral("2024 / mart"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Aylar FROM Maas")).toString(), QStringLiteral("2024 / MART"));
    enterLine(f, QStringLiteral("ali veli"), {"900", "50", "25", "100", "15", "800"});
    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList());
    const QString who = QStringLiteral("ALİ VELİ");
    QCOMPARE(stored(f, "Toplam", who).toDouble(), 975.0);
    QCOMPARE(stored(f, "K_Toplam", who).toDouble(), 115.0);
    QCOMPARE(stored(f, "O_Tutar", who).toDouble(), 860.0);
    QCOMPARE(stored(f, "Kalan", who).toDouble(), 60.0);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT m1.SiraNo = m.SiraNo FROM Maas1 m1, Maas m")).toInt(), 1);
    QCOMPARE(f.box("DBEdit96")->text(), QStringLiteral("975"));
    QCOMPARE(f.box("DBEdit102")->text(), QStringLiteral("60"));

    enterLine(f, QStringLiteral("kesirli"), {"1500,5", "0,25"});
    QCOMPARE(stored(f, "Toplam", QStringLiteral("KESİRLİ")).toDouble(), 1500.75);
    QCOMPARE(stored(f, "Kalan", QStringLiteral("KESİRLİ")).toDouble(), 1500.75);
}

void MaasTest::missingAndNegativeAmounts()
{
    LedgerFixture f(kMaasPage);
    newPeriod(f, QStringLiteral("2024 / NİSAN"));
    enterLine(f, QStringLiteral("TEK"), {"500"});
    const QString tek = QStringLiteral("TEK");
    QCOMPARE(stored(f, "Toplam", tek).toDouble(), 500.0);
    QCOMPARE(stored(f, "K_Toplam", tek).toDouble(), 0.0);
    QCOMPARE(stored(f, "O_Tutar", tek).toDouble(), 500.0);
    QCOMPARE(stored(f, "Kalan", tek).toDouble(), 500.0);
    QVERIFY(stored(f, "Yol", tek).isNull()); // an input left empty stays empty

    enterLine(f, QStringLiteral("BORÇLU"), {"100", "", "", "250", "50", "-20"});
    QCOMPARE(stored(f, "O_Tutar", QStringLiteral("BORÇLU")).toDouble(), -200.0);
    QCOMPARE(stored(f, "Kalan", QStringLiteral("BORÇLU")).toDouble(), -180.0);

    enterLine(f, QStringLiteral("FAZLA"), {"1000", "", "", "", "", "1200"});
    QCOMPARE(stored(f, "O_Tutar", QStringLiteral("FAZLA")).toDouble(), 1000.0);
    QCOMPARE(stored(f, "Kalan", QStringLiteral("FAZLA")).toDouble(), -200.0);
}

void MaasTest::changingThePaidAmountRecomputes()
{
    LedgerFixture f(kMaasPage);
    newPeriod(f, QStringLiteral("2024 / MAYIS"));
    enterLine(f, QStringLiteral("AYŞE"), {"900", "50", "25", "100", "15", "800"});
    const QString who = QStringLiteral("AYŞE");
    // Someone changed a result behind the page's back: the next save puts it right.
    f.db.exec(QStringLiteral("UPDATE Maas1 SET Toplam=1 WHERE Personel='AYŞE'"));
    f.dataset("Maas1")->refresh();

    f.type("DBEdit101", QStringLiteral("900"));
    f.trigger("MaasPost1");
    QCOMPARE(stored(f, "O_Tutari", who).toDouble(), 900.0);
    QCOMPARE(stored(f, "Toplam", who).toDouble(), 975.0);
    QCOMPARE(stored(f, "K_Toplam", who).toDouble(), 115.0);
    QCOMPARE(stored(f, "O_Tutar", who).toDouble(), 860.0);
    QCOMPARE(stored(f, "Kalan", who).toDouble(), -40.0);
    QCOMPARE(f.box("DBEdit102")->text(), QStringLiteral("-40"));
}

void MaasTest::cancelKeepsTheStoredResults()
{
    LedgerFixture f(kMaasPage);
    newPeriod(f, QStringLiteral("2024 / HAZİRAN"));
    enterLine(f, QStringLiteral("MEHMET"), {"900", "50", "25", "100", "15", "800"});
    f.type("DBEdit93", QStringLiteral("2000"));
    QCOMPARE(f.box("DBEdit96")->text(), QStringLiteral("975")); // results change only when saved
    f.trigger("MaasCancel1");
    QCOMPARE(f.dataset("Maas1")->state(), Dataset::State::Browse);
    QCOMPARE(stored(f, "Maas", QStringLiteral("MEHMET")).toDouble(), 900.0);
    QCOMPARE(stored(f, "Toplam", QStringLiteral("MEHMET")).toDouble(), 975.0);
    QCOMPARE(f.box("DBEdit93")->text(), QStringLiteral("900"));
}

void MaasTest::aBadAmountStopsTheSave()
{
    LedgerFixture f(kMaasPage);
    newPeriod(f, QStringLiteral("2024 / TEMMUZ"));
    f.click("ToolButton145");
    f.type("DBEdit92", QStringLiteral("HATA"));
    f.type("DBEdit93", QStringLiteral("900"));
    f.type("DBEdit94", QStringLiteral("5o")); // a letter o for a zero
    f.trigger("MaasPost1");
    QCOMPARE(f.ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(f.ui.texts(QStringLiteral("error")).first().contains(QStringLiteral("'5O'")));
    QCOMPARE(f.dataset("Maas1")->state(), Dataset::State::Insert);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Maas1")).toInt(), 0);

    f.type("DBEdit94", QStringLiteral("50"));
    f.trigger("MaasPost1");
    QCOMPARE(stored(f, "Toplam", QStringLiteral("HATA")).toDouble(), 950.0);
}

void MaasTest::anOverflowingResultStopsTheSave()
{
    LedgerFixture f(kMaasPage);
    newPeriod(f, QStringLiteral("2024 / AĞUSTOS"));
    const QString huge = QStringLiteral("1") + QString(308, QLatin1Char('0')); // 1e308
    enterLine(f, QStringLiteral("TAŞMA"), {huge, huge});
    QCOMPARE(f.ui.texts(QStringLiteral("error")).size(), 1);
    QCOMPARE(f.dataset("Maas1")->state(), Dataset::State::Insert);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Maas1")).toInt(), 0);

    f.type("DBEdit94", QStringLiteral("1"));
    f.trigger("MaasPost1");
    QCOMPARE(f.ui.texts(QStringLiteral("error")).size(), 1);
    QCOMPARE(stored(f, "Toplam", QStringLiteral("TAŞMA")).toDouble(), 1e308 + 1);
}

void MaasTest::computedBoxesAndTabOrder()
{
    LedgerFixture f(kMaasPage, TempDatabase::Demo);
    for (const char *name : {"DBEdit96", "DBEdit99", "DBEdit100", "DBEdit102"})
        QVERIFY2(f.box(name)->isReadOnly(), name);
    for (const char *name : {"DBEdit92", "DBEdit93", "DBEdit101"})
        QVERIFY2(!f.box(name)->isReadOnly(), name);
    // Every bound box is refreshed as the lines move: the computed ones stay closed to typing.
    QVERIFY(f.dataset("Maas1")->rowCount() > 1);
    QTest::keyClick(f.form->findChild<QWidget *>(QStringLiteral("SrDBGrid19")), Qt::Key_Down);
    QVERIFY(f.dataset("Maas1")->currentRow() > 0);
    for (const char *name : {"DBEdit96", "DBEdit99", "DBEdit100", "DBEdit102"})
        QVERIFY2(f.box(name)->isReadOnly(), name);
    QCOMPARE(f.box("DBEdit92")->width(), 425);
    QCOMPARE(f.box("DBEdit93")->width(), 65);

    const QStringList expected = {"DBEdit92", "DBEdit93", "DBEdit94", "DBEdit95", "DBEdit97", "DBEdit98",
                                  "DBEdit101", "DBEdit100", "DBEdit96", "DBEdit99", "DBEdit102", "ToolButton145"};
    QStringList order;
    QWidget *w = f.box("DBEdit92");
    for (int i = 0; i < expected.size(); ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w && !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
    }
    QCOMPARE(order, expected);
}

void MaasTest::deleteQuestionsQuoteEmptyNames()
{
    LedgerFixture f(kMaasPage);
    newPeriod(f, QString());
    f.click("ToolButton136");
    f.type("DBEdit91", QStringLiteral("X"));
    f.trigger("MaasPost");
    f.dataset("Maas")->first(); // the period without a name
    enterLine(f, QString(), {"100"});
    f.ui.answers = {UiSeam::Answer::No, UiSeam::Answer::Yes};
    f.click("ToolButton146");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(),
             QStringLiteral("'' adlı personel bilgileri silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Maas1")).toInt(), 1);
    f.click("ToolButton137");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(),
             QStringLiteral("'' dönem kayıtları silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Maas")).toInt(), 1);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Aylar FROM Maas")).toString(), QStringLiteral("X"));
}

void MaasTest::screenshot()
{
    LedgerFixture f(kMaasPage, TempDatabase::Demo);
    QVERIFY(f.dataset("Maas1")->rowCount() > 0);
    f.screenshot(QStringLiteral("maas"));
}

QTEST_MAIN(MaasTest)
#include "tst_maas.moc"
