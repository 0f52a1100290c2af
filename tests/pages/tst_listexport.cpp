// The right-button menu of the record lists: every row of the list's dataset
// in a CSV file (read back by an RFC 4180 parser with ";" between fields) and
// in an xlsx file (unzipped: numbers and dates as numeric cells).
#include "controls/TSrDBGrid.h"
#include "reports/export/ListExport.h"
#include "support/PagesLedgerKit.h"

#include <QFile>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>

using namespace tk;
using namespace tk::test;

namespace {

constexpr int kCariPage = 3;
constexpr int kStokPage = 8;

// RFC 4180 with ";" as the separator: quoted fields may hold the separator,
// doubled quotes and line breaks; records end with CRLF.
QVector<QStringList> parseCsv(const QString &text)
{
    QVector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && !fieldStarted) {
            quoted = fieldStarted = true;
        } else if (c == u';') {
            record << field;
            field.clear();
            fieldStarted = false;
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            record << field;
            records << record;
            record.clear();
            field.clear();
            fieldStarted = false;
            ++i;
        } else {
            if (c == u'"' || c == u'\n' || c == u'\r')
                qWarning("bare %c in an unquoted field", char(c.unicode()));
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !record.isEmpty())
        qWarning("last record without CRLF");
    return records;
}

QByteArray unzipped(const QString &file, const QString &member)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

QAction *menuAction(const LedgerFixture &f, const char *grid, const char *action)
{
    auto *list = f.form->findChild<QTableView *>(QLatin1String(grid));
    if (list->contextMenuPolicy() != Qt::ActionsContextMenu)
        qFatal("%s has no menu", grid);
    for (QAction *a : list->actions())
        if (a->objectName() == QLatin1String(action))
            return a;
    qFatal("%s has no %s", grid, action);
}

// Companies ARAS (1) and BORA (2) with invoices given as
// (SiraNo, FatNo, FatTarihi, Tipi, Tutar, Iskonto, Kalan) rows; the page stands on ARAS.
void companiesWithInvoices(LedgerFixture &f, const char *invoices)
{
    f.db.exec(QStringLiteral("INSERT INTO Cari (SiraNo, Firma) VALUES (1,'ARAS'), (2,'BORA')"));
    f.db.exec(QStringLiteral("INSERT INTO Cari1 (SiraNo, FatNo, FatTarihi, Tipi, Tutar, Iskonto, Kalan) VALUES ")
              + QString::fromUtf8(invoices));
    f.dataset("Cari")->refresh();
}

// The list's menu entry `action` chosen and `fileName` in `dir` given as the file; returns its path.
QString exportThroughTheMenu(LedgerFixture &f, const char *grid, const char *action, const QTemporaryDir &dir,
                             const QString &fileName)
{
    f.ui.files.push_back(dir.filePath(fileName));
    menuAction(f, grid, action)->trigger();
    const QString path = dir.filePath(fileName.contains(QLatin1Char('.')) ? fileName : fileName + QStringLiteral(".csv"));
    if (!f.ui.texts(QStringLiteral("error")).isEmpty())
        qWarning("%s", qPrintable(f.ui.texts(QStringLiteral("error")).join(QLatin1Char('\n'))));
    return path;
}

} // namespace

class ListExportTest : public QObject {
    Q_OBJECT
private slots:
    void csvHoldsEveryRowReadBackByAParser();
    void csvOfADetailListWithDatesAndAHiddenColumn();
    void csvTextThatLooksLikeAFormulaStaysText();
    void xlsxHasNumbersAndDatesAsValues();
    void everyListHasTheMenu();
    void stoppedExportLeavesNoFile();
    void aCompletedNameAsksBeforeReplacingAFile();
    void longExportShowsAProgressWindowThatStops();
};

void ListExportTest::csvHoldsEveryRowReadBackByAParser()
{
    LedgerFixture f(kStokPage);
    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi, Adet, Raf, Alis, Satis) VALUES"
                             " ('K;1', 'SOMUN \"M8\"', 3, 'RAF' || char(13) || char(10) || 'ALT', 1500.5, -2.25),"
                             " ('K2', 'ŞİŞE İĞNE ÇÖP ĞÜ', NULL, '', 0, 1e6)"));
    f.db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500)"
                             " INSERT INTO Stok (StokKodu, Alis) SELECT 'S' || i, i / 4.0 FROM n"));
    f.dataset("Stok")->refresh();

    QTemporaryDir dir;
    QFile file(exportThroughTheMenu(f, "SrDBGrid7", "ListCsvExport", dir, QStringLiteral("stok"))); // the suffix is added
    QCOMPARE(file.fileName(), dir.filePath(QStringLiteral("stok.csv")));
    QVERIFY(f.ui.texts(QStringLiteral("error")).isEmpty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QVector<QStringList> records = parseCsv(QString::fromUtf8(bytes.mid(3)));
    QCOMPARE(records.size(), 1 + 502); // every row, not only those on screen
    QCOMPARE(records[0], QStringList({"STOK KODU", "STOK ADI", "ADEDİ", "RAF NO", "ALIŞ FİYATI", "SATIŞ FİYATI"}));
    QCOMPARE(records[1], QStringList({"K;1", "SOMUN \"M8\"", "3", "RAF\r\nALT", "1500,5", "-2,25"}));
    QCOMPARE(records[2], QStringList({"K2", "ŞİŞE İĞNE ÇÖP ĞÜ", "", "", "0", "1000000"}));
    QCOMPARE(records[502], QStringList({"S500", "", "", "", "125", ""}));
    QCOMPARE(records[4][4], QStringLiteral("0,5"));
    // fields are quoted only where they must be
    QVERIFY(bytes.contains("\r\nK2;"));
}

void ListExportTest::csvOfADetailListWithDatesAndAHiddenColumn()
{
    LedgerFixture f(kCariPage);
    companiesWithInvoices(f, "(1,'F1','2024-01-05','ALIŞ',1180,NULL,99), (2,'G1','2023-02-02','SATIŞ',5,NULL,5)");
    QTemporaryDir dir;
    QFile file(exportThroughTheMenu(f, "SrDBGrid11", "ListCsvExport", dir, QStringLiteral("faturalar.csv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QVector<QStringList> records = parseCsv(QString::fromUtf8(file.readAll().mid(3)));
    // The company's invoices (the list's rows); Kalan is a hidden column of the list.
    QCOMPARE(records.size(), 2);
    QCOMPARE(records[0], QStringList({"Fat. No", "Fat. Tarihi", "Tipi", "Tutar", "İskonto", "Kdv", "Toplam", "Ödenen"}));
    QCOMPARE(records[1], QStringList({"F1", "05.01.2024", "ALIŞ", "1180", "", "", "", ""}));
}

void ListExportTest::csvTextThatLooksLikeAFormulaStaysText()
{
    // A part typed on the page whose texts a spreadsheet would run as formulas
    // (a code beginning with "=", a shelf written as a telephone number, a
    // name beginning with "@" or "-"), next to a negative price.
    LedgerFixture f(kStokPage);
    f.click("ToolButton46");
    f.type("DBEdit47", QStringLiteral("=HYPERLINK(\"x\";\"y\")"));
    f.type("DBEdit48", QStringLiteral("@sum(a1)"));
    f.type("DBEdit50", QStringLiteral("+90 532"));
    f.type("DBEdit52", QStringLiteral("-2,25"));
    f.trigger("StokPost");
    QCOMPARE(f.ui.texts(QStringLiteral("error")), QStringList());
    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi, Raf) VALUES ('K2', '-UÇ', char(9) || 'ALT')"));
    f.dataset("Stok")->refresh();

    QTemporaryDir dir;
    QFile file(exportThroughTheMenu(f, "SrDBGrid7", "ListCsvExport", dir, QStringLiteral("stok.csv")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QVector<QStringList> records = parseCsv(QString::fromUtf8(file.readAll().mid(3)));
    // The texts keep a leading apostrophe, which spreadsheets take as "this is
    // text"; amounts stay numbers.
    QCOMPARE(records.size(), 3);
    QVERIFY(records.contains(QStringList({"'=HYPERLINK(\"X\";\"Y\")", "'@SUM(A1)", "", "'+90 532", "", "-2,25"})));
    QVERIFY(records.contains(QStringList({"K2", "'-UÇ", "", "'\tALT", "", ""})));
}

void ListExportTest::xlsxHasNumbersAndDatesAsValues()
{
    LedgerFixture f(kCariPage);
    companiesWithInvoices(f, "(1,'F1','2024-01-05','ALIŞ',1500.5,NULL,NULL), (1,'0012','1999-12-31','İADE',-3,2,NULL)");
    QTemporaryDir dir;
    const QString path = exportThroughTheMenu(f, "SrDBGrid11", "ListXlsxExport", dir, QStringLiteral("faturalar.xlsx"));
    QVERIFY(f.ui.texts(QStringLiteral("error")).isEmpty());

    const QString sheet = QString::fromUtf8(unzipped(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    const QString strings = QString::fromUtf8(unzipped(path, QStringLiteral("xl/sharedStrings.xml")));
    QVERIFY2(sheet.contains(QStringLiteral("<dimension ref=\"A1:H3\"/>")), qPrintable(sheet.left(800)));
    const auto cell = [&sheet](const QString &ref) {
        const QRegularExpression re(QStringLiteral("<c r=\"%1\"([^>]*)>(<v>([^<]*)</v>)?").arg(ref));
        const QRegularExpressionMatch m = re.match(sheet);
        return m.hasMatch() ? m.captured(1) + QLatin1Char('|') + m.captured(3) : QStringLiteral("none");
    };
    // D: Tutar as a plain number; B: the date as a day number with a date format.
    QCOMPARE(cell(QStringLiteral("D2")), QStringLiteral("|1500.5"));
    QCOMPARE(cell(QStringLiteral("D3")), QStringLiteral("|-3"));
    QCOMPARE(cell(QStringLiteral("E3")), QStringLiteral("|2"));
    QCOMPARE(cell(QStringLiteral("E2")), QStringLiteral("none")); // empty stays empty
    const QString date = cell(QStringLiteral("B2"));
    QVERIFY2(date.startsWith(QStringLiteral(" s=\"")) && date.endsWith(QStringLiteral("|45296")), qPrintable(date));
    QVERIFY(cell(QStringLiteral("B3")).endsWith(QStringLiteral("|36525")));
    QVERIFY(cell(QStringLiteral("A3")).startsWith(QStringLiteral(" t=\"s\""))); // "0012" stays text
    for (const char *text : {"Fat. Tarihi", "0012", "İADE", "ALIŞ", "Ödenen"})
        QVERIFY2(strings.contains(QString::fromUtf8(text)), text);
    QVERIFY(!strings.contains(QStringLiteral("1500")));
    const QString styles = QString::fromUtf8(unzipped(path, QStringLiteral("xl/styles.xml")));
    QVERIFY(styles.contains(QStringLiteral("formatCode=\"dd.mm.yyyy\"")));
}

void ListExportTest::everyListHasTheMenu()
{
    LedgerFixture f(0);
    const QList<TSrDBGrid *> lists = f.form->findChildren<TSrDBGrid *>();
    QVERIFY(lists.size() >= 19);
    for (TSrDBGrid *list : lists) {
        QStringList captions;
        for (QAction *a : list->actions())
            captions << a->text();
        QCOMPARE(captions, QStringList({"CSV olarak kaydet...", "Excel dosyası olarak kaydet..."}));
    }
}

void ListExportTest::stoppedExportLeavesNoFile()
{
    TempDatabase db;
    db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
                           " INSERT INTO Stok (StokKodu, Alis) SELECT 'S' || i, i FROM n"));
    DataModule data(db.path(), {{"Stok", "DSStok", QStringLiteral("Select * From Stok"), nullptr}});
    const Dataset &stok = *data.dataset(QStringLiteral("Stok"));
    const QVector<reports::ListColumn> columns = {{QStringLiteral("StokKodu"), QStringLiteral("KOD")}};
    QTemporaryDir dir;
    for (auto write : {&reports::exportListCsv, &reports::exportListXlsx}) {
        const QString path = dir.filePath(QStringLiteral("yarim"));
        QFile::remove(path);
        int calls = 0;
        QVERIFY(!write(stok, columns, path, [&calls](int written) {
            ++calls;
            return written < 1000;
        }));
        QVERIFY(calls > 1);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
        QVERIFY(write(stok, columns, path, {}));
        QVERIFY(QFile::exists(path));
    }
}

// "stok" typed in the save dialog becomes "stok.csv": a file already under
// that name is kept unless the user agrees to replace it.
void ListExportTest::aCompletedNameAsksBeforeReplacingAFile()
{
    LedgerFixture f(kStokPage);
    f.db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('K1')"));
    f.dataset("Stok")->refresh();
    QTemporaryDir dir;
    QFile old(dir.filePath(QStringLiteral("stok.csv")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("eski dosya");
    old.close();
    f.ui.answers.push_back(UiSeam::Answer::No);
    QFile file(exportThroughTheMenu(f, "SrDBGrid7", "ListCsvExport", dir, QStringLiteral("stok")));
    QCOMPARE(f.ui.texts(QStringLiteral("ask")).size(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("eski dosya"));
    file.close();
    f.ui.answers.push_back(UiSeam::Answer::Yes);
    exportThroughTheMenu(f, "SrDBGrid7", "ListCsvExport", dir, QStringLiteral("stok"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("K1"));
}

void ListExportTest::longExportShowsAProgressWindowThatStops()
{
    LedgerFixture f(kStokPage);
    f.db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000)"
                             " INSERT INTO Stok (StokKodu, Alis) SELECT 'S' || i, i FROM n"));
    f.dataset("Stok")->refresh();
    QTemporaryDir dir;
    // The window's "Vazgeç" pressed as soon as the window is there.
    QString cancelText;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        auto *window = f.form->findChild<QProgressDialog *>(QStringLiteral("ListExportProgress"));
        if (!window || !window->isVisible() || !cancelText.isEmpty())
            return;
        for (QPushButton *button : window->findChildren<QPushButton *>())
            if (button->text() == QStringLiteral("Vazgeç")) {
                cancelText = button->text();
                QTest::mouseClick(button, Qt::LeftButton);
            }
    });
    press.start(0);
    const QString path = exportThroughTheMenu(f, "SrDBGrid7", "ListXlsxExport", dir, QStringLiteral("uzun.xlsx"));
    press.stop();
    QCOMPARE(cancelText, QStringLiteral("Vazgeç"));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);

    // Not stopped: the whole list.
    const QString whole = exportThroughTheMenu(f, "SrDBGrid7", "ListCsvExport", dir, QStringLiteral("uzun.csv"));
    QFile file(whole);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(parseCsv(QString::fromUtf8(file.readAll().mid(3))).size(), 5001);
}

QTEST_MAIN(ListExportTest)
#include "tst_listexport.moc"
