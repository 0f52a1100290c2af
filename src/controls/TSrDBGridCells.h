#pragma once
// How a data cell of the grid is coloured and drawn. The colour rule is a
// plain function, so it is checked without painting anything.
#include <QColor>
#include <QStyledItemDelegate>

namespace tk {

class TSrDBGrid;

struct CellColors {
    QColor background;
    QColor text;
};

// Colours of a data cell of record number `recNo` (1 for the first record):
// even records get the alternative background; the current record's row gets
// the selected colours, which win over the alternative one.
CellColors gridCellColors(int recNo, bool selected, const QColor &color, const QColor &colorAlternative,
                          const QColor &colorSelect, const QColor &colorSelectText, const QColor &textColor);

// Draws every data cell itself: fill in the cell's colour, then the display
// text with a 2-pixel margin in the model's alignment.
class TSrDBGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TSrDBGridDelegate(TSrDBGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    TSrDBGrid *m_grid;
};

} // namespace tk
