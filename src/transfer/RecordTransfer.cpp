#include "RecordTransfer.h"

#include "ValueConversion.h"
#include "core/Error.h"

namespace tk {

namespace {

int indexIgnoringCase(const QStringList &names, const QString &name)
{
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QStringList namesOf(const QVector<SourceTable> &tables)
{
    QStringList names;
    for (const SourceTable &t : tables)
        names << t.name;
    return names;
}

QStringList namesOf(const QVector<FieldDef> &columns)
{
    QStringList names;
    for (const FieldDef &c : columns)
        names << c.name;
    return names;
}

QString qualified(const QString &table, const QString &column) { return table + QLatin1Char('.') + column; }

// The columns both sides have, as index pairs; the others go to the report.
struct ColumnMatch {
    QVector<int> target;
    QVector<int> source;
};

ColumnMatch matchColumns(const TargetTable &to, const SourceTable &from, TransferReport &report)
{
    ColumnMatch match;
    const QStringList targetNames = namesOf(to.columns);
    for (int t = 0; t < targetNames.size(); ++t) {
        const int s = indexIgnoringCase(from.columns, targetNames.at(t));
        if (s < 0) {
            report.missingColumns << qualified(to.name, targetNames.at(t));
            continue;
        }
        match.target << t;
        match.source << s;
    }
    for (const QString &column : from.columns)
        if (indexIgnoringCase(targetNames, column) < 0)
            report.extraColumns << qualified(from.name, column);
    return match;
}

} // namespace

TransferReport transferRecords(RecordSource &source, RecordTarget &target, const TransferProgress &progress)
{
    TransferReport report;
    const QVector<SourceTable> sourceTables = source.tables();
    const QVector<TargetTable> targetTables = target.tables();
    const QStringList sourceNames = namesOf(sourceTables);

    qint64 total = 0;
    bool anyKnown = false;
    for (const TargetTable &t : targetTables) {
        const int s = indexIgnoringCase(sourceNames, t.name);
        if (s >= 0)
            total += qMax<qint64>(0, sourceTables.at(s).rowCount);
        anyKnown = anyKnown || s >= 0;
    }
    // Books without a single table of the program are someone else's file.
    if (!anyKnown)
        throw Error(QStringLiteral("Dosyada bu programın tablolarından hiçbiri yok (bulunanlar: %1).")
                        .arg(sourceNames.isEmpty() ? QStringLiteral("hiçbiri") : sourceNames.join(QStringLiteral(", "))));
    qint64 done = 0;

    target.begin();
    try {
        for (const TargetTable &to : targetTables) {
            const int s = indexIgnoringCase(sourceNames, to.name);
            if (s < 0) {
                report.missingTables << to.name;
                report.transferred << TableCount{to.name, 0};
                continue;
            }
            const SourceTable &from = sourceTables.at(s);
            const ColumnMatch match = matchColumns(to, from, report);
            qint64 rows = 0;
            QVector<qint64> keptAsIs(match.target.size(), 0);
            if (progress)
                progress(to.name, done, total);
            if (!match.target.isEmpty()) {
                target.startTable(to, match.target);
                QVariantList stored;
                source.readRows(from, match.source, [&](const QVariantList &values) {
                    stored.clear();
                    for (int i = 0; i < values.size(); ++i) {
                        const ConvertedValue v = convertForColumn(to.columns.at(match.target.at(i)).kind, values.at(i));
                        if (v.keptAsIs)
                            ++keptAsIs[i];
                        stored << v.value;
                    }
                    target.insert(stored);
                    ++rows;
                    ++done;
                    if (progress && (done & 0x3ff) == 0)
                        progress(to.name, done, total);
                });
            }
            report.transferred << TableCount{to.name, rows};
            for (int i = 0; i < keptAsIs.size(); ++i)
                if (keptAsIs.at(i) > 0)
                    report.keptAsIs << TableCount{qualified(to.name, to.columns.at(match.target.at(i)).name),
                                                  keptAsIs.at(i)};
        }
        QStringList targetNames;
        for (const TargetTable &to : targetTables)
            targetNames << to.name;
        for (const QString &name : sourceNames)
            if (indexIgnoringCase(targetNames, name) < 0)
                report.extraTables << name;
        report.withoutMaster = target.rowsWithoutMaster();
        target.commit();
    } catch (...) {
        target.rollback();
        throw;
    }
    if (progress)
        progress(QString(), total, total);
    return report;
}

} // namespace tk
