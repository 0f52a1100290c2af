#pragma once
// Short file-size texts for the maintenance dialog: "532 bayt", "1,30 KB",
// "22,9 KB", "2,28 MB". Three significant figures, cut (not rounded) so a
// size never reads as the next unit up, Turkish decimal comma.
#include <QString>
#include <QtGlobal>

namespace tk {

QString formatByteSize(quint64 bytes);

// The size text of a file, or "*.mbd dosyası bulunamadı!" when it cannot be
// opened for reading.
QString fileSizeText(const QString &path);

} // namespace tk
