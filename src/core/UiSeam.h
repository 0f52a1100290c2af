#pragma once
// The one door through which the program talks to the user outside its
// windows: message boxes, restarting, opening a web address, choosing files.
// Production uses QMessageBox and friends (controls/UiSeam.cpp, the widget
// side); tests install their own answers. Every layer may include this.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace tk {

class UiSeam {
public:
    enum class Answer { Yes, No, Ok, Cancel };
    virtual ~UiSeam() = default;

    // Yes/No question; `warning` chooses the warning icon instead of the question icon.
    virtual Answer ask(QWidget *parent, const QString &caption, const QString &text, bool warning) = 0;
    // OK/Cancel confirmation (the grid's "Delete record?").
    virtual Answer confirm(QWidget *parent, const QString &caption, const QString &text) = 0;
    virtual void inform(QWidget *parent, const QString &caption, const QString &text) = 0;
    virtual void warn(QWidget *parent, const QString &caption, const QString &text) = 0;
    virtual void error(QWidget *parent, const QString &caption, const QString &text) = 0;

    // Starts a new instance of the program (the current one ends by itself afterwards).
    virtual bool restartProgram(const QString &program, const QStringList &args) = 0;
    virtual bool openUrl(const QString &url) = 0;
    // Empty result: the user cancelled.
    virtual QString chooseSaveFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual QString chooseOpenFile(QWidget *parent, const QString &caption, const QString &dir, const QString &filter) = 0;
    virtual QString chooseFolder(QWidget *parent, const QString &caption, const QString &dir) = 0;

    // The installed seam (production by default).
    static UiSeam &current();
    // Installs `seam` (not owned); nullptr brings back production.
    static void install(UiSeam *seam);
};

inline UiSeam &ui() { return UiSeam::current(); }

// True when none of `paths` exists or the user agrees to replace those that do.
bool mayReplaceFiles(QWidget *parent, const QString &caption, const QStringList &paths);

// The save dialog with `extension` (without the dot) added to a name chosen
// without it. The dialog asked about replacing the name as typed; a file
// already under the completed name is replaced only when the user says so.
// Empty result: the user cancelled.
QString chooseSaveFileWithExtension(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter, const QString &extension);

// Runs `work` and shows any exception that escapes it in one error box:
// the single place where a handler's errors end up.
void guarded(QWidget *parent, const std::function<void()> &work);

} // namespace tk
