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

// `args` includes the program name first, as argv does. Before the toolkit
// has started, arguments that are not ours are left to it; once it has taken
// its own out of the line (`toolkitDone`), any that is left is wrong: a
// misspelt --folder or a folder named without it must not open other books.
CommandLine parseCommandLine(const QStringList &args, bool toolkitDone = false);

QString helpText();
QString versionText();

} // namespace tk
