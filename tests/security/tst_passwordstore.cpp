// The [Velkaron] section of win.ini: the flag, the hashed password, the
// plain value of older files, and what reaches the file.
#include "SecurityTestSupport.h"
#include "core/Error.h"
#include "core/Cp1254.h"
#include "security/PasswordGate.h"
#include "security/PasswordStore.h"
#include "security/TGetPassWdFrm.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using tk::PasswordStore;

class TestPasswordStore : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        // The folder does not exist yet, as on a first run.
        m_path = m_dir->filePath(QStringLiteral("config/tekvanis/win.ini"));
    }

    void firstRunHasNothingStored()
    {
        PasswordStore store(m_path);
        QVERIFY(!store.IsProtectionActive());
        QVERIFY(store.ReadStoredPassword().isEmpty());
        QVERIFY(store.ReadStoredPassword().matches(QString()));
        QVERIFY(!QFile::exists(m_path));
        QVERIFY(PasswordStore::defaultPath().endsWith(QStringLiteral("/tekvanis/win.ini")));
    }

    void flagIsReadAsABoolean_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("active");
        QTest::newRow("1") << QByteArray("Active=1") << true;
        QTest::newRow("0") << QByteArray("Active=0") << false;
        QTest::newRow("other number") << QByteArray("active=7") << true;
        QTest::newRow("not a number") << QByteArray("Active=evet") << false;
        QTest::newRow("missing") << QByteArray("SSifre=x") << false;
    }
    void flagIsReadAsABoolean()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, active);
        QDir().mkpath(QFileInfo(m_path).path());
        sectest::writeFile(m_path, "[velkaron]\r\n" + line + "\r\n");
        QCOMPARE(PasswordStore(m_path).IsProtectionActive(), active);
    }

    void flagWritesKeepTheRestOfTheFile()
    {
        QDir().mkpath(QFileInfo(m_path).path());
        sectest::writeFile(m_path, "[fonts]\r\nx=1\r\n\r\n[Velkaron]\r\nSSifre=eski\r\n");
        PasswordStore store(m_path);
        store.SaveProtectionState(true);
        QCOMPARE(sectest::fileBytes(m_path), QByteArray("[fonts]\r\nx=1\r\n\r\n[Velkaron]\r\nSSifre=eski\r\nActive=1\r\n"));
        store.SaveProtectionState(false);
        QVERIFY(sectest::fileBytes(m_path).contains("Active=0\r\n"));
        QVERIFY(!store.IsProtectionActive());
    }

    void passwordIsStoredOnlyAsAHash()
    {
        PasswordStore store(m_path);
        const QString typed = QStringLiteral("Şifreİ ı");
        store.WriteStoredPassword(typed); // also makes the missing folder
        const QByteArray file = sectest::fileBytes(m_path);
        QVERIFY(file.contains("SSifre=$argon2id$"));
        QVERIFY(!file.contains(typed.toUtf8()));
        QVERIFY(!file.contains(tk::cp1254::encode(typed)));

        const tk::StoredPassword stored = store.ReadStoredPassword();
        QVERIFY(stored.isHashed());
        QVERIFY(stored.matches(typed));
        // Exact comparison: case, Turkish dotted/dotless i and blanks all count.
        QVERIFY(!stored.matches(QStringLiteral("şifreİ ı")));
        QVERIFY(!stored.matches(QStringLiteral("ŞifreI ı")));
        QVERIFY(!stored.matches(QStringLiteral("Şifreİı")));
        QVERIFY(!stored.matches(typed + u' '));
        QVERIFY(!stored.matches(QString()));

        // The same password hashes differently each time (salted).
        store.WriteStoredPassword(typed);
        QVERIFY(sectest::fileBytes(m_path) != file);
        QVERIFY(store.ReadStoredPassword().matches(typed));
    }

    void emptyPasswordStaysEmpty()
    {
        PasswordStore store(m_path);
        store.WriteStoredPassword(QStringLiteral("abc"));
        store.WriteStoredPassword(QString());
        QVERIFY(sectest::fileBytes(m_path).contains("SSifre=\r\n"));
        QVERIFY(store.ReadStoredPassword().isEmpty());
        QVERIFY(store.ReadStoredPassword().matches(QString()));
        QVERIFY(!store.ReadStoredPassword().matches(QStringLiteral(" ")));
    }

    void plainValueOfAnOlderFileStillCounts()
    {
        QDir().mkpath(QFileInfo(m_path).path());
        // Windows-1254 bytes of "Gizli Ş".
        sectest::writeFile(m_path, "[Velkaron]\r\nActive=1\r\nSSifre=Gizli \xDE\r\n");
        PasswordStore store(m_path);
        const tk::StoredPassword old = store.ReadStoredPassword();
        QVERIFY(!old.isHashed());
        QVERIFY(old.matches(QStringLiteral("Gizli Ş")));
        QVERIFY(!old.matches(QStringLiteral("gizli ş")));

        store.WriteStoredPassword(QStringLiteral("Yeni"));
        QVERIFY(!sectest::fileBytes(m_path).contains("Gizli"));
        QVERIFY(store.ReadStoredPassword().isHashed());
        QVERIFY(!store.ReadStoredPassword().matches(QStringLiteral("Gizli Ş")));
    }

    void refusedWritesGiveTheirOwnErrors()
    {
        // A folder that cannot be made: its parent is a plain file.
        sectest::writeFile(m_dir->filePath("config"), "x");
        PasswordStore store(m_path);
        try {
            store.WriteStoredPassword(QStringLiteral("abc"));
            QFAIL("the password write was not refused");
        } catch (const tk::Error &e) {
            QCOMPARE(e.text(), QStringLiteral("Şifre yazılamadı"));
        }
        try {
            store.SaveProtectionState(true);
            QFAIL("the flag write was not refused");
        } catch (const tk::Error &e) {
            QCOMPARE(e.text(), QStringLiteral("Unable to write to ") + m_path);
        }
    }

    void gateAsksOnlyWhenItMust()
    {
        sectest::RecordingSeam seam;
        PasswordStore store(m_path);
        sectest::ModalDriver<tk::TGetPassWdFrm> driver([](tk::TGetPassWdFrm *d) { d->BitBtn1->click(); });

        // Protection off: no prompt at start.
        QVERIFY(tk::CheckPassword(nullptr, store, true));
        QCOMPARE(driver.seen(), 0);
        // Unconditional: prompted even when off (the empty password matches).
        QVERIFY(tk::CheckPassword(nullptr, store, false));
        QCOMPARE(driver.seen(), 1);
        QVERIFY(!QFile::exists(m_path)); // the gate writes nothing
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

QTEST_MAIN(TestPasswordStore)
#include "tst_passwordstore.moc"
