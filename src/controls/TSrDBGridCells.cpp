#include "TSrDBGridCells.h"

#include "TSrDBGrid.h"

#include <QPainter>

namespace tk {

CellColors gridCellColors(int recNo, bool selected, const QColor &color, const QColor &colorAlternative,
                          const QColor &colorSelect, const QColor &colorSelectText, const QColor &textColor)
{
    if (selected)
        return {colorSelect, colorSelectText};
    return {recNo % 2 == 0 ? colorAlternative : color, textColor};
}

TSrDBGridDelegate::TSrDBGridDelegate(TSrDBGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void TSrDBGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const CellColors colors = m_grid->cellColors(index.row());
    painter->save();
    painter->fillRect(option.rect, colors.background);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const QVariant align = index.data(Qt::TextAlignmentRole);
        const Qt::Alignment alignment = align.isValid() ? Qt::Alignment(align.toInt())
                                                        : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter);
        painter->setClipRect(option.rect);
        painter->setFont(m_grid->columnFont(index.column()));
        painter->setPen(colors.text);
        painter->drawText(option.rect.adjusted(2, 0, -2, 0), int(alignment) | Qt::TextSingleLine, text);
    }
    painter->restore();
}

} // namespace tk
