// STOK LİSTESİ on a real Data.dat: both lists over the same rows, the
// search by code or name, new parts and the delete question.
#include "support/PagesLedgerKit.h"

#include <QComboBox>
#include <QTableView>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kStokPage = 8;

QTableView *grid(const LedgerFixture &f, const char *name) { return f.form->findChild<QTableView *>(QLatin1String(name)); }

} // namespace

class StokTest : public QObject {
    Q_OBJECT
private slots:
    void bothListsNarrowOnANameSearch();
    void bothListsShowTheSameCurrentRow();
    void aNewPartReachesTheFile();
    void deleteQuestionQuotesTheCode();
};

void StokTest::bothListsNarrowOnANameSearch()
{
    LedgerFixture f(kStokPage, TempDatabase::Demo);
    const int all = f.db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt();
    QCOMPARE(grid(f, "SrDBGrid6")->model()->rowCount(), all);
    QCOMPARE(grid(f, "SrDBGrid7")->model()->rowCount(), all);

    f.form->findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setCurrentIndex(1); // "Stok Adına Göre"
    f.type("Edit6", QStringLiteral("tri"));
    QCOMPARE(f.box("Edit6")->text(), QStringLiteral("TRİ"));
    const int found = f.db.scalar(QStringLiteral("SELECT count(*) FROM Stok WHERE StokAdi LIKE 'TRİ%'")).toInt();
    QVERIFY(found > 0 && found < all);
    QCOMPARE(grid(f, "SrDBGrid6")->model()->rowCount(), found);
    QCOMPARE(grid(f, "SrDBGrid7")->model()->rowCount(), found);
    for (int row = 0; row < found; ++row)
        QVERIFY(f.dataset("Stok")->textAt(row, f.dataset("Stok")->fieldIndex(QStringLiteral("StokAdi")))
                    .startsWith(QStringLiteral("TRİ")));

    // the code search on the same box, after choosing it
    f.form->findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setCurrentIndex(0);
    f.type("Edit6", QStringLiteral("yg"));
    QCOMPARE(grid(f, "SrDBGrid7")->model()->rowCount(),
             f.db.scalar(QStringLiteral("SELECT count(*) FROM Stok WHERE StokKodu LIKE 'YG%'")).toInt());
    QCOMPARE(f.ui.texts(QStringLiteral("inform")), QStringList());
}

void StokTest::bothListsShowTheSameCurrentRow()
{
    LedgerFixture f(kStokPage, TempDatabase::Demo);
    QTableView *codes = grid(f, "SrDBGrid6");
    QTableView *full = grid(f, "SrDBGrid7");
    f.dataset("Stok")->moveTo(3);
    QCOMPARE(codes->currentIndex().row(), 3);
    QCOMPARE(full->currentIndex().row(), 3);

    // a click in the full list moves the code list and the boxes with it
    const QRect cell = full->visualRect(full->model()->index(5, 1));
    QTest::mouseClick(full->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(f.dataset("Stok")->currentRow(), 5);
    QCOMPARE(codes->currentIndex().row(), 5);
    QCOMPARE(f.box("DBEdit47")->text(), f.dataset("Stok")->text(QStringLiteral("StokKodu")));
    f.screenshot(QStringLiteral("stok"));
}

void StokTest::aNewPartReachesTheFile()
{
    LedgerFixture f(kStokPage);
    f.click("ToolButton46");
    QCOMPARE(QApplication::focusWidget(), f.box("DBEdit47"));
    f.type("DBEdit47", QStringLiteral("yp-9"));
    f.type("DBEdit48", QStringLiteral("şanzıman yağı"));
    f.type("DBEdit49", QStringLiteral("4"));
    f.type("DBEdit50", QStringLiteral("b-2"));
    f.type("DBEdit51", QStringLiteral("120,5"));
    f.type("DBEdit52", QStringLiteral("180"));
    f.trigger("StokPost");
    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(f.db.column(QStringLiteral("SELECT StokKodu || '|' || StokAdi || '|' || Adet || '|' || Raf || '|' || Alis || '|' || Satis FROM Stok")),
             QVariantList{QStringLiteral("YP-9|ŞANZIMAN YAĞI|4.0|B-2|120.5|180.0")});
    QCOMPARE(grid(f, "SrDBGrid6")->model()->rowCount(), 1);
    QCOMPARE(grid(f, "SrDBGrid7")->model()->rowCount(), 1);
}

void StokTest::deleteQuestionQuotesTheCode()
{
    LedgerFixture f(kStokPage);
    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi) VALUES ('A''B', 'TIRNAKLI')"));
    f.db.exec(QStringLiteral("INSERT INTO Stok (StokAdi) VALUES ('KODSUZ')"));
    f.dataset("Stok")->refresh();
    f.dataset("Stok")->first();
    f.ui.answers = {UiSeam::Answer::No};
    f.click("ToolButton47");
    f.dataset("Stok")->last();
    f.ui.answers = {UiSeam::Answer::Yes};
    f.click("ToolButton47");
    QCOMPARE(f.ui.texts(QStringLiteral("ask")),
             (QStringList{QStringLiteral("'A''B' kodlu YEDEK PARÇA silinecek. Onaylıyor musunuz?"),
                          QStringLiteral("'' kodlu YEDEK PARÇA silinecek. Onaylıyor musunuz?")}));
    QCOMPARE(f.db.column(QStringLiteral("SELECT StokAdi FROM Stok")), QVariantList{QStringLiteral("TIRNAKLI")});
}

QTEST_MAIN(StokTest)
#include "tst_stok.moc"
