// The print buttons of the record pages on the real main window and a real
// Data.dat: what each press copies into its report, read back from the
// prepared pages, the preview switch, and what a press does to the rows.
#include "app/TAyarFrm.h"
#include "app/TForm1.h"
#include "app/PageTable.h"
#include "pages/PrintButtons.h"
#include "reports/Report.h"
#include "reports/engine/TemplateLoader.h"
#include "reports/preview/PreviewWindow.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QTableView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tk;
using namespace tk::reports;
using tk::test::ScriptedUi;
using tk::test::TempDatabase;

namespace {

enum PageIndex { kMusTakip = 0, kHasTakip = 1, kCari = 3, kKasa = 5, kSenet = 7, kStok = 8, kMaas = 9 };

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

// Closes every modal window that opens while it lives (the print dialog
// when a printer exists, the preview once its layout is done) and notes
// which ones it met.
class ModalCloser : public QObject {
public:
    ModalCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(50);
    }
    QStringList met;

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *preview = qobject_cast<PreviewWindow *>(modal)) {
            if (preview->isBusy() || ++m_previewPolls < 4)
                return; // the layout starts shortly after the window opens
        }
        met << QString::fromLatin1(modal->metaObject()->className());
        m_previewPolls = 0;
        QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
    }
    QTimer m_timer;
    int m_previewPolls = 0;
};

struct PrintFixture {
    explicit PrintFixture(int page) : db(TempDatabase::Demo)
    {
        AppPaths paths;
        paths.programFolder = db.folder();
        paths.configFolder = db.folder() + QStringLiteral("/config");
        form = std::make_unique<TForm1>(paths);
        form->show();
        QApplication::setActiveWindow(form.get());
        context.data = form->data();
        TAyarFrm *settings = form->settingsDialog();
        context.setting = [settings](const QString &key) { return settings->setting(key); };
        connected = connectPrintButtons(form.get(), context);
        form->showPage(page);
        setPreview(false);
    }
    void setPreview(bool on) const { form->settingsDialog()->previewBox()->setChecked(on); }
    QLineEdit *setting(const char *key) const { return form->settingsDialog()->box(QLatin1String(key)); }
    Dataset *dataset(const char *name) const { return form->data()->dataset(QLatin1String(name)); }
    template <typename T = QLineEdit> T *box(const char *name) const
    {
        // Boxes of the pages only: the settings dialog has an Edit13 and Edit14 of its own.
        for (RecordPage *page : form->findChildren<RecordPage *>())
            if (auto *b = page->findChild<T *>(QLatin1String(name)))
                return b;
        qFatal("no box %s", name);
        return nullptr;
    }
    PrintButtons *registry() const { return form->findChild<PrintButtons *>(); }
    // Presses the button and returns the pages its report holds afterwards.
    const PreparedReport &press(const char *button)
    {
        QPushButton *b = box<QPushButton>(button);
        ui.shown.clear();
        ModalCloser closer;
        QTest::mouseClick(b, Qt::LeftButton);
        modals = closer.met;
        const PrintButtonDef *def = findPrintButton(QLatin1String(button));
        return registry()->report(QLatin1String(def->report)).prepared();
    }
    // A print without preview reached the print dialog once or, on a machine
    // without printers, said so once; nothing else was shown.
    void expectPrintPath() const
    {
        const QStringList errors = ui.texts(QStringLiteral("error"));
        QVERIFY(!modals.contains(QStringLiteral("tk::reports::PreviewWindow")));
        QCOMPARE(errors.size() + modals.size(), 1);
        if (!errors.isEmpty())
            QCOMPARE(errors.first(), QStringLiteral("Bilgisayarınızda kurulu hiçbir yazıcı yok"));
    }

    TempDatabase db;
    ScriptedUi ui;
    std::unique_ptr<TForm1> form;
    PageContext context;
    int connected = 0;
    QStringList modals;
};

} // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void everyButtonIsConnectedAndEveryCellAndBoxExists();
    void jobPrintsItsBoxesAsTheyShowAndTextsLiterally();
    void pressSavesTheOperationBeingEditedAndEndsOnTheLastRow();
    void damageFormTakesItsBoxes();
    void accountTotalsAsThePageShowsThem();
    void cashReportTakesTheSignerAndThePeriod();
    void stockReportAfterASearchListsOnlyWhatWasFound();
    void stockReportPrintsInTheOrderOfAClickedTitle();
    void notesReportsListTheirWholeTable();
    void previewSwitchChoosesThePreviewWindow();
};

void PrintTest::everyButtonIsConnectedAndEveryCellAndBoxExists()
{
    PrintFixture f(kMusTakip);
    QCOMPARE(f.connected, 11);
    QCOMPARE(connectPrintButtons(f.form.get(), f.context), 11); // a press still prints once (expectPrintPath)
    QCOMPARE(printButtonTable().size(), size_t(11));
    QSet<QString> reports;
    for (const PrintButtonDef &def : printButtonTable()) {
        const QString button = QLatin1String(def.button);
        QPushButton *b = f.box<QPushButton>(def.button);
        QCOMPARE(b->text(), QStringLiteral("  Yazdır"));
        reports.insert(QLatin1String(def.report));
        const Template t = loadTemplate(QLatin1String(def.report));
        QVERIFY2(t.findCell(QStringLiteral("Memo1")), def.report);
        QVERIFY(QByteArray(def.titleSetting).startsWith("Rp"));
        QVERIFY2(f.setting(def.titleSetting), def.titleSetting);
        for (const PrintCellSource &cell : def.cells) {
            QVERIFY2(t.findCell(QLatin1String(cell.cell)), qPrintable(button + QLatin1Char(' ') + QLatin1String(cell.cell)));
            const Cell *c = t.findCell(QLatin1String(cell.cell));
            QVERIFY2(c->text.isEmpty() && !c->isBound(), cell.cell); // a cell the button fills holds nothing of its own
            if (cell.kind == PrintCellSource::Box) {
                // The box stands on the same page as the button.
                QWidget *page = b->parentWidget();
                while (page && !qobject_cast<RecordPage *>(page))
                    page = page->parentWidget();
                QVERIFY2(page && page->findChild<QWidget *>(QLatin1String(cell.source)),
                         qPrintable(button + QLatin1Char(' ') + QLatin1String(cell.source)));
            }
        }
    }
    QCOMPARE(reports.size(), 11);
    f.press("BitBtn3");
    f.expectPrintPath();
}

void PrintTest::jobPrintsItsBoxesAsTheyShowAndTextsLiterally()
{
    PrintFixture f(kMusTakip);
    const QString stored = f.db.scalar(QStringLiteral("SELECT Sikayet FROM MusTakip WHERE MusteriKodu='M-1001'")).toString();
    QCOMPARE(f.box("DBEdit1")->text(), QStringLiteral("M-1001"));
    // Typed and not saved: a complaint with a word in brackets, a title changed in the settings.
    auto *complaint = f.box<QPlainTextEdit>("DBMemo1");
    complaint->setFocus();
    complaint->selectAll();
    QTest::keyClick(complaint, Qt::Key_Delete);
    test::typeText(complaint, QStringLiteral("[ACİL] fren"));
    const QString shownComplaint = complaint->toPlainText();
    QVERIFY(shownComplaint.contains(QStringLiteral("[ACİL]")));
    f.setting("Rp1")->setText(QStringLiteral("[USTA] SERVİS"));

    const PreparedReport &r = f.press("BitBtn3");
    f.expectPrintPath();
    QCOMPARE(r.pageCount(), 1);
    QCOMPARE(texts(r, 0, BandKind::ReportTitle), QStringList{QStringLiteral("[USTA] SERVİS")});
    const QStringList block = texts(r, 0, BandKind::PageHeader);
    for (const char *name : {"DBEdit1", "DBEdit6", "DBEdit12", "DBEdit2", "DBEdit3", "DBEdit4", "DBEdit5", "DBEdit7",
                             "DBEdit8"})
        QVERIFY2(block.contains(f.box(name)->text()), name);
    QVERIFY(block.contains(QStringLiteral("08.01.2024"))); // the date as the box shows it
    QVERIFY(block.contains(shownComplaint));
    QVERIFY(block.contains(f.box<QPlainTextEdit>("DBMemo2")->toPlainText()));
    QCOMPARE(texts(r, 0, BandKind::Footer).last(), QStringLiteral("2.900,50 TL"));
    // The job being typed into is not saved by the print.
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Sikayet FROM MusTakip WHERE MusteriKodu='M-1001'")).toString(), stored);
}

void PrintTest::pressSavesTheOperationBeingEditedAndEndsOnTheLastRow()
{
    PrintFixture f(kMusTakip);
    Dataset *operations = f.dataset("MusTakip1");
    operations->first();
    operations->edit();
    operations->setText(QStringLiteral("Tutar"), QStringLiteral("1000"));
    const PreparedReport &r = f.press("BitBtn3");
    f.expectPrintPath();
    QCOMPARE(texts(r, 0, BandKind::MasterData).at(1), QStringLiteral("1.000,00 TL"));
    QCOMPARE(texts(r, 0, BandKind::Footer).last(), QStringLiteral("3.050,50 TL"));
    QCOMPARE(f.db.scalar(QStringLiteral("SELECT Tutar FROM MusTakip1 WHERE Islem='Buji Değişimi'")).toDouble(), 1000.0);
    QCOMPARE(operations->state(), Dataset::State::Browse);
    QCOMPARE(operations->currentRow(), operations->rowCount() - 1); // nothing restored
}

void PrintTest::damageFormTakesItsBoxes()
{
    PrintFixture f(kHasTakip);
    const PreparedReport &r = f.press("BitBtn2");
    f.expectPrintPath();
    QCOMPARE(r.pageCount(), 1);
    QCOMPARE(texts(r, 0, BandKind::ReportTitle), QStringList{QStringLiteral("HASAR TAKİP")});
    QCOMPARE(texts(r, 0, BandKind::PageHeader),
             (QStringList{QStringLiteral("KAZALI ARAÇ PLAKASI :"), f.box("DBEdit27")->text(), QStringLiteral("DOSYA NO :"),
                          f.box("DBEdit26")->text()}));
    const QStringList summary = texts(r, 0, BandKind::ReportSummary);
    QCOMPARE(summary.size(), 57);
    QCOMPARE(summary.at(2), f.box("DBEdit28")->text());
    QCOMPARE(summary.at(6 * 3), QStringLiteral("KAZALI POLİÇE NO"));
    QCOMPARE(summary.at(6 * 3 + 2), f.box("DBEdit24")->text());
    QCOMPARE(summary.at(18 * 3 + 2), f.box<QPlainTextEdit>("DBMemo3")->toPlainText());
    QVERIFY(!f.box("DBEdit27")->text().isEmpty());
}

void PrintTest::accountTotalsAsThePageShowsThem()
{
    PrintFixture f(kCari);
    // The totals box keeps what it shows until an entry is saved, whatever company is current.
    f.box("Edit13")->setText(QStringLiteral("13.200,00"));
    f.box("Edit14")->setText(QStringLiteral("2.090,00"));
    const QString company = QStringLiteral("GÜNEŞ AKÜ VE OTO ELEKTRİK");
    Dataset *companies = f.dataset("Cari");
    for (companies->first(); companies->value(QStringLiteral("Firma")).toString() != company;)
        companies->next();
    QCOMPARE(f.box("DBEdit59")->text(), company);
    const PreparedReport &r = f.press("BitBtn5");
    f.expectPrintPath();
    QCOMPARE(texts(r, 0, BandKind::PageHeader), (QStringList{QStringLiteral("FİRMA ADI :"), company}));
    QCOMPARE(texts(r, 0, BandKind::MasterData).size(), 3 * 9);
    QCOMPARE(texts(r, 0, BandKind::Footer), (QStringList{QStringLiteral("TOPLAM :"), QStringLiteral("13.200,00 TL"),
                                                         QStringLiteral("2.090,00 TL")}));
}

void PrintTest::cashReportTakesTheSignerAndThePeriod()
{
    PrintFixture f(kKasa);
    f.setting("Mhs1")->setText(QStringLiteral("MEHMET KAYA"));
    const PreparedReport &r = f.press("BitBtn7");
    f.expectPrintPath();
    QCOMPARE(texts(r, 0, BandKind::ReportTitle), QStringList{QStringLiteral("KASA")});
    QCOMPARE(texts(r, 0, BandKind::PageHeader), (QStringList{QStringLiteral("DÖNEM :"), f.box("DBEdit82")->text()}));
    const QStringList footer = texts(r, 0, BandKind::Footer);
    QCOMPARE(footer.at(footer.indexOf(QStringLiteral("MUHASEBE")) + 3), QStringLiteral("MEHMET KAYA"));
    QCOMPARE(footer.last(), QStringLiteral("15930,50 TL"));
}

void PrintTest::stockReportAfterASearchListsOnlyWhatWasFound()
{
    PrintFixture f(kStok);
    QLineEdit *search = f.box("Edit6");
    search->setFocus();
    test::typeText(search, QStringLiteral("yp-0"));
    const int found = f.db.scalar(QStringLiteral("SELECT count(*) FROM Stok WHERE StokKodu LIKE 'YP-0%'")).toInt();
    QVERIFY(found > 1 && found < f.db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt());
    QCOMPARE(f.dataset("Stok")->rowCount(), found);

    const PreparedReport &r = f.press("BitBtn11");
    f.expectPrintPath();
    QCOMPARE(texts(r, 0, BandKind::ReportTitle), QStringList{QStringLiteral("YEDEK PARÇA LİSTESİ")});
    const QStringList rows = texts(r, 0, BandKind::MasterData);
    QCOMPARE(rows.size(), found * 6);
    for (int i = 0; i < found; ++i)
        QVERIFY2(rows.at(i * 6).startsWith(QStringLiteral("YP-0")), qPrintable(rows.at(i * 6)));
    QCOMPARE(texts(r, 0, BandKind::PageFooter), QStringList{QStringLiteral("Sayfa: 1 / 1")});
}

void PrintTest::stockReportPrintsInTheOrderOfAClickedTitle()
{
    PrintFixture f(kStok);
    auto *list = f.form->findChild<QTableView *>(QStringLiteral("SrDBGrid7"));
    QHeaderView *header = list->horizontalHeader();
    const QPoint nameTitle(header->sectionViewportPosition(1) + header->sectionSize(1) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, nameTitle);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, nameTitle); // names downwards
    QStringList shown;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        shown << list->model()->index(row, 1).data().toString();
    QVERIFY(shown.size() > 2);
    QVERIFY(f.dataset("Stok")->sortOrder().endsWith(QStringLiteral(" DESC")));

    const PreparedReport &r = f.press("BitBtn11");
    QStringList printed;
    for (int page = 0; page < r.pageCount(); ++page) {
        const QStringList rows = texts(r, page, BandKind::MasterData);
        for (int i = 1; i < rows.size(); i += 6)
            printed << rows.at(i);
    }
    QCOMPARE(printed, shown);
}

void PrintTest::notesReportsListTheirWholeTable()
{
    PrintFixture f(kSenet);
    f.dataset("SenetVer")->last();
    f.dataset("SenetAl")->moveTo(1);
    const PreparedReport &given = f.press("BitBtn9");
    f.expectPrintPath();
    QCOMPARE(texts(given, 0, BandKind::ReportTitle), QStringList{QStringLiteral("VERİLEN SENETLER")});
    QCOMPARE(texts(given, 0, BandKind::MasterData).size(), 3 * 5);
    QCOMPARE(texts(given, 0, BandKind::Footer).last(), QStringLiteral("13.050,50 TL"));
    const PreparedReport &received = f.press("BitBtn10");
    QCOMPARE(texts(received, 0, BandKind::ReportTitle), QStringList{QStringLiteral("ALINAN SENETLER")});
    QCOMPARE(texts(received, 0, BandKind::MasterData).size(), 2 * 5);
    QCOMPARE(texts(received, 0, BandKind::MasterData).first(), QStringLiteral("SA-1101"));
}

void PrintTest::previewSwitchChoosesThePreviewWindow()
{
    PrintFixture f(kMaas);
    f.setPreview(true);
    const PreparedReport &r = f.press("BitBtn1");
    QCOMPARE(f.modals, QStringList{QStringLiteral("tk::reports::PreviewWindow")});
    QVERIFY(f.ui.texts(QStringLiteral("error")).isEmpty());
    QCOMPARE(r.pageCount(), 1);
    QCOMPARE(texts(r, 0, BandKind::PageHeader).last(), f.box("DBEdit91")->text());
    QCOMPARE(texts(r, 0, BandKind::ReportTitle), QStringList{QStringLiteral("MAAŞ")});

    f.setPreview(false);
    f.setting("Rp11")->setText(QStringLiteral("MAAŞ BORDROSU"));
    const PreparedReport &again = f.press("BitBtn1");
    f.expectPrintPath();
    QCOMPARE(texts(again, 0, BandKind::ReportTitle), QStringList{QStringLiteral("MAAŞ BORDROSU")});
    QCOMPARE(texts(again, 0, BandKind::MasterData).size(), 3 * 11);
}

QTEST_MAIN(PrintTest)
#include "tst_print.moc"
