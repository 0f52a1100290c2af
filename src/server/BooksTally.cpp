#include "BooksTally.h"

#include "PgConnection.h"
#include "ServerSchema.h"
#include "data/Connection.h"

#include <QLocale>

#include <sqlite3.h>

#include <cmath>
#include <functional>

namespace tk {

namespace {

// count(*) and the sum of each amount column, one statement a table, the
// same words on both engines.
BooksTally tally(const std::function<QVector<double>(const QString &sql, int values)> &row)
{
    BooksTally out;
    for (const ServerTable &t : serverTables()) {
        TableTally tt;
        tt.table = t.name;
        QStringList terms{QStringLiteral("count(*)")};
        for (const ServerColumn &c : t.columns)
            if (c.field().kind == FieldKind::Real) {
                tt.amountColumns << c.name;
                terms << QStringLiteral("coalesce(sum(%1), 0)").arg(c.name);
            }
        const QVector<double> values =
            row(QStringLiteral("SELECT %1 FROM %2").arg(terms.join(QLatin1Char(',')), t.name), int(terms.size()));
        tt.rows = qint64(values.value(0));
        tt.sums = values.mid(1);
        out.tables << tt;
    }
    return out;
}

bool sameSum(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)}); }

QString amountText(double v) { return QLocale(QLocale::Turkish).toString(v, 'f', 2); }
QString countText(qint64 v) { return QLocale(QLocale::Turkish).toString(v); }

} // namespace

bool BooksTally::empty() const
{
    for (const TableTally &t : tables)
        if (t.rows != 0)
            return false;
    return true;
}

QStringList BooksTally::differences(const BooksTally &other) const
{
    QStringList out;
    for (int i = 0; i < tables.size(); ++i) {
        const TableTally &a = tables[i];
        const TableTally b = i < other.tables.size() ? other.tables[i] : TableTally{};
        bool same = a.table == b.table && a.rows == b.rows && a.sums.size() == b.sums.size();
        for (int s = 0; same && s < a.sums.size(); ++s)
            same = sameSum(a.sums[s], b.sums[s]);
        if (!same)
            out << a.table;
    }
    return out;
}

BooksTally tallyDataFile(const QString &path)
{
    Connection file(path);
    return tally([&](const QString &sql, int values) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray text = sql.toUtf8();
        file.check(sqlite3_prepare_v2(file.handle(), text.constData(), int(text.size()), &stmt, nullptr));
        QVector<double> out;
        const int rc = sqlite3_step(stmt);
        for (int i = 0; rc == SQLITE_ROW && i < values; ++i)
            out << sqlite3_column_double(stmt, i);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_ROW)
            file.check(rc);
        return out;
    });
}

BooksTally tallyServer(PgConnection &db)
{
    return tally([&](const QString &sql, int values) {
        const PgResult r = db.exec(sql);
        QVector<double> out;
        for (int i = 0; i < values; ++i)
            out << QByteArray(r.value(0, i)).toDouble();
        return out;
    });
}

QString tallyComparison(const BooksTally &from, const BooksTally &to, const QString &fromName, const QString &toName)
{
    QStringList lines{QStringLiteral("%1  kayıt (%2 / %3)  tutarlar (%2 / %3)")
                          .arg(QStringLiteral("Tablo").leftJustified(12), fromName, toName)};
    for (int i = 0; i < from.tables.size(); ++i) {
        const TableTally &a = from.tables[i];
        const TableTally b = i < to.tables.size() ? to.tables[i] : TableTally{};
        QString line = QStringLiteral("%1  %2 / %3").arg(a.table.leftJustified(12), countText(a.rows), countText(b.rows));
        for (int s = 0; s < a.sums.size(); ++s)
            line += QStringLiteral("  %1 %2 / %3")
                        .arg(a.amountColumns[s], amountText(a.sums[s]), amountText(b.sums.value(s)));
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace tk
