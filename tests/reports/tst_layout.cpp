// The engine on the test templates: bands on pages, cell texts, totals,
// page numbers, the error list and what a run does to its dataset.
#include "ReportFixture.h"
#include "reports/Report.h"
#include "reports/engine/Format.h"
#include "reports/engine/Layout.h"
#include "reports/engine/ReportFile.h"
#include "support/TestSupport.h"

#include <QTest>

using namespace tk;
using namespace tk::reports;
using tk::test::StockDb;

namespace {

// The texts of one page's items printed by bands of `kind`, in order.
QStringList texts(const PreparedReport &r, int page, BandKind kind)
{
    QStringList out;
    const PreparedPage &p = r.page(page);
    for (std::uint32_t i = p.firstItem; i < p.firstItem + p.itemCount; ++i) {
        const PreparedItem &item = r.items()[i];
        if (item.band == kind && (item.kind == CellKind::Memo || item.kind == CellKind::SystemMemo))
            out << r.finalText(item, r.pageCount());
    }
    return out;
}

// Top (mm) of the first item a band of `kind` printed on a page; -1 when none.
double bandTop(const PreparedReport &r, int page, BandKind kind, int nth = 0)
{
    const PreparedPage &p = r.page(page);
    std::vector<float> tops;
    for (std::uint32_t i = p.firstItem; i < p.firstItem + p.itemCount; ++i)
        if (r.items()[i].band == kind && r.items()[i].kind != CellKind::Line)
            tops.push_back(r.items()[i].y);
    std::sort(tops.begin(), tops.end());
    tops.erase(std::unique(tops.begin(), tops.end()), tops.end());
    return nth < int(tops.size()) ? unitsToMm(tops[size_t(nth)]) : -1;
}

int dataRows(const PreparedReport &r, int page)
{
    return int(texts(r, page, BandKind::MasterData).size() / 5); // five text cells per row
}

Report listReport(StockDb &db)
{
    Report report(test::testTemplate(QStringLiteral("TestList")));
    report.setDataset(QStringLiteral("DBStok"), db.stok.get());
    report.setCellText(QStringLiteral("Memo1"), QStringLiteral("YEDEK PARÇA"));
    return report;
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void emptyDatasetGivesOnePageWithoutHeaderOrFooter();
    void rowsContinueBelowThePageHeaderWithoutTheHeader();
    void footerThatDoesNotFitMovesWhole();
    void totalsAndEmptyAmounts();
    void pageCountIsFinalOnEveryPage();
    void twoRunsGiveTheSamePages();
    void slicedAndStoppedRuns();
    void unattachedFooterIsAnError();
    void syntaxErrorKeepsEarlierPagesAndShowsTheList();
    void runPostsAnEditFirstAndEndsOnTheLastRow();
    void runDropsAnUnchangedNewRow();
    void textsSetFromOutsidePrintAsTheyStand();
    void formatsNumbersTheTurkishWay();
    void printedAmountsRoundLikeThePages();
    void expressionsOfTheTemplates();
    void cellsAreFoundIgnoringCase();
};

void LayoutTest::emptyDatasetGivesOnePageWithoutHeaderOrFooter()
{
    StockDb db;
    db.stok->open();
    Report report = listReport(db);
    test::ScriptedUi ui;
    QVERIFY(report.prepare(nullptr));
    const PreparedReport &r = report.prepared();
    QCOMPARE(r.pageCount(), 1);
    QCOMPARE(texts(r, 0, BandKind::ReportTitle), QStringList{QStringLiteral("YEDEK PARÇA")});
    QCOMPARE(texts(r, 0, BandKind::PageHeader), QStringList{QStringLiteral("STOK LİSTESİ")});
    QVERIFY(texts(r, 0, BandKind::Header).isEmpty());
    QVERIFY(texts(r, 0, BandKind::MasterData).isEmpty());
    QVERIFY(texts(r, 0, BandKind::Footer).isEmpty()); // so no total either
    QCOMPARE(texts(r, 0, BandKind::ReportSummary), QStringList{QStringLiteral("RAPOR SONU")});
    QCOMPARE(texts(r, 0, BandKind::PageFooter), QStringList{QStringLiteral("Sayfa: 1 / 1")});
    // Title at the top, the page header below it, the page footer at H − its height.
    QCOMPARE(bandTop(r, 0, BandKind::ReportTitle), 0.0);
    QCOMPARE(qRound(bandTop(r, 0, BandKind::PageHeader) * 10), 150 + 10); // its cell stands 1 mm down
    QCOMPARE(qRound(bandTop(r, 0, BandKind::PageFooter) * 10), 2770 - 60);
    QVERIFY(ui.shown.isEmpty());
}

void LayoutTest::rowsContinueBelowThePageHeaderWithoutTheHeader()
{
    StockDb db;
    db.addRows(60);
    Report report = listReport(db);
    QVERIFY(report.prepare(nullptr));
    const PreparedReport &r = report.prepared();
    QCOMPARE(r.pageCount(), 2);
    // Page 1: title 15 + page header 10 + header 8 mm, then 5 mm rows up to 277 − 6 mm.
    QCOMPARE(dataRows(r, 0), 47);
    QCOMPARE(qRound(bandTop(r, 0, BandKind::Header) * 10), 250 + 10);
    QCOMPARE(qRound(bandTop(r, 0, BandKind::MasterData) * 10), 330);
    QCOMPARE(dataRows(r, 1), 13);
    QVERIFY(texts(r, 1, BandKind::ReportTitle).isEmpty());
    QVERIFY(texts(r, 1, BandKind::Header).isEmpty());
    QCOMPARE(qRound(bandTop(r, 1, BandKind::PageHeader) * 10), 0 + 10);
    QCOMPARE(qRound(bandTop(r, 1, BandKind::MasterData) * 10), 100);
    QCOMPARE(texts(r, 1, BandKind::MasterData).at(0), QStringLiteral("STK00048"));
    // Rows in the dataset's order, none lost or repeated.
    QStringList codes;
    for (int p = 0; p < 2; ++p) {
        const QStringList t = texts(r, p, BandKind::MasterData);
        for (int i = 0; i < t.size(); i += 5)
            codes << t.at(i);
    }
    QCOMPARE(codes.size(), 60);
    QCOMPARE(codes.first(), QStringLiteral("STK00001"));
    QCOMPARE(codes.last(), QStringLiteral("STK00060"));
}

void LayoutTest::footerThatDoesNotFitMovesWhole()
{
    StockDb db;
    db.addRows(47); // page 1 full: 3 mm left, the 10 mm footer cannot stand there
    Report report = listReport(db);
    QVERIFY(report.prepare(nullptr));
    const PreparedReport &r = report.prepared();
    QCOMPARE(r.pageCount(), 2);
    QVERIFY(texts(r, 0, BandKind::Footer).isEmpty());
    QCOMPARE(texts(r, 1, BandKind::Footer).size(), 2);
    QCOMPARE(qRound(bandTop(r, 1, BandKind::Footer) * 10), 100 + 20); // below the page header, cells at +2 mm
    QCOMPARE(dataRows(r, 1), 0);
    QCOMPARE(texts(r, 1, BandKind::PageFooter), QStringList{QStringLiteral("Sayfa: 2 / 2")});
}

void LayoutTest::totalsAndEmptyAmounts()
{
    StockDb db;
    db.connection->exec(QStringLiteral("INSERT INTO Stok (StokKodu, Alis) VALUES ('A', 1234.5)"));
    db.stok->open();
    Report report = listReport(db);
    QVERIFY(report.prepare(nullptr));
    // One row: the total is that row's value.
    QCOMPARE(texts(report.prepared(), 0, BandKind::Footer),
             (QStringList{QStringLiteral("TOPLAM :"), QStringLiteral("1.234,50 TL")}));
    QCOMPARE(texts(report.prepared(), 0, BandKind::MasterData),
             (QStringList{QStringLiteral("A"), QStringLiteral("1.234,50 TL"), QStringLiteral("1.234,50 TL"),
                          QString(), QStringLiteral("1234,5,00")}));

    // An empty amount: empty where bound, 0,00 TL in an expression cell; totals skip it.
    db.connection->exec(QStringLiteral("INSERT INTO Stok (StokKodu, Alis, Tarih) VALUES ('B', NULL, '2024-03-09')"));
    db.connection->exec(QStringLiteral("INSERT INTO Stok (StokKodu, Alis) VALUES ('C', 0.25)"));
    db.stok->refresh();
    QVERIFY(report.prepare(nullptr));
    const QStringList rows = texts(report.prepared(), 0, BandKind::MasterData);
    QCOMPARE(rows.mid(5, 5), (QStringList{QStringLiteral("B"), QStringLiteral("0,00 TL"), QString(),
                                          QStringLiteral("09.03.2024"), QStringLiteral("0,00")}));
    QCOMPARE(texts(report.prepared(), 0, BandKind::Footer).at(1), QStringLiteral("1.234,75 TL"));
}

void LayoutTest::pageCountIsFinalOnEveryPage()
{
    StockDb db;
    db.addRows(120);
    Report report = listReport(db);
    QVERIFY(report.prepare(nullptr));
    const PreparedReport &r = report.prepared();
    QCOMPARE(r.pageCount(), 3);
    for (int p = 0; p < 3; ++p) {
        QCOMPARE(texts(r, p, BandKind::PageFooter), QStringList{QStringLiteral("Sayfa: %1 / 3").arg(p + 1)});
        // The prepared page keeps the placeholder until it is drawn.
        const PreparedPage &page = r.page(p);
        bool placeholder = false;
        for (std::uint32_t i = page.firstItem; i < page.firstItem + page.itemCount; ++i)
            placeholder |= r.text(r.items()[i]).contains(PreparedReport::kTotalPagesPlaceholder);
        QVERIFY(placeholder);
    }
}

void LayoutTest::twoRunsGiveTheSamePages()
{
    StockDb db;
    db.addRows(70);
    Report report = listReport(db);
    QVERIFY(report.prepare(nullptr));
    const QByteArray first = serializeReport(report.prepared());
    QVERIFY(report.prepare(nullptr));
    QCOMPARE(serializeReport(report.prepared()), first);
    QCOMPARE(report.tmpl().findCell(QStringLiteral("Memo6"))->text, QStringLiteral("[DBStok.\"Alis\"]"));
}

void LayoutTest::slicedAndStoppedRuns()
{
    StockDb db;
    db.addRows(200);
    Report report = listReport(db);
    QVERIFY(report.prepare(nullptr));
    const QByteArray whole = serializeReport(report.prepared());

    PreparedReport sliced;
    LayoutRun run(report.tmpl(), sliced, report.datasets());
    int slices = 0;
    while (run.step(7) == LayoutRun::Status::Running)
        ++slices;
    QCOMPARE(run.status(), LayoutRun::Status::Done);
    QVERIFY(slices > 20);
    QCOMPARE(serializeReport(sliced), whole);

    // Stopped after the first slice: the finished pages stay, each with its page footer.
    PreparedReport stopped;
    LayoutRun partial(report.tmpl(), stopped, report.datasets());
    QCOMPARE(partial.step(60), LayoutRun::Status::Running);
    QCOMPARE(stopped.finishedPageCount(), 1);
    partial.stop();
    QCOMPARE(partial.step(60), LayoutRun::Status::Stopped);
    QCOMPARE(stopped.pageCount(), 2);
    QCOMPARE(dataRows(stopped, 1), 13);
    QCOMPARE(texts(stopped, 1, BandKind::PageFooter), QStringList{QStringLiteral("Sayfa: 2 / 2")});
    QVERIFY(texts(stopped, 1, BandKind::Footer).isEmpty());
}

void LayoutTest::unattachedFooterIsAnError()
{
    StockDb db;
    db.addRows(3);
    Template t = test::testTemplate(QStringLiteral("TestList"));
    for (Band &b : t.bands)
        if (b.name == QLatin1String("Footer1"))
            b.top = mmToUnits(10); // now above the header: belongs to no data band
    Report report(t);
    report.setDataset(QStringLiteral("Stok"), db.stok.get());
    test::ScriptedUi ui;
    QVERIFY(!report.prepare(nullptr));
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].kind, QStringLiteral("error"));
    QCOMPARE(ui.shown[0].caption, QStringLiteral("Hata"));
    QCOMPARE(ui.shown[0].text, QStringLiteral("Aşağıdaki hata(lar) oluştu:\nBağlantısız Rapor Başlığı/Sonu Footer1"));
    QCOMPARE(report.prepared().pageCount(), 0);
}

void LayoutTest::syntaxErrorKeepsEarlierPagesAndShowsTheList()
{
    StockDb db;
    db.addRows(100);
    Template t = test::testTemplate(QStringLiteral("TestList"));
    t.findCell(QStringLiteral("Memo10"))->text = QStringLiteral("[SUM(<DBStok.\"Alis\">]");
    Report report(t);
    report.setDataset(QStringLiteral("DBStok"), db.stok.get());
    test::ScriptedUi ui;
    QVERIFY(!report.prepare(nullptr));
    QCOMPARE(report.lastErrors().size(), 1);
    QVERIFY2(report.lastErrors().at(0).startsWith(QStringLiteral("Memo10: Söz dizimi hatası 'SUM(<DBStok.\"Alis\">': ")),
             qPrintable(report.lastErrors().at(0)));
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(ui.texts(QStringLiteral("error")).at(0).startsWith(QStringLiteral("Aşağıdaki hata(lar) oluştu:\nMemo10: ")));
    // The rows were laid out before the footer failed.
    QCOMPARE(report.prepared().pageCount(), 3);
    QCOMPARE(dataRows(report.prepared(), 0) + dataRows(report.prepared(), 1) + dataRows(report.prepared(), 2), 100);

    // An expression naming a field the dataset lacks names the cell too.
    Template u = test::testTemplate(QStringLiteral("TestList"));
    u.findCell(QStringLiteral("Memo6"))->text = QStringLiteral("[DBStok.\"Yok\"]");
    Report other(u);
    other.setDataset(QStringLiteral("DBStok"), db.stok.get());
    QVERIFY(!other.prepare(nullptr));
    QCOMPARE(other.lastErrors(), QStringList{QStringLiteral("Memo6: DBStok.\"Yok\": alan bulunamadı")});
}

void LayoutTest::runPostsAnEditFirstAndEndsOnTheLastRow()
{
    StockDb db;
    db.addRows(5);
    Report report = listReport(db);
    db.stok->moveTo(1);
    db.stok->setText(QStringLiteral("Alis"), QStringLiteral("99,5"));
    QVERIFY(db.stok->isModified());
    QVERIFY(report.prepare(nullptr));
    QCOMPARE(db.stok->state(), Dataset::State::Browse);
    QCOMPARE(db.scalar(QStringLiteral("SELECT Alis FROM Stok WHERE StokKodu='STK00002'")).toDouble(), 99.5);
    QCOMPARE(texts(report.prepared(), 0, BandKind::MasterData).at(6), QStringLiteral("99,50 TL"));
    QCOMPARE(db.stok->currentRow(), 4);
}

void LayoutTest::runDropsAnUnchangedNewRow()
{
    StockDb db;
    db.addRows(2);
    Report report = listReport(db);
    db.stok->append();
    QVERIFY(report.prepare(nullptr));
    QCOMPARE(db.stok->rowCount(), 2);
    QCOMPARE(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Stok")).toInt(), 2);
    QCOMPARE(dataRows(report.prepared(), 0), 2);
}

void LayoutTest::textsSetFromOutsidePrintAsTheyStand()
{
    StockDb db;
    db.stok->open();
    Report report = listReport(db);
    // A title holding brackets must not be taken for an expression.
    report.setCellText(QStringLiteral("memo1"), QStringLiteral("Fren [arka]\r\nikinci\rüçüncü\ndört\u2028beş"));
    test::ScriptedUi ui;
    QVERIFY(report.prepare(nullptr));
    QVERIFY(ui.shown.isEmpty());
    QCOMPARE(texts(report.prepared(), 0, BandKind::ReportTitle),
             QStringList{QStringLiteral("Fren [arka]\nikinci\nüçüncü\ndört\nbeş")});
    // And it stays for the next run.
    QVERIFY(report.prepare(nullptr));
    QCOMPARE(texts(report.prepared(), 0, BandKind::ReportTitle).at(0).left(11), QStringLiteral("Fren [arka]"));
    QVERIFY_THROWS_EXCEPTION(tk::Error, report.setCellText(QStringLiteral("Memo99"), QString()));
}

void LayoutTest::formatsNumbersTheTurkishWay()
{
    DisplayFormat n{true, QStringLiteral("%2.2n TL"), QLatin1Char(',')};
    DisplayFormat f{true, QStringLiteral("%2.2f TL"), QLatin1Char(',')};
    QCOMPARE(formatValue(Value::ofNumber(1234.5), n), QStringLiteral("1.234,50 TL"));
    QCOMPARE(formatValue(Value::ofNumber(1234.5), f), QStringLiteral("1234,50 TL"));
    QCOMPARE(formatValue(Value::ofNumber(-1234567.125), n), QStringLiteral("-1.234.567,13 TL"));
    QCOMPARE(formatValue(Value::ofNumber(0), n), QStringLiteral("0,00 TL"));
    QCOMPARE(formatValue(Value(), n), QString());
    DisplayFormat dot{true, QStringLiteral("%2.2f"), QLatin1Char('.')};
    QCOMPARE(formatValue(Value::ofNumber(2.5), dot), QStringLiteral("2.50"));
    // Text format: the shortest form with the Turkish separator.
    QCOMPARE(formatValue(Value::ofNumber(1500), DisplayFormat{}), QStringLiteral("1500"));
    QCOMPARE(formatValue(Value::ofNumber(1500.5), DisplayFormat{}), QStringLiteral("1500,5"));
    // A format that cannot be applied gives the value's own text.
    QCOMPARE(formatValue(Value::ofNumber(1.5), DisplayFormat{true, QStringLiteral("%d adet"), QLatin1Char(',')}),
             QStringLiteral("1,5"));
    QCOMPARE(formatValue(Value::ofText(QStringLiteral("abc")), n), QStringLiteral("abc"));
    QCOMPARE(formatValue(Value::ofNumber(7), DisplayFormat{true, QStringLiteral("%x"), QLatin1Char(',')}),
             QStringLiteral("7"));
    QCOMPARE(formatValue(Value::ofNumber(7), DisplayFormat{true, QStringLiteral("%3d|%-3d|"), QLatin1Char(',')}),
             QStringLiteral("  7|7  |"));
}

void LayoutTest::printedAmountsRoundLikeThePages()
{
    DisplayFormat n{true, QStringLiteral("%2.2n TL"), QLatin1Char(',')};
    DisplayFormat f{true, QStringLiteral("%2.2f TL"), QLatin1Char(',')};
    // A waybill line of 1,5 × 2,01 is 3,015, a hair below it as a double: the
    // pages round it half up to 3,02, and so does the print.
    QVERIFY(1.5 * 2.01 < 3.015);
    QCOMPARE(formatValue(Value::ofNumber(1.5 * 2.01), f), QStringLiteral("3,02 TL"));
    QCOMPARE(formatValue(Value::ofNumber(1.5 * 2.01), n), QStringLiteral("3,02 TL"));
    QCOMPARE(formatValue(Value::ofNumber(-1.5 * 2.01), n), QStringLiteral("-3,02 TL"));
    // An account entry of 1,13 with 18 % VAT (0,20) paid with its total 1,33
    // leaves 1,13 + 0,20 - 1,33, a hair below zero: nothing is owed.
    const double remaining = 1.13 + 0.20 - 1.33;
    QVERIFY(remaining < 0);
    QCOMPARE(formatValue(Value::ofNumber(remaining), n), QStringLiteral("0,00 TL"));
    QCOMPARE(formatValue(Value::ofNumber(-0.004), f), QStringLiteral("0,00 TL"));
    QCOMPARE(formatValue(Value::ofNumber(-0.005), n), QStringLiteral("-0,01 TL"));
    QCOMPARE(formatValue(Value::ofNumber(1e20), n), QStringLiteral("100.000.000.000.000.000.000,00 TL"));
    QCOMPARE(formatValue(Value::ofNumber(2.675), DisplayFormat{true, QStringLiteral("%.1m"), QLatin1Char(',')}),
             QStringLiteral("2,7 TL"));
}

void LayoutTest::expressionsOfTheTemplates()
{
    StockDb db;
    db.connection->exec(QStringLiteral("INSERT INTO Stok (StokKodu, Alis, Satis) VALUES ('A', 10, 2.5)"));
    db.connection->exec(QStringLiteral("INSERT INTO Stok (StokKodu, Alis, Satis) VALUES ('B', NULL, 1)"));
    db.stok->open();
    Template t = test::testTemplate(QStringLiteral("TestList"));
    t.findCell(QStringLiteral("Memo6"))->text = QStringLiteral("x[DBStok.\"Alis\" + DBStok.\"Satis\"]y");
    t.findCell(QStringLiteral("Memo6"))->display = DisplayFormat{};
    t.findCell(QStringLiteral("Memo10"))->text =
        QStringLiteral("[SUM(<DBStok.\"Alis\">,MasterData1)+SUM(<DBStok.\"Satis\">,MasterData1)] / "
                       "[COUNT(MasterData1)] / [MAX(<DBStok.\"Satis\">,MasterData1)] [unclosed");
    t.findCell(QStringLiteral("Memo10"))->display = DisplayFormat{};
    Report report(t);
    report.setDataset(QStringLiteral("DBStok"), db.stok.get());
    QVERIFY(report.prepare(nullptr));
    const QStringList rows = texts(report.prepared(), 0, BandKind::MasterData);
    QCOMPARE(rows.at(1), QStringLiteral("x12,5y"));
    QCOMPARE(rows.at(6), QStringLiteral("x1y"));
    QCOMPARE(texts(report.prepared(), 0, BandKind::Footer).at(1), QStringLiteral("13,5 / 2 / 2,5 [unclosed"));
}

void LayoutTest::cellsAreFoundIgnoringCase()
{
    Template t = test::testTemplate(QStringLiteral("TestForm"));
    QVERIFY(t.findCell(QStringLiteral("MEMO25")));
    QCOMPARE(t.findCell(QStringLiteral("memo25"))->name, QStringLiteral("Memo25"));
    QVERIFY(!t.findCell(QStringLiteral("Memo2")));
    QCOMPARE(t.page.paperWidth, 210.0);
    QCOMPARE(t.findCell(QStringLiteral("Memo1"))->font.sizeUnits, 29); // 21.75 pt
    QVERIFY_THROWS_EXCEPTION(tk::Error, parseTemplate("{\"bands\": 3"));
    QVERIFY_THROWS_EXCEPTION(tk::Error, parseTemplate(R"({"page":{"margins":[1,1,1,1]},"bands":[{"kind":"Nope"}]})"));

    // A report without dataset links: one page of title, page header and summary.
    Report form(t);
    form.setCellText(QStringLiteral("Memo25"), QStringLiteral("çok uzun bir açıklama"));
    QVERIFY(form.prepare(nullptr));
    QCOMPARE(form.prepared().pageCount(), 1);
    QCOMPARE(texts(form.prepared(), 0, BandKind::ReportSummary).last(), QStringLiteral("çok uzun bir açıklama"));
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
