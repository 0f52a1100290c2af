// Sorting a record list by a click on a column title, on the real main
// window over a real Data.dat: Turkish order for text, value order for
// amounts and dates, the search, the master/detail link and the current row
// kept, and the order dropped with a cleared search.
#include "core/Error.h"
#include "data/ListOrder.h"
#include "data/TurkishOrder.h"
#include "support/PagesLedgerKit.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableView>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kCariPage = 3;
constexpr int kStokPage = 8;

QTableView *list(const LedgerFixture &f, const char *name)
{
    auto *grid = f.form->findChild<QTableView *>(QLatin1String(name));
    if (!grid)
        qFatal("no list %s", name);
    return grid;
}

// Clicks the title of the column headed `title`, as the mouse would.
void clickTitle(QTableView *grid, const QString &title)
{
    QHeaderView *header = grid->horizontalHeader();
    for (int i = 0; i < header->count(); ++i) {
        if (grid->model()->headerData(i, Qt::Horizontal).toString() != title)
            continue;
        const QPoint at(header->sectionViewportPosition(i) + header->sectionSize(i) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        return;
    }
    qFatal("no column %s", qPrintable(title));
}

// What the list shows in the column headed `title`, top to bottom.
QStringList shown(QTableView *grid, const QString &title)
{
    const QAbstractItemModel *m = grid->model();
    int column = -1;
    for (int i = 0; i < m->columnCount(); ++i)
        if (m->headerData(i, Qt::Horizontal).toString() == title)
            column = i;
    QStringList texts;
    for (int row = 0; row < m->rowCount(); ++row)
        texts << m->index(row, column).data().toString();
    return texts;
}

QStringList reversed(QStringList list)
{
    std::reverse(list.begin(), list.end());
    return list;
}

void fillStock(const TempDatabase &db)
{
    db.exec(QStringLiteral(
        "INSERT INTO Stok (StokKodu, StokAdi, Alis) VALUES"
        " ('A1','ŞAFT',10), ('B1','SAAT',9.5), ('A2','ÇARK',100), ('B2','CIVATA',NULL), ('A3','İĞNE',2.25),"
        " ('B3','IŞIK',1000), ('A4','ÖRTÜ',0), ('B4','OTO',-5), ('A5','ÜST',10.5), ('B5','UÇ',99), ('A6','çanta',3)"));
}

} // namespace

class ListOrderTest : public QObject {
    Q_OBJECT
private slots:
    void termsAndStatements();
    void turkishNamesSortUpAndDown();
    void amountsSortByValue();
    void sortStaysThroughASearchAndGoesWithItsClearing();
    void datesSortByValueAndTheDetailKeepsItsMaster();
};

void ListOrderTest::termsAndStatements()
{
    QCOMPARE(withOrderBy(QStringLiteral("Select * From Stok"), QStringLiteral("x")),
             QStringLiteral("Select * From Stok ORDER BY x"));
    QCOMPARE(withOrderBy(QStringLiteral("Select * From MusTakip Order By Tarih"), QStringLiteral("Plaka DESC")),
             QStringLiteral("Select * From MusTakip ORDER BY Plaka DESC"));
    // the Turkish key of a list's own order holds no ORDER BY of its own
    QCOMPARE(withOrderBy(QStringLiteral("SELECT * FROM Cari ORDER BY ") + turkishKey(QStringLiteral("Firma")),
                         QStringLiteral("\"Firma\"")),
             QStringLiteral("SELECT * FROM Cari ORDER BY \"Firma\""));
    QCOMPARE(withOrderBy(QStringLiteral("Select * From Kasa1 where SiraNo=:SiraNo"), QString()),
             QStringLiteral("Select * From Kasa1 where SiraNo=:SiraNo"));

    QCOMPARE(headerSortTerm(QStringLiteral("Alis"), FieldKind::Real, Qt::DescendingOrder), QStringLiteral("\"Alis\" DESC"));
    QCOMPARE(headerSortTerm(QStringLiteral("Tarih"), FieldKind::Date, Qt::AscendingOrder), QStringLiteral("\"Tarih\""));
    QCOMPARE(headerSortTerm(QStringLiteral("Firma"), FieldKind::Text, Qt::AscendingOrder),
             turkishKey(QStringLiteral("\"Firma\"")));

    HeaderSort s = nextHeaderSort({}, 2);
    QCOMPARE(s.column, 2);
    QCOMPARE(s.order, Qt::AscendingOrder);
    s = nextHeaderSort(s, 2);
    QCOMPARE(s.order, Qt::DescendingOrder);
    s = nextHeaderSort(s, 2);
    QCOMPARE(s.order, Qt::AscendingOrder);
    s = nextHeaderSort(nextHeaderSort(s, 2), 4); // another title starts upwards
    QCOMPARE(s.column, 4);
    QCOMPARE(s.order, Qt::AscendingOrder);
}

void ListOrderTest::turkishNamesSortUpAndDown()
{
    LedgerFixture f(kStokPage);
    fillStock(f.db);
    f.dataset("Stok")->refresh();
    QTableView *grid = list(f, "SrDBGrid7");
    const QHeaderView *header = grid->horizontalHeader();
    QVERIFY(!header->isSortIndicatorShown());

    const QString name = QStringLiteral("STOK ADI");
    clickTitle(grid, name);
    const QStringList up = {"CIVATA", "çanta", "ÇARK", "IŞIK", "İĞNE", "OTO", "ÖRTÜ", "SAAT", "ŞAFT", "UÇ", "ÜST"};
    QCOMPARE(shown(grid, name), up);
    QVERIFY(header->isSortIndicatorShown());
    QCOMPARE(header->sortIndicatorSection(), 1);
    QCOMPARE(header->sortIndicatorOrder(), Qt::AscendingOrder);

    clickTitle(grid, name);
    QCOMPARE(shown(grid, name), reversed(up));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    clickTitle(grid, name);
    QCOMPARE(shown(grid, name), up);
}

void ListOrderTest::amountsSortByValue()
{
    LedgerFixture f(kStokPage);
    fillStock(f.db);
    f.dataset("Stok")->refresh();
    QTableView *grid = list(f, "SrDBGrid7");
    const QString price = QStringLiteral("ALIŞ FİYATI");
    clickTitle(grid, price);
    const QStringList up = {"", "-5", "0", "2,25", "3", "9,5", "10", "10,5", "99", "100", "1000"};
    QCOMPARE(shown(grid, price), up);
    clickTitle(grid, price);
    QCOMPARE(shown(grid, price), reversed(up));
    // An order the engine refuses leaves the rows and the order as they were.
    QVERIFY_THROWS_EXCEPTION(DatabaseError, f.dataset("Stok")->setSortOrder(QStringLiteral("Yok")));
    QCOMPARE(shown(grid, price), reversed(up));
    QVERIFY(f.dataset("Stok")->sortOrder().endsWith(QStringLiteral("DESC")));
    // the other list of the page shows the same rows in the same order
    QCOMPARE(shown(list(f, "SrDBGrid6"), QStringLiteral("STOK KODU")), shown(grid, QStringLiteral("STOK KODU")));
}

void ListOrderTest::sortStaysThroughASearchAndGoesWithItsClearing()
{
    LedgerFixture f(kStokPage);
    fillStock(f.db);
    Dataset *stok = f.dataset("Stok");
    stok->refresh();
    QTableView *grid = list(f, "SrDBGrid7");
    const QString name = QStringLiteral("STOK ADI");
    const QString code = QStringLiteral("STOK KODU");

    // Standing on SAAT, the sort keeps it the current row.
    stok->moveTo(1);
    QCOMPARE(stok->text(QStringLiteral("StokAdi")), QStringLiteral("SAAT"));
    clickTitle(grid, name);
    QCOMPARE(stok->text(QStringLiteral("StokAdi")), QStringLiteral("SAAT"));
    QCOMPARE(stok->currentRow(), 7);
    QCOMPARE(grid->currentIndex().row(), 7);

    // A search keeps the order; the order keeps the search.
    f.type("Edit6", QStringLiteral("A"));
    QCOMPARE(shown(grid, name), QStringList({"çanta", "ÇARK", "İĞNE", "ÖRTÜ", "ŞAFT", "ÜST"}));
    clickTitle(grid, name);
    QCOMPARE(shown(grid, name), QStringList({"ÜST", "ŞAFT", "ÖRTÜ", "İĞNE", "ÇARK", "çanta"}));
    QCOMPARE(shown(grid, code), QStringList({"A5", "A1", "A4", "A3", "A2", "A6"}));

    // Clearing the search drops the title's order: the rows come as the statement gives them.
    f.click("SpeedButton4");
    QCOMPARE(f.box("Edit6")->text(), QString());
    QVERIFY(stok->sortOrder().isEmpty());
    QVERIFY(!grid->horizontalHeader()->isSortIndicatorShown());
    QCOMPARE(shown(grid, code), QStringList({"A1", "B1", "A2", "B2", "A3", "B3", "A4", "B4", "A5", "B5", "A6"}));
}

void ListOrderTest::datesSortByValueAndTheDetailKeepsItsMaster()
{
    LedgerFixture f(kCariPage);
    f.db.exec(QStringLiteral("INSERT INTO Cari (SiraNo, Firma) VALUES (1,'ARAS'), (2,'BORA')"));
    f.db.exec(QStringLiteral(
        "INSERT INTO Cari1 (SiraNo, FatNo, FatTarihi, Tutar) VALUES"
        " (1,'F1','2024-03-01',50), (1,'F2','2023-12-31',700), (1,'F3','2024-01-15',8),"
        " (2,'G1','2022-05-05',1), (2,'G2','2021-06-06',2)"));
    Dataset *cari = f.dataset("Cari");
    cari->refresh();
    cari->first();
    QTableView *grid = list(f, "SrDBGrid11");
    const QString date = QStringLiteral("Fat. Tarihi");
    const QString number = QStringLiteral("Fat. No");

    clickTitle(grid, date);
    QCOMPARE(shown(grid, date), QStringList({"31.12.2023", "15.01.2024", "01.03.2024"}));
    clickTitle(grid, QStringLiteral("Tutar"));
    QCOMPARE(shown(grid, number), QStringList({"F3", "F1", "F2"}));
    clickTitle(grid, date);
    // The company's invoices only, and the next company's come in the same order.
    cari->next();
    QCOMPARE(cari->text(QStringLiteral("Firma")), QStringLiteral("BORA"));
    QCOMPARE(shown(grid, date), QStringList({"06.06.2021", "05.05.2022"}));
    clickTitle(grid, date);
    QCOMPARE(shown(grid, date), QStringList({"05.05.2022", "06.06.2021"}));
}

QTEST_MAIN(ListOrderTest)
#include "tst_listorder.moc"
