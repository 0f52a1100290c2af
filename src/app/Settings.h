#pragma once
// S-Veri.ini: the page totals and the settings carried from one run to the next.
#include <QString>

class QWidget;

namespace tk {

class TAyarFrm;

// The settings file in the program's folder (see ProgramFolder for where that is).
QString settingsFileName(const QString &programFolder);

// For each key in order: read with the control's current content as the
// default, and put the result into the control.
void loadSettings(const QString &path, QWidget *mainWindow, TAyarFrm *dialog);
// For each key in order: write the control's content; the file is read once
// and written once. Throws tk::Error "Unable to write to <path>" when refused.
void saveSettings(const QString &path, QWidget *mainWindow, TAyarFrm *dialog);

} // namespace tk
