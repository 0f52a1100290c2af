// The main window on a real Data.dat: start-up state, page switching, the
// status bar, the settings file written at close, and the exit question.
#include "app/TAyarFrm.h"
#include "app/TForm1.h"
#include "core/Cp1254.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tk;
using tk::test::ScriptedUi;
using tk::test::TempDatabase;

namespace {

AppPaths pathsIn(const TempDatabase &db)
{
    AppPaths paths;
    paths.programFolder = db.folder();
    paths.configFolder = db.folder() + QStringLiteral("/config");
    return paths;
}

QString panel(TForm1 &form, const char *name) { return form.findChild<QLabel *>(QLatin1String(name))->text(); }

QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithNoPageAndAllButtonsEnabled();
    void pageButtonShowsOnlyItsTab();
    void statusBarTextsFollowThePages();
    void firstCloseWritesTheDefaultFile();
    void answeringNoKeepsTheProgramButWritesTheFile();
    void unwritableSettingsKeepTheWindowOpen();
    void settingsSurviveARestart();
    void closingSavesAChangedRow();
    void badValuesAreRefusedAndKept();
    void missingDatabaseNamesItsPath();
    void repairReleasesTheDatabaseAndRestarts();
    void hintPanelShowsTheLongHintUpTheParents();
};

void MainWindowTest::startsWithNoPageAndAllButtonsEnabled()
{
    TempDatabase db(TempDatabase::Demo);
    TForm1 form(pathsIn(db));
    form.show();
    form.statusRefresh();
    QCOMPARE(form.windowTitle(), QStringLiteral("XXX Tekvanis 1.0"));
    QVERIFY(!form.findChild<QWidget *>(QStringLiteral("Panel6"))->isVisible());
    for (int i = 1; i <= 10; ++i)
        QVERIFY(form.findChild<QPushButton *>(QStringLiteral("RzButton%1").arg(i))->isEnabled());
    QCOMPARE(panel(form, "StatusPanelCount"), QString());
    QCOMPARE(panel(form, "StatusPanelCurrent"), QString());
    QVERIFY(form.minimumSize() == QSize(1000, 654));
}

void MainWindowTest::pageButtonShowsOnlyItsTab()
{
    TempDatabase db(TempDatabase::Demo);
    TForm1 form(pathsIn(db));
    form.show();
    Dataset *kasa = form.data()->dataset(QStringLiteral("Kasa"));
    kasa->last();
    const int row = kasa->currentRow();

    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("RzButton10")), Qt::LeftButton);
    form.statusRefresh();
    auto *tabs = form.findChild<QTabWidget *>(QStringLiteral("RzPageControl1"));
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("TabSheet6"));
    for (int i = 0; i < tabs->count(); ++i)
        QCOMPARE(tabs->tabBar()->isTabVisible(i), i == 5);
    QCOMPARE(tabs->tabText(5), QStringLiteral("KASA TAKİP          "));
    QVERIFY(!form.findChild<QPushButton *>(QStringLiteral("RzButton10"))->isEnabled());
    QVERIFY(form.findChild<QPushButton *>(QStringLiteral("RzButton1"))->isEnabled());
    QVERIFY(form.findChild<QWidget *>(QStringLiteral("Panel6"))->isVisible());

    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("RzButton1")), Qt::LeftButton);
    form.statusRefresh();
    QVERIFY(form.findChild<QPushButton *>(QStringLiteral("RzButton10"))->isEnabled());
    QCOMPARE(kasa->currentRow(), row); // switching pages moves no dataset
}

void MainWindowTest::statusBarTextsFollowThePages()
{
    TempDatabase db(TempDatabase::Demo);
    TForm1 form(pathsIn(db));
    form.show();

    form.showPage(7); // SENET TAKİP
    const int issued = db.scalar(QStringLiteral("SELECT count(*) FROM SenetVer")).toInt();
    const int received = db.scalar(QStringLiteral("SELECT count(*) FROM SenetAl")).toInt();
    QCOMPARE(panel(form, "StatusPanelCount"),
             QStringLiteral("  V. Senet : %1 /  A. Senet : %2").arg(issued).arg(received));
    QCOMPARE(panel(form, "StatusPanelCurrent"),
             QStringLiteral("  Senet No : %1 | %2")
                 .arg(form.data()->dataset(QStringLiteral("SenetVer"))->text(QStringLiteral("SenetNo")),
                      form.data()->dataset(QStringLiteral("SenetAl"))->text(QStringLiteral("SenetNo"))));

    form.showPage(4); // İRSALİYELER counts the lines of the current period
    Dataset *periods = form.data()->dataset(QStringLiteral("IrsaliyeUst"));
    QVERIFY(periods->rowCount() >= 2);
    for (int i = 0; i < periods->rowCount(); ++i) {
        periods->moveTo(i);
        form.statusRefresh();
        const QString key = periods->value(QStringLiteral("SiraNo")).toString();
        const int lines = db.scalar(QStringLiteral("SELECT count(*) FROM Irsaliye WHERE SiraNo=") + key).toInt();
        QCOMPARE(panel(form, "StatusPanelCount"), QStringLiteral("  Kayıt Sayısı : %1").arg(lines));
        QCOMPARE(panel(form, "StatusPanelCurrent"),
                 QStringLiteral("  Dönem : %1 / %2")
                     .arg(periods->text(QStringLiteral("Yil")), periods->text(QStringLiteral("Aylar"))));
    }

    form.showPage(0); // typing shows before saving
    auto *plate = form.findChild<QLineEdit *>(QStringLiteral("DBEdit2"));
    plate->setFocus();
    plate->selectAll();
    QTest::keyClicks(plate, QStringLiteral("34 ab 12"));
    form.statusRefresh();
    QCOMPARE(panel(form, "StatusPanelCurrent"), QStringLiteral("  Aktif : 34 AB 12"));
    QCOMPARE(panel(form, "StatusPanelCount"),
             QStringLiteral("  Kayıtlı Araç : %1").arg(db.scalar(QStringLiteral("SELECT count(*) FROM MusTakip")).toInt()));
}

void MainWindowTest::firstCloseWritesTheDefaultFile()
{
    TempDatabase db(TempDatabase::Empty);
    ScriptedUi ui;
    ui.answers = {UiSeam::Answer::Yes};
    TForm1 form(pathsIn(db));
    form.show();
    QVERIFY(form.close());
    QCOMPARE(ui.texts(QStringLiteral("ask")), QStringList{QStringLiteral("Programdan çıkmak istiyor musunuz?")});
    QCOMPARE(ui.shown.first().caption, QStringLiteral(" Muhasebe"));
    const QByteArray expected = QStringLiteral(
        "[MusTakipToplam]\r\n--=\r\n\r\n[Cari]\r\n--O=\r\n--K=\r\n\r\n[Odeme]\r\n--T=\r\n\r\n[Settings]\r\n--P=1\r\nKdv=18\r\n"
        "Rp1=XXX TEKVANİS\r\nRp2=HASAR TAKİP\r\nRp3=FATURALAR\r\nRp4=CARİ HESAPLAR\r\nRp5=İRSALİYELER\r\nRp6=KASA\r\n"
        "Rp7=ÖDEME PLANI\r\nRp8=ALINAN SENETLER\r\nRp9=VERİLEN SENETLER\r\nRp10=YEDEK PARÇA LİSTESİ\r\nRp11=MAAŞ\r\n"
        "Mhs1=AD SOYAD\r\nMhs2=XXX Tekvanis\r\n").toUtf8();
    const QByteArray file = readFile(db.folder() + QStringLiteral("/S-Veri.ini"));
    QCOMPARE(file, cp1254::encode(QString::fromUtf8(expected))); // Windows-1254, byte for byte
}

void MainWindowTest::answeringNoKeepsTheProgramButWritesTheFile()
{
    TempDatabase db;
    ScriptedUi ui;
    ui.answers = {UiSeam::Answer::No};
    TForm1 form(pathsIn(db));
    form.show();
    form.settingsDialog()->box(QStringLiteral("Kdv"))->setText(QStringLiteral("20"));
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QVERIFY(readFile(db.folder() + QStringLiteral("/S-Veri.ini")).contains("Kdv=20\r\n"));
}

void MainWindowTest::unwritableSettingsKeepTheWindowOpen()
{
    TempDatabase db;
    QDir(db.folder()).mkdir(QStringLiteral("S-Veri.ini")); // a folder where the file should be
    ScriptedUi ui;
    ui.answers = {UiSeam::Answer::Yes};
    TForm1 form(pathsIn(db));
    form.show();
    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(ui.texts(QStringLiteral("ask")), QStringList()); // no exit question after the failure
    QCOMPARE(ui.texts(QStringLiteral("error")),
             QStringList{QStringLiteral("Unable to write to ") + QDir(db.folder()).filePath(QStringLiteral("S-Veri.ini"))});
}

void MainWindowTest::settingsSurviveARestart()
{
    TempDatabase db;
    {
        ScriptedUi ui;
        ui.answers = {UiSeam::Answer::Yes};
        TForm1 form(pathsIn(db));
        form.show();
        form.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("1.250,00"));
        form.settingsDialog()->box(QStringLiteral("Rp3"))->setText(QString());
        form.settingsDialog()->box(QStringLiteral("Mhs2"))->setText(QStringLiteral("ÇAĞRI OTO"));
        form.settingsDialog()->previewBox()->setChecked(false);
        QVERIFY(form.close());
        QCOMPARE(form.windowTitle(), QStringLiteral("XXX Tekvanis 1.0")); // the caption changes only at the next start
    }
    TForm1 form(pathsIn(db));
    form.show();
    QCOMPARE(form.findChild<QLineEdit *>(QStringLiteral("Edit2"))->text(), QStringLiteral("1.250,00"));
    QCOMPARE(form.settingsDialog()->setting(QStringLiteral("Rp3")), QString()); // empty stays empty
    QCOMPARE(form.settingsDialog()->setting(QStringLiteral("--P")), QStringLiteral("0"));
    QCOMPARE(form.windowTitle(), QStringLiteral("ÇAĞRI OTO 1.0"));
}

void MainWindowTest::closingSavesAChangedRow()
{
    TempDatabase db;
    {
        ScriptedUi ui;
        ui.answers = {UiSeam::Answer::Yes};
        TForm1 form(pathsIn(db));
        form.show();
        Dataset *stok = form.data()->dataset(QStringLiteral("Stok"));
        stok->append();
        stok->setText(QStringLiteral("StokKodu"), QStringLiteral("YAĞ-01"));
        Dataset *kasa = form.data()->dataset(QStringLiteral("Kasa"));
        kasa->append(); // unchanged: dropped
        QVERIFY(form.close());
    }
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok WHERE StokKodu='YAĞ-01'")).toInt(), 1);
    QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Kasa")).toInt(), 0);

    // a save that fails keeps the program open
    ScriptedUi ui;
    ui.answers = {UiSeam::Answer::Yes};
    TForm1 form(pathsIn(db));
    form.show();
    Dataset *stok = form.data()->dataset(QStringLiteral("Stok"));
    stok->setText(QStringLiteral("Adet"), QStringLiteral("on iki"));
    QVERIFY(!form.close());
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(ui.texts(QStringLiteral("error")).first().contains(QStringLiteral("'on iki'")));
}

void MainWindowTest::badValuesAreRefusedAndKept()
{
    TempDatabase db(TempDatabase::Demo);
    ScriptedUi ui;
    TForm1 form(pathsIn(db));
    form.show();
    form.showPage(8); // STOK LİSTESİ
    Dataset *stok = form.data()->dataset(QStringLiteral("Stok"));
    const QVariant before = db.scalar(QStringLiteral("SELECT Alis FROM Stok WHERE SiraNo=") + stok->value(QStringLiteral("SiraNo")).toString());
    stok->setText(QStringLiteral("Alis"), QStringLiteral("12a"));
    form.findChild<RecordActions *>(QStringLiteral("ActionList1"))->updateEnabled(); // as at idle time
    form.findChild<QAction *>(QStringLiteral("StokPost"))->trigger();
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(ui.texts(QStringLiteral("error")).first().contains(QStringLiteral("'12a'")));
    QCOMPARE(stok->state(), Dataset::State::Edit);
    QCOMPARE(stok->text(QStringLiteral("Alis")), QStringLiteral("12a"));
    QCOMPARE(db.scalar(QStringLiteral("SELECT Alis FROM Stok WHERE SiraNo=") + stok->value(QStringLiteral("SiraNo")).toString()), before);
}

void MainWindowTest::missingDatabaseNamesItsPath()
{
    QTemporaryDir dir;
    AppPaths paths;
    paths.programFolder = dir.path();
    paths.configFolder = dir.path();
    paths.databasePath = dir.filePath(QStringLiteral("Data.dat"));
    try {
        TForm1 form(paths);
        QFAIL("the window must not open without its database");
    } catch (const DatabaseError &e) {
        QVERIFY(e.text().contains(dir.filePath(QStringLiteral("Data.dat"))));
    }
}

void MainWindowTest::repairReleasesTheDatabaseAndRestarts()
{
    TempDatabase db(TempDatabase::Demo);
    ScriptedUi ui;
    AppPaths paths = pathsIn(db);
    paths.programFile = QStringLiteral("/opt/tekvanis/tekvanis");
    TForm1 form(paths);
    form.show();
    form.showPage(0);
    form.statusRefresh();
    QVERIFY(!panel(form, "StatusPanelCount").isEmpty());
    bool releasedWhileOpen = false;
    QTimer::singleShot(0, &form, [&] {
        // the maintenance dialog is up: nothing holds the database any more
        releasedWhileOpen = form.data()->connection() == nullptr;
        for (Dataset *ds : form.data()->datasets())
            releasedWhileOpen = releasedWhileOpen && !ds->isOpen();
        form.statusRefresh();
        QCOMPARE(panel(form, "StatusPanelCount"), QString());
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        dialog->close(); // every way out restarts the program
    });
    QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("SpeedButton12")), Qt::LeftButton);
    QVERIFY(releasedWhileOpen);
    QCOMPARE(ui.restarts, QStringList{paths.programFile});
    QVERIFY(form.close()); // the run ends without the exit question
    QVERIFY(ui.texts(QStringLiteral("ask")).isEmpty());
    QVERIFY(!QFile::exists(db.folder() + QStringLiteral("/S-Veri.ini")));
}

void MainWindowTest::hintPanelShowsTheLongHintUpTheParents()
{
    TempDatabase db;
    ScriptedUi ui;
    TForm1 form(pathsIn(db));
    form.show();
    const auto enter = [](QWidget *w) {
        QEvent e(QEvent::Enter);
        QApplication::sendEvent(w, &e);
    };
    enter(form.findChild<QWidget *>(QStringLiteral("RzButton3")));
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" Fatura takip..."));
    enter(form.findChild<QWidget *>(QStringLiteral("RzButton5"))); // a hint without a bar serves whole
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" İrsaliyeler..."));
    enter(form.findChild<QWidget *>(QStringLiteral("DBEdit47"))); // no hint of its own: the page control's
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" İrsaliye formu..."));
    enter(form.findChild<QWidget *>(QStringLiteral("Panel1"))); // nothing up the chain
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" "));

    auto *link = form.findChild<QLabel *>(QStringLiteral("Label24"));
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(ui.openedUrls.size(), 1);
    QVERIFY(link->text().startsWith(QStringLiteral("Paylaşım Platformu\n")));
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
