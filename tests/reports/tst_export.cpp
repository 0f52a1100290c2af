// Every writer's output read back, the prepared-report file format, and the
// small pure helpers of the preview (page lists, zoom texts, search, icons).
#include "ReportFixture.h"
#include "core/Cp1254.h"
#include "reports/Report.h"
#include "reports/engine/PageRange.h"
#include "reports/engine/ReportFile.h"
#include "reports/engine/ReportSearch.h"
#include "reports/export/Export.h"
#include "reports/preview/PageView.h"
#include "reports/preview/ToolbarIcons.h"
#include "reports/render/Renderer.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <zlib.h>

using namespace tk;
using namespace tk::reports;
using tk::test::StockDb;

namespace {

// A prepared stock list of `rows` rows (47 rows on page 1 of the list template).
struct Prepared {
    StockDb db;
    std::unique_ptr<Report> report;
    explicit Prepared(int rows, const QString &tmpl = QStringLiteral("TestList"))
    {
        db.addRows(rows);
        report = std::make_unique<Report>(test::testTemplate(tmpl));
        report->setDataset(QStringLiteral("DBStok"), db.stok.get());
        report->setCellText(QStringLiteral("Memo1"), QStringLiteral("YEDEK PARÇA LİSTESİ"));
        QVERIFY(report->prepare(nullptr));
    }
    const PreparedReport &r() const { return report->prepared(); }
};

QByteArray run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return p.readAllStandardOutput();
}

// The plain text of an RTF document: groups of destinations skipped, \uN and
// \'hh decoded, control words dropped.
QString rtfText(const QByteArray &rtf)
{
    QString out;
    int skipDepth = -1, depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '{') {
            ++depth;
            if (skipDepth < 0 && (rtf.mid(i, 9) == "{\\fonttbl" || rtf.mid(i, 10) == "{\\colortbl"))
                skipDepth = depth;
        } else if (c == '}') {
            if (depth == skipDepth)
                skipDepth = -1;
            --depth;
        } else if (c == '\\' && i + 3 < rtf.size() && rtf.at(i + 1) == '\'') {
            if (skipDepth < 0)
                out += cp1254::decode(QByteArray::fromHex(rtf.mid(i + 2, 2)));
            i += 3;
        } else if (c == '\\') {
            qsizetype j = i + 1;
            if (j < rtf.size() && (rtf.at(j) == '\\' || rtf.at(j) == '{' || rtf.at(j) == '}')) {
                if (skipDepth < 0)
                    out += QLatin1Char(rtf.at(j));
                i = j;
                continue;
            }
            while (j < rtf.size() && std::isalpha(uchar(rtf.at(j))))
                ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            qsizetype k = j;
            if (k < rtf.size() && rtf.at(k) == '-')
                ++k;
            while (k < rtf.size() && std::isdigit(uchar(rtf.at(k))))
                ++k;
            const int arg = rtf.mid(j, k - j).toInt();
            if (word == "u" && skipDepth < 0) {
                out += QChar(char16_t(qint16(arg)));
                if (k < rtf.size() && rtf.at(k) == '?')
                    ++k;
            } else if ((word == "par" || word == "line") && skipDepth < 0) {
                out += QLatin1Char('\n');
            } else if (word == "tab" && skipDepth < 0) {
                out += QLatin1Char('\t');
            } else if (word == "sect" && skipDepth < 0) {
                out += QLatin1Char('\f');
            }
            if (k < rtf.size() && rtf.at(k) == ' ')
                ++k;
            i = k - 1;
        } else if (c != '\n' && c != '\r' && skipDepth < 0) {
            out += QLatin1Char(c);
        }
    }
    return out;
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT
private slots:
    void pdfHoldsThePageTextsOnTheirPaper();
    void jpegFilesAreA4At96Dpi();
    void rtfHoldsThePageTexts();
    void rtfWritesTextRowsAsTabbedParagraphs();
    void xlsxCellsHoldNumbersAsNumbers();
    void stoppedExportsLeaveNoFiles();
    void stoppedExportsKeepTheFileTheyWouldReplace();
    void reportFileRoundTripsByteForByte();
    void damagedReportFilesAreRefused();
    void pageListsAndZoomTexts();
    void findWalksThePages();
    void toolbarStripUnpacks();
    void rendererBreaksAndClipsText();
    void hardCellsBreakAndClipAsBefore();
};

void ExportTest::pdfHoldsThePageTextsOnTheirPaper()
{
    Prepared p(60);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("liste.pdf"));
    QVERIFY(exportPdf(p.r(), allPages(p.r().pageCount()), file));
    const QString text = QString::fromUtf8(run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file,
                                                                              QStringLiteral("-")}));
    QVERIFY2(text.contains(QStringLiteral("YEDEK PARÇA LİSTESİ")), qPrintable(text.left(400)));
    QVERIFY(text.contains(QStringLiteral("STK00060")));
    QVERIFY(text.contains(QStringLiteral("1.001,50 TL")));
    QVERIFY(text.contains(QStringLiteral("Sayfa: 2 / 2")));
    const QString info = QString::fromUtf8(run(QStringLiteral("pdfinfo"), {file}));
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2"))));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts"))), qPrintable(info));

    // A landscape page, written after a portrait one, keeps its own orientation.
    Prepared l(10, QStringLiteral("TestStock"));
    const QString wide = dir.filePath(QStringLiteral("stok.pdf"));
    QVERIFY(exportPdf(l.r(), {0}, wide));
    QVERIFY(QString::fromUtf8(run(QStringLiteral("pdfinfo"), {wide}))
                .contains(QRegularExpression(QStringLiteral("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)? pts"))));
}

void ExportTest::jpegFilesAreA4At96Dpi()
{
    Prepared p(60);
    QTemporaryDir dir;
    const QStringList files = exportJpeg(p.r(), allPages(2), dir.filePath(QStringLiteral("sayfa.jpg")));
    QCOMPARE(files, (QStringList{dir.filePath(QStringLiteral("sayfa-1.jpg")), dir.filePath(QStringLiteral("sayfa-2.jpg"))}));
    for (const QString &f : files) {
        QImageReader reader(f);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QImage image = reader.read();
        QCOMPARE(image.size(), QSize(794, 1123));
        QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 96);
        // Something was drawn: dark pixels where the title stands, white margins.
        QCOMPARE(image.pixelColor(5, 5).lightness() > 240, true);
        int dark = 0;
        for (int x = 38; x < 756; ++x)
            for (int y = 38; y < 70; ++y)
                dark += image.pixelColor(x, y).lightness() < 100;
        QVERIFY(dark > 200);
    }
    // Cropped and grey: the printable area only.
    JpegOptions o;
    o.crop = true;
    o.monochrome = true;
    const QStringList cropped = exportJpeg(p.r(), {1}, dir.filePath(QStringLiteral("k")), o);
    QCOMPARE(QImage(cropped.at(0)).size(), QSize(718, 1047));
    QVERIFY(cropped.at(0).endsWith(QStringLiteral("k-2.jpg")));
    QVERIFY_THROWS_EXCEPTION(tk::Error, exportJpeg(p.r(), {0}, dir.filePath(QStringLiteral("yok/olmayan.jpg"))));
}

void ExportTest::rtfHoldsThePageTexts()
{
    Prepared p(60);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("liste.rtf"));
    QVERIFY(exportRtf(p.r(), allPages(2), file));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QCOMPARE(rtf.count("\\sectd"), 2);
    QCOMPARE(rtf.count("{\\header "), 2);
    const QString text = rtfText(rtf);
    QVERIFY2(text.contains(QStringLiteral("YEDEK PARÇA LİSTESİ")), qPrintable(text.left(300)));
    QVERIFY(text.contains(QStringLiteral("STK00001")));
    QVERIFY(text.contains(QStringLiteral("1.060,50 TL")));
    QVERIFY(text.contains(QStringLiteral("Sayfa: 2 / 2")));
    QVERIFY(text.contains(QStringLiteral("TOPLAM :")));
    // The page header lives in each section's header, not in the body.
    const qsizetype header = rtf.indexOf("{\\header ");
    const qsizetype footer = rtf.indexOf("{\\footer ");
    QVERIFY(rtfText(rtf.mid(header, footer - header)).contains(QStringLiteral("STOK LİSTESİ")));
}

// A long stock list: each row one paragraph with tab stops, a few KB a page,
// every text still there in its order.
void ExportTest::rtfWritesTextRowsAsTabbedParagraphs()
{
    StockDb db;
    db.addRows(1500);
    Report report(QStringLiteral("RpStok"));
    report.setDataset(QStringLiteral("DBStok"), db.stok.get());
    report.setCellText(QStringLiteral("Memo1"), QStringLiteral("YEDEK PARÇA LİSTESİ"));
    QVERIFY(report.prepare(nullptr));
    const int pages = report.prepared().pageCount();
    QVERIFY(pages > 40);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("stok.rtf"));
    QVERIFY(exportRtf(report.prepared(), allPages(pages), file));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    QVERIFY2(rtf.size() / pages <= 5 * 1024, qPrintable(QStringLiteral("%1 bytes a page: %2")
                                                             .arg(rtf.size() / pages)
                                                             .arg(QString::fromLatin1(rtf.mid(rtf.size() / 2, 3000)))));
    QCOMPARE(rtf.count("\\sectd"), pages);
    const QString text = rtfText(rtf);
    QVERIFY(text.contains(QStringLiteral("YEDEK PARÇA LİSTESİ")));
    QVERIFY(text.contains(QStringLiteral("STOK KODU\tSTOK ADI\tADET\tRAF NO\tALIŞ FİYATI\tSATIŞ FİYATI\n")));
    QVERIFY2(text.contains(QStringLiteral("STK00001\tParça numarası 1 ön fren balatası\t1\tR-1\t1.001,50 TL\t1.201,80 TL\n")),
             qPrintable(text.left(1500)));
    QVERIFY(text.contains(QStringLiteral("STK01500\tParça numarası 1500 ön fren balatası\t0\tR-0\t2.500,50 TL\t3.000,60 TL\n")));
    const QStringList sections = text.split(QLatin1Char('\f'));
    QCOMPARE(sections.size(), pages);
    for (int i = 0; i < pages; ++i)
        QVERIFY(sections[i].contains(QStringLiteral("Sayfa: %1 / %2").arg(i + 1).arg(pages)));
    // Rows keep their places and their frames: tab stops at the cells, ruled between the rows.
    QVERIFY(rtf.contains("\\tqr"));
    QVERIFY(rtf.contains("\\tb"));
}

void ExportTest::xlsxCellsHoldNumbersAsNumbers()
{
    Prepared p(60);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("liste.xlsx"));
    QVERIFY(exportXlsx(p.r(), allPages(2), file));
    const QString sheet = QString::fromUtf8(run(QStringLiteral("unzip"), {QStringLiteral("-p"), file,
                                                                          QStringLiteral("xl/worksheets/sheet1.xml")}));
    const QString strings = QString::fromUtf8(run(QStringLiteral("unzip"), {QStringLiteral("-p"), file,
                                                                            QStringLiteral("xl/sharedStrings.xml")}));
    QVERIFY(!sheet.isEmpty());
    // 1001,5 (row 1) as a number cell, not a string.
    const QRegularExpression number(QStringLiteral("<c r=\"([A-Z]+)(\\d+)\"( s=\"\\d+\")?><v>1001.5</v></c>"));
    QVERIFY2(sheet.contains(number), qPrintable(sheet.left(1500)));
    QVERIFY(strings.contains(QStringLiteral("STK00001")));
    QVERIFY(strings.contains(QStringLiteral("YEDEK PARÇA LİSTESİ")));
    QVERIFY(!strings.contains(QStringLiteral("1.001,50 TL"))); // not written as text
    QVERIFY(strings.contains(QStringLiteral("TUTAR")));
    // One sheet row per text row: title, page header, header, 47 rows, page footer; then page 2.
    const int rows = int(sheet.count(QStringLiteral("<row ")));
    QCOMPARE(rows, (1 + 1 + 1 + 47 + 1) + (1 + 13 + 1 + 1 + 1));
    QVERIFY(sheet.contains(QStringLiteral("<rowBreaks")));
}

void ExportTest::stoppedExportsLeaveNoFiles()
{
    Prepared p(100);
    QTemporaryDir dir;
    int calls = 0;
    const ExportProgress stopAtTwo = [&](int) { return ++calls < 2; };
    QVERIFY(!exportPdf(p.r(), allPages(3), dir.filePath(QStringLiteral("a.pdf")), stopAtTwo));
    calls = 0;
    QVERIFY(exportJpeg(p.r(), allPages(3), dir.filePath(QStringLiteral("a.jpg")), {}, stopAtTwo).isEmpty());
    calls = 0;
    QVERIFY(!exportRtf(p.r(), allPages(3), dir.filePath(QStringLiteral("a.rtf")), stopAtTwo));
    calls = 0;
    QVERIFY(!exportXlsx(p.r(), allPages(3), dir.filePath(QStringLiteral("a.xlsx")), stopAtTwo));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

// "Vazgeç" during an export over an existing file leaves that file as it was:
// the user loses neither the old file nor gets a half-written one.
void ExportTest::stoppedExportsKeepTheFileTheyWouldReplace()
{
    Prepared p(100);
    QTemporaryDir dir;
    const auto existing = [&](const QString &name) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("eski dosya");
    };
    const auto unchanged = [&](const QString &name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) && f.readAll() == "eski dosya";
    };
    int calls = 0;
    const ExportProgress stopAtTwo = [&](int) { return ++calls < 2; };
    for (const QString &name : {QStringLiteral("a.pdf"), QStringLiteral("a.rtf"), QStringLiteral("a.xlsx")})
        existing(name);
    QVERIFY(!exportPdf(p.r(), allPages(3), dir.filePath(QStringLiteral("a.pdf")), stopAtTwo));
    calls = 0;
    QVERIFY(!exportRtf(p.r(), allPages(3), dir.filePath(QStringLiteral("a.rtf")), stopAtTwo));
    calls = 0;
    QVERIFY(!exportXlsx(p.r(), allPages(3), dir.filePath(QStringLiteral("a.xlsx")), stopAtTwo));
    QVERIFY(unchanged(QStringLiteral("a.pdf")));
    QVERIFY(unchanged(QStringLiteral("a.rtf")));
    QVERIFY(unchanged(QStringLiteral("a.xlsx")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    // Completed, each replaces the old file with a whole one.
    QVERIFY(exportPdf(p.r(), allPages(3), dir.filePath(QStringLiteral("a.pdf"))));
    QVERIFY(exportXlsx(p.r(), allPages(3), dir.filePath(QStringLiteral("a.xlsx"))));
    QVERIFY(!unchanged(QStringLiteral("a.pdf")));
    QVERIFY(!unchanged(QStringLiteral("a.xlsx")));
    QFile pdf(dir.filePath(QStringLiteral("a.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray pdfBytes = pdf.readAll();
    QVERIFY(pdfBytes.startsWith("%PDF"));
    QVERIFY(pdfBytes.trimmed().endsWith("%%EOF"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void ExportTest::reportFileRoundTripsByteForByte()
{
    Prepared p(120);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("r.tkr"));
    saveReportFile(p.r(), file);
    PreparedReport loaded;
    loadReportFile(file, loaded);
    QCOMPARE(loaded.pageCount(), 3);
    QCOMPARE(serializeReport(loaded), serializeReport(p.r()));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(serializeReport(loaded), f.readAll());
    // Drawn the same: the loaded pages render pixel for pixel like the originals.
    const auto draw = [](const PreparedReport &r) {
        QImage image(397, 562, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        Renderer(r).drawPage(painter, 2, QRectF(0, 0, 397, 562));
        return image;
    };
    QCOMPARE(draw(loaded), draw(p.r()));
}

void ExportTest::damagedReportFilesAreRefused()
{
    Prepared p(30);
    const QByteArray good = serializeReport(p.r());
    PreparedReport target;
    deserializeReport(good, target);
    const QByteArray kept = serializeReport(target);

    const auto refused = [&](const QByteArray &bytes) {
        try {
            deserializeReport(bytes, target);
        } catch (const tk::Error &e) {
            return e.text().contains(QStringLiteral("geçerli bir rapor dosyası değil"));
        }
        return false;
    };
    // Every truncation, a flipped bit anywhere, random bytes, and empty input.
    for (qsizetype n = 0; n < good.size(); n += 1 + n / 7)
        QVERIFY2(refused(good.left(n)), qPrintable(QString::number(n)));
    for (qsizetype i = 0; i < good.size(); i += 97) {
        QByteArray bad = good;
        bad[i] = char(bad[i] ^ 0x10);
        QVERIFY(refused(bad));
    }
    auto *rng = QRandomGenerator::global();
    for (int k = 0; k < 50; ++k) {
        QByteArray noise(int(rng->bounded(4000)), Qt::Uninitialized);
        for (char &c : noise)
            c = char(rng->bounded(256));
        if (k % 2)
            noise.prepend("TKRAPOR1");
        QVERIFY(refused(noise));
    }
    // Counts and offsets that lie, behind a correct checksum.
    const auto resealed = [](QByteArray bytes) {
        bytes.chop(4);
        const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
        bytes.append(reinterpret_cast<const char *>(&crc), 4);
        return bytes;
    };
    QByteArray hugeCount = good;
    const quint32 lots = 0x7fffffff;
    std::memcpy(hugeCount.data() + 12, &lots, 4); // the number of page setups
    QVERIFY(refused(resealed(hugeCount)));
    QByteArray lyingOffset = good;
    const qsizetype textCount = good.size() - 4 - qsizetype(p.r().textBuffer().size()) * 2 - 4;
    const qsizetype lastItemOffset = textCount - 13; // textOffset of the last item
    const quint32 far = 0x10000000;
    std::memcpy(lyingOffset.data() + lastItemOffset, &far, 4);
    QVERIFY(refused(resealed(lyingOffset)));
    // Nothing of the refused files reached the report.
    QCOMPARE(serializeReport(target), kept);

    QTemporaryDir dir;
    QVERIFY_THROWS_EXCEPTION(tk::Error, loadReportFile(dir.filePath(QStringLiteral("yok.tkr")), target));
}

void ExportTest::pageListsAndZoomTexts()
{
    QCOMPARE(parsePageList(QStringLiteral("1,3,5-7"), 10), (std::vector<int>{0, 2, 4, 5, 6}));
    QCOMPARE(parsePageList(QStringLiteral(" 2 - 3 , 9"), 9), (std::vector<int>{1, 2, 8}));
    for (const char *bad : {"0", "5-3", "x", "11", "1-2-3", ",", ""})
        QVERIFY_THROWS_EXCEPTION(tk::Error, parsePageList(QString::fromLatin1(bad), 10));
    double zoom = 0;
    for (const char *typed : {"80", "80%", "80 %", " 80 % "}) {
        QVERIFY(parseZoomText(QString::fromLatin1(typed), &zoom));
        QCOMPARE(zoom, 0.8);
    }
    QVERIFY(!parseZoomText(QStringLiteral("sekiz"), &zoom));
    QVERIFY(!parseZoomText(QStringLiteral("-5"), &zoom));
}

void ExportTest::findWalksThePages()
{
    Prepared p(120);
    const SearchHit first = findText(p.r(), QStringLiteral("stk00050"), false, 0);
    QVERIFY(first.found());
    QCOMPARE(first.page, 1);
    QCOMPARE(p.r().text(p.r().items()[size_t(first.item)]).toString(), QStringLiteral("STK00050"));
    QVERIFY(!findText(p.r(), QStringLiteral("stk00050"), true, 0).found());
    // Next match after the first; the page footer counts with its final page count.
    const SearchHit a = findText(p.r(), QStringLiteral("/ 3"), false, 0);
    QCOMPARE(a.page, 0);
    const SearchHit b = findText(p.r(), QStringLiteral("/ 3"), false, a.item + 1);
    QCOMPARE(b.page, 1);
    QVERIFY(!findText(p.r(), QStringLiteral("STK00001"), false, firstItemOfPage(p.r(), 1)).found());
}

void ExportTest::toolbarStripUnpacks()
{
    const QList<QIcon> icons = toolbarIcons();
    QCOMPARE(icons.size(), int(ToolIcon::Close) + 1);
    for (const QIcon &icon : icons)
        QVERIFY(!icon.isNull());
    QFile f(QStringLiteral(":/reports/toolbar.bmp.gz"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray packed = f.readAll();
    QCOMPARE(QImage::fromData(gunzip(packed), "BMP").size(), QSize(12 * 24, 24));
    QVERIFY_THROWS_EXCEPTION(tk::Error, gunzip(packed.left(packed.size() / 2)));
    QVERIFY_THROWS_EXCEPTION(tk::Error, gunzip(QByteArray("not gzip at all")));
}

void ExportTest::rendererBreaksAndClipsText()
{
    PreparedReport r;
    r.startPage(r.addSetup(PageSetup::a4(false, 10, 10, 10, 10)));
    ItemStyle s;
    s.family = QStringLiteral("Arial");
    const int style = r.addStyle(s);
    const QString text = QStringLiteral("bir iki üç dört beş altı yedi sekiz dokuz on");
    PreparedItem item{};
    item.x = 0;
    item.y = 0;
    item.w = float(mmToUnits(30));
    item.h = float(mmToUnits(5));
    item.textOffset = r.addText(text);
    item.textLength = std::uint32_t(text.size());
    item.style = std::uint16_t(style);
    item.kind = CellKind::Memo;
    r.addItem(item);
    r.finishPage();
    Renderer renderer(r);
    const QStringList lines = renderer.breakLines(item, text);
    QVERIFY(lines.size() > 2);
    QCOMPARE(lines.join(QLatin1Char(' ')), text); // broken at blanks, nothing lost
    const QFontMetricsF fm(renderer.font(style));
    for (const QString &line : lines)
        QVERIFY(fm.horizontalAdvance(line) <= item.w - 4);
    QCOMPARE(renderer.font(style).family(), resolveFontFamily(QStringLiteral("Arial")));
    QVERIFY(QFontInfo(renderer.font(style)).family().contains(QStringLiteral("Liberation Sans"))
            || QFontInfo(renderer.font(style)).family() == QStringLiteral("Arial"));

    // Clipped to the box: nothing drawn below the 5 mm cell.
    QImage image(794, 1123, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        renderer.drawPage(painter, 0, QRectF(0, 0, 794, 1123));
    }
    const int left = qRound(mmToUnits(10)), top = qRound(mmToUnits(10));
    int inside = 0, below = 0;
    for (int x = left; x < left + qRound(item.w); ++x) {
        for (int y = top; y < top + qRound(item.h); ++y)
            inside += image.pixelColor(x, y).lightness() < 128;
        for (int y = top + qRound(item.h) + 1; y < top + 60; ++y)
            below += image.pixelColor(x, y).lightness() < 250;
    }
    QVERIFY(inside > 20);
    QCOMPARE(below, 0);
}

// Cells that wrap, clip and overflow, as the real reports have them: their
// lines are the literals below, taken from the renderer before its text
// fitting was made linear, so that change moved no break and no cut.
void ExportTest::hardCellsBreakAndClipAsBefore()
{
    struct Hard {
        double widthMm, points;
        bool bold;
        float gapX;
        QString text;
        QStringList lines;
    };
    // The lines below were written down from the renderer as it broke and cut them before.
    const QString wiper = QStringLiteral("SİLECEKSÜPÜRGESİLASTİĞI").repeated(3);
    const std::vector<Hard> cells = {
#include "HardCells.inc"
    };
    PreparedReport r;
    r.startPage(r.addSetup(PageSetup::a4(true, 20, 20, 20, 15)));
    std::vector<PreparedItem> items;
    for (const Hard &c : cells) {
        ItemStyle s;
        s.family = QStringLiteral("Arial");
        s.sizeUnits = std::int16_t(qRound(c.points / 0.75));
        s.bold = c.bold;
        s.gapX = c.gapX;
        s.gapY = 2;
        PreparedItem item{};
        item.w = float(mmToUnits(c.widthMm));
        item.h = float(mmToUnits(5));
        item.textOffset = r.addText(c.text);
        item.textLength = std::uint32_t(c.text.size());
        item.style = std::uint16_t(r.addStyle(s));
        item.kind = CellKind::Memo;
        r.addItem(item);
        items.push_back(item);
    }
    r.finishPage();
    Renderer renderer(r);
    const bool dump = qEnvironmentVariableIsSet("TK_DUMP_HARD_CELLS");
    for (size_t i = 0; i < cells.size(); ++i) {
        const QStringList lines = renderer.breakLines(items[i], cells[i].text);
        if (dump) {
            QStringList quoted;
            for (const QString &l : lines)
                quoted << QLatin1Char('"') + QString(l).replace(QLatin1Char('"'), QLatin1String("\\\"")) + QLatin1Char('"');
            std::printf("%s\n", qPrintable(quoted.join(QLatin1String(", "))));
            continue;
        }
        QCOMPARE(lines, cells[i].lines);
    }
}

QTEST_MAIN(ExportTest)
#include "tst_export.moc"
