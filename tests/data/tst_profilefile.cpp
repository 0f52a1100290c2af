// The profile-file layer and its code page, against real files in a temporary folder.
#include "core/Error.h"
#include "core/Cp1254.h"
#include "core/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using tk::ProfileFile;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The Turkish letters as the code page stores them.
const QString kTurkish = QStringLiteral("XXX TEKVANİS ÇĞİÖŞÜ çğıöşü €");
const QByteArray kTurkishBytes("XXX TEKVAN\xDDS \xC7\xD0\xDD\xD6\xDE\xDC \xE7\xF0\xFD\xF6\xFE\xFC \x80");

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_path = m_dir->filePath(QStringLiteral("S-Veri.ini"));
    }

    void codePageMapsTurkishLettersBothWays()
    {
        QCOMPARE(tk::cp1254::encode(kTurkish), kTurkishBytes);
        QCOMPARE(tk::cp1254::decode(kTurkishBytes), kTurkish);

        // Every byte, the unassigned ones included, survives decode and encode.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(static_cast<char>(b));
        QCOMPARE(tk::cp1254::encode(tk::cp1254::decode(all)), all);

        // What the code page cannot hold becomes one '?' per character.
        QCOMPARE(tk::cp1254::encode(QStringLiteral("a\u4E2Db\U0001F600c")), QByteArray("a?b?c"));
        QVERIFY(!tk::cp1254::canEncode(QStringLiteral("\u0100")));
        QVERIFY(tk::cp1254::canEncode(kTurkish));
    }

    void readsGiveDefaultsWhenSomethingIsMissing()
    {
        ProfileFile ini(m_path);
        QCOMPARE(ini.readString("Settings", "Kdv", "18"), QStringLiteral("18"));
        QCOMPARE(ini.readBool("Settings", "--P", true), true);
        QVERIFY(!QFile::exists(m_path)); // a read never creates the file

        writeBytes(m_path, "[Settings]\r\nRp3=\r\nKdv = 8 \r\n--P=abc\r\nBig=2\r\nOff=0\r\nHex=$1F\r\n"
                           "; Rp1=commented\r\n[Other]\r\nRp1=elsewhere\r\n");
        QCOMPARE(ini.readString("Settings", "Rp1", "default"), QStringLiteral("default"));
        QCOMPARE(ini.readString("Missing", "Kdv", "x"), QStringLiteral("x"));
        // Present but empty is empty, not the default.
        QCOMPARE(ini.readString("Settings", "Rp3", "FATURALAR"), QString());
        QVERIFY(ini.keyExists("Settings", "Rp3"));
        // Blanks around names and values do not count; neither does letter case.
        QCOMPARE(ini.readString("settings", "KDV", "18"), QStringLiteral("8"));
        // A flag that is not a number keeps the default; any other number is true.
        QCOMPARE(ini.readBool("Settings", "--P", true), true);
        QCOMPARE(ini.readBool("Settings", "--P", false), false);
        QCOMPARE(ini.readBool("Settings", "Big", false), true);
        QCOMPARE(ini.readBool("Settings", "Off", true), false);
        QCOMPARE(ini.readInteger("Settings", "Hex", 0), 31);
    }

    void longValuesAreCut()
    {
        ProfileFile ini(m_path);
        const QString longText(3000, u'A');
        ini.writeString("S", "K", longText);
        QCOMPARE(ini.readString("S", "K", {}).size(), ProfileFile::MaxValueLength);
        QVERIFY(readBytes(m_path).contains(QByteArray(3000, 'A'))); // the file keeps all of it
    }

    void firstWritesBuildTheFileInOrder()
    {
        ProfileFile ini(m_path);
        ini.writeString("MusTakipToplam", "--", "");
        ini.writeString("Cari", "--O", "1.250");
        ini.writeString("Cari", "--K", "");
        ini.writeBool("Settings", "--P", true);
        ini.writeInteger("Settings", "Kdv", 18);
        QCOMPARE(readBytes(m_path),
                 QByteArray("[MusTakipToplam]\r\n--=\r\n"
                            "\r\n[Cari]\r\n--O=1.250\r\n--K=\r\n"
                            "\r\n[Settings]\r\n--P=1\r\nKdv=18\r\n"));
    }

    void updateInPlaceKeepsEveryOtherLine()
    {
        // Unix line breaks, a comment, a stray line, odd spelling and no final break.
        const QByteArray before("; kept comment\n[settings]\nKDV = 18\n  stray text\nRp1=\xDD\xDE\n\n[Cari]\n--O=5");
        writeBytes(m_path, before);
        ProfileFile ini(m_path);

        ini.writeString("Settings", "Kdv", "20");
        QCOMPARE(readBytes(m_path),
                 QByteArray("; kept comment\n[settings]\nKDV=20\n  stray text\nRp1=\xDD\xDE\n\n[Cari]\n--O=5"));

        // A new key goes after the section's last line, before the blank separator.
        ini.writeString("SETTINGS", "Rp2", "HASAR TAKİP");
        QCOMPARE(readBytes(m_path),
                 QByteArray("; kept comment\n[settings]\nKDV=20\n  stray text\nRp1=\xDD\xDE\nRp2=HASAR TAK\xDDP\n\n[Cari]\n--O=5"));

        // Into the last section, whose last line had no line break.
        ini.writeString("Cari", "--K", "7");
        QCOMPARE(readBytes(m_path),
                 QByteArray("; kept comment\n[settings]\nKDV=20\n  stray text\nRp1=\xDD\xDE\nRp2=HASAR TAK\xDDP\n\n[Cari]\n--O=5\n--K=7\n"));
        QCOMPARE(ini.readString("cari", "--o", {}), QStringLiteral("5"));
    }

    void turkishTitleRoundTripsByteExactly()
    {
        ProfileFile ini(m_path);
        ini.writeString("Settings", "Rp1", kTurkish);
        QCOMPARE(readBytes(m_path), QByteArray("[Settings]\r\nRp1=") + kTurkishBytes + "\r\n");
        QCOMPARE(ini.readString("Settings", "Rp1", {}), kTurkish);

        // Rewriting another key leaves the stored bytes as they were.
        ini.writeString("Settings", "Kdv", "18");
        QVERIFY(readBytes(m_path).contains("Rp1=" + kTurkishBytes + "\r\n"));
        QCOMPARE(ini.readString("Settings", "Rp1", {}), kTurkish);
    }

    void valuesReadBackAsWritten_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks at the ends") << QStringLiteral("  ORTA  ");
        QTest::newRow("double quotes around") << QStringLiteral("\"ALINTI\"");
        QTest::newRow("single quotes around") << QStringLiteral("'A'");
        QTest::newRow("lone quote") << QStringLiteral("\"");
        QTest::newRow("equals sign inside") << QStringLiteral("a=b");
        QTest::newRow("brackets") << QStringLiteral("[Settings]");
        QTest::newRow("empty") << QString();
    }
    void valuesReadBackAsWritten()
    {
        QFETCH(QString, value);
        ProfileFile ini(m_path);
        ini.writeString("S", "K", value);
        ini.writeString("S", "Next", "x");
        QCOMPARE(ini.readString("S", "K", "default"), value);
        QCOMPARE(ini.readString("S", "Next", {}), QStringLiteral("x"));
    }

    void lineBreaksCannotSplitTheFile()
    {
        ProfileFile ini(m_path);
        ini.writeString("S", "K", "one\r\n[Evil]\nK=two");
        QCOMPARE(ini.readString("S", "K", {}), QStringLiteral("one [Evil] K=two"));
        QCOMPARE(ini.readString("Evil", "K", "none"), QStringLiteral("none"));
    }

    void refusedWritesNameTheFile()
    {
        // A folder that cannot exist: its parent is a plain file.
        writeBytes(m_dir->filePath("plain"), "x");
        const QString impossible = m_dir->filePath("plain/S-Veri.ini");
        ProfileFile ini(impossible);
        try {
            ini.writeString("Settings", "Kdv", "18");
            QFAIL("the write was not refused");
        } catch (const tk::Error &e) {
            QCOMPARE(e.text(), QStringLiteral("Unable to write to ") + QDir(m_dir->path()).filePath("plain/S-Veri.ini"));
        }
        QCOMPARE(ini.readString("Settings", "Kdv", "18"), QStringLiteral("18"));
    }

    void writeProtectionIsHonoured()
    {
        if (geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        ProfileFile ini(m_path);
        ini.writeString("Settings", "Kdv", "18");
        const QByteArray before = readBytes(m_path);

        // A read-only file in a writable folder is not replaced behind its back.
        QFile::setPermissions(m_path, QFileDevice::ReadOwner);
        QVERIFY_THROWS_EXCEPTION(tk::Error, ini.writeString("Settings", "Kdv", "20"));
        QCOMPARE(readBytes(m_path), before);
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        // An unwritable folder: nothing is created and nothing is left behind.
        const QString folder = m_dir->filePath("locked");
        QVERIFY(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        ProfileFile locked(folder + "/S-Veri.ini");
        QVERIFY_THROWS_EXCEPTION(tk::Error, locked.writeString("Settings", "Kdv", "18"));
        QVERIFY(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

QTEST_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
