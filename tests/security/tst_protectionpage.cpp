// The password page, the entry dialog and the change dialog, driven as the
// user drives them, against a real win.ini in a temporary folder.
#include "SecurityTestSupport.h"
#include "security/PasswordGate.h"
#include "security/PasswordStore.h"
#include "security/ProtectionPage.h"
#include "security/TGetPassWdFrm.h"
#include "security/TPassWdFrm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using tk::ProtectionPage;
using tk::TGetPassWdFrm;
using tk::TPassWdFrm;
using Answer = tk::UiSeam::Answer;

namespace {

const QString kInvalid = QStringLiteral("Geçersiz şifre.");
const QString kEmptyNew = QStringLiteral("Şifre olarak boşluk giremezsiniz");
const QString kConfirm = QStringLiteral("Şu anki şifreyi değiştirmek istiyor musunuz?");

// Types `entry` into the entry dialog and presses "TAMAM".
auto enter(const QString &entry)
{
    return [entry](TGetPassWdFrm *d) {
        d->Edit1->setText(entry);
        d->BitBtn1->click();
    };
}

auto change(const QString &oldPassword, const QString &newPassword)
{
    return [=](TPassWdFrm *d) {
        d->EdtEskiSifre->setText(oldPassword);
        d->EdtYeniSifre->setText(newPassword);
        d->BitBtn1->click();
    };
}

} // namespace

class TestProtectionPage : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(QStringLiteral("tekvanis/win.ini"));
    }

    // The four stored states: what the page shows and whether start asks.
    void storedStates_data()
    {
        QTest::addColumn<QString>("password"); // "-" for none stored
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("prompts");
        QTest::newRow("nothing stored") << "-" << false << false << false << 0;
        QTest::newRow("password, off") << "Gizli" << false << false << true << 0;
        QTest::newRow("password, on") << "Gizli" << true << true << true << 1;
        QTest::newRow("empty password, on") << "" << true << true << false << 1;
    }
    void storedStates()
    {
        QFETCH(QString, password);
        QFETCH(bool, active);
        QFETCH(bool, checked);
        QFETCH(bool, enabled);
        QFETCH(int, prompts);
        if (password != "-" || active) {
            tk::PasswordStore store(m_path);
            store.SaveProtectionState(active);
            if (password != "-")
                store.WriteStoredPassword(password);
        }
        sectest::RecordingSeam seam;
        ProtectionPage page(m_path);
        QCOMPARE(page.SifreChk->isChecked(), checked);
        QCOMPARE(page.SifreChk->isEnabled(), enabled);

        const QString right = password == "-" ? QString() : password;
        sectest::ModalDriver<TGetPassWdFrm> gate(enter(right));
        QVERIFY(page.CheckPassword(true));
        QCOMPARE(gate.seen(), prompts);
        QVERIFY(seam.shown.isEmpty());
    }

    void gateTriesAgainUntilRightOrGivenUp()
    {
        tk::PasswordStore store(m_path);
        store.WriteStoredPassword("Gizli");
        store.SaveProtectionState(true);
        const QByteArray before = sectest::fileBytes(m_path);
        sectest::RecordingSeam seam;

        bool enterConfirmed = true;
        sectest::ModalDriver<TGetPassWdFrm> gate([&](TGetPassWdFrm *d) {
            QCOMPARE(d->focusWidget(), d->Edit1);
            QTest::keyClicks(d->Edit1, "gizli");
            QVERIFY(d->Edit1->displayText() != d->Edit1->text()); // masked
            d->BitBtn1->click();
            QVERIFY(d->isVisible());
            QCOMPARE(d->Edit1->text(), QStringLiteral("gizli")); // kept for correction
            QCOMPARE(d->focusWidget(), d->Edit1);
            d->Edit1->clear();
            d->BitBtn1->click(); // empty
            d->Edit1->setText("Gizli");
            QTest::keyClick(d->Edit1, Qt::Key_Return);
            QTest::keyClick(d->Edit1, Qt::Key_Enter);
            enterConfirmed = !d->isVisible();
            d->BitBtn1->click();
        });
        QVERIFY(tk::CheckPassword(nullptr, store, true));
        QVERIFY(!enterConfirmed);
        QCOMPARE(seam.texts(), QStringList({kInvalid, kInvalid}));

        // Giving up: "İptal", then Escape.
        gate.stop();
        {
            sectest::ModalDriver<TGetPassWdFrm> cancel([](TGetPassWdFrm *d) { d->BitBtn2->click(); });
            QVERIFY(!tk::CheckPassword(nullptr, store, true));
        }
        {
            sectest::ModalDriver<TGetPassWdFrm> escape([](TGetPassWdFrm *d) { QTest::keyClick(d->Edit1, Qt::Key_Escape); });
            QVERIFY(!tk::CheckPassword(nullptr, store, true));
        }
        QCOMPARE(sectest::fileBytes(m_path), before); // nothing written
    }

    void checkBoxAsksForThePasswordAndWaitsForTamam()
    {
        tk::PasswordStore store(m_path);
        store.WriteStoredPassword("Gizli");
        store.SaveProtectionState(false);
        sectest::RecordingSeam seam;
        ProtectionPage page(m_path);

        {
            sectest::ModalDriver<TGetPassWdFrm> gate([](TGetPassWdFrm *d) { d->BitBtn2->click(); });
            page.SifreChk->click();
            QCOMPARE(gate.seen(), 1);
            QVERIFY(!page.SifreChk->isChecked()); // given up: back as it was
        }
        {
            sectest::ModalDriver<TGetPassWdFrm> gate(enter("Gizli"));
            page.SifreChk->click();
            QVERIFY(page.SifreChk->isChecked());
        }
        QVERIFY(!store.IsProtectionActive()); // the click alone writes nothing

        // "İptal" of the settings dialog undoes the toggle without asking.
        sectest::ModalDriver<TGetPassWdFrm> none(enter("Gizli"));
        page.CancelBtnClick();
        QVERIFY(!page.SifreChk->isChecked());
        QVERIFY(page.SifreChk->isEnabled());
        QCOMPARE(none.seen(), 0);

        page.SifreChk->click(); // right password again
        QVERIFY(page.OkBtnClick());
        QVERIFY(store.IsProtectionActive());
        QVERIFY(sectest::fileBytes(m_path).contains("Active=1\r\n"));

        // Unchecking asks too; the end of the run writes what the box shows.
        page.SifreChk->click();
        QVERIFY(!page.SifreChk->isChecked());
        page.FormDestroy();
        QVERIFY(!store.IsProtectionActive());
        QVERIFY(seam.shown.isEmpty());
    }

    void firstPasswordNeedsNoOldOne()
    {
        sectest::RecordingSeam seam;
        ProtectionPage page(m_path);
        QVERIFY(!page.SifreChk->isEnabled());

        sectest::ModalDriver<TGetPassWdFrm> gate(enter("Gizli1"));
        bool enterConfirmed = false;
        sectest::ModalDriver<TPassWdFrm> dialog([&](TPassWdFrm *d) {
            QVERIFY(!d->EdtEskiSifre->isEnabled());
            QCOMPARE(d->focusWidget(), d->EdtYeniSifre);
            QTest::keyClicks(d->EdtYeniSifre, "abcdefghijklmnopqrst");
            QCOMPARE(d->EdtYeniSifre->text(), QStringLiteral("abcdefghijklmno")); // 15 at most
            QCOMPARE(d->EdtYeniSifre->displayText(), QString(15, u'*'));
            d->EdtYeniSifre->setText("Gizli1");
            QTest::keyClick(d->EdtYeniSifre, Qt::Key_Return); // Enter confirms here
            enterConfirmed = !d->isVisible();
        });
        page.ChangePasswdBtn->click();
        QVERIFY(enterConfirmed);
        QCOMPARE(seam.texts(), QStringList({kConfirm}));
        QVERIFY(page.SifreChk->isEnabled());
        QVERIFY(page.SifreChk->isChecked());
        QCOMPARE(gate.seen(), 0); // checking the box here does not ask
        QVERIFY(page.PassWdFrm->EdtYeniSifre->text().isEmpty());

        const QByteArray file = sectest::fileBytes(m_path);
        QVERIFY(!file.contains("Gizli1"));
        QVERIFY(!file.contains("Active")); // only "TAMAM" or the end of the run write it
        QVERIFY(page.OkBtnClick());

        // The next start asks for it.
        tk::PasswordStore next(m_path);
        QVERIFY(tk::CheckPassword(nullptr, next, true));
        QCOMPARE(gate.seen(), 1);
    }

    void emptyFirstPasswordIsAllowed()
    {
        sectest::RecordingSeam seam;
        {
            ProtectionPage page(m_path);
            sectest::ModalDriver<TPassWdFrm> dialog([](TPassWdFrm *d) { d->BitBtn1->click(); });
            page.ChangePasswdBtn->click();
            QVERIFY(page.SifreChk->isChecked());
            page.FormDestroy();
        }
        QVERIFY(sectest::fileBytes(m_path).contains("SSifre=\r\n"));
        ProtectionPage restarted(m_path);
        QVERIFY(restarted.SifreChk->isChecked());
        QVERIFY(!restarted.SifreChk->isEnabled());
        sectest::ModalDriver<TGetPassWdFrm> gate(enter(QString()));
        QVERIFY(restarted.CheckPassword(true));
        QCOMPARE(gate.seen(), 1);
    }

    void changeChecksTheOldPasswordAndRefusesAnEmptyNewOne()
    {
        tk::PasswordStore store(m_path);
        store.WriteStoredPassword("Alt1");
        store.SaveProtectionState(true);
        sectest::RecordingSeam seam;
        ProtectionPage page(m_path);

        sectest::ModalDriver<TPassWdFrm> dialog([](TPassWdFrm *d) {
            QVERIFY(d->EdtEskiSifre->isEnabled());
            QCOMPARE(d->focusWidget(), d->EdtEskiSifre);
            change("alt1", "Yeni")(d); // wrong case
            QVERIFY(d->isVisible());
            QCOMPARE(d->focusWidget(), d->EdtEskiSifre);
            change("Alt1", "")(d);
            QVERIFY(d->isVisible());
            QCOMPARE(d->focusWidget(), d->EdtYeniSifre);
            change("Alt1", "Yeni")(d);
        });
        seam.answers = {Answer::No};
        page.ChangePasswdBtn->click();
        QCOMPARE(seam.texts(), QStringList({kInvalid, kEmptyNew, kConfirm}));
        QVERIFY(store.ReadStoredPassword().matches("Alt1")); // No changes nothing

        seam.answers = {Answer::Yes};
        page.ChangePasswdBtn->click();
        QVERIFY(store.ReadStoredPassword().matches("Yeni"));
        QVERIFY(!store.ReadStoredPassword().matches("Alt1"));
        QCOMPARE(dialog.seen(), 2);
    }

    void plainPasswordOfAnOlderFileIsHashedAtTheNextChange()
    {
        QDir().mkpath(QFileInfo(m_path).path());
        sectest::writeFile(m_path, "[Velkaron]\r\nActive=1\r\nSSifre=eski\r\n");
        sectest::RecordingSeam seam;
        ProtectionPage page(m_path);
        sectest::ModalDriver<TGetPassWdFrm> gate(enter("eski"));
        QVERIFY(page.CheckPassword(true));
        QVERIFY(sectest::fileBytes(m_path).contains("SSifre=eski")); // the gate writes nothing

        sectest::ModalDriver<TPassWdFrm> dialog(change("eski", "yeni"));
        page.ChangePasswdBtn->click();
        const QByteArray file = sectest::fileBytes(m_path);
        QVERIFY(!file.contains("eski"));
        QVERIFY(!file.contains("yeni"));
        QVERIFY(page.store().ReadStoredPassword().matches("yeni"));
    }

    void refusedWritesAreShownAndChangeNothing()
    {
        // The configuration folder cannot be made: its name is taken by a file.
        sectest::writeFile(m_dir->filePath("tekvanis"), "x");
        sectest::RecordingSeam seam;
        ProtectionPage page(m_path);
        sectest::ModalDriver<TPassWdFrm> dialog(change({}, "abc"));
        page.ChangePasswdBtn->click();
        QCOMPARE(seam.texts(), QStringList({kConfirm, QStringLiteral("Şifre yazılamadı")}));
        QVERIFY(!page.SifreChk->isEnabled());
        QVERIFY(!page.SifreChk->isChecked());

        const QString unable = QStringLiteral("Unable to write to ") + m_path;
        QVERIFY(!page.OkBtnClick()); // the settings dialog stays open
        page.FormDestroy();          // shown, and the run still ends
        QCOMPARE(seam.texts().mid(2), QStringList({unable, unable}));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

QTEST_MAIN(TestProtectionPage)
#include "tst_protectionpage.moc"
