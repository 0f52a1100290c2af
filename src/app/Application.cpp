#include "Application.h"

#include "CommandLine.h"
#include "EmptyDatabase.h"
#include "ProgramFolder.h"
#include "ServerStart.h"
#include "TAyarFrm.h"
#include "TForm1.h"
#include "security/ProtectionPage.h"
#include "core/UiSeam.h"
#include "server/PgConnection.h"
#include "server/ServerStores.h"
#include "transfer/OldBooksQuestion.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>

namespace tk {

namespace {

void print(FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fputc('\n', to);
}

} // namespace

int runApplication(int argc, char *argv[])
{
    // Help and version are answered before the toolkit starts, so they need no display.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine commandLine = parseCommandLine(args);
    const auto wrongLine = [](const CommandLine &line) {
        print(stderr, QStringLiteral("tekvanis: %1\nAyrıntılar için: tekvanis --help").arg(line.problem));
        return 2;
    };
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        print(stdout, helpText());
        return 0;
    case CommandLine::Action::Version:
        print(stdout, versionText());
        return 0;
    case CommandLine::Action::Wrong:
        return wrongLine(commandLine);
    case CommandLine::Action::Run:
        break;
    }

    QApplication app(argc, argv);
    if (const CommandLine rest = parseCommandLine(QApplication::arguments(), true);
        rest.action == CommandLine::Action::Wrong)
        return wrongLine(rest);
    QApplication::setApplicationName(QStringLiteral("tekvanis"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("tr.com.tekvanis.Tekvanis"));

    // "Evet", "Hayır", "Tamam" come from the toolkit's own Turkish translation.
    QTranslator translator;
    if (translator.load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));

    const ProgramFolder folder =
        ProgramFolder::choose(ProgramFolder::processInputs(QApplication::applicationDirPath(), commandLine.folder));
    AppPaths paths;
    paths.programFolder = folder.path();
    paths.databasePath = folder.filePath(QStringLiteral("Data.dat"));
    paths.programFile = QApplication::applicationFilePath();
    paths.programArguments = commandLine.ownArguments;
    paths.configFolder = QDir::homePath() + QStringLiteral("/.config/tekvanis");

    registerServerStores(); // "postgresql://…" opens books on a server
    std::unique_ptr<TForm1> form;
    try {
        folder.prepare();
        paths.databasePath = booksForThisRun(paths.configFolder, paths.databasePath);
        if (paths.databasePath.isEmpty())
            return 1;
        if (!isServerAddress(paths.databasePath)) {
            if (!offerEmptyDatabase(folder))
                return 1;
            convertOldBooksIfAsked(nullptr, paths.databasePath);
        }
        form = std::make_unique<TForm1>(paths);
    } catch (const Error &e) {
        ui().error(nullptr, QStringLiteral("Hata"), e.text());
        return 1;
    }
    form->show();
    // The gate runs once the window is visible; a refusal ends the run here,
    // before the message loop, without the exit question and writing nothing.
    ProtectionPage *protection = form->settingsDialog()->protection();
    if (!protection->CheckPassword(true))
        return 0;
    const int code = app.exec();
    protection->FormDestroy(); // the protection flag is written at the end of every run
    return code;
}

} // namespace tk
