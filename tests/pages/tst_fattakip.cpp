// FATURA TAKİP: the VAT arithmetic on its own, and the page on a real
// Data.dat: periods and invoices reaching the file, "Hesapla" with the rate
// of the settings, its conversion error, searches and delete questions.
#include "pages/fattakip/InvoiceMath.h"
#include "support/PagesFormKit.h"

#include "core/Error.h"

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kPage = 2;

QString errorOf(const std::function<void()> &work)
{
    try {
        work();
    } catch (const Error &e) {
        return e.text();
    }
    return {};
}

void newPeriod(PageForm &f, const QString &year, const QString &month)
{
    f.click("ToolButton19");
    f.type("DBEdit16", year);
    f.type("DBEdit17", month);
    f.trigger("FatPost");
}

// A new invoice with its amounts typed; "Kdv Ekle" ticked when `vat`.
void newInvoice(PageForm &f, const QString &number, const QString &amount, const QString &discount, bool vat)
{
    f.click("ToolButton28");
    f.type("DBEdit13", number);
    f.type("DBEdit14", QStringLiteral("01.02.2024"));
    f.type("DBEdit19", QStringLiteral("acar oto"));
    if (!amount.isEmpty())
        f.type("DBEdit20", amount);
    if (!discount.isEmpty())
        f.type("DBEdit21", discount);
    if (vat)
        f.click("DBCheckBox1");
}

QVariantList savedInvoice(const PageForm &f, const QString &number)
{
    return {f.db.scalar(QStringLiteral("SELECT Iskonto FROM FatTakip1 WHERE FaturaNo='%1'").arg(number)),
            f.db.scalar(QStringLiteral("SELECT Kdv FROM FatTakip1 WHERE FaturaNo='%1'").arg(number)),
            f.db.scalar(QStringLiteral("SELECT Toplam FROM FatTakip1 WHERE FaturaNo='%1'").arg(number))};
}

} // namespace

class FatTakipTest : public QObject {
    Q_OBJECT
private slots:
    void vatArithmetic();
    void vatRateText();
    void workedExamplesThroughTheButton_data();
    void workedExamplesThroughTheButton();
    void rateIsReadAtTheMomentOfUse();
    void aRateThatIsNoNumberStopsBeforeTheAmounts();
    void computingOnAPeriodWithoutInvoicesStartsOne();
    void invoiceShownAgainAfterReopening();
    void searchAndDeleteQuestions();
    void screenshot();
};

void FatTakipTest::vatArithmetic()
{
    InvoiceAmounts a = invoiceAmounts(1000, 150, true, 18);
    QCOMPARE(a.kdv, 153.0);
    QCOMPARE(a.toplam, 1003.0);
    a = invoiceAmounts(99.99, 0, true, 18);
    QCOMPARE(a.kdv, 18.0);
    QCOMPARE(a.toplam, 117.99);
    QCOMPARE(invoiceAmounts(0.25, 0, true, 18).kdv, 0.05); // 0.045 lies a hair below in binary
    QCOMPARE(invoiceAmounts(-0.25, 0, true, 18).kdv, -0.05);
    a = invoiceAmounts(100, 200, true, 18);
    QCOMPARE(a.kdv, -18.0);
    QCOMPARE(a.toplam, -118.0);
    a = invoiceAmounts(1000, 150, false, 18);
    QCOMPARE(a.kdv, 0.0);
    QCOMPARE(a.toplam, 850.0);
    // Only the VAT is rounded.
    a = invoiceAmounts(10.333, 0.001, true, 18);
    QCOMPARE(a.kdv, 1.86);
    QCOMPARE(a.toplam, 1.86 + (10.333 - 0.001));
}

void FatTakipTest::vatRateText()
{
    QCOMPARE(vatRate(QStringLiteral("18")), 18.0);
    QCOMPARE(vatRate(QStringLiteral("8,5")), 8.5);
    QCOMPARE(vatRate(QStringLiteral(" 20 ")), 20.0);
    QCOMPARE(vatRate(QStringLiteral("-1")), -1.0);
    QCOMPARE(errorOf([] { vatRate(QStringLiteral("abc")); }), QStringLiteral("'abc' is not a valid floating point value"));
    QCOMPARE(errorOf([] { vatRate(QString()); }), QStringLiteral("'' is not a valid floating point value"));
    QCOMPARE(errorOf([] { vatRate(QStringLiteral("1.000")); }), QStringLiteral("'1.000' is not a valid floating point value"));
    QCOMPARE(errorOf([] { vatRate(QStringLiteral("%18")); }), QStringLiteral("'%18' is not a valid floating point value"));
}

void FatTakipTest::workedExamplesThroughTheButton_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("discount");
    QTest::addColumn<bool>("vat");
    QTest::addColumn<double>("savedDiscount");
    QTest::addColumn<double>("kdv");
    QTest::addColumn<double>("toplam");
    QTest::addColumn<QString>("shownKdv");
    QTest::addColumn<QString>("shownToplam");
    QTest::newRow("1000 - 150, VAT") << "1000" << "150" << true << 150.0 << 153.0 << 1003.0 << "153" << "1003";
    QTest::newRow("99,99 without discount") << "99,99" << "" << true << 0.0 << 18.0 << 117.99 << "18" << "117,99";
    QTest::newRow("0,25 net") << "0,25" << "" << true << 0.0 << 0.05 << 0.3 << "0,05" << "0,3";
    QTest::newRow("no VAT") << "1000" << "150" << false << 150.0 << 0.0 << 850.0 << "0,00" << "850";
    QTest::newRow("discount above amount") << "100" << "200" << true << 200.0 << -18.0 << -118.0 << "-18" << "-118";
}

void FatTakipTest::workedExamplesThroughTheButton()
{
    QFETCH(QString, amount);
    QFETCH(QString, discount);
    QFETCH(bool, vat);
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("ocak"));
    newInvoice(f, QStringLiteral("F1"), amount, discount, vat);
    f.click("Button2");
    QVERIFY(f.errors().isEmpty());
    QCOMPARE(f.dataset("FatTakip1")->state(), Dataset::State::Insert); // left for the user to save
    QTEST(f.box("DBEdit22")->text(), "shownKdv");
    QTEST(f.box("DBEdit23")->text(), "shownToplam");
    f.trigger("FatPost1");

    const QVariantList saved = savedInvoice(f, QStringLiteral("F1"));
    QTEST(saved[0].toDouble(), "savedDiscount");
    QTEST(saved[1].toDouble(), "kdv");
    QTEST(saved[2].toDouble(), "toplam");
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Kdv_Onay FROM FatTakip1")).toInt(), vat ? 1 : 0);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT f.Aylar FROM FatTakip1 i JOIN FatTakip f ON f.SiraNo = i.SiraNo")).toString(),
             QStringLiteral("OCAK"));
}

void FatTakipTest::rateIsReadAtTheMomentOfUse()
{
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("şubat"));
    newInvoice(f, QStringLiteral("F8"), QStringLiteral("1000"), QStringLiteral("0"), true);
    f.setVatRate(QStringLiteral("8"));
    f.click("Button2");
    QCOMPARE(f.box("DBEdit22")->text(), QStringLiteral("80"));
    f.setVatRate(QStringLiteral("20"));
    f.click("Button2"); // pressing again on the row being edited
    QCOMPARE(f.box("DBEdit22")->text(), QStringLiteral("200"));
    f.trigger("FatPost1");
    QCOMPARE(savedInvoice(f, QStringLiteral("F8"))[2].toDouble(), 1200.0);

    // Saving without "Hesapla" keeps the old VAT and total.
    f.type("DBEdit20", QStringLiteral("500"));
    f.trigger("FatPost1");
    QCOMPARE(savedInvoice(f, QStringLiteral("F8"))[2].toDouble(), 1200.0);
}

void FatTakipTest::aRateThatIsNoNumberStopsBeforeTheAmounts()
{
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("mart"));
    newInvoice(f, QStringLiteral("F2"), QStringLiteral("1000"), QString(), true);
    f.setVatRate(QStringLiteral("on sekiz"));
    f.click("Button2");
    QCOMPARE(f.errors(), QStringList{QStringLiteral("'on sekiz' is not a valid floating point value")});
    Dataset *invoices = f.dataset("FatTakip1");
    QVERIFY(invoices->isEditing());
    QCOMPARE(invoices->asDouble(QStringLiteral("Iskonto")), 0.0);
    QVERIFY(invoices->isNull(QStringLiteral("Kdv")));
    QVERIFY(invoices->isNull(QStringLiteral("Toplam")));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM FatTakip1")).toInt(), 0);
}

void FatTakipTest::computingOnAPeriodWithoutInvoicesStartsOne()
{
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("nisan"));
    f.click("Button2");
    QVERIFY(f.errors().isEmpty());
    Dataset *invoices = f.dataset("FatTakip1");
    QCOMPARE(invoices->state(), Dataset::State::Insert);
    f.trigger("FatPost1");
    const qint64 period = f.db.scalar(QStringLiteral("SELECT SiraNo FROM FatTakip")).toLongLong();
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT SiraNo FROM FatTakip1")).toLongLong(), period);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Iskonto || '|' || Kdv || '|' || Toplam FROM FatTakip1")).toString(),
             QStringLiteral("0.0|0.0|0.0"));
}

void FatTakipTest::invoiceShownAgainAfterReopening()
{
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2023"), QStringLiteral("aralık"));
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("ocak"));
    newInvoice(f, QStringLiteral("A-17"), QStringLiteral("1000"), QStringLiteral("150"), true);
    f.click("Button2");
    f.trigger("FatPost1");
    f.closeWithYes();

    f.open();
    Dataset *periods = f.dataset("FatTakip");
    QCOMPARE(periods->rowCount(), 2);
    periods->last(); // ordered by year
    QCOMPARE(f.box("DBEdit17")->text(), QStringLiteral("OCAK"));
    QCOMPARE(f.box("DBEdit13")->text(), QStringLiteral("A-17"));
    QCOMPARE(f.box("DBEdit19")->text(), QStringLiteral("ACAR OTO"));
    QCOMPARE(f.box("DBEdit23")->text(), QStringLiteral("1003"));
    QVERIFY(f.child<QCheckBox>("DBCheckBox1")->isChecked());
    periods->first();
    QCOMPARE(f.dataset("FatTakip1")->rowCount(), 0);
}

void FatTakipTest::searchAndDeleteQuestions()
{
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("ocak"));
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("şubat"));
    newInvoice(f, QStringLiteral("F'9"), QStringLiteral("10"), QString(), false);
    f.trigger("FatPost1");

    f.type("Edit3", QStringLiteral("ş"));
    Dataset *periods = f.dataset("FatTakip");
    QCOMPARE(periods->rowCount(), 1);
    QCOMPARE(f.box("DBEdit17")->text(), QStringLiteral("ŞUBAT"));
    QCOMPARE(f.dataset("FatTakip1")->rowCount(), 1);

    f.ui.answers.push_back(UiSeam::Answer::No);
    f.click("ToolButton29");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), QStringLiteral("'F''9' numaralı fatura bilgiler silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM FatTakip1")).toInt(), 1);

    f.ui.answers.push_back(UiSeam::Answer::Yes);
    f.click("ToolButton20");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), QStringLiteral("'ŞUBAT' adlı dönemi içeren tüm bilgiler silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.column(QStringLiteral("SELECT Aylar FROM FatTakip")), QVariantList{QStringLiteral("OCAK")});
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM FatTakip1")).toInt(), 0);

    // The list is empty after the delete; the search finds nothing, says so and lists all.
    f.type("Edit3", QStringLiteral("x"));
    QCOMPARE(f.ui.texts(QStringLiteral("inform")).last(), QStringLiteral("Aradığınız kriterlere uygun birim kaydı bulunamadı."));
    QCOMPARE(periods->rowCount(), 1);
    QVERIFY(f.errors().isEmpty());
}

void FatTakipTest::screenshot()
{
    PageForm f(kPage, TempDatabase::Demo);
    f.screenshot(QStringLiteral("fattakip"));
}

QTEST_MAIN(FatTakipTest)
#include "tst_fattakip.moc"
