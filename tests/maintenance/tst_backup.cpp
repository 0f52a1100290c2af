// The backup dialog against real database files in temporary folders.
#include "MaintenanceTestKit.h"
#include "maintenance/DatabaseBackup.h"
#include "maintenance/PaintingWait.h"
#include "maintenance/TFrmYedek.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

using tk::testing::Db;
using tk::testing::RecordingSeam;

namespace {

const QString success = QStringLiteral(
    "Yedekleme işlemi başarıyla tamamlandı. Veritanı dosyası belirlediğiniz klasöre kopyalandı.");

// A program folder with Data.dat and S-Veri.ini, and a backup location beside it.
struct Folders {
    QTemporaryDir root;
    QString program = root.filePath(QStringLiteral("program"));
    QString target = root.filePath(QStringLiteral("yedekler"));

    explicit Folders(int rows = 20)
    {
        QDir().mkpath(program);
        QDir().mkpath(target);
        tk::testing::makeDatabase(program + QStringLiteral("/Data.dat"), rows);
        tk::testing::writeFile(program + QStringLiteral("/S-Veri.ini"), "[Ayarlar]\r\nKDV=18\r\n");
    }
    QString backup(const QString &file, const QString &name = QStringLiteral("YedekVT")) const
    {
        return QDir::cleanPath(target + QLatin1Char('/') + name + QLatin1Char('/') + file);
    }
};

struct Dialog {
    tk::TFrmYedek form;
    explicit Dialog(const Folders &folders) : form(folders.program, folders.target) { form.show(); }
    template <typename T> T *child(const char *name) { return form.findChild<T *>(QLatin1String(name)); }
    void press() { QTest::mouseClick(child<QPushButton>("Button1"), Qt::LeftButton); }
};

// The dialog keeping its backups in dated folders, the newest two of them.
struct DatedHistory {
    Folders folders;
    Dialog dialog{folders};

    DatedHistory()
    {
        tk::testing::writeFile(folders.program + QStringLiteral("/S-Veri.ini"),
                               "[Yedekleme]\r\nTarihliKlasor=1\r\nSaklananYedek=2\r\n");
        dialog.child<QCheckBox>("CheckBox3")->setChecked(true);
    }
    void backupAt(const char *when)
    {
        dialog.form.setClock([when] { return QDateTime::fromString(QLatin1String(when), Qt::ISODate); });
        dialog.form.show();
        dialog.press();
    }
    QStringList kept() const
    {
        return QDir(folders.backup(QString())).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    void verifyEachHoldsTheBooks() const
    {
        for (const QString &folder : kept())
            QCOMPARE(Db(folders.backup(folder + QStringLiteral("/Data.dat")), SQLITE_OPEN_READONLY).count("Stok"), 20);
    }
};

} // namespace

class Backup : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tk::setWaitScale(0.01); }

    void folderIsBuiltWithoutDoubledSeparators_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder");
        QTest::newRow("folder") << "/yedekler" << "YedekVT" << "/yedekler/YedekVT/";
        QTest::newRow("folder with separator") << "/yedekler/" << "YedekVT" << "/yedekler/YedekVT/";
        QTest::newRow("root of a drive") << "/" << "YedekVT" << "/YedekVT/";
        QTest::newRow("empty name") << "/yedekler" << "" << "/yedekler/";
        QTest::newRow("empty name at the root") << "/" << "" << "/";
        QTest::newRow("name with separators") << "/yedekler/" << "/Arsiv/2024/" << "/yedekler/Arsiv/2024/";
    }
    void folderIsBuiltWithoutDoubledSeparators()
    {
        QFETCH(QString, location);
        QFETCH(QString, name);
        QFETCH(QString, folder);
        QCOMPARE(tk::backupFolderPath(location, name), folder);
    }

    // The writer moves quantities between random stock rows (their sum stays
    // the same) and adds a service job with one operation, in one transaction
    // each time. A copy torn between two transactions breaks an invariant.
    void backupWhileRowsAreWrittenHoldsEveryCommittedRow()
    {
        RecordingSeam seam;
        constexpr int rows = 5000;
        Folders folders(rows);
        const QString database = folders.program + QStringLiteral("/Data.dat");
        Db live(database);
        const double quantity = live.value("SELECT total(Adet) FROM Stok").toDouble();
        const qint64 operations = live.count("MusTakip1");

        std::atomic<int> committed{0};
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            Db db(database);
            while (!stop) {
                db.exec("BEGIN IMMEDIATE;"
                        "UPDATE Stok SET Adet = coalesce(Adet, 0) - 8 WHERE SiraNo = 1 + abs(random()) % 5000;"
                        "UPDATE Stok SET Adet = coalesce(Adet, 0) + 8 WHERE SiraNo = 1 + abs(random()) % 5000;"
                        "INSERT INTO MusTakip (AdiSoyadi, Aciklama) VALUES ('YENİ MÜŞTERİ', hex(randomblob(400)));"
                        "INSERT INTO MusTakip1 (SiraNo, Islem, Tutar) VALUES (last_insert_rowid(), 'Yağ Değişimi', 100);"
                        "COMMIT;");
                ++committed;
                // A busy user, not a flood: others get their turn at the file.
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        auto joinWriter = qScopeGuard([&] {
            stop = true;
            writer.join();
        });

        Dialog dialog(folders);
        dialog.form.setLiveDatabase(live.handle());
        // A few rounds: a torn copy is a matter of timing.
        for (int round = 1; round <= 3; ++round) {
            QTRY_VERIFY_WITH_TIMEOUT(committed >= 20 * round, 10000);
            const int committedBefore = committed;
            dialog.form.show();
            dialog.press();

            QCOMPARE(seam.texts(QStringLiteral("error")).join(QLatin1Char('|')), QString());
            QCOMPARE(seam.texts(QStringLiteral("inform")).size(), round);
            Db copy(folders.backup(QStringLiteral("Data.dat")), SQLITE_OPEN_READONLY);
            QCOMPARE(copy.value("PRAGMA integrity_check"), QStringLiteral("ok"));
            const qint64 jobs = copy.count("MusTakip");
            QVERIFY2(jobs >= rows + committedBefore, qPrintable(QString::number(jobs)));
            // Whole transactions only.
            QCOMPARE(copy.count("MusTakip1") - operations, jobs - rows);
            QCOMPARE(copy.value("SELECT max(SiraNo) FROM MusTakip").toLongLong(), jobs);
            QVERIFY(qAbs(copy.value("SELECT total(Adet) FROM Stok").toDouble() - quantity) < 1e-6);
        }
        joinWriter.dismiss();
        stop = true;
        writer.join();
        QVERIFY(!QFileInfo::exists(folders.backup(QStringLiteral(".Data.dat.tmp"))));
    }

    void copiesTheChosenFilesAndKeepsTheChoices()
    {
        RecordingSeam seam;
        Folders folders;
        Dialog dialog(folders);
        QCOMPARE(dialog.child<QLineEdit>("Edit1")->text(), QStringLiteral("YedekVT"));
        QVERIFY(dialog.child<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(!dialog.child<QCheckBox>("CheckBox2")->isChecked());

        // Only the settings file: the database stays where it is.
        dialog.child<QCheckBox>("CheckBox1")->setChecked(false);
        dialog.child<QCheckBox>("CheckBox2")->setChecked(true);
        dialog.press();
        QCOMPARE(seam.texts(QStringLiteral("inform")), QStringList{success});
        QVERIFY(!dialog.form.isVisible());
        QCOMPARE(dialog.form.result(), int(QDialog::Accepted));
        QCOMPARE(tk::testing::fileBytes(folders.backup(QStringLiteral("S-Veri.ini"))),
                 QByteArray("[Ayarlar]\r\nKDV=18\r\n"));
        QVERIFY(!QFileInfo::exists(folders.backup(QStringLiteral("Data.dat"))));

        // Opened again: the choices are those of the last time.
        dialog.form.show();
        QVERIFY(!dialog.child<QCheckBox>("CheckBox1")->isChecked());
        QVERIFY(dialog.child<QCheckBox>("CheckBox2")->isChecked());
        QCOMPARE(QDir(dialog.form.backupLocation()), QDir(folders.target));

        // Both files, into a folder that already holds older copies: replaced without asking.
        tk::testing::writeFile(folders.backup(QStringLiteral("Data.dat")), "eski yedek");
        tk::testing::writeFile(folders.program + QStringLiteral("/S-Veri.ini"), "[Ayarlar]\r\nKDV=20\r\n");
        dialog.child<QCheckBox>("CheckBox1")->setChecked(true);
        dialog.press();
        QCOMPARE(seam.texts(QStringLiteral("inform")).size(), 2);
        QCOMPARE(Db(folders.backup(QStringLiteral("Data.dat")), SQLITE_OPEN_READONLY).count("Stok"), 20);
        QCOMPARE(tk::testing::fileBytes(folders.backup(QStringLiteral("S-Veri.ini"))),
                 QByteArray("[Ayarlar]\r\nKDV=20\r\n"));
        QCOMPARE(QDir(folders.backup(QString())).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("Data.dat"), QStringLiteral("S-Veri.ini")}));
        QCOMPARE(dialog.child<QProgressBar>("ProgressBar1")->value(), 0);
        QVERIFY(!QApplication::overrideCursor());
    }

    void copiesKeepTheirSourcesMode()
    {
        RecordingSeam seam;
        Folders folders;
        const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
        const QFile::Permissions groupReads = ownerOnly | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(folders.program + QStringLiteral("/Data.dat"), ownerOnly));
        QVERIFY(QFile::setPermissions(folders.program + QStringLiteral("/S-Veri.ini"), groupReads));
        Dialog dialog(folders);
        dialog.child<QCheckBox>("CheckBox2")->setChecked(true);
        dialog.press();
        QCOMPARE(seam.texts(QStringLiteral("inform")), QStringList{success});
        const auto mode = [](const QString &path) {
            return QFileInfo(path).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        };
        QCOMPARE(mode(folders.backup(QStringLiteral("Data.dat"))), ownerOnly);
        QCOMPARE(mode(folders.backup(QStringLiteral("S-Veri.ini"))), groupReads);
    }

    void temporariesLeftByAnInterruptedBackupAreRemoved()
    {
        RecordingSeam seam;
        Folders folders;
        const QString folder = folders.backup(QString());
        QDir().mkpath(folder);
        const QStringList leftovers = {QStringLiteral(".Data.dat.tmp"), QStringLiteral(".Data.dat.tmp-journal"),
                                       QStringLiteral(".S-Veri.ini.tmp")};
        for (const QString &name : leftovers)
            tk::testing::writeFile(folder + QLatin1Char('/') + name, "yarım kalmış kopya");
        tk::testing::writeFile(folder + QStringLiteral("/notlar.txt"), "kullanıcının dosyası");
        Dialog dialog(folders); // the database only
        dialog.press();
        QCOMPARE(seam.texts(QStringLiteral("inform")), QStringList{success});
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("Data.dat"), QStringLiteral("notlar.txt")}));
        QCOMPARE(Db(folders.backup(QStringLiteral("Data.dat")), SQLITE_OPEN_READONLY).count("Stok"), 20);
    }

    void emptyNamePutsTheCopiesIntoTheChosenFolder()
    {
        RecordingSeam seam;
        Folders folders;
        const QString chosen = folders.target + QStringLiteral("/Arsiv");
        QDir().mkpath(chosen);
        Dialog dialog(folders);
        dialog.form.setBackupLocation(chosen);
        dialog.child<QLineEdit>("Edit1")->clear();
        dialog.press();
        QCOMPARE(seam.texts(QStringLiteral("inform")), QStringList{success});
        QCOMPARE(Db(chosen + QStringLiteral("/Data.dat"), SQLITE_OPEN_READONLY).count("Stok"), 20);
    }

    void copiesFromTheProgramFolderNotTheCurrentFolder()
    {
        RecordingSeam seam;
        Folders folders(7);
        QTemporaryDir elsewhere;
        tk::testing::makeDatabase(elsewhere.filePath(QStringLiteral("Data.dat")), 3);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        Dialog dialog(folders);
        dialog.press();
        QDir::setCurrent(previous);
        QCOMPARE(Db(folders.backup(QStringLiteral("Data.dat")), SQLITE_OPEN_READONLY).count("Stok"), 7);
    }

    void noSelectionWarnsAndDoesNothing()
    {
        RecordingSeam seam;
        Folders folders;
        Dialog dialog(folders);
        dialog.child<QCheckBox>("CheckBox1")->setChecked(false);
        dialog.press();
        QCOMPARE(seam.texts(QStringLiteral("warn")), QStringList{QStringLiteral("Yedekleme için seçim yapılmadı !")});
        QCOMPARE(seam.boxes.size(), 1);
        QVERIFY(dialog.form.isVisible());
        QVERIFY(!QFileInfo::exists(folders.backup(QString())));
    }

    // Backups in dated folders, two kept: a backup that failed leaves no
    // folder to be counted among them.
    void failedDatedBackupsLeaveNoFolderToCount()
    {
        RecordingSeam seam;
        DatedHistory history;
        const QString database = history.folders.program + QStringLiteral("/Data.dat");
        history.backupAt("2026-03-01T09:00:00");
        history.backupAt("2026-03-01T09:01:00");
        QVERIFY(QFile::rename(database, database + QStringLiteral(".kenarda")));
        history.backupAt("2026-03-01T09:02:00");
        history.backupAt("2026-03-01T09:03:00");
        QCOMPARE(seam.texts(QStringLiteral("error")).size(), 2);
        QVERIFY(QFile::rename(database + QStringLiteral(".kenarda"), database));
        history.backupAt("2026-03-01T09:04:00");
        QCOMPARE(history.kept(), QStringList({"2026-03-01_0901", "2026-03-01_0904"}));
        history.verifyEachHoldsTheBooks();
    }

    // A computer whose clock was reset to a past year: the backup it writes
    // is reported done, so it must still be there.
    void backupWithTheClockBehindIsKept()
    {
        RecordingSeam seam;
        DatedHistory history;
        history.backupAt("2026-03-01T09:00:00");
        history.backupAt("2026-03-01T09:01:00");
        history.backupAt("2020-01-01T00:00:00");
        QCOMPARE(seam.texts(QStringLiteral("inform")).size(), 3);
        QCOMPARE(history.kept(), QStringList({"2020-01-01_0000", "2026-03-01_0901"}));
        history.verifyEachHoldsTheBooks();
    }

    // Each failure: an error naming the file and the reason, no success
    // message, the dialog open as it was, the normal cursor.
    void failedCopyLeavesTheDialogOpen_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("reason");
        QTest::newRow("database missing") << "no database" << "program/Data.dat" << "bulunamadı";
        QTest::newRow("settings missing") << "no settings" << "program/S-Veri.ini" << "bulunamadı";
        QTest::newRow("folder under a file") << "folder blocked" << "yedekler/engel" << "Bu adda bir dosya var.";
        QTest::newRow("target not writable") << "target blocked" << "YedekVT/Data.dat" << "Bu adda bir klasör var.";
        QTest::newRow("program folder itself") << "own folder" << "program" << "programın kendi klasörü";
    }
    void failedCopyLeavesTheDialogOpen()
    {
        QFETCH(QString, setup);
        QFETCH(QString, named);
        QFETCH(QString, reason);
        RecordingSeam seam;
        Folders folders;
        const QByteArray original = tk::testing::fileBytes(folders.program + QStringLiteral("/Data.dat"));
        Dialog dialog(folders);
        dialog.child<QCheckBox>("CheckBox2")->setChecked(true);
        if (setup == QLatin1String("no database"))
            QFile::remove(folders.program + QStringLiteral("/Data.dat"));
        if (setup == QLatin1String("no settings"))
            QFile::remove(folders.program + QStringLiteral("/S-Veri.ini"));
        if (setup == QLatin1String("folder blocked")) {
            tk::testing::writeFile(folders.target + QStringLiteral("/engel"), "bir dosya");
            dialog.child<QLineEdit>("Edit1")->setText(QStringLiteral("engel/YedekVT"));
        }
        if (setup == QLatin1String("target blocked"))
            QDir().mkpath(folders.backup(QStringLiteral("Data.dat")));
        if (setup == QLatin1String("own folder")) {
            dialog.form.setBackupLocation(folders.program);
            dialog.child<QLineEdit>("Edit1")->clear();
        }

        dialog.press();

        const QStringList errors = seam.texts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(named), qPrintable(errors.first()));
        QVERIFY2(errors.first().contains(reason), qPrintable(errors.first()));
        QCOMPARE(seam.texts(QStringLiteral("inform")), QStringList());
        QVERIFY(dialog.form.isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(dialog.child<QProgressBar>("ProgressBar1")->value(), 0);
        QVERIFY(dialog.child<QPushButton>("Button1")->isEnabled());
        if (setup != QLatin1String("no database"))
            QCOMPARE(tk::testing::fileBytes(folders.program + QStringLiteral("/Data.dat")), original);
        // No half-made copy is left behind.
        QVERIFY(!QFileInfo::exists(folders.backup(QStringLiteral(".Data.dat.tmp"))));
        QVERIFY(!QFileInfo::exists(folders.backup(QStringLiteral(".S-Veri.ini.tmp"))));
    }
};

QTEST_MAIN(Backup)
#include "tst_backup.moc"
