#pragma once
// Two desks on one set of books, each with the program's datasets over a
// connection of its own: the cases both engines must handle alike. The test
// of each engine hands in how a desk connects; the scenarios check what
// reached the books through a third connection.
#include "data/Store.h"

#include <functional>
#include <memory>

namespace tk::test {

using DeskConnector = std::function<std::unique_ptr<Store>()>;

// Both desks edit one row: the second save is refused with the message, the
// typed values stay and the other desk's show, a save again asks, a No writes
// nothing, a Yes writes over, and a third desk's change in between refuses
// the overwrite as well.
void bothEditOneRow(const DeskConnector &connect);
// Every table's columns, of every kind, read back as the books hold them:
// saving the row again is not taken for another desk's change.
void everyKindReadsBackUnchanged(const DeskConnector &connect);
// Both desks add a row before either saves: both rows are kept.
void bothInsertAtOnce(const DeskConnector &connect);
// A row deleted at one desk while the other edits it: said so, typed values kept.
void deleteUnderEdit(const DeskConnector &connect);
// A detail row added under a master another desk deleted: refused, no orphan.
void detailUnderDeletedMaster(const DeskConnector &connect);
// Another desk's save reloads an idle desk keeping its current row, and a desk
// being edited only after its cancel.
void refreshKeepsCurrentRow(const DeskConnector &connect);

} // namespace tk::test
