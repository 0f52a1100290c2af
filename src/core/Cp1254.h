#pragma once
// Turkish Windows code page 1254, both ways, by a table of our own: the
// settings files are kept in it and Qt offers no such codec without ICU.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tk::cp1254 {

// Every byte decodes to one character; the five bytes the code page leaves
// unassigned decode to the control character of the same number, so any
// file's bytes survive a decode and encode unchanged.
QString decode(QByteArrayView bytes);

// Characters the code page cannot hold become '?'.
QByteArray encode(QStringView text);

// True when `text` encodes without any '?' substitution.
bool canEncode(QStringView text);

} // namespace tk::cp1254
