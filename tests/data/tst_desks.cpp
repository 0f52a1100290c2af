// Two desks on one Data.dat: two connections in this process for the cases
// both engines share, and a second process of this program that saves
// through the datasets while this one watches and tries to compact.
#include "app/PageTable.h"
#include "app/TForm1.h"
#include "support/DeskScenarios.h"
#include "support/TestSupport.h"

#include "controls/TSrDBGrid.h"
#include "data/DataModule.h"
#include "data/DeskLock.h"
#include "data/OtherDesks.h"
#include "data/SaveConflict.h"
#include "data/SqliteStore.h"
#include "maintenance/DatabaseCompaction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>

using namespace tk;
using tk::test::TempDatabase;

namespace {

QString g_path; // the Data.dat of the running test

std::unique_ptr<Store> connectDesk() { return std::make_unique<SqliteStore>(std::make_unique<Connection>(g_path)); }

const QString deskArgument = QStringLiteral("--ikinci-masa");

// The second desk: this program run again on the same Data.dat. It holds the
// desk lock as the program does, adds `rows` cars through the datasets as
// fast as it can, changes the first car's owner, says "kaydedildi" and keeps
// the books open until its input ends.
int secondDesk(const QString &path, int rows)
{
    DeskLock lock(path);
    DataModule data(path, datasetDefs());
    Dataset *cars = data.dataset(QStringLiteral("MusTakip"));
    for (int i = 0; i < rows; ++i) {
        cars->append();
        cars->setText(QStringLiteral("AracPlaka"), QStringLiteral("B %1").arg(i));
        cars->post();
    }
    cars->first();
    cars->setText(QStringLiteral("AdiSoyadi"), QStringLiteral("İkinci masadan"));
    cars->post();
    std::cout << "kaydedildi" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    return 0;
}

} // namespace

class DesksTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_db = std::make_unique<TempDatabase>();
        g_path = m_db->path();
    }
    void cleanup() { m_db.reset(); }

    void bothEditOneRow() { test::bothEditOneRow(connectDesk); }
    void everyKindReadsBackUnchanged() { test::everyKindReadsBackUnchanged(connectDesk); }
    void bothInsertAtOnce() { test::bothInsertAtOnce(connectDesk); }
    void deleteUnderEdit() { test::deleteUnderEdit(connectDesk); }
    void detailUnderDeletedMaster() { test::detailUnderDeletedMaster(connectDesk); }
    void refreshKeepsCurrentRow() { test::refreshKeepsCurrentRow(connectDesk); }

    void everyConnectionWaitsForALock()
    {
        // Another desk is in the middle of a write: this desk's save waits
        // for it to end instead of failing at once.
        DataModule here(connectDesk(), datasetDefs());
        Dataset *stock = here.dataset(QStringLiteral("Stok"));
        stock->append();
        stock->setText(QStringLiteral("StokKodu"), QStringLiteral("B"));
        std::atomic<bool> holding{false};
        std::thread other([&] {
            sqlite3 *db = nullptr;
            sqlite3_open_v2(QFile::encodeName(g_path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
            sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO Stok (StokKodu) VALUES ('A')", nullptr, nullptr, nullptr);
            holding = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_close(db);
        });
        while (!holding)
            std::this_thread::yield();
        QElapsedTimer clock;
        clock.start();
        stock->post();
        const qint64 waited = clock.elapsed();
        other.join();
        QVERIFY2(waited >= 300, qPrintable(QString::number(waited)));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(StokKodu) FROM (SELECT StokKodu FROM Stok ORDER BY 1)")).toString(),
                 QStringLiteral("A,B"));
    }

    void statusBarSaysSo()
    {
        test::ScriptedUi ui;
        AppPaths paths;
        paths.programFolder = m_db->folder();
        paths.configFolder = m_db->folder() + QStringLiteral("/config");
        TForm1 form(paths);
        form.show();
        auto *hint = form.findChild<QLabel *>(QStringLiteral("StatusPanelHint"));
        QVERIFY(hint);
        DataModule other(connectDesk(), datasetDefs());
        Dataset *stock = other.dataset(QStringLiteral("Stok"));
        stock->append();
        stock->setText(QStringLiteral("StokKodu"), QStringLiteral("K1"));
        stock->post();
        QTRY_COMPARE_WITH_TIMEOUT(hint->text(), QStringLiteral(" Başka bir masadaki değişiklikler yüklendi."), 2000);
        QCOMPARE(form.data()->dataset(QStringLiteral("Stok"))->rowCount(), 1);
    }

    // A row refused as changed elsewhere, on the page: whichever way it is
    // saved again (the save key, leaving it with the keyboard, a list
    // click, a detail row left by its master's move), the question comes
    // first; a No writes nothing and keeps the row, a Yes writes the typed
    // values over the other desk's.
    void everySaveOfARefusedRowAsks()
    {
        test::ScriptedUi ui;
        const auto stored = [&](const char *sql) { return m_db->scalar(QString::fromUtf8(sql)); };
        DataModule other(connectDesk(), datasetDefs());
        Dataset *theirCars = other.dataset(QStringLiteral("MusTakip"));
        Dataset *theirJobs = other.dataset(QStringLiteral("MusTakip1"));
        for (const char *date : {"01.01.2024", "02.01.2024"}) {
            theirCars->append();
            theirCars->setText(QStringLiteral("AracPlaka"), QStringLiteral("34 A ") + QLatin1String(date).left(2));
            theirCars->setText(QStringLiteral("AdiSoyadi"), QStringLiteral("ORADA"));
            theirCars->setText(QStringLiteral("Tarih"), QLatin1String(date));
            theirCars->post();
        }
        theirJobs->append(); // under the second car
        theirJobs->setText(QStringLiteral("Islem"), QStringLiteral("FREN"));
        theirJobs->post();

        AppPaths paths;
        paths.programFolder = m_db->folder();
        paths.configFolder = m_db->folder() + QStringLiteral("/config");
        TForm1 form(paths);
        form.show();
        QApplication::setActiveWindow(&form);
        form.showPage(0);
        Dataset *cars = form.data()->dataset(QStringLiteral("MusTakip"));
        QCOMPARE(cars->rowCount(), 2);
        QCOMPARE(cars->text(QStringLiteral("AracPlaka")), QStringLiteral("34 A 01"));
        // `typed` into the box here, the same row saved first at the other desk, then the save key here.
        const auto savedElsewhereFirst = [&](const char *name, const QString &typed, Dataset *there,
                                             const char *field, const QString &value) {
            auto *box = form.findChild<QLineEdit *>(QLatin1String(name));
            box->setFocus();
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            test::typeText(box, typed);
            there->setText(QLatin1String(field), value);
            there->post();
            QTest::keyClick(box, Qt::Key_S, Qt::ControlModifier);
            return box;
        };
        // Questions and error boxes so far, as "questions/errors".
        const auto shown = [&] {
            return QStringLiteral("%1/%2").arg(ui.texts(QStringLiteral("ask")).size()).arg(ui.texts(QStringLiteral("error")).size());
        };
        auto *list = form.findChild<TSrDBGrid *>(QStringLiteral("SrDBGrid1"));
        const auto clickCar = [&](int row, UiSeam::Answer answer) {
            ui.answers = {answer};
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
        };

        // The first car: refused by the save key.
        theirCars->first();
        QLineEdit *owner = savedElsewhereFirst("DBEdit12", QStringLiteral("BURADA"), theirCars, "Model", QStringLiteral("2020"));
        QCOMPARE(ui.texts(QStringLiteral("error")), QStringList{changedElsewhereText()});
        QCOMPARE(shown(), QStringLiteral("0/1"));

        // Leaving it with the keyboard asks; No: the row stays as typed, nothing written.
        ui.answers = {UiSeam::Answer::No};
        QTest::keyClick(owner, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(shown(), QStringLiteral("1/2"));
        QVERIFY2(ui.texts(QStringLiteral("ask"))[0].contains(QStringLiteral("2020")), qPrintable(ui.texts(QStringLiteral("ask"))[0]));
        QCOMPARE(cars->currentRow(), 0);
        QVERIFY(cars->isEditing());
        QCOMPARE(owner->text(), QStringLiteral("BURADA"));
        QCOMPARE(stored("SELECT AdiSoyadi FROM MusTakip WHERE AracPlaka = '34 A 01'").toString(), QStringLiteral("ORADA"));

        // A click on the other car in the list asks again; Yes writes over and the list moves.
        clickCar(1, UiSeam::Answer::Yes);
        QCOMPARE(shown(), QStringLiteral("2/2"));
        QCOMPARE(cars->currentRow(), 1);
        QVERIFY(!cars->isEditing());
        QCOMPARE(stored("SELECT AdiSoyadi || '/' || Model FROM MusTakip WHERE AracPlaka = '34 A 01'").toString(),
                 QStringLiteral("BURADA/2020"));

        // The second car's job: refused by the save key of the jobs' tool bar.
        theirCars->last();
        savedElsewhereFirst("DBEdit10", QStringLiteral("BALATA"), theirJobs, "Tutar", QStringLiteral("500"));
        QCOMPARE(shown(), QStringLiteral("2/3"));
        // The master moved by a list click takes the job along: asked, Yes, written over.
        clickCar(0, UiSeam::Answer::Yes);
        QCOMPARE(shown(), QStringLiteral("3/3"));
        QCOMPARE(cars->currentRow(), 0);
        QCOMPARE(stored("SELECT Islem || '/' || Tutar FROM MusTakip1").toString(), QStringLiteral("BALATA/500.0"));
    }

    void secondProgramOnTheSameFile()
    {
        DataModule here(g_path, datasetDefs());
        OtherDesks watch(&here);
        QSignalSpy reloaded(&watch, &OtherDesks::reloaded);
        Dataset *cars = here.dataset(QStringLiteral("MusTakip"));

        constexpr int rows = 40;
        QProcess desk;
        desk.start(QCoreApplication::applicationFilePath(), {deskArgument, g_path, QString::number(rows)});
        QVERIFY(desk.waitForStarted());
        // Meanwhile this desk adds its own cars: both desks write at once.
        for (int i = 0; i < rows; ++i) {
            cars->append();
            cars->setText(QStringLiteral("AracPlaka"), QStringLiteral("A %1").arg(i));
            cars->post();
        }
        QTRY_VERIFY_WITH_TIMEOUT(desk.canReadLine() || desk.state() != QProcess::Running, 30000);
        QCOMPARE(desk.readLine().trimmed(), QByteArray("kaydedildi"));
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM MusTakip")).toInt(), 2 * rows);

        // The other desk's saves show here without a hand on the keyboard.
        QTRY_VERIFY_WITH_TIMEOUT(cars->rowCount() == 2 * rows, 1000);
        QVERIFY(reloaded.count() > 0);

        // Compaction replaces the file: refused while the other desk has it
        // open, naming the reason.
        DatabaseCompaction compaction(g_path);
        try {
            compaction.compact();
            QFAIL("compaction ran while another desk had the books open");
        } catch (const Error &e) {
            QVERIFY2(e.text().contains(QStringLiteral("Sıkıştırma")), qPrintable(e.text()));
        }
        QVERIFY(QFileInfo::exists(g_path));

        desk.closeWriteChannel();
        QVERIFY(desk.waitForFinished(10000));
        QCOMPARE(desk.exitCode(), 0);
        QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM MusTakip WHERE AdiSoyadi = 'İkinci masadan'")).toInt(), 1);
    }

private:
    std::unique_ptr<TempDatabase> m_db;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == deskArgument) {
        try {
            return secondDesk(args[2], args[3].toInt());
        } catch (const Error &e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    DesksTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desks.moc"
