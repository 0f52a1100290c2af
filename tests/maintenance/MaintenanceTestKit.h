#pragma once
// Shared by the maintenance tests: a seam that records what the user would
// have been shown, and small helpers that make and read database files with
// the engine directly.
#include "controls/UiSeam.h"

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

// A garage database file with `rows` stock rows of some weight each.
inline void makeDatabase(const QString &path, int rows)
{
    Db db(path);
    db.exec("CREATE TABLE Stok (SiraNo INTEGER PRIMARY KEY AUTOINCREMENT, StokAdi TEXT, Aciklama MEMO, Miktar REAL);"
            "CREATE TABLE StokHareket (SiraNo INTEGER REFERENCES Stok(SiraNo) ON DELETE CASCADE, Miktar REAL);");
    db.exec("BEGIN");
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db.handle(), "INSERT INTO Stok (StokAdi, Aciklama, Miktar) VALUES (?, ?, ?)", -1, &insert, nullptr);
    for (int i = 1; i <= rows; ++i) {
        const QByteArray name = QByteArray("PARÇA ") + QByteArray::number(i);
        const QByteArray memo(300, char('a' + i % 26));
        sqlite3_bind_text(insert, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, memo.constData(), int(memo.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 3, i * 1.5);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    db.exec("COMMIT");
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
