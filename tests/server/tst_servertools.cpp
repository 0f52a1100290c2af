// The tools around books on a server, on a real private server: the settings
// page's connection test and each failure it names, a server stopped in the
// middle of a save and saves after its restart, the transfer between a Data.dat and a server both ways
// (counts and sums, a target with books refused, the demo books there and
// back identical), and the server's backup and upkeep in their dialogs.
#include "app/DatabaseChoice.h"
#include "app/PageTable.h"
#include "app/DatabasePage.h"
#include "app/ServerStart.h"
#include "app/TForm1.h"
#include "data/RecordActions.h"
#include "server/ServerStores.h"
#include "app/TAyarFrm.h"
#include "data/Connection.h"
#include "data/DataModule.h"
#include "data/Dataset.h"
#include "data/OtherDesks.h"
#include "data/SchemaVersion.h"
#include "maintenance/TFrmTamir.h"
#include "maintenance/TFrmYedek.h"
#include "server/BooksTally.h"
#include "server/ServerCheck.h"
#include "server/PgStore.h"
#include "server/ServerMaintenance.h"
#include "server/ServerSchema.h"
#include "server/ServerSnapshot.h"
#include "support/PgCluster.h"
#include "support/TestSupport.h"
#include "transfer/ServerTransfer.h"

#include <QAction>
#include <QCheckBox>
#include <QToolButton>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QLineEdit>
#include <QScopeGuard>
#include <QDir>
#include <QTimer>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>

using namespace tk;
using tk::test::PgCluster;
using tk::test::ScriptedUi;
using tk::test::TempDatabase;

namespace {

// libpq's password file is `path` until the guard goes: the tester's own stays out.
[[nodiscard]] auto passwordFile(const QString &path)
{
    const QByteArray previous = qgetenv("PGPASSFILE");
    qputenv("PGPASSFILE", QFile::encodeName(path));
    return qScopeGuard([previous] {
        if (previous.isEmpty())
            qunsetenv("PGPASSFILE");
        else
            qputenv("PGPASSFILE", previous);
    });
}

// Every cell of `table` in key order, as "type:value" (reals to the last digit).
QStringList cellsOf(const QString &path, const ServerTable &t)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QString key = t.keyIsColumn() ? t.key : QStringLiteral("rowid");
    const QByteArray sql = QStringLiteral("SELECT %1, * FROM %2 ORDER BY %1").arg(key, t.name).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    QStringList out;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
        out << QString::fromUtf8(sqlite3_errmsg(db));
    while (stmt && sqlite3_step(stmt) == SQLITE_ROW)
        for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
            const int type = sqlite3_column_type(stmt, c);
            const QByteArray value = type == SQLITE_FLOAT ? QByteArray::number(sqlite3_column_double(stmt, c), 'g', 17)
                                                          : QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)));
            out << QStringLiteral("%1:%2").arg(type).arg(QString::fromUtf8(value));
        }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

struct Run {
    int code;
    QString out, err;
};

Run transfer(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TK_TRANSFER), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class ServerToolsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_server.reset(); }

    void choiceKeptBesideTheSettings();
    void connectionTestNamesWhatFailed();
    void startNamesAnUnreachableServer();
    void startAsksThePasswordForThisRunOnly();
    void serverGoneDuringSave();
    void transactionWholeAfterTheServerCameBack();
    void aReadingDeskSeesOtherDesksAgainAfterARestart();
    void aLookNeverWaitsLongForASilentServer();
    void pageKeepsTheRowWhileTheServerIsGone();
    void transferBothWaysWithCountsAndSums();
    void targetWithBooksRefused();
    void demoBooksThereAndBackIdentical();
    void backupIsADataFile();
    void upkeepShowsTheServersSizes();

private:
    QString newBooks(bool withSchema = true);
    // A desk's choice of the books "defter" on the test server, as `user`.
    DatabaseChoice onTheBooks(const QString &user) const
    {
        DatabaseChoice choice;
        choice.onServer = true;
        choice.host = m_server->socketFolder();
        choice.database = QStringLiteral("defter");
        choice.user = user;
        return choice;
    }
    std::unique_ptr<PgCluster> m_server;
    QTemporaryDir m_temp;
    int m_databases = 0;
};

void ServerToolsTest::initTestCase()
{
    if (PgCluster::serverPrograms().isEmpty())
        QSKIP("No PostgreSQL server installed (./build.sh test installs one)");
    m_server = std::make_unique<PgCluster>();
    // A desk's user who signs in with a password, as on a real server.
    PgConnection db(m_server->address());
    db.run(QStringLiteral("CREATE ROLE kasa LOGIN PASSWORD 'dogru'"));
    db.run(QStringLiteral("CREATE DATABASE defter OWNER kasa TEMPLATE template0 ENCODING 'UTF8'"));
    {
        PgConnection books(m_server->address(QStringLiteral("defter")));
        books.run(QStringLiteral("SET ROLE kasa")); // the desks' role owns the tables, as tekvanis-initdb makes them
        createServerSchema(books);
    }
    const QString hba = QString::fromUtf8(db.exec(QStringLiteral("SHOW hba_file")).value(0, 0));
    QFile file(hba);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("local all kasa scram-sha-256\nlocal all all trust\n");
    file.close();
    db.exec(QStringLiteral("SELECT pg_reload_conf()"));
}

QString ServerToolsTest::newBooks(bool withSchema)
{
    const QString address = m_server->createDatabase(QStringLiteral("kitap%1").arg(++m_databases));
    if (withSchema) {
        PgConnection db(address);
        createServerSchema(db);
    }
    return address;
}

void ServerToolsTest::choiceKeptBesideTheSettings()
{
    QTemporaryDir config;
    TAyarFrm settings(config.filePath(QStringLiteral("win.ini")));
    DatabasePage *page = settings.databasePage();
    QCOMPARE(settings.pages()->tabText(settings.pages()->indexOf(page)), QStringLiteral("Veritabanı"));
    QVERIFY(page->findChild<QRadioButton *>(QStringLiteral("RbDosya"))->isChecked());
    QVERIFY(!page->findChild<QLineEdit *>(QStringLiteral("EdSunucu"))->isEnabled());

    QTest::mouseClick(page->findChild<QRadioButton *>(QStringLiteral("RbSunucu")), Qt::LeftButton);
    auto *host = page->findChild<QLineEdit *>(QStringLiteral("EdSunucu"));
    QVERIFY(host->isEnabled());
    host->clear();
    tk::test::typeText(host, QStringLiteral("muhasebe.yerel"));
    auto *user = page->findChild<QLineEdit *>(QStringLiteral("EdKullanici"));
    tk::test::typeText(user, QStringLiteral("kasa"));
    QTest::mouseClick(settings.findChild<QPushButton *>(QStringLiteral("OkBtn")), Qt::LeftButton);

    DatabaseChoice kept = DatabaseChoice::read(config.path());
    QVERIFY(kept.onServer);
    QCOMPARE(kept.host, QStringLiteral("muhasebe.yerel"));
    QCOMPARE(kept.user, QStringLiteral("kasa"));
    QCOMPARE(kept.address(), QStringLiteral("postgresql:///tekvanis?host=muhasebe.yerel&port=5432&user=kasa"));
    kept.host = QStringLiteral("/run/postgresql"); // a socket folder, percent-encoded
    QCOMPARE(kept.address(), QStringLiteral("postgresql:///tekvanis?host=%2Frun%2Fpostgresql&port=5432&user=kasa"));
    QVERIFY(QFile::exists(config.filePath(QStringLiteral("sunucu.ini"))));
    QFile ini(config.filePath(QStringLiteral("sunucu.ini")));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(!ini.readAll().toLower().contains("dogru")); // no password anywhere
    // a labelled box is its label's buddy
    for (QLabel *label : page->findChildren<QLabel *>())
        if (label->text().endsWith(QLatin1Char(':')))
            QVERIFY2(label->buddy(), qPrintable(label->text()));
}

void ServerToolsTest::connectionTestNamesWhatFailed()
{
    QTemporaryDir config;
    const QString passwords = config.filePath(QStringLiteral("pgpass"));
    const auto restore = passwordFile(passwords);
    const auto writePassword = [&](const char *password) {
        QFile f(passwords);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("*:*:*:kasa:") + password + '\n');
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    };

    const QString other = newBooks();
    { // books of a newer program
        PgConnection db(other);
        db.exec(QStringLiteral("UPDATE SemaSurumu SET Surum = $1"), {newestSchemaVersion() + 1});
    }
    const QString otherName = QUrl(other).path().mid(1);
    const QString empty = QUrl(newBooks(false)).path().mid(1);

    struct Case {
        const char *what;
        int port;
        QString database, user;
        const char *password; // in the password file; nullptr: none there
        QString expected;
        QString kind;
    } cases[] = {
        {"no server there", 1, QStringLiteral("defter"), QStringLiteral("kasa"), "dogru", QStringLiteral("Sunucuya ulaşılamadı"), QStringLiteral("error")},
        {"wrong password", 5432, QStringLiteral("defter"), QStringLiteral("kasa"), "yanlis", QStringLiteral("Şifre yanlış"), QStringLiteral("error")},
        {"no password given", 5432, QStringLiteral("defter"), QStringLiteral("kasa"), nullptr, QStringLiteral("Sunucu şifre istiyor"), QStringLiteral("error")},
        {"no such database", 5432, QStringLiteral("olmayan"), QStringLiteral("tk"), nullptr, QStringLiteral("Sunucuda böyle bir veritabanı yok"), QStringLiteral("error")},
        {"no tables", 5432, empty, QStringLiteral("tk"), nullptr, QStringLiteral("programın tabloları yok"), QStringLiteral("error")},
        {"newer tables", 5432, otherName, QStringLiteral("tk"), nullptr, QStringLiteral("tanımadığı bir sürümde"), QStringLiteral("error")},
        {"all well", 5432, QStringLiteral("defter"), QStringLiteral("kasa"), "dogru", QStringLiteral("Bağlantı kuruldu"), QStringLiteral("inform")},
    };
    TAyarFrm settings(config.filePath(QStringLiteral("win.ini")));
    DatabasePage *page = settings.databasePage();
    settings.pages()->setCurrentWidget(page);
    settings.show();
    QTest::mouseClick(page->findChild<QRadioButton *>(QStringLiteral("RbSunucu")), Qt::LeftButton);
    for (const Case &c : cases) {
        if (c.password)
            writePassword(c.password);
        else
            QFile::remove(passwords);
        const auto set = [&](const char *name, const QString &text) {
            auto *box = page->findChild<QLineEdit *>(QLatin1String(name));
            box->selectAll();
            QTest::keyClick(box, Qt::Key_Delete);
            tk::test::typeText(box, text);
        };
        set("EdSunucu", m_server->socketFolder());
        set("EdVeritabani", c.database);
        set("EdKullanici", c.user);
        set("EdKapi", QString::number(c.port));
        ScriptedUi ui;
        QTest::mouseClick(page->findChild<QPushButton *>(QStringLiteral("BtnSina")), Qt::LeftButton);
        QCOMPARE(ui.shown.size(), 1);
        QVERIFY2(ui.shown[0].kind == c.kind, qPrintable(ui.shown[0].text));
        QVERIFY2(ui.shown[0].text.contains(c.expected), qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.what), ui.shown[0].text)));
    }
}

// A server that asks a password the desk does not keep: the start asks for it
// in a masked box, and nothing of it reaches a file.
void ServerToolsTest::startAsksThePasswordForThisRunOnly()
{
    QTemporaryDir config;
    const auto restore = passwordFile(config.filePath(QStringLiteral("none")));
    const QString file = config.filePath(QStringLiteral("Data.dat"));
    const DatabaseChoice choice = onTheBooks(QStringLiteral("kasa"));
    choice.write(config.path());

    // Types `typed` into the prompt when it shows and presses `key`; what it asked.
    QString asked;
    const auto answerPrompt = [&](const QString &typed, Qt::Key key) {
        QTimer::singleShot(0, [&asked, typed, key] {
            auto *prompt = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            QVERIFY(prompt);
            asked = prompt->windowTitle() + QLatin1Char('|') + prompt->labelText();
            auto *box = prompt->findChild<QLineEdit *>();
            QCOMPARE(box->echoMode(), QLineEdit::Password);
            tk::test::typeText(box, typed);
            QTest::keyClick(box, key);
        });
    };

    ScriptedUi ui; // "Hayır" to the settings
    answerPrompt(QStringLiteral("dogru"), Qt::Key_Return);
    const QString address = booksForThisRun(config.path(), file);
    QCOMPARE(asked, QStringLiteral("Sunucu şifresi|kasa kullanıcısının sunucudaki şifresi:"));
    QVERIFY2(address.startsWith(choice.address()), qPrintable(address));
    QVERIFY(checkServer(address).ok());
    QVERIFY(ui.shown.isEmpty());
    for (const QFileInfo &f : QDir(config.path()).entryInfoList(QDir::Files)) {
        QFile kept(f.filePath());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QVERIFY2(!kept.readAll().contains("dogru"), qPrintable(f.fileName()));
    }

    // A wrong password is named, with the settings offered; the prompt
    // cancelled ends the start without a word.
    answerPrompt(QStringLiteral("yanlis"), Qt::Key_Return);
    QCOMPARE(booksForThisRun(config.path(), file), QString());
    QCOMPARE(ui.shown.size(), 1);
    QVERIFY2(ui.shown[0].text.contains(QStringLiteral("Şifre yanlış")), qPrintable(ui.shown[0].text));
    answerPrompt(QString(), Qt::Key_Escape);
    QCOMPARE(booksForThisRun(config.path(), file), QString());
    QCOMPARE(ui.shown.size(), 1);
}

void ServerToolsTest::startNamesAnUnreachableServer()
{
    QTemporaryDir config;
    const QString file = config.filePath(QStringLiteral("Data.dat"));
    QCOMPARE(booksForThisRun(config.path(), file), file); // a desk that never chose
    DatabaseChoice choice = onTheBooks(QStringLiteral("tk"));
    choice.write(config.path());
    QCOMPARE(booksForThisRun(config.path(), file), choice.address());

    choice.port = 1; // nothing listens there
    choice.write(config.path());
    ScriptedUi ui; // "Hayır": the end
    QCOMPARE(booksForThisRun(config.path(), file), QString());
    QCOMPARE(ui.shown.size(), 1);
    QVERIFY2(ui.shown[0].text.contains(QStringLiteral("Sunucuya ulaşılamadı: \"defter\" veritabanı")),
             qPrintable(ui.shown[0].text));
    QVERIFY(ui.shown[0].text.contains(QStringLiteral("Bağlantı ayarlarını açmak ister misiniz?")));
}

void ServerToolsTest::serverGoneDuringSave()
{
    const QString address = newBooks();
    PgStore store(address);
    Dataset ds(&store, QStringLiteral("Kasa"), QStringLiteral("Kasa"), QStringLiteral("Select * From Kasa"));
    ds.open();
    ds.append();
    ds.setText(QStringLiteral("Aylar"), QStringLiteral("Ekim"));

    m_server->stop();
    QString message;
    try {
        ds.post();
    } catch (const DatabaseError &e) {
        message = e.text();
    }
    QVERIFY2(message.contains(QStringLiteral("Sunucuyla bağlantı kesildi")), qPrintable(message));
    QVERIFY(ds.isEditing()); // the row as typed
    QCOMPARE(ds.text(QStringLiteral("Aylar")), QStringLiteral("Ekim"));
    // still gone: said so again, nothing crashes
    try {
        ds.post();
        QFAIL("saved with the server stopped");
    } catch (const DatabaseError &e) {
        QVERIFY2(e.text().contains(QStringLiteral("Sunucu")), qPrintable(e.text()));
    }
    QCOMPARE(ds.text(QStringLiteral("Aylar")), QStringLiteral("Ekim"));

    m_server->start();
    ds.post(); // the next action connects again
    QVERIFY(!ds.isEditing());
    PgConnection check(address);
    QCOMPARE(QByteArray(check.exec(QStringLiteral("SELECT Aylar FROM Kasa")).value(0, 0)), QByteArray("Ekim"));

    // The statements a connection prepared go with it: after another
    // restart, the connection made anew prepares the same save and reads again.
    ds.setText(QStringLiteral("Aylar"), QStringLiteral("Kasım"));
    ds.post();
    m_server->stop();
    m_server->start();
    ds.setText(QStringLiteral("Aylar"), QStringLiteral("Aralık"));
    try {
        ds.post(); // the first statement finds the old connection gone, and says so
    } catch (const DatabaseError &e) {
        QVERIFY2(e.text().contains(QStringLiteral("Sunucuyla bağlantı kesildi")), qPrintable(e.text()));
    }
    if (ds.isEditing())
        ds.post();
    QVERIFY(!ds.isEditing());
    ds.reload();
    QCOMPARE(ds.rowCount(), 1);
    QCOMPARE(ds.text(QStringLiteral("Aylar")), QStringLiteral("Aralık"));
    PgConnection again(address);
    QCOMPARE(QString::fromUtf8(again.exec(QStringLiteral("SELECT Aylar FROM Kasa")).value(0, 0)), QStringLiteral("Aralık"));
}

// A connection that lost its server (a save refused while it was away)
// opens its next transaction on the new connection: a backup reads one
// moment of the books, and a copy that fails half way leaves nothing behind.
void ServerToolsTest::transactionWholeAfterTheServerCameBack()
{
    const QString address = newBooks();
    PgStore store(address);
    PgConnection &db = store.connection();
    db.exec(QStringLiteral("INSERT INTO Kasa (Aylar) VALUES ('Ekim')"));
    const auto serverRestarted = [&] {
        m_server->stop();
        m_server->start();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db.exec(QStringLiteral("SELECT 1"))); // the loss found
    };

    serverRestarted();
    const QString backup = m_temp.filePath(QStringLiteral("geri-donus.dat"));
    copyServerToDataFile(db, backup);
    QCOMPARE(tallyDataFile(backup).differences(tallyServer(db)), QStringList());

    serverRestarted();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db.inTransaction([&] {
        db.exec(QStringLiteral("INSERT INTO Kasa (Aylar) VALUES ('Kasım')"));
        db.exec(QStringLiteral("INSERT INTO Kasa (Yok) VALUES (1)"));
    }));
    QCOMPARE(QByteArray(db.exec(QStringLiteral("SELECT count(*) FROM Kasa")).value(0, 0)), QByteArray("1"));
}

// A desk that only reads keeps watching through a server restart: the loss
// is shown once, and once the server is back the other desk's saves show
// again without a save at this desk.
void ServerToolsTest::aReadingDeskSeesOtherDesksAgainAfterARestart()
{
    const QString address = newBooks();
    ScriptedUi ui;
    DataModule here(std::make_unique<PgStore>(address), datasetDefs());
    OtherDesks watch(&here);
    Dataset *kasa = here.dataset(QStringLiteral("Kasa"));
    QCOMPARE(kasa->rowCount(), 0);

    m_server->stop();
    QTRY_COMPARE_WITH_TIMEOUT(ui.shown.size(), 1, 5000);
    QVERIFY2(ui.shown[0].text.contains(QStringLiteral("bağlantı kesildi")), qPrintable(ui.shown[0].text));
    QTest::qWait(2 * OtherDesks::kRetryMs + OtherDesks::kPollMs);
    QCOMPARE(ui.shown.size(), 1); // said once, looked at again quietly

    m_server->start();
    PgStore there(address);
    Dataset other(&there, QStringLiteral("Kasa"), QStringLiteral("Kasa"), QStringLiteral("Select * From Kasa"));
    other.open();
    other.append();
    other.setText(QStringLiteral("Aylar"), QStringLiteral("Ocak"));
    other.post();
    QTRY_COMPARE_WITH_TIMEOUT(kasa->rowCount(), 1, 10000);
    QCOMPARE(kasa->text(QStringLiteral("Aylar")), QStringLiteral("Ocak"));
    QCOMPARE(ui.shown.size(), 1);

    // Watching at its own pace again: the next save shows within a second.
    other.append();
    other.setText(QStringLiteral("Aylar"), QStringLiteral("Şubat"));
    other.post();
    QTRY_COMPARE_WITH_TIMEOUT(kasa->rowCount(), 2, 1000);
}

// A server host that takes the connection but never answers (a machine half
// down, a network that drops replies) holds the watcher's look no longer than
// its bound, and a statement or a test of the server no longer than the
// connection's; the connection is made as soon as the real server answers.
void ServerToolsTest::aLookNeverWaitsLongForASilentServer()
{
    const QString address = newBooks();
    PgConnection db(address);
    m_server->stop();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db.exec(QStringLiteral("SELECT 1"))); // the loss found

    // In the server's place, a socket that listens and says nothing.
    const QByteArray path = QFile::encodeName(m_server->socketFolder() + QStringLiteral("/.s.PGSQL.5432"));
    const int silent = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    std::memcpy(where.sun_path, path.constData(), size_t(path.size()));
    ::unlink(path.constData());
    QCOMPARE(::bind(silent, reinterpret_cast<sockaddr *>(&where), sizeof where), 0);
    QCOMPARE(::listen(silent, 4), 0);
    for (int look = 0; look < 3; ++look) {
        QElapsedTimer held;
        held.start();
        QVERIFY_THROWS_EXCEPTION(DatabaseError, db.reconnectIfLostWithin(200));
        QVERIFY2(held.elapsed() < 1000, qPrintable(QString::number(held.elapsed())));
    }
    // A user's own statement, and the settings' test of the server, wait
    // for it no longer than the connection's bound either.
    const qint64 bound = 1000 * (kConnectSeconds + 3);
    QElapsedTimer held;
    held.start();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, db.exec(QStringLiteral("SELECT 1")));
    QVERIFY2(held.elapsed() < bound, qPrintable(QString::number(held.elapsed())));
    held.restart();
    const ServerCheck check = checkServer(address);
    QVERIFY2(held.elapsed() < bound, qPrintable(QString::number(held.elapsed())));
    QCOMPARE(check.problem, ServerProblem::Unreachable);
    ::close(silent);
    ::unlink(path.constData());

    m_server->start();
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            try {
                db.reconnectIfLostWithin(200);
                return true;
            } catch (const DatabaseError &) {
                return false;
            }
        }(),
        5000);
    QCOMPARE(QByteArray(db.exec(QStringLiteral("SELECT 1")).value(0, 0)), QByteArray("1"));
}

// The same through the main window on the server's books: the box keeps
// what was typed, the message names the server, the next save writes it.
void ServerToolsTest::pageKeepsTheRowWhileTheServerIsGone()
{
    const QString address = newBooks();
    registerServerStores();
    QTemporaryDir folder;
    AppPaths paths;
    paths.programFolder = folder.path();
    paths.configFolder = folder.path();
    paths.databasePath = address;
    ScriptedUi ui;
    TForm1 form(paths);
    form.show();
    QApplication::setActiveWindow(&form);
    form.showPage(5); // KASA TAKİP
    QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("ToolButton118")), Qt::LeftButton);
    auto *period = form.findChild<QLineEdit *>(QStringLiteral("DBEdit82"));
    period->setFocus();
    tk::test::typeText(period, QStringLiteral("2024 / ekim"));
    const auto save = [&] {
        form.findChild<RecordActions *>(QStringLiteral("ActionList1"))->updateEnabled();
        form.findChild<QAction *>(QStringLiteral("KasaPost"))->trigger();
    };

    m_server->stop();
    save();
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1);
    QVERIFY2(ui.texts(QStringLiteral("error"))[0].contains(QStringLiteral("Sunucuyla bağlantı kesildi")),
             qPrintable(ui.texts(QStringLiteral("error"))[0]));
    QCOMPARE(period->text(), QStringLiteral("2024 / EKİM"));

    m_server->start();
    save();
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1); // nothing more to say
    PgConnection check(address);
    QCOMPARE(QString::fromUtf8(check.exec(QStringLiteral("SELECT Aylar FROM Kasa")).value(0, 0)), QStringLiteral("2024 / EKİM"));

    // "VT. Onar" on these books: the server's upkeep, the window still on the books afterwards
    QTimer::singleShot(0, &form, [&] {
        auto *repair = form.findChild<TFrmTamir *>();
        QTest::mouseClick(repair->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
        QTest::mouseClick(repair->findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    QTest::mouseClick(form.findChild<QToolButton *>(QStringLiteral("SpeedButton12")), Qt::LeftButton);
    QCOMPARE(ui.texts(QStringLiteral("error")).size(), 1);
    QCOMPARE(ui.texts(QStringLiteral("inform")).size(), 1);
    QVERIFY(ui.texts(QStringLiteral("inform"))[0].contains(QStringLiteral("VACUUM ANALYZE")));
    QCOMPARE(ui.restarts, QStringList());
    QVERIFY(form.data()->store());
    QCOMPARE(form.data()->dataset(QStringLiteral("Kasa"))->text(QStringLiteral("Aylar")), QStringLiteral("2024 / EKİM"));
}

void ServerToolsTest::transferBothWaysWithCountsAndSums()
{
    TempDatabase file(TempDatabase::Demo);
    const QString address = newBooks();
    QStringList seen;
    const ServerTransferResult there =
        transferServerBooks(file.path(), address, false, [&](const QString &table, qint64) { seen << table; });
    QCOMPARE(seen.size(), serverTables().size()); // progress for every table
    QVERIFY(there.from.differences(there.to).isEmpty());
    QVERIFY(!there.to.empty());
    const double kasa = file.scalar(QStringLiteral("SELECT sum(Tahsilat) FROM Kasa1")).toDouble();
    QVERIFY(kasa > 0);
    for (const TableTally &t : there.to.tables)
        if (t.table == QLatin1String("Kasa1")) {
            QCOMPARE(t.rows, file.scalar(QStringLiteral("SELECT count(*) FROM Kasa1")).toLongLong());
            QCOMPARE(t.sums.value(int(t.amountColumns.indexOf(QStringLiteral("Tahsilat")))), kasa);
        }

    // and back through the tool, which prints both sides
    const QString home = m_temp.filePath(QStringLiteral("eve.dat"));
    const Run back = transfer({address, home});
    QVERIFY2(back.code == 0, qPrintable(back.err));
    QVERIFY(back.err.contains(QStringLiteral("Aktarıldı: Kasa1")));
    QVERIFY2(back.out.contains(QStringLiteral("Kasa1")) && back.out.contains(QStringLiteral("aynı")), qPrintable(back.out));
    QVERIFY(tallyDataFile(home).differences(tallyDataFile(file.path())).isEmpty());
    // new rows on the server continue past the copied keys
    PgConnection db(address);
    const qint64 last = file.scalar(QStringLiteral("SELECT max(rowid) FROM Kasa1")).toLongLong();
    const qint64 master = file.scalar(QStringLiteral("SELECT min(SiraNo) FROM Kasa")).toLongLong();
    QCOMPARE(QByteArray(db.exec(QStringLiteral("INSERT INTO Kasa1 (SiraNo) VALUES ($1) RETURNING Anahtar"), {master}).value(0, 0)).toLongLong(),
             last + 1);
}

void ServerToolsTest::targetWithBooksRefused()
{
    TempDatabase file(TempDatabase::Demo);
    const QString address = newBooks();
    {
        PgConnection db(address);
        db.exec(QStringLiteral("INSERT INTO Kasa (Aylar) VALUES ('Başka')"));
    }
    Run r = transfer({file.path(), address});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("--replace")), qPrintable(r.err));
    {
        PgConnection db(address);
        QCOMPARE(QByteArray(db.exec(QStringLiteral("SELECT count(*) FROM Kasa")).value(0, 0)), QByteArray("1")); // untouched
    }
    r = transfer({QStringLiteral("--replace"), file.path(), address});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    {
        PgConnection db(address);
        QVERIFY(tallyServer(db).differences(tallyDataFile(file.path())).isEmpty());
    }

    // the same for a file with books
    TempDatabase other;
    other.exec(QStringLiteral("INSERT INTO Cari (Firma) VALUES ('Kalsın')"));
    r = transfer({address, other.path()});
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains(QStringLiteral("--replace")), qPrintable(r.err));
    QCOMPARE(other.scalar(QStringLiteral("SELECT Firma FROM Cari")).toString(), QStringLiteral("Kalsın"));
    r = transfer({address, other.path(), QStringLiteral("--replace")});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(tallyDataFile(other.path()).differences(tallyDataFile(file.path())).isEmpty());
    QVERIFY(!QFile::exists(other.path() + QStringLiteral(".aktarim")));
}

void ServerToolsTest::demoBooksThereAndBackIdentical()
{
    // the books tekvanis-initdb makes with --demo
    const QString demo = m_temp.filePath(QStringLiteral("ornek.dat"));
    QProcess initdb;
    initdb.start(QStringLiteral(TK_INITDB), {demo, QStringLiteral("--demo")});
    QVERIFY(initdb.waitForFinished(120000));
    QCOMPARE(initdb.exitCode(), 0);
    const QString address = newBooks();
    const QString back = m_temp.filePath(QStringLiteral("geri.dat"));
    QCOMPARE(transfer({demo, address}).code, 0);
    QCOMPARE(transfer({address, back}).code, 0);
    for (const ServerTable &t : serverTables()) {
        const QStringList before = cellsOf(demo, t), after = cellsOf(back, t);
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < before.size(); ++i)
            QVERIFY2(after[i] == before[i], qPrintable(QStringLiteral("%1 cell %2: %3 / %4").arg(t.name).arg(i).arg(before[i], after[i])));
    }
}

void ServerToolsTest::backupIsADataFile()
{
    TempDatabase file(TempDatabase::Demo);
    const QString address = newBooks();
    transferServerBooks(file.path(), address, false);
    PgStore store(address);

    QTemporaryDir program, location;
    TFrmYedek dialog(program.path() + QLatin1Char('/'), location.path());
    dialog.setBooksOnServer(true);
    dialog.setServerSnapshot([&](const QString &target) { copyServerToDataFile(store.connection(), target); });
    dialog.setBackupLocation(location.path());
    dialog.findChild<QCheckBox *>(QStringLiteral("CheckBox2"))->setChecked(false); // no settings file here
    dialog.findChild<QCheckBox *>(QStringLiteral("CheckBox3"))->setChecked(false);
    dialog.show();
    ScriptedUi ui;
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    QCOMPARE(ui.texts(QStringLiteral("error")), QStringList());
    QCOMPARE(ui.texts(QStringLiteral("inform")).size(), 1);

    const QString backup = location.filePath(QStringLiteral("YedekVT/Data.dat"));
    QVERIFY(QFile::exists(backup));
    // a Data.dat like any other: the newest version, every row and sum of the server
    Connection opened(backup);
    QCOMPARE(schemaVersionOf(opened.handle()), newestSchemaVersion());
    QVERIFY(tallyDataFile(backup).differences(tallyServer(store.connection())).isEmpty());
    for (const ServerTable &t : serverTables())
        QCOMPARE(cellsOf(backup, t), cellsOf(file.path(), t));
}

void ServerToolsTest::upkeepShowsTheServersSizes()
{
    const QString address = newBooks();
    PgStore store(address);
    store.connection().run(QStringLiteral("INSERT INTO Kasa (Aylar) SELECT 'Ay ' || g FROM generate_series(1, 2000) g; "
                                          "DELETE FROM Kasa"));
    TFrmTamir dialog(QStringLiteral("/yok/Data.dat"), QStringLiteral("/bin/false"));
    dialog.setServerMaintenance([&] { return serverBooksSize(store.connection()); },
                                [&] { vacuumAnalyze(store.connection()); });
    ScriptedUi ui;
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    QCOMPARE(ui.texts(QStringLiteral("error")), QStringList());
    const QStringList informed = ui.texts(QStringLiteral("inform"));
    QCOMPARE(informed.size(), 1);
    static const QRegularExpression sizes(QStringLiteral("önce [0-9,]+ (bayt|KB|MB|GB), şimdi [0-9,]+ (bayt|KB|MB|GB)"));
    QVERIFY2(informed[0].contains(QStringLiteral("VACUUM ANALYZE")) && sizes.match(informed[0]).hasMatch(),
             qPrintable(informed[0]));
    const PgResult vacuumed = store.connection().exec(
        QStringLiteral("SELECT last_vacuum IS NOT NULL AND last_analyze IS NOT NULL FROM pg_stat_user_tables WHERE relname = 'kasa'"));
    QCOMPARE(QByteArray(vacuumed.value(0, 0)), QByteArray("t"));
    // closing starts nothing anew: the books stayed on the server
    QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Button1")), Qt::LeftButton);
    QCOMPARE(ui.restarts, QStringList());
}

QTEST_MAIN(ServerToolsTest)
#include "tst_servertools.moc"
