#include "EmptyDatabase.h"

#include "ProgramFolder.h"
#include "core/UiSeam.h"
#include "data/Schema.h"

#include <QDir>
#include <QFileInfo>

namespace tk {

bool offerEmptyDatabase(const ProgramFolder &folder, QWidget *parent)
{
    const QString path = folder.filePath(QStringLiteral("Data.dat"));
    if (folder.besideExecutable() || QFileInfo::exists(path))
        return true;
    const QString question = QStringLiteral("Veritabanı bulunamadı: %1. Boş bir veritabanı oluşturulsun mu?")
                                 .arg(QDir::toNativeSeparators(path));
    if (ui().ask(parent, QStringLiteral("Tekvanis"), question, false) != UiSeam::Answer::Yes)
        return false;
    createDatabaseFile(path);
    return true;
}

} // namespace tk
