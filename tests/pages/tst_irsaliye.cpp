// İRSALİYELER: the line amount on its own, and the page on a real Data.dat:
// periods and lines reaching the file with their computed amounts however
// the save starts, lines shown again after reopening, search and delete
// questions.
#include "pages/irsaliye/LineMath.h"
#include "support/PagesFormKit.h"

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kPage = 4;

void newPeriod(PageForm &f, const QString &year, const QString &month)
{
    f.click("ToolButton154");
    f.type("DBEdit64", year);
    f.type("DBEdit103", month);
    f.trigger("IrsaliyeUstPost");
}

// A new line with quantity and price typed (empty: left empty), not yet saved.
void typeLine(PageForm &f, const QString &invoice, const QString &quantity, const QString &price)
{
    f.click("ToolButton55");
    f.type("DBEdit45", invoice);
    f.type("DBEdit46", QStringLiteral("05.01.2024"));
    f.type("DBEdit53", QStringLiteral("güneş akü"));
    f.type("DBEdit54", QStringLiteral("ak-60"));
    f.type("DBEdit55", QStringLiteral("akü 60 amper"));
    f.type("DBEdit56", QStringLiteral("İ-100"));
    if (!quantity.isEmpty())
        f.type("DBEdit57", quantity);
    if (!price.isEmpty())
        f.type("DBEdit58", price);
}

QVariant saved(const PageForm &f, const QString &invoice, const char *column)
{
    return f.db.scalar(QStringLiteral("SELECT %1 FROM Irsaliye WHERE FaturaNo='%2'").arg(QLatin1String(column), invoice));
}

} // namespace

class IrsaliyeTest : public QObject {
    Q_OBJECT
private slots:
    void lineArithmetic();
    void amountsWrittenOnSave_data();
    void amountsWrittenOnSave();
    void amountWrittenWhenLeavingTheRow();
    void linesShownAgainAfterReopening();
    void searchAndDeleteQuestions();
    void screenshot();
};

void IrsaliyeTest::lineArithmetic()
{
    LineAmount a = lineAmount(std::nullopt, 12.5);
    QCOMPARE(a.quantity, 1.0);
    QCOMPARE(a.tutar, 12.5);
    QCOMPARE(lineAmount(3.0, 0.1).tutar, 3 * 0.1); // the product itself, not rounded
    QVERIFY(lineAmount(3.0, 0.1).tutar != 0.3);
    QCOMPARE(lineAmount(0.0, 99.0).tutar, 0.0);
    QCOMPARE(lineAmount(0.0, 99.0).quantity, 0.0);
    QCOMPARE(lineAmount(-2.0, 5.0).tutar, -10.0);
}

void IrsaliyeTest::amountsWrittenOnSave_data()
{
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("price");
    QTest::addColumn<double>("savedQuantity");
    QTest::addColumn<double>("tutar");
    QTest::addColumn<QString>("shown");
    QTest::newRow("empty quantity × 12,5") << "" << "12,5" << 1.0 << 12.5 << "12,5";
    QTest::newRow("3 × 0,1") << "3" << "0,1" << 3.0 << 3 * 0.1 << QString();
    QTest::newRow("quantity 0") << "0" << "99" << 0.0 << 0.0 << "0";
    QTest::newRow("empty price") << "4" << "" << 4.0 << 0.0 << "0";
    QTest::newRow("a return") << "-2" << "5" << -2.0 << -10.0 << "-10";
}

void IrsaliyeTest::amountsWrittenOnSave()
{
    QFETCH(QString, quantity);
    QFETCH(QString, price);
    QFETCH(QString, shown);
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("ocak"));
    typeLine(f, QStringLiteral("F1"), quantity, price);
    f.trigger("IrsaliyePost");
    QVERIFY(f.errors().isEmpty());
    QTEST(saved(f, QStringLiteral("F1"), "MalAdet").toDouble(), "savedQuantity");
    QTEST(saved(f, QStringLiteral("F1"), "Tutar").toDouble(), "tutar");
    if (!shown.isEmpty())
        QCOMPARE(f.box("DBEdit44")->text(), shown);
    QVERIFY(f.box("DBEdit44")->isReadOnly());
    const qint64 period = f.db.scalar(QStringLiteral("SELECT SiraNo FROM IrsaliyeUst")).toLongLong();
    QCOMPARE(saved(f, QStringLiteral("F1"), "SiraNo").toLongLong(), period);
}

void IrsaliyeTest::amountWrittenWhenLeavingTheRow()
{
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("şubat"));
    typeLine(f, QStringLiteral("F1"), QString(), QStringLiteral("7"));
    // The next add saves the changed row first, through the same computation.
    typeLine(f, QStringLiteral("F2"), QStringLiteral("2"), QStringLiteral("7"));
    QCOMPARE(saved(f, QStringLiteral("F1"), "Tutar").toDouble(), 7.0);
    QCOMPARE(saved(f, QStringLiteral("F1"), "MalAdet").toDouble(), 1.0);
    // Moving to the first line saves the second.
    f.trigger("IrsaliyeFirst");
    QCOMPARE(saved(f, QStringLiteral("F2"), "Tutar").toDouble(), 14.0);

    // Changing the quantity of a saved line recomputes it on the next save.
    f.type("DBEdit57", QStringLiteral("5"));
    f.trigger("IrsaliyePost");
    QCOMPARE(saved(f, QStringLiteral("F1"), "Tutar").toDouble(), 35.0);
    QVERIFY(f.errors().isEmpty());
}

void IrsaliyeTest::linesShownAgainAfterReopening()
{
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("mart"));
    typeLine(f, QStringLiteral("A-9"), QStringLiteral("3"), QStringLiteral("2,5"));
    f.trigger("IrsaliyePost");
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("nisan"));
    f.closeWithYes();

    f.open();
    Dataset *periods = f.dataset("IrsaliyeUst");
    QCOMPARE(periods->rowCount(), 2);
    QCOMPARE(f.box("DBEdit103")->text(), QStringLiteral("MART"));
    QCOMPARE(f.box("DBEdit45")->text(), QStringLiteral("A-9"));
    QCOMPARE(f.box("DBEdit53")->text(), QStringLiteral("GÜNEŞ AKÜ"));
    QCOMPARE(f.box("DBEdit55")->text(), QStringLiteral("AKÜ 60 AMPER"));
    QCOMPARE(f.box("DBEdit56")->text(), QStringLiteral("İ-100"));
    QCOMPARE(f.box("DBEdit46")->text(), QStringLiteral("05.01.2024"));
    QCOMPARE(f.box("DBEdit44")->text(), QStringLiteral("7,5"));
    periods->next();
    QCOMPARE(f.dataset("Irsaliye")->rowCount(), 0);
    QCOMPARE(f.box("DBEdit45")->text(), QString());
}

void IrsaliyeTest::searchAndDeleteQuestions()
{
    PageForm f(kPage);
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("ocak"));
    newPeriod(f, QStringLiteral("2024"), QStringLiteral("ağustos"));
    typeLine(f, QStringLiteral("F'5"), QStringLiteral("1"), QStringLiteral("1"));
    f.trigger("IrsaliyePost");

    f.type("Edit7", QStringLiteral("a"));
    QCOMPARE(f.dataset("IrsaliyeUst")->rowCount(), 1);
    QCOMPARE(f.box("DBEdit103")->text(), QStringLiteral("AĞUSTOS"));

    f.ui.answers.push_back(UiSeam::Answer::No);
    f.click("ToolButton56");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), QStringLiteral("'F''5' nolu faturaya ait İRSALİYE silincek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Irsaliye")).toInt(), 1);

    f.ui.answers.push_back(UiSeam::Answer::Yes);
    f.click("ToolButton155");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).last(), QStringLiteral("'AĞUSTOS' adlı dönemi içeren irsaliyeler silinecek. Onaylıyor musunuz?"));
    QCOMPARE(f.db.column(QStringLiteral("SELECT Aylar FROM IrsaliyeUst")), QVariantList{QStringLiteral("OCAK")});
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Irsaliye")).toInt(), 0);

    f.type("Edit7", QStringLiteral("k"));
    QCOMPARE(f.ui.texts(QStringLiteral("inform")), QStringList{QStringLiteral("Aradığınız kriterlere uygun birim kaydı bulunamadı.")});
    QCOMPARE(f.box("Edit7")->text(), QString());
    QCOMPARE(f.dataset("IrsaliyeUst")->rowCount(), 1);
    QVERIFY(f.errors().isEmpty());
}

void IrsaliyeTest::screenshot()
{
    PageForm f(kPage, TempDatabase::Demo);
    f.screenshot(QStringLiteral("irsaliye"));
}

QTEST_MAIN(IrsaliyeTest)
#include "tst_irsaliye.moc"
