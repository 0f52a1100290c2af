#include "Application.h"

#include "TForm1.h"
#include "controls/UiSeam.h"

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
    paths.configFolder = QDir::homePath() + QStringLiteral("/.config/tekvanis");

    std::unique_ptr<TForm1> form;
    try {
        form = std::make_unique<TForm1>(paths);
    } catch (const Error &e) {
        ui().error(nullptr, QStringLiteral("Hata"), e.text());
        return 1;
    }
    form->show();
    return app.exec();
}

} // namespace tk
