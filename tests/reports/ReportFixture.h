#pragma once
// A fresh SQLite file in a temporary folder with a small stock table, and
// the test templates that sit beside the report tests.
#include "data/Connection.h"
#include "data/Dataset.h"
#include "reports/engine/TemplateLoader.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <memory>
#include <sqlite3.h>

namespace tk::test {

inline reports::Template testTemplate(const QString &name)
{
    return reports::loadTemplate(QStringLiteral(TK_SOURCE_DIR "/tests/reports/templates/%1.json").arg(name));
}

class StockDb {
public:
    StockDb()
    {
        m_path = m_dir.filePath(QStringLiteral("Data.dat"));
        sqlite3 *raw = nullptr;
        sqlite3_open(m_path.toUtf8().constData(), &raw);
        sqlite3_close(raw);
        connection = std::make_unique<Connection>(m_path);
        connection->exec(QStringLiteral("CREATE TABLE Stok (StokKodu TEXT, StokAdi TEXT, Adet INTEGER, Raf TEXT, "
                                        "Alis REAL, Satis REAL, Tarih DATE)"));
        stok = std::make_unique<Dataset>(connection.get(), QStringLiteral("Stok"), QStringLiteral("Stok"),
                                         QStringLiteral("SELECT * FROM Stok"));
    }
    QString folder() const { return m_dir.path(); }
    QString path() const { return m_path; }
    // Rows STK00001… with Alis = 1000 + i + 0,5 and Satis = Alis × 1,2.
    void addRows(int count, int from = 1)
    {
        connection->exec(QStringLiteral("BEGIN"));
        for (int i = from; i < from + count; ++i)
            connection->exec(QStringLiteral("INSERT INTO Stok VALUES (?, ?, ?, ?, ?, ?, ?)"),
                             {QStringLiteral("STK%1").arg(i, 5, 10, QLatin1Char('0')),
                              QStringLiteral("Parça numarası %1 ön fren balatası").arg(i), i % 50,
                              QStringLiteral("R-%1").arg(i % 12), 1000 + i + 0.5, (1000 + i + 0.5) * 1.2,
                              QStringLiteral("2024-01-05")});
        connection->exec(QStringLiteral("COMMIT"));
        if (stok->isOpen())
            stok->refresh();
        else
            stok->open();
    }
    QVariant scalar(const QString &sql)
    {
        QSqlQuery q(connection->database());
        q.exec(sql);
        return q.next() ? q.value(0) : QVariant();
    }

    std::unique_ptr<Connection> connection;
    std::unique_ptr<Dataset> stok;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

} // namespace tk::test
