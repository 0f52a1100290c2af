#pragma once
// Recognising a database file of the old program: a Jet file carries
// "Standard Jet DB" at byte 4 and its version at byte 0x14.
#include <QString>

namespace tk {

enum class JetVersion { None, Jet3, Jet4, Other };

// Reads the first bytes of `path`; None when it is not a Jet file or cannot be read.
JetVersion jetVersionOf(const QString &path);

// "Jet 3.0" / "Jet 4.0", as the messages name the format.
QString jetVersionName(JetVersion version);

} // namespace tk
