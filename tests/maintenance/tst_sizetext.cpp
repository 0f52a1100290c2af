// Size texts of the maintenance dialog.
#include "maintenance/ByteSize.h"

#include <QTemporaryDir>
#include <QTest>

class SizeText : public QObject {
    Q_OBJECT
private slots:
    void formatsThreeFiguresCutNotRounded_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << quint64(0) << "0 bayt";
        QTest::newRow("bytes") << quint64(532) << "532 bayt";
        QTest::newRow("last byte count") << quint64(1023) << "1023 bayt";
        QTest::newRow("one KB") << quint64(1024) << "1,00 KB";
        QTest::newRow("1340") << quint64(1340) << "1,30 KB";
        QTest::newRow("just under 10 KB") << quint64(10 * 1024 - 1) << "9,99 KB";
        QTest::newRow("23506") << quint64(23506) << "22,9 KB";
        QTest::newRow("hundreds of KB") << quint64(999 * 1024 + 1023) << "999 KB";
        QTest::newRow("1000 KB reads in MB") << quint64(1000 * 1024) << "0,97 MB";
        QTest::newRow("just under 1 MB") << quint64(1024 * 1024 - 1) << "0,99 MB";
        QTest::newRow("2400016") << quint64(2400016) << "2,28 MB";
        QTest::newRow("2400000000") << quint64(2400000000ull) << "2,23 GB";
        QTest::newRow("beyond GB") << (quint64(5) << 40) << "5120 GB";
    }
    void formatsThreeFiguresCutNotRounded()
    {
        QFETCH(quint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(tk::formatByteSize(bytes), text);
    }

    void fileSizeTextReadsTheFileOrSaysItIsMissing()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Data.dat"));
        QCOMPARE(tk::fileSizeText(path), QStringLiteral("*.mbd dosyası bulunamadı!"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(3 * 1024 * 1024 + 512 * 1024, 'x'));
        file.close();
        QCOMPARE(tk::fileSizeText(path), QStringLiteral("3,50 MB"));
        QCOMPARE(tk::fileSizeText(folder.path() + QStringLiteral("/yok/Data.dat")),
                 QStringLiteral("*.mbd dosyası bulunamadı!"));
    }
};

QTEST_MAIN(SizeText)
#include "tst_sizetext.moc"
