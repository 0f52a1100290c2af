// The maintenance dialog against real database files in temporary folders.
#include "MaintenanceTestKit.h"
#include "core/Error.h"
#include "maintenance/ByteSize.h"
#include "maintenance/PaintingWait.h"
#include "maintenance/TFrmTamir.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using tk::testing::Db;
using tk::testing::RecordingSeam;

namespace {

const QString program = QStringLiteral("/opt/tekvanis/tekvanis");
const QString failureLine = QStringLiteral("Hata! Veritabanının adı değiştirilmiş veya kullanımda !");
const QString bestShape = QStringLiteral("Veritabanı performansı en iyi durumda. Değişik yapılmadı.");

struct Dialog {
    QTemporaryDir folder;
    QString database = folder.filePath(QStringLiteral("Data.dat"));
    QString copy = folder.filePath(QStringLiteral("Yedek.dat"));
    tk::TFrmTamir form{database, program};
    QSignalSpy ending{&form, &tk::TFrmTamir::programEnding};

    template <typename T = QLabel> T *child(const char *name) { return form.findChild<T *>(QLatin1String(name)); }
    QString text(const char *label) { return child(label)->text(); }
    void press(const char *button) { QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton); }
};

// Every row of the stock list and of the service operations, to compare before and after.
QString contents(const QString &path)
{
    Db db(path, SQLITE_OPEN_READONLY);
    return db.value("SELECT group_concat(quote(SiraNo) || quote(StokKodu) || quote(StokAdi) || quote(Adet), '|') "
                    "FROM (SELECT * FROM Stok ORDER BY SiraNo)")
           + db.value("SELECT group_concat(quote(SiraNo) || quote(Islem) || quote(Tutar), '|') "
                      "FROM (SELECT * FROM MusTakip1 ORDER BY SiraNo, rowid)");
}

} // namespace

class Compaction : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tk::setWaitScale(0.001); }

    void compactsAFileWithManyDeletedRowsAndKeepsTheRest()
    {
        RecordingSeam seam;
        Dialog dialog;
        tk::testing::makeDatabase(dialog.database, 6000);
        qint64 freed = 0;
        {
            Db db(dialog.database);
            db.exec("DELETE FROM Stok WHERE SiraNo % 4 <> 0;"
                    "DELETE FROM MusTakip WHERE SiraNo % 4 <> 0;"
                    "DELETE FROM MusTakip1 WHERE SiraNo % 4 <> 0;");
            freed = db.value("PRAGMA freelist_count").toLongLong() * db.value("PRAGMA page_size").toLongLong();
        }
        QVERIFY(freed > 0);
        const QString kept = contents(dialog.database);
        const qint64 before = QFileInfo(dialog.database).size();

        dialog.form.show();
        QCOMPARE(dialog.text("Label5"), tk::formatByteSize(before));
        QCOMPARE(dialog.text("Label6"), QStringLiteral("..."));
        dialog.press("Button1");

        const qint64 after = QFileInfo(dialog.database).size();
        // At least every free page is gone.
        QVERIFY2(after <= before - freed, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QCOMPARE(contents(dialog.database), kept);
        QCOMPARE(Db(dialog.database).count("Stok"), 1500);
        QCOMPARE(Db(dialog.database).value("PRAGMA integrity_check"), QStringLiteral("ok"));
        QVERIFY(!QFileInfo::exists(dialog.copy));

        QCOMPARE(dialog.text("Label3"), QStringLiteral("İşlem başarıyla tamamlandı"));
        QVERIFY(dialog.child("Label3")->isEnabled());
        QCOMPARE(dialog.text("Label6"), tk::formatByteSize(after));
        QCOMPARE(dialog.child<QProgressBar>("ProgressBar1")->value(), 100);
        QCOMPARE(dialog.child<QPushButton>("Button1")->text(), QStringLiteral("Programa Git"));
        QVERIFY(!dialog.child<QPushButton>("Button6")->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(seam.boxes.size(), 0);
        QCOMPARE(seam.restarts.size(), 0);

        // "Başla" cannot run twice: the button now restarts.
        dialog.press("Button1");
        QCOMPARE(seam.restarts, (QVector<QStringList>{{program}}));
        QCOMPARE(dialog.ending.count(), 1);
        QVERIFY(!dialog.form.isVisible());
    }

    void equalSizeTextsSayNothingChanged()
    {
        RecordingSeam seam;
        Dialog dialog;
        tk::testing::makeDatabase(dialog.database, 300);
        Db(dialog.database).exec("VACUUM");
        dialog.form.show();
        dialog.press("Button1");
        QCOMPARE(dialog.text("Label3"), QStringLiteral("İşlem başarıyla tamamlandı"));
        QCOMPARE(dialog.text("Label5"), dialog.text("Label6"));
        QCOMPARE(seam.texts(QStringLiteral("inform")), QStringList{bestShape});
    }

    // A missing, damaged or blocked database: the failure line, and the files as they were.
    void failedCompactionLeavesTheFilesAlone_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::newRow("database missing") << "missing";
        QTest::newRow("database damaged") << "damaged";
        QTest::newRow("copy left by an earlier run") << "leftover";
    }
    void failedCompactionLeavesTheFilesAlone()
    {
        QFETCH(QString, setup);
        RecordingSeam seam;
        Dialog dialog;
        if (setup != QLatin1String("missing"))
            tk::testing::makeDatabase(dialog.database, 500);
        if (setup == QLatin1String("damaged")) {
            QFile file(dialog.database);
            QVERIFY(file.open(QIODevice::ReadWrite));
            file.seek(100);
            file.write(QByteArray(8192, '\xA5'));
        }
        if (setup == QLatin1String("leftover"))
            tk::testing::writeFile(dialog.copy, "önceki bakımdan kalan");
        const QByteArray database = tk::testing::fileBytes(dialog.database);
        const QByteArray copy = tk::testing::fileBytes(dialog.copy);

        dialog.form.show();
        if (setup == QLatin1String("missing"))
            QCOMPARE(dialog.text("Label5"), QStringLiteral("*.mbd dosyası bulunamadı!"));
        dialog.press("Button1");

        QCOMPARE(dialog.text("Label3"), failureLine);
        QVERIFY(dialog.child("Label3")->isEnabled());
        QVERIFY(!dialog.child("Label3")->font().bold());
        QCOMPARE(dialog.child("Label3")->palette().color(QPalette::Active, QPalette::WindowText), QColor(0x80, 0, 0));
        QCOMPARE(dialog.child<QPushButton>("Button1")->text(), QStringLiteral("İşlem Başarısız"));
        QVERIFY(!dialog.child<QPushButton>("Button6")->isEnabled());
        QCOMPARE(dialog.child<QProgressBar>("ProgressBar1")->value(), 20);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(seam.boxes.size(), 0);
        QCOMPARE(QFileInfo::exists(dialog.database), setup != QLatin1String("missing"));
        QCOMPARE(tk::testing::fileBytes(dialog.database), database);
        QCOMPARE(QFileInfo::exists(dialog.copy), setup == QLatin1String("leftover"));
        QCOMPARE(tk::testing::fileBytes(dialog.copy), copy);

        dialog.press("Button1");
        QCOMPARE(seam.restarts.size(), 1);
        QCOMPARE(dialog.ending.count(), 1);
    }

    void refusedReplacementKeepsTheOriginal()
    {
        RecordingSeam seam;
        Dialog dialog;
        tk::testing::makeDatabase(dialog.database, 2000);
        Db(dialog.database).exec("DELETE FROM Stok WHERE SiraNo > 100");
        const QByteArray original = tk::testing::fileBytes(dialog.database);
        bool copyWasWhole = false;
        dialog.form.compaction().setReplaceStep([&](const QString &copy, const QString &) {
            copyWasWhole = Db(copy, SQLITE_OPEN_READONLY).count("Stok") == 100;
            throw tk::Error(QStringLiteral("Yer değiştirme reddedildi"));
        });

        dialog.form.show();
        dialog.press("Button1");

        QVERIFY(copyWasWhole);
        QCOMPARE(tk::testing::fileBytes(dialog.database), original);
        QVERIFY(!QFileInfo::exists(dialog.copy));
        const QStringList errors = seam.texts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(QStringLiteral("Yer değiştirme reddedildi")), qPrintable(errors.first()));
        QVERIFY(dialog.text("Label3").startsWith(QStringLiteral("Hata!")));
        QVERIFY(dialog.text("Label3") != QStringLiteral("İşlem başarıyla tamamlandı"));
        QCOMPARE(dialog.text("Label6"), QStringLiteral("..."));
        QCOMPARE(dialog.child<QPushButton>("Button1")->text(), QStringLiteral("İşlem Başarısız"));
        QVERIFY(!QApplication::overrideCursor());

        // A later run starts cleanly.
        tk::DatabaseCompaction again(dialog.database);
        again.compact();
        again.replace();
        QCOMPARE(Db(dialog.database).count("Stok"), 100);
    }

    // Every way out starts the program anew once and ends this run.
    void everyWayOutRestarts_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("İptal") << "cancel";
        QTest::newRow("window closed") << "close";
        QTest::newRow("Escape") << "escape";
    }
    void everyWayOutRestarts()
    {
        QFETCH(QString, way);
        RecordingSeam seam;
        Dialog dialog;
        tk::testing::makeDatabase(dialog.database, 50);
        const QByteArray original = tk::testing::fileBytes(dialog.database);
        dialog.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog.form));
        if (way == QLatin1String("cancel"))
            dialog.press("Button6");
        if (way == QLatin1String("close"))
            dialog.form.close();
        if (way == QLatin1String("escape"))
            QTest::keyClick(&dialog.form, Qt::Key_Escape);

        QCOMPARE(seam.restarts, (QVector<QStringList>{{program}}));
        QCOMPARE(dialog.ending.count(), 1);
        QVERIFY(!dialog.form.isVisible());
        QCOMPARE(tk::testing::fileBytes(dialog.database), original);
        QVERIFY(!QFileInfo::exists(dialog.copy));

        // The hidden dialog closed again at program end does not start a second instance.
        dialog.form.close();
        QCOMPARE(seam.restarts.size(), 1);
    }

    void closingWhileWorkingWaitsForTheEnd()
    {
        RecordingSeam seam;
        Dialog dialog;
        tk::testing::makeDatabase(dialog.database, 50);
        dialog.form.show();
        bool closedDuringWork = false;
        QTimer::singleShot(0, &dialog.form, [&] { closedDuringWork = !dialog.form.close(); });
        dialog.press("Button1");
        QVERIFY(closedDuringWork);
        QCOMPARE(seam.restarts.size(), 0);
        QVERIFY(dialog.form.isVisible());
        QCOMPARE(dialog.text("Label3"), QStringLiteral("İşlem başarıyla tamamlandı"));
        dialog.form.close();
        QCOMPARE(seam.restarts.size(), 1);
    }

    void failedRestartIsReportedAndTheRunStillEnds()
    {
        RecordingSeam seam;
        seam.restartSucceeds = false;
        Dialog dialog;
        dialog.form.show();
        dialog.press("Button6");
        const QStringList errors = seam.texts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().contains(program), qPrintable(errors.first()));
        QCOMPARE(dialog.ending.count(), 1);
    }
};

QTEST_MAIN(Compaction)
#include "tst_compaction.moc"
