#pragma once
// Shared by the maintenance tests: a seam that records what the user would
// have been shown, and small helpers that make and read database files with
// the engine directly.
#include "core/UiSeam.h"
#include "data/Schema.h"
#include "initdb/DemoData.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QVector>

#include <sqlite3.h>

namespace tk::testing {

class RecordingSeam final : public UiSeam {
public:
    struct Box {
        QString kind;
        QString caption;
        QString text;
    };
    QVector<Box> boxes;
    QVector<QStringList> restarts; // program followed by its arguments
    bool restartSucceeds = true;

    RecordingSeam() { UiSeam::install(this); }
    ~RecordingSeam() override { UiSeam::install(nullptr); }

    QStringList texts(const QString &kind) const
    {
        QStringList found;
        for (const Box &box : boxes)
            if (box.kind == kind)
                found << box.text;
        return found;
    }

    Answer ask(QWidget *, const QString &caption, const QString &text, bool) override
    {
        boxes.push_back({QStringLiteral("ask"), caption, text});
        return Answer::No;
    }
    Answer confirm(QWidget *, const QString &caption, const QString &text) override
    {
        boxes.push_back({QStringLiteral("confirm"), caption, text});
        return Answer::Cancel;
    }
    void inform(QWidget *, const QString &caption, const QString &text) override
    {
        boxes.push_back({QStringLiteral("inform"), caption, text});
    }
    void warn(QWidget *, const QString &caption, const QString &text) override
    {
        boxes.push_back({QStringLiteral("warn"), caption, text});
    }
    void error(QWidget *, const QString &caption, const QString &text) override
    {
        boxes.push_back({QStringLiteral("error"), caption, text});
    }
    bool restartProgram(const QString &program, const QStringList &args) override
    {
        restarts.push_back(QStringList{program} + args);
        return restartSucceeds;
    }
    bool openUrl(const QString &) override { return false; }
    QString chooseSaveFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseOpenFile(QWidget *, const QString &, const QString &, const QString &) override { return {}; }
    QString chooseFolder(QWidget *, const QString &, const QString &) override { return {}; }
};

// An open engine connection that closes itself.
class Db {
public:
    explicit Db(const QString &path, int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, flags, nullptr) != SQLITE_OK)
            qFatal("cannot open %s: %s", qPrintable(path), sqlite3_errmsg(m_db));
        sqlite3_busy_timeout(m_db, 10000);
    }
    ~Db() { sqlite3_close_v2(m_db); }
    Db(const Db &) = delete;
    Db &operator=(const Db &) = delete;

    sqlite3 *handle() const { return m_db; }

    void exec(const char *sql)
    {
        char *message = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            const QString text = QString::fromUtf8(message);
            sqlite3_free(message);
            qFatal("%s: %s", sql, qPrintable(text));
        }
    }

    // The first column of the first row, as text ("" when there is none).
    QString value(const char *sql)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            qFatal("%s: %s", sql, sqlite3_errmsg(m_db));
        QString result;
        if (sqlite3_step(statement) == SQLITE_ROW) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
            result = QString::fromUtf8(text ? text : "");
        }
        sqlite3_finalize(statement);
        return result;
    }
    qint64 count(const char *table)
    {
        return value(QByteArray("SELECT count(*) FROM ").append(table).constData()).toLongLong();
    }

private:
    sqlite3 *m_db = nullptr;
};

// A real Data.dat: the program's tables with `rows` rows in every master and
// single table and two or three detail rows under every master row.
inline void makeDatabase(const QString &path, int rows)
{
    tk::createDatabaseFile(path);
    tk::fillRows(path, rows);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

} // namespace tk::testing
