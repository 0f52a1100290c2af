#include "TSrDBGrid.h"

#include "core/UiSeam.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QWheelEvent>

namespace tk {

namespace {
constexpr int kNotch = 120; // angle delta of one wheel notch
}

TSrDBGrid::TSrDBGrid(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new TSrDBGridDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Click and Tab focus the grid, the wheel never does.
    setFocusPolicy(Qt::StrongFocus);

    // No record-indicator column. Rows have one fixed height, so a view of
    // any number of rows lays out without asking the model about each one.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    fitRowHeight();

    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, m_color);
    viewport()->setPalette(p);
}

TSrDBGrid::TSrDBGrid(QAbstractItemModel *model, GridCursor *cursor, QWidget *parent) : TSrDBGrid(parent)
{
    setSource(model, cursor);
}

void TSrDBGrid::setSource(QAbstractItemModel *model, GridCursor *cursor)
{
    if (m_cursorLink)
        disconnect(m_cursorLink);
    if (m_resetLink)
        disconnect(m_resetLink);
    m_cursor = cursor;
    m_notifier = cursor ? cursor->notifier() : nullptr;
    setModel(model);
    if (m_notifier)
        m_cursorLink = connect(m_notifier, SIGNAL(currentRowChanged(int)), this, SLOT(cursorRowChanged(int)));
    if (model)
        m_resetLink = connect(model, &QAbstractItemModel::modelReset, this, &TSrDBGrid::followCursor);
    followCursor();
}

GridCursor *TSrDBGrid::cursor() const { return cursorAlive() ? m_cursor : nullptr; }

bool TSrDBGrid::cursorAlive() const { return m_cursor && m_notifier; }

// --- colours ------------------------------------------------------------------

// A new colour repaints the whole grid at once; the colour it already has changes nothing.
void TSrDBGrid::setColorAlternative(const QColor &c)
{
    if (c == m_colorAlternative)
        return;
    m_colorAlternative = c;
    viewport()->update();
}

void TSrDBGrid::setColorSelect(const QColor &c)
{
    if (c == m_colorSelect)
        return;
    m_colorSelect = c;
    viewport()->update();
}

void TSrDBGrid::setColorSelectText(const QColor &c)
{
    if (c == m_colorSelectText)
        return;
    m_colorSelectText = c;
    viewport()->update();
}

void TSrDBGrid::setColor(const QColor &c)
{
    if (c == m_color)
        return;
    m_color = c;
    // The area below the last row shows the grid's colour too.
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Base, c);
    viewport()->setPalette(p);
    viewport()->update();
}

void TSrDBGrid::setTitleColor(const QColor &c)
{
    if (c == m_titleColor)
        return;
    m_titleColor = c;
    applyTitleStyle();
}

void TSrDBGrid::setTitleFont(const QFont &font)
{
    horizontalHeader()->setFont(font);
    applyTitleStyle();
}

QFont TSrDBGrid::titleFont() const { return horizontalHeader()->font(); }

void TSrDBGrid::applyTitleStyle()
{
    if (!m_titleColor.isValid()) {
        horizontalHeader()->setStyleSheet(QString());
        return;
    }
    // A style sheet is the one way every widget style honours a header colour.
    horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; color: palette(window-text);"
                       " padding: 1px 2px; border: none; border-right: 1px solid gray;"
                       " border-bottom: 1px solid gray; }")
            .arg(m_titleColor.name()));
}

void TSrDBGrid::setColumnFont(int column, const QFont &font)
{
    m_columnFonts.insert(column, font);
    fitRowHeight();
    viewport()->update();
}

QFont TSrDBGrid::columnFont(int column) const { return m_columnFonts.value(column, font()); }

CellColors TSrDBGrid::cellColors(int row) const
{
    const bool selected = cursorAlive() && row == m_cursor->currentRow();
    return gridCellColors(row + 1, selected, m_color, m_colorAlternative, m_colorSelect, m_colorSelectText,
                          palette().color(QPalette::WindowText));
}

void TSrDBGrid::fitRowHeight()
{
    int height = fontMetrics().height() + 4;
    for (const QFont &f : std::as_const(m_columnFonts))
        height = std::max(height, QFontMetrics(f).height() + 4);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
}

void TSrDBGrid::changeEvent(QEvent *e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        fitRowHeight();
}

// --- the current record ----------------------------------------------------------

void TSrDBGrid::cursorRowChanged(int) { followCursor(); }

void TSrDBGrid::followCursor()
{
    QAbstractItemModel *m = model();
    if (!m || !selectionModel())
        return;
    QScopedValueRollback following(m_following, true);
    const int row = cursorAlive() ? m_cursor->currentRow() : -1;
    if (row < 0 || row >= m->rowCount() || m->columnCount() == 0) {
        selectionModel()->clear();
        viewport()->update();
        return;
    }
    int column = currentIndex().isValid() ? currentIndex().column() : horizontalHeader()->logicalIndexAt(0);
    if (column < 0)
        column = 0;
    const QModelIndex index = m->index(row, column);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(index);
    // The row that was current repaints in its own colour.
    viewport()->update();
}

void TSrDBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_following || !current.isValid() || !cursorAlive() || current.row() == m_cursor->currentRow())
        return;
    // A click or a navigation key chose another record.
    const int row = current.row();
    guarded(this, [&] { m_cursor->moveTo(row); });
    if (cursorAlive() && m_cursor->currentRow() != row)
        followCursor(); // the record set refused to move (for example a row that could not be saved)
}

// --- mouse wheel -----------------------------------------------------------------

bool TSrDBGrid::wheelNotch(bool towardsUser, Qt::KeyboardModifiers modifiers, const QPoint &pos)
{
    bool handled = false;
    guarded(this, [&] {
        const WheelHandler &handler = towardsUser ? OnMouseWheelDown : OnMouseWheelUp;
        if (handler) {
            handler(this, modifiers, pos, handled);
            if (handled)
                return;
        }
        if (!cursorAlive() || !m_cursor->isOpen())
            return;
        handled = m_cursor->moveBy(towardsUser ? m_moveByRows : -m_moveByRows) != 0;
    });
    return handled;
}

void TSrDBGrid::handleWheel(QWheelEvent *e, const QPoint &gridPos)
{
    const int delta = e->angleDelta().y();
    if (delta == 0) { // sideways: the view scrolls its columns
        QTableView::wheelEvent(e);
        return;
    }
    if ((delta > 0) != (m_wheelRemainder > 0))
        m_wheelRemainder = 0; // a turn in the other direction starts a new notch
    m_wheelRemainder += delta;
    bool handled = false;
    while (std::abs(m_wheelRemainder) >= kNotch) {
        const bool towardsUser = m_wheelRemainder < 0;
        m_wheelRemainder += towardsUser ? kNotch : -kNotch;
        if (wheelNotch(towardsUser, e->modifiers(), gridPos))
            handled = true;
    }
    // Not handled: the window around the grid gets the wheel.
    e->setAccepted(handled);
}

void TSrDBGrid::wheelEvent(QWheelEvent *e)
{
    // Reached through the viewport, in viewport coordinates.
    handleWheel(e, viewport()->mapTo(this, e->position().toPoint()));
}

bool TSrDBGrid::event(QEvent *e)
{
    // The wheel over the title row arrives here, in grid coordinates.
    if (e->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(e);
        handleWheel(wheel, wheel->position().toPoint());
        return wheel->isAccepted();
    }
    return QTableView::event(e);
}

// --- keyboard and focus -------------------------------------------------------------

void TSrDBGrid::deleteCurrentRecord()
{
    if (!cursorAlive() || !m_cursor->canDelete())
        return;
    guarded(this, [this] {
        if (ui().confirm(this, QStringLiteral("Confirm"), QStringLiteral("Delete record?")) == UiSeam::Answer::Ok
            && cursorAlive())
            m_cursor->deleteCurrent();
    });
}

void TSrDBGrid::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Delete && (e->modifiers() & Qt::ControlModifier)) {
        deleteCurrentRecord();
        e->accept();
        return;
    }
    if (e->key() == Qt::Key_Insert) { // records are added on the page, never in the list
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

void TSrDBGrid::focusOutEvent(QFocusEvent *e)
{
    QTableView::focusOutEvent(e);
    // Another window or a popup taking the focus is no leaving of the grid.
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit exited();
}

} // namespace tk
