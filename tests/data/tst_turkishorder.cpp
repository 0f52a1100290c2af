// Turkish order and searches through the order key: the alphabet, the key
// agreeing with the Turkish LIKE on every character, searches finding exactly
// what LIKE finds, and the statements answered by their indexes.
#include "data/Connection.h"
#include "app/PageTable.h"
#include "data/DataModule.h"
#include "data/SearchBoxes.h"
#include "data/SqliteStore.h"
#include "data/TurkishOrder.h"
#include "support/TestSupport.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSet>
#include <QtTest>

#include <sqlite3.h>

using namespace tk;
using tk::test::TempDatabase;

namespace {

// The cells of `field` in every row of `sql`, as text, through the program's connection.
QStringList column(Connection &c, const QString &sql, const QVariantList &params = {}, int field = 0)
{
    QSqlQuery q(c.database());
    q.prepare(sql);
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    if (!q.exec())
        qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    QStringList out;
    while (q.next())
        out << q.value(field).toString();
    return out;
}

QString plan(Connection &c, const QString &sql, const QVariantList &params)
{
    return column(c, QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params, 3).join(QStringLiteral("; "));
}

// NOCASE equality: ASCII letters folded, nothing else.
QString asciiUpper(QString s)
{
    for (QChar &c : s)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return s;
}

} // namespace

class TurkishOrderTest : public QObject {
    Q_OBJECT
private slots:
    void namesSortInTheTurkishAlphabet()
    {
        TempDatabase db;
        Connection c(db.path());
        const QStringList expected = {"ağa",   "AĞAÇ",  "AHMET", "cem",   "CEMİL", "CZ",    "ÇAĞLA", "çınar",
                                      "ÇZ",    "GÖK",   "ĞA",    "HAN",   "ILGAZ", "ılık",  "IZ",    "inci",
                                      "İPEK",  "İZ",    "JALE",  "kâr",   "KEMAL", "OSMAN", "oz",    "ÖMER",
                                      "özgür", "SELİM", "SZ",    "ŞAHİN", "şule",  "UĞUR",  "uz",    "ÜMİT",
                                      "ünal",  "VEDAT", "ZEYNEP"};
        QStringList shuffled = expected;
        std::reverse(shuffled.begin(), shuffled.end());
        std::rotate(shuffled.begin(), shuffled.begin() + 11, shuffled.end());
        c.exec(QStringLiteral("CREATE TEMP TABLE Ad (Firma TEXT)"));
        for (const QString &name : shuffled)
            c.exec(QStringLiteral("INSERT INTO Ad VALUES (?)"), {name});
        QCOMPARE(column(c, "SELECT Firma FROM Ad ORDER BY " + turkishKey("Firma")), expected);
    }

    void keyFoldsAsTheTurkishLikeCompares()
    {
        // For every character the search hands to the index, every character
        // LIKE takes for it has the same key: the key range never loses a row.
        TempDatabase db;
        Connection c(db.path());
        const QStringList folded = column(c, "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n "
                                             "WHERE x < 65535) SELECT " + turkishFold("char(x)")
                                                 + " FROM n WHERE x NOT BETWEEN 55296 AND 57343");
        QCOMPARE(folded.size(), 65535 - 2048);
        QHash<QString, QSet<QString>> keysOfLowerCase;
        int i = 0;
        for (uint x = 1; x <= 65535; ++x) {
            if (x >= 0xD800 && x <= 0xDFFF)
                continue;
            const QString ch = QChar(char16_t(x));
            keysOfLowerCase[turkishLower(ch)].insert(asciiUpper(folded[i++]));
        }
        int answered = 0;
        for (uint x = 1; x <= 65535; ++x) {
            const QString ch = QChar(char16_t(x));
            if ((x >= 0xD800 && x <= 0xDFFF) || indexablePrefix(ch) != ch)
                continue;
            ++answered;
            QVERIFY2(keysOfLowerCase.value(turkishLower(ch)).size() == 1,
                     qPrintable(QStringLiteral("U+%1").arg(x, 4, 16, QLatin1Char('0'))));
        }
        QVERIFY(answered > 100);
        QCOMPARE(indexablePrefix(QStringLiteral("ÇAĞ%RI")), QStringLiteral("ÇAĞ"));
        QCOMPARE(indexablePrefix(QStringLiteral("AB_C")), QStringLiteral("AB"));
        QCOMPARE(indexablePrefix(QStringLiteral("KÅRE")), QStringLiteral("K"));
    }

    void searchesFindWhatTurkishLikeFinds()
    {
        TempDatabase db;
        Connection c(db.path());
        const QStringList names = {"ÇAĞRI OTO", "çağrı ltd",  "CAGRI",   "İSMAİL",    "ismail", "ISIK",
                                   "ışık",      "A_B TİC.",   "AXB",     "ÉCOLE",     "école",  "KÂR",
                                   "kar",       "\u212AELVIN", "50% İND", "C~ ÖZEL",   "",       "Z"};
        for (const QString &n : names)
            c.exec(QStringLiteral("INSERT INTO Cari (Firma) VALUES (?)"), {n});
        c.exec(QStringLiteral("INSERT INTO Cari (Firma) VALUES (NULL)"));
        const QStringList typed = {"",   "Ç",  "ç",   "ÇAĞ", "C",  "I",  "ı", "i", "İS", "ISI", "A_",
                                   "A%", "É",  "é",   "K",   "KÂ", "ka", "5", "50%", "C~", "%Z", "Ü"};
        for (const QString &t : typed) {
            SearchStatement search = searchStatement(SqliteStore(c), QStringLiteral("Cari"), QStringLiteral("Firma"), t);
            QStringList got = column(c, search.sql.replace("SELECT *", "SELECT Firma"), search.params);
            QStringList want = column(c, QStringLiteral("SELECT Firma FROM Cari WHERE Firma LIKE ?"), {t + '%'});
            got.sort();
            want.sort();
            QVERIFY2(got == want, qPrintable(t + ": " + got.join(',') + " / " + want.join(',')));
        }
    }

    void statementsAreAnsweredByIndexes()
    {
        TempDatabase db;
        DataModule data(db.path(), datasetDefs());
        Connection &c = *data.connection();
        for (const SearchDef &def : searchDefs()) {
            for (const auto &entry : def.entries) {
                const SearchStatement s = searchStatement(*data.store(), QLatin1String(def.dataset), QLatin1String(entry.second),
                                                          QStringLiteral("Ş"));
                const QString p = plan(c, s.sql, s.params);
                QVERIFY2(p.contains("USING INDEX") && p.contains("_Sira"), qPrintable(entry.second + (": " + p)));
            }
        }
        for (const DatasetDef &def : datasetDefs()) {
            if (!def.sql.contains(QLatin1String("Order By")))
                continue;
            const QString p = plan(c, def.sql, {});
            QVERIFY2(p.contains("USING INDEX") && !p.contains("TEMP B-TREE"), qPrintable(def.sql.left(40) + p));
        }
    }
};

QTEST_MAIN(TurkishOrderTest)
#include "tst_turkishorder.moc"
