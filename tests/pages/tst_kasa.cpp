// KASA TAKİP on a real Data.dat: periods and entries typed into the boxes,
// the period search, and the delete questions.
#include "support/PagesLedgerKit.h"

#include <QTableView>

using namespace tk;
using namespace tk::test;

namespace {
constexpr int kKasaPage = 5;
}

class KasaTest : public QObject {
    Q_OBJECT
private slots:
    void anEntryReachesTheFileAsTyped();
    void twoDigitYearsAreOfThisCentury_data();
    void twoDigitYearsAreOfThisCentury();
    void searchNarrowsThePeriods();
    void deleteQuestionsAndCascade();
    void entryBoxesInTabOrder();
};

void KasaTest::anEntryReachesTheFileAsTyped()
{
    LedgerFixture f(kKasaPage);
    f.click("ToolButton118");
    QCOMPARE(QApplication::focusWidget(), f.box("DBEdit82"));
    f.type("DBEdit82", QStringLiteral("2024 / ekim"));
    f.trigger("KasaPost");
    f.click("ToolButton127");
    QCOMPARE(QApplication::focusWidget(), f.box("DBEdit83"));
    f.type("DBEdit83", QStringLiteral("07.10.2024"));
    f.type("DBEdit85", QStringLiteral("1250,5"));
    f.type("DBEdit86", QStringLiteral("300"));
    f.type("DBEdit87", QStringLiteral("75"));
    f.type("DBEdit88", QStringLiteral("0,25"));
    f.type("DBEdit89", QStringLiteral("öztürk oto"));
    f.type("DBEdit90", QStringLiteral("lastik ödemesi"));
    f.trigger("KasaPost1");
    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(f.db.column(QStringLiteral(
                 "SELECT k.Aylar || '|' || Tarih || '|' || KKTahsis || '|' || KKTediye || '|' || Tahsilat || '|' || Tediye"
                 " || '|' || Cari || '|' || Aciklama FROM Kasa1 JOIN Kasa k USING (SiraNo)")),
             QVariantList{QStringLiteral("2024 / EKİM|2024-10-07|1250.5|300.0|75.0|0.25|ÖZTÜRK OTO|LASTİK ÖDEMESİ")});
}

void KasaTest::twoDigitYearsAreOfThisCentury_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::newRow("leap day of 2000") << QStringLiteral("29.02.00") << QStringLiteral("2000-02-29");
    QTest::newRow("leap day of 2004") << QStringLiteral("29.02.04") << QStringLiteral("2004-02-29");
    QTest::newRow("end of February 2099") << QStringLiteral("28.02.99") << QStringLiteral("2099-02-28");
    QTest::newRow("short day and month") << QStringLiteral("5.3.24") << QStringLiteral("2024-03-05");
    QTest::newRow("2099 has no leap day") << QStringLiteral("29.02.99") << QString();
    QTest::newRow("April has 30 days") << QStringLiteral("31.04.05") << QString();
}

void KasaTest::twoDigitYearsAreOfThisCentury()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    LedgerFixture f(kKasaPage);
    f.click("ToolButton118");
    f.type("DBEdit82", QStringLiteral("2000 / şubat"));
    f.trigger("KasaPost");
    f.click("ToolButton127");
    f.type("DBEdit83", typed);
    f.type("DBEdit85", QStringLiteral("10"));
    f.trigger("KasaPost1");
    if (stored.isEmpty()) {
        QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList{QStringLiteral("'%1' geçerli bir tarih değil.").arg(typed)});
        QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Kasa1")).toInt(), 0);
        return;
    }
    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(f.db.column(QStringLiteral("SELECT Tarih FROM Kasa1")), QVariantList{stored});
}

void KasaTest::searchNarrowsThePeriods()
{
    LedgerFixture f(kKasaPage, TempDatabase::Demo);
    auto *periods = f.form->findChild<QTableView *>(QStringLiteral("SrDBGrid16"));
    const int all = periods->model()->rowCount();
    QVERIFY(all >= 2);
    f.type("Edit11", QStringLiteral("2024 / ş"));
    QCOMPARE(periods->model()->rowCount(), 1);
    QCOMPARE(f.dataset("Kasa")->text(QStringLiteral("Aylar")), QStringLiteral("2024 / ŞUBAT"));
    QCOMPARE(f.dataset("Kasa1")->rowCount(),
             f.db.scalar(QStringLiteral("SELECT count(*) FROM Kasa1 JOIN Kasa USING (SiraNo) WHERE Aylar='2024 / ŞUBAT'")).toInt());

    f.box("Edit11")->setText(QStringLiteral("1999")); // pasted: one search
    QCOMPARE(f.ui.texts(QStringLiteral("inform")),
             QStringList{QStringLiteral("Aradığınız kriterlere uygun birim kaydı bulunamadı.")});
    QCOMPARE(f.box("Edit11")->text(), QString());
    QCOMPARE(periods->model()->rowCount(), all);
    f.screenshot(QStringLiteral("kasa"));
}

void KasaTest::deleteQuestionsAndCascade()
{
    LedgerFixture f(kKasaPage);
    f.click("ToolButton118");
    f.trigger("KasaPost"); // a period without a name
    f.click("ToolButton127");
    f.type("DBEdit85", QStringLiteral("10"));
    f.trigger("KasaPost1");
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Kasa1")).toInt(), 1);

    f.ui.answers = {UiSeam::Answer::No, UiSeam::Answer::No, UiSeam::Answer::Yes};
    f.click("ToolButton128");
    f.click("ToolButton119");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")),
             (QStringList{QStringLiteral("'' tarihli kayıtlar silinecek. Onaylıyor musunuz?"),
                          QStringLiteral("'' dönem kayıtları silinecek. Onaylıyor musunuz?")}));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Kasa1")).toInt(), 1);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Kasa")).toInt(), 1);

    f.click("ToolButton119"); // Yes: the period goes, and the file takes its entries with it
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Kasa")).toInt(), 0);
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT count(*) FROM Kasa1")).toInt(), 0);
    QCOMPARE(f.dataset("Kasa1")->rowCount(), 0);
}

void KasaTest::entryBoxesInTabOrder()
{
    LedgerFixture f(kKasaPage, TempDatabase::Demo);
    const QStringList expected = {"DBEdit83", "DBEdit85", "DBEdit86", "DBEdit87", "DBEdit88", "DBEdit89", "DBEdit90"};
    QStringList order;
    QWidget *w = f.box("DBEdit83");
    for (int i = 0; i < expected.size(); ++i) {
        order << w->objectName();
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
    }
    QCOMPARE(order, expected);
    // the description takes the panel's width
    QVERIFY(f.box("DBEdit90")->width() > 2 * f.box("DBEdit89")->width());
    QVERIFY(f.form->findChild<QPushButton *>(QStringLiteral("BitBtn7")));
}

QTEST_MAIN(KasaTest)
#include "tst_kasa.moc"
