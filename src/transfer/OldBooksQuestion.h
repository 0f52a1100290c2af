#pragma once
// Where the program opens Data.dat: books left in the old program's Jet
// format are offered for conversion.
#include <QString>

class QWidget;

namespace tk {

// The question asked for the Jet file `path` ("Bu Data.dat eski biçimde (Jet 4.0). …").
QString oldBooksQuestion(const QString &path);

// Returns at once when `path` is not a Jet file. Otherwise asks the question;
// Evet converts the file in place behind a progress window and shows the
// summary. Throws tk::Error naming the path when the answer is Hayır or the
// conversion fails (the file then stays as it was), so the program ends as
// for a file it cannot open.
void convertOldBooksIfAsked(QWidget *parent, const QString &path);

} // namespace tk
