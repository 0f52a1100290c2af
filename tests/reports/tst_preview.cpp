// The preview window offscreen: pages appear while the layout runs, the
// window refuses to close meanwhile, zoom, keys, find, save/open, page setup
// and printing.
#include "ReportFixture.h"
#include "reports/Report.h"
#include "reports/engine/ReportFile.h"
#include "reports/preview/PageView.h"
#include "reports/preview/PreviewWindow.h"
#include "reports/preview/Printing.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
#include <QPageRanges>
#include <QPushButton>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <functional>

using namespace tk;
using namespace tk::reports;
using tk::test::StockDb;

namespace {

void addManyRows(StockDb &db, int rows)
{
    db.connection->exec(QStringLiteral(
        "WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM c WHERE i < %1) "
        "INSERT INTO Stok SELECT printf('STK%05d', i), 'Parça ' || i, i % 50, 'R-' || (i % 12), 1000 + i + 0.5, "
        "(1000 + i + 0.5) * 1.2, '2024-01-05' FROM c").arg(rows));
    db.stok->open();
}

std::unique_ptr<Report> listReport(StockDb &db, const QString &name = QStringLiteral("TestList"))
{
    auto report = std::make_unique<Report>(test::testTemplate(name));
    report->setDataset(QStringLiteral("DBStok"), db.stok.get());
    report->setCellText(QStringLiteral("Memo1"), QStringLiteral("LİSTE"));
    return report;
}

// Shows the window and waits for its layout to finish.
void showAndFinish(PreviewWindow &w)
{
    w.show();
    QTRY_VERIFY_WITH_TIMEOUT(!w.isBusy() && w.statusText() != QLatin1String("Sayfa 0 / 0"), 20000);
}

// Calls `seen` before each paint of a widget.
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget *widget, std::function<void()> seen) : m_seen(std::move(seen)) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_seen();
        return false;
    }

private:
    std::function<void()> m_seen;
};

// The real stock list over the test rows.
std::unique_ptr<Report> stockReport(StockDb &db)
{
    auto report = std::make_unique<Report>(QStringLiteral("RpStok"));
    report->setDataset(QStringLiteral("DBStok"), db.stok.get());
    report->setCellText(QStringLiteral("Memo1"), QStringLiteral("YEDEK PARÇA LİSTESİ"));
    return report;
}

// Runs `fill` on the next modal dialog named `name` once it is up, then presses its OK.
void answerDialog(const QString &name, std::function<void(QDialog *)> fill)
{
    QTimer::singleShot(0, [name, fill] {
        QDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                    && dialog->objectName() == name);
        fill(dialog);
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        buttons->button(QDialogButtonBox::Ok)->click();
    });
}

// The entry of the preview's export menu captioned `text`.
// A file an earlier save left, and whether it is still that file.
void writeOld(const QString &file)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("eski dosya");
}

bool isOld(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.readAll() == "eski dosya";
}

QAction *exportMenuEntry(PreviewWindow &w, const QString &text)
{
    for (QAction *a : w.findChild<QAction *>(QStringLiteral("actExport"))->menu<QMenu *>()->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

} // namespace

class PreviewTest : public QObject {
    Q_OBJECT
private slots:
    void firstPageShowsWhileTheLayoutRunsAndCloseStopsIt();
    void firstPageIsPaintedAsSoonAsItIsLaidOut();
    void zoomBoxButtonsAndWheel();
    void typedZoomTakesEffectOnReturn();
    void findFoldsTurkishLetters();
    void portraitForAllPagesClipsToThePaperAndDropsTheMark();
    void keysMoveBetweenPages();
    void findOnlyWhereOfferedAndMarksTheMatch();
    void saveAndOpenKeepPagesOnDamagedFiles();
    void namesCompletedWithTheirExtensionAskBeforeReplacing();
    void pageImagesAskBeforeReplacingNumberedFiles();
    void pageSetupForOnePageOrAll();
    void printingChoosesPagesAndPaper();
    void printingWithoutPrinterSaysSo();
};

void PreviewTest::firstPageShowsWhileTheLayoutRunsAndCloseStopsIt()
{
    StockDb db;
    addManyRows(db, 40000);
    auto report = listReport(db);
    PreviewWindow w(*report);
    QCOMPARE(w.windowTitle(), QStringLiteral("Önizleme"));
    w.show();
    QVERIFY(w.isModal());
    QCOMPARE(report->prepared().pageCount(), 0); // the layout starts 50 ms later
    QAction *close = w.findChild<QAction *>(QStringLiteral("actClose"));
    QCOMPARE(close->text(), QStringLiteral("Vazgeç"));
    QElapsedTimer clock;
    clock.start();
    while (report->prepared().finishedPageCount() == 0 && clock.elapsed() < 10000)
        QTest::qWait(1);
    QVERIFY(report->prepared().finishedPageCount() >= 1);
    QVERIFY(w.isBusy()); // the first page is there before the last is laid out
    QVERIFY(w.statusText().startsWith(QStringLiteral("Sayfa 1 / ")));
    QVERIFY(!w.findChild<QAction *>(QStringLiteral("actPrint"))->isEnabled());

    // Closing is refused while the layout runs; the close button stops it.
    w.close();
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QTRY_VERIFY(!w.isBusy());
    const int stoppedAt = report->prepared().pageCount();
    QVERIFY(stoppedAt < 40000 / 52);
    QCOMPARE(close->text(), QStringLiteral("Kapat"));
    QVERIFY(w.findChild<QAction *>(QStringLiteral("actPrint"))->isEnabled());
    QCOMPARE(w.statusText(), QStringLiteral("Sayfa 1 / %1").arg(stoppedAt));
    close->trigger();
    QVERIFY(!w.isVisible());
}

void PreviewTest::firstPageIsPaintedAsSoonAsItIsLaidOut()
{
    StockDb db;
    addManyRows(db, 40000);
    auto report = listReport(db);
    PreviewWindow w(*report);
    w.resize(1000, 800);
    int pagesAtFirstPaint = -1;
    bool busyAtFirstPaint = false;
    PaintWatch watch(w.pageView()->viewport(), [&] {
        if (pagesAtFirstPaint < 0 && report->prepared().finishedPageCount() > 0) {
            pagesAtFirstPaint = report->prepared().pageCount();
            busyAtFirstPaint = w.isBusy();
        }
    });
    w.show();
    QTRY_VERIFY_WITH_TIMEOUT(pagesAtFirstPaint >= 0, 20000);
    QVERIFY(busyAtFirstPaint);
    // Page 1 is painted when it is finished, with page 2 just begun.
    QCOMPARE(pagesAtFirstPaint, 2);
    w.stopWork();
    QTRY_VERIFY(!w.isBusy());
}

void PreviewTest::zoomBoxButtonsAndWheel()
{
    StockDb db;
    db.addRows(10);
    auto report = listReport(db);
    PreviewWindow w(*report);
    w.resize(1000, 800);
    showAndFinish(w);
    PageView *view = w.pageView();
    QCOMPARE(view->zoom(), 1.0);
    QCOMPARE(w.zoomBox()->currentText(), QStringLiteral("100%"));
    QStringList entries;
    for (int i = 0; i < w.zoomBox()->count(); ++i)
        entries << w.zoomBox()->itemText(i);
    QCOMPARE(entries, (QStringList{"25%", "50%", "75%", "100%", "150%", "200%", "Sayfa genişliği", "Tüm sayfa"}));
    w.findChild<QAction *>(QStringLiteral("actZoomIn"))->trigger();
    QCOMPARE(view->zoom(), 1.25);
    for (int i = 0; i < 6; ++i)
        w.findChild<QAction *>(QStringLiteral("actZoomOut"))->trigger();
    QCOMPARE(view->zoom(), 0.25);
    QCOMPARE(w.zoomBox()->currentText(), QStringLiteral("25%"));
    for (const QString &typed : {QStringLiteral("80"), QStringLiteral("80%"), QStringLiteral("80 %")}) {
        w.applyZoomText(QStringLiteral("100"));
        w.applyZoomText(typed);
        QCOMPARE(view->zoom(), 0.8);
    }
    w.applyZoomText(QStringLiteral("Tüm sayfa"));
    QVERIFY(view->pageRect(0).height() <= view->viewport()->height());
    w.applyZoomText(QStringLiteral("Sayfa genişliği"));
    QVERIFY(qAbs(view->pageRect(0).width() - (view->viewport()->width() - 20)) < 2);
    // Ctrl + wheel: 10 % a notch, not below 30 %.
    w.applyZoomText(QStringLiteral("50"));
    QWheelEvent up(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &up);
    QCOMPARE(qRound(view->zoom() * 100), 60);
    QWheelEvent down(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120 * 5), Qt::NoButton,
                     Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &down);
    QCOMPARE(qRound(view->zoom() * 100), 30);
}

void PreviewTest::typedZoomTakesEffectOnReturn()
{
    StockDb db;
    db.addRows(10);
    auto report = listReport(db);
    PreviewWindow w(*report);
    w.resize(1000, 800);
    showAndFinish(w);
    QLineEdit *edit = w.zoomBox()->lineEdit();
    QVERIFY(edit);
    const std::pair<QString, int> typings[] = {{QStringLiteral("80"), 80}, {QStringLiteral("80%"), 80},
                                               {QStringLiteral("80 %"), 80}, {QStringLiteral(" 120 % "), 120}};
    for (const auto &[typed, percent] : typings) {
        w.findChild<QAction *>(QStringLiteral("actZoomIn"))->trigger(); // away from the value typed
        edit->setFocus();
        edit->selectAll();
        test::typeText(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(qRound(w.pageView()->zoom() * 100), percent);
        QCOMPARE(w.zoomBox()->currentText(), QStringLiteral("%1%").arg(qRound(w.pageView()->zoom() * 100)));
        QVERIFY(w.isVisible()); // Return did not close the window
    }
    // A text that is no percentage leaves the zoom and shows it again.
    edit->selectAll();
    test::typeText(edit, QStringLiteral("yüz"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(w.pageView()->zoom(), 1.2);
    QCOMPARE(w.zoomBox()->currentText(), QStringLiteral("120%"));
}

void PreviewTest::findFoldsTurkishLetters()
{
    StockDb db;
    db.addRows(70);
    db.connection->exec(QStringLiteral("INSERT INTO Stok VALUES ('STK-YF', 'YAĞ FİLTRESİ', 3, 'R-1', 10, 12, NULL)"));
    db.connection->exec(QStringLiteral("INSERT INTO Stok VALUES ('STK-KI', 'kılavuz ışığı', 1, 'R-2', 10, 12, NULL)"));
    db.stok->refresh();
    auto report = stockReport(db);
    PreviewWindow w(*report);
    showAndFinish(w);
    test::ScriptedUi ui;
    const auto findTyped = [&](const QString &text, bool matchCase) {
        answerDialog(QStringLiteral("FindDialog"), [=](QDialog *d) {
            auto *box = d->findChild<QLineEdit *>(QStringLiteral("edFind"));
            box->selectAll();
            test::typeText(box, text);
            d->findChild<QCheckBox *>(QStringLiteral("cbCase"))->setChecked(matchCase);
            d->findChild<QCheckBox *>(QStringLiteral("cbFromStart"))->setChecked(true);
        });
        w.findChild<QAction *>(QStringLiteral("actFind"))->trigger();
    };
    const auto markedText = [&] {
        const int item = w.pageView()->highlight();
        return item < 0 ? QString() : report->prepared().text(report->prepared().items()[size_t(item)]).toString();
    };
    for (const QString &typed : {QStringLiteral("filtre"), QStringLiteral("yağ fİltresi"), QStringLiteral("FILTRESI")
                                     .replace(QLatin1Char('I'), QChar(0x0130))}) {
        findTyped(typed, false);
        QCOMPARE(markedText(), QStringLiteral("YAĞ FİLTRESİ"));
        QCOMPARE(w.currentPage(), report->prepared().pageCount() - 1);
    }
    // Dotless and dotted i stay apart: "KILAVUZ IŞIĞI" is the upper case of "kılavuz ışığı".
    findTyped(QStringLiteral("KILAVUZ IŞIĞI"), false);
    QCOMPARE(markedText(), QStringLiteral("kılavuz ışığı"));
    QVERIFY(ui.shown.isEmpty());
    findTyped(QStringLiteral("kilavuz"), false);
    QCOMPARE(ui.texts(QStringLiteral("inform")).size(), 1);
    QCOMPARE(w.pageView()->highlight(), -1);
    // With match case on, the case must match.
    findTyped(QStringLiteral("filtre"), true);
    QCOMPARE(ui.texts(QStringLiteral("inform")).size(), 2);
}

void PreviewTest::portraitForAllPagesClipsToThePaperAndDropsTheMark()
{
    StockDb db;
    db.addRows(40);
    auto report = stockReport(db);
    PreviewWindow w(*report);
    w.resize(1400, 1000);
    showAndFinish(w);
    QVERIFY(report->prepared().setup(0).landscape);
    w.findText(QStringLiteral("STK00030"), false, true);
    QVERIFY(w.pageView()->highlight() >= 0);

    // Page setup through its dialog: portrait, for all pages.
    answerDialog(QStringLiteral("PageSetupDialog"), [](QDialog *d) {
        QRadioButton *portrait = nullptr, *all = nullptr;
        for (QRadioButton *b : d->findChildren<QRadioButton *>()) {
            if (b->text() == QStringLiteral("Dikey"))
                portrait = b;
            if (b->text() == QStringLiteral("Tüm sayfalara uygula"))
                all = b;
        }
        QVERIFY(portrait && all);
        portrait->click();
        all->click();
        QVERIFY(portrait->isChecked());
        QVERIFY2(all->isChecked(), qPrintable(all->text()));
    });
    w.findChild<QAction *>(QStringLiteral("actPageSetup"))->trigger();
    QTRY_VERIFY(!w.isBusy());
    QVERIFY(!report->tmpl().page.landscape); // for all pages: the template took it
    for (int page = 0; page < report->prepared().pageCount(); ++page)
        QVERIFY(!report->prepared().setup(page).landscape);
    QCOMPARE(w.pageView()->highlight(), -1); // the old mark does not stand on the new pages

    // The rows are 257 mm wide, the portrait paper 210 mm: nothing is drawn past its edge.
    PageView *view = w.pageView();
    w.applyZoomText(QStringLiteral("50"));
    QApplication::processEvents();
    const QImage shot = view->viewport()->grab().toImage();
    const QRectF page = view->pageRect(0).translated(-view->horizontalScrollBar()->value(),
                                                     -view->verticalScrollBar()->value());
    QVERIFY(page.right() + 40 < shot.width());
    const QColor background = shot.pixelColor(shot.width() - 2, 5);
    int outside = 0, inside = 0;
    for (int y = qMax(0, int(page.top())); y < qMin(shot.height(), int(page.bottom())); ++y) {
        for (int x = int(page.right()) + 5; x < shot.width(); ++x)
            outside += shot.pixelColor(x, y) != background;
        for (int x = int(page.left()) + 5; x < int(page.right()) - 5; ++x)
            inside += shot.pixelColor(x, y).lightness() < 128;
    }
    QVERIFY(inside > 100);
    QCOMPARE(outside, 0);
}

void PreviewTest::keysMoveBetweenPages()
{
    StockDb db;
    db.addRows(190);
    auto report = listReport(db);
    PreviewWindow w(*report);
    w.resize(900, 700);
    showAndFinish(w);
    const int pages = report->prepared().pageCount();
    QCOMPARE(pages, 4);
    PageView *view = w.pageView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(view->currentPage(), 1);
    QCOMPARE(w.statusText(), QStringLiteral("Sayfa 2 / 4"));
    QTest::keyClick(view, Qt::Key_End);
    QCOMPARE(w.statusText(), QStringLiteral("Sayfa 4 / 4"));
    QTest::keyClick(view, Qt::Key_Home);
    QCOMPARE(view->currentPage(), 0);
    const int before = view->verticalScrollBar()->value();
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(view->verticalScrollBar()->value(), before + 8);
    QTest::keyClick(view, Qt::Key_PageDown);
    QCOMPARE(view->verticalScrollBar()->value(), before + 308);
}

void PreviewTest::findOnlyWhereOfferedAndMarksTheMatch()
{
    StockDb db;
    db.addRows(200);
    auto form = std::make_unique<Report>(test::testTemplate(QStringLiteral("TestForm")));
    {
        PreviewWindow w(*form);
        QVERIFY(!w.findChild<QAction *>(QStringLiteral("actFind")));
        QVERIFY(!w.findChild<QAction *>(QStringLiteral("actFindNext")));
    }
    auto report = listReport(db);
    PreviewWindow w(*report);
    showAndFinish(w);
    QAction *find = w.findChild<QAction *>(QStringLiteral("actFind"));
    QVERIFY(find);
    QCOMPARE(find->toolTip(), QStringLiteral("Bul"));
    QCOMPARE(find->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    test::ScriptedUi ui;
    w.findText(QStringLiteral("stk00150"), false, true);
    QCOMPARE(w.currentPage(), 2);
    QVERIFY(ui.shown.isEmpty());
    w.findText(QStringLiteral("Sayfa: "), false, true);
    QCOMPARE(w.currentPage(), 0);
    w.findNext(); // F3
    QCOMPARE(w.currentPage(), 1);
    w.findText(QStringLiteral("stk00150"), true, true);
    QCOMPARE(ui.texts(QStringLiteral("inform")).size(), 1);
}

void PreviewTest::saveAndOpenKeepPagesOnDamagedFiles()
{
    StockDb db;
    db.addRows(60);
    auto report = listReport(db);
    PreviewWindow w(*report);
    showAndFinish(w);
    const QByteArray shown = serializeReport(report->prepared());
    test::ScriptedUi ui;
    const QString base = db.folder() + QStringLiteral("/kayit");
    ui.files.push_back(base); // the extension is added
    w.saveReport();
    QVERIFY(ui.shown.isEmpty());
    QFile saved(base + QStringLiteral(".tkr"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), shown);

    QFile damaged(db.folder() + QStringLiteral("/bozuk.tkr"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(shown.left(shown.size() / 2));
    damaged.close();
    ui.files.push_back(damaged.fileName());
    w.openReport();
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1);
    QCOMPARE(serializeReport(report->prepared()), shown);

    // A good file replaces the pages.
    Template other = test::testTemplate(QStringLiteral("TestForm"));
    Report form(other);
    QVERIFY(form.prepare(nullptr));
    saveReportFile(form.prepared(), db.folder() + QStringLiteral("/form.tkr"));
    ui.files.push_back(db.folder() + QStringLiteral("/form.tkr"));
    w.openReport();
    QCOMPARE(report->prepared().pageCount(), 1);
    QCOMPARE(w.statusText(), QStringLiteral("Sayfa 1 / 1"));
}

// The save dialog asked about "rapor"; "rapor.tkr" or "rapor.pdf" already
// there is replaced only after the user says so.
void PreviewTest::namesCompletedWithTheirExtensionAskBeforeReplacing()
{
    StockDb db;
    db.addRows(60);
    auto report = listReport(db);
    PreviewWindow w(*report);
    showAndFinish(w);
    test::ScriptedUi ui;
    const QString base = db.folder() + QStringLiteral("/rapor");
    writeOld(base + QStringLiteral(".tkr"));
    writeOld(base + QStringLiteral(".pdf"));

    auto *save = w.findChild<QAction *>(QStringLiteral("actSave"));
    QVERIFY(save);
    ui.files.push_back(base);
    ui.answers.push_back(UiSeam::Answer::No);
    save->trigger();
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 1);
    QVERIFY(ui.texts(QStringLiteral("ask")).front().contains(QStringLiteral("rapor.tkr")));
    QVERIFY(isOld(base + QStringLiteral(".tkr")));
    ui.files.push_back(base);
    ui.answers.push_back(UiSeam::Answer::Yes);
    save->trigger();
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 2);
    QVERIFY(!isOld(base + QStringLiteral(".tkr")));

    QAction *pdf = exportMenuEntry(w, QStringLiteral("PDF dosyası..."));
    QVERIFY(pdf);
    answerDialog(QStringLiteral("ExportOptionsDialog"), [](QDialog *) {});
    ui.files.push_back(base);
    ui.answers.push_back(UiSeam::Answer::No);
    pdf->trigger();
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 3);
    QVERIFY(ui.texts(QStringLiteral("ask")).back().contains(QStringLiteral("rapor.pdf")));
    QVERIFY(isOld(base + QStringLiteral(".pdf")));

    // A free name asks nothing.
    ui.files.push_back(db.folder() + QStringLiteral("/yeni"));
    save->trigger();
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 3);
    QVERIFY(QFileInfo::exists(db.folder() + QStringLiteral("/yeni.tkr")));
    QVERIFY(ui.texts(QStringLiteral("error")).isEmpty());
}

// "rapor.jpg" chosen writes rapor-1.jpg, rapor-2.jpg: an earlier export's
// images under those names are replaced only after the user says so.
void PreviewTest::pageImagesAskBeforeReplacingNumberedFiles()
{
    StockDb db;
    db.addRows(80);
    auto report = listReport(db);
    PreviewWindow w(*report);
    showAndFinish(w);
    QCOMPARE(report->prepared().pageCount(), 2);
    test::ScriptedUi ui;
    const QString first = db.folder() + QStringLiteral("/rapor-1.jpg");
    writeOld(first);
    QAction *jpeg = exportMenuEntry(w, QStringLiteral("JPEG resmi..."));
    QVERIFY(jpeg);
    const auto exportImages = [&](UiSeam::Answer answer) {
        answerDialog(QStringLiteral("ExportOptionsDialog"), [](QDialog *) {});
        ui.files.push_back(db.folder() + QStringLiteral("/rapor.jpg"));
        ui.answers.push_back(answer);
        jpeg->trigger();
    };
    exportImages(UiSeam::Answer::No);
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 1);
    QVERIFY(ui.texts(QStringLiteral("ask")).front().contains(QStringLiteral("rapor-1.jpg")));
    QVERIFY(isOld(first));
    QVERIFY(!QFileInfo::exists(db.folder() + QStringLiteral("/rapor-2.jpg")));

    exportImages(UiSeam::Answer::Yes);
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 2);
    QVERIFY(!QImage(first).isNull());
    QVERIFY(!QImage(db.folder() + QStringLiteral("/rapor-2.jpg")).isNull());
    QVERIFY(ui.texts(QStringLiteral("error")).isEmpty());
}

void PreviewTest::pageSetupForOnePageOrAll()
{
    StockDb db;
    db.addRows(80);
    auto report = listReport(db);
    PreviewWindow w(*report);
    showAndFinish(w);
    QCOMPARE(report->prepared().pageCount(), 2);
    PageSetup wide = PageSetup::a4(true, 10, 10, 10, 10);
    w.applyPageSetup(wide, false);
    QVERIFY(report->prepared().setup(0).landscape);
    QVERIFY(!report->prepared().setup(1).landscape);
    QVERIFY(!report->tmpl().page.landscape);

    w.applyPageSetup(wide, true); // the template takes it and the report is laid out again
    QTRY_VERIFY(!w.isBusy());
    QVERIFY(report->tmpl().page.landscape);
    QCOMPARE(report->prepared().pageCount(), 3); // 190 mm of height instead of 277
    for (int p = 0; p < 3; ++p)
        QCOMPARE(report->prepared().setup(p).paperWidth, 297.0);
}

void PreviewTest::printingChoosesPagesAndPaper()
{
    StockDb db;
    db.addRows(120);
    auto report = listReport(db);
    QVERIFY(report->prepare(nullptr));
    report->prepared().setPageSetup(2, PageSetup::a4(true, 10, 10, 10, 10));
    QTemporaryDir dir;
    const auto pdfInfo = [](const QString &file) {
        QProcess p;
        p.start(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                            QStringLiteral("9"), file});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput());
    };

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("current.pdf")));
    printer.setPrintRange(QPrinter::CurrentPage);
    QCOMPARE(chosenPages(printer, 3, 1), std::vector<int>{1});
    QVERIFY(printPages(printer, report->prepared(), chosenPages(printer, 3, 1)));
    QVERIFY(pdfInfo(printer.outputFileName()).contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\b"))));

    QPrinter ranged(QPrinter::HighResolution);
    ranged.setOutputFormat(QPrinter::PdfFormat);
    ranged.setOutputFileName(dir.filePath(QStringLiteral("ranged.pdf")));
    ranged.setPrintRange(QPrinter::PageRange);
    QPageRanges ranges;
    ranges.addPage(1);
    ranges.addRange(3, 3);
    ranged.setPageRanges(ranges);
    QCOMPARE(chosenPages(ranged, 3, 0), (std::vector<int>{0, 2}));
    QVERIFY(printPages(ranged, report->prepared(), chosenPages(ranged, 3, 0)));
    const QString info = pdfInfo(ranged.outputFileName());
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))));
    // Each page on its own paper: the first portrait, the second (page 3) landscape.
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page\\s+1 size:\\s+595(\\.\\d+)? x 84[12]"))), qPrintable(info));
    QVERIFY(info.contains(QRegularExpression(QStringLiteral("Page\\s+2 size:\\s+84[12](\\.\\d+)? x 595"))));

    // Progress stops the printing.
    QPrinter stopped(QPrinter::HighResolution);
    stopped.setOutputFormat(QPrinter::PdfFormat);
    stopped.setOutputFileName(dir.filePath(QStringLiteral("stopped.pdf")));
    int calls = 0;
    QVERIFY(!printPages(stopped, report->prepared(), {0, 1, 2}, [&](int) { return ++calls < 2; }));
}

void PreviewTest::printingWithoutPrinterSaysSo()
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("this machine has a printer installed");
    StockDb db;
    db.addRows(5);
    auto report = listReport(db);
    PreviewWindow w(*report);
    showAndFinish(w);
    test::ScriptedUi ui;
    w.findChild<QAction *>(QStringLiteral("actPrint"))->trigger();
    QCOMPARE(ui.shown.size(), 1);
    QCOMPARE(ui.shown[0].caption, QStringLiteral("Hata"));
    QCOMPARE(ui.shown[0].text, QStringLiteral("Bilgisayarınızda kurulu hiçbir yazıcı yok"));
    QVERIFY(!w.isBusy());
    // The path without preview says the same after preparing.
    report->prepareAndPrint(nullptr);
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 2);
}

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
