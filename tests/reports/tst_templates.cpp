// The eleven report templates: their figures against the forms they print,
// and each one run on the sample records of a real Data.dat, read back from
// the prepared pages.
#include "app/PageTable.h"
#include "reports/Report.h"
#include "reports/engine/TemplateLoader.h"
#include "reports/render/Renderer.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <memory>

using namespace tk;
using namespace tk::reports;
using tk::test::TempDatabase;

namespace {

const QStringList kTemplates = {
    QStringLiteral("RpMusTakip"), QStringLiteral("RpHasar"),  QStringLiteral("RpFatura"),
    QStringLiteral("RpCari"),     QStringLiteral("RpIrsaliye"), QStringLiteral("RpKasa"),
    QStringLiteral("RpOdeme"),    QStringLiteral("RpSenetVer"), QStringLiteral("RpSenetAl"),
    QStringLiteral("RpStok"),     QStringLiteral("RpMaas")};

double mm(double units) { return qRound(unitsToMm(units) * 10) / 10.0; }

// Text items of one page printed by bands of `kind`, in order.
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

// The text printed right after `label` in a band (the cell beside a caption).
QString after(const PreparedReport &r, int page, BandKind kind, const QString &label)
{
    const QStringList t = texts(r, page, kind);
    const int at = int(t.indexOf(label));
    return at >= 0 && at + 1 < t.size() ? t.at(at + 1) : QStringLiteral("<yok>");
}

// Lowest and highest top (mm) of the items a band of `kind` printed on a page.
std::pair<double, double> bandSpan(const PreparedReport &r, int page, BandKind kind)
{
    double lo = 1e9, hi = -1;
    const PreparedPage &p = r.page(page);
    for (std::uint32_t i = p.firstItem; i < p.firstItem + p.itemCount; ++i)
        if (r.items()[i].band == kind) {
            lo = std::min(lo, unitsToMm(r.items()[i].y));
            hi = std::max(hi, unitsToMm(r.items()[i].y));
        }
    return {lo, hi};
}

// The sample records of every page, with the datasets of the main window.
struct DemoData {
    DemoData() : db(TempDatabase::Demo), data(db.path(), datasetDefs()) {}
    Dataset *ds(const char *name) const { return data.dataset(QLatin1String(name)); }
    // Makes the master row whose `field` is `value` the current one.
    void select(const char *dataset, const char *field, const QVariant &value) const
    {
        Dataset *d = ds(dataset);
        for (int row = 0; row < d->rowCount(); ++row) {
            d->moveTo(row);
            if (d->value(QLatin1String(field)) == value)
                return;
        }
        qFatal("no %s row with %s", dataset, field);
    }
    void reread(const char *dataset) const { ds(dataset)->refresh(); }
    // A report bound to the datasets its template links name.
    std::unique_ptr<Report> report(const QString &name) const
    {
        auto r = std::make_unique<Report>(name);
        for (const DatasetLink &link : r->tmpl().links)
            r->setDataset(link.name, data.dataset(link.dataset));
        return r;
    }

    TempDatabase db;
    DataModule data;
};

} // namespace

class TemplatesTest : public QObject {
    Q_OBJECT
private slots:
    void figuresOfTheForms_data();
    void figuresOfTheForms();
    void everyCellStaysInsideItsBandAndPaper();
    void boundCellsNameTheirOwnField();

    void jobWithoutOperationsPrintsTheJobBlockOnly();
    void longJobRepeatsTheJobBlockButNotTheColumnTitles();
    void damageFormFitsOnOnePage();
    void invoicesAndWaybillsOfTheCurrentPeriod();
    void accountEntryWithoutAmounts();
    void cashRemainingIsTheSumOfTheFourTotals();
    void periodWithoutEntriesPrintsTitleAndPeriodOnly();
    void paymentPlanTotal();
    void notesReportsListTheWholeTable();
    void stockListNumbersEveryPage();
    void salaryAmountsKeepTheirOwnTextBeforeTheSuffix();
    void renderedPages();
};

// A few figures of each form, typed from the forms' cell tables.
void TemplatesTest::figuresOfTheForms_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("page");      // "P|L margins", find, link→dataset
    QTest::addColumn<QString>("bands");     // heights in layout order
    QTest::addColumn<QString>("cell");      // name left top width height
    QTest::addColumn<QString>("look");      // size bold/underline/red align frame gap format
    QTest::addColumn<QString>("text");

    QTest::newRow("RpMusTakip") << "RpMusTakip" << "P 10 10 20 20 - DBMusTakip>MusTakip1" << "15 60 25 6 10"
                                << "Memo43 151 3 25 5" << "9.75 b right - 2/1 %2.2n TL"
                                << "[SUM(<DBMusTakip.\"Tutar\">,MasterData1)]";
    QTest::newRow("RpMusTakip phones") << "RpMusTakip" << "P 10 10 20 20 - DBMusTakip>MusTakip1" << "15 60 25 6 10"
                                       << "Memo9 131 15 21 5" << "9.75 bu left - 2/1 " << "Telefonlar";
    QTest::newRow("RpMusTakip title") << "RpMusTakip" << "P 10 10 20 20 - DBMusTakip>MusTakip1" << "15 60 25 6 10"
                                      << "Memo1 0 0 190 7" << "18 b center - 2/1 " << "";
    QTest::newRow("RpHasar") << "RpHasar" << "P 20 20 25 20 - " << "14 8 137"
                             << "Memo9 10 21 51 5" << "9.75 - left - 2/1 " << "KAZALI ARAÇ SAHİBİ TC NO";
    QTest::newRow("RpHasar note") << "RpHasar" << "P 20 20 25 20 - " << "14 8 137"
                                  << "Memo43 61 111 105 5" << "9.75 - left - 2/1 " << "";
    QTest::newRow("RpHasar plate") << "RpHasar" << "P 20 20 25 20 - " << "14 8 137"
                                   << "Memo4 59 1 42 5" << "9.75 b left - 2/1 " << "";
    QTest::newRow("RpFatura") << "RpFatura" << "L 20 20 20 20 - DBFatTakip>FatTakip1" << "14 10 8 5"
                              << "Memo10 152 1 26 5" << "9.75 b left box 5/2 " << "İRS. TARİHİ";
    QTest::newRow("RpFatura no") << "RpFatura" << "L 20 20 20 20 - DBFatTakip>FatTakip1" << "14 10 8 5"
                                 << "Memo15 0 0 26 5" << "9.75 - right box 10/2 " << "[DBFatTakip.\"FaturaNo\"]";
    QTest::newRow("RpCari") << "RpCari" << "L 20 20 20 20 - DBCari>Cari1" << "14 9 8 5 6"
                            << "Memo5 27 1 82 5" << "12 b left - 2/1 " << "";
    QTest::newRow("RpCari paid") << "RpCari" << "L 20 20 20 20 - DBCari>Cari1" << "14 9 8 5 6"
                                 << "Memo24 213 1 22 5" << "9.75 b right box 5/2 " << "";
    QTest::newRow("RpIrsaliye") << "RpIrsaliye" << "L 15 15 20 20 find DBIrsaliye>Irsaliye" << "14 10 8 5 6"
                                << "Memo16 198 0 11 5" << "9 - center box 5/2 " << "[DBIrsaliye.\"MalAdet\"]";
    QTest::newRow("RpKasa") << "RpKasa" << "P 20 20 20 20 find DBKasa>Kasa1" << "14 8 6 5 36"
                            << "Memo31 77 30 20 5" << "9 br right box 5/2 %2.2f TL"
                            << "[SUM(<DBKasa.\"KKTahsis\">,MasterData1)+SUM(<DBKasa.\"KKTediye\">,MasterData1)+"
                               "SUM(<DBKasa.\"Tahsilat\">,MasterData1)+SUM(<DBKasa.\"Tediye\">,MasterData1)]";
    QTest::newRow("RpKasa signature") << "RpKasa" << "P 20 20 20 20 find DBKasa>Kasa1" << "14 8 6 5 36"
                                      << "Memo36 120 20 40 15" << "9 b center box 5/2 " << "";
    QTest::newRow("RpOdeme") << "RpOdeme" << "P 20 20 20 20 find DBOdeme>Odeme1" << "14 8 6 5 8"
                             << "Memo8 144 1 26 5" << "9 b right box 7/2 " << "TUTAR";
    QTest::newRow("RpOdeme total") << "RpOdeme" << "P 20 20 20 20 find DBOdeme>Odeme1" << "14 8 6 5 8"
                                   << "Memo3 112 2 32 5" << "9 b right - 5/2 " << "TOPLAM :";
    QTest::newRow("RpSenetVer") << "RpSenetVer" << "P 20 20 20 20 find DBSenetVer>SenetVer" << "14 6 5 8"
                                << "Memo13 97 0 47 5" << "9 - left box 5/2 " << "[DBSenetVer.\"V_Firma\"]";
    QTest::newRow("RpSenetAl") << "RpSenetAl" << "P 20 20 20 20 find DBSenetAl>SenetAl" << "14 6 5 8"
                               << "Memo13 97 0 47 5" << "9 - left box 5/2 " << "[DBSenetAl.\"A_Firma\"]";
    QTest::newRow("RpSenetAl firm title") << "RpSenetAl" << "P 20 20 20 20 find DBSenetAl>SenetAl" << "14 6 5 8"
                                          << "Memo4 97 1 47 5" << "9.75 b left box 5/2 " << "Alınan Firma";
    QTest::newRow("RpStok") << "RpStok" << "L 20 20 20 15 find DBStok>Stok" << "14 6 5 4"
                            << "SysMemo1 231 0 25 4" << "8.25 - right - 2/1 " << "Sayfa: [PAGE#] / [TOTALPAGES#]";
    QTest::newRow("RpStok price") << "RpStok" << "L 20 20 20 15 find DBStok>Stok" << "14 6 5 4"
                                  << "Memo11 205 0 26 5" << "9 - right box 7/2 %2.2n TL" << "[DBStok.\"Alis\"]";
    QTest::newRow("RpMaas") << "RpMaas" << "L 15 15 15 15 - DBMaas>Maas1" << "13 7 10 6 10"
                            << "Memo24 161 1 20 5" << "9.75 r right - 2/1 " << "[DBMaas.\"K_Toplam\"],00";
    QTest::newRow("RpMaas caption") << "RpMaas" << "L 15 15 15 15 - DBMaas>Maas1" << "13 7 10 6 10"
                                    << "Memo2 100 1 71 5" << "11.25 b center - 2/1 "
                                    << "M A A Ş   Ç İ Z E L G E S İ";
    QTest::newRow("RpMaas title") << "RpMaas" << "L 15 15 15 15 - DBMaas>Maas1" << "13 7 10 6 10"
                                  << "Memo1 0 0 267 10" << "20.25 b center - 2/1 " << "";
}

void TemplatesTest::figuresOfTheForms()
{
    QFETCH(QString, name);
    QFETCH(QString, page);
    QFETCH(QString, bands);
    QFETCH(QString, cell);
    QFETCH(QString, look);
    QFETCH(QString, text);
    const Template t = loadTemplate(name);
    QCOMPARE(t.name, name);

    const QStringList p = page.split(QLatin1Char(' '));
    QCOMPARE(t.page.landscape, p[0] == QLatin1String("L"));
    QCOMPARE(QList<double>({t.page.marginLeft, t.page.marginRight, t.page.marginTop, t.page.marginBottom}),
             QList<double>({p[1].toDouble(), p[2].toDouble(), p[3].toDouble(), p[4].toDouble()}));
    QCOMPARE(t.page.paperWidth, t.page.landscape ? 297.0 : 210.0);
    QCOMPARE(t.findButton, p[5] == QLatin1String("find"));
    QStringList links;
    for (const DatasetLink &l : t.links)
        links << l.name + QLatin1Char('>') + l.dataset;
    QCOMPARE(links.join(QLatin1Char(' ')), p.mid(6).join(QLatin1Char(' ')).trimmed());

    QStringList heights;
    for (const Band &b : t.bands)
        heights << QString::number(mm(b.height));
    QCOMPARE(heights.join(QLatin1Char(' ')), bands);

    const QStringList c = cell.split(QLatin1Char(' '));
    const Cell *found = t.findCell(c[0]);
    QVERIFY2(found, qPrintable(c[0]));
    QCOMPARE(QList<double>({mm(found->left), mm(found->top), mm(found->width), mm(found->height)}),
             QList<double>({c[1].toDouble(), c[2].toDouble(), c[3].toDouble(), c[4].toDouble()}));
    QCOMPARE(found->text, text);

    const QStringList l = look.split(QLatin1Char(' '));
    QCOMPARE(found->font.family, QStringLiteral("Arial"));
    QCOMPARE(found->font.sizeUnits, qRound(l[0].toDouble() / 0.75));
    QCOMPARE(found->font.bold, l[1].contains(QLatin1Char('b')));
    QCOMPARE(found->font.underline, l[1].contains(QLatin1Char('u')));
    QCOMPARE(found->font.color, l[1].contains(QLatin1Char('r')) ? QColor(Qt::red) : QColor(Qt::black));
    QCOMPARE(int(found->align), int(l[2] == QLatin1String("right") ? Align::Right
                                    : l[2] == QLatin1String("center") ? Align::Center : Align::Left));
    QCOMPARE(int(found->frame), l[3] == QLatin1String("box") ? int(FrameBox) : 0);
    QCOMPARE(QStringLiteral("%1/%2").arg(found->gapX).arg(found->gapY), l[4]);
    QCOMPARE(found->display.format, l.mid(5).join(QLatin1Char(' ')).trimmed());
    QCOMPARE(found->display.numeric, !found->display.format.isEmpty());
}

void TemplatesTest::everyCellStaysInsideItsBandAndPaper()
{
    for (const QString &name : kTemplates) {
        const Template t = loadTemplate(name);
        const double width = unitsToMm(t.page.printableWidthUnits());
        double total = 0;
        QSet<QString> names;
        for (const Band &b : t.bands) {
            total += unitsToMm(b.height);
            for (const Cell &c : b.cells) {
                const QString where = name + QLatin1Char('.') + c.name;
                QVERIFY2(!names.contains(c.name.toLower()), qPrintable(where + QStringLiteral(" twice")));
                names.insert(c.name.toLower());
                QVERIFY2(unitsToMm(c.left + c.width) <= width + 0.05, qPrintable(where));
                QVERIFY2(unitsToMm(c.top + c.height) <= unitsToMm(b.height) + 0.05, qPrintable(where));
                QVERIFY2(c.width > 0, qPrintable(where));
                if (c.isText())
                    QVERIFY2(c.height > 0, qPrintable(where));
            }
        }
        QVERIFY2(total < unitsToMm(t.page.printableHeightUnits()), qPrintable(name));
    }
}

void TemplatesTest::boundCellsNameTheirOwnField()
{
    int bound = 0;
    for (const QString &name : kTemplates) {
        const Template t = loadTemplate(name);
        for (const Band &b : t.bands) {
            if (b.kind == BandKind::MasterData) {
                QCOMPARE(t.links.size(), size_t(1));
                QCOMPARE(b.link, t.links.front().name);
            }
            for (const Cell &c : b.cells) {
                if (!c.isBound())
                    continue;
                ++bound;
                QCOMPARE(b.kind, BandKind::MasterData);
                QCOMPARE(c.link, b.link);
                QCOMPARE(c.text, QStringLiteral("[%1.\"%2\"]").arg(c.link, c.field));
            }
        }
    }
    // All data cells of the lists, less the account's TUTAR, the job's amount and the salary amounts.
    QCOMPARE(bound, 1 + 9 + 8 + 9 + 7 + 3 + 5 + 5 + 6 + 1);
}

void TemplatesTest::jobWithoutOperationsPrintsTheJobBlockOnly()
{
    DemoData d;
    d.select("MusTakip", "MusteriKodu", QStringLiteral("M-1007"));
    QCOMPARE(d.ds("MusTakip1")->rowCount(), 0);
    auto r = d.report(QStringLiteral("RpMusTakip"));
    r->setCellText(QStringLiteral("Memo1"), QStringLiteral("XXX TEKVANİS"));
    r->setCellText(QStringLiteral("Memo28"), QStringLiteral("07 BZ 314"));
    test::ScriptedUi ui;
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    QCOMPARE(p.pageCount(), 1);
    QCOMPARE(texts(p, 0, BandKind::ReportTitle), QStringList{QStringLiteral("XXX TEKVANİS")});
    QCOMPARE(after(p, 0, BandKind::PageHeader, QStringLiteral(":  ")), QString()); // Memo26 not set
    QVERIFY(texts(p, 0, BandKind::PageHeader).contains(QStringLiteral("07 BZ 314")));
    QVERIFY(texts(p, 0, BandKind::PageHeader).contains(QStringLiteral("Telefonlar")));
    QVERIFY(texts(p, 0, BandKind::Header).isEmpty());
    QVERIFY(texts(p, 0, BandKind::MasterData).isEmpty());
    QVERIFY(texts(p, 0, BandKind::Footer).isEmpty());
    // The job block's rectangle right below the 15 mm title.
    QCOMPARE(qRound(bandSpan(p, 0, BandKind::PageHeader).first * 10), 150);
    QVERIFY(ui.shown.isEmpty());
}

void TemplatesTest::longJobRepeatsTheJobBlockButNotTheColumnTitles()
{
    DemoData d;
    d.select("MusTakip", "MusteriKodu", QStringLiteral("M-1001"));
    const QVariant job = d.ds("MusTakip")->value(QStringLiteral("SiraNo"));
    for (int i = 1; i <= 40; ++i)
        d.db.exec(QStringLiteral("INSERT INTO MusTakip1 (SiraNo, Islem, Tutar) VALUES (%1, 'İşlem %2', 100)")
                      .arg(job.toInt()).arg(i));
    d.reread("MusTakip1");
    QCOMPARE(d.ds("MusTakip1")->rowCount(), 43);
    auto r = d.report(QStringLiteral("RpMusTakip"));
    r->setCellText(QStringLiteral("Memo27"), QStringLiteral("AHMET YILMAZ"));
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    QCOMPARE(p.pageCount(), 2);

    // Page 1: title 15 + job block 60 + column titles 25 mm, then 6 mm rows up to 257 mm.
    QCOMPARE(texts(p, 0, BandKind::Header),
             (QStringList{QStringLiteral("YAPILAN İŞLEMLER"), QStringLiteral("İşlem"), QStringLiteral("Tutar")}));
    QCOMPARE(texts(p, 0, BandKind::MasterData).size(), 26 * 2);
    QCOMPARE(texts(p, 0, BandKind::MasterData).mid(0, 2),
             (QStringList{QStringLiteral("Buji Değişimi"), QStringLiteral("850,00 TL")}));
    QCOMPARE(texts(p, 0, BandKind::MasterData).mid(2, 2),
             (QStringList{QStringLiteral("Ateşleme Bobini"), QStringLiteral("1.450,50 TL")}));
    QVERIFY(texts(p, 0, BandKind::Footer).isEmpty());

    // Page 2: the job block again at the top, no title, no column titles, the rest of the rows, the total.
    QVERIFY(texts(p, 1, BandKind::ReportTitle).isEmpty());
    QCOMPARE(texts(p, 1, BandKind::PageHeader), texts(p, 0, BandKind::PageHeader));
    QVERIFY(texts(p, 1, BandKind::PageHeader).contains(QStringLiteral("AHMET YILMAZ")));
    QCOMPARE(qRound(bandSpan(p, 1, BandKind::PageHeader).first * 10), 0);
    QVERIFY(texts(p, 1, BandKind::Header).isEmpty());
    QCOMPARE(texts(p, 1, BandKind::MasterData).size(), 17 * 2);
    QCOMPARE(texts(p, 1, BandKind::MasterData).last(), QStringLiteral("100,00 TL"));
    QCOMPARE(texts(p, 1, BandKind::Footer), (QStringList{QStringLiteral("TOPLAM :"), QStringLiteral("6.900,50 TL")}));
    QVERIFY(bandSpan(p, 1, BandKind::Footer).first > bandSpan(p, 1, BandKind::MasterData).second);
}

void TemplatesTest::damageFormFitsOnOnePage()
{
    DemoData d;
    auto r = d.report(QStringLiteral("RpHasar"));
    QVERIFY(r->tmpl().links.empty());
    const QString longText = QStringLiteral("Arka tampon, bagaj kapağı ve sol stop lambası değişecek. ").repeated(6);
    for (const char *cell : {"Memo4", "Memo5", "Memo25", "Memo33", "Memo42"})
        r->setCellText(QLatin1String(cell), QStringLiteral("34 ABC 123"));
    r->setCellText(QStringLiteral("Memo43"), longText + QStringLiteral("\nikinci satır"));
    r->setCellText(QStringLiteral("Memo1"), QStringLiteral("HASAR TAKİP"));
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    QCOMPARE(p.pageCount(), 1);
    const QStringList summary = texts(p, 0, BandKind::ReportSummary);
    QCOMPARE(summary.size(), 19 * 3);
    QCOMPARE(summary.mid(0, 3), (QStringList{QStringLiteral("KAZALI ARAÇ TİPİ"), QStringLiteral(" :"),
                                             QStringLiteral("34 ABC 123")}));
    QCOMPARE(summary.mid(54, 2), (QStringList{QStringLiteral("AÇIKLAMA"), QStringLiteral(" :")}));
    QCOMPARE(texts(p, 0, BandKind::PageHeader),
             (QStringList{QStringLiteral("KAZALI ARAÇ PLAKASI :"), QStringLiteral("34 ABC 123"),
                          QStringLiteral("DOSYA NO :"), QStringLiteral("34 ABC 123")}));
    // The summary starts below title 14 and page header 8 mm; its last row at 111 mm within it.
    QCOMPARE(qRound(bandSpan(p, 0, BandKind::ReportSummary).first * 10), 220 + 20);
    QCOMPARE(qRound(bandSpan(p, 0, BandKind::ReportSummary).second * 10), 220 + 1260);
}

void TemplatesTest::invoicesAndWaybillsOfTheCurrentPeriod()
{
    DemoData d;
    d.select("FatTakip", "Aylar", QStringLiteral("ŞUBAT"));
    auto invoices = d.report(QStringLiteral("RpFatura"));
    QVERIFY(invoices->prepare(nullptr));
    const PreparedReport &f = invoices->prepared();
    QCOMPARE(f.pageCount(), 1);
    const QStringList rows = texts(f, 0, BandKind::MasterData);
    QCOMPARE(rows.size(), 2 * 9);
    // 16 400 less 1 400, VAT 18 % of 15 000: field-bound amounts with thousands separators.
    QCOMPARE(rows.mid(0, 9), (QStringList{QStringLiteral("C-002210"), QStringLiteral("07.02.2024"),
                                          QStringLiteral("ŞİMŞEK LASTİK TİCARET"), QStringLiteral("İRS-5521"),
                                          QStringLiteral("06.02.2024"), QStringLiteral("16.400,00 TL"),
                                          QStringLiteral("1.400,00 TL"), QStringLiteral("2.700,00 TL"),
                                          QStringLiteral("17.700,00 TL")}));
    QVERIFY(texts(f, 0, BandKind::Footer).isEmpty());

    d.select("IrsaliyeUst", "Aylar", QStringLiteral("OCAK"));
    auto waybills = d.report(QStringLiteral("RpIrsaliye"));
    QVERIFY(waybills->prepare(nullptr));
    const PreparedReport &w = waybills->prepared();
    QCOMPARE(texts(w, 0, BandKind::Header).first(), QStringLiteral("FAT. NO"));
    QCOMPARE(texts(w, 0, BandKind::MasterData).size(), 3 * 9);
    QCOMPARE(texts(w, 0, BandKind::MasterData).mid(18, 9),
             (QStringList{QStringLiteral("B-118034"), QStringLiteral("18.01.2024"),
                          QStringLiteral("ÇAĞDAŞ MADENİ YAĞ A.Ş."), QStringLiteral("YG-0530"),
                          QStringLiteral("MOTOR YAĞI 5W-30 4 LT"), QStringLiteral("24"), QStringLiteral("285,00 TL"),
                          QStringLiteral("6.840,00 TL"), QStringLiteral("İRS-90871")}));
    // The empty footer still takes its place after the last row.
    QVERIFY(texts(w, 0, BandKind::Footer).isEmpty());
}

void TemplatesTest::accountEntryWithoutAmounts()
{
    DemoData d;
    d.select("Cari", "Firma", QStringLiteral("İLKER ÇİÇEK NAKLİYAT"));
    const int company = d.ds("Cari")->value(QStringLiteral("SiraNo")).toInt();
    d.db.exec(QStringLiteral("INSERT INTO Cari1 (SiraNo, FatNo, Tipi) VALUES (%1, 'S-000400', 'SATIŞ FATURASI')")
                  .arg(company));
    d.reread("Cari1");
    auto r = d.report(QStringLiteral("RpCari"));
    r->setCellText(QStringLiteral("Memo24"), QStringLiteral("5.000,00 TL"));
    r->setCellText(QStringLiteral("Memo25"), QStringLiteral("9.145,00 TL"));
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    const QStringList rows = texts(p, 0, BandKind::MasterData);
    QCOMPARE(rows.size(), 3 * 9);
    QCOMPARE(rows.mid(0, 9), (QStringList{QStringLiteral("S-000318"), QStringLiteral("15.02.2024"),
                                          QStringLiteral("SATIŞ FATURASI"), QStringLiteral("8.750,00 TL"),
                                          QStringLiteral("250,00 TL"), QStringLiteral("1.530,00 TL"),
                                          QStringLiteral("10.030,00 TL"), QStringLiteral("5.000,00 TL"),
                                          QStringLiteral("5.030,00 TL")}));
    // TUTAR is an expression (an empty amount counts as 0); the other amounts are bound and stay empty.
    QCOMPARE(rows.mid(18, 9), (QStringList{QStringLiteral("S-000400"), QString(), QStringLiteral("SATIŞ FATURASI"),
                                           QStringLiteral("0,00 TL"), QString(), QString(), QString(), QString(),
                                           QString()}));
    QCOMPARE(texts(p, 0, BandKind::Footer), (QStringList{QStringLiteral("TOPLAM :"), QStringLiteral("5.000,00 TL"),
                                                         QStringLiteral("9.145,00 TL")}));
}

void TemplatesTest::cashRemainingIsTheSumOfTheFourTotals()
{
    DemoData d;
    d.select("Kasa", "Aylar", QStringLiteral("2024 / OCAK"));
    auto r = d.report(QStringLiteral("RpKasa"));
    r->setCellText(QStringLiteral("Memo35"), QStringLiteral("AD SOYAD"));
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    QCOMPARE(p.pageCount(), 1);
    QCOMPARE(texts(p, 0, BandKind::MasterData).mid(0, 7),
             (QStringList{QStringLiteral("08.01.2024"), QStringLiteral("34 ABC 123 SERVİS ÖDEMESİ"),
                          QStringLiteral("0,00 TL"), QStringLiteral("0,00 TL"), QStringLiteral("2900,50 TL"),
                          QStringLiteral("0,00 TL"), QStringLiteral("AHMET YILMAZ")}));
    const QStringList footer = texts(p, 0, BandKind::Footer);
    QCOMPARE(footer.mid(0, 6), (QStringList{QStringLiteral("TOPLAMLAR :"), QStringLiteral("3030,00 TL"),
                                            QStringLiteral("0,00 TL"), QStringLiteral("2900,50 TL"),
                                            QStringLiteral("10000,00 TL"), QString()}));
    QCOMPARE(after(p, 0, BandKind::Footer, QStringLiteral("K.K TAHSİLAT")), QStringLiteral("3030,00 TL"));
    QCOMPARE(after(p, 0, BandKind::Footer, QStringLiteral("K.K TEDİYE")), QStringLiteral("0,00 TL"));
    QCOMPARE(after(p, 0, BandKind::Footer, QStringLiteral("N. TAHSİLAT")), QStringLiteral("2900,50 TL"));
    QCOMPARE(after(p, 0, BandKind::Footer, QStringLiteral("N. TEDİYE")), QStringLiteral("10000,00 TL"));
    // Receipts and payments are all added: 3030 + 0 + 2900,5 + 10000.
    QCOMPARE(after(p, 0, BandKind::Footer, QStringLiteral("NAKİT KALAN")), QStringLiteral("15930,50 TL"));
    // The signer's name stands below "MUHASEBE", above the empty signature box.
    QCOMPARE(footer.at(footer.indexOf(QStringLiteral("MUHASEBE")) + 3), QStringLiteral("AD SOYAD"));
    QCOMPARE(footer.at(footer.indexOf(QStringLiteral("N. TAHSİLAT")) + 2), QString());
}

void TemplatesTest::periodWithoutEntriesPrintsTitleAndPeriodOnly()
{
    DemoData d;
    d.db.exec(QStringLiteral("INSERT INTO Kasa (Aylar) VALUES ('2024 / MART')"));
    d.reread("Kasa");
    d.select("Kasa", "Aylar", QStringLiteral("2024 / MART"));
    auto r = d.report(QStringLiteral("RpKasa"));
    r->setCellText(QStringLiteral("Memo1"), QStringLiteral("KASA"));
    r->setCellText(QStringLiteral("Memo4"), QStringLiteral("2024 / MART"));
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    QCOMPARE(p.pageCount(), 1);
    QCOMPARE(texts(p, 0, BandKind::ReportTitle), QStringList{QStringLiteral("KASA")});
    QCOMPARE(texts(p, 0, BandKind::PageHeader), (QStringList{QStringLiteral("DÖNEM :"), QStringLiteral("2024 / MART")}));
    QVERIFY(texts(p, 0, BandKind::Header).isEmpty());
    QVERIFY(texts(p, 0, BandKind::Footer).isEmpty()); // no totals, no signature block
}

void TemplatesTest::paymentPlanTotal()
{
    DemoData d;
    d.select("Odeme", "Aylar", QStringLiteral("2024 / NİSAN"));
    auto r = d.report(QStringLiteral("RpOdeme"));
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    QCOMPARE(texts(p, 0, BandKind::Header),
             (QStringList{QStringLiteral("TARİH"), QStringLiteral("AÇIKLAMA"), QStringLiteral("TUTAR")}));
    QCOMPARE(texts(p, 0, BandKind::MasterData).size(), 3 * 3);
    QCOMPARE(texts(p, 0, BandKind::MasterData).last(), QStringLiteral("6.420,75 TL"));
    QCOMPARE(texts(p, 0, BandKind::Footer), (QStringList{QStringLiteral("TOPLAM :"), QStringLiteral("23.920,75 TL")}));
}

void TemplatesTest::notesReportsListTheWholeTable()
{
    DemoData d;
    d.ds("SenetVer")->last();
    d.ds("SenetAl")->last();
    auto given = d.report(QStringLiteral("RpSenetVer"));
    auto received = d.report(QStringLiteral("RpSenetAl"));
    QVERIFY(given->prepare(nullptr));
    QVERIFY(received->prepare(nullptr));
    const PreparedReport &g = given->prepared();
    const PreparedReport &a = received->prepared();
    QVERIFY(texts(g, 0, BandKind::PageHeader).isEmpty());
    QCOMPARE(texts(g, 0, BandKind::Header).at(3), QStringLiteral("VERİLDİĞİ FİRMA"));
    QCOMPARE(texts(a, 0, BandKind::Header).at(3), QStringLiteral("Alınan Firma"));
    const QStringList gRows = texts(g, 0, BandKind::MasterData);
    QCOMPARE(gRows.size(), 3 * 5);
    QCOMPARE(gRows.mid(0, 5), (QStringList{QStringLiteral("SV-0012"), QStringLiteral("15.04.2024"),
                                           QStringLiteral("ANADOLU BANKASI ÇARŞI ŞB."),
                                           QStringLiteral("ÖZGÜR OTO YEDEK PARÇA LTD. ŞTİ."),
                                           QStringLiteral("2.700,00 TL")}));
    QCOMPARE(texts(g, 0, BandKind::Footer), (QStringList{QStringLiteral("TOPLAM :"), QStringLiteral("13.050,50 TL")}));
    const QStringList aRows = texts(a, 0, BandKind::MasterData);
    QCOMPARE(aRows.size(), 2 * 5);
    QCOMPARE(aRows.at(3), QStringLiteral("İLKER ÇİÇEK NAKLİYAT"));
    QCOMPARE(texts(a, 0, BandKind::Footer), (QStringList{QStringLiteral("TOPLAM :"), QStringLiteral("9.300,00 TL")}));
}

void TemplatesTest::stockListNumbersEveryPage()
{
    DemoData d;
    for (int i = 1; i <= 100; ++i)
        d.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi, Adet, Raf, Alis, Satis) "
                                 "VALUES ('ZZ-%1', 'PARÇA %1', %2, 'R-1', 1234.5, 1500)")
                      .arg(i, 4, 10, QLatin1Char('0')).arg(i % 7));
    d.reread("Stok");
    QCOMPARE(d.ds("Stok")->rowCount(), 109);
    auto r = d.report(QStringLiteral("RpStok"));
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    // 175 mm high: page 1 holds title 14 + titles 6 + 30 rows, later pages 34 rows, above the 4 mm page footer.
    QCOMPARE(p.pageCount(), 4);
    int rows = 0;
    for (int page = 0; page < 4; ++page) {
        QCOMPARE(texts(p, page, BandKind::PageFooter), QStringList{QStringLiteral("Sayfa: %1 / 4").arg(page + 1)});
        QCOMPARE(qRound(bandSpan(p, page, BandKind::PageFooter).first * 10), 1750 - 40);
        QCOMPARE(texts(p, page, BandKind::Header).isEmpty(), page > 0);
        rows += int(texts(p, page, BandKind::MasterData).size()) / 6;
    }
    QCOMPARE(int(texts(p, 0, BandKind::MasterData).size()) / 6, 30);
    QCOMPARE(int(texts(p, 1, BandKind::MasterData).size()) / 6, 34);
    QCOMPARE(rows, 109);
    QCOMPARE(texts(p, 3, BandKind::MasterData).mid(0, 6),
             (QStringList{QStringLiteral("ZZ-0090"), QStringLiteral("PARÇA 0090"), QStringLiteral("6"),
                          QStringLiteral("R-1"), QStringLiteral("1.234,50 TL"), QStringLiteral("1.500,00 TL")}));
}

void TemplatesTest::salaryAmountsKeepTheirOwnTextBeforeTheSuffix()
{
    DemoData d;
    d.select("Maas", "Aylar", QStringLiteral("2024 / ŞUBAT"));
    const int period = d.ds("Maas")->value(QStringLiteral("SiraNo")).toInt();
    d.db.exec(QStringLiteral("INSERT INTO Maas1 (SiraNo, Personel, Maas, O_Tutar, O_Tutari, Kalan) "
                             "VALUES (%1, 'YENİ PERSONEL', 1500.5, 1500.5, NULL, 1500.5)").arg(period));
    d.reread("Maas1");
    auto r = d.report(QStringLiteral("RpMaas"));
    r->setCellText(QStringLiteral("Memo4"), QStringLiteral("2024 / ŞUBAT"));
    QVERIFY(r->prepare(nullptr));
    const PreparedReport &p = r->prepared();
    QCOMPARE(texts(p, 0, BandKind::PageHeader),
             (QStringList{QStringLiteral("M A A Ş   Ç İ Z E L G E S İ"), QStringLiteral("Dönem:"),
                          QStringLiteral("2024 / ŞUBAT")}));
    const QStringList rows = texts(p, 0, BandKind::MasterData);
    QCOMPARE(rows.size(), 4 * 11);
    QCOMPARE(rows.mid(0, 11), (QStringList{QStringLiteral("ŞÜKRÜ ERDOĞAN"), QStringLiteral("22500,00"),
                                           QStringLiteral("1200,00"), QStringLiteral("1275,5,00"),
                                           QStringLiteral("24975,5,00"), QStringLiteral("0,00"), QStringLiteral("0,00"),
                                           QStringLiteral("0,00"), QStringLiteral("24975,5,00"),
                                           QStringLiteral("24975,5,00"), QStringLiteral("0,00")}));
    // Empty amounts count as 0 in these expression cells.
    QCOMPARE(rows.mid(33, 11), (QStringList{QStringLiteral("YENİ PERSONEL"), QStringLiteral("1500,5,00"),
                                            QStringLiteral("0,00"), QStringLiteral("0,00"), QStringLiteral("0,00"),
                                            QStringLiteral("0,00"), QStringLiteral("0,00"), QStringLiteral("0,00"),
                                            QStringLiteral("1500,5,00"), QStringLiteral("0,00"),
                                            QStringLiteral("1500,5,00")}));
    // 24975,5 + 16800 + 17902 + 1500,5 payable; 24975,5 + 16000 + 17902 paid; 800 + 1500,5 left.
    QCOMPARE(texts(p, 0, BandKind::Footer), (QStringList{QStringLiteral("TOPLAM :"), QStringLiteral("61178,00"),
                                                         QStringLiteral("58877,5,00"), QStringLiteral("2300,5,00")}));
}

// With TK_REPORT_PNG_DIR set, draws every page of each report on sample
// records into <dir>/<template>-<page>.png for looking at beside the forms.
void TemplatesTest::renderedPages()
{
    DemoData d;
    for (int i = 1; i <= 80; ++i)
        d.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi, Adet, Raf, Alis, Satis) "
                                 "VALUES ('ZZ-%1', 'ÖN FREN BALATASI TAKIMI %1', 4, 'A-0%2', 450, 620)")
                      .arg(i, 4, 10, QLatin1Char('0')).arg(i % 9));
    d.reread("Stok");
    const QString dir = qEnvironmentVariable("TK_REPORT_PNG_DIR");
    const QHash<QString, QStringList> cells = {
        {QStringLiteral("RpMusTakip"),
         {QStringLiteral("Memo1=XXX TEKVANİS"), QStringLiteral("Memo26=M-1001"), QStringLiteral("Memo32=08.01.2024"),
          QStringLiteral("Memo27=AHMET YILMAZ"), QStringLiteral("Memo28=34 ABC 123"), QStringLiteral("Memo29=FİAT"),
          QStringLiteral("Memo30=2015"), QStringLiteral("Memo31=128500"), QStringLiteral("Memo33=0532 411 25 63"),
          QStringLiteral("Memo34=0216 345 12 90"), QStringLiteral("Memo35="),
          QStringLiteral("Memo36=Motor soğukta zor çalışıyor.\nRölantide titreme var."),
          QStringLiteral("Memo37=Bujiler ve ateşleme bobini kontrol edildi.")}},
        {QStringLiteral("RpHasar"),
         {QStringLiteral("Memo1=HASAR TAKİP"), QStringLiteral("Memo4=34 ABC 123"), QStringLiteral("Memo5=HSR-2024/001"),
          QStringLiteral("Memo25=FİAT"), QStringLiteral("Memo29=22.01.2024"), QStringLiteral("Memo30=GÜVEN SİGORTA A.Ş."),
          QStringLiteral("Memo42=21.000,00"),
          QStringLiteral("Memo43=Arka tampon, bagaj kapağı ve sol stop lambası değişecek.")}},
        {QStringLiteral("RpFatura"), {QStringLiteral("Memo1=FATURALAR"), QStringLiteral("Memo4=2024"), QStringLiteral("Memo5=OCAK")}},
        {QStringLiteral("RpCari"), {QStringLiteral("Memo1=CARİ HESAPLAR"), QStringLiteral("Memo5=ÖZGÜR OTO YEDEK PARÇA LTD. ŞTİ."),
                                     QStringLiteral("Memo24=13.200,00 TL"), QStringLiteral("Memo25=2.090,00 TL")}},
        {QStringLiteral("RpIrsaliye"), {QStringLiteral("Memo1=İRSALİYELER"), QStringLiteral("Memo21=2024"), QStringLiteral("Memo23=OCAK")}},
        {QStringLiteral("RpKasa"), {QStringLiteral("Memo1=KASA"), QStringLiteral("Memo4=2024 / OCAK"), QStringLiteral("Memo35=AD SOYAD")}},
        {QStringLiteral("RpOdeme"), {QStringLiteral("Memo1=ÖDEME PLANI"), QStringLiteral("Memo4=2024 / NİSAN")}},
        {QStringLiteral("RpSenetVer"), {QStringLiteral("Memo1=VERİLEN SENETLER")}},
        {QStringLiteral("RpSenetAl"), {QStringLiteral("Memo1=ALINAN SENETLER")}},
        {QStringLiteral("RpStok"), {QStringLiteral("Memo1=YEDEK PARÇA LİSTESİ")}},
        {QStringLiteral("RpMaas"), {QStringLiteral("Memo1=MAAŞ"), QStringLiteral("Memo4=2024 / OCAK")}},
    };
    for (const QString &name : kTemplates) {
        auto r = d.report(name);
        for (const QString &set : cells.value(name))
            r->setCellText(set.section(QLatin1Char('='), 0, 0), set.section(QLatin1Char('='), 1));
        test::ScriptedUi ui;
        QVERIFY2(r->prepare(nullptr), qPrintable(name));
        const PreparedReport &p = r->prepared();
        // Every page draws; a blank page would mean the renderer dropped the items.
        for (int page = 0; page < p.pageCount(); ++page) {
            const PageSetup &setup = p.setup(page);
            QImage image(QSize(qRound(setup.paperWidth * 4), qRound(setup.paperHeight * 4)), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            Renderer(p).drawPage(painter, page, QRectF(QPointF(0, 0), QSizeF(image.size())));
            painter.end();
            int dark = 0;
            for (int y = 0; y < image.height(); y += 2)
                for (int x = 0; x < image.width(); x += 2)
                    dark += qGray(image.pixel(x, y)) < 128;
            QVERIFY2(dark > 200, qPrintable(QStringLiteral("%1 page %2").arg(name).arg(page + 1)));
            if (!dir.isEmpty())
                image.save(QDir(dir).filePath(QStringLiteral("%1-%2.png").arg(name).arg(page + 1)));
        }
    }
}

QTEST_MAIN(TemplatesTest)
#include "tst_templates.moc"
