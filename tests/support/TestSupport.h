#pragma once
// Shared by the tests: a real Data.dat in a temporary folder, and a UiSeam
// that answers message boxes from a script and records what was shown.
#include "core/UiSeam.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>
#include <deque>
#include <memory>

class QWidget;

namespace tk::test {

class ServerBooks;

// Types `text` into `widget` key by key, as a keyboard would (any letters,
// Turkish ones included), so the boxes' typing rules apply.
void typeText(QWidget *widget, const QString &text);

// A temporary folder holding Data.dat (made from the schema, optionally with
// the sample records). The current folder is moved there for the test's life,
// as the program opens Data.dat by its relative name.
class TempDatabase {
public:
    enum Fill { Empty, Demo };
    explicit TempDatabase(Fill fill = Empty);
    ~TempDatabase();
    QString folder() const { return m_dir.path(); }
    QString path() const { return m_dir.filePath(QStringLiteral("Data.dat")); }
    // Runs a query on the file through a connection of its own.
    QVariantList column(const QString &sql) const;
    QVariant scalar(const QString &sql) const;
    void exec(const QString &sql) const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
    std::unique_ptr<ServerBooks> m_server; // the same books on a server (ServerBooks.h)
};

struct ShownMessage {
    QString kind; // "ask", "confirm", "inform", "warn", "error"
    QString caption;
    QString text;
};

class ScriptedUi : public UiSeam {
public:
    ScriptedUi() { install(this); }
    ~ScriptedUi() override { install(nullptr); }

    std::deque<Answer> answers; // for ask/confirm; default: No / Cancel
    QVector<ShownMessage> shown;
    QStringList restarts;
    QStringList restartArguments; // of the last restart
    QStringList openedUrls;
    std::deque<QString> files; // answers of the file choosers

    QStringList texts() const;
    QStringList texts(const QString &kind) const;

    Answer ask(QWidget *, const QString &caption, const QString &text, bool warning) override;
    Answer confirm(QWidget *, const QString &caption, const QString &text) override;
    void inform(QWidget *, const QString &caption, const QString &text) override;
    void warn(QWidget *, const QString &caption, const QString &text) override;
    void error(QWidget *, const QString &caption, const QString &text) override;
    bool restartProgram(const QString &program, const QStringList &args) override;
    bool openUrl(const QString &url) override;
    QString chooseSaveFile(QWidget *, const QString &, const QString &, const QString &) override;
    QString chooseOpenFile(QWidget *, const QString &, const QString &, const QString &) override;
    QString chooseFolder(QWidget *, const QString &, const QString &) override;

private:
    Answer next(Answer fallback);
    QString nextFile();
};

} // namespace tk::test
