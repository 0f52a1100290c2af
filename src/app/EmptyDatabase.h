#pragma once
// An installed program started on a folder without Data.dat offers to make
// empty books there.
class QWidget;

namespace tk {

class ProgramFolder;

// Asks "Veritabanı bulunamadı: <yol>. Boş bir veritabanı oluşturulsun mu?"
// when the folder is not beside the executable and has no Data.dat; Evet
// makes the file with the program's tables. Returns false when the user said
// Hayır (the program ends). A program folder beside the executable is left as
// it is: a missing file there is reported when the database opens. Throws
// tk::Error when the file cannot be made.
bool offerEmptyDatabase(const ProgramFolder &folder, QWidget *parent = nullptr);

} // namespace tk
