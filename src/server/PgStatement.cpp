#include "PgStatement.h"

#include "ServerSchema.h"
#include "data/TurkishOrder.h"

#include <QRegularExpression>
#include <QSet>

namespace tk {

namespace {

// Calls f(position, depth) for every character outside quotes; depth counts
// the parentheses open around it.
template <typename F> void forEachUnquoted(const QString &sql, F f)
{
    QChar quote;
    int depth = 0;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            continue;
        }
        if (c == u')')
            --depth;
        f(i, depth);
        if (c == u'(')
            ++depth;
    }
}

// Names as the server knows them: a quoted table or column name loses its
// quotes (the server keeps unquoted names folded to lower case, the file
// compares them without regard to case), and the file's Turkish key of a
// column (replace(…) COLLATE NOCASE) becomes the column itself: the
// server's text columns sort in Turkish order.
QString withServerOrderKeys(QString sql)
{
    static const QRegularExpression quotedName(QStringLiteral("\"(\\w+)\""));
    static const QSet<QString> known = [] {
        QSet<QString> names;
        for (const ServerTable &t : serverTables()) {
            names.insert(t.name.toLower());
            names.insert(t.key.toLower());
            for (const ServerColumn &c : t.columns)
                names.insert(c.name.toLower());
        }
        return names;
    }();
    if (sql.contains(QLatin1Char('"'))) {
        QString out;
        qsizetype copied = 0;
        for (auto it = quotedName.globalMatch(sql); it.hasNext();) {
            const auto m = it.next();
            if (!known.contains(m.captured(1).toLower()))
                continue;
            out += sql.mid(copied, m.capturedStart(0) - copied) + m.captured(1);
            copied = m.capturedEnd(0);
        }
        sql = out + sql.mid(copied);
    }
    if (!sql.contains(QLatin1String("COLLATE NOCASE"), Qt::CaseInsensitive))
        return sql;
    for (const ServerTable &t : serverTables())
        for (const ServerColumn &c : t.columns)
            sql.replace(turkishKey(c.name), c.name, Qt::CaseInsensitive);
    return sql;
}

// LIKE as the file's: Turkish case folding on both sides, "%" and "_"
// wildcards, a backslash an ordinary character (the server's LIKE escapes
// with it unless told otherwise).
QString withFileLike(const QString &sql)
{
    static const QRegularExpression like(
        QStringLiteral("([\\w.]+)\\s+LIKE\\s+(\\?|:\\w+|'(?:[^']|'')*')(?!\\s*::)(?!\\s+ESCAPE)"),
        QRegularExpression::CaseInsensitiveOption);
    if (!sql.contains(QLatin1String("LIKE"), Qt::CaseInsensitive))
        return sql;
    QString out = sql;
    out.replace(like, QStringLiteral("lower(\\1 COLLATE %1) LIKE lower(\\2::text COLLATE %1) ESCAPE ''")
                          .arg(QLatin1String(serverTextCollation)));
    return out;
}

// Top-level comma-separated terms of an ORDER BY.
QStringList orderTerms(const QString &order)
{
    QStringList terms;
    qsizetype start = 0;
    forEachUnquoted(order, [&](qsizetype i, int depth) {
        if (order[i] == u',' && depth == 0) {
            terms << order.mid(start, i - start).trimmed();
            start = i + 1;
        }
    });
    terms << order.mid(start).trimmed();
    terms.removeAll(QString());
    return terms;
}

// SQLite puts empty values first when ascending, the server last: each term
// says where they go.
QString withFileNullOrder(const QString &order)
{
    static const QRegularExpression nulls(QStringLiteral("\\bNULLS\\s+(FIRST|LAST)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression desc(QStringLiteral("\\bDESC\\s*$"), QRegularExpression::CaseInsensitiveOption);
    QStringList terms = orderTerms(order);
    for (QString &t : terms)
        if (!nulls.match(t).hasMatch())
            t += desc.match(t).hasMatch() ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST");
    return terms.join(QStringLiteral(", "));
}

// Position of the last top-level "ORDER BY", or -1.
qsizetype orderByAt(const QString &sql)
{
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"), QRegularExpression::CaseInsensitiveOption);
    qsizetype found = -1;
    forEachUnquoted(sql, [&](qsizetype i, int depth) {
        if (depth == 0 && (sql[i] == u'o' || sql[i] == u'O')) {
            const auto m = orderBy.match(sql, i, QRegularExpression::NormalMatch,
                                         QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch())
                found = i;
        }
    });
    return found;
}

} // namespace

QString serverPlaceholders(const QString &sql, int first)
{
    QString out;
    out.reserve(sql.size() + 8);
    int n = first;
    qsizetype copied = 0;
    forEachUnquoted(sql, [&](qsizetype i, int) {
        if (i < copied)
            return; // inside a name already replaced
        const QChar c = sql[i];
        if (c == u'?') {
            out += sql.mid(copied, i - copied) + QLatin1Char('$') + QString::number(n++);
            copied = i + 1;
        } else if (c == u':' && i + 1 < sql.size() && (sql[i + 1].isLetter() || sql[i + 1] == u'_')
                   && (i == 0 || sql[i - 1] != u':')) {
            qsizetype end = i + 1;
            while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == u'_'))
                ++end;
            out += sql.mid(copied, i - copied) + QLatin1Char('$') + QString::number(n++);
            copied = end;
        }
    });
    out += sql.mid(copied);
    return out;
}

QString serverStatement(const QString &sql)
{
    QString out = serverPlaceholders(withFileLike(withServerOrderKeys(sql)));
    const qsizetype at = orderByAt(out);
    if (at < 0)
        return out;
    static const QRegularExpression orderBy(QStringLiteral("^ORDER\\s+BY\\s+"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression limit(QStringLiteral("\\s+(LIMIT|OFFSET)\\b.*$"),
                                          QRegularExpression::CaseInsensitiveOption
                                              | QRegularExpression::DotMatchesEverythingOption);
    QString order = out.mid(at);
    order.remove(orderBy);
    QString tail;
    if (const auto m = limit.match(order); m.hasMatch()) {
        tail = m.captured(0);
        order.truncate(m.capturedStart(0));
    }
    return out.left(at) + QStringLiteral("ORDER BY ") + withFileNullOrder(order) + tail;
}

StarSelect parseStarSelect(const QString &sql)
{
    static const QRegularExpression star(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(\\w+)\\s*(.*)$"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression orderBy(QStringLiteral("^ORDER\\s+BY\\s+"), QRegularExpression::CaseInsensitiveOption);
    const auto m = star.match(sql);
    if (!m.hasMatch())
        return {};
    const QString rest = serverPlaceholders(withFileLike(withServerOrderKeys(m.captured(2))));
    StarSelect s;
    s.table = m.captured(1);
    const qsizetype at = orderByAt(rest);
    s.where = (at < 0 ? rest : rest.left(at)).trimmed();
    if (at >= 0)
        s.order = withFileNullOrder(rest.mid(at).remove(orderBy));
    return s;
}

QString serverKeysStatement(const StarSelect &s, const ServerTable &table)
{
    // The key last: the server's own row order changes with every update.
    const QString order = s.order.isEmpty() ? table.key : s.order + QStringLiteral(", ") + table.key;
    return QStringLiteral("SELECT %1 FROM %2 %3 ORDER BY %4").arg(table.key, table.name, s.where, order);
}

} // namespace tk
