#pragma once
// Copying every record of a source into a target with today's tables:
// tables and columns matched by name without regard to case, each value
// converted by the kind of the column it goes into, all in one transaction.
#include "RecordSource.h"
#include "RecordTarget.h"
#include "TransferReport.h"

#include <functional>

namespace tk {

// Called now and then with the table being copied and the rows copied so far
// out of all the source announced (`total` 0 when it cannot say).
using TransferProgress = std::function<void(const QString &table, qint64 done, qint64 total)>;

// Throws tk::Error (the target rolled back) when a record cannot be read or written.
TransferReport transferRecords(RecordSource &source, RecordTarget &target, const TransferProgress &progress = {});

} // namespace tk
