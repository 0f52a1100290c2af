#include "ProgramRestart.h"

#include "core/UiSeam.h"

#include <QDir>

namespace tk {

void startProgramAnew(QWidget *parent, const QString &programFile, const QStringList &arguments)
{
    if (!ui().restartProgram(programFile, arguments))
        ui().error(parent, QStringLiteral("Hata"),
                   QStringLiteral("Program yeniden başlatılamadı: %1\nProgramı yeniden açınız.")
                       .arg(QDir::toNativeSeparators(programFile)));
}

} // namespace tk
