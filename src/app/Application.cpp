#include "Application.h"

#include "TAyarFrm.h"
#include "TForm1.h"
#include "security/ProtectionPage.h"
#include "core/UiSeam.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

namespace tk {

int runApplication(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tekvanis"));

    // "Evet", "Hayır", "Tamam" come from the toolkit's own Turkish translation.
    QTranslator translator;
    if (translator.load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));

    AppPaths paths;
    paths.programFolder = QApplication::applicationDirPath();
    paths.programFile = QApplication::applicationFilePath();
    paths.configFolder = QDir::homePath() + QStringLiteral("/.config/tekvanis");

    std::unique_ptr<TForm1> form;
    try {
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
