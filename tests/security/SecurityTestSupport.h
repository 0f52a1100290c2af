#pragma once
// Shared by the password tests: a message-box seam that records what was
// shown and answers questions from a list, and a driver for modal dialogs.
#include "core/UiSeam.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <deque>
#include <functional>

namespace sectest {

class RecordingSeam : public tk::UiSeam {
public:
    struct Shown {
        QString kind;
        QString text;
    };
    QList<Shown> shown;
    std::deque<Answer> answers; // for ask(); Yes when empty

    RecordingSeam() { install(this); }
    ~RecordingSeam() override { install(nullptr); }

    QStringList texts() const
    {
        QStringList out;
        for (const Shown &s : shown)
            out << s.text;
        return out;
    }

    Answer ask(QWidget *, const QString &, const QString &text, bool) override
    {
        shown.append({QStringLiteral("ask"), text});
        if (answers.empty())
            return Answer::Yes;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    Answer confirm(QWidget *, const QString &, const QString &text) override
    {
        shown.append({QStringLiteral("confirm"), text});
        return Answer::Ok;
    }
    void inform(QWidget *, const QString &, const QString &text) override { shown.append({QStringLiteral("inform"), text}); }
    void warn(QWidget *, const QString &, const QString &text) override { shown.append({QStringLiteral("warn"), text}); }
    void error(QWidget *, const QString &, const QString &text) override { shown.append({QStringLiteral("error"), text}); }
    bool restartProgram(const QString &, const QStringList &) override { return false; }
    bool openUrl(const QString &) override { return false; }
    QString chooseSaveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(QWidget *, const QString &, const QString &) override { return {}; }
};

// Counts the modal dialogs of type T that were shown and runs `step` on
// each while it is on screen. A dialog the step leaves open is cancelled,
// so a faulty test fails instead of hanging.
template <class T>
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(T *)> step) : m_step(std::move(step))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start(5);
    }
    int seen() const { return m_seen; }
    void stop() { m_timer.stop(); }

private:
    void poll()
    {
        // Only a dialog on screen is modal, so every hit is a new showing,
        // the same reused dialog included.
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ++m_seen;
        m_step(dialog);
        if (dialog->isVisible())
            dialog->reject();
    }

    std::function<void(T *)> m_step;
    QTimer m_timer;
    int m_seen = 0;
};

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

} // namespace sectest
