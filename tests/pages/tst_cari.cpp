// CARİ HESAPLAR: the entry arithmetic on its own, and the page on a real
// Data.dat: "Hesapla" with its zero defaults, the paid and remaining totals
// after every saved entry, their errors, their survival across a restart,
// searches and delete questions.
#include "pages/cari/AccountMath.h"
#include "support/PagesFormKit.h"

#include <QAbstractItemView>
#include <QFile>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kPage = 3;
const QString kNullError = QStringLiteral("Could not convert variant of type (Null) into type (Integer)");

void newCompany(PageForm &f, const QString &name)
{
    f.click("ToolButton64");
    f.type("DBEdit59", name);
    f.trigger("CariPost");
}

// A new entry with the given boxes typed (empty: left empty), computed and saved.
void newEntry(PageForm &f, const QString &number, const QString &amount, const QString &paid,
              const QString &discount = {}, bool vat = false, bool compute = true)
{
    f.click("ToolButton73");
    f.type("DBEdit61", number);
    f.type("DBEdit63", QStringLiteral("alış"));
    if (!amount.isEmpty())
        f.type("DBEdit65", amount);
    if (!paid.isEmpty())
        f.type("DBEdit67", paid);
    if (!discount.isEmpty())
        f.type("DBEdit66", discount);
    if (vat)
        f.click("DBCheckBox2");
    if (compute)
        f.click("Button3");
    f.trigger("CariPost1");
}

QString paidTotal(const PageForm &f) { return f.box("Edit13")->text(); }
QString remainingTotal(const PageForm &f) { return f.box("Edit14")->text(); }

} // namespace

class CariTest : public QObject {
    Q_OBJECT
private slots:
    void entryArithmetic();
    void workedExampleThroughTheButton();
    void computingAnEmptyEntryWritesZeros();
    void totalsAfterEverySavedEntry();
    void anEntryWithoutPaymentStopsTheTotals();
    void totalsAndEntriesSurviveARestart();
    void aRateThatIsNoNumberKeepsTheZeroDefaults();
    void searchAndDeleteQuestions();
    void untouchedVatBoxStoresFalse();
    void companiesListedInTurkishOrder();
    void screenshot();
};

void CariTest::entryArithmetic()
{
    EntryAmounts a = entryAmounts(1000, 0, 500, true, 18);
    QCOMPARE(a.kdv, 180.0);
    QCOMPARE(a.toplam, 1180.0);
    QCOMPARE(a.kalan, 680.0);
    a = entryAmounts(100, 10, 200, false, 18);
    QCOMPARE(a.kdv, 0.0);
    QCOMPARE(a.toplam, 90.0);
    QCOMPARE(a.kalan, -110.0); // paying more than owed
    QCOMPARE(entryAmounts(0.25, 0, 0, true, 18).kdv, 0.05);
}

void CariTest::workedExampleThroughTheButton()
{
    PageForm f(kPage);
    newCompany(f, QStringLiteral("özgür oto"));
    f.click("ToolButton73");
    f.type("DBEdit61", QStringLiteral("C-1"));
    f.type("DBEdit65", QStringLiteral("1000"));
    f.type("DBEdit67", QStringLiteral("500"));
    f.click("DBCheckBox2");
    f.click("Button3");
    QVERIFY(f.errors().isEmpty());
    QCOMPARE(f.dataset("Cari1")->state(), Dataset::State::Insert);
    QCOMPARE(f.box("DBEdit69")->text(), QStringLiteral("180"));
    QCOMPARE(f.box("DBEdit68")->text(), QStringLiteral("1180"));
    QCOMPARE(f.box("DBEdit66")->text(), QStringLiteral("0,00"));
    f.trigger("CariPost1");

    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Tutar || '|' || Iskonto || '|' || Kdv || '|' || Toplam || '|' || Odenen || '|' || Kalan || '|' || KdvOnay FROM Cari1")).toString(),
             QStringLiteral("1000.0|0.0|180.0|1180.0|500.0|680.0|1"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT c.Firma FROM Cari1 e JOIN Cari c ON c.SiraNo = e.SiraNo")).toString(),
             QStringLiteral("ÖZGÜR OTO"));
    QCOMPARE(paidTotal(f), QStringLiteral("500,00"));
    QCOMPARE(remainingTotal(f), QStringLiteral("680,00"));
}

void CariTest::computingAnEmptyEntryWritesZeros()
{
    PageForm f(kPage);
    newCompany(f, QStringLiteral("boş firma"));
    f.click("Button3"); // no entry yet: one is started
    QVERIFY(f.errors().isEmpty());
    QVERIFY(f.dataset("Cari1")->isEditing());
    f.trigger("CariPost1");
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Iskonto || '|' || Odenen || '|' || Tutar || '|' || Kalan || '|' || Toplam || '|' || Kdv FROM Cari1")).toString(),
             QStringLiteral("0.0|0.0|0.0|0.0|0.0|0.0"));
    QCOMPARE(paidTotal(f), QStringLiteral("0,00"));
}

void CariTest::totalsAfterEverySavedEntry()
{
    PageForm f(kPage);
    newCompany(f, QStringLiteral("acar"));
    newEntry(f, QStringLiteral("1"), QStringLiteral("20"), QStringLiteral("10,5"));
    QCOMPARE(paidTotal(f), QStringLiteral("10,00"));  // 10,5 rounds to the even 10
    QCOMPARE(remainingTotal(f), QStringLiteral("10,00")); // 9,5 rounds to the even 10
    newEntry(f, QStringLiteral("2"), QStringLiteral("20"), QStringLiteral("10,5"));
    QCOMPARE(paidTotal(f), QStringLiteral("20,00"));
    QCOMPARE(remainingTotal(f), QStringLiteral("20,00"));
    QCOMPARE(f.dataset("Cari1")->currentRow(), 0); // back on the first entry
    // Paying more than owed counts as a negative remainder.
    newEntry(f, QStringLiteral("3"), QStringLiteral("1000"), QStringLiteral("2500"));
    QCOMPARE(paidTotal(f), QStringLiteral("2.520,00"));
    QCOMPARE(remainingTotal(f), QStringLiteral("-1.480,00"));

    // Deleting an entry leaves the totals until the next save.
    f.ui.answers.push_back(UiSeam::Answer::Yes);
    f.click("ToolButton74");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), QStringLiteral("'1' numaralı fatura bilgiler silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Cari1")).toInt(), 2);
    QCOMPARE(paidTotal(f), QStringLiteral("2.520,00"));

    // Another company keeps showing the last totals until one of its entries is saved.
    newCompany(f, QStringLiteral("başka"));
    QCOMPARE(paidTotal(f), QStringLiteral("2.520,00"));
    newEntry(f, QStringLiteral("9"), QStringLiteral("10,4"), QStringLiteral("10,4"));
    newEntry(f, QStringLiteral("10"), QStringLiteral("0,4"), QStringLiteral("0,4"));
    QCOMPARE(paidTotal(f), QStringLiteral("10,00"));
    QCOMPARE(remainingTotal(f), QStringLiteral("0,00"));
    QVERIFY(f.errors().isEmpty());
}

void CariTest::anEntryWithoutPaymentStopsTheTotals()
{
    PageForm f(kPage);
    newCompany(f, QStringLiteral("acar"));
    newEntry(f, QStringLiteral("1"), QStringLiteral("100"), QStringLiteral("40"));
    QCOMPARE(paidTotal(f), QStringLiteral("40,00"));
    // Saved without "Hesapla": no paid or remaining amount.
    newEntry(f, QStringLiteral("2"), QStringLiteral("50"), QString(), QString(), false, false);
    QCOMPARE(f.errors(), QStringList{kNullError});
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Cari1")).toInt(), 2);
    QCOMPARE(paidTotal(f), QStringLiteral("40,00"));
    QCOMPARE(remainingTotal(f), QStringLiteral("60,00"));
    QCOMPARE(f.dataset("Cari1")->currentRow(), 1);
}

void CariTest::totalsAndEntriesSurviveARestart()
{
    PageForm f(kPage);
    newCompany(f, QStringLiteral("şimşek lastik"));
    newEntry(f, QStringLiteral("L-1"), QStringLiteral("1000"), QStringLiteral("500"), QStringLiteral("0"), true);
    QCOMPARE(remainingTotal(f), QStringLiteral("680,00"));
    f.closeWithYes();

    QFile ini(f.db.folder() + QStringLiteral("/S-Veri.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray text = ini.readAll();
    QVERIFY(text.contains("[Cari]"));
    QVERIFY(text.contains("--O=500,00"));
    QVERIFY(text.contains("--K=680,00"));

    f.open();
    QCOMPARE(paidTotal(f), QStringLiteral("500,00"));
    QCOMPARE(remainingTotal(f), QStringLiteral("680,00"));
    QCOMPARE(f.box("DBEdit59")->text(), QStringLiteral("ŞİMŞEK LASTİK"));
    QCOMPARE(f.box("DBEdit61")->text(), QStringLiteral("L-1"));
    QCOMPARE(f.box("DBEdit63")->text(), QStringLiteral("ALIŞ"));
    QCOMPARE(f.box("DBEdit69")->text(), QStringLiteral("180"));
    QVERIFY(f.child<QCheckBox>("DBCheckBox2")->isChecked());
}

void CariTest::aRateThatIsNoNumberKeepsTheZeroDefaults()
{
    PageForm f(kPage);
    newCompany(f, QStringLiteral("acar"));
    f.click("ToolButton73");
    f.type("DBEdit65", QStringLiteral("100"));
    f.click("DBCheckBox2");
    f.setVatRate(QStringLiteral("yüzde"));
    f.click("Button3");
    QCOMPARE(f.errors(), QStringList{QStringLiteral("'yüzde' is not a valid floating point value")});
    Dataset *entries = f.dataset("Cari1");
    QVERIFY(entries->isEditing());
    QCOMPARE(f.box("DBEdit66")->text(), QStringLiteral("0,00"));
    QCOMPARE(f.box("DBEdit67")->text(), QStringLiteral("0,00"));
    QCOMPARE(f.box("DBEdit68")->text(), QStringLiteral("0,00"));
    QVERIFY(entries->isNull(QStringLiteral("Kdv")));
    QCOMPARE(entries->asDouble(QStringLiteral("Kalan")), 0.0);

    f.setVatRate(QStringLiteral("10"));
    f.click("Button3");
    QCOMPARE(f.box("DBEdit69")->text(), QStringLiteral("10"));
    QCOMPARE(f.box("DBEdit68")->text(), QStringLiteral("110"));
}

void CariTest::searchAndDeleteQuestions()
{
    PageForm f(kPage);
    newCompany(f, QStringLiteral("ilker nakliyat"));
    newCompany(f, QStringLiteral("o'neil oto"));
    newEntry(f, QStringLiteral("7"), QStringLiteral("10"), QStringLiteral("5"));

    f.type("Edit8", QStringLiteral("i"));
    Dataset *companies = f.dataset("Cari");
    QCOMPARE(companies->rowCount(), 1);
    QCOMPARE(f.box("DBEdit59")->text(), QStringLiteral("İLKER NAKLİYAT"));
    f.type("Edit8", QStringLiteral("o"));
    QCOMPARE(f.box("DBEdit59")->text(), QStringLiteral("O'NEİL OTO"));
    QCOMPARE(f.dataset("Cari1")->rowCount(), 1);

    f.ui.answers.push_back(UiSeam::Answer::Yes);
    f.click("ToolButton65");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), QStringLiteral("'O''NEİL OTO' adlı kayıtları silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.column(QStringLiteral("SELECT Firma FROM Cari")), QVariantList{QStringLiteral("İLKER NAKLİYAT")});
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Cari1")).toInt(), 0);
    QVERIFY(f.errors().isEmpty());
}

void CariTest::untouchedVatBoxStoresFalse()
{
    PageForm f(kPage);
    newCompany(f, QStringLiteral("ACAR OTO"));
    newEntry(f, QStringLiteral("K1"), QStringLiteral("100"), QStringLiteral("100")); // "Hesapla" pressed, the box never
    QCOMPARE(f.errors(), QStringList());
    QVERIFY(!f.child<QCheckBox>("DBCheckBox2")->isChecked());
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT typeof(KdvOnay) || '|' || KdvOnay FROM Cari1")).toString(),
             QStringLiteral("integer|0"));
}

void CariTest::companiesListedInTurkishOrder()
{
    PageForm f(kPage);
    const QStringList turkishOrder = {"CEYLAN OTO", "ÇAĞLAR LTD", "IŞIK AKÜ", "İLKER NAKLİYAT", "OSMAN TİCARET",
                                      "ÖZGÜR OTO", "SELİM YAĞ", "ŞİMŞEK LASTİK", "UĞUR FREN", "ÜNAL CAM",
                                      "ZAFER KAPORTA"};
    // Saved in an order of their own.
    for (const int i : {10, 1, 8, 3, 6, 0, 9, 4, 7, 2, 5})
        newCompany(f, turkishOrder[i]);
    f.closeWithYes();
    f.open();
    const QAbstractItemModel *list = f.child<QAbstractItemView>("SrDBGrid10")->model();
    QStringList shown;
    for (int row = 0; row < list->rowCount(); ++row)
        shown << list->index(row, 0).data().toString();
    QCOMPARE(shown, turkishOrder);
}

void CariTest::screenshot()
{
    PageForm f(kPage, TempDatabase::Demo);
    f.screenshot(QStringLiteral("cari"));
}

QTEST_MAIN(CariTest)
#include "tst_cari.moc"
