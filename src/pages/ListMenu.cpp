#include "ListMenu.h"

#include "core/UiSeam.h"
#include "data/DatasetModel.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QProgressDialog>
#include <memory>

namespace tk {

namespace {

// Lists shorter than this are written without a progress window.
constexpr int kRowsWorthAProgressWindow = 2000;

using Writer = bool (*)(const Dataset &, const QVector<reports::ListColumn> &, const QString &,
                        const reports::RowProgress &);

struct ExportKind {
    const char *action;
    const char *caption;
    const char *filter;
    const char *suffix;
    Writer write;
};

const ExportKind exportKinds[] = {
    {"ListCsvExport", "CSV olarak kaydet...", "CSV dosyası (*.csv)", ".csv", &reports::exportListCsv},
    {"ListXlsxExport", "Excel dosyası olarak kaydet...", "Excel dosyası (*.xlsx)", ".xlsx", &reports::exportListXlsx},
};

void exportList(TSrDBGrid *grid, const ExportKind &kind)
{
    const auto *model = qobject_cast<const DatasetModel *>(grid->model());
    if (!model || !model->dataset())
        return;
    const Dataset &dataset = *model->dataset();
    const QString caption = QString::fromUtf8(kind.caption).remove(QStringLiteral("..."));
    const QString path = chooseSaveFileWithExtension(
        grid, caption, QDir::homePath() + QLatin1Char('/') + dataset.name() + QString::fromLatin1(kind.suffix),
        QString::fromUtf8(kind.filter), QString::fromLatin1(kind.suffix + 1));
    if (path.isEmpty())
        return;

    const int rows = dataset.rowCount();
    std::unique_ptr<QProgressDialog> window;
    if (rows >= kRowsWorthAProgressWindow) {
        window = std::make_unique<QProgressDialog>(QStringLiteral("Liste kaydediliyor..."), QStringLiteral("Vazgeç"),
                                                   0, rows, grid);
        window->setObjectName(QStringLiteral("ListExportProgress"));
        window->setWindowTitle(caption);
        window->setWindowModality(Qt::WindowModal);
        window->setMinimumDuration(0);
        window->setAutoClose(false);
        window->setAutoReset(false);
        window->show();
    }
    QProgressDialog *shown = window.get();
    kind.write(dataset, shownColumns(grid), path, [shown](int written) {
        if (!shown)
            return true;
        shown->setValue(written);
        return !shown->wasCanceled();
    });
}

} // namespace

QVector<reports::ListColumn> shownColumns(const TSrDBGrid *grid)
{
    QVector<reports::ListColumn> columns;
    const auto *model = qobject_cast<const DatasetModel *>(grid->model());
    if (!model)
        return columns;
    const QHeaderView *header = grid->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || logical >= model->columns().size() || grid->isColumnHidden(logical))
            continue;
        columns.append({model->columns()[logical].field, model->columns()[logical].title});
    }
    return columns;
}

void attachListMenu(TSrDBGrid *grid)
{
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const ExportKind &kind : exportKinds) {
        auto *action = new QAction(QString::fromUtf8(kind.caption), grid);
        action->setObjectName(QString::fromLatin1(kind.action));
        QObject::connect(action, &QAction::triggered, grid,
                         [grid, &kind] { guarded(grid, [&] { exportList(grid, kind); }); });
        grid->addAction(action);
    }
}

} // namespace tk
