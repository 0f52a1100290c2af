#pragma once
// At start, the books this desk chose: the Data.dat, or the server named in
// sunucu.ini. A server that asks a password not in libpq's password file
// gets it from a masked prompt ("Sunucu şifresi"), kept for this run only.
// A server that cannot be reached is named, with the choice between the
// settings and the end.
#include <QString>

class QWidget;

namespace tk {

// `dataFile` when the desk works on the file; the server's address when it
// answers; empty when the user chose to end.
QString booksForThisRun(const QString &configFolder, const QString &dataFile);

} // namespace tk
