#include "GridTable.h"

#include "DatasetCursor.h"
#include "DatasetModel.h"
#include "ListOrder.h"
#include "RecordKeys.h"
#include "core/UiSeam.h"

#include <QHeaderView>
#include <memory>

namespace tk {

namespace {
constexpr int kMinimumColumnWidth = 64;
} // namespace

void applyMainWindowAppearance(TSrDBGrid *grid)
{
    grid->setColor(QColor(244, 242, 242));
    grid->setColorAlternative(Qt::white);
    grid->setColorSelect(QColor(214, 223, 247));
    grid->setColorSelectText(Qt::black);
    grid->setMoveByRows(1);
    grid->setTitleColor(QColor(192, 192, 192));
    QFont title(QStringLiteral("MS Sans Serif"));
    title.setPixelSize(11);
    grid->setTitleFont(title);
}

TSrDBGrid *createGrid(const GridDef &def, DataModule &data, QWidget *parent)
{
    const QString gridName = QString::fromLatin1(def.grid);
    Dataset *dataset = data.dataset(QString::fromLatin1(def.dataset));

    QVector<GridColumn> columns;
    for (const GridColumnDef &c : def.columns) {
        const QString field = QString::fromLatin1(c.field);
        columns.append({field, c.title ? QString::fromUtf8(c.title) : field, c.width});
    }

    auto *grid = new TSrDBGrid(parent);
    grid->setObjectName(gridName);
    grid->setAccessibleName(QString::fromUtf8(def.what));
    setRecordPart(grid, dataset->name());
    applyMainWindowAppearance(grid);
    auto *model = new DatasetModel(dataset, columns, grid);
    auto *cursor = new DatasetCursor(dataset, grid);
    grid->setSource(model, cursor);

    const QFontMetrics titleMetrics(grid->titleFont());
    for (int i = 0; i < columns.size(); ++i) {
        const GridColumnDef &c = def.columns[i];
        if (c.font) {
            QFont f = grid->font();
            f.setFamily(QString::fromLatin1(c.font));
            grid->setColumnFont(i, f);
        }
        int width = c.width > 0 ? c.width
                                : std::max(kMinimumColumnWidth,
                                           titleMetrics.horizontalAdvance(columns[i].title) + 12);
        // A date column without a width of its own still shows a whole date.
        if (c.width == 0 && dataset->fieldKind(columns[i].field) == FieldKind::Date)
            width = std::max(width, grid->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 12);
        grid->setColumnWidth(i, width);
        grid->setColumnHidden(i, c.hidden);
    }

    attachHeaderSort(grid, dataset);

    // A new record that holds no entry yet goes when the user leaves the list.
    QObject::connect(grid, &TSrDBGrid::exited, dataset, [grid, dataset] {
        guarded(grid, [dataset] {
            if (dataset->state() == Dataset::State::Insert && !dataset->isModified())
                dataset->cancel();
        });
    });
    return grid;
}

void attachHeaderSort(TSrDBGrid *grid, Dataset *dataset)
{
    QHeaderView *header = grid->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    auto state = std::make_shared<HeaderSort>();
    const auto show = [header, state] {
        header->setSortIndicatorShown(state->column >= 0);
        if (state->column >= 0)
            header->setSortIndicator(state->column, state->order);
    };
    QObject::connect(header, &QHeaderView::sectionClicked, grid, [grid, dataset, state, show](int column) {
        guarded(grid, [&] {
            const auto *model = qobject_cast<const DatasetModel *>(grid->model());
            if (!model || column < 0 || column >= model->columns().size())
                return;
            const QString field = model->columns()[column].field;
            const HeaderSort next = nextHeaderSort(*state, column);
            // The header flips its own arrow on a click; ours is the one shown.
            show();
            dataset->setSortOrder(headerSortTerm(field, dataset->fieldKind(field), next.order));
            *state = next;
            show();
        });
    });
    QObject::connect(dataset, &Dataset::sortOrderChanged, grid, [state, show](const QString &term) {
        if (term.isEmpty()) {
            *state = HeaderSort{};
            show();
        }
    });
}

} // namespace tk
