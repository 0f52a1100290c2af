#pragma once
// The program's own file format for prepared reports (save and open in the
// preview). The reader trusts nothing it reads: every count and length is
// checked against the bytes that are really there, every index against what
// it points into, and the whole file against its checksum.
#include "PreparedReport.h"

#include <QByteArray>
#include <QString>

namespace tk::reports {

inline const QString kReportFileExtension = QStringLiteral("tkr");
inline const QString kReportFileFilter = QStringLiteral("Rapor Hazırlandı (*.tkr)");

QByteArray serializeReport(const PreparedReport &report);
// Throws tk::Error ("... geçerli bir rapor dosyası değil") and leaves `report` untouched.
void deserializeReport(const QByteArray &bytes, PreparedReport &report);

void saveReportFile(const PreparedReport &report, const QString &path);
void loadReportFile(const QString &path, PreparedReport &report);

} // namespace tk::reports
