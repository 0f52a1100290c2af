#include "TestSupport.h"

#include "ServerBooks.h"
#include "data/Connection.h"
#include "data/Schema.h"
#include "initdb/DemoData.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <sqlite3.h>

namespace tk::test {

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const int key = c.isLetterOrNumber() ? c.toUpper().unicode() : c.unicode();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

TempDatabase::TempDatabase(Fill fill) : m_previous(QDir::currentPath())
{
    createDatabaseFile(path());
    if (fill == Demo)
        fillDemoData(path());
    if (testsOnServer())
        m_server = std::make_unique<ServerBooks>(path());
    QDir::setCurrent(m_dir.path());
}

TempDatabase::~TempDatabase() { QDir::setCurrent(m_previous); }

QVariantList TempDatabase::column(const QString &sql) const
{
    if (m_server)
        return m_server->column(sql);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    QVariantList out;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK) {
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            switch (sqlite3_column_type(stmt, 0)) {
            case SQLITE_NULL:
                out << QVariant();
                break;
            case SQLITE_INTEGER:
                out << QVariant(qlonglong(sqlite3_column_int64(stmt, 0)));
                break;
            case SQLITE_FLOAT:
                out << QVariant(sqlite3_column_double(stmt, 0));
                break;
            default:
                out << QVariant(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))));
            }
        }
    } else {
        qWarning("query failed: %s", sqlite3_errmsg(db));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

QVariant TempDatabase::scalar(const QString &sql) const
{
    const QVariantList rows = column(sql);
    return rows.isEmpty() ? QVariant() : rows.first();
}

void TempDatabase::exec(const QString &sql) const
{
    if (m_server) {
        m_server->exec(sql);
        return;
    }
    sqlite3 *db = nullptr;
    sqlite3_open(path().toUtf8().constData(), &db);
    char *message = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        qWarning("exec failed: %s", message);
        sqlite3_free(message);
    }
    sqlite3_close(db);
}

QStringList ScriptedUi::texts() const
{
    QStringList out;
    for (const ShownMessage &m : shown)
        out << m.text;
    return out;
}

QStringList ScriptedUi::texts(const QString &kind) const
{
    QStringList out;
    for (const ShownMessage &m : shown)
        if (m.kind == kind)
            out << m.text;
    return out;
}

UiSeam::Answer ScriptedUi::next(Answer fallback)
{
    if (answers.empty())
        return fallback;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

QString ScriptedUi::nextFile()
{
    if (files.empty())
        return {};
    const QString f = files.front();
    files.pop_front();
    return f;
}

UiSeam::Answer ScriptedUi::ask(QWidget *, const QString &caption, const QString &text, bool)
{
    shown.append({QStringLiteral("ask"), caption, text});
    return next(Answer::No);
}

UiSeam::Answer ScriptedUi::confirm(QWidget *, const QString &caption, const QString &text)
{
    shown.append({QStringLiteral("confirm"), caption, text});
    return next(Answer::Cancel);
}

void ScriptedUi::inform(QWidget *, const QString &caption, const QString &text)
{
    shown.append({QStringLiteral("inform"), caption, text});
}

void ScriptedUi::warn(QWidget *, const QString &caption, const QString &text)
{
    shown.append({QStringLiteral("warn"), caption, text});
}

void ScriptedUi::error(QWidget *, const QString &caption, const QString &text)
{
    shown.append({QStringLiteral("error"), caption, text});
}

bool ScriptedUi::restartProgram(const QString &program, const QStringList &args)
{
    restarts << program;
    restartArguments = args;
    return true;
}

bool ScriptedUi::openUrl(const QString &url)
{
    openedUrls << url;
    return true;
}

QString ScriptedUi::chooseSaveFile(QWidget *, const QString &, const QString &, const QString &) { return nextFile(); }
QString ScriptedUi::chooseOpenFile(QWidget *, const QString &, const QString &, const QString &) { return nextFile(); }
QString ScriptedUi::chooseFolder(QWidget *, const QString &, const QString &) { return nextFile(); }

} // namespace tk::test
