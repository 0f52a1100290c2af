// The main window on a real Data.dat: start-up state, page switching, the
// status bar, the settings file written at close, and the exit question.
#include "app/TAyarFrm.h"
#include "app/TForm1.h"
#include "core/Cp1254.h"
#include "data/BoundControls.h"
#include "data/DatasetModel.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QHelpEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <sys/inotify.h>
#include <unistd.h>

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

// What happens to the files of one folder, as the kernel saw it.
class FolderWatch {
public:
    explicit FolderWatch(const QString &folder)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_OPEN | IN_MODIFY | IN_MOVED_TO);
    }
    ~FolderWatch() { ::close(m_fd); }
    // Events since the last call, as "OPEN name", "MODIFY name", "MOVED_TO name".
    QStringList events()
    {
        QStringList seen;
        alignas(inotify_event) char buffer[64 * 1024];
        ssize_t n;
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (char *p = buffer; p < buffer + n;) {
                const auto *e = reinterpret_cast<const inotify_event *>(p);
                const QString name = e->len ? QFile::decodeName(e->name) : QString();
                if (e->mask & IN_OPEN)
                    seen << QStringLiteral("OPEN ") + name;
                if (e->mask & IN_MODIFY)
                    seen << QStringLiteral("MODIFY ") + name;
                if (e->mask & IN_MOVED_TO)
                    seen << QStringLiteral("MOVED_TO ") + name;
                p += sizeof(inotify_event) + e->len;
            }
        }
        return seen;
    }

private:
    int m_fd;
};

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
    void settingsTakeOnlyWhatTheFileCanHold();
    void closingSavesAChangedRow();
    void badValuesAreRefusedAndKept();
    void missingDatabaseNamesItsPath();
    void repairReleasesTheDatabaseAndRestarts();
    void maintenanceSavesTheRowBeingTyped_data();
    void maintenanceSavesTheRowBeingTyped();
    void aRefusedSaveKeepsMaintenanceShut_data();
    void aRefusedSaveKeepsMaintenanceShut();
    void aRemainderAHairOffZeroListsAsZero();
    void hintPanelShowsTheLongHintUpTheParents();
    void readOnlySettingsAreReadAndNotReplaced();
    void settingsFileIsReadOnceAndWrittenOnce();
    void notesCountPanelShowsItsWholeText();
    void hintPanelEmptiesBackOnAControlWithoutHint();
    void onlyTheRecordToolBarsShowToolTips();
    void databaseWithoutTablesNamesItsPath();
    void sizesOfTheWindowAndTheSettingsDialog();
    void aPageReadsItsRowsWhenFirstShown();
    void everyPageShowsItsListsAndBoxesFilled();
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

void MainWindowTest::settingsTakeOnlyWhatTheFileCanHold()
{
    // The lira sign (AltGr+T on a Turkish keyboard) and an emoji have no place
    // in Windows-1254: what the box shows must be what the next start reads.
    TempDatabase db;
    {
        ScriptedUi ui;
        ui.answers = {UiSeam::Answer::Yes};
        TForm1 form(pathsIn(db));
        form.show();
        QLineEdit *title = form.settingsDialog()->box(QStringLiteral("Rp3"));
        title->setFocus();
        title->selectAll();
        tk::test::typeText(title, QStringLiteral("FATURA ₺ TÜRÜ"));
        QCOMPARE(title->text(), QStringLiteral("FATURA  TÜRÜ"));
        QCOMPARE(ui.texts(QStringLiteral("warn")),
                 QStringList{QStringLiteral("'₺' karakteri ayar dosyasına yazılamaz; yerine başka bir karakter yazın.")});
        QLineEdit *name = form.settingsDialog()->box(QStringLiteral("Mhs2"));
        name->setFocus();
        name->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("USTA 🔧"));
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(name->text(), QStringLiteral("XXX Tekvanis")); // the paste is refused whole
        QCOMPARE(ui.texts(QStringLiteral("warn")).size(), 2);
        QVERIFY(ui.texts(QStringLiteral("warn")).last().startsWith(QStringLiteral("'🔧' karakteri")));
        QVERIFY(form.close());
    }
    TForm1 form(pathsIn(db));
    form.show();
    QCOMPARE(form.settingsDialog()->setting(QStringLiteral("Rp3")), QStringLiteral("FATURA  TÜRÜ"));
    QCOMPARE(form.windowTitle(), QStringLiteral("XXX Tekvanis 1.0"));
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
    paths.programArguments = {QStringLiteral("--folder"), db.folder()};
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
    QCOMPARE(ui.restartArguments, paths.programArguments); // the new instance finds the same folder
    QVERIFY(form.close()); // the run ends without the exit question
    QVERIFY(ui.texts(QStringLiteral("ask")).isEmpty());
    QVERIFY(!QFile::exists(db.folder() + QStringLiteral("/S-Veri.ini")));
}

namespace {

// Types over a box of the stock page as a user would.
void typeOver(TForm1 &form, const char *box, const QString &text)
{
    auto *edit = form.findChild<DBEdit *>(QLatin1String(box));
    QVERIFY(edit && !edit->isReadOnly());
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Presses a top button; true when it opened a modal dialog (which is closed again).
bool pressOpensDialog(TForm1 &form, const QString &button)
{
    // A restart after maintenance (an earlier test) ends the run: no event loop
    // starts until the application's own loop has run again.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    bool opened = false;
    QTimer::singleShot(0, &form, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            opened = true;
            dialog->close();
        }
    });
    QTest::mouseClick(form.findChild<QToolButton *>(button), Qt::LeftButton);
    QCoreApplication::processEvents(); // the timer has run whether a dialog opened or not
    return opened;
}

// The demo books with the stock page shown.
struct StockPage {
    TempDatabase db{TempDatabase::Demo};
    ScriptedUi ui;
    TForm1 form{pathsIn(db)};
    StockPage()
    {
        form.show();
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("RzButton7")), Qt::LeftButton); // STOK LİSTESİ
    }
};

void maintenanceButtons()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("VT. Yedekle") << QStringLiteral("SpeedButton11");
    QTest::newRow("VT. Onar") << QStringLiteral("SpeedButton12");
}

} // namespace

void MainWindowTest::maintenanceSavesTheRowBeingTyped_data() { maintenanceButtons(); }

void MainWindowTest::maintenanceSavesTheRowBeingTyped()
{
    QFETCH(QString, button);
    StockPage p;
    const QString row = p.form.data()->dataset(QStringLiteral("Stok"))->value(QStringLiteral("SiraNo")).toString();
    QVERIFY(!row.isEmpty());
    typeOver(p.form, "DBEdit48", QStringLiteral("SENTETIK YAG 5W30"));
    QVERIFY(pressOpensDialog(p.form, button));
    QCOMPARE(p.ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(p.db.scalar(QStringLiteral("SELECT StokAdi FROM Stok WHERE SiraNo=") + row).toString(),
             QStringLiteral("SENTETIK YAG 5W30"));
}

void MainWindowTest::aRefusedSaveKeepsMaintenanceShut_data() { maintenanceButtons(); }

void MainWindowTest::aRefusedSaveKeepsMaintenanceShut()
{
    QFETCH(QString, button);
    StockPage p;
    Dataset *stok = p.form.data()->dataset(QStringLiteral("Stok"));
    typeOver(p.form, "DBEdit48", QStringLiteral("FILTRE"));
    typeOver(p.form, "DBEdit49", QStringLiteral("ON IKI")); // no quantity: the save is refused
    QVERIFY(!pressOpensDialog(p.form, button));
    QCOMPARE(p.ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(p.ui.texts(QStringLiteral("error")).first().contains(QStringLiteral("'ON IKI'")));
    // nothing given up: the books stay open and the typed values pending
    QVERIFY(p.form.data()->connection());
    QCOMPARE(stok->state(), Dataset::State::Edit);
    QCOMPARE(stok->text(QStringLiteral("StokAdi")), QStringLiteral("FILTRE"));
    QCOMPARE(stok->text(QStringLiteral("Adet")), QStringLiteral("ON IKI"));
    QVERIFY(p.ui.restarts.isEmpty());
}

void MainWindowTest::aRemainderAHairOffZeroListsAsZero()
{
    TempDatabase db;
    db.exec(QStringLiteral("INSERT INTO Maas (SiraNo, Aylar) VALUES (1, '2024 / OCAK')"));
    // 0,30 due, paid as 0,10 and 0,20: the remainder comes out a hair below zero.
    db.exec(QStringLiteral("INSERT INTO Maas1 (SiraNo, Personel, Maas, Yol, Mesai, Toplam, Avans, Kesinti, K_Toplam,"
                           " O_Tutar, O_Tutari, Kalan) VALUES (1, 'ALİ', 1500.5, 0.00001, 0, 1500.50001, 1e20, 0,"
                           " 0, 0.3, 0.1 + 0.2, 0.3 - (0.1 + 0.2))"));
    QVERIFY(db.scalar(QStringLiteral("SELECT Kalan < 0 FROM Maas1")).toBool());
    ScriptedUi ui;
    TForm1 form(pathsIn(db));
    form.show();
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("RzButton6")), Qt::LeftButton); // MAAŞ ÖDEME
    const QAbstractItemModel *lines = form.findChild<QAbstractItemView *>(QStringLiteral("SrDBGrid19"))->model();
    QCOMPARE(lines->rowCount(), 1);
    QStringList shown;
    for (int c = 0; c < lines->columnCount(); ++c)
        shown << lines->index(0, c).data(Qt::DisplayRole).toString();
    // Every other amount as it always showed; the remainder as a zero shows.
    QCOMPARE(shown, (QStringList{QStringLiteral("ALİ"), QStringLiteral("1500,5"), QStringLiteral("0,00001"),
                                 QStringLiteral("0"), QStringLiteral("1500,50001"),
                                 QStringLiteral("100000000000000000000"), QStringLiteral("0"), QStringLiteral("0"),
                                 QStringLiteral("0,3"), QStringLiteral("0,3"), QStringLiteral("0")}));
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
    // A page button's hint ends in its key.
    enter(form.findChild<QWidget *>(QStringLiteral("RzButton3")));
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" Fatura takip... (Ctrl+3)"));
    enter(form.findChild<QWidget *>(QStringLiteral("RzButton5"))); // a hint without a bar serves whole
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" İrsaliyeler... (Ctrl+5)"));
    enter(form.findChild<QWidget *>(QStringLiteral("DBEdit47"))); // no hint of its own: the page control's
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" İrsaliye formu..."));
    enter(form.findChild<QWidget *>(QStringLiteral("Panel1"))); // nothing up the chain
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" "));

    auto *link = form.findChild<QLabel *>(QStringLiteral("Label24"));
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(ui.openedUrls.size(), 1);
    QVERIFY(link->text().startsWith(QStringLiteral("Paylaşım Platformu\n")));
}

void MainWindowTest::readOnlySettingsAreReadAndNotReplaced()
{
    TempDatabase db;
    const QString file = QDir(db.folder()).filePath(QStringLiteral("S-Veri.ini"));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(cp1254::encode(QStringLiteral("[Settings]\r\nKdv=20\r\nRp3=ÖZEL FATURA\r\n")));
    }
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray before = readFile(file);
    ScriptedUi ui;
    ui.answers = {UiSeam::Answer::Yes};
    TForm1 form(pathsIn(db));
    form.show();
    QCOMPARE(form.settingsDialog()->setting(QStringLiteral("Kdv")), QStringLiteral("20"));
    QCOMPARE(form.settingsDialog()->setting(QStringLiteral("Rp3")), QStringLiteral("ÖZEL FATURA"));

    QVERIFY(!form.close());
    QVERIFY(form.isVisible());
    QCOMPARE(ui.texts(QStringLiteral("ask")), QStringList());
    QCOMPARE(ui.texts(QStringLiteral("error")), QStringList{QStringLiteral("Unable to write to ") + file});
    QCOMPARE(readFile(file), before);
    QCOMPARE(QFileInfo(file).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
    QVERIFY(!QFile::exists(pathsIn(db).configFolder + QStringLiteral("/S-Veri.ini")));
}

void MainWindowTest::settingsFileIsReadOnceAndWrittenOnce()
{
    TempDatabase db;
    const QString file = QDir(db.folder()).filePath(QStringLiteral("S-Veri.ini"));
    QByteArray text = cp1254::encode(QStringLiteral("[Settings]\r\nKdv=8\r\n[Notlar]\r\n"));
    for (int i = 0; i < 20000; ++i)
        text += QByteArray("satir") + QByteArray::number(i) + "=kendi notumuz\r\n";
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    FolderWatch watch(db.folder());
    const auto about = [&](const QStringList &events) {
        QStringList mine;
        for (const QString &e : events)
            if (e.endsWith(QLatin1String(" S-Veri.ini")))
                mine << e;
        return mine;
    };
    ScriptedUi ui;
    ui.answers = {UiSeam::Answer::Yes};
    TForm1 form(pathsIn(db));
    watch.events();
    form.show();
    QCOMPARE(form.settingsDialog()->setting(QStringLiteral("Kdv")), QStringLiteral("8"));
    QCOMPARE(about(watch.events()), QStringList{QStringLiteral("OPEN S-Veri.ini")});

    form.settingsDialog()->box(QStringLiteral("Kdv"))->setText(QStringLiteral("10"));
    QVERIFY(form.close());
    // Read once to keep the other lines, then one new file put in its place.
    QCOMPARE(about(watch.events()), (QStringList{QStringLiteral("OPEN S-Veri.ini"), QStringLiteral("MOVED_TO S-Veri.ini")}));
    const QByteArray after = readFile(file);
    QVERIFY(after.contains("Kdv=10\r\n"));
    QVERIFY(after.contains("satir19999=kendi notumuz\r\n"));
    QVERIFY(after.contains("Mhs2=XXX Tekvanis\r\n"));
}

void MainWindowTest::notesCountPanelShowsItsWholeText()
{
    TempDatabase db;
    db.exec(QStringLiteral("INSERT INTO SenetVer (SenetNo) VALUES ('V1'), ('V2')"));
    db.exec(QStringLiteral("INSERT INTO SenetAl (SenetNo) VALUES ('A1'), ('A2'), ('A3'), ('A4'), ('A5')"));
    ScriptedUi ui;
    TForm1 form(pathsIn(db));
    form.show();
    for (int page : {7, 0, 4}) {
        form.showPage(page);
        form.statusRefresh();
        QApplication::processEvents();
        for (const char *name : {"StatusPanelCount", "StatusPanelCurrent"}) {
            auto *label = form.findChild<QLabel *>(QLatin1String(name));
            // As wide as the label says it needs to show its text whole.
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        }
    }
    form.showPage(7);
    form.statusRefresh();
    QCOMPARE(panel(form, "StatusPanelCount"), QStringLiteral("  V. Senet : 2 /  A. Senet : 5"));
}

void MainWindowTest::hintPanelEmptiesBackOnAControlWithoutHint()
{
    TempDatabase db;
    ScriptedUi ui;
    TForm1 form(pathsIn(db));
    form.show();
    // What the pointer sends: moving off a control back onto its parent is a
    // leave of the control and no enter of the parent.
    const auto send = [](QWidget *w, QEvent::Type type) {
        QEvent e(type);
        QApplication::sendEvent(w, &e);
    };
    auto *button = form.findChild<QWidget *>(QStringLiteral("RzButton3"));
    send(button, QEvent::Enter);
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" Fatura takip... (Ctrl+3)"));
    send(button, QEvent::Leave); // back on the grey column: no hint up its chain
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" "));

    // Off a control with a hint onto a parent that has one of its own.
    form.showPage(8);
    auto *box = form.findChild<QWidget *>(QStringLiteral("DBEdit47"));
    send(button, QEvent::Enter);
    send(box, QEvent::Enter);
    send(box, QEvent::Leave);
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" İrsaliye formu..."));
    // Out of the window altogether.
    send(button, QEvent::Enter);
    send(&form, QEvent::Leave);
    QCOMPARE(panel(form, "StatusPanelHint"), QStringLiteral(" "));
}

void MainWindowTest::onlyTheRecordToolBarsShowToolTips()
{
    TempDatabase db(TempDatabase::Demo);
    ScriptedUi ui;
    TForm1 form(pathsIn(db));
    form.show();
    form.showPage(0);
    QApplication::processEvents();
    const auto inToolBar = [](QWidget *w) {
        for (; w; w = w->parentWidget())
            if (qobject_cast<QToolBar *>(w))
                return true;
        return false;
    };
    for (QWidget *w : form.findChildren<QWidget *>())
        if (w->window() == &form && !w->toolTip().isEmpty())
            QVERIFY2(inToolBar(w), qPrintable(w->objectName() + QStringLiteral(": ") + w->toolTip()));

    const auto tipAt = [](QWidget *w, const QPoint &pos) {
        QToolTip::hideText();
        QHelpEvent e(QEvent::ToolTip, pos, w->mapToGlobal(pos));
        QApplication::sendEvent(w, &e);
        return QToolTip::text();
    };
    auto *list = form.findChild<QAbstractItemView *>(QStringLiteral("SrDBGrid1"));
    QVERIFY(list->model()->rowCount() > 0);
    const QRect cell = list->visualRect(list->model()->index(0, 0));
    QCOMPARE(tipAt(list->viewport(), cell.center()), QString());
    auto *addJob = form.findChild<QToolButton *>(QStringLiteral("ToolButton1"));
    QVERIFY(!tipAt(addJob, addJob->rect().center()).isEmpty()); // tool bars do show theirs
    QToolTip::hideText();
}

void MainWindowTest::databaseWithoutTablesNamesItsPath()
{
    TempDatabase db;
    db.exec(QStringLiteral("DROP TABLE MusTakip1"));
    db.exec(QStringLiteral("DROP TABLE MusTakip"));
    try {
        TForm1 form(pathsIn(db));
        QFAIL("the window must not open without its tables");
    } catch (const DatabaseError &e) {
        QVERIFY2(e.text().contains(QStringLiteral("MusTakip")), qPrintable(e.text()));
        QVERIFY2(e.text().contains(db.path()), qPrintable(e.text()));
    }
}

void MainWindowTest::sizesOfTheWindowAndTheSettingsDialog()
{
    TempDatabase db;
    ScriptedUi ui;
    TForm1 form(pathsIn(db));
    form.show();
    form.showPage(0);
    QApplication::processEvents();
    const char *const buttons[] = {"RzButton1", "RzButton2", "RzButton3", "RzButton4", "RzButton5",
                                   "RzButton10", "RzButton9", "RzButton8", "RzButton7", "RzButton6"};
    for (int i = 1; i < 10; ++i) {
        const QWidget *above = form.findChild<QPushButton *>(QLatin1String(buttons[i - 1]));
        const QWidget *below = form.findChild<QPushButton *>(QLatin1String(buttons[i]));
        QCOMPARE(below->size(), QSize(161, 33));
        QCOMPARE(below->y() - above->y(), 32);
    }
    for (const char *phone : {"DBEdit7", "DBEdit8", "DBEdit9"})
        QCOMPARE(form.findChild<QLineEdit *>(QLatin1String(phone))->width(), 89);

    TAyarFrm *dialog = form.settingsDialog();
    dialog->show();
    QApplication::processEvents();
    QCOMPARE(dialog->size(), QSize(460, 216));
    for (const char *key : {"Kdv", "Rp1", "Rp5", "Rp10", "Rp11", "Mhs1", "Mhs2"})
        QCOMPARE(dialog->box(QLatin1String(key))->cursorPosition(), 0); // the text is seen from its start
    // Every box of every page fits the fixed dialog.
    for (int page = 0; page < dialog->pages()->count(); ++page) {
        dialog->pages()->setCurrentIndex(page);
        QApplication::processEvents();
        for (QWidget *w : dialog->pages()->widget(page)->findChildren<QWidget *>()) {
            if (!w->isVisible())
                continue;
            const QRect inDialog(w->mapTo(dialog, QPoint(0, 0)), w->size());
            QVERIFY2(dialog->rect().contains(inDialog), qPrintable(w->objectName() + QLatin1Char(' ') + w->metaObject()->className()));
            if (qobject_cast<QLineEdit *>(w)) // a whole line of text
                QVERIFY2(w->height() >= w->fontMetrics().height() + 4, qPrintable(w->objectName()));
        }
    }
    dialog->hide();
}

void MainWindowTest::aPageReadsItsRowsWhenFirstShown()
{
    TempDatabase db(TempDatabase::Demo);
    TForm1 form(pathsIn(db));
    form.show();
    QApplication::processEvents();
    for (const Dataset *ds : form.data()->datasets())
        QVERIFY2(!ds->keysRead(), qPrintable(ds->name()));
    auto *list = form.findChild<QAbstractItemView *>(QStringLiteral("SrDBGrid7"));
    auto *code = form.findChild<QLineEdit *>(QStringLiteral("DBEdit47"));
    QCOMPARE(list->model()->rowCount(), 0);

    // Written after the start, before the page shows: counted all the same.
    db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi) VALUES ('0-İLK', 'yeni')"));
    const int stock = db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt();
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("RzButton7")), Qt::LeftButton);
    QApplication::processEvents();
    form.statusRefresh();
    QCOMPARE(panel(form, "StatusPanelCount"), QStringLiteral("  Kayıt Sayısı : %1").arg(stock));
    QCOMPARE(list->model()->rowCount(), stock);
    Dataset *stok = form.data()->dataset(QStringLiteral("Stok"));
    QCOMPARE(code->text(), stok->text(QStringLiteral("StokKodu")));
    QVERIFY(!code->text().isEmpty());
    for (const Dataset *ds : form.data()->datasets())
        QVERIFY2(ds->keysRead() == (ds == stok), qPrintable(ds->name()));

    // The page key reads its page as the button does.
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    code->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(code, Qt::Key_2, Qt::ControlModifier);
    QApplication::processEvents();
    QVERIFY(form.data()->dataset(QStringLiteral("HasTakip"))->keysRead());
    form.statusRefresh();
    QCOMPARE(panel(form, "StatusPanelCount"),
             QStringLiteral("  Kayıtlı Araç : %1").arg(db.scalar(QStringLiteral("SELECT count(*) FROM HasTakip")).toInt()));
}

void MainWindowTest::everyPageShowsItsListsAndBoxesFilled()
{
    // Whatever a page shows is read with the page: no list or box of it left
    // empty for a dataset that only another page would read.
    TempDatabase db(TempDatabase::Demo);
    for (int page = 0; page < 10; ++page) {
        TForm1 form(pathsIn(db));
        form.show();
        form.showPage(page);
        QApplication::processEvents();
        QWidget *sheet = form.findChild<QTabWidget *>(QStringLiteral("RzPageControl1"))->widget(page);
        int lists = 0;
        for (const auto *list : sheet->findChildren<QAbstractItemView *>()) {
            const auto *model = qobject_cast<const DatasetModel *>(list->model());
            if (!model)
                continue;
            ++lists;
            QVERIFY2(model->dataset()->keysRead(), qPrintable(list->objectName()));
            QCOMPARE(model->rowCount(), model->dataset()->rowCount());
        }
        QVERIFY(lists > 0);
        for (const auto *box : sheet->findChildren<DBEdit *>())
            QVERIFY2(box->dataset()->keysRead(), qPrintable(box->objectName()));
    }
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
