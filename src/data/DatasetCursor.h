#pragma once
// The grid's view of a dataset.
#include "Dataset.h"
#include "controls/GridCursor.h"

namespace tk {

class DatasetCursor : public QObject, public GridCursor {
    Q_OBJECT
public:
    explicit DatasetCursor(Dataset *dataset, QObject *parent = nullptr);

    // A dataset whose keys are not read yet is, to its list, not open yet.
    bool isOpen() const override { return m_dataset && m_dataset->isOpen() && m_dataset->keysRead(); }
    int currentRow() const override { return isOpen() ? m_dataset->currentRow() : -1; }
    int moveBy(int distance) override { return m_dataset ? m_dataset->moveBy(distance) : 0; }
    void moveTo(int row) override
    {
        if (m_dataset)
            m_dataset->moveTo(row);
    }
    bool canDelete() const override { return isOpen() && !m_dataset->isEmpty(); }
    void deleteCurrent() override
    {
        if (m_dataset)
            m_dataset->remove();
    }
    QObject *notifier() override { return this; }

signals:
    void currentRowChanged(int row);

private:
    QPointer<Dataset> m_dataset;
};

} // namespace tk
