#pragma once
// The program's own command-line options. Everything else on the line is
// left to the toolkit (-platform, -style, ...).
#include <QString>
#include <QStringList>

namespace tk {

struct CommandLine {
    enum class Action { Run, Help, Version, Wrong };
    Action action = Action::Run;
    QString folder;            // --folder DIR
    QString problem;           // what is wrong, for Action::Wrong
    QStringList ownArguments;  // our options as given, to start the program anew with them
};

// `args` includes the program name first, as argv does.
CommandLine parseCommandLine(const QStringList &args);

QString helpText();
QString versionText();

} // namespace tk
