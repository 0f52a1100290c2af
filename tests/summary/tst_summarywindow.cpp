// The summary window offscreen on a real Data.dat: the five tabs and their
// figures, "Kayıt yok" on empty books, the charts saved as pictures (decoded
// here) and PDF, printing, the window following the books as rows are saved
// and deleted, the month box, and the "ÖZET" button of the main window.
#include "app/PageTable.h"
#include "app/TForm1.h"
#include "controls/Hints.h"
#include "data/DataModule.h"
#include "summary/SummaryChart.h"
#include "summary/SummaryWindow.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDateEdit>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>

using namespace tk;
using tk::test::ScriptedUi;
using tk::test::TempDatabase;

namespace {

const QStringList captions = {"Kasa", "Servis", "Cari", "Vadeler", "Stok"};

struct Summary {
    TempDatabase db;
    DataModule data;
    SummaryWindow window;
    ScriptedUi ui;

    Summary(TempDatabase::Fill fill, QDate today) : db(fill), data(db.path(), datasetDefs()), window(&data, today)
    {
        window.show();
        QTRY_VERIFY(window.isVisible());
        showTab(0);
    }
    QTabWidget *tabs() const { return window.findChild<QTabWidget *>(QStringLiteral("PageOzet")); }
    QTableWidget *table(int tab) const { return window.findChild<QTableWidget *>(QStringLiteral("Table") + captions[tab]); }
    QChart *chart(int tab) const { return window.findChild<QChartView *>(QStringLiteral("Chart") + captions[tab])->chart(); }
    // Clicks the tab, as the user does, and waits for its figures.
    void showTab(int tab)
    {
        QTabBar *bar = tabs()->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
        QCOMPARE(tabs()->currentIndex(), tab);
        QTRY_VERIFY(chart(tab)->title() != QString());
        QTest::qWait(80); // the refresh timer
    }
    QStringList row(int tab, int r) const
    {
        QStringList texts;
        for (int c = 0; c < table(tab)->columnCount(); ++c)
            texts << table(tab)->item(r, c)->text();
        return texts;
    }
    QStringList lastRow(int tab) const { return row(tab, table(tab)->rowCount() - 1); }
    void press(const char *button) { QTest::mouseClick(window.findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton); }
};

// The main window shown on the demo books.
struct MainWindow {
    TempDatabase db{TempDatabase::Demo};
    ScriptedUi ui;
    TForm1 form{paths(db)};

    MainWindow() { form.show(); }
    static AppPaths paths(const TempDatabase &db)
    {
        AppPaths p;
        p.programFolder = db.folder();
        p.configFolder = db.folder() + QStringLiteral("/config");
        return p;
    }
};

int pixelsOf(const QImage &image, QColor colour)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        n += int(std::count(line, line + rgb.width(), colour.rgb()));
    }
    return n;
}

QByteArray head(const QString &path, int bytes)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(bytes) : QByteArray();
}

} // namespace

class SummaryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void fiveTabsWithTheirFigures();
    void emptyBooksShowKayitYok();
    void eachChartSavedAsPictureAndPdf();
    void suffixAddedNeverOverwritesUnasked();
    void printing();
    void followsTheBooks();
    void monthBoxMovesTheMonths();
    void releasedConnectionLeavesTheFigures();
    void mainWindowButtonOpensTheWindow();
    void anotherDesksSaveShowsInTheOpenWindow();
};

void SummaryWindowTest::fiveTabsWithTheirFigures()
{
    Summary s(TempDatabase::Demo, QDate(2024, 3, 15));
    QCOMPARE(s.window.windowTitle(), QStringLiteral("Özet"));
    QCOMPARE(s.tabs()->count(), 5);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(s.tabs()->tabText(i), captions[i]);

    // The demo cash book: January and February of 2024.
    QCOMPARE(s.table(0)->rowCount(), 13);
    QCOMPARE(s.row(0, 9), (QStringList{"Oca 2024", "5.930,50", "10.000,00", "-4.069,50"}));
    QCOMPARE(s.row(0, 10), (QStringList{"Şub 2024", "6.450,25", "18.550,00", "-12.099,75"}));
    QCOMPARE(s.row(0, 11), (QStringList{"Mar 2024", "0,00", "0,00", "0,00"}));
    QCOMPARE(s.chart(0)->series().size(), 2); // bars and the net line

    s.showTab(1);
    QCOMPARE(s.row(1, 9), (QStringList{"Oca 2024", "2", "5.930,50"}));
    QCOMPARE(s.lastRow(1), (QStringList{"Toplam", "7", "20.430,75"}));

    // Remaining balances: the return invoice lowers GÜNEŞ AKÜ's; ŞİMŞEK has paid all it owed.
    s.showTab(2);
    QCOMPARE(s.table(2)->rowCount(), 3);
    QCOMPARE(s.row(2, 0), (QStringList{"İLKER ÇİÇEK NAKLİYAT", "10.104,00"}));
    QCOMPARE(s.row(2, 1), (QStringList{"ÖZGÜR OTO YEDEK PARÇA LTD. ŞTİ.", "4.160,00"}));
    QCOMPARE(s.row(2, 2), (QStringList{"GÜNEŞ AKÜ VE OTO ELEKTRİK", "3.040,00"}));

    s.showTab(3);
    QCOMPARE(s.row(3, 1), (QStringList{"Nis 2024", "2.700,00", "5.000,00"}));
    QCOMPARE(s.row(3, 3), (QStringList{"Haz 2024", "7.850,50", "0,00"}));

    s.showTab(4);
    QCOMPARE(s.table(4)->rowCount(), 10);
    QCOMPARE(s.row(4, 0), (QStringList{"YP-0420 BUJİ (4'LÜ TAKIM)", "8.320,00", "11.520,00"}));
    QCOMPARE(s.lastRow(4)[0], QStringLiteral("Tüm stok (9 kalem)"));
}

void SummaryWindowTest::emptyBooksShowKayitYok()
{
    Summary s(TempDatabase::Empty, QDate(2024, 3, 15));
    for (int i = 0; i < 5; ++i) {
        s.showTab(i);
        QCOMPARE(s.chart(i)->title(), QStringLiteral("Kayıt yok"));
        QVERIFY(s.chart(i)->series().isEmpty());
        QCOMPARE(s.table(i)->rowCount(), 0);
    }
    QVERIFY(s.ui.shown.isEmpty()); // no error box
}

void SummaryWindowTest::eachChartSavedAsPictureAndPdf()
{
    Summary s(TempDatabase::Demo, QDate(2024, 3, 15));
    for (int i = 0; i < 5; ++i) {
        s.showTab(i);
        const QString base = s.db.folder() + QStringLiteral("/chart-") + captions[i];
        s.ui.files.push_back(base); // the suffix is added
        s.press("ButtonSaveImage");
        QImage image(base + QStringLiteral(".png"));
        QVERIFY2(!image.isNull(), qPrintable(captions[i]));
        QCOMPARE(image.size(), QSize(1200, 750));
        // The bars are there, in their series' colours.
        for (const SheetSeries &series : s.window.sheet(i).series)
            if (series.kind == SheetSeries::Kind::Bars)
                QVERIFY2(pixelsOf(image, series.colour) > 200, qPrintable(captions[i] + series.name));

        s.ui.files.push_back(base + QStringLiteral(".pdf"));
        s.press("ButtonSavePdf");
        QCOMPARE(head(base + QStringLiteral(".pdf"), 5), QByteArray("%PDF-"));
    }
    // Cancelled: nothing written, nothing said.
    s.ui.files.push_back(QString());
    s.press("ButtonSaveImage");
    QVERIFY(s.ui.shown.isEmpty());

    // A file that cannot be written is reported, not passed over.
    s.ui.files.push_back(s.db.folder() + QStringLiteral("/no-such-folder/chart.png"));
    s.press("ButtonSaveImage");
    QCOMPARE(s.ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(s.ui.texts(QStringLiteral("error")).first().contains(QStringLiteral("yazılamadı")));

    // An empty chart still makes a picture, saying so.
    Summary empty(TempDatabase::Empty, QDate(2024, 3, 15));
    empty.ui.files.push_back(empty.db.folder() + QStringLiteral("/empty.png"));
    empty.press("ButtonSaveImage");
    QVERIFY(!QImage(empty.db.folder() + QStringLiteral("/empty.png")).isNull());
}

// The chooser asked about "grafik"; the file written is "grafik.png", which
// the user was never asked about.
void SummaryWindowTest::suffixAddedNeverOverwritesUnasked()
{
    Summary s(TempDatabase::Demo, QDate(2024, 3, 15));
    const QString base = s.db.folder() + QStringLiteral("/grafik");
    const QString png = base + QStringLiteral(".png");
    {
        QFile f(png);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("earlier picture");
    }
    s.ui.files.push_back(base);
    s.press("ButtonSaveImage"); // answered No
    QCOMPARE(s.ui.texts(QStringLiteral("ask")).size(), 1);
    QVERIFY(s.ui.texts(QStringLiteral("ask")).first().contains(png));
    QCOMPARE(head(png, 100), QByteArray("earlier picture"));

    s.ui.files.push_back(base);
    s.ui.answers.push_back(UiSeam::Answer::Yes);
    s.press("ButtonSaveImage");
    QVERIFY(!QImage(png).isNull());

    // A name the chooser itself confirmed is not asked about twice.
    s.ui.files.push_back(png);
    s.press("ButtonSaveImage");
    QCOMPARE(s.ui.texts(QStringLiteral("ask")).size(), 2);
}

void SummaryWindowTest::printing()
{
    Summary s(TempDatabase::Demo, QDate(2024, 3, 15));
    // The printed page is drawn by the same maker, here onto a PDF printer.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString path = s.db.folder() + QStringLiteral("/printed.pdf");
    printer.setOutputFileName(path);
    printChart(s.window.sheet(0), printer);
    QCOMPARE(head(path, 5), QByteArray("%PDF-"));

    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed: the print dialog would wait for a person");
    s.press("ButtonPrint");
    QCOMPARE(s.ui.texts(QStringLiteral("error")), QStringList{"Bilgisayarınızda kurulu hiçbir yazıcı yok"});
}

void SummaryWindowTest::followsTheBooks()
{
    Summary s(TempDatabase::Demo, QDate(2024, 3, 15));
    s.showTab(4);
    Dataset *stock = s.data.dataset(QStringLiteral("Stok"));
    stock->append();
    stock->setText(QStringLiteral("StokKodu"), QStringLiteral("YP-9999"));
    stock->setText(QStringLiteral("StokAdi"), QStringLiteral("ŞANZIMAN"));
    stock->setText(QStringLiteral("Adet"), QStringLiteral("2"));
    stock->setText(QStringLiteral("Alis"), QStringLiteral("10000,5"));
    stock->setText(QStringLiteral("Satis"), QStringLiteral("12000"));
    QTest::qWait(100);
    QCOMPARE(s.lastRow(4)[0], QStringLiteral("Tüm stok (9 kalem)")); // typing is not saving
    stock->post();
    QTRY_COMPARE(s.lastRow(4)[0], QStringLiteral("Tüm stok (10 kalem)"));
    QCOMPARE(s.row(4, 0), (QStringList{"YP-9999 ŞANZIMAN", "20.001,00", "24.000,00"}));
    stock->remove();
    QTRY_COMPARE(s.lastRow(4)[0], QStringLiteral("Tüm stok (9 kalem)"));

    // A cash entry saved while another tab is shown appears when its tab is.
    Dataset *periods = s.data.dataset(QStringLiteral("Kasa"));
    periods->first();
    Dataset *cash = s.data.dataset(QStringLiteral("Kasa1"));
    cash->append();
    cash->setText(QStringLiteral("Tarih"), QStringLiteral("05.03.2024"));
    cash->setText(QStringLiteral("Tediye"), QStringLiteral("-250,5"));
    cash->post();
    s.showTab(0);
    QTRY_COMPARE(s.row(0, 11), (QStringList{"Mar 2024", "0,00", "-250,50", "250,50"}));
}

void SummaryWindowTest::monthBoxMovesTheMonths()
{
    Summary s(TempDatabase::Demo, QDate(2024, 3, 15));
    auto *month = s.window.findChild<QDateEdit *>(QStringLiteral("DateMonth"));
    QCOMPARE(month->text(), QStringLiteral("03.2024"));
    month->setFocus();
    month->setSelectedSection(QDateTimeEdit::MonthSection);
    QTest::keyClick(month, Qt::Key_Down);
    QCOMPARE(s.window.month(), QDate(2024, 2, 1));
    // The cash book's twelve months now end with February.
    QTRY_COMPARE(s.row(0, 11), (QStringList{"Şub 2024", "6.450,25", "18.550,00", "-12.099,75"}));
    QCOMPARE(s.row(0, 0)[0], QStringLiteral("Mar 2023"));
    // The notes start with February: nothing falls due before April.
    s.showTab(3);
    QCOMPARE(s.row(3, 0), (QStringList{"Şub 2024", "0,00", "0,00"}));
    QCOMPARE(s.row(3, 2), (QStringList{"Nis 2024", "2.700,00", "5.000,00"}));
}

void SummaryWindowTest::releasedConnectionLeavesTheFigures()
{
    Summary s(TempDatabase::Demo, QDate(2024, 3, 15));
    const QStringList before = s.row(0, 9);
    s.data.releaseConnection(); // the repair button does this before maintenance
    s.window.findChild<QDateEdit *>(QStringLiteral("DateMonth"))->setDate(QDate(2023, 1, 1));
    s.tabs()->setCurrentIndex(1);
    QTest::qWait(100);
    QCOMPARE(s.chart(1)->title(), QString()); // the figures wait for the books
    s.tabs()->setCurrentIndex(0);
    QTest::qWait(100);
    QCOMPARE(s.row(0, 9), before);
    QVERIFY(s.ui.shown.isEmpty());
}

void SummaryWindowTest::mainWindowButtonOpensTheWindow()
{
    MainWindow m;
    TForm1 &form = m.form;
    auto *button = form.findChild<QToolButton *>(QStringLiteral("SpeedButton14"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("ÖZET"));
    QCOMPARE(effectiveLongHint(button), QStringLiteral("Özet grafikler..."));
    QVERIFY(!button->icon().isNull());
    // After "VT. Onar", before "KAPAT".
    const int x = button->geometry().x();
    QVERIFY(form.findChild<QToolButton *>(QStringLiteral("SpeedButton12"))->geometry().x() < x);
    QVERIFY(form.findChild<QToolButton *>(QStringLiteral("SpeedButton13"))->geometry().x() > x);

    QTest::mouseClick(button, Qt::LeftButton);
    auto *summary = form.findChild<SummaryWindow *>();
    QVERIFY(summary);
    QTRY_VERIFY(summary->isVisible());
    QCOMPARE(summary->windowModality(), Qt::NonModal);
    QVERIFY(summary->isWindow());
    QTest::mouseClick(button, Qt::LeftButton); // the same window again
    QCOMPARE(form.findChildren<SummaryWindow *>().size(), 1);
    // Its month is this month.
    QCOMPARE(summary->month(), QDate(QDate::currentDate().year(), QDate::currentDate().month(), 1));

    // Escape closes it; the main window stays.
    QApplication::setActiveWindow(summary);
    QTest::keyClick(summary, Qt::Key_Escape);
    QTRY_VERIFY(!summary->isVisible());
    QVERIFY(form.isVisible());
}

// Another desk's saves reach the summary open at this desk, as they reach its
// lists: the tab shown is read again, a tab not shown when it is next shown.
void SummaryWindowTest::anotherDesksSaveShowsInTheOpenWindow()
{
    MainWindow m;
    TForm1 &form = m.form;
    QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("SpeedButton14")), Qt::LeftButton);
    auto *summary = form.findChild<SummaryWindow *>();
    QVERIFY(summary);
    auto *tabs = summary->findChild<QTabWidget *>(QStringLiteral("PageOzet"));
    tabs->setCurrentIndex(4);
    const auto stockTotal = [&] {
        auto *table = summary->findChild<QTableWidget *>(QStringLiteral("TableStok"));
        return table->rowCount() > 0 ? table->item(table->rowCount() - 1, 0)->text() : QString();
    };
    QTRY_COMPARE(stockTotal(), QStringLiteral("Tüm stok (9 kalem)"));

    m.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi, Adet, Alis) VALUES ('YP-1', 'KAPI', 1, 10)"));
    QTRY_COMPARE_WITH_TIMEOUT(stockTotal(), QStringLiteral("Tüm stok (10 kalem)"), 5000);
    QCOMPARE(m.ui.shown.size(), 0);
}

QTEST_MAIN(SummaryWindowTest)
#include "tst_summarywindow.moc"
