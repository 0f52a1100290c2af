#pragma once
// The list control of every record page: a browse-only table over a model,
// one record per row. Rows alternate between two colours by record number,
// the current record's row is drawn in colours of its own (also while the
// focus is elsewhere on the page), and each mouse-wheel notch moves the
// current record by MoveByRows records.
#include "GridCursor.h"
#include "TSrDBGridCells.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPointer>
#include <QTableView>
#include <functional>

namespace tk {

class TSrDBGrid : public QTableView {
    Q_OBJECT
    Q_PROPERTY(QColor ColorAlternative READ colorAlternative WRITE setColorAlternative)
    Q_PROPERTY(QColor ColorSelect READ colorSelect WRITE setColorSelect)
    Q_PROPERTY(QColor ColorSelectText READ colorSelectText WRITE setColorSelectText)
    Q_PROPERTY(int MoveByRows READ moveByRows WRITE setMoveByRows)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(QColor TitleColor READ titleColor WRITE setTitleColor)

public:
    // A wheel notch offered to the page first: the grid, the keyboard
    // modifiers, the pointer in grid coordinates; setting `handled` stops the
    // grid's own move for that notch.
    using WheelHandler =
        std::function<void(TSrDBGrid *sender, Qt::KeyboardModifiers shift, const QPoint &pos, bool &handled)>;

    explicit TSrDBGrid(QWidget *parent = nullptr);
    TSrDBGrid(QAbstractItemModel *model, GridCursor *cursor, QWidget *parent = nullptr);

    // The rows shown and the record set they come from; `model` row i is
    // record i of `cursor`. Neither is owned.
    void setSource(QAbstractItemModel *model, GridCursor *cursor);
    GridCursor *cursor() const;

    QColor colorAlternative() const { return m_colorAlternative; }
    QColor colorSelect() const { return m_colorSelect; }
    QColor colorSelectText() const { return m_colorSelectText; }
    QColor color() const { return m_color; }
    int moveByRows() const { return m_moveByRows; }
    QColor titleColor() const { return m_titleColor; }
    void setColorAlternative(const QColor &c);
    void setColorSelect(const QColor &c);
    void setColorSelectText(const QColor &c);
    void setColor(const QColor &c);
    void setMoveByRows(int rows) { m_moveByRows = rows; }
    void setTitleColor(const QColor &c);
    void setTitleFont(const QFont &font);
    QFont titleFont() const;

    // A column drawn in a font of its own (by model column).
    void setColumnFont(int column, const QFont &font);
    QFont columnFont(int column) const;

    // Colours the data cells of model row `row` are drawn in now.
    CellColors cellColors(int row) const;

    // One wheel notch towards the user (`towardsUser`) or away from them;
    // returns whether the notch counts as handled.
    bool wheelNotch(bool towardsUser, Qt::KeyboardModifiers modifiers, const QPoint &pos);

    // Deletes the current record after the "Delete record?" confirmation;
    // does nothing when there is nothing that can be deleted.
    void deleteCurrentRecord();

    WheelHandler OnMouseWheelDown;
    WheelHandler OnMouseWheelUp;

signals:
    // The focus went from the grid to another control of its window.
    void exited();

protected:
    bool event(QEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void changeEvent(QEvent *e) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private slots:
    void cursorRowChanged(int row);

private:
    bool cursorAlive() const;
    void followCursor();
    // Tab and Shift+Tab: one column on; past the last column (before the
    // first) the next (previous) record. False when there is nowhere to go.
    bool tabToColumn(bool back);
    void handleWheel(QWheelEvent *e, const QPoint &gridPos);
    void applyTitleStyle();
    void fitRowHeight();

    GridCursor *m_cursor = nullptr;
    QPointer<QObject> m_notifier; // tells whether m_cursor still exists
    QMetaObject::Connection m_cursorLink;
    QMetaObject::Connection m_resetLink;
    bool m_following = false;
    int m_wheelRemainder = 0; // part of a notch from fine-grained wheels

    QColor m_colorAlternative{227, 234, 249};
    QColor m_colorSelect{255, 255, 255};
    QColor m_colorSelectText{255, 0, 0};
    QColor m_color{214, 223, 247};
    QColor m_titleColor;
    int m_moveByRows = 1;
    QHash<int, QFont> m_columnFonts;
};

} // namespace tk
