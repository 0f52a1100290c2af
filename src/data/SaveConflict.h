#pragma once
// Saves refused because another desk changed or deleted the row while it was
// being edited here, and the question before a deliberate overwrite.
#include "Connection.h" // DatabaseError

#include <QString>

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

} // namespace tk
