#pragma once
// Bringing the old program's books (a Jet file) into today's database file.
#include "RecordTransfer.h"

namespace tk {

// Beside Data.dat the old books are kept as Data-eski.dat.
QString keptOldBooksPath(const QString &dataFile);

// The new file is built under this name beside the target until it is complete.
QString workFilePath(const QString &target);

// Converts the Jet file `source` into a new database at `target` made with
// today's tables, in one transaction, then puts it in place:
// - `target` the same file as `source` (the program's Data.dat): the old file
//   is kept as Data-eski.dat (a hard link, or a copy where the disk has none),
//   so Data.dat never stops existing, and the new file, flushed to the disk,
//   takes the name Data.dat in one step;
// - otherwise `target` must not exist yet and `source` is left alone.
// The target is held alone (DeskLock) throughout, so a desk with it open or
// converting it too refuses the conversion before any file is touched.
// Every file is closed before anything is moved. Throws tk::Error naming the
// reason when the books cannot be read or written; then nothing is changed.
TransferReport importJetBooks(const QString &source, const QString &target, const TransferProgress &progress = {});

} // namespace tk
