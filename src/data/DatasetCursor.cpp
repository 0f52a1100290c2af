#include "DatasetCursor.h"

namespace tk {

DatasetCursor::DatasetCursor(Dataset *dataset, QObject *parent) : QObject(parent), m_dataset(dataset)
{
    connect(dataset, &Dataset::currentChanged, this, &DatasetCursor::currentRowChanged);
}

} // namespace tk
