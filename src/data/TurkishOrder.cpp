#include "TurkishOrder.h"

namespace tk {

namespace {

// Letters after which a Turkish letter sorts get a '~', which sorts after
// every letter: "C~" falls between "CZ…" and "D". Turkish letters fold to
// upper case by Turkish rules, the other ASCII letters by the built-in NOCASE
// comparison (a nesting of 45 replace() calls would overflow the engine's
// parser); the circumflexed vowels sort with their plain ones.
struct Fold {
    const char16_t *from;
    const char *to;
};
const Fold turkishFolds[] = {
    {u"Ç", "C~"}, {u"ç", "C~"}, {u"Ğ", "G~"}, {u"ğ", "G~"}, {u"İ", "I~"}, {u"i", "I~"},
    {u"ı", "I"},  {u"Ö", "O~"}, {u"ö", "O~"}, {u"Ş", "S~"}, {u"ş", "S~"}, {u"Ü", "U~"},
    {u"ü", "U~"}, {u"Â", "A"},  {u"â", "A"},  {u"Î", "I~"}, {u"î", "I~"}, {u"Û", "U"},
    {u"û", "U"},
    {u"\u212A", "K"}, // the Kelvin sign lowers to k, so LIKE 'k%' finds it
};

QString quoted(const QString &text) { return QLatin1Char('\'') + text + QLatin1Char('\''); }

// Characters the key folds exactly as the Turkish LIKE compares them.
bool keyAnswersExactly(QChar c)
{
    if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
        return true;
    for (const Fold &f : turkishFolds)
        if (c == QChar(f.from[0]))
            return true;
    return false;
}

} // namespace

QString turkishFold(const QString &operand)
{
    QString sql = operand;
    for (const Fold &f : turkishFolds)
        sql = QStringLiteral("replace(%1,%2,%3)")
                  .arg(sql, quoted(QString::fromUtf16(f.from)), quoted(QString::fromLatin1(f.to)));
    return sql;
}

QString turkishKey(const QString &operand) { return turkishFold(operand) + QStringLiteral(" COLLATE NOCASE"); }

const QVector<KeyedColumn> &keyedColumns()
{
    // The company list's order and every search box's columns. A column
    // added here gets its index from a new schema step.
    static const QVector<KeyedColumn> columns = {
        {"MusTakip", "AracPlaka", 2}, {"MusTakip", "AracCinsi", 2}, {"MusTakip", "MusteriKodu", 2},
        {"HasTakip", "Plaka", 2},     {"HasTakip", "AracTipi", 2},  {"HasTakip", "DosyaNo", 2},
        {"FatTakip", "Aylar", 2},     {"Cari", "Firma", 2},         {"IrsaliyeUst", "Aylar", 2},
        {"Kasa", "Aylar", 2},         {"Odeme", "Aylar", 2},        {"Stok", "StokKodu", 2},
        {"Stok", "StokAdi", 2},       {"Maas", "Aylar", 2},
    };
    return columns;
}

QString keyIndexName(const KeyedColumn &c)
{
    return QStringLiteral("%1_%2_Sira").arg(QLatin1String(c.table), QLatin1String(c.column));
}

QStringList createKeyIndexStatements(int version)
{
    QStringList statements;
    for (const KeyedColumn &c : keyedColumns())
        if (version == 0 || c.sinceVersion == version)
            statements << QStringLiteral("CREATE INDEX %1 ON %2(%3)")
                              .arg(keyIndexName(c), QLatin1String(c.table), turkishKey(QLatin1String(c.column)));
    return statements;
}

QString indexablePrefix(const QString &typed)
{
    qsizetype n = 0;
    while (n < typed.size() && typed[n] != u'%' && typed[n] != u'_' && keyAnswersExactly(typed[n]))
        ++n;
    return typed.left(n);
}

Condition beginsWith(const QString &column, const QString &typed)
{
    // Nothing typed: LIKE '%' holds for every value there is, so no text is
    // compared row by row (an emptied search brings every row back).
    if (typed.isEmpty())
        return {QStringLiteral("%1 IS NOT NULL").arg(column), {}};
    const QString pattern = typed + QLatin1Char('%');
    const QString prefix = indexablePrefix(typed);
    if (prefix.isEmpty())
        return {QStringLiteral("%1 LIKE ?").arg(column), {pattern}};
    // Every key that begins with the prefix's key sorts below it followed by
    // the highest character there is. Plain "?" marks: every driver binds them.
    return {QStringLiteral("%1 >= %2 AND %1 < %2 || char(1114111) AND %3 LIKE ?")
                .arg(turkishKey(column), turkishFold(QStringLiteral("?")), column),
            {prefix, prefix, pattern}};
}

} // namespace tk
