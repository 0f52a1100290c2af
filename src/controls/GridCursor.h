#pragma once
// What a grid needs of the record set behind its model: the current row,
// moving it, and deleting it. The data layer implements it over a dataset.
#include <QObject>

namespace tk {

class GridCursor {
public:
    virtual ~GridCursor() = default;
    virtual bool isOpen() const = 0;
    virtual int currentRow() const = 0;       // 0-based, -1 when empty
    virtual int moveBy(int distance) = 0;     // returns rows really moved
    virtual void moveTo(int row) = 0;
    virtual bool canDelete() const = 0;       // open, not empty, changeable
    virtual void deleteCurrent() = 0;         // throws tk::Error on failure
    // Emits from the QObject returned here: currentRowChanged(int)
    virtual QObject *notifier() = 0;
};

} // namespace tk
