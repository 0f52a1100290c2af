// Backups kept in dated folders, the books brought back from a backup, and
// the lock that keeps a desk's open books from being replaced: on real
// database files, with second processes (this test program started again
// with an argument) holding the lock or killed in the middle of a restore.
#include "MaintenanceTestKit.h"
#include "app/TForm1.h"
#include "data/DeskLock.h"
#include "data/SchemaVersion.h"
#include "maintenance/DatabaseBackup.h"
#include "maintenance/DatabaseCompaction.h"
#include "maintenance/DatabaseRestore.h"
#include "maintenance/PaintingWait.h"
#include "maintenance/TFrmYedek.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <csignal>
#include <sys/resource.h>

using tk::testing::Db;
using tk::test::ScriptedUi;
using namespace tk;

namespace {

// --- the second process --------------------------------------------------------

// Holds the desk lock on `database` until killed; says "ready" once it holds it.
int holdLock(const QString &database)
{
    DeskLock lock(database);
    std::puts("ready");
    std::fflush(stdout);
    QThread::sleep(600);
    return 0;
}

// Restores `folder` over `database`; with a step name, stops there (says "at").
int restoreInChild(const QString &folder, const QString &database, const QByteArray &stopAt)
{
    DatabaseRestore restore(database);
    restore.setStepHook([&stopAt](const char *step) {
        if (stopAt == step) {
            std::puts("at");
            std::fflush(stdout);
            QThread::sleep(600);
        }
    });
    const BackupSummary backup = inspectBackup(folder);
    std::puts("start");
    std::fflush(stdout);
    restore.restore(backup, nullptr);
    std::puts("done");
    return 0;
}

// Restores `folder` over `database` in a process that may not write beyond
// `limit` bytes into any file, as on a disk that fills up during the copy;
// prints what the restore said.
int restoreWithLimit(const QString &folder, const QString &database, rlim_t limit)
{
    std::signal(SIGXFSZ, SIG_IGN); // the write fails instead of ending the process
    const rlimit size{limit, limit};
    if (::setrlimit(RLIMIT_FSIZE, &size) != 0)
        return 2;
    try {
        DatabaseRestore(database).restore(inspectBackup(folder), nullptr);
    } catch (const Error &e) {
        std::puts(e.what());
        return 1;
    }
    std::puts("done");
    return 0;
}

struct Child {
    QProcess process;
    Child(const QStringList &args, const char *waitFor = nullptr)
    {
        process.start(QCoreApplication::applicationFilePath(), args);
        if (!process.waitForStarted(10000))
            qFatal("child did not start");
        if (waitFor) {
            QByteArray out;
            while (!out.contains(waitFor) && process.waitForReadyRead(20000))
                out += process.readAllStandardOutput();
            if (!out.contains(waitFor))
                qFatal("child never said %s: %s", waitFor, process.readAllStandardError().constData());
        }
    }
    void kill()
    {
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(10000);
    }
    ~Child()
    {
        if (process.state() != QProcess::NotRunning)
            kill();
    }
};

// --- books ---------------------------------------------------------------------

constexpr int kOldRows = 30;
constexpr int kBackupRows = 7;

// A program folder with its books and a backup folder with other books.
struct Books {
    QTemporaryDir root;
    QString program = root.filePath(QStringLiteral("program"));
    QString database = program + QStringLiteral("/Data.dat");
    QString backup = root.filePath(QStringLiteral("yedek"));

    explicit Books(int backupRows = kBackupRows)
    {
        QDir().mkpath(program);
        QDir().mkpath(backup);
        testing::makeDatabase(database, kOldRows);
        testing::makeDatabase(backup + QStringLiteral("/Data.dat"), backupRows);
    }
    // Stok rows of the database: kOldRows or kBackupRows, and -1 when it is not whole.
    qint64 stockRows(const QString &path) const
    {
        Db db(path, SQLITE_OPEN_READONLY);
        if (db.value("PRAGMA integrity_check") != QLatin1String("ok"))
            return -1;
        return db.count("Stok");
    }
};

const QString kProgramFile = QStringLiteral("/usr/bin/tekvanis");

// The main window on the books of `db`.
std::unique_ptr<TForm1> mainWindowOn(const tk::test::TempDatabase &db)
{
    AppPaths paths;
    paths.programFolder = db.folder();
    paths.configFolder = db.folder() + QStringLiteral("/config");
    paths.programFile = kProgramFile;
    return std::make_unique<TForm1>(paths);
}

// "Yedekten geri yükle..." of the main window's backup dialog: `folder` chosen, the question answered Yes.
void restoreThroughTheDialog(TForm1 &form, ScriptedUi &ui, const QString &folder)
{
    TFrmYedek *dialog = form.backupDialog();
    dialog->show();
    ui.files.push_back(folder);
    ui.answers.push_back(UiSeam::Answer::Yes);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Button2")), Qt::LeftButton);
}

QDateTime at(const char *when) { return QDateTime::fromString(QString::fromLatin1(when), Qt::ISODate); }

} // namespace

class RestoreTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setWaitScale(0.01); }
    void datedFoldersRotateAfterElevenBackups();
    void aCheckedBackupShowsItsDateAndRows();
    void damagedOrForeignBackupsAreRefused();
    void restoreThroughTheDialogBringsEveryRowBack();
    void restoreAndCompactionRefusedWhileAnotherDeskHasTheBooks();
    void restoreOnAServerPointsToTheTransferTool();
    void killedRestoreLeavesOldOrNewBooksWhole();
    void copyCutShortIsRefused();
};

void RestoreTest::datedFoldersRotateAfterElevenBackups()
{
    ScriptedUi ui;
    Books books;
    const QString target = books.root.filePath(QStringLiteral("yedekler"));
    QDir().mkpath(target);
    {
        TFrmYedek fresh(books.program, target);
        QVERIFY(!fresh.findChild<QCheckBox *>(QStringLiteral("CheckBox3"))->isChecked()); // off at first
    }
    auto dialog = std::make_unique<TFrmYedek>(books.program, target);
    dialog->show();
    auto *dated = dialog->findChild<QCheckBox *>(QStringLiteral("CheckBox3"));
    QCOMPARE(dated->text(), QStringLiteral("Tarihli klasörlerde sakla"));
    QTest::mouseClick(dated, Qt::LeftButton);
    QVERIFY(dated->isChecked());

    // Eleven backups: two in one minute, the rest a minute apart.
    const QStringList times = {"2026-03-01T09:05:10", "2026-03-01T09:05:40", "2026-03-01T09:06:00",
                               "2026-03-01T09:07:00", "2026-03-01T09:08:00", "2026-03-01T09:09:00",
                               "2026-03-01T23:59:00", "2026-03-02T00:00:00", "2026-03-02T00:01:00",
                               "2026-03-02T00:02:00", "2026-03-02T00:03:00"};
    for (const QString &time : times) {
        dialog->setClock([time] { return at(time.toLatin1().constData()); });
        dialog->show();
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    }
    QCOMPARE(ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(ui.texts(QStringLiteral("inform")).size(), 11);
    const QString folder = target + QStringLiteral("/YedekVT");
    QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    // The newest ten: the first backup of 09:05 went, its second of the same minute stayed.
    QCOMPARE(names.size(), 10);
    QCOMPARE(names.first(), QStringLiteral("2026-03-01_0905_2"));
    QCOMPARE(names.last(), QStringLiteral("2026-03-02_0003"));
    QVERIFY(names.contains(QStringLiteral("2026-03-01_2359")));
    QCOMPARE(Db(folder + QStringLiteral("/2026-03-02_0003/Data.dat"), SQLITE_OPEN_READONLY).count("Stok"), kOldRows);
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/Data.dat"))); // nothing beside the dated folders

    // A folder of the user's own below the backup folder is never counted or removed,
    // and the number kept is a setting.
    QDir().mkpath(folder + QStringLiteral("/benim"));
    testing::writeFile(books.program + QStringLiteral("/S-Veri.ini"), "[Yedekleme]\r\nTarihliKlasor=1\r\nSaklananYedek=3\r\n");
    dialog->setClock([] { return at("2026-03-02T00:03:30"); });
    dialog->show();
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    QCOMPARE(names, QStringList({"2026-03-02_0002", "2026-03-02_0003", "2026-03-02_0003_2", "benim"}));

    // The choice is remembered by the next run's dialog.
    dialog.reset();
    TFrmYedek next(books.program, target);
    QVERIFY(next.findChild<QCheckBox *>(QStringLiteral("CheckBox3"))->isChecked());

    // Ordering within a minute goes by number: _10 after _9.
    for (const char *name : {"2026-04-01_1000", "2026-04-01_1000_9", "2026-04-01_1000_10"})
        QDir().mkpath(target + QStringLiteral("/sira/") + QLatin1String(name));
    const QStringList order = datedBackups(target + QStringLiteral("/sira"));
    QVERIFY(order.last().endsWith(QStringLiteral("_10/")));
}

void RestoreTest::aCheckedBackupShowsItsDateAndRows()
{
    Books books;
    const BackupSummary backup = inspectBackup(books.backup);
    QCOMPARE(backup.rows(QStringLiteral("Stok")), kBackupRows);
    QCOMPARE(backup.schemaVersion, newestSchemaVersion());
    QVERIFY(backup.written.isValid());
    const QString text = rowCountsText(backup, {{QStringLiteral("STOK LİSTESİ"), {QStringLiteral("Stok")}},
                                                {QStringLiteral("CARİ HESAPLAR"), {QStringLiteral("Cari"), QStringLiteral("Cari1")}}});
    const QString firstLines = text.section(QLatin1Char('\n'), 0, 1);
    QCOMPARE(firstLines, QStringLiteral("STOK LİSTESİ: Stok 7\nCARİ HESAPLAR: Cari 7, Cari1 %1")
                             .arg(backup.rows(QStringLiteral("Cari1"))));
    QVERIFY(text.contains(QStringLiteral("\nMusTakip: 7"))); // tables of no given page follow
}

void RestoreTest::damagedOrForeignBackupsAreRefused()
{
    Books books;
    const QByteArray before = testing::fileBytes(books.database);
    const QString backupFile = books.backup + QStringLiteral("/Data.dat");
    const auto refusal = [&]() -> QString {
        try {
            inspectBackup(books.backup);
        } catch (const Error &e) {
            return QString::fromUtf8(e.what());
        }
        return QString();
    };

    QFile::remove(backupFile);
    QVERIFY(refusal().contains(QStringLiteral("Klasörde Data.dat yok.")));

    testing::writeFile(backupFile, QByteArray("bu bir veritabanı değil").repeated(300));
    QVERIFY(refusal().startsWith(QStringLiteral("Bu yedek geri yüklenemez")));

    // A database of some other program: tables of its own, no version of ours.
    QFile::remove(backupFile);
    Db(backupFile).exec("CREATE TABLE Musteri (Ad TEXT); INSERT INTO Musteri VALUES ('x')");
    QVERIFY(refusal().contains(QStringLiteral("bu programın veritabanı değil")));

    // Made by a newer program.
    QFile::remove(backupFile);
    testing::makeDatabase(backupFile, 3);
    Db(backupFile).exec(QByteArray("PRAGMA user_version = " + QByteArray::number(newestSchemaVersion() + 1)).constData());
    QVERIFY(refusal().contains(QStringLiteral("daha yeni bir sürümüyle")));

    // Damaged pages inside a file that still opens.
    QFile::remove(backupFile);
    testing::makeDatabase(backupFile, 400);
    QByteArray bytes = testing::fileBytes(backupFile);
    for (qsizetype i = 4096 * 3; i < bytes.size() - 4096; i += 4096)
        std::memset(bytes.data() + i + 100, 0x5A, 600);
    testing::writeFile(backupFile, bytes);
    const QString damaged = refusal();
    QVERIFY2(damaged.startsWith(QStringLiteral("Bu yedek geri yüklenemez")), qPrintable(damaged));

    // Through the dialog: the reason shown, the books untouched.
    ScriptedUi ui;
    TFrmYedek dialog(books.program, books.root.path());
    dialog.show();
    ui.files.push_back(books.backup);
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Button2")), Qt::LeftButton);
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(ui.texts(QStringLiteral("error")).first().startsWith(QStringLiteral("Bu yedek geri yüklenemez")));
    QVERIFY(ui.restarts.isEmpty());
    QCOMPARE(testing::fileBytes(books.database), before);
    QVERIFY(!QFileInfo::exists(books.program + QStringLiteral("/Data-önceki.dat")));
}

void RestoreTest::restoreThroughTheDialogBringsEveryRowBack()
{
    tk::test::TempDatabase db(tk::test::TempDatabase::Demo);
    const QString backup = db.folder() + QStringLiteral("/yedek");
    QDir().mkpath(backup);
    testing::makeDatabase(backup + QStringLiteral("/Data.dat"), kBackupRows);
    Db(backup + QStringLiteral("/Data.dat")).exec("INSERT INTO Stok (StokKodu, StokAdi, Alis) VALUES ('YDK', 'ŞİŞE', 12.5)");
    const qint64 oldStock = db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toLongLong();

    ScriptedUi ui;
    auto form = mainWindowOn(db);
    restoreThroughTheDialog(*form, ui, backup);

    QCOMPARE(ui.texts(QStringLiteral("error")), QStringList());
    const QString question = ui.texts(QStringLiteral("ask")).value(0);
    QVERIFY2(question.contains(QStringLiteral("STOK LİSTESİ: Stok 8")), qPrintable(question));
    QVERIFY(question.contains(QStringLiteral("Yedeğin tarihi: ")));
    QCOMPARE(ui.restarts, QStringList{kProgramFile});
    QVERIFY(!form->data()->connection()); // released before the file was replaced
    form.reset();

    // Every row of the backup, and the books of before beside it.
    Db restored(db.path(), SQLITE_OPEN_READONLY);
    Db source(backup + QStringLiteral("/Data.dat"), SQLITE_OPEN_READONLY);
    for (const char *table : {"MusTakip", "MusTakip1", "Cari", "Cari1", "Stok", "Maas1", "SenetAl"})
        QCOMPARE(restored.count(table), source.count(table));
    QCOMPARE(restored.value("SELECT StokAdi || '/' || Alis FROM Stok WHERE StokKodu = 'YDK'"), QStringLiteral("ŞİŞE/12.5"));
    QCOMPARE(Db(db.folder() + QStringLiteral("/Data-önceki.dat"), SQLITE_OPEN_READONLY).count("Stok"), oldStock);
    QCOMPARE(QDir(db.folder()).entryList({QStringLiteral(".Data*")}, QDir::Files | QDir::Hidden), QStringList());
}

void RestoreTest::restoreAndCompactionRefusedWhileAnotherDeskHasTheBooks()
{
    tk::test::TempDatabase db(tk::test::TempDatabase::Demo);
    const QString backup = db.folder() + QStringLiteral("/yedek");
    QDir().mkpath(backup);
    testing::makeDatabase(backup + QStringLiteral("/Data.dat"), kBackupRows);
    const QByteArray before = testing::fileBytes(db.path());

    Child otherDesk({QStringLiteral("--hold-lock"), db.path()}, "ready");

    ScriptedUi ui;
    auto form = mainWindowOn(db);
    restoreThroughTheDialog(*form, ui, backup);
    const QStringList errors = ui.texts(QStringLiteral("error"));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().startsWith(QStringLiteral("Geri yükleme yapılamaz: veritabanı başka bir masada açık.")),
             qPrintable(errors.first()));
    QVERIFY(errors.first().contains(QStringLiteral("yazılanlar kaybolur")));
    QVERIFY(ui.restarts.isEmpty());
    QVERIFY(form->data()->connection()); // still working on its books
    QVERIFY(form->data()->dataset(QStringLiteral("Stok"))->isOpen());
    form.reset();
    QCOMPARE(testing::fileBytes(db.path()), before);

    // Compaction, from a desk of its own.
    bool refusedCompaction = false;
    try {
        DatabaseCompaction(db.path()).compact();
    } catch (const Error &e) {
        QVERIFY(QString::fromUtf8(e.what()).startsWith(QStringLiteral("Sıkıştırma yapılamaz: veritabanı başka bir masada açık.")));
        refusedCompaction = true;
    }
    QVERIFY(refusedCompaction);
    QVERIFY(!QFileInfo::exists(db.folder() + QStringLiteral("/Yedek.dat")));

    // With the other desk gone, both go ahead.
    otherDesk.kill();
    {
        DatabaseCompaction unlocked(db.path());
        unlocked.compact();
        unlocked.replace();
    } // its hold on the books goes with it
    DatabaseRestore(db.path()).restore(inspectBackup(backup), nullptr);
    QCOMPARE(Db(db.path(), SQLITE_OPEN_READONLY).count("Stok"), kBackupRows);
}

void RestoreTest::restoreOnAServerPointsToTheTransferTool()
{
    ScriptedUi ui;
    Books books;
    const QByteArray before = testing::fileBytes(books.database);
    TFrmYedek dialog(books.program, books.root.path());
    dialog.setBooksOnServer(true);
    dialog.show();
    ui.files.push_back(books.backup);
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Button2")), Qt::LeftButton);
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY(ui.texts(QStringLiteral("error")).first().contains(QStringLiteral("tekvanis-transfer --replace")));
    QCOMPARE(ui.files.size(), size_t(1)); // no folder was even asked for
    QCOMPARE(testing::fileBytes(books.database), before);
}

void RestoreTest::killedRestoreLeavesOldOrNewBooksWhole()
{
    // Stopped and killed at each step: before the rename the old books, after it the new.
    for (const char *step : {"önceki", "kopya", "yerine"}) {
        Books books;
        {
            Child restore({QStringLiteral("--restore"), books.backup, books.database, QString::fromUtf8(step)}, "at");
            restore.kill();
        }
        QCOMPARE(books.stockRows(books.database), kOldRows);
        // A later restore clears what the killed one left and succeeds.
        DatabaseRestore(books.database).restore(inspectBackup(books.backup), nullptr);
        QCOMPARE(books.stockRows(books.database), kBackupRows);
        QCOMPARE(books.stockRows(books.program + QStringLiteral("/Data-önceki.dat")), kOldRows);
    }

    // Killed at any moment of a restore of larger books: one or the other, whole.
    Books books(3000);
    QSet<qint64> seen;
    for (int trial = 0; trial < 8; ++trial) {
        testing::makeDatabase(books.database + QStringLiteral(".yeni"), kOldRows);
        QFile::remove(books.database);
        QFile::rename(books.database + QStringLiteral(".yeni"), books.database);
        Child restore({QStringLiteral("--restore"), books.backup, books.database, QString()}, "start");
        QThread::usleep(QRandomGenerator::global()->bounded(0, 400000));
        restore.kill();
        const qint64 rows = books.stockRows(books.database);
        QVERIFY2(rows == kOldRows || rows == 3000, qPrintable(QString::number(rows)));
        seen.insert(rows);
    }
    qInfo("books after the kills: %s", seen.contains(kOldRows) && seen.contains(3000) ? "old and new" : "one kind");
    QVERIFY(!seen.isEmpty());
}

// The disk fills up while the backup is copied, at the very end, when the
// last bytes still wait in the copy's buffer: the restore is refused for that
// reason, and the books stay as they were.
void RestoreTest::copyCutShortIsRefused()
{
    Books books;
    constexpr qint64 limit = 1 << 20; // the copy's first block fits, what follows does not
    {
        Db backup(books.backup + QStringLiteral("/Data.dat"));
        backup.exec("PRAGMA synchronous = OFF; CREATE TABLE Dolgu (Veri BLOB)");
        while (QFileInfo(books.backup + QStringLiteral("/Data.dat")).size() <= limit)
            backup.exec("INSERT INTO Dolgu VALUES (zeroblob(1500))");
    }
    const qint64 size = QFileInfo(books.backup + QStringLiteral("/Data.dat")).size();
    QVERIFY2(size - limit <= 16384, qPrintable(QString::number(size))); // the tail goes through the buffer
    const QByteArray before = testing::fileBytes(books.database);

    QProcess restore;
    restore.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--restore-limited"), books.backup, books.database, QString::number(limit)});
    QVERIFY(restore.waitForFinished(60000));
    const QString said = QString::fromUtf8(restore.readAllStandardOutput()).trimmed();
    QCOMPARE(restore.exitCode(), 1);
    QVERIFY2(said.startsWith(QStringLiteral("Dosya yazılamadı: ")), qPrintable(said));
    QCOMPARE(testing::fileBytes(books.database), before);
    QCOMPARE(books.stockRows(books.database), kOldRows);
    QCOMPARE(QDir(books.program).entryList({QStringLiteral(".Data*")}, QDir::Files | QDir::Hidden), QStringList());

    // With room on the disk the same backup comes back whole.
    DatabaseRestore(books.database).restore(inspectBackup(books.backup), nullptr);
    QCOMPARE(books.stockRows(books.database), kBackupRows);
}

int main(int argc, char **argv)
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--hold-lock" && argc > 2) {
        QCoreApplication app(argc, argv);
        return holdLock(QString::fromLocal8Bit(argv[2]));
    }
    if (mode == "--restore" && argc > 4) {
        QCoreApplication app(argc, argv);
        return restoreInChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), QByteArray(argv[4]));
    }
    if (mode == "--restore-limited" && argc > 4) {
        QCoreApplication app(argc, argv);
        return restoreWithLimit(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), std::strtoull(argv[4], nullptr, 10));
    }
    QApplication app(argc, argv);
    RestoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_restore.moc"
