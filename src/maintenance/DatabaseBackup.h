#pragma once
// What the backup dialog does, without the dialog: where the copies go and
// how each file is copied.
#include <QDateTime>
#include <QString>
#include <QStringList>

struct sqlite3;

namespace tk {

// The backup folder for the selected location and the typed folder name, with
// a trailing "/": "/yedek" + "YedekVT" gives "/yedek/YedekVT/", the root "/"
// gives "/YedekVT/", and an empty name the location itself; never a doubled "/".
QString backupFolderPath(const QString &location, const QString &folderName);

// Backups kept in dated folders below the backup folder, one a backup:
// "YYYY-MM-DD_HHMM/", a second one in the same minute "YYYY-MM-DD_HHMM_2/".
// The folder for a backup made at `when` (not yet created), with a trailing "/".
QString datedBackupFolder(const QString &backupFolder, const QDateTime &when);
// The dated folders below `backupFolder`, oldest first; other folders are not
// counted.
QStringList datedBackups(const QString &backupFolder);
// Removes the oldest dated folders so that the newest `keep` remain; returns
// the folders removed. `written`, the backup just made, is never removed and
// counts among those kept: with a clock set back its name is the oldest.
// Throws tk::Error when one cannot be removed.
QStringList pruneDatedBackups(const QString &backupFolder, int keep, const QString &written);

// Writes a consistent snapshot of the database file `source` to `target`
// through the database engine's online backup, so rows being written
// meanwhile never leave a torn copy. When `live` is an open connection to
// `source`, the snapshot is read through it; otherwise a connection of its
// own is opened read-only. `target` is replaced only once the snapshot is
// whole. Throws tk::Error naming the file and the reason.
void backupDatabase(sqlite3 *live, const QString &source, const QString &target);

} // namespace tk
