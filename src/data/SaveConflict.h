#pragma once
// Saves refused because another desk changed or deleted the row while it was
// being edited here, and the question before a deliberate overwrite.
#include "Connection.h" // DatabaseError

#include <QString>

class QWidget;

namespace tk {

class Dataset;

// The typed values stay pending in the dataset when this is thrown.
class SaveConflict : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

QString changedElsewhereText();
QString deletedElsewhereText();
QString masterDeletedElsewhereText();

// The question asked before the typed values of `ds` (in conflict) are
// written over the other desk's: each field the other desk changed, with its
// value there and the value typed here.
QString overwriteQuestion(const Dataset &ds);

// A save the user started, however: after a save refused because another
// desk changed the row, saving again writes over it only when the user says
// so (overwriteQuestion, through the message-box seam). False when the user
// said no: the typed values stay pending.
bool saveAskingToOverwrite(Dataset &ds, QWidget *parent);
// The same before the user leaves the row: after a no, the row is not left,
// and the refusal is said again.
void saveBeforeLeaving(Dataset &ds, QWidget *parent);

} // namespace tk
