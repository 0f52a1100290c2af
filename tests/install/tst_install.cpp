// `cmake --install` into a temporary prefix: every installed file checked,
// the menu entry and the metainfo run through their validators, and the
// installed program answering --help and --version without a display.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString appId = QStringLiteral("tr.com.tekvanis.Tekvanis");

struct Run {
    int code = -1;
    QString out, err;
};

// Runs `program` without any display: no X, no Wayland, no platform chosen.
Run run(const QString &program, const QStringList &args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    p.setProcessEnvironment(env);
    p.start(program, args);
    Run r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("did not finish: %1 %2").arg(program, args.join(QLatin1Char(' ')));
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err += QString::fromUtf8(p.readAllStandardError());
    return r;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class InstallTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void programsAreInstalled();
    void helpAndVersionAnswerWithoutADisplay();
    void menuEntryIsValidAndTurkish();
    void iconIsOursInEverySize();
    void metainfoIsValid();
    void manPagesAreInstalled();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }
    QTemporaryDir m_prefix;
};

void InstallTest::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    const Run r = run(QStringLiteral(TK_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(TK_BINARY_DIR), QStringLiteral("--prefix"), m_prefix.path()});
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
}

void InstallTest::programsAreInstalled()
{
    for (const char *tool : {"tekvanis", "tekvanis-initdb", "tekvanis-transfer"}) {
        const QFileInfo info(installed(QStringLiteral("bin/") + QLatin1String(tool)));
        QVERIFY2(info.isFile() && info.isExecutable(), qPrintable(info.filePath()));
        QVERIFY2(QFileInfo::exists(installed(QStringLiteral("share/man/man1/%1.1").arg(QLatin1String(tool)))), tool);
    }
    // The installed tool makes books the program can open.
    const QString file = m_prefix.filePath(QStringLiteral("Data.dat"));
    const Run r = run(installed(QStringLiteral("bin/tekvanis-initdb")), {file});
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(readFile(file).startsWith("SQLite format 3"));
}

void InstallTest::helpAndVersionAnswerWithoutADisplay()
{
    const QString program = installed(QStringLiteral("bin/tekvanis"));
    const Run version = run(program, {QStringLiteral("--version")});
    QCOMPARE(version.code, 0);
    QCOMPARE(version.out, QStringLiteral("tekvanis 1.0\n"));
    QCOMPARE(version.err, QString());

    for (const QString &option : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Run help = run(program, {option});
        QCOMPARE(help.code, 0);
        QVERIFY(help.out.startsWith(QStringLiteral("Kullanım: tekvanis [--folder KLASÖR]\n")));
        for (const char *word : {"--folder", "--version", "TEKVANIS_HOME", "XDG_DATA_HOME", "win.ini"})
            QVERIFY2(help.out.contains(QLatin1String(word)), word);
        QCOMPARE(help.err, QString());
    }

    // The conversion tool answers its usage without a display too.
    const Run transfer = run(installed(QStringLiteral("bin/tekvanis-transfer")), {});
    QCOMPARE(transfer.code, 2);
    QVERIFY(transfer.err.startsWith(QStringLiteral("Kullanım: tekvanis-transfer")));

    // A wrong option is told on the error stream, also without a window.
    const Run wrong = run(program, {QStringLiteral("--folder")});
    QCOMPARE(wrong.code, 2);
    QVERIFY(wrong.out.isEmpty());
    QVERIFY(wrong.err.contains(QStringLiteral("--folder bir klasör adı bekliyor.")));

    // Once the toolkit has taken its own options (-platform, -style), anything
    // left that is not ours stops the start before any books are opened: a
    // misspelt --folder, or a folder given without it.
    QTemporaryDir books;
    for (const QStringList &line : {QStringList{"--foldr", books.path()}, QStringList{books.path()}}) {
        const Run unknown = run(program, QStringList{"-platform", "offscreen", "-style", "fusion"} + line);
        QVERIFY2(unknown.code == 2, qPrintable(unknown.err));
        QVERIFY(unknown.err.contains(QStringLiteral("Bilinmeyen seçenek: ") + line.first()));
        QVERIFY(QDir(books.path()).isEmpty());
    }
}

void InstallTest::menuEntryIsValidAndTurkish()
{
    const QString entry = installed(QStringLiteral("share/applications/%1.desktop").arg(appId));
    QVERIFY(QFileInfo::exists(entry));
    const Run r = run(QStringLiteral("desktop-file-validate"), {entry});
    QVERIFY2(r.code == 0 && r.out.isEmpty(), qPrintable(r.out + r.err + QStringLiteral(" (desktop-file-utils installed?)")));

    const QString text = QString::fromUtf8(readFile(entry));
    const QStringList lines = text.split(QLatin1Char('\n'));
    QVERIFY(lines.contains(QStringLiteral("Name=Tekvanis")));
    QVERIFY(lines.contains(QStringLiteral("Exec=tekvanis")));
    QVERIFY(lines.contains(QStringLiteral("Icon=tekvanis")));
    QVERIFY(lines.contains(QStringLiteral("Categories=Office;Finance;")));
    QVERIFY(lines.contains(QStringLiteral("GenericName=Servis Kayıt Programı")));
    QVERIFY(text.contains(QStringLiteral("\nComment=Oto servisinin müşteri, fatura")));
}

void InstallTest::iconIsOursInEverySize()
{
    const QString svg = installed(QStringLiteral("share/icons/hicolor/scalable/apps/tekvanis.svg"));
    QCOMPARE(readFile(svg), readFile(QStringLiteral(TK_SOURCE_DIR "/desktop/tekvanis.svg")));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString png = installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/tekvanis.png").arg(size));
        const QImage image(png);
        QVERIFY2(!image.isNull(), qPrintable(png));
        QCOMPARE(image.size(), QSize(size, size));
        QVERIFY(image.hasAlphaChannel());
        // The corner is outside the rounded square, the middle on the ledger.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}

void InstallTest::metainfoIsValid()
{
    const QString metainfo = installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId));
    QVERIFY(QFileInfo::exists(metainfo));
    const Run r = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err + QStringLiteral(" (appstream installed?)")));
    const QString text = QString::fromUtf8(readFile(metainfo));
    QVERIFY(text.contains(QStringLiteral("<id>%1</id>").arg(appId)));
    QVERIFY(text.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(appId)));
    QVERIFY(text.contains(QStringLiteral("<binary>tekvanis</binary>")));
}

void InstallTest::manPagesAreInstalled()
{
    const QString page = QString::fromUtf8(readFile(installed(QStringLiteral("share/man/man1/tekvanis.1"))));
    QVERIFY(page.startsWith(QStringLiteral(".TH TEKVANIS 1 ")));
    for (const char *word : {"\\-\\-folder", "\\-\\-help", "\\-\\-version", "TEKVANIS_HOME", "XDG_DATA_HOME",
                             "Veritabanı bulunamadı", "Ctrl+1", "Ctrl+PgDn"})
        QVERIFY2(page.contains(QString::fromUtf8(word)), word);
    const QString initdb = QString::fromUtf8(readFile(installed(QStringLiteral("share/man/man1/tekvanis-initdb.1"))));
    QVERIFY(initdb.startsWith(QStringLiteral(".TH TEKVANIS\\-INITDB 1 ")));
    QVERIFY(initdb.contains(QStringLiteral("\\-\\-demo")));
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
