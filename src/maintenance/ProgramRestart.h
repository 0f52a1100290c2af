#pragma once
// Maintenance that replaced the books ends the run by starting the program anew.
#include <QString>
#include <QStringList>

class QWidget;

namespace tk {

// Starts `programFile` with `arguments`; when that fails, tells the user to
// start it again by hand.
void startProgramAnew(QWidget *parent, const QString &programFile, const QStringList &arguments);

} // namespace tk
