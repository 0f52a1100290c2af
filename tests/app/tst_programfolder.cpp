// Where the program keeps its records: beside a writable executable, in the
// user's data folder otherwise, or where --folder / TEKVANIS_HOME say; the
// settings file of older versions moved in once; empty books on request.
#include "app/CommandLine.h"
#include "app/EmptyDatabase.h"
#include "app/ProgramFolder.h"
#include "app/TForm1.h"
#include "core/Cp1254.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace tk;
using tk::test::ScriptedUi;

namespace {

struct Folders {
    QTemporaryDir root;
    QString exe, data, config;
    Folders()
    {
        exe = root.filePath(QStringLiteral("bin"));
        data = root.filePath(QStringLiteral("share"));
        config = root.filePath(QStringLiteral("config/tekvanis"));
        QDir().mkpath(exe);
        QDir().mkpath(config);
    }
    ProgramFolder::Inputs inputs(const QString &exeFolder, const QString &chosen = {}) const
    {
        return {exeFolder, chosen, data, config, QString()};
    }
    // A folder chosen with --folder, made ready as at start-up.
    ProgramFolder chosenFolder() const
    {
        const ProgramFolder folder = ProgramFolder::choose(inputs(exe, root.filePath(QStringLiteral("kayit"))));
        folder.prepare();
        return folder;
    }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class ProgramFolderTest : public QObject {
    Q_OBJECT
private slots:
    void writableExecutableFolderKeepsTheRecords();
    void unwritableExecutableFolderUsesTheUserDataFolder();
    void installedExecutableUsesTheUserDataFolderEvenWhenWritable();
    void chosenFolderWins();
    void environmentChoosesUnlessTheOptionDoes();
    void oldSettingsFileMovesOnceAndNeverOverwrites();
    void settingsBesideTheExecutableStayWhereTheyAre();
    void commandLineKnowsItsOwnOptionsOnly();
    void emptyDatabaseYesMakesTheBooksAndTheWindowOpens();
    void emptyDatabaseNoMakesNothing();
    void noQuestionBesideTheExecutableOrWithAFile();
};

void ProgramFolderTest::writableExecutableFolderKeepsTheRecords()
{
    Folders f;
    const ProgramFolder folder = ProgramFolder::choose(f.inputs(f.exe));
    QCOMPARE(folder.source(), ProgramFolder::Source::Executable);
    QCOMPARE(folder.path(), QDir::cleanPath(f.exe));
    QCOMPARE(folder.filePath(QStringLiteral("Data.dat")), f.exe + QStringLiteral("/Data.dat"));
    // The probe leaves nothing behind.
    QCOMPARE(QDir(f.exe).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void ProgramFolderTest::unwritableExecutableFolderUsesTheUserDataFolder()
{
    Folders f;
    // Root writes through permission bits; /proc refuses new files to everyone.
    QString readOnly = f.root.filePath(QStringLiteral("ro"));
    QDir().mkpath(readOnly);
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner);
    if (geteuid() == 0)
        readOnly = QStringLiteral("/proc");
    QVERIFY(!folderWritable(readOnly));
    const ProgramFolder folder = ProgramFolder::choose(f.inputs(readOnly));
    QCOMPARE(folder.source(), ProgramFolder::Source::UserData);
    QCOMPARE(folder.path(), f.data + QStringLiteral("/tekvanis"));
    QVERIFY(!QFileInfo::exists(folder.path())); // choosing makes nothing
    folder.prepare();
    QVERIFY(QFileInfo(folder.path()).isDir());
    QFile::setPermissions(f.root.filePath(QStringLiteral("ro")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void ProgramFolderTest::installedExecutableUsesTheUserDataFolderEvenWhenWritable()
{
    Folders f;
    ProgramFolder::Inputs in = f.inputs(f.exe + QStringLiteral("/"));
    in.installedBinFolder = f.exe;
    QCOMPARE(ProgramFolder::choose(in).source(), ProgramFolder::Source::UserData);
    in.installedBinFolder = f.root.filePath(QStringLiteral("elsewhere"));
    QCOMPARE(ProgramFolder::choose(in).source(), ProgramFolder::Source::Executable);
}

void ProgramFolderTest::chosenFolderWins()
{
    Folders f;
    const QString chosen = f.root.filePath(QStringLiteral("books/2026"));
    const ProgramFolder folder = ProgramFolder::choose(f.inputs(f.exe, chosen));
    QCOMPARE(folder.source(), ProgramFolder::Source::Chosen);
    QCOMPARE(folder.path(), chosen);
    QVERIFY(!folder.besideExecutable());
    folder.prepare();
    QVERIFY(QFileInfo(chosen).isDir());

    // A relative folder is taken from the current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(f.root.path());
    const ProgramFolder relative = ProgramFolder::choose(f.inputs(f.exe, QStringLiteral("./books/../kayit")));
    QDir::setCurrent(previous);
    QCOMPARE(relative.path(), f.root.filePath(QStringLiteral("kayit")));
}

void ProgramFolderTest::environmentChoosesUnlessTheOptionDoes()
{
    Folders f;
    const QByteArray home = f.root.filePath(QStringLiteral("env")).toLocal8Bit();
    qputenv("TEKVANIS_HOME", home);
    qputenv("XDG_DATA_HOME", f.data.toLocal8Bit());
    ProgramFolder::Inputs in = ProgramFolder::processInputs(f.exe, QString());
    QCOMPARE(in.chosen, QString::fromLocal8Bit(home));
    QCOMPARE(in.dataHome, f.data);
    in = ProgramFolder::processInputs(f.exe, QStringLiteral("/srv/kayit"));
    QCOMPARE(in.chosen, QStringLiteral("/srv/kayit"));
    qunsetenv("TEKVANIS_HOME");
    qputenv("XDG_DATA_HOME", "relative/ignored");
    in = ProgramFolder::processInputs(f.exe, QString());
    QVERIFY(in.chosen.isEmpty());
    QCOMPARE(in.dataHome, QDir::homePath() + QStringLiteral("/.local/share"));
    QCOMPARE(in.configFolder, QDir::homePath() + QStringLiteral("/.config/tekvanis"));
    qunsetenv("XDG_DATA_HOME");
}

void ProgramFolderTest::oldSettingsFileMovesOnceAndNeverOverwrites()
{
    Folders f;
    const QByteArray old = cp1254::encode(u"[Settings]\r\nRp1=ŞİŞLİ OTO\r\n");
    writeFile(f.config + QStringLiteral("/S-Veri.ini"), old);
    writeFile(f.config + QStringLiteral("/win.ini"), "[Velkaron]\r\nActive=0\r\n");
    const ProgramFolder folder = f.chosenFolder();
    QCOMPARE(readFile(folder.filePath(QStringLiteral("S-Veri.ini"))), old);
    QVERIFY(!QFileInfo::exists(f.config + QStringLiteral("/S-Veri.ini")));
    QVERIFY(QFileInfo::exists(f.config + QStringLiteral("/win.ini"))); // the password stays in the configuration folder
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("win.ini"))));

    // A later file in the configuration folder never replaces the program folder's.
    writeFile(f.config + QStringLiteral("/S-Veri.ini"), "[Settings]\r\nRp1=ESKI\r\n");
    folder.prepare();
    QCOMPARE(readFile(folder.filePath(QStringLiteral("S-Veri.ini"))), old);
}

void ProgramFolderTest::settingsBesideTheExecutableStayWhereTheyAre()
{
    Folders f;
    writeFile(f.config + QStringLiteral("/S-Veri.ini"), "[Settings]\r\nKdv=8\r\n");
    const ProgramFolder folder = ProgramFolder::choose(f.inputs(f.exe));
    folder.prepare();
    QVERIFY(QFileInfo::exists(f.config + QStringLiteral("/S-Veri.ini")));
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("S-Veri.ini"))));
}

void ProgramFolderTest::commandLineKnowsItsOwnOptionsOnly()
{
    const auto parse = [](std::initializer_list<const char *> words) {
        QStringList args{QStringLiteral("tekvanis")};
        for (const char *w : words)
            args << QString::fromUtf8(w);
        return parseCommandLine(args);
    };
    QCOMPARE(parse({}).action, CommandLine::Action::Run);
    QCOMPARE(parse({"-platform", "offscreen", "--help"}).action, CommandLine::Action::Help);
    QCOMPARE(parse({"-v"}).action, CommandLine::Action::Version);
    CommandLine cl = parse({"-style", "fusion", "--folder", "/srv/Şişli kayıt"});
    QCOMPARE(cl.action, CommandLine::Action::Run);
    QCOMPARE(cl.folder, QStringLiteral("/srv/Şişli kayıt"));
    QCOMPARE(cl.ownArguments, QStringList({QStringLiteral("--folder"), QStringLiteral("/srv/Şişli kayıt")}));
    QCOMPARE(parse({"--folder=/tmp/a"}).folder, QStringLiteral("/tmp/a"));
    for (auto wrong : {parse({"--folder"}), parse({"--folder="}), parse({"--folder", "/a", "--folder", "/b"})}) {
        QCOMPARE(wrong.action, CommandLine::Action::Wrong);
        QVERIFY(!wrong.problem.isEmpty());
    }

    // What the toolkit left after taking its own options: ours only.
    QStringList left{QStringLiteral("tekvanis"), QStringLiteral("--folder"), QStringLiteral("/srv/a")};
    QCOMPARE(parseCommandLine(left, true).folder, QStringLiteral("/srv/a"));
    for (const char *stray : {"--foldr", "/srv/b", "-platform"}) {
        const CommandLine wrong = parseCommandLine(left + QStringList{QString::fromUtf8(stray)}, true);
        QCOMPARE(wrong.action, CommandLine::Action::Wrong);
        QCOMPARE(wrong.problem, QStringLiteral("Bilinmeyen seçenek: ") + QString::fromUtf8(stray));
    }
}

void ProgramFolderTest::emptyDatabaseYesMakesTheBooksAndTheWindowOpens()
{
    Folders f;
    ScriptedUi ui;
    const ProgramFolder folder = f.chosenFolder();
    ui.answers.push_back(UiSeam::Answer::Yes);
    QVERIFY(offerEmptyDatabase(folder));
    const QString path = folder.filePath(QStringLiteral("Data.dat"));
    QCOMPARE(ui.texts(QStringLiteral("ask")),
             QStringList(QStringLiteral("Veritabanı bulunamadı: %1. Boş bir veritabanı oluşturulsun mu?").arg(path)));
    QVERIFY(QFileInfo::exists(path));

    // The program goes on: the main window opens on the new, empty books.
    AppPaths paths;
    paths.programFolder = folder.path();
    paths.configFolder = f.config;
    paths.databasePath = path;
    TForm1 form(paths);
    Dataset *jobs = form.data()->dataset(QStringLiteral("MusTakip"));
    QVERIFY(jobs->isOpen());
    QCOMPARE(jobs->rowCount(), 0);
    QVERIFY(form.data()->dataset(QStringLiteral("Maas1"))->isOpen());
}

void ProgramFolderTest::emptyDatabaseNoMakesNothing()
{
    Folders f;
    ScriptedUi ui;
    const ProgramFolder folder = f.chosenFolder();
    ui.answers.push_back(UiSeam::Answer::No);
    QVERIFY(!offerEmptyDatabase(folder));
    QCOMPARE(ui.texts(QStringLiteral("ask")).size(), 1);
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("Data.dat"))));
}

void ProgramFolderTest::noQuestionBesideTheExecutableOrWithAFile()
{
    Folders f;
    ScriptedUi ui;
    // Beside the executable a missing file stays an error of the database, as before.
    QVERIFY(offerEmptyDatabase(ProgramFolder::choose(f.inputs(f.exe))));
    QVERIFY(!QFileInfo::exists(f.exe + QStringLiteral("/Data.dat")));
    // A folder that has its books is used as it is.
    const ProgramFolder chosen = f.chosenFolder();
    writeFile(chosen.filePath(QStringLiteral("Data.dat")), "not touched");
    QVERIFY(offerEmptyDatabase(chosen));
    QCOMPARE(readFile(chosen.filePath(QStringLiteral("Data.dat"))), QByteArray("not touched"));
    QVERIFY(ui.shown.isEmpty());
}

QTEST_MAIN(ProgramFolderTest)
#include "tst_programfolder.moc"
